#include "app/application.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QStyleFactory>

// The design's 32 × 32 icon in 16 colours. Built into the program as XPM
// source, it is read without the image-format plugins, whose discovery
// would cost more than the rest of the icon's loading.
#include "app/resources/soakmark.xpm"

namespace soakmark::app {

void ConfigureApplication(QApplication& application) {
  // One look on every desktop, whatever theme the machine has.
  application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  // The window asks for Liberation Sans by name (design::kSansSerif); any
  // other request for the design's fonts gets it too.
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
  application.setWindowIcon(QIcon(QPixmap(kSoakmarkIcon)));
}

}  // namespace soakmark::app
