// Taking back the last run into a destination folder, from the journal it
// left there: every former file back under its name from its ".BAK", the
// older ".BAK" that run replaced back under ".BAK", an output that had no
// former file removed. Only what the run wrote is touched.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "conversion/failure_reason.h"
#include "conversion/stop_token.h"

namespace unit_val {

enum class UndoStatus { kRestored, kRemoved, kLeftAlone };

struct UndoFileResult {
  std::filesystem::path file;  // the run's output path
  UndoStatus status = UndoStatus::kLeftAlone;
  Failure failure{};  // why it was left alone
};

class UndoObserver {
 public:
  virtual ~UndoObserver() = default;
  virtual void FileDone(const UndoFileResult& result) { (void)result; }
  // Before each look at the stop token, between files.
  virtual void Poll() {}
};

struct UndoReport {
  // The whole undo refused, nothing changed: no journal (kNoUndoJournal), an
  // unreadable one, or the folder locked by a run.
  Failure refusal{};
  std::vector<UndoFileResult> files;
  int restored = 0, removed = 0, leftAlone = 0;
  int stoppedBy = 0;  // the StopToken's cause when it ended early
  // Set when every file is done but the journal could not be removed.
  std::string journalWarning;
  bool refused() const { return static_cast<bool>(refusal); }
};

// Under the folder's lock, and by renames only (an output is removed, never
// written over). A file whose output or ".BAK" is not what the run left
// (size or hash differ, or missing) is left alone and named. The journal
// stays until every file is done, so that after a stop, a kill or a failing
// disk the same call finishes the job: files already taken back are
// recognised by their contents and reported as done again.
UndoReport UndoLastRun(const std::filesystem::path& destinationFolder, StopToken& stop,
                       UndoObserver* observer = nullptr,
                       std::chrono::milliseconds lockWait = std::chrono::milliseconds(2000));

}  // namespace unit_val
