// The attributes the file list and the folder tree look at, as the platform
// knows them.
#pragma once

namespace platform {

struct FileAttributes {
  bool hidden = false;    // Windows: hidden attribute; elsewhere a name beginning with "."
  bool system = false;    // Windows: system attribute or volume label; elsewhere never
  bool readOnly = false;  // the user cannot write the file
  bool archive = false;   // Windows: archive attribute; elsewhere never (there is none)
};

}  // namespace platform
