#include "app/front_description.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace soakmark::app {

QString WholeMillimetres(double mm, const QString& group) {
  if (!std::isfinite(mm)) return QStringLiteral("?");
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.0f", std::fabs(std::round(mm)));
  const QString sign = mm <= -0.5 ? QStringLiteral("-") : QString();
  return sign + QString::fromStdString(display::GroupDigits(buffer, group.toStdString()));
}

namespace {

QString Range(const display::AxisRange& range, const QString& group) {
  return QStringLiteral("%1 to %2 mm").arg(WholeMillimetres(range.min, group), WholeMillimetres(range.max, group));
}

QString JoinEdges(const QStringList& edges) {
  if (edges.size() == 1) return edges[0];
  return edges.mid(0, edges.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + edges.back();
}

}  // namespace

QString DescribeFront(const std::optional<calc::ShapeBounds>& front, const ShownRanges& shown, const QString& group) {
  QString text;
  if (!front) {
    text = QStringLiteral("No wetting front calculated yet.");
  } else {
    // The front is the lower half of the ellipse: across the radius from -r
    // to r, down from the soil surface to the depth d.
    const double r = std::max(std::fabs(front->X0), std::fabs(front->X1));
    const double d = std::max(std::fabs(front->Y0), std::fabs(front->Y1));
    if (r == 0 && d == 0) {
      text = QStringLiteral("No wetting front shown: the applied volume is zero.");
    } else {
      text = QStringLiteral("Wetting front %1 mm to each side of the emitter and %2 mm deep.")
                 .arg(WholeMillimetres(r, group), WholeMillimetres(d, group));
      const bool outside = -r > shown.radius.max || r < shown.radius.min || 0 > shown.depth.max || d < shown.depth.min;
      if (outside) {
        text += QStringLiteral(" It lies outside the view.");
      } else {
        QStringList edges;
        if (0 < shown.depth.min) edges << QStringLiteral("top");
        if (-r < shown.radius.min) edges << QStringLiteral("left");
        if (r > shown.radius.max) edges << QStringLiteral("right");
        if (d > shown.depth.max) edges << QStringLiteral("bottom");
        if (!edges.isEmpty()) {
          text += QStringLiteral(" Cut at the %1 %2 of the chart.")
                      .arg(JoinEdges(edges), edges.size() == 1 ? QStringLiteral("edge") : QStringLiteral("edges"));
        }
      }
    }
  }
  if (shown.zoomed) {
    text += QStringLiteral(" View zoomed to a radius of %1 and a depth of %2.")
                .arg(Range(shown.radius, group), Range(shown.depth, group));
  }
  return text;
}

}  // namespace soakmark::app
