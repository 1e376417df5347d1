// What the windows of this program share with the system: their classes and
// how they follow a change of the monitor's scale.
#pragma once

#include <windows.h>

namespace win32 {

// Registers a window class on the button face (once; later calls do nothing).
void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc, HICON icon,
                         const wchar_t* cursor = IDC_ARROW);

// WM_DPICHANGED: the window takes the place the system suggests in `lparam`.
void MoveToSuggestedPlace(HWND window, LPARAM lparam);

}  // namespace win32
