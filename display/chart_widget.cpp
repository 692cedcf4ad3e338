#include "display/chart_widget.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRubberBand>
#include <algorithm>
#include <cmath>

namespace soakmark::display {

namespace {

const QColor kTickColor(128, 128, 128);
constexpr int kGap = 3;         // between the title, the labels, the axis titles and the plot area
constexpr int kAxisLineWidth = 2;

// Lines, ticks and frame drawn on whole device pixels. On a scaled screen
// (1.25, 1.5 or 1.75 device pixels to a logical one) a 1-pixel line would
// cover 1 or 2 device pixels depending on where it falls; here each logical
// position maps to one device pixel and every line has the same width, the
// logical width rounded to whole device pixels. At a scale of 1 the pen draws
// as it always has.
class DeviceLines {
 public:
  explicit DeviceLines(QPainter& p) : p_(p), scale_(p.deviceTransform().m11()) {
    p_.save();
    if (!Unscaled()) p_.setWorldTransform(QTransform::fromScale(1 / scale_, 1 / scale_), true);
  }
  ~DeviceLines() { p_.restore(); }
  DeviceLines(const DeviceLines&) = delete;
  DeviceLines& operator=(const DeviceLines&) = delete;

  // A line one logical pixel wide over the pixels from (x1, y1) to (x2, y2)
  // inclusive, horizontal or vertical, solid or dotted (one on, two off).
  void Line(int x1, int y1, int x2, int y2, const QColor& colour, Qt::PenStyle style = Qt::SolidLine) {
    if (Unscaled()) {
      p_.setPen(QPen(colour, 1, style));
      p_.drawLine(x1, y1, x2, y2);
      return;
    }
    const int w = Size(1);
    const bool horizontal = y1 == y2;
    const int from = horizontal ? Px(std::min(x1, x2)) : Px(std::min(y1, y2));
    const int to = (horizontal ? Px(std::max(x1, x2)) : Px(std::max(y1, y2))) + w;  // exclusive
    const int across = horizontal ? Px(y1) : Px(x1);
    const int dash = style == Qt::DotLine ? w : to - from;
    const int period = style == Qt::DotLine ? 3 * w : to - from;
    for (int at = from; at < to; at += std::max(period, 1)) {
      const int length = std::min(dash, to - at);
      p_.fillRect(horizontal ? QRect(at, across, length, w) : QRect(across, at, w, length), colour);
    }
  }
  // The outline of a rectangle whose sides lie on the pixels left, top, right, bottom.
  void Frame(int left, int top, int right, int bottom, const QColor& colour) {
    Line(left, top, right, top, colour);
    Line(left, bottom, right, bottom, colour);
    Line(left, top, left, bottom, colour);
    Line(right, top, right, bottom, colour);
  }
  // A filled rectangle of logical pixels, its width and height each the
  // logical size rounded to whole device pixels wherever it lies.
  void Fill(const QRect& r, const QColor& colour) {
    if (Unscaled()) {
      p_.fillRect(r, colour);
      return;
    }
    p_.fillRect(QRect(Px(r.left()), Px(r.top()), Size(r.width()), Size(r.height())), colour);
  }

 private:
  bool Unscaled() const { return scale_ == 1.0; }
  int Px(int logical) const { return static_cast<int>(std::lround(logical * scale_)); }
  int Size(int logical) const { return std::max(1, static_cast<int>(std::lround(logical * scale_))); }

  QPainter& p_;
  double scale_;
};

// One line of text placed in a box as QPainter::drawText(box, flags, text)
// places it, without the general text-formatting machinery: the charts draw
// a few dozen labels on every repaint.
void DrawLine(QPainter& p, const QRect& box, int flags, const QString& text) {
  const QFontMetricsF metrics(p.font());
  const qreal width = metrics.horizontalAdvance(text);
  const qreal height = metrics.height();
  qreal x = box.x();
  if (flags & Qt::AlignRight) {
    x += box.width() - width;
  } else if (flags & Qt::AlignHCenter) {
    x += (box.width() - width) / 2;
  }
  qreal y = box.y();
  if (flags & Qt::AlignVCenter) y += (box.height() - height) / 2;
  p.drawText(QPointF(x, y + metrics.ascent()), text);
}

// What a screen reader meets: a chart, named by its title.
QAccessibleInterface* ChartAccessibility(const QString& class_name, QObject* object) {
  if (class_name == QLatin1String("soakmark::display::ChartWidget") && object->isWidgetType()) {
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Chart);
  }
  return nullptr;
}

}  // namespace

void ChartShape::SetX0(double v) { x0_ = v; chart_.update(); }
void ChartShape::SetX1(double v) { x1_ = v; chart_.update(); }
void ChartShape::SetY0(double v) { y0_ = v; chart_.update(); }
void ChartShape::SetY1(double v) { y1_ = v; chart_.update(); }

ChartWidget::ChartWidget(const ChartSettings& settings, QWidget* parent)
    : QWidget(parent),
      settings_(settings),
      view_(settings.bottom.range, settings.left.range, /*vertical_inverted=*/true),
      shape_(*this) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  static const bool accessibility_installed = [] {
    QAccessible::installFactory(ChartAccessibility);
    return true;
  }();
  (void)accessibility_installed;
  setAccessibleName(settings.title);
}

