#include "conversion/failure_reason.h"

#include "conversion/path_text.h"

namespace unit_val {

namespace fs = std::filesystem;

const char* ReasonCodeName(Reason code) {
  switch (code) {
    case Reason::kNone:
      return "none";
    case Reason::kNotJwwFile:
      return "not_jww_file";
    case Reason::kNoSignature:
      return "no_signature";
    case Reason::kWritesOverSource:
      return "writes_over_source";
    case Reason::kDestinationIsSource:
      return "destination_is_source";
    case Reason::kDestinationLocked:
      return "destination_locked";
    case Reason::kCannotLockDestination:
      return "cannot_lock_destination";
    case Reason::kCannotReadSettingsFile:
      return "cannot_read_settings_file";
    case Reason::kCannotReadFolder:
      return "cannot_read_folder";
    case Reason::kNoSuchPath:
      return "no_such_path";
    case Reason::kNotRegularFile:
      return "not_regular_file";
    case Reason::kCannotOpenSource:
      return "cannot_open_source";
    case Reason::kCannotReadSource:
      return "cannot_read_source";
    case Reason::kDamagedDrawing:
      return "damaged_drawing";
    case Reason::kImageCutShort:
      return "image_cut_short";
    case Reason::kOutOfMemory:
      return "out_of_memory";
    case Reason::kCannotExtractImages:
      return "cannot_extract_images";
    case Reason::kNameTaken:
      return "name_taken";
    case Reason::kCannotCreateFolder:
      return "cannot_create_folder";
    case Reason::kCannotKeepBackup:
      return "cannot_keep_backup";
    case Reason::kCannotCreateOutput:
      return "cannot_create_output";
    case Reason::kCannotWriteOutput:
      return "cannot_write_output";
    case Reason::kCannotSyncOutput:
      return "cannot_sync_output";
    case Reason::kCannotMoveIntoPlace:
      return "cannot_move_into_place";
    case Reason::kStoppedBeforeMove:
      return "stopped_before_move";
    case Reason::kNoUndoJournal:
      return "no_undo_journal";
    case Reason::kUndoJournalUnreadable:
      return "undo_journal_unreadable";
    case Reason::kChangedSinceRun:
      return "changed_since_run";
    case Reason::kBackupChangedSinceRun:
      return "backup_changed_since_run";
    case Reason::kCannotUndoFile:
      return "cannot_undo_file";
    case Reason::kUnexpected:
      return "unexpected";
    case Reason::kOlderBackupKept:
      return "older_backup_kept";
  }
  return "unexpected";
}

std::string EnglishText(const Failure& failure) {
  if (!failure.detail.empty()) return failure.detail;
  switch (failure.code) {
    case Reason::kNotJwwFile:
      return "not a .JWW file";
    case Reason::kNoSignature:
      return "not a JWW drawing (no \"JwwData.\" signature)";
    default:
      return {};
  }
}

std::string OlderBackupStaysText(const std::filesystem::path& aside) {
  return "; the older backup stays as " + PathText(aside);
}

Failure CannotReadFolder(const fs::path& folder, std::error_code error) {
  return {Reason::kCannotReadFolder, error,
          "cannot read the folder " + PathText(folder) + ": " + error.message()};
}

Failure NoSuchPath(const fs::path& path, bool missing, std::error_code error) {
  return {Reason::kNoSuchPath, error,
          (missing ? "no such file or folder: " : "not a file or folder: ") + PathText(path)};
}

Failure DestinationIsSource(const fs::path& folder, const fs::path& source) {
  return {Reason::kDestinationIsSource,
          {},
          "the destination folder " + PathText(folder) + " is the folder of " + PathText(source) +
              "; choose another destination"};
}

Failure WritesOverSource(const fs::path& written, const fs::path& read) {
  return {Reason::kWritesOverSource,
          {},
          "writing " + PathText(written) + " would replace " + PathText(read) +
              ", which this run reads; choose another destination"};
}

Failure DestinationIsTheSourceFile() {
  return {Reason::kWritesOverSource, {}, "the destination is the source file"};
}

Failure NameTaken(const fs::path& name, bool backup, const fs::path& holder) {
  return {Reason::kNameTaken,
          {},
          (backup ? "the backup name " : "the destination ") + PathText(name) +
              " is already taken by " + PathText(holder) +
              " in this run; nothing was written for this file"};
}

Failure CannotCreateFolder(const fs::path& folder, std::error_code error) {
  return {Reason::kCannotCreateFolder, error,
          "cannot create the folder " + PathText(folder) + ": " + error.message()};
}

Failure DestinationLocked(const fs::path& folder) {
  return {Reason::kDestinationLocked,
          {},
          "another run is writing into the folder " + PathText(folder) +
              "; try again when it has finished"};
}

Failure CannotLockDestination(const fs::path& folder, const fs::path& lockFile,
                              std::error_code error) {
  return {Reason::kCannotLockDestination, error,
          "cannot lock the folder " + PathText(folder) + ": " + PathText(lockFile) + ": " +
              error.message()};
}

Failure LockFileNotAFile(const fs::path& folder, const fs::path& lockFile) {
  return {Reason::kCannotLockDestination,
          {},
          "cannot lock the folder " + PathText(folder) + ": " + PathText(lockFile) +
              " is not a regular file (a folder, a link or a device); rename or remove it"};
}

Failure CannotExtractImages(const std::string& why) {
  return {Reason::kCannotExtractImages, {}, "cannot extract images (" + why + ")"};
}

Failure OlderBackupNotDeleted(const fs::path& aside, std::error_code error) {
  // The system's reason is in the words only: the file was converted.
  return {Reason::kOlderBackupKept,
          {},
          "the older backup could not be deleted (" + error.message() + "); it stays as " +
              PathText(aside)};
}

Failure ChangedSinceRun(bool missing) {
  return {Reason::kChangedSinceRun,
          {},
          missing ? "missing since the run" : "changed since the run (size or content)"};
}

Failure BackupChangedSinceRun(const fs::path& backupName, bool missing) {
  return {Reason::kBackupChangedSinceRun,
          {},
          PathText(backupName) + (missing ? " is missing" : " changed since the run")};
}

Failure BackupPathIsFolder(const fs::path& backup) {
  return {Reason::kCannotKeepBackup, {}, "the backup path " + PathText(backup) + " is a folder"};
}

Failure CannotMoveOlderBackupAside(std::error_code error) {
  return {Reason::kCannotKeepBackup, error,
          "cannot move the older backup aside: " + error.message()};
}

Failure CannotRenameToBackup(const fs::path& backup, std::error_code error,
                             const fs::path& olderAside) {
  std::string text = "cannot rename the file to " + PathText(backup) + ": " + error.message();
  if (!olderAside.empty()) text += OlderBackupStaysText(olderAside);
  return {Reason::kCannotKeepBackup, error, std::move(text)};
}

Failure NoUndoJournal(const fs::path& folder) {
  return {Reason::kNoUndoJournal, {}, "the folder " + PathText(folder) + " holds no run to undo"};
}

}  // namespace unit_val
