// Why a file was set aside or failed, or a run refused: one value with the
// reason as a code, the system's own reason (disk full, access denied…) as
// an error code, and the English words of the command line. The windows word
// it in Japanese from the code and the system's reason (app/message_texts).
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace unit_val {

enum class Reason {
  kNone = 0,
  // Skipped: not a failure.
  kNotJwwFile,   // the extension is not ".JWW"
  kNoSignature,  // no "JwwData." signature
  // A whole run refused before anything is written.
  kWritesOverSource,        // a destination or backup is, or leads to, a file the run reads
  kDestinationIsSource,     // the destination folder is a source file's folder
  kDestinationLocked,       // another run is writing into the destination folder
  kCannotLockDestination,   // the folder's lock file cannot be taken (not a file, no access…)
  kCannotReadSettingsFile,  // the settings file exists but cannot be read
  kCannotReadFolder,        // a named folder cannot be read
  kNoSuchPath,              // a named path is neither a file nor a folder
  // One file failed.
  kNotRegularFile,         // a folder, a device or a pipe stands at the source path
  kCannotOpenSource,       // the source cannot be opened
  kCannotReadSource,       // reading the source failed
  kDamagedDrawing,         // the data ends early or holds what no drawing holds
  kImageCutShort,          // an embedded image is cut short by the end of the file
  kOutOfMemory,            // the drawing needs more memory than the run may take
  kCannotExtractImages,    // the images could not be written to the temp folder
  kNameTaken,              // an earlier file of the run has this destination or backup name
  kCannotCreateFolder,     // the destination folder cannot be made
  kCannotKeepBackup,       // the file at the destination could not become its ".BAK"
  kCannotCreateOutput,     // no file can be created in the destination folder
  kCannotWriteOutput,      // writing the output failed (the disk is full…)
  kCannotSyncOutput,       // the output could not be put on disk
  kCannotMoveIntoPlace,    // the output could not take the destination name
  kStoppedBeforeMove,      // the run was stopped before this file was moved into place
  kNoUndoJournal,          // undo: the folder holds no journal of a run to take back
  kUndoJournalUnreadable,  // undo: the folder's journal cannot be read or understood
  kChangedSinceRun,        // undo: the output is not what the run wrote (changed or missing)
  kBackupChangedSinceRun,  // undo: the ".BAK" is not the former file the run kept
  kCannotUndoFile,         // undo: a file could not be renamed back or removed
  kUnexpected,             // an error nobody expected; the English text says which
  // Converted, with a warning.
  kOlderBackupKept,  // the older ".BAK" could not be deleted and stays under a name of ours
};

// A reason with the system's error behind it, when there is one, and what
// the command line says of it (see EnglishText).
struct Failure {
  Reason code = Reason::kNone;
  std::error_code error{};
  // The English line, the system's reason and the paths included, where the
  // code alone does not say it all (the loader's findings, the names
  // involved); empty where the code's own words suffice.
  std::string detail{};
  explicit operator bool() const { return code != Reason::kNone; }
};

// The command line's English for a failure (or a converted file's warning):
// its detail, else the code's own words; empty for kNone.
std::string EnglishText(const Failure& failure);

// A fixed name for programs that read a report ("no_signature",
// "destination_locked"…); "none" for kNone.
const char* ReasonCodeName(Reason code);

// "; the older backup stays as P": added to a reason when an older ".BAK"
// stays under a name of ours.
std::string OlderBackupStaysText(const std::filesystem::path& aside);

}  // namespace unit_val
