// The window tests run headless, with the Japanese texts of the program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTranslator>

#include "app/qt/qt_japanese.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QTranslator qtTexts;
  unit1::InstallJapaneseQtTexts(qtTexts);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
