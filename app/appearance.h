// How the window stays readable on any desktop: contrast between colours,
// the design's own colours where a desktop colour would be illegible, and a
// clearly visible keyboard focus.
#pragma once

#include <QColor>
#include <QPushButton>

class QWidget;

namespace soakmark::app {

// The contrast ratio of two colours by their relative luminance (sRGB), from
// 1 (the same) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// Text standing on a fixed background: the desktop's colour when it reads at
// `minimum` contrast or better, otherwise the design's own.
QColor LegibleOn(const QColor& desktop, const QColor& background, const QColor& design, double minimum = 4.5);

// The two one-pixel rings of the focus indicator. The outer one lies over the
// control's border, the inner one over its face; each contrasts at 3:1 or
// better with what it covers.
struct FocusRing {
  QColor outer;
  QColor inner;
};
FocusRing FocusRingFor(const QColor& border, const QColor& face, const QColor& highlight);

// Paints the ring along the edge of `widget`, inside it.
void PaintFocusRing(QWidget* widget, const FocusRing& ring);

// A push button that shows the focus ring while it has the keyboard focus.
class FocusRingButton : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace soakmark::app
