// The fonts of the windows: the faces the drawings' home system has,
// requested first, then Japanese faces found here.
#pragma once

#include <QFont>

namespace unit1 {

// "ＭＳ Ｐゴシック" (proportional) of the given pixel size.
QFont ProportionalGothic(int pixelSize);
// "ＭＳ ゴシック" (fixed pitch) of the given pixel size.
QFont FixedGothic(int pixelSize);

}  // namespace unit1