void ChartWidget::SetSeparators(const QString& group, const QString& decimal) {
  settings_.group_separator = group.toStdString();
  settings_.decimal_separator = decimal.toStdString();
  update();
}

QString ChartWidget::Label(double value) const {
  return QString::fromStdString(FormatAxisLabel(value, settings_.group_separator, settings_.decimal_separator));
}

int ChartWidget::MarginX() const { return static_cast<int>(std::lround(width() * settings_.horizontal_margin)); }
int ChartWidget::MarginY() const { return static_cast<int>(std::lround(height() * settings_.vertical_margin)); }

PlotArea ChartWidget::Plot() const {
  const QFontMetrics title(settings_.title_font);
  const QFontMetrics axis_title(settings_.axis_title_font);
  const QFontMetrics labels(settings_.label_font);
  const int margin_x = MarginX();
  const int margin_y = MarginY();
  // The left labels need the width of the wider of the labels at the ends of
  // the axis.
  const int left_label_width = std::max(labels.horizontalAdvance(Label(view_.Vertical().min)),
                                        labels.horizontalAdvance(Label(view_.Vertical().max)));
  PlotArea area;
  area.left = margin_x + axis_title.height() + kGap + left_label_width + kGap + settings_.left.tick_length;
  area.top = margin_y + title.height() + kGap + labels.height() / 2;
  area.right = width() - 1 - margin_x - labels.horizontalAdvance(QStringLiteral("0")) * 2;
  area.bottom = height() - 1 - margin_y - axis_title.height() - kGap - labels.height() - kGap -
                std::max(settings_.bottom.tick_length, settings_.bottom.minor_tick_length);
  area.right = std::max(area.right, area.left + 1);
  area.bottom = std::max(area.bottom, area.top + 1);
  return area;
}

AxisDivision ChartWidget::LeftDivision() const { return DivideLeft(Plot()); }
AxisDivision ChartWidget::BottomDivision() const { return DivideBottom(Plot()); }

AxisDivision ChartWidget::DivideLeft(const PlotArea& area) const {
  AxisLayoutInput input;
  input.range = view_.Vertical();
  input.desired_step = settings_.left.desired_step;
  input.labels_on_ends = settings_.left.labels_on_ends;
  input.axis_pixels = area.bottom - area.top;
  input.label_size = QFontMetrics(settings_.label_font).height();
  input.minor_ticks = settings_.left.minor_ticks;
  return DivideAxis(input);
}

AxisDivision ChartWidget::DivideBottom(const PlotArea& area) const {
  const QFontMetrics labels(settings_.label_font);
  AxisLayoutInput input;
  input.range = view_.Horizontal();
  input.desired_step = settings_.bottom.desired_step;
  input.labels_on_ends = settings_.bottom.labels_on_ends;
  input.axis_pixels = area.right - area.left;
  input.label_size = std::max(labels.horizontalAdvance(Label(input.range.min)),
                              labels.horizontalAdvance(Label(input.range.max)));
  input.minor_ticks = settings_.bottom.minor_ticks;
  return DivideAxis(input);
}

void ChartWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const PlotArea area = Plot();

  // Background and title.
  p.fillRect(rect(), settings_.background);
  p.setFont(settings_.title_font);
  p.setPen(settings_.title_color);
  DrawLine(p, QRect(0, MarginY(), width(), QFontMetrics(settings_.title_font).height()), Qt::AlignHCenter | Qt::AlignTop,
             settings_.title);

  // The frame of the plot area, its sides on the pixels left, top, right and bottom.
  DeviceLines(p).Frame(area.left, area.top, area.right, area.bottom, Qt::black);

  PaintLeftAxis(p, area);
  PaintBottomAxis(p, area);
  PaintFigure(p, area);
}

void ChartWidget::PaintLeftAxis(QPainter& p, const PlotArea& area) const {
  const AxisDivision division = DivideLeft(area);
  const QFontMetrics labels(settings_.label_font);
  const QFontMetrics axis_title(settings_.axis_title_font);

  // Title, turned to read upward, centred along the axis.
  p.save();
  p.setFont(settings_.axis_title_font);
  p.setPen(Qt::black);
  const int centre_y = (area.top + area.bottom) / 2;
  p.translate(MarginX(), centre_y);
  p.rotate(-90);
  DrawLine(p, QRect(-200, 0, 400, axis_title.height()), Qt::AlignHCenter | Qt::AlignTop, settings_.left.title);
  p.restore();

  // Labels, right-aligned against the ticks.
  p.setFont(settings_.label_font);
  p.setPen(Qt::black);
  const int label_right = area.left - settings_.left.tick_length - kGap;
  for (double v : division.labels) {
    const int y = view_.VerticalPixel(v, area);
    DrawLine(p, QRect(label_right - 200, y - labels.height() / 2, 200, labels.height()),
               Qt::AlignRight | Qt::AlignVCenter, Label(v));
  }

  // Axis line along the left edge, outside the frame line; then major ticks,
  // grid lines, minor ticks.
  DeviceLines lines(p);
  lines.Fill(QRect(area.left - kAxisLineWidth + 1, area.top, kAxisLineWidth, area.bottom - area.top + 1), Qt::black);
  const int tick_end = area.left - kAxisLineWidth;
  for (double v : division.labels) {
    const int y = view_.VerticalPixel(v, area);
    lines.Line(tick_end - settings_.left.tick_length + 1, y, tick_end, y, kTickColor);
  }
  for (double v : division.grid) {
    const int y = view_.VerticalPixel(v, area);
    lines.Line(area.left + 1, y, area.right - 1, y, kTickColor, Qt::DotLine);
  }
  for (double v : division.minor_ticks) {
    const int y = view_.VerticalPixel(v, area);
    lines.Line(tick_end - settings_.left.minor_tick_length + 1, y, tick_end, y, kTickColor);
  }
}

