// The window's own work on Qt's offscreen platform: one Recalculate click
// until both charts have repainted, and one repaint of a chart during a
// scroll drag at device pixel ratios 1 and 2.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include "app/application.h"
#include "app/form2.h"

using soakmark::app::TForm2;

namespace {

void RecalculateUntilRepainted(benchmark::State& state) {
  TForm2 form(QStringLiteral("Soakmark"));
  form.FormCreate(&form);
  form.show();
  QApplication::processEvents();
  bool toggle = false;
  for (auto _ : state) {
    form.AppRate->setText(toggle ? QStringLiteral("2") : QStringLiteral("3"));  // a new front every time
    toggle = !toggle;
    form.RecalcButton->click();
    form.Chart1->repaint();
    form.Chart2->repaint();
  }
}
BENCHMARK(RecalculateUntilRepainted)->Unit(benchmark::kMicrosecond);

void ScrollRepaint(benchmark::State& state) {
  const qreal ratio = static_cast<qreal>(state.range(0));
  TForm2 form(QStringLiteral("Soakmark"));
  form.FormCreate(&form);
  QWidget& chart = *form.Chart1;
  QImage target(chart.size() * ratio, QImage::Format_ARGB32_Premultiplied);
  target.setDevicePixelRatio(ratio);
  QPointF at(120, 120);
  auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
    QMouseEvent e(type, at, chart.mapToGlobal(at), Qt::RightButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&chart, &e);
  };
  send(QEvent::MouseButtonPress, Qt::RightButton);
  int step = 0;
  for (auto _ : state) {
    at += QPointF((step++ % 2) != 0 ? 1 : -1, 1);
    send(QEvent::MouseMove, Qt::RightButton);
    chart.render(&target);
  }
  send(QEvent::MouseButtonRelease, Qt::NoButton);
  benchmark::DoNotOptimize(target.constBits());
}
BENCHMARK(ScrollRepaint)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  soakmark::app::ConfigureApplication(application);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
