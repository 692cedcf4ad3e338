// A baseline for the start-up benchmark: the same kinds of widgets as
// Soakmark's window, in the same places and colours, and no logic: two
// panels, four edits with captions, a radio group of three, a button, seven
// labels and two areas that each paint one ellipse.
#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>

namespace {

class EllipseArea : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), QColor(240, 202, 166));
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0, 0, 128));
    p.drawEllipse(QRect(80, -100, 70, 200));
  }
};

QFrame* Panel(QWidget* parent, QRect geometry, QColor colour) {
  auto* panel = new QFrame(parent);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setGeometry(geometry);
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, colour);
  panel->setPalette(palette);
  panel->setAutoFillBackground(true);
  return panel;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QWidget window;
  window.setWindowTitle(QStringLiteral("Baseline"));
  window.setFixedSize(862, 606);
  QFrame* top = Panel(&window, {0, 0, 862, 161}, QColor(0, 128, 128));
  QFrame* bottom = Panel(&window, {0, 161, 862, 445}, QColor(240, 202, 166));
  auto* group = new QGroupBox(QStringLiteral("Group"), top);
  group->setGeometry(8, 8, 193, 129);
  for (int i = 0; i < 3; ++i) new QRadioButton(QStringLiteral("item"), group);
  const QPoint edits[] = {{208, 24}, {208, 72}, {464, 24}, {464, 72}};
  for (QPoint at : edits) {
    auto* edit = new QLineEdit(QStringLiteral("1"), top);
    edit->setGeometry(QRect(at, QSize(161, 19)));
    auto* caption = new QLabel(QStringLiteral("Caption of the field"), top);
    caption->move(at.x(), at.y() - 19);
  }
  (new QPushButton(QStringLiteral("Button"), top))->setGeometry(688, 24, 161, 25);
  for (int i = 0; i < 7; ++i) (new QLabel(QStringLiteral("text"), top))->move(232 + i * 60, 120);
  (new EllipseArea(bottom))->setGeometry(64, 36, 265, 337);
  (new EllipseArea(bottom))->setGeometry(432, 36, 265, 337);
  window.show();
  return QApplication::exec();
}
