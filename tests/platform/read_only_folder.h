// Makes a folder refuse new entries for as long as the object lives, even
// for a privileged user (where permission bits alone do not stop anything,
// the folder is also marked immutable).
#pragma once

#include <filesystem>

namespace testing_support {

class ReadOnlyFolder {
 public:
  explicit ReadOnlyFolder(std::filesystem::path folder);
  ~ReadOnlyFolder();
  ReadOnlyFolder(const ReadOnlyFolder&) = delete;
  ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

  // False when this machine offers no way to make the folder read-only.
  bool active() const { return active_; }

 private:
  bool RefusesNewFiles() const;

  std::filesystem::path folder_;
  bool immutable_ = false;
  bool active_ = false;
};

}  // namespace testing_support
