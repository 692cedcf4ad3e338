// The main window on Qt's offscreen platform: its design, its events and how
// it reports failures.
#include "app/form2.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <functional>
#include <optional>

#include "app/application.h"
#include "app/design.h"
#include "app/error_reporting.h"
#include "app/tests/environment_variable.h"

namespace soakmark::app {

struct TForm2Probe {
  static double EmitterVolume(const TForm2& form) { return form.EmitterVolume; }
};

namespace {

struct Bounds {
  double X0, X1, Y0, Y1;
  friend bool operator==(const Bounds&, const Bounds&) = default;
};
Bounds Of(const display::ChartShape* s) { return {s->X0(), s->X1(), s->Y0(), s->Y1()}; }
void PrintTo(const Bounds& b, std::ostream* os) { *os << b.X0 << " " << b.X1 << " " << b.Y0 << " " << b.Y1; }

// What a message box showed.
struct Box {
  QString title, text, detailed;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  Qt::TextFormat format = Qt::AutoText;
  Qt::WindowModality modality = Qt::NonModal;
};

// Runs `action`, waits for the modal message box it opens, records it and
// presses its OK button. Gives nothing when no box opened.
std::optional<Box> BoxOf(const std::function<void()>& action) {
  std::optional<Box> seen;
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    seen = Box{box->windowTitle(), box->text(), box->detailedText(), box->icon(), box->standardButtons(),
               box->textFormat(), box->windowModality()};
    box->button(QMessageBox::Ok)->click();
  });
  poll.start();
  action();
  poll.stop();
  return seen;
}

class Form2Test : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ConfigureApplication(*qApp); }

  Form2Test() : lc_all_("LC_ALL", "C") {}

  // A window as the program starts it, with the start-up calculation done.
  TForm2& Started() {
    form_.emplace(QStringLiteral("Soakmark"));
    form_->FormCreate(&*form_);
    return *form_;
  }

  // Types into a field as a user does.
  static void TypeInto(TextField* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  static void Recalculate(TForm2& f) { f.RecalcButton->click(); }

  EnvironmentVariable lc_all_;
  std::optional<TForm2> form_;
};

TEST_F(Form2Test, WindowFrame) {
  TForm2& f = Started();
  EXPECT_EQ(f.windowTitle(), "Soakmark");
  EXPECT_EQ(f.size(), QSize(862, 606));
  EXPECT_EQ(f.minimumSize(), f.maximumSize());
  const Qt::WindowFlags flags = f.windowFlags();
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
}

// Every control's place and size, as designed.
TEST_F(Form2Test, ControlsStandWhereDesigned) {
  TForm2& f = Started();
  const struct {
    QWidget* control;
    QRect geometry;
  } rows[] = {
      {f.Panel1, {0, 0, 862, 161}},       {f.Panel2, {0, 161, 862, 445}},    {f.Chart1, {64, 36, 265, 337}},
      {f.Chart2, {432, 36, 265, 337}},    {f.IniHead, {8, 8, 193, 129}},     {f.btwL, {208, 24, 161, 19}},
      {f.onL, {208, 72, 161, 19}},        {f.AppRate, {464, 24, 161, 19}},   {f.Duration, {464, 72, 161, 19}},
      {f.RecalcButton, {688, 24, 161, 25}}, {f.Label3, {232, 120, 129, 17}}, {f.appAmt, {368, 120, 17, 17}},
      {f.AppAmount, {448, 120, 25, 17}},  {f.Label1, {472, 120, 113, 17}},  {f.Label2, {632, 120, 41, 13}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.control->objectName().toStdString());
    EXPECT_EQ(row.control->geometry(), row.geometry);
  }
  // Texts without a fixed size start where designed and take their text's size.
  for (QLabel* label : {f.Label4, f.mlha}) {
    SCOPED_TRACE(label->objectName().toStdString());
    const QFontMetrics metrics(label->font());
    EXPECT_EQ(label->geometry(), QRect(label->x(), 120, metrics.horizontalAdvance(label->text()), metrics.height()));
  }
  EXPECT_EQ(f.Label4->x(), 392);
  EXPECT_EQ(f.mlha->x(), 592);
  // Captions stand 3 pixels above their fields, on the fields' left edges.
  for (LabeledEdit* edit : {f.btwL, f.onL, f.AppRate, f.Duration}) {
    SCOPED_TRACE(edit->objectName().toStdString());
    const QLabel* caption = edit->EditLabel();
    EXPECT_EQ(caption->x(), edit->x());
    EXPECT_EQ(caption->geometry().bottom() + 1 + 3, edit->y());
    EXPECT_EQ(caption->width(), QFontMetrics(caption->font()).horizontalAdvance(caption->text()));
  }
  // The radio items by the group's rule.
  const int h = QFontMetrics(f.IniHead->font()).height();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(f.IniHeadItems[i]->geometry(), design::RadioItemGeometry({193, 129}, h, i, 3));
}

