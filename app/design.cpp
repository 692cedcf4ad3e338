#include "app/design.h"

#include <QApplication>
#include <QPalette>

namespace soakmark::app::design {

QFont Font(FontRole role) {
  QFont font(QString::fromUtf8(kSansSerif));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(role == FontRole::Window ? 11 : 13);
  font.setBold(role != FontRole::Window);
  return font;
}

QColor TextColour(FontRole role) {
  switch (role) {
    case FontRole::Caption:
      return kAqua;
    case FontRole::Value:
      return kWhite;
    case FontRole::Window:
    case FontRole::Group:
      break;
  }
  return QApplication::palette().color(QPalette::WindowText);
}

QRect RadioItemGeometry(QSize group, int text_height, int index, int count) {
  const int usable = group.height() - text_height - 5;
  const int item_height = usable / count;
  const int first_top = text_height + 1 + (usable % count) / 2;
  return {8, first_top + index * item_height, group.width() - 10, item_height};
}

QRect CaptionGeometry(QRect edit, QSize caption) {
  return {edit.left(), edit.top() - caption.height() - kCaptionSpacing, caption.width(), caption.height()};
}

}  // namespace soakmark::app::design
