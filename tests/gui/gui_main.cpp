// The window tests run headless, with the event filter and the Japanese
// texts of the program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/escape_filter.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QTranslator qtTexts;
  if (qtTexts.load(QStringLiteral("qtbase_ja"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTexts);
  }
  unit1::EscapeFilter escapeFilter;
  application.installEventFilter(&escapeFilter);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