TEST_F(Form2Test, TextsFontsAndColours) {
  TForm2& f = Started();
  const QColor teal(0, 128, 128), aqua(0, 255, 255), white(255, 255, 255);
  const struct {
    QWidget* control;
    QString text;
    int pixel_size;
    bool bold;
    std::optional<QColor> foreground;
    std::optional<QColor> background;  // filled with
  } rows[] = {
      {f.btwL->EditLabel(), "Distance between Laterals (m)", 13, true, aqua, {}},
      {f.onL->EditLabel(), "Emitter Spacing along Laterals (m)", 13, true, aqua, teal},
      {f.AppRate->EditLabel(), "Emitter Application Rate (l/h)", 13, true, aqua, {}},
      {f.Duration->EditLabel(), "Specify duration of irrigation (h)", 13, true, aqua, {}},
      {f.btwL, "1.5", 11, false, {}, {}},
      {f.onL, "0.5", 11, false, {}, {}},
      {f.AppRate, "2", 11, false, {}, {}},
      {f.Duration, "5", 11, false, {}, {}},
      {f.RecalcButton, "Recalculate", 11, false, {}, {}},
      {f.Label3, "You have applied:", 13, true, aqua, {}},
      {f.appAmt, "13", 13, true, white, teal},
      {f.Label4, "mm  or", 13, true, aqua, {}},
      {f.AppAmount, "10", 13, true, white, teal},
      {f.Label1, "litres/emitter  or", 13, true, aqua, {}},
      {f.mlha, "0.13", 13, true, white, teal},
      {f.Label2, "Ml/ha", 13, true, aqua, {}},
      {f.IniHead, "Initial soil water conditions", 13, true, {}, QColor(192, 192, 192)},
      {f.IniHeadItems[0], "moist", 13, true, {}, {}},
      {f.IniHeadItems[1], "dry", 13, true, {}, {}},
      {f.IniHeadItems[2], "very dry", 13, true, {}, {}},
      {f.Panel1, "", 11, false, {}, teal},
      {f.Panel2, "", 11, false, {}, QColor(240, 202, 166)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.control->objectName().toStdString());
    QString text;
    if (auto* label = qobject_cast<QLabel*>(row.control)) text = label->text();
    if (auto* edit = qobject_cast<TextField*>(row.control)) text = edit->text();
    if (auto* button = qobject_cast<QAbstractButton*>(row.control)) text = button->text();
    if (auto* group = qobject_cast<QGroupBox*>(row.control)) text = group->title();
    EXPECT_EQ(text, row.text);
    EXPECT_EQ(row.control->font().pixelSize(), row.pixel_size);
    EXPECT_EQ(row.control->font().bold(), row.bold);
    if (row.foreground) {
      EXPECT_EQ(row.control->palette().color(QPalette::WindowText), *row.foreground);
    }
    if (row.background) {
      EXPECT_TRUE(row.control->autoFillBackground());
      EXPECT_EQ(row.control->palette().color(QPalette::Window), *row.background);
    }
  }
  EXPECT_TRUE(f.IniHeadItems[0]->isChecked());
  EXPECT_EQ(f.ItemIndex(), 0);
}

TEST_F(Form2Test, DesignPlaceholdersBeforeTheFirstCalculation) {
  TForm2 f(QStringLiteral("Soakmark"));
  EXPECT_EQ(f.appAmt->text(), "appAmt");
  EXPECT_EQ(f.AppAmount->text(), "AppAmount");
  EXPECT_EQ(f.mlha->text(), "mlha");
  EXPECT_EQ(TForm2Probe::EmitterVolume(f), 0);
  EXPECT_EQ(Of(f.Series1), (Bounds{30, 70, -150, 300}));
  EXPECT_EQ(Of(f.Series3), (Bounds{0, 100, 0, 100}));
}

TEST_F(Form2Test, StartUpCalculatesAndDrawsTheFronts) {
  TForm2& f = Started();
  EXPECT_EQ(f.appAmt->text(), "13");
  EXPECT_EQ(f.AppAmount->text(), "10");
  EXPECT_EQ(f.mlha->text(), "0.13");
  EXPECT_EQ(TForm2Probe::EmitterVolume(f), 10);
  const Bounds wide = Of(f.Series1);
  EXPECT_NEAR(wide.X1, 371.101, 5e-4);
  EXPECT_EQ(wide.X0, -wide.X1);
  EXPECT_NEAR(wide.Y1, 422.931, 5e-4);
  EXPECT_EQ(wide.Y0, -wide.Y1);
  EXPECT_NEAR(f.Series3->X1(), 210.587, 5e-4);
  EXPECT_NEAR(f.Series3->Y1(), 747.140, 5e-4);
}

