#include "conversion/batch_run.h"

#include <map>
#include <mutex>
#include <set>
#include <utility>

#include "conversion/batch_plan.h"
#include "conversion/destination_lock.h"
#include "conversion/preparation_pool.h"
#include "conversion/undo_journal.h"
#include "platform/file_io.h"

namespace unit_val {

namespace fs = std::filesystem;

namespace {

// Outputs are written a batch at a time and made durable together: one sync
// of the file system for about 64 MB of output instead of one per file (the
// count bounds how many temporaries wait at once).
constexpr std::uint64_t kBatchBytes = 64ull << 20;
constexpr std::size_t kBatchFiles = 4096;
// Files prepared ahead while a batch is synced and moved into place.
constexpr std::size_t kLookAhead = 256;

// Destination folders are made when the first drawing for them is written
// (so a folder holding no drawing gives no empty copy), and locked then.
class DestinationFolders {
 public:
  DestinationFolders(DestinationLocks& locks, std::chrono::milliseconds lockWait)
      : locks_(locks), lockWait_(lockWait) {}

  // No failure on success, else why the folder cannot be written into.
  Failure Make(const fs::path& folder) {
    std::lock_guard lock(mutex_);
    auto [it, added] = made_.try_emplace(folder);
    if (added) {
      std::error_code ec;
      fs::create_directories(folder, ec);
      if (ec) {
        it->second = CannotCreateFolder(folder, ec);
      } else {
        it->second = locks_.Lock(folder, DestinationLocks::Clock::now() + lockWait_);
      }
    }
    return it->second;
  }

 private:
  DestinationLocks& locks_;
  std::chrono::milliseconds lockWait_;
  std::mutex mutex_;
  std::map<fs::path, Failure> made_;
};

// Puts the batch's outputs on disk before any of them replaces a file. Where
// the file system cannot be synced as a whole, each output is synced; one
// that cannot be is dropped, so it fails instead of being moved into place.
void MakeDurable(std::vector<PreparedConversion>& batch) {
  std::set<fs::path> folders;
  for (const auto& prepared : batch) {
    if (prepared.output && !prepared.synced) folders.insert(FolderOf(prepared.destination));
  }
  bool synced = true;
  for (const fs::path& folder : folders) {
    synced = platform::SyncFileSystemOf(folder) && synced;
  }
  if (synced) return;
  for (auto& prepared : batch) {
    if (prepared.output && !prepared.synced && !prepared.output->SyncClosed()) {
      ConvertOutcome& outcome = prepared.outcome;
      outcome.failedStage = ConvertStage::kSave;
      outcome.failure = {Reason::kCannotSyncOutput, prepared.output->systemError(),
                         prepared.output->error().empty() ? "cannot sync the file to disk"
                                                          : prepared.output->error()};
      prepared.output.reset();
    }
  }
}

class Run {
 public:
  Run(const BatchRequest& request, const ConversionSettings& settings, StopToken& stop,
      BatchObserver& observer)
      : request_(request), settings_(settings), stop_(stop), observer_(observer) {}

  BatchReport Go() {
    const Selection& selection = request_.selection;
    if (!selection.ok()) return Refuse(selection.failure);
    // A refused run touches no folder, and a source folder never.
    const SourceChecker checker = CheckSource;
    plan_ = PlanBatch(selection.chosen, request_.alsoRead, &checker);
    if (!plan_.ok()) return Refuse(plan_.refusal);
    if (!request_.dryRun) {
      locks_.KeepFiles(request_.alsoRead);
      if (Failure locked = LockExistingFolders()) {
        // A stop while waiting for another run's lock ends the run, not refuses it.
        if (stop_.requested()) return Stopped();
        return Refuse(std::move(locked));
      }
      // Planned again on what the run that held a folder left in it.
      if (locks_.waited()) plan_ = PlanBatch(selection.chosen, request_.alsoRead, &checker);
      if (!plan_.ok()) return Refuse(plan_.refusal);
    }
    report_.planned = plan_.files.size();

    for (const SetAsideFile& file : selection.skipped) {
      Add({file.source, {}, FileStatus::kSkipped, ConvertStage::kNone, file.failure});
    }
    for (const SetAsideFile& file : selection.unreadable) {
      Add({file.source, request_.destinationFolder / file.source.filename(), FileStatus::kFailed,
           ConvertStage::kLoad, file.failure});
    }
    Convert();
    return std::move(report_);
  }

