// The list of files a run could not convert, converted with a warning or
// skipped: a modal window with a sortable list (file, stage, reason) that
// copies its lines as text.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/main_view.h"

namespace win32 {

// Shows the list under `summary` and returns when it is closed.
void ShowFailureList(HWND owner, const std::string& summary,
                     const std::vector<unit1::FailureLine>& lines);

// The lines as the clipboard gets them: file, stage and reason separated by
// tabs, one line each, ending in CR LF.
std::wstring FailureText(const std::vector<const unit1::FailureLine*>& lines);

// The window's class, for finding it.
inline constexpr wchar_t kFailureListClass[] = L"QuillonFailureList";
// Its controls.
enum : int { kFailureIcon = 10, kFailureSummary, kFailureLines, kFailureShowSkipped, kFailureCopy };

}  // namespace win32
