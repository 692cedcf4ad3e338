// What a screen reader meets in the window, through Qt's accessibility
// interface: names, roles and descriptions of the results, the charts, the
// panels and the window, and the events that announce their changes. Also
// the focus ring and the colours on a dark desktop.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTest>
#include <optional>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <vector>

#include "app/appearance.h"
#include "app/application.h"
#include "app/form2.h"
#include "app/front_description.h"
#include "app/tests/environment_variable.h"

namespace soakmark::app {
namespace {

// The events the window sends, as an assistive technology receives them.
struct SeenEvent {
  QObject* object;
  QAccessible::Event type;
};
std::vector<SeenEvent>& Seen() {
  static std::vector<SeenEvent> seen;
  return seen;
}
void Record(QAccessibleEvent* event) { Seen().push_back({event->object(), event->type()}); }

bool Announced(QObject* object, QAccessible::Event type) {
  for (const SeenEvent& e : Seen()) {
    if (e.object == object && e.type == type) return true;
  }
  return false;
}

QAccessibleInterface* Of(QObject* object) { return QAccessible::queryAccessibleInterface(object); }

class AccessibilityTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ConfigureApplication(*qApp);
    QAccessible::installUpdateHandler(Record);
    // As when a screen reader is running: the platform's accessibility is
    // switched on, and the widgets send their events.
    QPlatformAccessibility* platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
    ASSERT_NE(platform, nullptr);
    platform->setActive(true);
    ASSERT_TRUE(QAccessible::isActive());
  }
  static void TearDownTestSuite() {
    QAccessible::installUpdateHandler(nullptr);
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
  }

  AccessibilityTest() : lc_all_("LC_ALL", "C") {}

  TForm2& Started() {
    form_.emplace(QStringLiteral("Soakmark"));
    form_->FormCreate(&*form_);
    Seen().clear();
    return *form_;
  }
  static void Set(TextField* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  // A left drag in a chart, from and to points of its plot area.
  static void Drag(display::ChartWidget* chart, QPoint from, QPoint to) {
    auto send = [&](QEvent::Type type, Qt::MouseButtons buttons, QPoint pos) {
      QMouseEvent e(type, QPointF(pos), chart->mapToGlobal(QPointF(pos)), Qt::LeftButton, buttons, Qt::NoModifier);
      QApplication::sendEvent(chart, &e);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton, from);
    send(QEvent::MouseMove, Qt::LeftButton, to);
    send(QEvent::MouseButtonRelease, Qt::NoButton, to);
  }

  EnvironmentVariable lc_all_;
  std::optional<TForm2> form_;
};

TEST_F(AccessibilityTest, WindowAndPanelsAreNamedGroupings) {
  TForm2& f = Started();
  const struct {
    QWidget* widget;
    QAccessible::Role role;
    const char* name;
  } rows[] = {
      {&f, QAccessible::Window, "Soakmark"},
      {f.Panel1, QAccessible::Grouping, "Inputs and results"},
      {f.Panel2, QAccessible::Grouping, "Wetting patterns"},
      {f.Chart1, QAccessible::Chart, "Wide Pattern"},
      {f.Chart2, QAccessible::Chart, "Narrow Pattern"},
      {f.AppRate, QAccessible::EditableText, "Emitter Application Rate (l/h)"},
      {f.RecalcButton, QAccessible::Button, "Recalculate"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    QAccessibleInterface* a = Of(row.widget);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), row.role);
    EXPECT_EQ(a->text(QAccessible::Name), row.name);
  }
  EXPECT_EQ(Of(f.Chart1)->parent()->object(), f.Panel2);
}

// After a start-up that failed before writing anything, the placeholders are
// read as they show, and the charts say that nothing has been calculated.
TEST_F(AccessibilityTest, PlaceholdersAreReadAsTheyShow) {
  form_.emplace(QStringLiteral("Soakmark"));  // FormCreate has not run
  TForm2& f = *form_;
  for (QLabel* result : {f.appAmt, f.AppAmount, f.mlha}) {
    EXPECT_EQ(Of(result)->text(QAccessible::Name), result->text());
  }
  EXPECT_EQ(Of(f.appAmt)->text(QAccessible::Name), "appAmt");
  EXPECT_EQ(Of(f.Chart1)->text(QAccessible::Description), "No wetting front calculated yet.");
}

struct Case {
  const char* what;
  const char* rate;
  int condition;
  bool zoom_chart1;
  const char* results;  // the result line, read in order
  const char* wide;
  const char* narrow;
};

