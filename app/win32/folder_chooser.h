// The system's folder chooser (the common item dialog picking folders).
#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

namespace win32 {

// Opens at `start` when it is a folder; nothing when cancelled.
std::optional<std::filesystem::path> ChooseFolder(HWND owner, const std::string& title,
                                                  const std::filesystem::path& start);

}  // namespace win32
