// A private folder of this process for the images extracted from drawings
// while they are converted: only the user who runs it may enter it. Beside
// it stands its lock file ("quillon-….lock"), held while the folder lives,
// so that another process tells a live folder from a stale one by the lock,
// whatever process ids it sees.
#pragma once

#include <filesystem>
#include <string>

#include "platform/file_lock.h"

namespace unit_val {

class TempFolder {
 public:
  // A new folder under the system's temporary directory.
  TempFolder();
  // A new folder under `parent`.
  explicit TempFolder(const std::filesystem::path& parent);
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  // Removes the folder with everything in it.
  ~TempFolder();

  bool ok() const { return !path_.empty(); }
  // Empty when the folder could not be made (see error()).
  const std::filesystem::path& path() const { return path_; }
  const std::string& error() const { return error_; }
  // Removes whatever a conversion left in the folder (an image whose own
  // removal failed is tried once more), so that nothing of one drawing
  // outlives its conversion.
  void RemoveLeftovers() const;

 private:
  void CreateUnder(const std::filesystem::path& parent);

  platform::FileLock lock_;  // taken before the folder is made, let go after it is removed
  std::filesystem::path path_;
  std::string error_;
};

}  // namespace unit_val
