// The journal a run leaves in each destination folder it put files into, so
// that the run can be taken back: for every file, what the run wrote, the
// former file it kept as ".BAK" and where the older ".BAK" it replaced waits.
// Hidden under a name of ours beside the folder's lock; the next run into
// the folder replaces it (one level of undo).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "conversion/file_digest.h"

namespace unit_val {

inline constexpr char kUndoJournalName[] = ".quillon.undo";

struct JournalEntry {
  std::filesystem::path name;        // the output's file name in the folder
  std::optional<FileDigest> output;  // what the run wrote; nullopt: could not be read back
  bool backupMade = false;           // the former file became the ".BAK"
  std::optional<FileDigest> backup;  // the former file, now the ".BAK" (when made and read)
  std::filesystem::path olderAside;  // the file name the older ".BAK" waits under; empty if none
  friend bool operator==(const JournalEntry&, const JournalEntry&) = default;
};

struct JournalRead {
  bool found = false;
  std::vector<JournalEntry> entries;
  std::string error;  // set when a journal stands but cannot be read or understood
  std::error_code systemError{};
};

JournalRead ReadUndoJournal(const std::filesystem::path& folder);

// Writes the journal through a temporary of ours and a rename, replacing the
// one there. Empty on success, else why not (`ec` the system's reason).
std::string WriteUndoJournal(const std::filesystem::path& folder,
                             const std::vector<JournalEntry>& entries, std::error_code& ec);

// Removes the journal and a temporary of it; false with `ec` when it stays.
bool RemoveUndoJournal(const std::filesystem::path& folder, std::error_code& ec);

// A file a run put in place in one folder.
struct PlacedFile {
  std::filesystem::path destination;
  bool backupMade = false;
  std::filesystem::path olderAside;  // where the older ".BAK" waits; empty if none
};

// Called by a run, under the folder's lock, once its files are in place:
// writes the folder's journal, then deletes the older backups the journal it
// replaced kept aside. Empty on success, else a warning that names the
// older backups that stay aside.
std::string RecordRunForUndo(const std::filesystem::path& folder,
                             const std::vector<PlacedFile>& placed);

}  // namespace unit_val
