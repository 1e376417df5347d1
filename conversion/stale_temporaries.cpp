#include "conversion/stale_temporaries.h"

#include <string>
#include <string_view>
#include <system_error>

#include "conversion/path_text.h"
#include "platform/file_io.h"
#include "platform/file_lock.h"

namespace unit_val {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kOutputPrefix = ".quillon-";
constexpr std::string_view kOutputSuffix = ".tmp";
constexpr std::string_view kFolderPrefix = "quillon-";

template <typename Stale, typename Remove>
void RemoveStale(const fs::path& folder, std::string_view prefix, std::string_view suffix,
                 bool folders, Stale stale, Remove remove) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = PathText(it->path().filename());
    if (!name.starts_with(prefix) || !name.ends_with(suffix)) continue;
    std::error_code typeError;
    if (it->is_directory(typeError) != folders || it->is_symlink(typeError)) continue;
    const std::string_view middle =
        std::string_view(name).substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    if (stale(middle)) remove(it->path());
  }
}

}  // namespace

fs::path MovedAsideBackupName() {
  fs::path name(std::string{kOutputPrefix});
  name += platform::UniqueSuffix();
  name += ".old";
  return name;
}

void RemoveTemporariesOfLockedFolder(const fs::path& folder) {
  RemoveStale(
      folder, kOutputPrefix, kOutputSuffix, false, [](std::string_view) { return true; },
      [](const fs::path& p) {
        std::error_code ignored;
        fs::remove(p, ignored);
      });
}

fs::path TempFolderLockFile(const fs::path& folder) {
  fs::path file = folder;
  file += ".lock";
  return file;
}

void RemoveStaleTempFolders(const fs::path& parent) {
  RemoveStale(
      parent, kFolderPrefix, "", true,
      // Only names this program makes; anyone may have a "quillon-…" folder.
      [](std::string_view suffix) { return platform::OwnerOfUniqueSuffix(suffix).has_value(); },
      [](const fs::path& folder) {
        // Held while the folder is removed; its file goes when it is let go.
        const platform::FileLock lock = platform::FileLock::TryTake(TempFolderLockFile(folder));
        if (!lock.held()) return;
        std::error_code ignored;
        fs::remove_all(folder, ignored);
      });
}

}  // namespace unit_val
