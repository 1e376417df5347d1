#include "conversion/undo_run.h"

#include <optional>
#include <system_error>
#include <utility>

#include "conversion/backup.h"
#include "conversion/destination_lock.h"
#include "conversion/file_digest.h"
#include "conversion/path_text.h"
#include "conversion/undo_journal.h"
#include "platform/file_io.h"

namespace unit_val {

namespace fs = std::filesystem;

namespace {

UndoFileResult LeftAlone(const fs::path& file, Reason code, std::string text,
                         std::error_code error = {}) {
  return {file, UndoStatus::kLeftAlone, {code, error, std::move(text)}};
}

class EntryUndo {
 public:
  EntryUndo(const fs::path& folder, const JournalEntry& entry)
      : entry_(entry),
        out_(folder / entry.name),
        bak_(BackupPath(out_)),
        aside_(entry.olderAside.empty() ? fs::path() : folder / entry.olderAside) {}

  UndoFileResult Go() {
    std::error_code ec;
    const std::optional<FileDigest> now = DigestOf(out_, ec);
    if (ec) return CannotRead(out_, ec);
    return entry_.backupMade ? Restore(now) : Remove(now);
  }

 private:
  UndoFileResult CannotRead(const fs::path& file, const std::error_code& ec) {
    return LeftAlone(out_, Reason::kCannotUndoFile,
                     "cannot read " + PathText(file) + ": " + ec.message(), ec);
  }

  UndoFileResult Remove(const std::optional<FileDigest>& now) {
    if (!now) return {out_, UndoStatus::kRemoved};  // removed before
    if (!entry_.output || *now != *entry_.output) return ChangedSince();
    std::error_code ec;
    if (!platform::RemoveFile(out_, ec)) {
      return LeftAlone(out_, Reason::kCannotUndoFile, "cannot remove the file: " + ec.message(),
                       ec);
    }
    return {out_, UndoStatus::kRemoved};
  }

  UndoFileResult Restore(const std::optional<FileDigest>& now) {
    std::error_code ec;
    const std::optional<FileDigest> bak = DigestOf(bak_, ec);
    if (ec) return CannotRead(bak_, ec);
    const std::optional<FileDigest>& former = entry_.backup;
    const bool isFormer = now && former && *now == *former;
    const bool asideWaits = !aside_.empty() && fs::exists(fs::symlink_status(aside_, ec));
    // The former file back and the older backup back from aside: done before.
    if (isFormer && !aside_.empty() && !asideWaits && bak) return Restored();
    if (now && entry_.output && *now == *entry_.output && bak && former && *bak == *former) {
      if (!platform::RenameFile(bak_, out_, ec)) {
        return LeftAlone(out_, Reason::kCannotUndoFile,
                         "cannot rename " + PathText(bak_) + " back: " + ec.message(), ec);
      }
    } else if (!isFormer || bak) {
      if (!now || !entry_.output || *now != *entry_.output) return ChangedSince();
      return {out_, UndoStatus::kLeftAlone, BackupChangedSinceRun(bak_.filename(), !bak)};
    }
    if (asideWaits && !platform::RenameFile(aside_, bak_, ec)) {
      return LeftAlone(out_, Reason::kCannotUndoFile,
                       "the former file is back, but the older backup cannot be renamed back "
                       "from " +
                           PathText(aside_) + ": " + ec.message(),
                       ec);
    }
    return Restored();
  }

  UndoFileResult Restored() { return {out_, UndoStatus::kRestored}; }

  UndoFileResult ChangedSince() {
    std::error_code ec;
    const bool missing = !fs::exists(fs::symlink_status(out_, ec));
    return {out_, UndoStatus::kLeftAlone, ChangedSinceRun(missing)};
  }

  const JournalEntry& entry_;
  const fs::path out_, bak_, aside_;
};

}  // namespace

UndoReport UndoLastRun(const fs::path& destinationFolder, StopToken& stop, UndoObserver* observer,
                       std::chrono::milliseconds lockWait) {
  UndoReport report;
  const fs::path folder = destinationFolder.empty() ? fs::path(".") : destinationFolder;
  auto refuse = [&](Failure failure) {
    report.refusal = std::move(failure);
    return std::move(report);
  };
  auto noJournal = [&] { return refuse(NoUndoJournal(folder)); };
  // Looked at before the lock too, so that a folder without one is not
  // even locked.
  if (!ReadUndoJournal(folder).found) return noJournal();
  DestinationLocks locks(&stop);
  if (Failure locked = locks.Lock(folder, DestinationLocks::Clock::now() + lockWait)) {
    return refuse(std::move(locked));
  }
  const JournalRead journal = ReadUndoJournal(folder);
  if (!journal.found) return noJournal();
  if (!journal.error.empty()) {
    return refuse({Reason::kUndoJournalUnreadable, journal.systemError, journal.error});
  }
  for (const JournalEntry& entry : journal.entries) {
    if (observer) observer->Poll();
    if (stop.requested()) {
      report.stoppedBy = stop.cause();
      return report;
    }
    report.files.push_back(EntryUndo(folder, entry).Go());
    const UndoFileResult& done = report.files.back();
    ++(done.status == UndoStatus::kRestored  ? report.restored
       : done.status == UndoStatus::kRemoved ? report.removed
                                             : report.leftAlone);
    if (observer) observer->FileDone(done);
  }
  if (report.leftAlone == 0) {
    std::error_code ec;
    if (!RemoveUndoJournal(folder, ec)) {
      report.journalWarning = "every file is back, but the undo journal " +
                              PathText(folder / kUndoJournalName) +
                              " cannot be removed: " + ec.message();
    }
  }
  return report;
}

}  // namespace unit_val
