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

namespace {

constexpr wchar_t kFailureClass[] = L"QuillonFailureList";
enum : int { kFailureIcon = 10, kFailureSummary, kFailureLines };

struct FailureWindow {
  HFONT font = nullptr;
  bool closed = false;
};

void LayOutFailures(HWND window) {
  RECT client;
  ::GetClientRect(window, &client);
  const UINT dpi = WindowDpi(window);
  const int m = Scale(10, dpi), icon = Scale(32, dpi), button = Scale(24, dpi);
  const int w = client.right, h = client.bottom;
  ::MoveWindow(::GetDlgItem(window, kFailureIcon), m, m, icon, icon, TRUE);
  ::MoveWindow(::GetDlgItem(window, kFailureSummary), 2 * m + icon, m, w - 3 * m - icon, icon,
               TRUE);
  ::MoveWindow(::GetDlgItem(window, kFailureLines), m, 2 * m + icon, w - 2 * m,
               h - 4 * m - icon - button, TRUE);
  ::MoveWindow(::GetDlgItem(window, IDOK), (w - Scale(88, dpi)) / 2, h - m - button, Scale(88, dpi),
               button, TRUE);
}

LRESULT CALLBACK FailureProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* state = reinterpret_cast<FailureWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_SIZE:
      LayOutFailures(window);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) state->closed = true;
      return 0;
    case WM_CLOSE:
      state->closed = true;
      return 0;
    default:
      return ::DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace

void ShowFailureList(HWND owner, const std::string& summary,
                     const std::vector<unit1::FailureLine>& lines) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  RegisterWindowClass(instance, kFailureClass, FailureProc, nullptr);
  std::wstring text;
  for (const unit1::FailureLine& line : lines) {
    text += Wide(line.file) + L"\t" + Wide(line.stage) + L"\t" + Wide(line.reason) + L"\r\n";
  }
  // As large as the list needs, but never past the owner's screen.
  MONITORINFO screen{};
  screen.cbSize = sizeof(screen);
  ::GetMonitorInfoW(::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &screen);
  const UINT dpi = WindowDpi(owner);
  const RECT& area = screen.rcWork;
  const int width = std::min<int>(Scale(720, dpi), area.right - area.left);
  const int rows = static_cast<int>(std::min<std::size_t>(lines.size(), 20));
  const int height = std::min<int>(Scale(160 + 18 * rows, dpi), area.bottom - area.top);
  FailureWindow state;
  HWND window =
      ::CreateWindowExW(WS_EX_DLGMODALFRAME, kFailureClass, Wide(texts::kApplicationTitle).c_str(),
                        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                        area.left + (area.right - area.left - width) / 2,
                        area.top + (area.bottom - area.top - height) / 2, width, height, owner,
                        nullptr, instance, nullptr);
  ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
  state.font = CreateProportionalGothic(12, WindowDpi(window));
  HWND icon = ::CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON, 0, 0, 0, 0,
                                window, reinterpret_cast<HMENU>(kFailureIcon), instance, nullptr);
  ::SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IDI_ERROR)), 0);
  HWND label =
      ::CreateWindowExW(0, L"STATIC", Wide(summary).c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0,
                        0, 0, window, reinterpret_cast<HMENU>(kFailureSummary), instance, nullptr);
  HWND list = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", text.c_str(),
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL |
                                    ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                                0, 0, 0, 0, window, reinterpret_cast<HMENU>(kFailureLines),
                                instance, nullptr);
  HWND ok =
      ::CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                        0, 0, 0, 0, window, reinterpret_cast<HMENU>(IDOK), instance, nullptr);
  for (HWND control : {label, list, ok}) SetFont(control, state.font);
  LayOutFailures(window);
  ::EnableWindow(owner, FALSE);
  ::ShowWindow(window, SW_SHOW);
  ::SetFocus(ok);
  MSG message;
  while (!state.closed && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (::IsDialogMessageW(window, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  if (!state.closed) ::PostQuitMessage(0);
  ::EnableWindow(owner, TRUE);
  ::DestroyWindow(window);
  ::DeleteObject(state.font);
  ::SetActiveWindow(owner);
}

}  // namespace win32