TEST_F(Form2Test, FocusOrder) {
  TForm2& f = Started();
  f.show();
  QApplication::setActiveWindow(&f);
  f.AppRate->setFocus(Qt::TabFocusReason);
  const std::vector<QWidget*> forward = {f.Duration, f.RecalcButton, f.btwL, f.onL, f.IniHeadItems[0], f.AppRate};
  for (QWidget* expected : forward) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), expected) << expected->objectName().toStdString();
  }
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
  EXPECT_EQ(QApplication::focusWidget(), f.IniHeadItems[0]);
  // Tab reaches the selected item of the group, whichever it is.
  f.IniHeadItems[2]->click();
  f.onL->setFocus(Qt::TabFocusReason);
  QTest::keyClick(f.onL, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), f.IniHeadItems[2]);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), f.AppRate);
  // A field reached by Tab has its whole text selected; one clicked into does not.
  EXPECT_EQ(f.AppRate->selectedText(), "2");
  QTest::mouseClick(f.Duration, Qt::LeftButton);
  EXPECT_EQ(QApplication::focusWidget(), f.Duration);
  EXPECT_TRUE(f.Duration->selectedText().isEmpty());
  EXPECT_EQ(f.Chart1->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(f.Chart2->focusPolicy(), Qt::NoFocus);
}

TEST_F(Form2Test, RecalculateWithMouseSpaceAndEnterButNotEnterInAField) {
  TForm2& f = Started();
  f.show();
  QApplication::setActiveWindow(&f);
  TypeInto(f.AppRate, "4");
  QTest::keyClick(f.AppRate, Qt::Key_Return);  // no default button: nothing happens
  EXPECT_EQ(f.AppAmount->text(), "10");
  QTest::mouseClick(f.RecalcButton, Qt::LeftButton);
  EXPECT_EQ(f.AppAmount->text(), "20");
  TypeInto(f.AppRate, "3");
  f.RecalcButton->setFocus();
  QTest::keyClick(f.RecalcButton, Qt::Key_Space);
  EXPECT_EQ(f.AppAmount->text(), "15");
  TypeInto(f.AppRate, "1");
  f.RecalcButton->setFocus();
  QTest::keyClick(f.RecalcButton, Qt::Key_Return);
  EXPECT_EQ(f.AppAmount->text(), "5");
  QTest::keyClick(f.RecalcButton, Qt::Key_Enter);
  EXPECT_EQ(f.AppAmount->text(), "5");
  EXPECT_EQ(TForm2Probe::EmitterVolume(f), 5);
  EXPECT_FALSE(f.RecalcButton->isDefault());
}

TEST_F(Form2Test, ChangingTheConditionRedrawsAtTheStoredVolume) {
  TForm2& f = Started();
  TypeInto(f.AppRate, "20");  // edited, not recalculated
  f.IniHeadItems[1]->click();  // dry
  EXPECT_EQ(f.ItemIndex(), 1);
  EXPECT_NEAR(f.Series1->X1(), 328.319, 5e-4);  // still ten litres
  EXPECT_NEAR(f.Series1->Y1(), 374.344, 5e-4);
  EXPECT_NEAR(f.Series3->X1(), 223.289, 5e-4);
  EXPECT_NEAR(f.Series3->Y1(), 682.473, 5e-4);
  EXPECT_EQ(f.AppAmount->text(), "10");

  // Choosing the selected item again runs nothing.
  f.Series1->SetX1(1);
  f.IniHeadItems[1]->click();
  EXPECT_EQ(f.Series1->X1(), 1);

  // Arrow keys move the selection, and the fronts follow.
  f.show();
  QApplication::setActiveWindow(&f);
  f.IniHeadItems[1]->setFocus();
  QTest::keyClick(f.IniHeadItems[1], Qt::Key_Down);
  EXPECT_EQ(f.ItemIndex(), 2);
  EXPECT_NEAR(f.Series1->X1(), 305.199, 5e-4);
  // As does a choice made by assistive technology, which toggles the item.
  f.IniHeadItems[0]->setChecked(true);
  EXPECT_NEAR(f.Series1->X1(), 371.101, 5e-4);
}

