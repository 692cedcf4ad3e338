#include "app/labeled_edit.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>

#include "app/appearance.h"
#include "app/design.h"

namespace soakmark::app {

void FitToText(QLabel* label) {
  const QFontMetrics metrics(label->font());
  label->resize(metrics.horizontalAdvance(label->text()), metrics.height());
}

LabeledEdit::LabeledEdit(QWidget* parent) : TextField(parent), label_(new QLabel(parent)) {
  label_->setBuddy(this);
  label_->setTextFormat(Qt::PlainText);
  label_->installEventFilter(this);
}

void LabeledEdit::SetCaption(const QString& caption) {
  label_->setText(caption);
  setAccessibleName(caption);
  FitToText(label_);
  PlaceLabel();
}

void LabeledEdit::PlaceLabel() { label_->move(design::CaptionGeometry(geometry(), label_->size()).topLeft()); }

void LabeledEdit::focusInEvent(QFocusEvent* event) {
  TextField::focusInEvent(event);
  switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason:
      selectAll();
      break;
    default:  // a click places the cursor; coming back to the window keeps the selection as it was
      break;
  }
}

void LabeledEdit::paintEvent(QPaintEvent* event) {
  TextField::paintEvent(event);
  if (hasFocus()) {
    PaintFocusRing(this, FocusRingFor(Colours().border, Colours().background, Colours().selection));
  }
}

void LabeledEdit::moveEvent(QMoveEvent* event) {
  TextField::moveEvent(event);
  PlaceLabel();
}

void LabeledEdit::resizeEvent(QResizeEvent* event) {
  TextField::resizeEvent(event);
  PlaceLabel();
}

bool LabeledEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == label_) {
    if (event->type() == QEvent::FontChange) FitToText(label_);
    if (event->type() == QEvent::Resize) PlaceLabel();
  }
  return TextField::eventFilter(watched, event);
}

}  // namespace soakmark::app
