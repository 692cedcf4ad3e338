#include "app/appearance.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace soakmark::app {

namespace {

double Linear(double channel) {
  return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& c) {
  return 0.2126 * Linear(c.redF()) + 0.7152 * Linear(c.greenF()) + 0.0722 * Linear(c.blueF());
}

// Black or white, whichever stands out more against `colour`.
QColor Opposite(const QColor& colour) {
  return ContrastRatio(Qt::black, colour) >= ContrastRatio(Qt::white, colour) ? QColor(Qt::black) : QColor(Qt::white);
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor LegibleOn(const QColor& desktop, const QColor& background, const QColor& design, double minimum) {
  return ContrastRatio(desktop, background) >= minimum ? desktop : design;
}

FocusRing FocusRingFor(const QColor& border, const QColor& face, const QColor& highlight) {
  constexpr double kMinimum = 3.0;
  FocusRing ring;
  ring.outer = Opposite(border);
  ring.inner = ContrastRatio(highlight, face) >= kMinimum ? highlight : Opposite(face);
  return ring;
}

void PaintFocusRing(QWidget* widget, const FocusRing& ring) {
  QPainter p(widget);
  const QRect r = widget->rect();
  p.setPen(QPen(ring.outer, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(r.adjusted(0, 0, -1, -1));
  p.setPen(QPen(ring.inner, 1));
  p.drawRect(r.adjusted(1, 1, -2, -2));
}

void FocusRingButton::paintEvent(QPaintEvent* event) {
  QPushButton::paintEvent(event);
  if (!hasFocus()) return;
  const QPalette& pal = palette();
  // The Fusion style outlines a button in the window colour, darkened.
  PaintFocusRing(this, FocusRingFor(pal.color(QPalette::Window).darker(140), pal.color(QPalette::Button),
                                    pal.color(QPalette::Highlight)));
}

}  // namespace soakmark::app