TEST_F(Form2Test, FailuresAreReportedAndLeaveTheirPartialWrites) {
  const struct {
    const char* name;
    const char *rate, *duration, *on, *between;
    const char* message;
    const char *app_amount, *app_amt, *mlha;
    double volume;
  } cases[] = {
      {"not a number", "abc", "5", "0.5", "1.5", "'abc' is not a valid floating point value.", "10", "13", "0.13", 10},
      {"overflow", "1e200", "1e200", "0.5", "1.5", "Floating point overflow.", "10", "13", "0.13", 10},
      {"zero spacing", "4", "5", "0", "1.5", "Floating point division by zero.", "20", "13", "0.13", 20},
      {"zero spacing and volume", "0", "5", "0", "1.5", "Invalid floating point operation.", "0", "13", "0.13", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TForm2& f = Started();
    const Bounds wide = Of(f.Series1);
    TypeInto(f.AppRate, c.rate);
    TypeInto(f.Duration, c.duration);
    TypeInto(f.onL, c.on);
    TypeInto(f.btwL, c.between);
    const std::optional<Box> box = BoxOf([&] { Recalculate(f); });
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, c.message);
    EXPECT_EQ(box->title, "Soakmark");
    EXPECT_EQ(box->icon, QMessageBox::Critical);
    EXPECT_EQ(box->buttons, QMessageBox::Ok);
    EXPECT_EQ(box->format, Qt::PlainText);
    EXPECT_EQ(box->modality, Qt::ApplicationModal);
    EXPECT_EQ(f.AppAmount->text(), c.app_amount);
    EXPECT_EQ(f.appAmt->text(), c.app_amt);
    EXPECT_EQ(f.mlha->text(), c.mlha);
    EXPECT_EQ(TForm2Probe::EmitterVolume(f), c.volume);
    EXPECT_EQ(Of(f.Series1), wide);  // the fronts only follow a completed calculation
    EXPECT_TRUE(f.RecalcButton->isEnabled());
  }
}

TEST_F(Form2Test, NegativeVolumeFailsAtEveryConditionChangeUntilRecalculated) {
  TForm2& f = Started();
  TypeInto(f.AppRate, "-2");
  TypeInto(f.onL, "0");
  std::optional<Box> box = BoxOf([&] { Recalculate(f); });
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, "Floating point division by zero.");
  EXPECT_EQ(TForm2Probe::EmitterVolume(f), -10);
  const Bounds wide = Of(f.Series1);
  box = BoxOf([&] { f.IniHeadItems[1]->click(); });
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, "Invalid floating point operation.");
  EXPECT_EQ(Of(f.Series1), wide);
  EXPECT_EQ(f.ItemIndex(), 1);
  TypeInto(f.AppRate, "2");
  TypeInto(f.onL, "0.5");
  EXPECT_FALSE(BoxOf([&] { Recalculate(f); }));
  EXPECT_NEAR(f.Series1->X1(), 328.319, 5e-4);
}

TEST_F(Form2Test, ZeroVolumeDrawsNoFigure) {
  TForm2& f = Started();
  TypeInto(f.AppRate, "0");
  Recalculate(f);
  EXPECT_EQ(Of(f.Series1), (Bounds{0, 0, 0, 0}));
  EXPECT_EQ(Of(f.Series3), (Bounds{0, 0, 0, 0}));
}

TEST_F(Form2Test, LongAndMarkupTextsAreShownSafely) {
  TForm2& f = Started();
  const QString huge(1'000'000, QLatin1Char('9'));
  TypeInto(f.AppRate, "x");
  f.AppRate->setText(huge + QStringLiteral("x"));  // pasted
  std::optional<Box> box = BoxOf([&] { Recalculate(f); });
  ASSERT_TRUE(box);
  EXPECT_LT(box->text.size(), 1000);
  // The details hold the whole message; one this long is broken into lines,
  // so that showing it lays out lines, not a megabyte on one line.
  EXPECT_EQ(QString(box->detailed).remove(QLatin1Char('\n')),
            QStringLiteral("'") + huge + QStringLiteral("x' is not a valid floating point value."));
  EXPECT_EQ(box->detailed.indexOf(QLatin1Char('\n')), kLongestShownLine);  // after the first 80 characters
  EXPECT_EQ(f.AppRate->text().size(), huge.size() + 1);  // the field keeps what was pasted

  f.AppRate->setText(QStringLiteral("<b>bold</b>"));
  box = BoxOf([&] { Recalculate(f); });
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, "'<b>bold</b>' is not a valid floating point value.");
  EXPECT_EQ(box->format, Qt::PlainText);
  EXPECT_TRUE(box->detailed.isEmpty());

  // A long run without spaces is broken into lines the box can wrap; the
  // details keep the message as it is.
  const QString run(120, QLatin1Char('7'));
  f.AppRate->setText(run + QStringLiteral("x"));
  box = BoxOf([&] { Recalculate(f); });
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, QStringLiteral("'") + run.left(79) + QStringLiteral("\n") + run.mid(79) +
                           QStringLiteral("x' is not a valid floating point value."));
  EXPECT_EQ(box->detailed, QStringLiteral("'") + run + QStringLiteral("x' is not a valid floating point value."));
}

