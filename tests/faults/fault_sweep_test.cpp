// A failing disk never loses or truncates a file: every open, read, write,
// sync, rename, remove and close of a conversion is made to fail in turn,
// and after each the source is unchanged, the destination holds the old
// file, or its ".BAK" as the only copy, or the new file with the old one as
// ".BAK", nothing temporary is left, the failure is named, and the next run
// succeeds.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "cli/convert_command.h"
#include "cli/undo_command.h"
#include "conversion/backup.h"
#include "conversion/convert_file.h"
#include "conversion/undo_run.h"
#include "platform/file_faults.h"
#include "platform/settings_file.h"
#include "tests/support/paths.h"
#include "tests/support/synthetic.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using platform::FileOp;
using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;

constexpr std::array kOps = {FileOp::kOpen,   FileOp::kRead,   FileOp::kWrite, FileOp::kSync,
                             FileOp::kRename, FileOp::kRemove, FileOp::kClose};

std::optional<std::string> Bytes(const fs::path& p) {
  if (!fs::exists(p)) return std::nullopt;
  return ReadFileBytes(p);
}

std::map<std::string, std::string> Files(const fs::path& folder) {
  std::map<std::string, std::string> files;
  if (!fs::exists(folder)) return files;
  for (const auto& e : fs::directory_iterator(folder)) {
    files[e.path().filename().string()] = ReadFileBytes(e.path());
  }
  return files;
}

// Runs `once` with the n-th operation of each kind failing, for every n that
// the run reaches; `check` looks at what each failure left. Returns the
// number of failures made.
template <typename Once, typename Check>
int Sweep(Once once, Check check) {
  int made = 0;
  for (FileOp op : kOps) {
    for (std::uint64_t n = 1;; ++n) {
      auto result = once([&] { platform::ArmFileFault(op, n); });
      const bool fired = platform::FileFaultFired();
      platform::DisarmFileFaults();
      if (!fired) break;
      ++made;
      SCOPED_TRACE(std::string(platform::FileOpName(op)) + " #" + std::to_string(n));
      check(result);
      if (::testing::Test::HasFatalFailure()) return made;
    }
  }
  return made;
}

// What may stand at a destination after a failed or a good run.
void ExpectDestinationWhole(const fs::path& dest, const std::optional<std::string>& old,
                            const std::optional<std::string>& oldBackup, const std::string& fresh,
                            bool converted) {
  const auto now = Bytes(dest), backup = Bytes(unit_val::BackupPath(dest));
  if (converted) {
    EXPECT_EQ(now, fresh);
    EXPECT_EQ(backup, old ? old : oldBackup);
    return;
  }
  const bool untouched = now == old && backup == oldBackup;
  const bool onlyBackup = old && !now && backup == old;
  const bool replaced = now == fresh && backup == (old ? old : oldBackup);
  EXPECT_TRUE(untouched || onlyBackup || replaced)
      << "destination " << (now ? now->size() : 0) << " bytes, backup "
      << (backup ? backup->size() : 0) << " bytes";
}

struct Scene {
  std::string name;
  std::string source;
  std::optional<std::string> old, oldBackup;
};

std::vector<Scene> Scenes() {
  ScratchDir dir;
  jww::Drawing withImage = synthetic::MakeFullDrawing(700);
  synthetic::AddImage(withImage, dir.path(), jww::JwwString::narrow("pic.bmp"), 150000, 2);
  synthetic::SaveDrawing(withImage, dir / "image.jww");
  const std::string plan = ReadFileBytes(fs::path(QUILLON_SOURCE_DIR) / "examples/PLAN.jww");
  const std::string image = ReadFileBytes(dir / "image.jww");
  return {{"plain", plan, std::nullopt, std::nullopt},
          {"plain over a file", plan, "old drawing", std::nullopt},
          {"images over a file and its backup", image, "old drawing", "old backup"},
          {"images over a backup alone", image, std::nullopt, "old backup"}};
}

