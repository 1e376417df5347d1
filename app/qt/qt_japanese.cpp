#include "app/qt/qt_japanese.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace unit1 {

bool InstallJapaneseQtTexts(QTranslator& translator) {
  if (!translator.load(QStringLiteral("qtbase_ja"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    return false;
  }
  return QCoreApplication::installTranslator(&translator);
}

}  // namespace unit1
