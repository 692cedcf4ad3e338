// Soakmark: how much water a drip irrigation applies, and how far it spreads.
#include <QApplication>

#include "app/application.h"
#include "app/error_reporting.h"
#include "app/form2.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const QString title = soakmark::app::ApplicationTitle(QCoreApplication::applicationFilePath());
  QCoreApplication::setApplicationName(title);
  QGuiApplication::setDesktopFileName(QStringLiteral("org.soakmark.Soakmark"));
  soakmark::app::ConfigureApplication(application);

  soakmark::app::TForm2 Form2(title);
  Form2.Start();
  return QApplication::exec();
}
