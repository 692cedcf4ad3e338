#include "display/scale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace soakmark::display {
namespace {

TEST(ValueToPixel, MapsLinearlyAndRoundsHalvesToEven) {
  const AxisRange range{0, 10};
  const struct {
    double value;
    int first, last;
    int expected;
  } cases[] = {
      {0, 0, 5, 0},   {10, 0, 5, 5},   {1, 0, 5, 0},  // 0.5 to even: 0
      {3, 0, 5, 2},                                   // 1.5 to even: 2
      {5, 0, 5, 2},                                   // 2.5 to even: 2
      {7, 0, 5, 4},                                   // 3.5 to even: 4
      {2.2, 0, 5, 1}, {0, 100, 0, 100}, {10, 100, 0, 0},  // an axis that grows upward
      {-1e300, 0, 5, -kPixelBound}, {1e300, 0, 5, kPixelBound},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(ValueToPixel(c.value, range, c.first, c.last), c.expected);
  }
  // The designed axes: radius -1000 on the left edge, depth 0 on the top edge.
  EXPECT_EQ(ValueToPixel(-1000, {-1000, 1000}, 40, 240), 40);
  EXPECT_EQ(ValueToPixel(0, {-1000, 1000}, 40, 240), 140);
  EXPECT_EQ(ValueToPixel(1000, {0, 1000}, 30, 280), 280);
  EXPECT_DOUBLE_EQ(PixelToValue(140, {-1000, 1000}, 40, 240), 0);
}

// The label step for the designed axes and other sizes: the step widens
// through 1, 2, 5, 10, ... while more labels stand on the axis than fit.
TEST(LabelStep, WidensUntilTheLabelsFit) {
  const struct {
    const char* name;
    AxisRange range;
    double desired;
    double pixels, label;
    double expected;
  } cases[] = {
      {"wide bottom at its size: 250 widens to 500", {-1000, 1000}, 250, 185, 30, 500},
      {"narrow bottom at its size: 1 widens to 500", {-1000, 1000}, 0, 185, 30, 500},
      {"wide bottom with room for 9 keeps 250", {-1000, 1000}, 250, 300, 30, 250},
      {"narrow bottom with room for 9 goes to 500", {-1000, 1000}, 0, 300, 30, 500},
      {"narrow bottom with room for 11 goes to 200", {-1000, 1000}, 0, 370, 30, 200},
      {"tight bottom goes to 1000", {-1000, 1000}, 250, 120, 30, 1000},
      {"depth axis at its size", {0, 1000}, 0, 250, 13, 100},
      {"short depth axis", {0, 1000}, 0, 100, 13, 200},
      {"tall depth axis", {0, 1000}, 0, 800, 13, 20},
      {"zoomed depth axis", {100, 140}, 0, 250, 13, 5},
      {"desired step never narrows", {0, 100}, 250, 1000, 10, 250},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AxisLayoutInput input;
    input.range = c.range;
    input.desired_step = c.desired;
    input.axis_pixels = c.pixels;
    input.label_size = c.label;
    EXPECT_DOUBLE_EQ(LabelStep(input), c.expected);
  }
}

TEST(DivideAxis, BottomAxisLeavesOutItsEnds) {
  AxisLayoutInput input;
  input.range = {-1000, 1000};
  input.desired_step = 250;
  input.labels_on_ends = false;
  input.axis_pixels = 185;
  input.label_size = 30;
  const AxisDivision d = DivideAxis(input);
  EXPECT_EQ(d.step, 500);
  EXPECT_EQ(d.labels, (std::vector<double>{500, 0, -500}));
  EXPECT_EQ(d.grid, (std::vector<double>{500, 0, -500}));
  const std::vector<double> minor = {400, 300, 200, 100, -100, -200, -300, -400,
                                     600, 700, 800, 900, -600, -700, -800, -900};
  EXPECT_EQ(d.minor_ticks, minor);
}

TEST(DivideAxis, LeftAxisShowsItsEndsWithoutGridLines) {
  AxisLayoutInput input;
  input.range = {0, 1000};
  input.axis_pixels = 250;
  input.label_size = 13;
  const AxisDivision d = DivideAxis(input);
  ASSERT_EQ(d.labels.size(), 11u);
  EXPECT_EQ(d.labels.front(), 1000);
  EXPECT_EQ(d.labels.back(), 0);
  ASSERT_EQ(d.grid.size(), 9u);
  EXPECT_EQ(d.grid.front(), 900);
  EXPECT_EQ(d.grid.back(), 100);
  EXPECT_EQ(d.minor_ticks.size(), 40u);  // none beyond the end labels
}

TEST(DivideAxis, MinorTicksContinueTowardsTheEndsOfAZoomedAxis) {
  AxisLayoutInput input;
  input.range = {-130, 260};
  input.desired_step = 100;
  input.axis_pixels = 1000;
  input.label_size = 10;
  const AxisDivision d = DivideAxis(input);
  EXPECT_EQ(d.labels, (std::vector<double>{200, 100, 0, -100}));
  // Beyond 200 towards 260 two fit strictly inside, beyond -100 towards -130 one.
  const std::vector<double> beyond = {220, 240, -120};
  std::vector<double> outside;
  for (double v : d.minor_ticks) {
    if (v > 200 || v < -100) outside.push_back(v);
  }
  EXPECT_EQ(outside.size(), 3u);
  for (double v : beyond) EXPECT_NE(std::find_if(outside.begin(), outside.end(), [&](double o) { return std::abs(o - v) < 1e-9; }), outside.end()) << v;
  EXPECT_EQ(d.minor_ticks.size(), 3u * 4 + 3);
}

TEST(FormatAxisLabel, GroupsThousandsAndKeepsThreeDecimals) {
  const struct {
    double value;
    const char* group;
    const char* decimal;
    const char* expected;
  } cases[] = {
      {0, ",", ".", "0"},
      {500, ",", ".", "500"},
      {-500, ",", ".", "-500"},
      {1000, ",", ".", "1,000"},
      {-1000, ",", ".", "-1,000"},
      {1234567, ",", ".", "1,234,567"},
      {2.0625, ",", ".", "2.063"},
      {0.5, ",", ".", "0.5"},
      {-0.0001, ",", ".", "0"},
      {1000.5, ".", ",", "1.000,5"},
      {1000, "\u00a0", ",", "1\u00a0000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(FormatAxisLabel(c.value, c.group, c.decimal), c.expected);
  }
}

}  // namespace
}  // namespace soakmark::display
