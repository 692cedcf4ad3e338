// The chart as it paints: rendered to an image and checked by its pixels.
#include "display/chart_widget.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>
#include <QApplication>
#include <optional>

namespace soakmark::display {
namespace {

const QRgb kNavy = qRgb(0, 0, 128);

ChartSettings Settings(double bottom_step) {
  ChartSettings s;
  s.title = QStringLiteral("Wide Pattern");
  s.background = QColor(240, 202, 166);
  QFont bold(QStringLiteral("Arial"));
  bold.setPixelSize(13);
  bold.setBold(true);
  s.title_font = bold;
  s.axis_title_font = bold;
  s.label_font = QFont(QStringLiteral("Arial"));
  s.label_font.setPixelSize(11);
  s.left = {QStringLiteral("Soil Depth (mm)"), {0, 1000}, 0, true, 6, 3, 4};
  s.bottom = {QStringLiteral("Radius (mm)"), {-1000, 1000}, bottom_step, false, 4, 3, 4};
  return s;
}

class ChartWidgetTest : public ::testing::Test {
 protected:
  ChartWidgetTest() : chart(Settings(250)) { chart.resize(265, 337); }

  void SetBounds(double x0, double x1, double y0, double y1) {
    chart.Shape().SetX0(x0);
    chart.Shape().SetX1(x1);
    chart.Shape().SetY0(y0);
    chart.Shape().SetY1(y1);
  }
  QImage Render() { return chart.grab().toImage().convertToFormat(QImage::Format_RGB32); }
  int X(double v) { return chart.View().HorizontalPixel(v, chart.Plot()); }
  int Y(double v) { return chart.View().VerticalPixel(v, chart.Plot()); }

  static bool IsNavy(const QImage& image, int x, int y) { return image.pixel(x, y) == kNavy; }
  // Fill, outline or their blend with the background: small figures are
  // mostly edge.
  static bool IsFigure(const QImage& image, int x, int y) {
    const QColor c = image.pixelColor(x, y);
    return c.blue() > c.red() + 30 || (c.red() < 80 && c.green() < 80 && c.blue() < 80);
  }
  // Within the interior of the frame, where only the figure and the dotted
  // grid lines are drawn.
  std::optional<std::pair<int, int>> FigureRun(const QImage& image, int column) {
    std::optional<std::pair<int, int>> run;
    for (int y = chart.Plot().top + 1; y < chart.Plot().bottom; ++y) {
      if (IsFigure(image, column, y)) {
        if (!run) run = std::make_pair(y, y);
        run->second = y;
      }
    }
    return run;
  }

  // The first and last navy pixel along a row or a column.
  static std::optional<std::pair<int, int>> NavyRun(const QImage& image, int fixed, bool along_row) {
    std::optional<std::pair<int, int>> run;
    const int length = along_row ? image.width() : image.height();
    for (int i = 0; i < length; ++i) {
      if (IsNavy(image, along_row ? i : fixed, along_row ? fixed : i)) {
        if (!run) run = std::make_pair(i, i);
        run->second = i;
      }
    }
    return run;
  }
  static int NavyCount(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += IsNavy(image, x, y);
    return n;
  }

