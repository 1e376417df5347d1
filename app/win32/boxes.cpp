#include "app/win32/boxes.h"

#include <commctrl.h>

#include <algorithm>

#include "app/generic_error.h"
#include "app/message_texts.h"
#include "app/win32/screen_scale.h"
#include "app/win32/wide_text.h"
#include "app/win32/window_class.h"

namespace win32 {

namespace {

// A Yes/No message box has no Cancel, so Escape does nothing there; the box
// is taken as it opens and Escape (IDCANCEL) made to answer No.
HHOOK g_boxHook = nullptr;

LRESULT CALLBACK EscapeAnswersNo(HWND box, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                 DWORD_PTR) {
  if (message == WM_COMMAND && LOWORD(wparam) == IDCANCEL) {
    return ::DefSubclassProc(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
  }
  return ::DefSubclassProc(box, message, wparam, lparam);
}

LRESULT CALLBACK TakeBox(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE) {
    ::SetWindowSubclass(reinterpret_cast<HWND>(wparam), EscapeAnswersNo, 1, 0);
    ::UnhookWindowsHookEx(g_boxHook);
    g_boxHook = nullptr;
    return 0;
  }
  return ::CallNextHookEx(g_boxHook, code, wparam, lparam);
}

}  // namespace

unit1::BoxAnswer ShowMessageBox(HWND owner, unit1::BoxIcon icon, const std::string& text,
                                unit1::BoxButtons buttons) {
  UINT style = MB_DEFBUTTON1;
  switch (icon) {
    case unit1::BoxIcon::kError:
      style |= MB_ICONERROR;
      break;
    case unit1::BoxIcon::kInformation:
      style |= MB_ICONINFORMATION;
      break;
    case unit1::BoxIcon::kQuestion:
      style |= MB_ICONQUESTION;
      break;
    case unit1::BoxIcon::kWarning:
      style |= MB_ICONWARNING;
      break;
  }
  const bool yesNo = buttons == unit1::BoxButtons::kYesNo;
  style |= yesNo ? MB_YESNO : MB_OK;
  if (yesNo) g_boxHook = ::SetWindowsHookExW(WH_CBT, TakeBox, nullptr, ::GetCurrentThreadId());
  const int answer =
      ::MessageBoxW(owner, Wide(text).c_str(), Wide(texts::kApplicationTitle).c_str(), style);
  if (g_boxHook != nullptr) {
    ::UnhookWindowsHookEx(g_boxHook);
    g_boxHook = nullptr;
  }
  if (!yesNo) return unit1::BoxAnswer::kOk;
  return answer == IDYES ? unit1::BoxAnswer::kYes : unit1::BoxAnswer::kNo;
}

void ShowErrorBox(HWND owner, const std::string& text) {
  ::MessageBoxW(owner, Wide(text).c_str(), Wide(texts::kApplicationTitle).c_str(),
                MB_OK | MB_ICONERROR);
}

void RunGuarded(HWND owner, const std::function<void()>& handler) {
  unit1::RunGuarded([owner](const std::string& message) { ShowErrorBox(owner, message); }, handler);
}

}  // namespace win32
