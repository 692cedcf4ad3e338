// What part of its axes a chart shows, and how mouse drags change it: a
// left drag zooms or restores, a right drag scrolls. Pixel positions in,
// ranges out; the widget only forwards its mouse events.
#pragma once

#include <optional>

#include "display/scale.h"

namespace soakmark::display {

// Where the plot area lies in pixels: the minimum of the horizontal axis at
// `left`, its maximum at `right`; the vertical axis from `top` to `bottom`
// (its minimum at top when it is inverted, at bottom otherwise).
struct PlotArea {
  int left = 0;
  int top = 0;
  int right = 100;
  int bottom = 100;
};

struct Point {
  double x = 0;
  double y = 0;
};

// A drag must cover more than this many pixels both across and down to zoom
// or restore; a shorter one changes nothing.
inline constexpr double kZoomThreshold = 16;

class ChartView {
 public:
  ChartView(AxisRange horizontal, AxisRange vertical, bool vertical_inverted)
      : horizontal_(horizontal), vertical_(vertical), inverted_(vertical_inverted) {}

  const AxisRange& Horizontal() const { return horizontal_; }
  const AxisRange& Vertical() const { return vertical_; }

  int HorizontalPixel(double value, const PlotArea& area) const;
  int VerticalPixel(double value, const PlotArea& area) const;

  // A finished left drag from `from` to `to`: zooms to the dragged rectangle
  // when it goes right and down, restores the ranges from before the first
  // zoom or scroll when it goes any other way. Returns whether anything
  // changed.
  bool LeftDrag(Point from, Point to, const PlotArea& area);

  // A step of a right drag: both axes move so that what lay under the pointer
  // follows it.
  void Scroll(double dx, double dy, const PlotArea& area);

  bool Zoomed() const { return saved_.has_value(); }

 private:
  struct Ranges {
    AxisRange horizontal, vertical;
  };
  void SaveOnce();
  double HorizontalValue(double pixel, const PlotArea& area) const;
  double VerticalValue(double pixel, const PlotArea& area) const;

  AxisRange horizontal_;
  AxisRange vertical_;
  bool inverted_;
  std::optional<Ranges> saved_;
};

}  // namespace soakmark::display
