#include "display/chart_view.h"

#include <algorithm>
#include <cmath>

namespace soakmark::display {

int ChartView::HorizontalPixel(double value, const PlotArea& area) const {
  return ValueToPixel(value, horizontal_, area.left, area.right);
}

int ChartView::VerticalPixel(double value, const PlotArea& area) const {
  return inverted_ ? ValueToPixel(value, vertical_, area.top, area.bottom)
                   : ValueToPixel(value, vertical_, area.bottom, area.top);
}

double ChartView::HorizontalValue(double pixel, const PlotArea& area) const {
  return PixelToValue(pixel, horizontal_, area.left, area.right);
}

double ChartView::VerticalValue(double pixel, const PlotArea& area) const {
  return inverted_ ? PixelToValue(pixel, vertical_, area.top, area.bottom)
                   : PixelToValue(pixel, vertical_, area.bottom, area.top);
}

void ChartView::SaveOnce() {
  if (!saved_) saved_ = Ranges{horizontal_, vertical_};
}

bool ChartView::LeftDrag(Point from, Point to, const PlotArea& area) {
  const double dx = to.x - from.x;
  const double dy = to.y - from.y;
  if (std::fabs(dx) <= kZoomThreshold || std::fabs(dy) <= kZoomThreshold) return false;
  if (dx > 0 && dy > 0) {
    const AxisRange horizontal{HorizontalValue(from.x, area), HorizontalValue(to.x, area)};
    const double v0 = VerticalValue(from.y, area);
    const double v1 = VerticalValue(to.y, area);
    const AxisRange vertical{std::min(v0, v1), std::max(v0, v1)};
    if (!(horizontal.Span() > 0) || !(vertical.Span() > 0)) return false;  // too deep a zoom to resolve
    SaveOnce();
    horizontal_ = horizontal;
    vertical_ = vertical;
    return true;
  }
  if (!saved_) return false;
  horizontal_ = saved_->horizontal;
  vertical_ = saved_->vertical;
  saved_.reset();
  return true;
}

void ChartView::Scroll(double dx, double dy, const PlotArea& area) {
  if (dx == 0 && dy == 0) return;
  SaveOnce();
  const double per_x = horizontal_.Span() / (area.right - area.left);
  const double per_y = vertical_.Span() / (area.bottom - area.top) * (inverted_ ? 1 : -1);
  horizontal_ = {horizontal_.min - dx * per_x, horizontal_.max - dx * per_x};
  vertical_ = {vertical_.min - dy * per_y, vertical_.max - dy * per_y};
}

}  // namespace soakmark::display
