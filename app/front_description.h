// What a chart shows of a wetting front, in words, for a screen reader: how
// far the front reaches to each side and how deep, and whether it is cut at
// the chart's edges or lies outside the view.
#pragma once

#include <QString>
#include <optional>

#include "calc/wetting_front.h"
#include "display/scale.h"

namespace soakmark::app {

struct ShownRanges {
  display::AxisRange radius;  // the chart's horizontal axis, mm
  display::AxisRange depth;   // its vertical axis, mm, growing downward
  bool zoomed = false;        // the user zoomed or scrolled away from the design's ranges
};

// `front` is what DrawFronts last gave the chart, or nothing before the first
// calculation. Millimetres are written whole, grouped by `group`.
QString DescribeFront(const std::optional<calc::ShapeBounds>& front, const ShownRanges& shown, const QString& group);

// A length in whole millimetres: "2,099".
QString WholeMillimetres(double mm, const QString& group);

}  // namespace soakmark::app
