#include "conversion/backup.h"

#include <system_error>
#include <utility>

#include "conversion/failure_reason.h"
#include "conversion/stale_temporaries.h"
#include "platform/file_io.h"

namespace unit_val {

namespace fs = std::filesystem;

fs::path BackupPath(const fs::path& path) {
  fs::path::string_type name = path.filename().native();
  const auto dot = name.find_last_of(fs::path::string_type::value_type('.'));
  if (dot != fs::path::string_type::npos) name.erase(dot);
  name += fs::path(".BAK").native();
  return path.parent_path() / fs::path(name);
}

DestinationBackup::DestinationBackup(fs::path destination)
    : destination_(std::move(destination)), backup_(BackupPath(destination_)) {}

DestinationBackup::~DestinationBackup() {
  Undo();
}

BackupOutcome DestinationBackup::Make() {
  std::error_code ec;
  // Whatever stands at the destination, a folder aside, becomes the backup:
  // a link (even one to a folder, or to nothing) or a pipe is renamed
  // itself, never followed, so the output never silently takes its place.
  const fs::file_status standing = fs::symlink_status(destination_, ec);
  if (!fs::exists(standing) || fs::is_directory(standing)) return {BackupResult::kNoFile};

  const fs::file_status older = fs::symlink_status(backup_, ec);
  if (fs::is_directory(older)) {
    return {BackupResult::kFailed, BackupPathIsFolder(backup_)};
  }
  if (fs::exists(older)) {
    fs::path aside = backup_.parent_path() / MovedAsideBackupName();
    platform::RenameFile(backup_, aside, ec);
    if (ec) {
      return {BackupResult::kFailed, CannotMoveOlderBackupAside(ec)};
    }
    olderBackup_ = std::move(aside);
  }

  platform::RenameFile(destination_, backup_, ec);
  if (ec) {
    if (!olderBackup_.empty()) {
      std::error_code back;
      if (!platform::RenameFile(olderBackup_, backup_, back)) olderLeftAside_ = olderBackup_;
      olderBackup_.clear();
    }
    return {BackupResult::kFailed, CannotRenameToBackup(backup_, ec, olderLeftAside_)};
  }
  made_ = true;
  return {BackupResult::kKept};
}

Failure DestinationBackup::Keep() {
  made_ = false;
  if (olderBackup_.empty()) return {};
  std::error_code ec;
  platform::RemoveFile(olderBackup_, ec);
  const fs::path left = std::move(olderBackup_);
  olderBackup_.clear();
  if (!ec) return {};
  olderLeftAside_ = left;
  return OlderBackupNotDeleted(left, ec);
}

fs::path DestinationBackup::KeepOlderAside() {
  made_ = false;
  return std::exchange(olderBackup_, {});
}

bool DestinationBackup::Undo() {
  bool ok = true;
  if (made_) {
    std::error_code ec;
    platform::RenameFile(backup_, destination_, ec);
    ok = !ec;
    made_ = false;
  }
  if (!olderBackup_.empty()) {
    // Where the file stays as the backup, the older one cannot go back.
    std::error_code back;
    if (!ok || !platform::RenameFile(olderBackup_, backup_, back)) olderLeftAside_ = olderBackup_;
  }
  olderBackup_.clear();
  return ok;
}

BackupOutcome BackupExistingFile(const fs::path& path) {
  DestinationBackup backup(path);
  BackupOutcome outcome = backup.Make();
  outcome.warning = backup.Keep();
  return outcome;
}

}  // namespace unit_val