TEST(FaultSweep, ConvertFileSurvivesEveryFailure) {
  int total = 0;
  for (const Scene& scene : Scenes()) {
    SCOPED_TRACE(scene.name);
    ScratchDir dir;
    const fs::path source = dir / "src/D.jww", dest = dir / "out/D.jww";
    fs::create_directories(dir / "src");
    fs::create_directories(dir / "tmp");
    WriteFileBytes(source, scene.source);
    unit_val::ConversionSettings settings;
    jww::Drawing drawing;
    bool imageLeft = false;  // in the temp folder as the conversion returned
    auto convert = [&](auto arm) {
      fs::remove_all(dir / "out");
      fs::create_directories(dir / "out");
      if (scene.old) WriteFileBytes(dest, *scene.old);
      if (scene.oldBackup) WriteFileBytes(unit_val::BackupPath(dest), *scene.oldBackup);
      unit_val::TempFolder temp(dir / "tmp");
      arm();
      auto outcome = unit_val::ConvertFile(source, dest, settings, {drawing, &temp, {}});
      imageLeft = temp.ok() && !fs::is_empty(temp.path());
      return outcome;
    };
    const unit_val::ConvertOutcome reference = convert([] {});
    ASSERT_TRUE(reference.converted()) << unit_val::EnglishText(reference.failure);
    const std::string fresh = ReadFileBytes(dest);

    total += Sweep(convert, [&](const unit_val::ConvertOutcome& outcome) {
      EXPECT_EQ(ReadFileBytes(source), scene.source);
      if (!outcome.converted()) {
        EXPECT_FALSE(unit_val::EnglishText(outcome.failure).empty());
        // Named as a code too, with the system's error where the file layer
        // gives one.
        const unit_val::Reason code = outcome.failure.code;
        EXPECT_NE(code, unit_val::Reason::kNone) << unit_val::EnglishText(outcome.failure);
        if (code == unit_val::Reason::kCannotCreateOutput ||
            code == unit_val::Reason::kCannotKeepBackup ||
            code == unit_val::Reason::kCannotMoveIntoPlace) {
          EXPECT_EQ(outcome.failure.error, std::errc::io_error)
              << unit_val::EnglishText(outcome.failure);
        }
      }
      ExpectDestinationWhole(dest, scene.old, scene.oldBackup, fresh, outcome.converted());
      std::size_t expected = Files(dir / "out").size();
      for (const auto& [name, bytes] : Files(dir / "out")) {
        // An older backup that could not be deleted stays, said so, whole.
        const bool keptAside = name.ends_with(".old") &&
                               outcome.failure.code == unit_val::Reason::kOlderBackupKept &&
                               bytes == scene.oldBackup;
        if (name.starts_with(".quillon-") && !keptAside) ADD_FAILURE() << "left " << name;
        if (keptAside) --expected;
      }
      EXPECT_LE(expected, 2u);
      EXPECT_TRUE(drawing.images.empty() && drawing.top.texts.empty());
      EXPECT_FALSE(imageLeft) << "an extracted image outlived its file";
      const unit_val::ConvertOutcome again = convert([] {});
      EXPECT_TRUE(again.converted()) << unit_val::EnglishText(again.failure);
      // A temp folder's lock file that could not be removed goes with the next.
      EXPECT_TRUE(fs::is_empty(dir / "tmp")) << "an image temp folder or its lock stayed";
    });
  }
  std::printf("ConvertFile: %d injected failures survived\n", total);
  EXPECT_GT(total, 40);
}

// The scenes' drawings in one source folder, converted by quillon-cli into
// one destination folder (prepared anew by Prepare), with its temp folders
// under a folder of the test's own.
class CommandLineBatch {
 public:
  CommandLineBatch() : scenes_(Scenes()) {
    if (const char* tmp = std::getenv(kTmpVariable)) oldTmp_ = tmp;
    fs::create_directories(in_);
    fs::create_directories(tmp_);
    for (std::size_t i = 0; i < scenes_.size(); ++i) {
      WriteFileBytes(in_ / Name(i), scenes_[i].source);
    }
    WriteFileBytes(ini_, "[JWW]\r\nC1=0.5\r\n");
    sources_ = Files(in_);
    SetTmp(tmp_.string().c_str());
  }
  ~CommandLineBatch() { SetTmp(oldTmp_ ? oldTmp_->c_str() : nullptr); }