TEST_F(AccessibilityTest, ResultsAndFrontsAreReadAndAnnounced) {
  const Case cases[] = {
      {"10 l moist", "2", 0, false, "You have applied: 13 mm or 10 litres/emitter or 0.13 Ml/ha",
       "Wetting front 371 mm to each side of the emitter and 423 mm deep.",
       "Wetting front 211 mm to each side of the emitter and 747 mm deep."},
      {"10 l dry", "2", 1, false, "You have applied: 13 mm or 10 litres/emitter or 0.13 Ml/ha",
       "Wetting front 328 mm to each side of the emitter and 374 mm deep.",
       "Wetting front 223 mm to each side of the emitter and 682 mm deep."},
      {"100 l, the narrow front cut", "20", 0, false, "You have applied: 133 mm or 100 litres/emitter or 1.3 Ml/ha",
       "Wetting front 767 mm to each side of the emitter and 944 mm deep.",
       "Wetting front 338 mm to each side of the emitter and 2,099 mm deep. Cut at the bottom edge of the chart."},
      {"0 l", "0", 0, false, "You have applied: 0 mm or 0 litres/emitter or 0 Ml/ha",
       "No wetting front shown: the applied volume is zero.",
       "No wetting front shown: the applied volume is zero."},
      {"10 l, the wide chart zoomed", "2", 0, true, "You have applied: 13 mm or 10 litres/emitter or 0.13 Ml/ha",
       // The zoomed ranges follow the dragged pixels; the start of the text is fixed.
       "Wetting front 371 mm to each side of the emitter and 423 mm deep. Cut at the top and right edges "
       "of the chart. View zoomed to a radius of -",
       "Wetting front 211 mm to each side of the emitter and 747 mm deep."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TForm2& f = Started();
    if (c.zoom_chart1) {
      const display::PlotArea area = f.Chart1->Plot();
      const auto at = [&](double radius, double depth) {
        return QPoint(f.Chart1->View().HorizontalPixel(radius, area), f.Chart1->View().VerticalPixel(depth, area));
      };
      Drag(f.Chart1, at(-500, 250), at(0, 500));
      ASSERT_TRUE(f.Chart1->View().Zoomed());
      EXPECT_TRUE(Announced(f.Chart1, QAccessible::DescriptionChanged)) << "a zoom is announced";
    }
    Set(f.AppRate, QString::fromUtf8(c.rate));
    f.IniHeadItems[c.condition]->click();
    Seen().clear();
    f.RecalcButton->click();

    // The result line, each part read by its accessible name.
    QStringList line;
    for (QLabel* part : {f.Label3, f.appAmt, f.Label4, f.AppAmount, f.Label1, f.mlha, f.Label2}) {
      line << Of(part)->text(QAccessible::Name).simplified();
    }
    EXPECT_EQ(line.join(QLatin1Char(' ')).toStdString(), c.results);
    const struct {
      QLabel* result;
      const char* description;
    } results[] = {{f.appAmt, "Applied depth (mm)"},
                   {f.AppAmount, "Applied volume (litres/emitter)"},
                   {f.mlha, "Applied volume (Ml/ha)"}};
    for (const auto& r : results) {
      EXPECT_EQ(Of(r.result)->text(QAccessible::Name), r.result->text());
      EXPECT_EQ(Of(r.result)->text(QAccessible::Description), r.description);
    }
    const std::string wide = Of(f.Chart1)->text(QAccessible::Description).toStdString();
    if (c.zoom_chart1) {
      EXPECT_EQ(wide.substr(0, std::string(c.wide).size()), c.wide);
      EXPECT_TRUE(QString::fromStdString(wide).contains(QRegularExpression(" and a depth of 2\\d\\d to 5\\d\\d mm\\.$")))
          << wide;
    } else {
      EXPECT_EQ(wide, c.wide);
    }
    EXPECT_EQ(Of(f.Chart2)->text(QAccessible::Description).toStdString(), c.narrow);
  }
}

TEST_F(AccessibilityTest, EveryChangeIsAnnounced) {
  TForm2& f = Started();
  Set(f.AppRate, "4");
  Seen().clear();
  f.RecalcButton->click();
  for (QLabel* result : {f.appAmt, f.AppAmount, f.mlha}) {
    EXPECT_TRUE(Announced(result, QAccessible::NameChanged)) << result->objectName().toStdString();
  }
  EXPECT_TRUE(Announced(f.Chart1, QAccessible::DescriptionChanged));
  EXPECT_TRUE(Announced(f.Chart2, QAccessible::DescriptionChanged));

  // A change of condition redraws the fronts: both charts announce it.
  Seen().clear();
  f.IniHeadItems[2]->click();
  EXPECT_TRUE(Announced(f.Chart1, QAccessible::DescriptionChanged));
  EXPECT_TRUE(Announced(f.Chart2, QAccessible::DescriptionChanged));

  // A scroll and an undo are announced for the chart they happened in.
  const display::PlotArea area = f.Chart2->Plot();
  const QPoint middle((area.left + area.right) / 2, (area.top + area.bottom) / 2);
  Seen().clear();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(middle), f.Chart2->mapToGlobal(QPointF(middle)),
                    Qt::RightButton, Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(f.Chart2, &press);
  const QPoint moved = middle + QPoint(30, 40);
  QMouseEvent move(QEvent::MouseMove, QPointF(moved), f.Chart2->mapToGlobal(QPointF(moved)), Qt::NoButton,
                   Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(f.Chart2, &move);
  EXPECT_TRUE(Announced(f.Chart2, QAccessible::DescriptionChanged));
  EXPECT_FALSE(Announced(f.Chart1, QAccessible::DescriptionChanged));
  EXPECT_TRUE(Of(f.Chart2)->text(QAccessible::Description).contains("View zoomed"));
  Seen().clear();
  Drag(f.Chart2, QPoint(area.right - 10, area.bottom - 10), QPoint(area.left + 10, area.top + 10));
  EXPECT_FALSE(f.Chart2->View().Zoomed());
  EXPECT_TRUE(Announced(f.Chart2, QAccessible::DescriptionChanged));
  EXPECT_FALSE(Of(f.Chart2)->text(QAccessible::Description).contains("View zoomed"));
}

// What a screen reader hears from a field: the text typed or deleted, not the
// whole field, and where the caret went.
struct TextHeard {
  std::vector<QString> inserted, removed;
  int caret = -1;
};
TextHeard& Heard() {
  static TextHeard heard;
  return heard;
}
void RecordText(QAccessibleEvent* e) {
  if (e->type() == QAccessible::TextInserted) {
    Heard().inserted.push_back(static_cast<QAccessibleTextInsertEvent*>(e)->textInserted());
  } else if (e->type() == QAccessible::TextRemoved) {
    Heard().removed.push_back(static_cast<QAccessibleTextRemoveEvent*>(e)->textRemoved());
  } else if (e->type() == QAccessible::TextCaretMoved) {
    Heard().caret = static_cast<QAccessibleTextCursorEvent*>(e)->cursorPosition();
  }
}

TEST_F(AccessibilityTest, FieldsAnnounceInsertionsDeletionsAndTheCaret) {
  TForm2& f = Started();
  f.AppRate->setText(QString(1'000'000, QLatin1Char('7')));
  f.AppRate->setCursorPosition(3);
  Heard() = {};
  QAccessible::installUpdateHandler(RecordText);
  QTest::keyClick(f.AppRate, Qt::Key_5);
  QTest::keyClick(f.AppRate, Qt::Key_Backspace);
  QTest::keyClick(f.AppRate, Qt::Key_Left);
  QAccessible::installUpdateHandler(Record);
  EXPECT_EQ(Heard().inserted, std::vector<QString>{"5"});
  EXPECT_EQ(Heard().removed, std::vector<QString>{"5"});
  EXPECT_EQ(Heard().caret, 2);
}

TEST(FrontDescription, OutsideTheViewAndEdgesInWords) {
  const calc::ShapeBounds front{-300, 300, -400, 400};
  const auto describe = [&](display::AxisRange radius, display::AxisRange depth) {
    return DescribeFront(front, {radius, depth, true}, QStringLiteral("."));
  };
  EXPECT_TRUE(describe({400, 800}, {0, 1000}).contains("It lies outside the view."));
  EXPECT_TRUE(describe({-1000, 1000}, {500, 900}).contains("It lies outside the view."));
  EXPECT_TRUE(describe({-200, 1000}, {0, 1000}).contains("Cut at the left edge of the chart."));
  EXPECT_TRUE(describe({-200, 200}, {0, 1000}).contains("Cut at the left and right edges of the chart."));
  EXPECT_FALSE(describe({-1000, 1000}, {0, 1000}).contains("Cut"));
  EXPECT_EQ(WholeMillimetres(2099.4, "."), "2.099");
  EXPECT_EQ(WholeMillimetres(1234567.5, "\u00a0"), QString::fromUtf8("1\u00a0234\u00a0568"));
  EXPECT_EQ(WholeMillimetres(-0.4, ","), "0");
}

// Contrast by the sRGB luminance rule, and the design's colour where the
// desktop's would not read.
TEST(Appearance, ContrastAndLegibility) {
  EXPECT_NEAR(ContrastRatio(Qt::black, Qt::white), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(QColor(192, 192, 192), QColor(192, 192, 192)), 1.0, 1e-9);
  const QColor silver(192, 192, 192);
  EXPECT_EQ(LegibleOn(QColor(238, 238, 236), silver, Qt::black), QColor(Qt::black));  // Adwaita dark's text
  EXPECT_EQ(LegibleOn(QColor(46, 52, 54), silver, Qt::black), QColor(46, 52, 54));    // Adwaita's text
  for (const auto& [border, face, highlight] :
       {std::tuple{QColor(100, 100, 100), QColor(Qt::white), QColor(0, 120, 215)},
        std::tuple{QColor(171, 171, 171), QColor(239, 239, 239), QColor(48, 140, 198)},
        std::tuple{QColor(25, 25, 25), QColor(53, 53, 53), QColor(53, 132, 228)}}) {
    const FocusRing ring = FocusRingFor(border, face, highlight);
    EXPECT_GE(ContrastRatio(ring.outer, border), 3.0);
    EXPECT_GE(ContrastRatio(ring.inner, face), 3.0);
  }
}

QImage Grab(QWidget* w) {
  QImage image(w->size(), QImage::Format_RGB32);
  w->render(&image);
  return image;
}

// At least 40 % of the edge of a focused control changes colour, and every
// changed pixel contrasts at 3:1 with what it was; nothing else changes.
TEST_F(AccessibilityTest, FocusRingIsClearlyVisible) {
  TForm2& f = Started();
  f.show();
  f.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  for (QWidget* control : std::initializer_list<QWidget*>{f.Duration, f.RecalcButton}) {
    SCOPED_TRACE(control->objectName().toStdString());
    f.btwL->setFocus();
    const QImage before = Grab(control);
    control->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(control->hasFocus());
    const QImage after = Grab(control);
    int edge = 0, changed = 0;
    for (int y = 0; y < before.height(); ++y) {
      for (int x = 0; x < before.width(); ++x) {
        const bool on_edge = x < 2 || y < 2 || x >= before.width() - 2 || y >= before.height() - 2;
        if (!on_edge) continue;
        ++edge;
        const QColor a = before.pixelColor(x, y), b = after.pixelColor(x, y);
        if (ContrastRatio(a, b) >= 3.0) ++changed;
      }
    }
    EXPECT_GE(changed, edge * 4 / 10) << changed << " of " << edge;
  }
  f.hide();
}

// A dark desktop palette: every text on the fixed silver stays legible, and
// the indicators keep the design's white with a black mark.
TEST_F(AccessibilityTest, DarkDesktopKeepsTextsLegible) {
  const QPalette light = QApplication::palette();
  QPalette dark = light;
  dark.setColor(QPalette::Window, QColor(53, 53, 53));
  dark.setColor(QPalette::WindowText, QColor(238, 238, 236));
  dark.setColor(QPalette::Base, QColor(45, 45, 45));
  dark.setColor(QPalette::Text, QColor(238, 238, 236));
  dark.setColor(QPalette::Button, QColor(60, 60, 60));
  dark.setColor(QPalette::ButtonText, QColor(238, 238, 236));
  TForm2& f = Started();
  QApplication::setPalette(dark);
  const auto reset = qScopeGuard([&] { QApplication::setPalette(light); });

  for (QWidget* w : std::initializer_list<QWidget*>{f.IniHead, f.IniHeadItems[0], f.IniHeadItems[2]}) {
    EXPECT_GE(ContrastRatio(w->palette().color(QPalette::WindowText), QColor(192, 192, 192)), 4.5);
  }
  EXPECT_EQ(f.IniHeadItems[0]->palette().color(QPalette::Base), QColor(Qt::white));
  EXPECT_EQ(f.IniHeadItems[0]->palette().color(QPalette::Text), QColor(Qt::black));
  const QPalette button = f.RecalcButton->palette();
  EXPECT_GE(ContrastRatio(button.color(QPalette::ButtonText), button.color(QPalette::Button)), 4.5);

  // Back on a light desktop, the desktop's own colours return.
  QApplication::setPalette(light);
  EXPECT_EQ(f.IniHead->palette().color(QPalette::WindowText), light.color(QPalette::WindowText));
}

}  // namespace
}  // namespace soakmark::app
