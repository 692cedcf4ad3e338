#include "app/form2.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QPalette>
#include <QScreen>

#include "app/design.h"
#include "app/error_reporting.h"
#include "app/front_description.h"
#include "calc/applied_water.h"
#include "calc/wetting_front.h"

namespace soakmark::app {

namespace {

void Fill(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, colour);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

void SetTextColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  palette.setColor(QPalette::Text, colour);
  palette.setColor(QPalette::ButtonText, colour);
  widget->setPalette(palette);
}

// What a screen reader meets: the window as a frame named by its title, the
// panels as named groupings.
QAccessibleInterface* WindowAccessibility(const QString& class_name, QObject* object) {
  if (!object->isWidgetType()) return nullptr;
  auto* widget = static_cast<QWidget*>(object);
  if (class_name == QLatin1String("soakmark::app::TForm2")) return new QAccessibleWidget(widget, QAccessible::Window);
  if (class_name == QLatin1String("soakmark::app::Panel")) return new QAccessibleWidget(widget, QAccessible::Grouping);
  return nullptr;
}

void InstallWindowAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(WindowAccessibility);
    return true;
  }();
  (void)installed;
}

display::ChartSettings ChartDesign(const char* title, int left_tick_length, double bottom_step) {
  display::ChartSettings s;
  s.title = QString::fromUtf8(title);
  s.background = design::kPanel2Colour;
  QFont arial(QString::fromUtf8(design::kSansSerif));
  arial.setStyleHint(QFont::SansSerif);
  arial.setPixelSize(13);
  arial.setBold(true);
  s.title_font = arial;
  s.axis_title_font = arial;
  s.label_font = QFont(QString::fromUtf8(design::kSansSerif));
  s.label_font.setStyleHint(QFont::SansSerif);
  s.label_font.setPixelSize(11);  // 8 points at 96 dots per inch
  s.title_color = QColor(0, 0, 255);
  s.left = {QStringLiteral("Soil Depth (mm)"), {0, 1000}, 0, true, left_tick_length, 3, 4};
  s.bottom = {QStringLiteral("Radius (mm)"), {-1000, 1000}, bottom_step, false, 4, 3, 4};
  return s;
}

}  // namespace

Panel::Panel(const QString& name, const QColor& colour, QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(1);
  Fill(this, colour);
  setAccessibleName(name);
}

void RadioGroup::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));  // also above the frame line
  painter.end();
  QGroupBox::paintEvent(event);
}

TForm2::TForm2(const QString& application_title, QWidget* parent)
    : QWidget(parent), application_title_(application_title) {
  InstallWindowAccessibility();
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Soakmark"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFixedSize(design::kClientWidth, design::kClientHeight);
  setFont(design::Font(design::FontRole::Window));
  regional_ = ReadRegionalNumbers();
  BuildPanel1();
  BuildPanel2();
  SetTabOrder();
  ApplyDesktopColours();
  DescribeCharts();
}

