// Sizes and fonts at the monitor's dots per inch: every size is given at
// 96 dpi and scaled to the window's own.
#pragma once

#include <windows.h>

#include <initializer_list>

namespace win32 {

UINT WindowDpi(HWND window);
// Whether the system has a font of this face.
bool HasFontFace(const wchar_t* face);
inline int Scale(int logical, UINT dpi) {
  return ::MulDiv(logical, static_cast<int>(dpi), 96);
}
inline int Unscale(int physical, UINT dpi) {
  return ::MulDiv(physical, 96, static_cast<int>(dpi));
}

// A font of the first of `faces` that the system has (else the last one),
// with characters `pixels` high at 96 dpi. The caller deletes it.
HFONT CreateGothic(std::initializer_list<const wchar_t*> faces, int pixels, UINT dpi);
// "ＭＳ Ｐゴシック" and "ＭＳ ゴシック", with the fonts of newer systems behind them.
HFONT CreateProportionalGothic(int pixels, UINT dpi);
HFONT CreateFixedGothic(int pixels, UINT dpi);

void SetFont(HWND control, HFONT font);

}  // namespace win32
