#include <gtest/gtest.h>

#include <QGuiApplication>

int main(int argc, char* argv[]) {
  // The typeface test compares mtz with what the toolkit paints.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication aplicacion(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
