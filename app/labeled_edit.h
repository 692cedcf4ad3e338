// A single-line input with its caption above it: the caption keeps the
// input's left edge and 3 pixels between its bottom and the input's top,
// however the input moves or the caption's size changes. Entered other than
// by a click (Tab, Shift+Tab, at start-up), it selects its whole text. While
// it has the keyboard focus, a two-pixel ring runs along its edge.
#pragma once

#include <QLabel>

#include "app/text_field.h"

namespace soakmark::app {

class LabeledEdit : public TextField {
 public:
  explicit LabeledEdit(QWidget* parent);
  QLabel* EditLabel() const { return label_; }
  void SetCaption(const QString& caption);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PlaceLabel();
  QLabel* label_;
};

// Gives a label the width and height of its one line of text in its font,
// keeping its left and top edges.
void FitToText(QLabel* label);

}  // namespace soakmark::app