 private:
  BatchReport Refuse(Failure failure) {
    if (failure.code == Reason::kNone)
      failure = {Reason::kUnexpected, {}, std::move(failure.detail)};
    report_.refusal = std::move(failure);
    return std::move(report_);
  }

  BatchReport Stopped() {
    report_.planned = plan_.files.size();
    report_.stoppedBy = stop_.cause();
    return std::move(report_);
  }

  // Locks every destination folder that exists, in one order for every run
  // (two runs never wait on each other crosswise). Folders made later are
  // locked as they are made.
  Failure LockExistingFolders() {
    std::set<fs::path> named;
    for (const ChosenFile& file : request_.selection.chosen)
      named.insert(FolderOf(file.destination));
    std::map<platform::FileIdentity, fs::path> folders;
    for (const fs::path& folder : named) {
      if (const auto id = platform::IdentityOf(folder)) folders.try_emplace(*id, folder);
    }
    const auto deadline = DestinationLocks::Clock::now() + request_.lockWait;
    for (const auto& [id, folder] : folders) {
      if (Failure failure = locks_.Lock(folder, deadline)) return failure;
    }
    return {};
  }

  void Add(FileResult result) {
    switch (result.status) {
      case FileStatus::kConverted:
        ++report_.totals.converted;
        report_.totals.retyped += result.counts;
        break;
      case FileStatus::kSkipped:
        ++report_.totals.skipped;
        break;
      case FileStatus::kFailed:
        ++report_.totals.failed;
        break;
    }
    report_.files.push_back(std::move(result));
    observer_.FileDone(report_.files.back());
  }

  PreparedConversion Prepare(std::size_t i, const ConvertContext& context) {
    const PlannedFile& file = plan_.files[i];
    PreparedConversion prepared;
    if (file.conflict || file.check.kind != SourceKind::kDrawing) return prepared;
    if (!request_.dryRun) {
      if (Failure failure = folders_.Make(FolderOf(file.destination))) {
        prepared.outcome.failedStage = ConvertStage::kSave;
        prepared.outcome.failure = std::move(failure);
        return prepared;
      }
    }
    // Without a sync of the whole file system, each worker syncs its own
    // output as it closes it (in parallel, and without opening it again).
    prepared =
        PrepareConversion(file.source, file.destination, settings_, context,
                          platform::kCanSyncFileSystems ? OutputSync::kByCaller : OutputSync::kNow);
    prepared.keepOlderBackup = true;
    return prepared;
  }

  // Reports one planned file, moving its output into place.
  void Finish(std::size_t i, PreparedConversion& prepared) {
    const PlannedFile& file = plan_.files[i];
    FileResult result{file.source, file.destination};
    if (file.conflict) {
      result.stage = ConvertStage::kPlan;
      result.failure = file.conflict;
    } else if (file.check.kind != SourceKind::kDrawing) {
      const bool skipped = file.check.kind == SourceKind::kNotDrawing;
      result.status = skipped ? FileStatus::kSkipped : FileStatus::kFailed;
      if (skipped) result.destination.clear();
      result.stage = skipped ? ConvertStage::kNone : ConvertStage::kLoad;
      result.failure = file.check.failure;
    } else {
      const ConvertOutcome outcome = FinishConversion(prepared);
      result.counts = outcome.counts;
      result.version = outcome.version;
      result.failure = outcome.failure;
      result.olderBackupAside = outcome.olderBackupAside;
      if (outcome.notDrawing()) {
        // A file that proves not to be a drawing once loaded is no failure.
        result.status = FileStatus::kSkipped;
        result.destination.clear();
      } else if (outcome.converted()) {
        result.status = FileStatus::kConverted;
        result.backupMade = outcome.backupMade;
        result.olderBackupKept = outcome.olderBackupKept;
        placed_[FolderOf(file.destination)].push_back(
            {file.destination, outcome.backupMade, outcome.olderBackupKept});
      } else {
        result.stage = outcome.failedStage;
        if (!result.failure) {
          result.failure = {Reason::kUnexpected, {}, std::move(result.failure.detail)};
        }
      }
    }
    Add(std::move(result));
    ++report_.done;
  }

