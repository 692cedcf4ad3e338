#include <gtest/gtest.h>

#include <QApplication>

// Runs the tests inside a QApplication, on Qt's offscreen platform unless the
// environment asks for another one.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
