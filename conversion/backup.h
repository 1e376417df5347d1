// Keeping a file that stands at a destination as its ".BAK" backup.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

#include "conversion/failure_reason.h"

namespace unit_val {

// The path with the extension of its file name (from the last ".") replaced
// by ".BAK", or ".BAK" appended when the name has no ".".
std::filesystem::path BackupPath(const std::filesystem::path& path);

enum class BackupResult {
  kNoFile,  // nothing stood at the path
  kKept,    // the file is now the backup
  kFailed,  // nothing changed
};

struct BackupOutcome {
  BackupResult result = BackupResult::kNoFile;
  Failure failure{};  // kCannotKeepBackup, when kFailed
  Failure warning{};  // kept, but the older backup could not be deleted (kOlderBackupKept)
  bool failed() const { return result == BackupResult::kFailed; }
};

// Moves the file at a destination to its backup path, replacing an older
// backup, in a way that can be undone until the replacement is in place (a
// link or a pipe at either name is moved or deleted itself, never followed):
// Make moves an older backup aside and the file to the backup path; Keep then
// drops the older backup (KeepOlderAside leaves it there), while Undo (also run by the destructor
// when neither was called) puts both back.
class DestinationBackup {
 public:
  explicit DestinationBackup(std::filesystem::path destination);
  DestinationBackup(const DestinationBackup&) = delete;
  DestinationBackup& operator=(const DestinationBackup&) = delete;
  ~DestinationBackup();

  BackupOutcome Make();
  // No failure, or what went wrong deleting the older backup
  // (kOlderBackupKept: the new backup is kept all the same).
  Failure Keep();
  // Keeps the new backup and leaves the older one where it waits, under a
  // name of ours, so that the run can still be taken back; answers that
  // name (empty when there was no older backup).
  std::filesystem::path KeepOlderAside();
  // False when the file could not be moved back (it then stays the backup).
  bool Undo();
  // Where an older backup stays when Make or Undo could not put it back, or
  // Keep could not delete it (empty when it is back or gone).
  const std::filesystem::path& olderLeftAside() const { return olderLeftAside_; }

 private:
  std::filesystem::path destination_;
  std::filesystem::path backup_;
  std::filesystem::path olderBackup_;  // where an older backup waits; empty if none
  std::filesystem::path olderLeftAside_;
  bool made_ = false;
};

// Keeps a file standing at `path` as its backup, replacing an older backup.
// On failure the file and any older backup are as they were.
BackupOutcome BackupExistingFile(const std::filesystem::path& path);

}  // namespace unit_val
