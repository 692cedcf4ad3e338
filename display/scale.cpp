#include "display/scale.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace soakmark::display {

namespace {

// Labels closer than this to a multiple of the step or to an axis end, as a
// share of the step or the span, count as standing on it.
constexpr double kRelativeTolerance = 1e-9;

// The next step of the series 1, 2, 5, 10, 20, 50, ... above `step`.
double NextStep(double step) {
  const double decade = std::pow(10.0, std::floor(std::log10(step) + kRelativeTolerance));
  for (double factor : {1.0, 2.0, 5.0, 10.0}) {
    if (factor * decade > step * (1 + kRelativeTolerance)) return factor * decade;
  }
  return 20 * decade;
}

// Multiples of step within the range, from the highest down.
std::vector<double> Multiples(const AxisRange& range, double step) {
  std::vector<double> values;
  const double high = std::floor(range.max / step + kRelativeTolerance);
  const double low = std::ceil(range.min / step - kRelativeTolerance);
  if (!(high >= low) || high - low > 10000) return values;
  for (double k = high; k >= low; --k) values.push_back(k * step);
  return values;
}

std::size_t CountMultiples(const AxisRange& range, double step) {
  const double high = std::floor(range.max / step + kRelativeTolerance);
  const double low = std::ceil(range.min / step - kRelativeTolerance);
  return high >= low ? static_cast<std::size_t>(std::min(high - low + 1, 1e15)) : 0;
}

}  // namespace

int ValueToPixel(double value, const AxisRange& range, int first, int last) {
  const double pixel = first + (value - range.min) * (last - first) / range.Span();
  if (!(pixel > -kPixelBound)) return -kPixelBound;  // also a NaN from an empty range
  if (pixel > kPixelBound) return kPixelBound;
  return static_cast<int>(std::nearbyint(pixel));
}

double PixelToValue(double pixel, const AxisRange& range, int first, int last) {
  return range.min + (pixel - first) * range.Span() / (last - first);
}

double LabelStep(const AxisLayoutInput& input) {
  double step = input.desired_step > 0 ? input.desired_step : 1.0;
  if (!(input.range.Span() > 0) || !std::isfinite(input.range.Span())) return step;
  const double needed = input.label_size * 1.1;
  const double room = needed > 0 ? std::floor(input.axis_pixels / needed) : 1e15;
  while (static_cast<double>(CountMultiples(input.range, step)) > std::max(room, 1.0)) step = NextStep(step);
  return step;
}

AxisDivision DivideAxis(const AxisLayoutInput& input) {
  AxisDivision division;
  division.step = LabelStep(input);
  const AxisRange& range = input.range;
  const double end_tolerance = kRelativeTolerance * std::fabs(range.Span());
  auto strictly_inside = [&](double v) { return v > range.min + end_tolerance && v < range.max - end_tolerance; };

  for (double v : Multiples(range, division.step)) {
    if (!input.labels_on_ends && !strictly_inside(v)) continue;
    division.labels.push_back(v);
    if (strictly_inside(v)) division.grid.push_back(v);
  }
  if (division.labels.empty() || input.minor_ticks <= 0) return division;

  const double minor = division.step / (input.minor_ticks + 1);
  // Between neighbouring labels (they run from the maximum down).
  for (std::size_t i = 0; i + 1 < division.labels.size(); ++i) {
    for (int j = 1; j <= input.minor_ticks; ++j) division.minor_ticks.push_back(division.labels[i] - j * minor);
  }
  // Beyond the first and the last label, towards the ends.
  for (int j = 1; j <= input.minor_ticks; ++j) {
    const double v = division.labels.front() + j * minor;
    if (strictly_inside(v)) division.minor_ticks.push_back(v);
  }
  for (int j = 1; j <= input.minor_ticks; ++j) {
    const double v = division.labels.back() - j * minor;
    if (strictly_inside(v)) division.minor_ticks.push_back(v);
  }
  return division;
}

std::string FormatAxisLabel(double value, std::string_view group_separator, std::string_view decimal_separator) {
  if (!std::isfinite(value)) return {};
  // Thousandths as an integer, rounded half away from zero.
  const double scaled = std::round(std::fabs(value) * 1000);
  if (scaled >= 9e18) return {};  // far beyond any axis of ours
  const auto thousandths = static_cast<std::uint64_t>(scaled);
  std::uint64_t whole = thousandths / 1000;
  std::uint64_t fraction = thousandths % 1000;

  std::string out;
  if (value < 0 && thousandths != 0) out.push_back('-');
  out += GroupDigits(std::to_string(whole), group_separator);
  if (fraction != 0) {
    std::string decimals = std::to_string(fraction + 1000).substr(1);
    while (decimals.back() == '0') decimals.pop_back();
    out.append(decimal_separator).append(decimals);
  }
  return out;
}

std::string GroupDigits(std::string_view digits, std::string_view group_separator) {
  std::string out;
  out.reserve(digits.size() + digits.size() / 3 * group_separator.size());
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out.append(group_separator);
    out.push_back(digits[i]);
  }
  return out;
}

}  // namespace soakmark::display
