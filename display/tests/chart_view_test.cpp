#include "display/chart_view.h"

#include <gtest/gtest.h>

namespace soakmark::display {
namespace {

// A plot area 200 pixels wide and 250 high: radius -1000 to 1000 across,
// depth 0 to 1000 down.
class ChartViewTest : public ::testing::Test {
 protected:
  ChartView view{{-1000, 1000}, {0, 1000}, true};
  const PlotArea area{40, 30, 240, 280};
  const AxisRange designed_horizontal{-1000, 1000};
  const AxisRange designed_vertical{0, 1000};
};

TEST_F(ChartViewTest, DragRightAndDownZoomsToTheRectangle) {
  EXPECT_TRUE(view.LeftDrag({140, 30}, {190, 155}, area));
  EXPECT_EQ(view.Horizontal(), (AxisRange{0, 500}));
  EXPECT_EQ(view.Vertical(), (AxisRange{0, 500}));
  EXPECT_EQ(view.HorizontalPixel(250, area), 140);
}

TEST_F(ChartViewTest, ShortDragsChangeNothing) {
  const struct {
    Point from, to;
  } cases[] = {
      {{100, 100}, {116, 200}},  // 16 across
      {{100, 100}, {200, 116}},  // 16 down
      {{100, 100}, {84, 84}},    // 16 back both ways
      {{100, 100}, {100, 100}},
  };
  ASSERT_TRUE(view.LeftDrag({60, 50}, {200, 250}, area));
  const AxisRange zoomed_h = view.Horizontal();
  const AxisRange zoomed_v = view.Vertical();
  for (const auto& c : cases) {
    EXPECT_FALSE(view.LeftDrag(c.from, c.to, area));
    EXPECT_EQ(view.Horizontal(), zoomed_h);
    EXPECT_EQ(view.Vertical(), zoomed_v);
  }
  EXPECT_TRUE(view.LeftDrag({100, 100}, {117, 117}, area));  // 17 both ways zooms
}

TEST_F(ChartViewTest, DragAnyOtherWayRestoresTheDesignedRanges) {
  const Point other_ways[][2] = {{{200, 200}, {100, 100}}, {{100, 200}, {200, 100}}, {{200, 100}, {100, 200}}};
  for (const auto& drag : other_ways) {
    ASSERT_TRUE(view.LeftDrag({60, 50}, {200, 250}, area));
    ASSERT_TRUE(view.LeftDrag({60, 50}, {200, 250}, area));  // a second zoom keeps the first saved ranges
    EXPECT_TRUE(view.LeftDrag(drag[0], drag[1], area));
    EXPECT_EQ(view.Horizontal(), designed_horizontal);
    EXPECT_EQ(view.Vertical(), designed_vertical);
    EXPECT_FALSE(view.Zoomed());
  }
  EXPECT_FALSE(view.LeftDrag({200, 200}, {100, 100}, area));  // nothing to restore
}

TEST_F(ChartViewTest, ScrollMovesBothAxesWithThePointer) {
  view.Scroll(20, 25, area);  // right by a tenth, down by a tenth
  EXPECT_EQ(view.Horizontal(), (AxisRange{-1200, 800}));
  EXPECT_EQ(view.Vertical(), (AxisRange{-100, 900}));
  EXPECT_TRUE(view.LeftDrag({200, 200}, {100, 100}, area));
  EXPECT_EQ(view.Horizontal(), designed_horizontal);
  EXPECT_EQ(view.Vertical(), designed_vertical);
}

}  // namespace
}  // namespace soakmark::display
