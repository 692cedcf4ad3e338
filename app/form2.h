// The main window: the inputs, the soil water choice and the result line
// above, the two wetting-pattern charts below.
#pragma once

#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

#include "app/appearance.h"
#include "app/design.h"
#include "app/labeled_edit.h"
#include "app/regional.h"
#include "calc/wetting_front.h"
#include "display/chart_widget.h"

namespace soakmark::app {

// A group of radio items filled with its own colour throughout, the strip
// above its frame line included.
class RadioGroup : public QGroupBox {
 public:
  using QGroupBox::QGroupBox;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A panel of the window: a raised frame filled with its colour, met by a
// screen reader as a named grouping.
class Panel : public QFrame {
  Q_OBJECT

 public:
  Panel(const QString& name, const QColor& colour, QWidget* parent);
};

class TForm2 : public QWidget {
  Q_OBJECT

 public:
  // Builds the window from its design. Nothing of the calculations runs yet:
  // Start() runs FormCreate and shows the window.
  explicit TForm2(const QString& application_title, QWidget* parent = nullptr);

  // Start-up: FormCreate (a failure is reported before the window appears),
  // then the window is shown centred on the screen.
  void Start();

  // The controls, as in the design.
  Panel* Panel1 = nullptr;
  Panel* Panel2 = nullptr;
  display::ChartWidget* Chart1 = nullptr;
  display::ChartShape* Series1 = nullptr;
  LabeledEdit* AppRate = nullptr;
  LabeledEdit* Duration = nullptr;
  QLabel* AppAmount = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  FocusRingButton* RecalcButton = nullptr;
  display::ChartWidget* Chart2 = nullptr;
  display::ChartShape* Series3 = nullptr;
  LabeledEdit* btwL = nullptr;
  LabeledEdit* onL = nullptr;
  QLabel* appAmt = nullptr;
  QLabel* Label1 = nullptr;
  QGroupBox* IniHead = nullptr;
  QLabel* mlha = nullptr;
  QLabel* Label2 = nullptr;
  std::array<QRadioButton*, design::kIniHeadItems.size()> IniHeadItems{};

  // The selected soil water condition: 0 moist, 1 dry, 2 very dry.
  int ItemIndex() const;

  // The event handlers. Each runs its operations and reports a failure.
  void FormCreate(QObject* Sender);
  void RecalcButtonClick(QObject* Sender);
  void IniHeadClick(QObject* Sender);


 protected:
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildPanel1();
  void BuildPanel2();
  void SetTabOrder();
  void ApplyRegionalSettings();
  void ShowSeparatorsInCharts();
  void UpdateRadioFocus();
  // Colours the design leaves to the desktop, kept legible on the design's
  // fixed ones; again whenever the desktop's palette changes.
  void ApplyDesktopColours();
  // Tells a screen reader in words what each chart shows of its front.
  void DescribeCharts();

  // Runs a handler's operations; a failure stops them and is shown in the
  // message box, and the window goes on.
  void Dispatch(const std::function<void()>& operations);

  void CalcAmounts();
  void DrawFronts();

  double EmitterVolume = 0;  // litres per emitter, stored by CalcAmounts
  RegionalNumbers regional_;
  QString application_title_;
  QButtonGroup* ini_head_group_ = nullptr;
  // What DrawFronts last gave each chart (wide, narrow); nothing before the
  // first calculation.
  std::array<std::optional<calc::ShapeBounds>, 2> drawn_fronts_{};

  friend struct TForm2Probe;
};

}  // namespace soakmark::app