TEST_F(Form2Test, StartUpPutsTheFocusInTheRateWithItsTextSelected) {
  form_.emplace(QStringLiteral("Soakmark"));
  form_->Start();
  QApplication::setActiveWindow(&*form_);
  EXPECT_EQ(QApplication::focusWidget(), form_->AppRate);
  EXPECT_EQ(form_->AppRate->selectedText(), "2");
  EXPECT_EQ(form_->AppAmount->text(), "10");
}

TEST_F(Form2Test, StartUpUnderACommaLocale) {
  EnvironmentVariable comma("LC_ALL", "de_DE.UTF-8");
  form_.emplace(QStringLiteral("Soakmark"));
  TForm2& f = *form_;
  const std::optional<Box> box = BoxOf([&] { f.Start(); });
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, "'0.5' is not a valid floating point value.");
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(f.appAmt->text(), "appAmt");
  EXPECT_EQ(f.AppAmount->text(), "AppAmount");
  EXPECT_EQ(f.mlha->text(), "mlha");
  EXPECT_EQ(Of(f.Series1), (Bounds{30, 70, -150, 300}));
  EXPECT_EQ(Of(f.Series3), (Bounds{0, 100, 0, 100}));
  TypeInto(f.onL, "0,5");
  TypeInto(f.btwL, "1,5");
  EXPECT_FALSE(BoxOf([&] { Recalculate(f); }));
  EXPECT_EQ(f.appAmt->text(), "13");
  EXPECT_EQ(f.AppAmount->text(), "10");
  EXPECT_EQ(f.mlha->text(), "0,13");
  EXPECT_NEAR(f.Series1->X1(), 371.101, 5e-4);
}

TEST_F(Form2Test, SeparatorIsReadAgainWhenTheLocaleChanges) {
  TForm2& f = Started();
  TypeInto(f.onL, "0,5");
  ASSERT_TRUE(BoxOf([&] { Recalculate(f); }));
  EnvironmentVariable comma("LC_ALL", "de_DE.UTF-8");
  EXPECT_TRUE(BoxOf([&] { Recalculate(f); })) << "before the notice the old separator holds";
  QEvent notice(QEvent::LocaleChange);
  QApplication::sendEvent(&f, &notice);
  EXPECT_EQ(f.mlha->text(), "0.13");  // texts already shown are not rewritten
  TypeInto(f.btwL, "1,5");
  EXPECT_FALSE(BoxOf([&] { Recalculate(f); }));
  EXPECT_EQ(f.mlha->text(), "0,13");
}

TEST_F(Form2Test, ZoomIsKeptAcrossRecalculate) {
  TForm2& f = Started();
  auto send = [&](QEvent::Type type, Qt::MouseButtons buttons, QPoint pos) {
    QMouseEvent e(type, QPointF(pos), f.Chart1->mapToGlobal(QPointF(pos)), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(f.Chart1, &e);
  };
  const display::PlotArea area = f.Chart1->Plot();
  const QPoint from(area.left + 50, area.top + 10), to(area.left + 150, area.top + 110);
  send(QEvent::MouseButtonPress, Qt::LeftButton, from);
  send(QEvent::MouseMove, Qt::LeftButton, to);
  send(QEvent::MouseButtonRelease, Qt::NoButton, to);
  ASSERT_TRUE(f.Chart1->View().Zoomed());
  const display::AxisRange zoomed = f.Chart1->View().Horizontal();
  TypeInto(f.AppRate, "4");
  Recalculate(f);
  EXPECT_EQ(f.Chart1->View().Horizontal(), zoomed);
  EXPECT_FALSE(f.Chart2->View().Zoomed());
  EXPECT_NEAR(f.Series1->X1(), 10 * 17.947 * std::pow(20.0, 0.3155), 1e-3);
}

TEST_F(Form2Test, AssistiveTechnologyFindsFieldsByTheirCaptions) {
  TForm2& f = Started();
  EXPECT_EQ(f.AppRate->accessibleName(), "Emitter Application Rate (l/h)");
  EXPECT_EQ(f.btwL->EditLabel()->buddy(), f.btwL);
}

}  // namespace
}  // namespace soakmark::app