  static std::string Name(std::size_t i) { return "F" + std::to_string(i) + ".jww"; }

  void Prepare() {
    fs::remove_all(out_);
    fs::create_directories(out_);
    for (std::size_t i = 0; i < scenes_.size(); ++i) {
      const fs::path dest = out_ / Name(i);
      if (scenes_[i].old) WriteFileBytes(dest, *scenes_[i].old);
      if (scenes_[i].oldBackup) WriteFileBytes(unit_val::BackupPath(dest), *scenes_[i].oldBackup);
    }
  }
  // Over what stands in the destination folder now.
  std::pair<int, std::string> Convert() {
    std::ostringstream report, errors;
    const int code = cli::RunConvert(
        {"--settings", ini_.string(), "--jobs", "1", "--dest", out_.string(), in_.string()}, report,
        errors);
    return {code, report.str() + errors.str()};
  }

  // No file of the user's lost: the sources as they were, each destination
  // whole (`converted`: by name), an older backup moved aside whole (where
  // its ".BAK" is missing) and, when the run could say so (`told`), named.
  void ExpectNothingLost(const std::function<bool(const std::string&)>& converted,
                         const std::string* told) {
    EXPECT_EQ(Files(in_), sources_);
    std::multiset<std::string> aside;
    for (const auto& [name, bytes] : Files(out_)) {
      if (!name.ends_with(".old")) continue;
      // An older backup kept aside for undo is named in the folder's journal.
      if (told && Journal().find(name) == std::string::npos) {
        EXPECT_NE(told->find(name), std::string::npos) << name << " not named";
      }
      aside.insert(bytes);
    }
    for (std::size_t i = 0; i < scenes_.size(); ++i) {
      std::optional<std::string> oldBackup = scenes_[i].oldBackup;
      const fs::path dest = out_ / Name(i);
      if (oldBackup && !fs::exists(unit_val::BackupPath(dest))) {
        if (const auto it = aside.find(*oldBackup); it != aside.end()) {
          aside.erase(it);
          oldBackup.reset();
        }
      }
      ExpectDestinationWhole(dest, scenes_[i].old, oldBackup, fresh_.at(Name(i)),
                             converted(Name(i)));
    }
    for (const Scene& scene : scenes_) {
      if (scene.oldBackup) aside.erase(*scene.oldBackup);
    }
    EXPECT_TRUE(aside.empty()) << "a file aside that is no older backup";
  }
  // The next run succeeds and leaves no temporary or lock file, in the
  // destination or the temp folder.
  void ExpectTheNextRunLeavesNothing() {
    EXPECT_EQ(Convert().first, 0);
    for (const auto& [name, bytes] : Files(out_)) {
      if (name.starts_with(".quillon") && !name.ends_with(".old") && name != kJournal)
        ADD_FAILURE() << "left " << name;
    }
    EXPECT_TRUE(fs::is_empty(tmp_)) << "a temp folder or its lock stayed";
  }

  std::pair<int, std::string> Undo() {
    std::ostringstream report, errors;
    const int code = cli::RunUndo({out_.string()}, report, errors);
    return {code, report.str() + errors.str()};
  }
  // After a failed or killed undo of a run from Prepare's state: each file
  // as the run left it (`after`) or as it was before; an older ".BAK" may
  // wait aside meanwhile. Then a second undo finishes: the folder as before.
  void ExpectUndoneOrNot(const std::map<std::string, std::string>& before,
                         const std::map<std::string, std::string>& after) {
    const auto now = Files(out_);
    std::set<std::string> aside;
    for (const auto& [name, bytes] : now) {
      if (name.ends_with(".old")) aside.insert(bytes);
    }
    auto names = before;
    names.insert(after.begin(), after.end());
    for (const auto& entry : names) {
      const std::string& name = entry.first;
      if (name.starts_with(".quillon")) continue;
      const auto at = [&](const std::map<std::string, std::string>& state) {
        const auto it = state.find(name);
        return it == state.end() ? std::nullopt : std::optional<std::string>(it->second);
      };
      const auto is = at(now);
      const bool waitsAside = !is && at(before) && aside.contains(*at(before));
      EXPECT_TRUE(is == at(before) || is == at(after) || waitsAside) << name;
    }
    // A failure the first undo got past leaves nothing to undo.
    const auto again = Undo();
    EXPECT_TRUE(again.first == 0 || again.second.find("holds no run to undo") != std::string::npos)
        << again.second;
    // A lock file whose removal failed goes with the next run.
    auto undone = Files(out_);
    undone.erase(".quillon.lock");
    EXPECT_EQ(undone, before);
  }
  const fs::path& out() const { return out_; }