void ChartWidget::PaintBottomAxis(QPainter& p, const PlotArea& area) const {
  const AxisDivision division = DivideBottom(area);
  const QFontMetrics labels(settings_.label_font);
  const QFontMetrics axis_title(settings_.axis_title_font);
  const int tick_room = std::max(settings_.bottom.tick_length, settings_.bottom.minor_tick_length);
  const int label_top = area.bottom + kAxisLineWidth + tick_room + kGap - 1;

  p.setFont(settings_.axis_title_font);
  p.setPen(Qt::black);
  DrawLine(p, QRect(area.left - 100, label_top + labels.height() + kGap, area.right - area.left + 200, axis_title.height()),
             Qt::AlignHCenter | Qt::AlignTop, settings_.bottom.title);

  p.setFont(settings_.label_font);
  for (double v : division.labels) {
    const int x = view_.HorizontalPixel(v, area);
    DrawLine(p, QRect(x - 100, label_top, 200, labels.height()), Qt::AlignHCenter | Qt::AlignTop, Label(v));
  }

  DeviceLines lines(p);
  lines.Fill(QRect(area.left, area.bottom, area.right - area.left + 1, kAxisLineWidth), Qt::black);
  const int tick_start = area.bottom + kAxisLineWidth;
  for (double v : division.labels) {
    const int x = view_.HorizontalPixel(v, area);
    lines.Line(x, tick_start, x, tick_start + settings_.bottom.tick_length - 1, kTickColor);
  }
  for (double v : division.grid) {
    const int x = view_.HorizontalPixel(v, area);
    lines.Line(x, area.top + 1, x, area.bottom - 1, kTickColor, Qt::DotLine);
  }
  for (double v : division.minor_ticks) {
    const int x = view_.HorizontalPixel(v, area);
    lines.Line(x, tick_start, x, tick_start + settings_.bottom.minor_tick_length - 1, kTickColor);
  }
}

void ChartWidget::PaintFigure(QPainter& p, const PlotArea& area) const {
  int left = view_.HorizontalPixel(shape_.X0(), area);
  int right = view_.HorizontalPixel(shape_.X1(), area);
  int top = view_.VerticalPixel(shape_.Y0(), area);
  int bottom = view_.VerticalPixel(shape_.Y1(), area);
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (right == left) ++right;
  if (bottom == top) ++bottom;
  if (right < area.left || left > area.right || bottom < area.top || top > area.bottom) return;

  p.save();
  p.setClipRect(QRect(area.left + 1, area.top + 1, area.right - area.left - 1, area.bottom - area.top - 1));
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(shape_.outline, 1));
  p.setBrush(shape_.fill);
  p.drawEllipse(QRectF(left + 0.5, top + 0.5, right - left, bottom - top));
  p.restore();
}

void ChartWidget::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    zoom_start_ = pos;
    if (rubber_band_ == nullptr) rubber_band_ = new QRubberBand(QRubberBand::Rectangle, this);
    rubber_band_->setGeometry(QRect(pos, QSize()));
    rubber_band_->show();
  } else if (event->button() == Qt::RightButton) {
    scroll_last_ = pos;
  }
}

void ChartWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (zoom_start_ && rubber_band_ != nullptr) rubber_band_->setGeometry(QRect(*zoom_start_, pos).normalized());
  if (scroll_last_) {
    const bool moved = pos != *scroll_last_;
    view_.Scroll(pos.x() - scroll_last_->x(), pos.y() - scroll_last_->y(), Plot());
    scroll_last_ = pos;
    if (moved) {
      update();
      emit ViewChanged();
    }
  }
}

void ChartWidget::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::LeftButton && zoom_start_) {
    if (rubber_band_ != nullptr) rubber_band_->hide();
    const Point from{static_cast<double>(zoom_start_->x()), static_cast<double>(zoom_start_->y())};
    zoom_start_.reset();
    if (view_.LeftDrag(from, {static_cast<double>(pos.x()), static_cast<double>(pos.y())}, Plot())) {
      update();
      emit ViewChanged();
    }
  } else if (event->button() == Qt::RightButton) {
    scroll_last_.reset();
  }
}

}  // namespace soakmark::display
