// A chart of one shape against a left and a bottom axis, painted with
// QPainter, with mouse zoom and scroll.
#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <optional>
#include <string>

#include "display/chart_view.h"
#include "display/scale.h"

class QRubberBand;

namespace soakmark::display {

struct AxisSettings {
  QString title;
  AxisRange range;
  double desired_step = 0;  // 0: automatic
  bool labels_on_ends = true;
  int tick_length = 4;
  int minor_tick_length = 3;
  int minor_ticks = 4;
};

struct ChartSettings {
  QString title;
  QColor background;
  QFont title_font;       // the chart's title
  QFont axis_title_font;  // the axes' titles
  QFont label_font;       // the axes' labels
  QColor title_color = Qt::blue;
  AxisSettings left;    // drawn inverted: its minimum on the top edge
  AxisSettings bottom;  // its minimum on the left edge
  double horizontal_margin = 0.03;  // of the width, at the left and at the right
  double vertical_margin = 0.04;    // of the height, at the top and at the bottom
  std::string group_separator = ",";  // UTF-8
  std::string decimal_separator = ".";
};

class ChartWidget;

// The figure of a chart: the ellipse inscribed in the box of its two points
// (X0, Y0) and (X1, Y1), in axis values. Writing a bound stores it and asks
// the chart for a repaint.
class ChartShape {
 public:
  explicit ChartShape(ChartWidget& chart) : chart_(chart) {}

  double X0() const { return x0_; }
  double X1() const { return x1_; }
  double Y0() const { return y0_; }
  double Y1() const { return y1_; }
  void SetX0(double v);
  void SetX1(double v);
  void SetY0(double v);
  void SetY1(double v);

  QColor fill = QColor(0, 0, 128);
  QColor outline = Qt::black;

 private:
  ChartWidget& chart_;
  double x0_ = 0, x1_ = 100, y0_ = 0, y1_ = 100;
};

class ChartWidget : public QWidget {
  Q_OBJECT

 public:
  explicit ChartWidget(const ChartSettings& settings, QWidget* parent = nullptr);

  ChartShape& Shape() { return shape_; }
  const ChartShape& Shape() const { return shape_; }
  const ChartView& View() const { return view_; }

  // The plot area for the current size and fonts; the frame lies on its edges.
  PlotArea Plot() const;
  AxisDivision LeftDivision() const;
  AxisDivision BottomDivision() const;

  // The separators of the axis labels, from the user's regional settings.
  void SetSeparators(const QString& group, const QString& decimal);

 signals:
  // The shown ranges changed: a zoom, its undo, or a step of a scroll.
  void ViewChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QString Label(double value) const;
  int MarginX() const;
  int MarginY() const;
  AxisDivision DivideLeft(const PlotArea& area) const;
  AxisDivision DivideBottom(const PlotArea& area) const;
  void PaintLeftAxis(QPainter& p, const PlotArea& area) const;
  void PaintBottomAxis(QPainter& p, const PlotArea& area) const;
  void PaintFigure(QPainter& p, const PlotArea& area) const;

  ChartSettings settings_;
  ChartView view_;
  ChartShape shape_;
  std::optional<QPoint> zoom_start_;
  std::optional<QPoint> scroll_last_;
  QRubberBand* rubber_band_ = nullptr;
};

}  // namespace soakmark::display
