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

// The failures whose English names the paths involved, worded here beside
// the codes' own words. What the file layer and the loader say (the
// byte offsets, the section) is worded where it is found and travels as the
// failure's detail.
Failure CannotReadFolder(const std::filesystem::path& folder, std::error_code error);
// `missing`: nothing stands at the path; else something that is neither.
Failure NoSuchPath(const std::filesystem::path& path, bool missing, std::error_code error);
Failure DestinationIsSource(const std::filesystem::path& folder,
                            const std::filesystem::path& source);
Failure WritesOverSource(const std::filesystem::path& written, const std::filesystem::path& read);
Failure DestinationIsTheSourceFile();
// `backup`: the name wanted twice is the backup name, not the destination.
Failure NameTaken(const std::filesystem::path& name, bool backup,
                  const std::filesystem::path& holder);
Failure CannotCreateFolder(const std::filesystem::path& folder, std::error_code error);
Failure DestinationLocked(const std::filesystem::path& folder);
// The lock file cannot be opened or locked.
Failure CannotLockDestination(const std::filesystem::path& folder,
                              const std::filesystem::path& lockFile, std::error_code error);
// Something other than a regular file stands at the lock file's name.
Failure LockFileNotAFile(const std::filesystem::path& folder,
                         const std::filesystem::path& lockFile);
Failure CannotExtractImages(const std::string& why);
Failure OlderBackupNotDeleted(const std::filesystem::path& aside, std::error_code error);
Failure NoUndoJournal(const std::filesystem::path& folder);
// Undo: the output (or its ".BAK", named by `backupName`) is missing, or not
// what the run left.
Failure ChangedSinceRun(bool missing);
Failure BackupChangedSinceRun(const std::filesystem::path& backupName, bool missing);
// The file at a destination could not become its ".BAK": a folder stands at
// the backup path, the older backup could not be moved aside, or the file
// not renamed (`olderAside`: where the older backup then stays, if not back).
Failure BackupPathIsFolder(const std::filesystem::path& backup);
Failure CannotMoveOlderBackupAside(std::error_code error);
Failure CannotRenameToBackup(const std::filesystem::path& backup, std::error_code error,
                             const std::filesystem::path& olderAside);

}  // namespace unit_val
