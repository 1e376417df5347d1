// A file's last-write time in the user's local time, as the file list shows
// it.
#pragma once

namespace platform {

struct LocalTime {
  int year = 0, month = 0, day = 0;  // month 1..12, day 1..31
  int hour = 0, minute = 0, second = 0;
};

}  // namespace platform