  ChartWidget chart;
};

TEST_F(ChartWidgetTest, DesignedAxesShowTheirLabels) {
  EXPECT_EQ(chart.BottomDivision().labels, (std::vector<double>{500, 0, -500}));
  ChartWidget automatic(Settings(0));
  automatic.resize(265, 337);
  EXPECT_EQ(automatic.BottomDivision().labels, (std::vector<double>{500, 0, -500}));
  const AxisDivision left = chart.LeftDivision();
  EXPECT_EQ(left.labels.front(), 1000);
  EXPECT_EQ(left.labels.back(), 0);
}

// The front of ten litres in moist soil: a bowl hanging from the top edge.
TEST_F(ChartWidgetTest, FrontIsABowlHangingFromTheTopEdge) {
  SetBounds(-371.101, 371.101, -422.931, 422.931);
  const QImage image = Render();
  const PlotArea area = chart.Plot();
  const auto column = NavyRun(image, X(0), false);
  ASSERT_TRUE(column);
  EXPECT_EQ(column->first, area.top + 1);
  EXPECT_NEAR(column->second, Y(422.931), 1);
  const auto row = NavyRun(image, area.top + 1, true);
  ASSERT_TRUE(row);
  EXPECT_NEAR(row->first, X(-371.101), 2);
  EXPECT_NEAR(row->second, X(371.101), 2);
  EXPECT_FALSE(IsNavy(image, X(0), area.top));  // the frame stays on top
}

TEST_F(ChartWidgetTest, FrontBeyondTheAxesIsCutAtTheFrame) {
  SetBounds(-1500, 1500, -1500, 1500);
  const QImage image = Render();
  const PlotArea area = chart.Plot();
  EXPECT_TRUE(IsNavy(image, X(0), area.bottom - 1));
  EXPECT_TRUE(IsNavy(image, area.left + 1, area.top + 1));
  EXPECT_TRUE(IsNavy(image, area.right - 1, area.top + 1));
  for (int y = 0; y < image.height(); ++y) {
    EXPECT_FALSE(IsNavy(image, area.left, y) || IsNavy(image, area.right, y)) << y;
  }
  const auto column = NavyRun(image, X(0), false);
  ASSERT_TRUE(column);
  EXPECT_EQ(column->first, area.top + 1);
  EXPECT_EQ(column->second, area.bottom - 1);
}

TEST_F(ChartWidgetTest, EmptyOrMissedFigureDrawsNothing) {
  const struct {
    const char* name;
    double x0, x1, y0, y1;
  } cases[] = {
      {"zero volume", 0, 0, 0, 0},
      {"right of the axis", 1200, 1500, 0, 500},
      {"above the axis", -100, 100, -500, -200},
      {"far away", 1e300, 1e301, 1e300, 1e301},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetBounds(c.x0, c.x1, c.y0, c.y1);
    EXPECT_EQ(NavyCount(Render()), 0);
  }
}

// The shapes before the first calculation: an ellipse from 0 to 100 mm across
// and down, and a sliver from 30 to 70 mm across, down to 300 mm.
TEST_F(ChartWidgetTest, InitialShapes) {
  SetBounds(0, 100, 0, 100);
  QImage image = Render();
  const PlotArea area = chart.Plot();
  auto column = FigureRun(image, X(50));
  ASSERT_TRUE(column);
  EXPECT_LE(column->first, area.top + 2);
  EXPECT_NEAR(column->second, Y(100), 1);
  EXPECT_FALSE(IsFigure(image, X(0) - 2, Y(50)));
  EXPECT_FALSE(IsFigure(image, X(100) + 2, Y(50)));

  SetBounds(30, 70, -150, 300);
  image = Render();
  column = FigureRun(image, X(50));
  ASSERT_TRUE(column);
  EXPECT_EQ(column->first, area.top + 1);
  EXPECT_NEAR(column->second, Y(300), 1);
  EXPECT_FALSE(IsFigure(image, X(0), Y(100)));
}

// At a device pixel ratio of 2 the chart is painted at full resolution: some
// 2 × 2 block of device pixels is not one colour, as it would be if a
// 1:1 picture were scaled up.
TEST_F(ChartWidgetTest, PaintsAtFullResolutionOnDenseScreens) {
  SetBounds(-371.101, 371.101, -422.931, 422.931);
  QImage image(chart.size() * 2, QImage::Format_RGB32);
  image.setDevicePixelRatio(2);
  chart.render(&image);
  bool detail = false;
  for (int y = 0; y + 1 < image.height() && !detail; y += 2) {
    for (int x = 0; x + 1 < image.width() && !detail; x += 2) {
      const QRgb p = image.pixel(x, y);
      detail = image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p || image.pixel(x + 1, y + 1) != p;
    }
  }
  EXPECT_TRUE(detail);
}

void Send(QWidget& w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, QPoint pos) {
  QMouseEvent event(type, QPointF(pos), w.mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(&w, &event);
}

void Drag(QWidget& w, Qt::MouseButton button, QPoint from, QPoint to) {
  Send(w, QEvent::MouseButtonPress, button, button, from);
  Send(w, QEvent::MouseMove, Qt::NoButton, button, (from + to) / 2);
  Send(w, QEvent::MouseMove, Qt::NoButton, button, to);
  Send(w, QEvent::MouseButtonRelease, button, Qt::NoButton, to);
}

TEST_F(ChartWidgetTest, MouseZoomUndoAndScroll) {
  const PlotArea area = chart.Plot();
  const QPoint centre(X(0), Y(500));
  Drag(chart, Qt::LeftButton, centre, centre + QPoint(16, 40));  // 16 across: nothing
  EXPECT_FALSE(chart.View().Zoomed());
  Drag(chart, Qt::LeftButton, QPoint(X(0), area.top), QPoint(X(500), Y(500)));
  EXPECT_NEAR(chart.View().Horizontal().min, 0, 12);
  EXPECT_NEAR(chart.View().Horizontal().max, 500, 12);
  EXPECT_NEAR(chart.View().Vertical().max, 500, 5);
  // Labels, ticks and grid follow the new ranges.
  EXPECT_LT(chart.BottomDivision().step, 500);
  Drag(chart, Qt::LeftButton, centre + QPoint(40, 40), centre);  // up and left: undo
  EXPECT_EQ(chart.View().Horizontal(), (AxisRange{-1000, 1000}));
  EXPECT_EQ(chart.View().Vertical(), (AxisRange{0, 1000}));

  Drag(chart, Qt::RightButton, centre, centre + QPoint(20, 30));
  EXPECT_LT(chart.View().Horizontal().min, -1000);
  EXPECT_LT(chart.View().Vertical().min, 0);
  Drag(chart, Qt::LeftButton, centre + QPoint(40, 40), centre);
  EXPECT_EQ(chart.View().Horizontal(), (AxisRange{-1000, 1000}));
}

}  // namespace
}  // namespace soakmark::display
