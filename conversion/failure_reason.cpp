#include "conversion/failure_reason.h"

#include "conversion/path_text.h"

namespace unit_val {

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

}  // namespace unit_val
