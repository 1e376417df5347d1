#include "app/win32/screen_scale.h"

#include <cwchar>

namespace win32 {

namespace {

int CALLBACK FontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

}  // namespace

bool HasFontFace(const wchar_t* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  std::wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
  HDC screen = ::GetDC(nullptr);
  bool found = false;
  ::EnumFontFamiliesExW(screen, &wanted, FontFound, reinterpret_cast<LPARAM>(&found), 0);
  ::ReleaseDC(nullptr, screen);
  return found;
}

UINT WindowDpi(HWND window) {
  const UINT dpi = window != nullptr ? ::GetDpiForWindow(window) : 0;
  return dpi != 0 ? dpi : 96;
}

HFONT CreateGothic(std::initializer_list<const wchar_t*> faces, int pixels, UINT dpi) {
  const wchar_t* chosen = *(faces.end() - 1);
  for (const wchar_t* face : faces) {
    if (HasFontFace(face)) {
      chosen = face;
      break;
    }
  }
  LOGFONTW font{};
  font.lfHeight = -Scale(pixels, dpi);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  std::wcsncpy(font.lfFaceName, chosen, LF_FACESIZE - 1);
  return ::CreateFontIndirectW(&font);
}

HFONT CreateProportionalGothic(int pixels, UINT dpi) {
  return CreateGothic({L"ＭＳ Ｐゴシック", L"MS PGothic", L"Yu Gothic UI", L"Meiryo UI"}, pixels,
                      dpi);
}

HFONT CreateFixedGothic(int pixels, UINT dpi) {
  return CreateGothic({L"ＭＳ ゴシック", L"MS Gothic", L"Yu Gothic UI", L"Meiryo UI"}, pixels, dpi);
}

void SetFont(HWND control, HFONT font) {
  ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace win32
