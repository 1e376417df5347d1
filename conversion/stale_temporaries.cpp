#include "conversion/stale_temporaries.h"

#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <system_error>

#include "conversion/path_text.h"
#include "platform/file_lock.h"

namespace unit_val {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kOutputPrefix = ".quillon-";
constexpr std::string_view kOutputSuffix = ".tmp";
constexpr std::string_view kFolderPrefix = "quillon-";
constexpr std::string_view kFolderLockSuffix = ".lock";
// Every output begins with the drawing's signature, written first.
constexpr std::string_view kOutputStart = "JwwData.";

// Calls `found` with each entry of `folder` named prefix + middle + suffix
// (no link) whose kind is a folder or a regular file as asked.
template <typename Found>
void EachNamed(const fs::path& folder, std::string_view prefix, std::string_view suffix,
               fs::file_type type, Found found) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = PathText(it->path().filename());
    if (name.size() < prefix.size() + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix)) {
      continue;
    }
    std::error_code typeError;
    if (it->symlink_status(typeError).type() != type) continue;
    found(it->path(), std::string_view(name).substr(prefix.size(),
                                                    name.size() - prefix.size() - suffix.size()));
  }
}

// An output of ours, as far as it was written: empty, or a drawing's start.
bool HoldsAnOutput(const fs::path& file) {
  std::FILE* f = platform::OpenFile(file, "rb");
  if (!f) return false;
  std::array<char, kOutputStart.size()> start{};
  bool failed = false;
  const std::size_t got = platform::ReadFile(f, start.data(), start.size(), failed);
  platform::CloseFile(f);
  return !failed && (got == 0 || std::string_view(start.data(), got) == kOutputStart);
}

bool OurTempFolderName(std::string_view suffix) {
  return platform::OwnerOfUniqueSuffix(suffix).has_value() && platform::IsUniqueSuffix(suffix);
}

}  // namespace

fs::path MovedAsideBackupName() {
  fs::path name(std::string{kOutputPrefix});
  name += platform::UniqueSuffix();
  name += ".old";
  return name;
}

void RemoveTemporariesOfLockedFolder(const fs::path& folder,
                                     const std::set<platform::FileIdentity>& read) {
  EachNamed(folder, kOutputPrefix, kOutputSuffix, fs::file_type::regular,
            [&](const fs::path& file, std::string_view middle) {
              // The exact name jww::PendingFile makes, and what it writes.
              if (!platform::IsUniqueSuffix(middle) || !HoldsAnOutput(file)) return;
              if (const auto id = platform::IdentityOf(file); id && read.contains(*id)) return;
              std::error_code ignored;
              platform::RemoveFile(file, ignored);
            });
}

fs::path TempFolderLockFile(const fs::path& folder) {
  fs::path file = folder;
  file += kFolderLockSuffix;
  return file;
}

void RemoveStaleTempFolders(const fs::path& parent) {
  // Only names this program makes; anyone may have a "quillon-…" folder.
  EachNamed(parent, kFolderPrefix, "", fs::file_type::directory,
            [](const fs::path& folder, std::string_view suffix) {
              if (!OurTempFolderName(suffix)) return;
              // Held while the folder is removed; its file goes when it is
              // let go.
              platform::FileLock lock = platform::FileLock::TryTake(TempFolderLockFile(folder));
              if (!lock.held()) return;
              lock.RemoveWhenReleased();
              std::error_code ignored;
              fs::remove_all(folder, ignored);
            });
  // A lock file whose folder is gone (its run was killed before it made the
  // folder, or could not remove the file): free, it guards nothing.
  EachNamed(parent, kFolderPrefix, kFolderLockSuffix, fs::file_type::regular,
            [&](const fs::path& file, std::string_view suffix) {
              if (!OurTempFolderName(suffix)) return;
              const fs::path folder = parent / (std::string(kFolderPrefix) + std::string(suffix));
              platform::FileLock lock = platform::FileLock::TryTake(file);
              std::error_code ec;
              if (lock.held() && !fs::exists(fs::symlink_status(folder, ec))) {
                lock.RemoveWhenReleased();
              }
            });
}

}  // namespace unit_val
