// A file's last-write time in the user's local time, as the file list shows
// it.
#pragma once

#include <filesystem>
#include <optional>

namespace platform {

struct LocalTime {
  int year = 0, month = 0, day = 0;  // month 1..12, day 1..31
  int hour = 0, minute = 0, second = 0;
};

// Nothing when the file cannot be asked.
std::optional<LocalTime> LastWriteLocalTime(const std::filesystem::path& file);

}  // namespace platform
