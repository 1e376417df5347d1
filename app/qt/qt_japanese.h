// Qt's own texts in Japanese, whatever the system's language, so that the
// standard buttons of its boxes read "はい", "いいえ", "キャンセル".
#pragma once

#include <QTranslator>

namespace unit1 {

// Loads Qt's Japanese texts into `translator` and installs it; false when
// the system has none (the buttons then stay in English).
bool InstallJapaneseQtTexts(QTranslator& translator);

}  // namespace unit1
