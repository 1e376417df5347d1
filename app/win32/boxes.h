// The modal boxes: message boxes with caption "Quillon", the generic error
// box and the list of failed files.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

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

// A resizable window listing the failed files (file, stage, reason, one line
// each, selectable and copyable) under the summary; returns when closed.
void ShowFailureList(HWND owner, const std::string& summary,
                     const std::vector<unit1::FailureLine>& lines);

}  // namespace win32
