#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  // Widgets need no display: the tests run on build machines and in CI.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