  // Syncs the waiting outputs, moves them into place in their order and
  // reports them. A stop asked for before the sync or between two moves
  // drops the rest, their temporaries with them; a move under way is
  // finished or undone first (FinishConversion), so no file is ever half
  // moved.
  // Whether a stop was asked for; the observer is asked first, so a window
  // hears its stop command at every point the run does.
  bool Stopping() {
    observer_.Poll();
    return stop_.requested();
  }

  void FinishBatch() {
    const std::size_t first = report_.done;
    if (!Stopping()) MakeDurable(batch_);
    for (std::size_t n = 0; n < batch_.size() && !Stopping(); ++n) {
      Finish(first + n, batch_[n]);
    }
    batch_.clear();
    batchBytes_ = 0;
  }

  // A folder made by the run that another run made and locked first, or
  // whose lock cannot be taken, refuses the rest of the run as a folder that
  // stood before it would: the outputs still waiting are dropped, so unless
  // an earlier batch was moved into place, nothing was written.
  bool RefusedByALock(const PreparedConversion& prepared) {
    const Reason code = prepared.outcome.failure.code;
    if (code != Reason::kDestinationLocked && code != Reason::kCannotLockDestination) return false;
    report_.refusal = prepared.outcome.failure;
    batch_.clear();
    return true;
  }

  void Convert() {
    const std::size_t total = plan_.files.size();
    // Declared before the batch: waiting outputs are dropped before the
    // workers' temp folders go.
    PreparationPool pool(
        total, request_.jobs ? request_.jobs : DefaultWorkerCount(), kLookAhead, request_.dryRun,
        stop_,
        [this](std::size_t i, const ConvertContext& context) { return Prepare(i, context); });
    for (std::size_t i = 0; i < total && !Stopping(); ++i) {
      observer_.FileStarting(i, total, plan_.files[i].source, plan_.files[i].destination);
      batch_.push_back(pool.Take(i));
      if (RefusedByALock(batch_.back())) break;
      batchBytes_ += batch_.back().outputBytes;
      if (Stopping()) break;
      if (batchBytes_ >= kBatchBytes || batch_.size() >= kBatchFiles) FinishBatch();
    }
    if (!Stopping() && !report_.refused()) FinishBatch();
    batch_.clear();
    report_.stoppedBy = report_.done < total && !report_.refused() ? stop_.cause() : 0;
    for (const auto& [folder, placed] : placed_) {
      std::string warning = RecordRunForUndo(folder, placed);
      if (!warning.empty()) report_.journalWarnings.push_back({folder, std::move(warning)});
    }
  }

  const BatchRequest& request_;
  const ConversionSettings& settings_;
  StopToken& stop_;
  BatchObserver& observer_;
  BatchReport report_;
  BatchPlan plan_;
  // Held until the run ends, after the pool's workers are gone.
  DestinationLocks locks_{&stop_};
  DestinationFolders folders_{locks_, request_.lockWait};
  std::vector<PreparedConversion> batch_;
  std::uint64_t batchBytes_ = 0;
  // The files put in place, by folder: what each folder's journal records.
  std::map<fs::path, std::vector<PlacedFile>> placed_;
};

}  // namespace

BatchReport RunBatch(const BatchRequest& request, const ConversionSettings& settings,
                     StopToken& stop, BatchObserver& observer) {
  return Run(request, settings, stop, observer).Go();
}

}  // namespace unit_val
