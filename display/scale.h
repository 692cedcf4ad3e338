// The scale model of a chart axis: where values lie in pixels, which labels,
// ticks and grid lines an axis shows, and how a label is written. Plain values
// in, plain values out; no widget is needed to use or test it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace soakmark::display {

struct AxisRange {
  double min = 0;
  double max = 1;

  double Span() const { return max - min; }
  friend bool operator==(const AxisRange&, const AxisRange&) = default;
};

// Pixel positions are limited to this far from the origin, far outside any
// window, so that every coordinate stays within the integer range of the
// drawing calls.
inline constexpr int kPixelBound = 1 << 22;

// The pixel of a value on an axis whose minimum lies at pixel `first` and
// maximum at pixel `last` (last < first for an axis that grows upward).
// Rounded to the nearest pixel, halves to even, and limited by kPixelBound.
int ValueToPixel(double value, const AxisRange& range, int first, int last);

// The value at a pixel, the inverse of ValueToPixel without the rounding.
double PixelToValue(double pixel, const AxisRange& range, int first, int last);

// What an axis shows. The label step starts at the desired step (or 1 without
// one) and widens through 1, 2, 5, 10, 20, 50, ... while more labels would
// stand on the axis than fit: `label_room` is the axis length in pixels, and
// each label needs its own size plus a tenth.
struct AxisLayoutInput {
  AxisRange range;
  double desired_step = 0;     // 0: none
  bool labels_on_ends = true;  // false: labels on the two ends are left out, with their ticks and grid lines
  double axis_pixels = 100;    // the length of the axis
  double label_size = 10;      // the size one label needs along the axis
  int minor_ticks = 4;         // between two labels
};

struct AxisDivision {
  double step = 1;
  std::vector<double> labels;       // also the major ticks, from the maximum down
  std::vector<double> grid;         // strictly between the ends
  std::vector<double> minor_ticks;  // strictly inside the ends
};

double LabelStep(const AxisLayoutInput& input);
AxisDivision DivideAxis(const AxisLayoutInput& input);

// A label written by the pattern "#,##0.###": digits grouped by threes with
// the group separator, at most three decimals, no trailing zeros, no minus
// sign on a value that shows as zero.
std::string FormatAxisLabel(double value, std::string_view group_separator, std::string_view decimal_separator);

// Decimal digits grouped by threes from the right with the group separator:
// "1234567" gives "1,234,567".
std::string GroupDigits(std::string_view digits, std::string_view group_separator);

}  // namespace soakmark::display