  void KeepFresh() { fresh_ = Files(out_); }
  std::string Journal() const {
    return fs::exists(out_ / kJournal) ? ReadFileBytes(out_ / kJournal) : std::string();
  }
  static constexpr const char* kJournal = ".quillon.undo";
  const fs::path& in() const { return in_; }

 private:
#ifdef _WIN32
  static constexpr const char* kTmpVariable = "TMP";
  static void SetTmp(const char* value) {
    _putenv_s(kTmpVariable, value ? value : "");
  }
#else
  static constexpr const char* kTmpVariable = "TMPDIR";
  static void SetTmp(const char* value) {
    value ? ::setenv(kTmpVariable, value, 1) : ::unsetenv(kTmpVariable);
  }
#endif

  const std::vector<Scene> scenes_;
  ScratchDir dir_;
  const fs::path in_ = dir_ / "in", out_ = dir_ / "out", tmp_ = dir_ / "tmp",
                 ini_ = dir_ / "quillon.ini";
  std::map<std::string, std::string> sources_, fresh_;
  std::optional<std::string> oldTmp_;
};

TEST(FaultSweep, TheCommandLineBatchSurvivesEveryFailure) {
  CommandLineBatch batch;
  batch.Prepare();
  ASSERT_EQ(batch.Convert().first, 0);
  batch.KeepFresh();
  auto run = [&](auto arm) {
    batch.Prepare();
    arm();
    return batch.Convert();
  };
  const int total = Sweep(run, [&](const std::pair<int, std::string>& result) {
    // A refusal, a failure and a warning are each named.
    if (result.first != 0) {
      EXPECT_FALSE(result.second.empty());
    }
    batch.ExpectNothingLost(
        [&](const std::string& name) {
          return result.first == 0 ||
                 result.second.find("converted " + (batch.in() / name).string()) !=
                     std::string::npos;
        },
        &result.second);
    batch.ExpectTheNextRunLeavesNothing();
  });
  std::printf("quillon-cli convert: %d injected failures survived\n", total);
  EXPECT_GT(total, 40);
}

#ifndef _WIN32
// Runs `work` in a child process that the file layer ends at the n-th
// operation `op`; true when it ended there, false when the work finished
// first (or the child could not be made or did not exit: a failure).
bool KilledAt(FileOp op, std::uint64_t n, const std::function<int()>& work) {
  std::fflush(nullptr);
  const pid_t child = ::fork();
  EXPECT_GE(child, 0);
  if (child < 0) return false;
  if (child == 0) {
    platform::ArmFileExit(op, n);
    std::_Exit(work());
  }
  int status = 0;
  EXPECT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status));
  return WIFEXITED(status) && WEXITSTATUS(status) == platform::kFileExitStatus;
}

// A run killed at any file operation (the lock files' and temp folders' own
// included) loses no file, and the next run leaves no temporary or lock.
TEST(FaultSweep, ABatchKilledAnywhereLosesNothing) {
  CommandLineBatch batch;
  batch.Prepare();
  ASSERT_EQ(batch.Convert().first, 0);
  batch.KeepFresh();
  int kills = 0;
  for (FileOp op : kOps) {
    for (std::uint64_t n = 1;; ++n) {
      batch.Prepare();
      if (!KilledAt(op, n, [&] { return batch.Convert().first; })) break;
      ++kills;
      SCOPED_TRACE(std::string("killed at ") + platform::FileOpName(op) + " #" + std::to_string(n));
      batch.ExpectNothingLost([](const std::string&) { return false; }, nullptr);
      batch.ExpectTheNextRunLeavesNothing();
      if (::testing::Test::HasFailure()) return;
    }
  }
  std::printf("quillon-cli convert: killed at %d points\n", kills);
  EXPECT_GT(kills, 40);
}
#endif

