// The one batch run of every front end: the chosen files are planned,
// prepared on the preparation pool, backed up and moved into place in their
// order, made durable by volume, and reported file by file to an observer
// and in one report. The command line's convert and the window's "変換" are
// its callers.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "conversion/conversion_settings.h"
#include "conversion/convert_file.h"
#include "conversion/failure_reason.h"
#include "conversion/file_selection.h"
#include "conversion/stop_token.h"

namespace unit_val {

enum class FileStatus { kConverted, kSkipped, kFailed };

// What became of one file.
struct FileResult {
  std::filesystem::path source;
  std::filesystem::path destination;  // empty for a skipped file
  FileStatus status = FileStatus::kFailed;
  ConvertStage stage = ConvertStage::kNone;  // where it failed
  Failure failure{};     // why it was skipped or failed; the warning of a converted file
  SweepCounts counts{};  // texts retyped, by type and by scope
  bool backupMade = false;
  std::int32_t version = 0;
  std::filesystem::path olderBackupAside{};  // see ConvertOutcome
  std::filesystem::path olderBackupKept{};   // see ConvertOutcome
};

struct BatchTotals {
  int converted = 0;
  int failed = 0;
  int skipped = 0;
  SweepCounts retyped;  // summed over the converted files
};

struct BatchRequest {
  Selection selection{};                          // chosen files, and those already set aside
  std::filesystem::path destinationFolder{};      // the folder the run writes into (and locks)
  std::vector<std::filesystem::path> alsoRead{};  // further files the run reads (the settings file)
  bool dryRun = false;
  unsigned jobs = 0;  // 0: DefaultWorkerCount()
  // How long the run waits for another run writing into one of its
  // destination folders before it refuses (kDestinationLocked).
  std::chrono::milliseconds lockWait{2000};
};

// Called on the thread that runs RunBatch, between files: a window may
// repaint and handle its stop command there.
class BatchObserver {
 public:
  virtual ~BatchObserver() = default;
  // Before planned file `index` (from 0) of `total` is taken.
  virtual void FileStarting(std::size_t index, std::size_t total,
                            const std::filesystem::path& source,
                            const std::filesystem::path& destination) {
    (void)index, (void)total, (void)source, (void)destination;
  }
  // Each file's result as soon as it is known, in report order.
  virtual void FileDone(const FileResult& result) { (void)result; }
  // Before each look at the stop token, between files and between the moves
  // into place: the place to take a stop command.
  virtual void Poll() {}
};

struct BatchReport {
  Failure refusal{};              // the whole run refused: nothing was written
  std::vector<FileResult> files;  // in report order
  BatchTotals totals;
  int stoppedBy = 0;        // the StopToken's cause when the run ended early
  std::size_t planned = 0;  // files planned (those set aside before planning not counted)
  std::size_t done = 0;     // of them, reported; after a stop the rest wrote nothing
  // The destination folders whose undo journal could not be written (the
  // run there cannot be undone; its files are in place), each with why, in
  // English.
  struct JournalWarning {
    std::filesystem::path folder;
    std::string text;
  };
  std::vector<JournalWarning> journalWarnings;
  bool refused() const { return static_cast<bool>(refusal); }
};

// Reports the files the selection set aside first (skipped, then
// unreadable), then the planned files in their order. A stop is heard
// between files, before the sync of a batch of outputs and between their
// moves into place: a file being moved is finished or moved back first, the
// outputs not yet in place are removed, and the report ends there. A run
// that cannot start (the selection's error, a plan that would write over a
// file it reads, a destination folder another run writes into or whose lock
// cannot be taken) is refused and writes nothing; so is the rest of a run
// when a folder it makes proves to be such a folder (what is waiting to be
// moved is dropped). Each folder the run put files into is left a journal
// of them (see UndoLastRun), however the run ends.
BatchReport RunBatch(const BatchRequest& request, const ConversionSettings& settings,
                     StopToken& stop, BatchObserver& observer);

}  // namespace unit_val
