#include "app/qt/window_fonts.h"

#include <QStringList>

namespace unit1 {

namespace {

QFont Gothic(const QStringList& families, QFont::StyleHint hint, int pixelSize) {
  QFont font;
  font.setFamilies(families);
  font.setStyleHint(hint);
  font.setPixelSize(pixelSize);
  return font;
}

}  // namespace

QFont ProportionalGothic(int pixelSize) {
  return Gothic({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                 QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"),
                 QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans")},
                QFont::SansSerif, pixelSize);
}

QFont FixedGothic(int pixelSize) {
  return Gothic({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                 QStringLiteral("VL Gothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                 QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono")},
                QFont::Monospace, pixelSize);
}

}  // namespace unit1
