// What the program sets up once for its application object.
#pragma once

class QApplication;

namespace soakmark::app {

// The style, the fonts that stand in for the design's fonts, and the icon.
void ConfigureApplication(QApplication& application);

}  // namespace soakmark::app
