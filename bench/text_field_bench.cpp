// The input field with texts of every size, on Qt's offscreen platform and
// with the accessibility events switched on: a key until the field has
// repainted, a paste, and select-all-and-delete, each at 10 characters (the
// baseline), 1 MB and 10 MB. The large figures should stay within ten times
// the baseline's.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include "app/text_field.h"

using soakmark::app::TextField;

namespace {

QString TextOfSize(std::int64_t size) { return QString(static_cast<qsizetype>(size), QLatin1Char('7')); }

void Press(QWidget* w, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(w, &press);
}

struct Field {
  explicit Field(std::int64_t size) {
    field.resize(161, 19);
    field.show();
    field.setFocus();
    field.setText(TextOfSize(size));
    field.repaint();
  }
  TextField field;
};

void KeyToRepaint(benchmark::State& state) {
  Field f(state.range(0));
  bool type = true;
  for (auto _ : state) {
    if (type) {
      Press(&f.field, Qt::Key_8, Qt::NoModifier, QStringLiteral("8"));
    } else {
      Press(&f.field, Qt::Key_Backspace);
    }
    type = !type;
    f.field.repaint();
  }
}

void Paste(benchmark::State& state) {
  Field f(10);
  QApplication::clipboard()->setText(TextOfSize(state.range(0)));
  for (auto _ : state) {
    Press(&f.field, Qt::Key_A, Qt::ControlModifier);
    Press(&f.field, Qt::Key_V, Qt::ControlModifier);
    f.field.repaint();
  }
}

void SelectAllAndDelete(benchmark::State& state) {
  Field f(10);
  const QString text = TextOfSize(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    f.field.setText(text);
    state.ResumeTiming();
    Press(&f.field, Qt::Key_A, Qt::ControlModifier);
    Press(&f.field, Qt::Key_Backspace);
    f.field.repaint();
  }
}

constexpr std::int64_t kSizes[] = {10, 1'000'000, 10'000'000};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  // As with a screen reader running: every edit sends its accessibility events.
  QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
  for (std::int64_t size : kSizes) {
    benchmark::RegisterBenchmark("KeyToRepaint", KeyToRepaint)->Arg(size)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Paste", Paste)->Arg(size)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("SelectAllAndDelete", SelectAllAndDelete)->Arg(size)->Unit(benchmark::kMicrosecond);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