void TForm2::BuildPanel1() {
  Panel1 = new Panel(QStringLiteral("Inputs and results"), design::kTeal, this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(0, 0, design::kClientWidth, design::kPanel1Height);

  // The soil water choice.
  IniHead = new RadioGroup(QString::fromUtf8(design::kIniHeadCaption), Panel1);
  IniHead->setObjectName(QStringLiteral("IniHead"));
  IniHead->setFont(design::Font(design::FontRole::Group));
  Fill(IniHead, design::kSilver);
  // A flat frame whose top line runs through the caption, on silver throughout.
  IniHead->setStyleSheet(QStringLiteral(
      "QGroupBox#IniHead { background-color: rgb(192, 192, 192); border: 1px solid rgb(128, 128, 128);"
      " margin-top: 7px; }"
      "QGroupBox#IniHead::title { subcontrol-origin: margin; subcontrol-position: top left; left: 7px;"
      " padding: 0px 2px; background-color: rgb(192, 192, 192); }"));
  IniHead->setGeometry(design::kIniHead);
  ini_head_group_ = new QButtonGroup(this);
  ini_head_group_->setExclusive(true);
  const int text_height = QFontMetrics(IniHead->font()).height();
  for (int i = 0; i < static_cast<int>(IniHeadItems.size()); ++i) {
    auto* item = new QRadioButton(QString::fromUtf8(design::kIniHeadItems[i]), IniHead);
    item->setObjectName(QStringLiteral("IniHead_%1").arg(i));
    item->setFont(design::Font(design::FontRole::Group));
    item->setGeometry(design::RadioItemGeometry(IniHead->size(), text_height, i, static_cast<int>(IniHeadItems.size())));
    ini_head_group_->addButton(item, i);
    IniHeadItems[i] = item;
  }
  IniHeadItems[0]->setChecked(true);  // before the handler is attached: the design runs nothing
  UpdateRadioFocus();

  // The inputs.
  std::array<LabeledEdit*, 4> edits{};
  for (std::size_t i = 0; i < design::kEdits.size(); ++i) {
    const design::EditDesign& d = design::kEdits[i];
    auto* edit = new LabeledEdit(Panel1);
    edit->setObjectName(QString::fromUtf8(d.name));
    edit->SetColours({design::kInputBorder, design::kInputBackground, design::kInputText, design::kInputSelection,
                      design::kWhite});
    edit->setGeometry(d.geometry);
    edit->setText(QString::fromUtf8(d.text));
    edit->EditLabel()->setObjectName(QString::fromUtf8(d.name) + QStringLiteral("_EditLabel"));
    edit->EditLabel()->setFont(design::Font(design::FontRole::Caption));
    SetTextColour(edit->EditLabel(), design::kAqua);
    if (d.caption_on_teal) Fill(edit->EditLabel(), design::kTeal);
    edit->SetCaption(QString::fromUtf8(d.caption));
    edits[i] = edit;
  }
  btwL = edits[0];
  onL = edits[1];
  AppRate = edits[2];
  Duration = edits[3];

  RecalcButton = new FocusRingButton(QString::fromUtf8(design::kRecalcCaption), Panel1);
  RecalcButton->setObjectName(QStringLiteral("RecalcButton"));
  RecalcButton->setGeometry(design::kRecalcButton);
  RecalcButton->setAutoDefault(false);
  RecalcButton->setDefault(false);
  RecalcButton->installEventFilter(this);

  // The result line, in drawing order.
  std::array<QLabel*, design::kTexts.size()> texts{};
  for (std::size_t i = 0; i < design::kTexts.size(); ++i) {
    const design::TextDesign& d = design::kTexts[i];
    auto* label = new QLabel(QString::fromUtf8(d.text), Panel1);
    label->setObjectName(QString::fromUtf8(d.name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFont(design::Font(d.font));
    SetTextColour(label, design::TextColour(d.font));
    if (d.opaque) Fill(label, design::kTeal);
    label->setProperty("fitsText", !d.fixed_size);
    if (d.fixed_size) {
      label->setGeometry(d.geometry);
    } else {
      label->move(d.geometry.topLeft());
      FitToText(label);
    }
    texts[i] = label;
  }
  Label3 = texts[0];
  appAmt = texts[1];
  Label4 = texts[2];
  AppAmount = texts[3];
  Label1 = texts[4];
  mlha = texts[5];
  Label2 = texts[6];
  // A result is read as the text it shows; its quantity and unit come after.
  appAmt->setAccessibleDescription(QStringLiteral("Applied depth (mm)"));
  AppAmount->setAccessibleDescription(QStringLiteral("Applied volume (litres/emitter)"));
  mlha->setAccessibleDescription(QStringLiteral("Applied volume (Ml/ha)"));

  connect(RecalcButton, &QPushButton::clicked, this, [this] { RecalcButtonClick(RecalcButton); });
  connect(ini_head_group_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
    if (!checked) return;
    UpdateRadioFocus();
    IniHeadClick(IniHead);
  });
}

void TForm2::BuildPanel2() {
  Panel2 = new Panel(QStringLiteral("Wetting patterns"), design::kPanel2Colour, this);
  Panel2->setObjectName(QStringLiteral("Panel2"));
  Panel2->setGeometry(0, design::kPanel1Height, design::kClientWidth, design::kClientHeight - design::kPanel1Height);

  Chart1 = new display::ChartWidget(ChartDesign("Wide Pattern", 6, 250), Panel2);
  Chart1->setObjectName(QStringLiteral("Chart1"));
  Chart1->setGeometry(design::kChart1);
  Chart2 = new display::ChartWidget(ChartDesign("Narrow Pattern", 4, 0), Panel2);
  Chart2->setObjectName(QStringLiteral("Chart2"));
  Chart2->setGeometry(design::kChart2);
  ShowSeparatorsInCharts();
  Series1 = &Chart1->Shape();
  Series3 = &Chart2->Shape();
  // The shapes as they stand until the first calculation has drawn the fronts.
  Series1->SetX0(30);
  Series1->SetX1(70);
  Series1->SetY0(-150);
  Series1->SetY1(300);
  Series3->SetX0(0);
  Series3->SetX1(100);
  Series3->SetY0(0);
  Series3->SetY1(100);
  for (display::ChartWidget* chart : {Chart1, Chart2}) {
    connect(chart, &display::ChartWidget::ViewChanged, this, &TForm2::DescribeCharts);
  }
}

void TForm2::SetTabOrder() {
  QWidget::setTabOrder(AppRate, Duration);
  QWidget::setTabOrder(Duration, RecalcButton);
  QWidget::setTabOrder(RecalcButton, btwL);
  QWidget::setTabOrder(btwL, onL);
  QWidget::setTabOrder(onL, IniHeadItems[0]);
  QWidget::setTabOrder(IniHeadItems[0], IniHeadItems[1]);
  QWidget::setTabOrder(IniHeadItems[1], IniHeadItems[2]);
  QWidget::setTabOrder(IniHeadItems[2], AppRate);
  AppRate->setFocus(Qt::OtherFocusReason);
}

// Only the selected item of the group is a stop of the Tab key; the arrow
// keys move within the group.
void TForm2::UpdateRadioFocus() {
  for (QRadioButton* item : IniHeadItems) {
    item->setFocusPolicy(item->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
  }
}

int TForm2::ItemIndex() const { return ini_head_group_->checkedId(); }

void TForm2::Start() {
  FormCreate(this);
  const QRect screen = (this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen())->geometry();
  move(screen.x() + (screen.width() - width()) / 2, screen.y() + (screen.height() - height()) / 2);
  show();
  activateWindow();
  AppRate->setFocus(Qt::OtherFocusReason);
  AppRate->selectAll();  // the window may get its focus only when it is activated
}

void TForm2::FormCreate(QObject*) {
  Dispatch([this] {
    CalcAmounts();
    DrawFronts();
  });
}

void TForm2::RecalcButtonClick(QObject*) {
  Dispatch([this] {
    CalcAmounts();
    DrawFronts();
  });
}

void TForm2::IniHeadClick(QObject*) {
  Dispatch([this] { DrawFronts(); });
}

void TForm2::Dispatch(const std::function<void()>& operations) {
  try {
    operations();
  } catch (const calc::CalcError& error) {
    ReportError(isVisible() ? this : nullptr, application_title_, QString::fromStdString(error.message()));
  } catch (const std::exception& error) {
    ReportError(isVisible() ? this : nullptr, application_title_, QString::fromUtf8(error.what()));
  }
}

void TForm2::CalcAmounts() {
  const std::string rate = AppRate->text().toStdString();
  const std::string duration = Duration->text().toStdString();
  const std::string emitter_spacing = onL->text().toStdString();
  const std::string lateral_spacing = btwL->text().toStdString();
  const calc::Amounts amounts =
      calc::ComputeAmounts({rate, duration, emitter_spacing, lateral_spacing}, regional_.decimal);
  if (amounts.AppAmount) AppAmount->setText(QString::fromStdString(*amounts.AppAmount));
  if (amounts.EmitterVolume) EmitterVolume = *amounts.EmitterVolume;
  if (amounts.appAmt) appAmt->setText(QString::fromStdString(*amounts.appAmt));
  if (amounts.mlha) {
    mlha->setText(QString::fromStdString(*amounts.mlha));
    FitToText(mlha);
  }
  if (amounts.failure) throw *amounts.failure;
}

void TForm2::DrawFronts() {
  const calc::WettingFronts fronts = calc::CalcFronts(EmitterVolume, static_cast<calc::SoilCondition>(ItemIndex()));
  const calc::ShapeBounds wide = calc::FrontBounds(fronts[0]);
  const calc::ShapeBounds narrow = calc::FrontBounds(fronts[1]);
  Series1->SetX0(wide.X0);
  Series1->SetX1(wide.X1);
  Series1->SetY0(wide.Y0);
  Series1->SetY1(wide.Y1);
  Series3->SetX0(narrow.X0);
  Series3->SetX1(narrow.X1);
  Series3->SetY0(narrow.Y0);
  Series3->SetY1(narrow.Y1);
  drawn_fronts_ = {wide, narrow};
  DescribeCharts();
}

void TForm2::DescribeCharts() {
  const std::array<display::ChartWidget*, 2> charts{Chart1, Chart2};
  for (std::size_t i = 0; i < charts.size(); ++i) {
    const display::ChartView& view = charts[i]->View();
    const QString text =
        DescribeFront(drawn_fronts_[i], {view.Horizontal(), view.Vertical(), view.Zoomed()}, regional_.group);
    if (charts[i]->accessibleDescription() != text) charts[i]->setAccessibleDescription(text);
  }
}

void TForm2::ApplyDesktopColours() {
  const QPalette desktop = QApplication::palette();
  // The soil water choice stands on the design's silver: its texts take the
  // desktop's window text only where that reads on silver, and then the
  // indicators keep the desktop's colours too; otherwise black text on
  // silver and white indicators with a black mark, as designed.
  const QColor group_text = LegibleOn(desktop.color(QPalette::WindowText), design::kSilver, design::kBlack);
  const bool desktop_reads = group_text == desktop.color(QPalette::WindowText);
  const auto colour_group = [&](QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, group_text);
    palette.setColor(QPalette::Base, desktop_reads ? desktop.color(QPalette::Base) : design::kWhite);
    palette.setColor(QPalette::Text, desktop_reads ? desktop.color(QPalette::Text) : design::kBlack);
    palette.setColor(QPalette::Window, design::kSilver);
    palette.setColor(QPalette::Button, desktop_reads ? desktop.color(QPalette::Button) : design::kButtonFace);
    widget->setPalette(palette);
  };
  colour_group(IniHead);
  for (QRadioButton* item : IniHeadItems) colour_group(item);

  // The button: the desktop's face and text where they read together.
  QPalette button = RecalcButton->palette();
  const bool button_reads =
      ContrastRatio(desktop.color(QPalette::ButtonText), desktop.color(QPalette::Button)) >= 4.5;
  button.setColor(QPalette::Button, button_reads ? desktop.color(QPalette::Button) : design::kButtonFace);
  button.setColor(QPalette::ButtonText, button_reads ? desktop.color(QPalette::ButtonText) : design::kBlack);
  RecalcButton->setPalette(button);
}

void TForm2::ApplyRegionalSettings() {
  regional_ = ReadRegionalNumbers();
  if (Chart1 != nullptr) {  // not while the window is being built
    ShowSeparatorsInCharts();
    DescribeCharts();
  }
}

void TForm2::ShowSeparatorsInCharts() {
  const QString decimal = QString::fromStdString(std::string(regional_.decimal.text()));
  for (display::ChartWidget* chart : {Chart1, Chart2}) chart->SetSeparators(regional_.group, decimal);
}

void TForm2::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LocaleChange) ApplyRegionalSettings();
  if (event->type() == QEvent::ApplicationPaletteChange) ApplyDesktopColours();
  QWidget::changeEvent(event);
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
  // Enter on the focused button presses it, as Space does.
  if (watched == RecalcButton && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      RecalcButton->click();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace soakmark::app
