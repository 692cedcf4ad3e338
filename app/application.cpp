#include "app/application.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QStyleFactory>

// The resources are compiled into a static library: register them by hand.
static void InitResources() { Q_INIT_RESOURCE(soakmark); }

namespace soakmark::app {

void ConfigureApplication(QApplication& application) {
  // One look on every desktop, whatever theme the machine has.
  application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  // The design's fonts are not on free desktops: Liberation Sans has Arial's
  // metrics and stands in for the small sans serif of the inputs too.
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
  InitResources();
  application.setWindowIcon(QIcon(QStringLiteral(":/soakmark/soakmark.xpm")));
}

}  // namespace soakmark::app
