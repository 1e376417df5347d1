#include "conversion/temp_folder.h"

#include <system_error>
#include <vector>

#include "conversion/path_text.h"
#include "conversion/stale_temporaries.h"
#include "platform/file_io.h"

namespace unit_val {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::error_code ec;
  const fs::path parent = fs::temp_directory_path(ec);
  if (ec) {
    error_ = "no temporary directory: " + ec.message();
    return;
  }
  CreateUnder(parent);
}

TempFolder::TempFolder(const fs::path& parent) {
  CreateUnder(parent);
}

TempFolder::~TempFolder() {
  if (path_.empty()) return;
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}  // the lock goes last, with its file

void TempFolder::RemoveLeftovers() const {
  if (path_.empty()) return;
  std::vector<fs::path> left;
  std::error_code ec;
  for (fs::directory_iterator it(path_, ec), end; !ec && it != end; it.increment(ec)) {
    left.push_back(it->path());
  }
  for (const fs::path& file : left) {
    std::error_code ignored;
    platform::RemoveFile(file, ignored);
  }
}

void TempFolder::CreateUnder(const fs::path& parent) {
  RemoveStaleTempFolders(parent);
  constexpr int kAttempts = 16;
  std::error_code ec;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    fs::path candidate = parent / ("quillon-" + PathText(platform::UniqueSuffix()));
    platform::FileLock lock = platform::FileLock::TryTake(TempFolderLockFile(candidate));
    if (!lock.held()) {
      ec = lock.error() ? lock.error() : std::make_error_code(std::errc::file_exists);
      if (lock.state() == platform::LockState::kBusy) continue;
      break;
    }
    if (platform::CreatePrivateFolder(candidate, ec)) {
      lock_ = std::move(lock);
      path_ = std::move(candidate);
      return;
    }
    // Another name helps only when this one was taken.
    if (ec != std::errc::file_exists) break;
  }
  error_ = "cannot create a temp folder under " + PathText(parent) + ": " + ec.message();
}

}  // namespace unit_val
