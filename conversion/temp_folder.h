// A private folder of this process for the images extracted from drawings
// while they are converted: only the user who runs it may enter it.
#pragma once

#include <filesystem>
#include <string>

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

 private:
  void CreateUnder(const std::filesystem::path& parent);

  std::filesystem::path path_;
  std::string error_;
};

}  // namespace unit_val
