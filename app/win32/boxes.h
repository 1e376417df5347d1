// The modal boxes: message boxes with caption "Quillon" and the generic
// error box.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

#include "app/main_view.h"

namespace win32 {

// MessageBoxW; a Yes/No box answers No to Escape as well.
unit1::BoxAnswer ShowMessageBox(HWND owner, unit1::BoxIcon icon, const std::string& text,
                                unit1::BoxButtons buttons);

// The generic error box: what a command let through, with the error icon.
void ShowErrorBox(HWND owner, const std::string& text);

// Runs an event's handler; an error it lets through ends it and is shown in
// the generic error box, and the program goes on.
void RunGuarded(HWND owner, const std::function<void()>& handler);

}  // namespace win32