// Undo of a batch run survives every failure: each file is as the run left
// it or as it was before, and a second undo puts the folder back whole.
TEST(FaultSweep, UndoSurvivesEveryFailure) {
  CommandLineBatch batch;
  batch.Prepare();
  const auto before = Files(batch.out());
  ASSERT_EQ(batch.Convert().first, 0);
  const auto after = Files(batch.out());
  auto undo = [&](auto arm) {
    batch.Prepare();
    EXPECT_EQ(batch.Convert().first, 0);
    arm();
    return batch.Undo();
  };
  const int total = Sweep(undo, [&](const std::pair<int, std::string>& result) {
    if (result.first != 0) {
      EXPECT_FALSE(result.second.empty());
    }
    batch.ExpectUndoneOrNot(before, after);
  });
  std::printf("quillon-cli undo: %d injected failures survived\n", total);
  EXPECT_GT(total, 15);
}

// An undo stopped after its first file keeps the journal; the next finishes.
TEST(FaultSweep, AStoppedUndoIsFinishedByTheNext) {
  CommandLineBatch batch;
  batch.Prepare();
  const auto before = Files(batch.out());
  ASSERT_EQ(batch.Convert().first, 0);
  const auto after = Files(batch.out());
  struct StopAfterOne : unit_val::UndoObserver {
    unit_val::StopToken stop;
    void FileDone(const unit_val::UndoFileResult&) override { stop.Request(2); }
  } observer;
  const unit_val::UndoReport report = unit_val::UndoLastRun(batch.out(), observer.stop, &observer);
  EXPECT_EQ(report.stoppedBy, 2);
  EXPECT_EQ(report.files.size(), 1u);
  EXPECT_TRUE(fs::exists(batch.out() / CommandLineBatch::kJournal));
  batch.ExpectUndoneOrNot(before, after);
}

#ifndef _WIN32
TEST(FaultSweep, AnUndoKilledAnywhereIsFinishedByTheNext) {
  CommandLineBatch batch;
  batch.Prepare();
  const auto before = Files(batch.out());
  ASSERT_EQ(batch.Convert().first, 0);
  const auto after = Files(batch.out());
  int kills = 0;
  for (FileOp op : kOps) {
    for (std::uint64_t n = 1;; ++n) {
      batch.Prepare();
      ASSERT_EQ(batch.Convert().first, 0);
      if (!KilledAt(op, n, [&] { return batch.Undo().first; })) break;
      ++kills;
      SCOPED_TRACE(std::string("killed at ") + platform::FileOpName(op) + " #" + std::to_string(n));
      batch.ExpectUndoneOrNot(before, after);
      if (::testing::Test::HasFailure()) return;
    }
  }
  std::printf("quillon-cli undo: killed at %d points\n", kills);
  EXPECT_GT(kills, 15);
}
#endif

TEST(FaultSweep, TheSettingsFileIsOldOrNewWhole) {
  ScratchDir dir;
  const fs::path file = dir / "quillon.ini";
  const std::string old = "[Form]\r\nF1_X=1\r\n";
  auto write = [&](auto arm) {
    WriteFileBytes(file, old);
    platform::SettingsWriter writer(file);
    writer.Write("Form", "F1_X", "192");
    writer.Write("Set", "FLD1", "/home/drafter/");
    arm();
    return writer.Commit();
  };
  ASSERT_TRUE(write([] {}));
  const std::string fresh = ReadFileBytes(file);
  const int total = Sweep(write, [&](bool committed) {
    const std::string now = ReadFileBytes(file);
    EXPECT_EQ(now, committed ? fresh : old);
    EXPECT_EQ(Files(dir.path()).size(), 1u) << "a temporary stayed";
  });
  EXPECT_GT(total, 3);
}

}  // namespace
