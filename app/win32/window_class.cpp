#include "app/win32/window_class.h"

namespace win32 {

void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc, HICON icon,
                         const wchar_t* cursor) {
  WNDCLASSEXW kind{};
  kind.cbSize = sizeof(kind);
  if (::GetClassInfoExW(instance, name, &kind)) return;
  kind.lpfnWndProc = proc;
  kind.hInstance = instance;
  kind.hIcon = icon;
  kind.hCursor = ::LoadCursorW(nullptr, cursor);
  kind.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  kind.lpszClassName = name;
  ::RegisterClassExW(&kind);
}

void MoveToSuggestedPlace(HWND window, LPARAM lparam) {
  const auto* suggested = reinterpret_cast<const RECT*>(lparam);
  ::SetWindowPos(window, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace win32
