// The lock files and temporaries of runs. Names of our own: a run removes
// only the lock file and the temporaries that it, or a run like it, made;
// never a user's file that carries such a name, nor a file the run reads.
// Locks: a run never writes into a folder without its lock; one that cannot
// be taken refuses the run with its reason, and lock files of temp folders
// that lost their folder go with the next run.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "conversion/batch_run.h"
#include "conversion/destination_lock.h"
#include "conversion/stale_temporaries.h"
#include "conversion/temp_folder.h"
#include "platform/file_faults.h"
#include "platform/file_io.h"
#include "platform/file_lock.h"
#include "tests/support/paths.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;
using unit_val::Reason;

const fs::path kPlan = fs::path(QUILLON_SOURCE_DIR) / "examples/PLAN.jww";

// A run of one drawing, in/A.jww, into out/.
class OneDrawingRun : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(in_);
    fs::create_directories(out_);
    fs::copy_file(kPlan, in_ / "A.jww");
  }
  unit_val::BatchReport Run(std::vector<fs::path> alsoRead = {}) {
    unit_val::BatchRequest request{unit_val::ChooseNamedFiles(in_, {"A.jww"}, out_), out_};
    request.alsoRead = std::move(alsoRead);
    request.lockWait = std::chrono::milliseconds(200);
    unit_val::StopToken stop;
    unit_val::BatchObserver quiet;
    return unit_val::RunBatch(request, {}, stop, quiet);
  }

  ScratchDir dir_;
  fs::path in_ = dir_ / "in", out_ = dir_ / "out";
};

class OwnNames : public OneDrawingRun {
 protected:
  std::string Temporary() const {
    return ".quillon-" + fs::path(platform::UniqueSuffix()).string() + ".tmp";
  }
};

TEST_F(OwnNames, AUsersLockNamedFileStaysAndALockOfOursGoes) {
  WriteFileBytes(out_ / unit_val::kLockFileName, "my own notes");
  auto report = Run();
  ASSERT_FALSE(report.refused()) << unit_val::EnglishText(report.refusal);
  EXPECT_EQ(report.totals.converted, 1);
  EXPECT_EQ(ReadFileBytes(out_ / unit_val::kLockFileName), "my own notes");

  // One that a killed run left holds our text: the next run removes it.
  WriteFileBytes(out_ / unit_val::kLockFileName, std::string(platform::kLockFileText));
  report = Run();
  EXPECT_EQ(report.totals.converted, 1);
  EXPECT_EQ(testing_support::SortedNames(out_),
            (std::vector<std::string>{".quillon.undo", "A.BAK", "A.jww"}));
}

TEST_F(OwnNames, TheSettingsFileStaysWhateverItIsNamed) {
  const std::string exact = Temporary();
  for (const std::string& name :
       {std::string(unit_val::kLockFileName), std::string(".quillon-my.tmp"), exact}) {
    SCOPED_TRACE(name);
    const std::string settings =
        name == exact ? "JwwData. as a temporary of ours begins" : "[JWW]\r\nC1=0.5\r\n";
    WriteFileBytes(out_ / name, settings);
    const auto report = Run({out_ / name});
    ASSERT_FALSE(report.refused()) << unit_val::EnglishText(report.refusal);
    EXPECT_EQ(report.totals.converted, 1);
    ASSERT_TRUE(fs::exists(out_ / name));
    EXPECT_EQ(ReadFileBytes(out_ / name), settings);
    fs::remove(out_ / name);
  }
}

// Only an exact name of ours that holds what we write (nothing yet, or a
// drawing's start) is a temporary a killed run left.
TEST_F(OwnNames, TheSweepTakesOnlyTemporariesOfOurs) {
  const std::string killed = Temporary(), empty = Temporary(), usersText = Temporary();
  WriteFileBytes(out_ / killed, "JwwData. half written");
  WriteFileBytes(out_ / empty, "");
  WriteFileBytes(out_ / usersText, "a user's words");
  const std::vector<std::string> users = {".quillon-my.tmp", ".quillon-1-2-3.tmp",
                                          ".quillon-00000000-1-2-3.tmp.bak", ".quillon-x.old"};
  for (const std::string& name : users) WriteFileBytes(out_ / name, "JwwData. of a user");
  fs::create_directory(out_ / Temporary());
  const auto report = Run();
  EXPECT_EQ(report.totals.converted, 1);
  for (const std::string& name : users) EXPECT_TRUE(fs::exists(out_ / name)) << name;
  EXPECT_TRUE(fs::exists(out_ / usersText));
  EXPECT_FALSE(fs::exists(out_ / killed));
  EXPECT_FALSE(fs::exists(out_ / empty));
  EXPECT_EQ(testing_support::SortedNames(out_).size(), users.size() + 4)
      << "A.jww, the user's text, the folder, the undo journal";
}

class Locks : public OneDrawingRun {
 protected:
  void SetUp() override {
    OneDrawingRun::SetUp();
    WriteFileBytes(out_ / "A.jww", "the former file");
  }
  void ExpectRefusedUntouched(const unit_val::BatchReport& report, std::size_t entries) {
    EXPECT_EQ(report.refusal.code, Reason::kCannotLockDestination)
        << unit_val::EnglishText(report.refusal);
    EXPECT_NE(unit_val::EnglishText(report.refusal).find(unit_val::kLockFileName),
              std::string::npos)
        << unit_val::EnglishText(report.refusal);
    EXPECT_TRUE(report.files.empty());
    EXPECT_EQ(ReadFileBytes(out_ / "A.jww"), "the former file");
    EXPECT_EQ(testing_support::SortedNames(out_).size(), entries) << "nothing written";
  }

  const fs::path lock_ = out_ / unit_val::kLockFileName;
};

TEST_F(Locks, AFolderOrALinkAtTheLockNameRefusesTheRun) {
  WriteFileBytes(dir_ / "elsewhere", "a file the link leads to");
  using Make = void (*)(const fs::path&, const fs::path&);
  const std::vector<std::pair<const char*, Make>> kinds = {
      {"folder", [](const fs::path& lock, const fs::path&) { fs::create_directory(lock); }},
#ifndef _WIN32
      {"link to a file",
       [](const fs::path& lock, const fs::path& d) { fs::create_symlink(d / "elsewhere", lock); }},
      {"link to nothing",
       [](const fs::path& lock, const fs::path& d) { fs::create_symlink(d / "nothing", lock); }},
      {"pipe", [](const fs::path& lock, const fs::path&) { ::mkfifo(lock.c_str(), 0600); }},
#endif
  };
  for (const auto& [kind, make] : kinds) {
    SCOPED_TRACE(kind);
    make(lock_, dir_.path());
    const auto report = Run();
    ExpectRefusedUntouched(report, 2);
    EXPECT_NE(unit_val::EnglishText(report.refusal).find("not a regular file"), std::string::npos);
    EXPECT_TRUE(fs::exists(fs::symlink_status(lock_)));
    fs::remove(lock_);
  }
  EXPECT_EQ(ReadFileBytes(dir_ / "elsewhere"), "a file the link leads to");
}

TEST_F(Locks, ALockFileThatCannotBeOpenedRefusesTheRun) {
  WriteFileBytes(lock_, std::string(platform::kLockFileText));
  platform::ArmFileFault(platform::FileOp::kOpen, 1);  // the lock file's open
  const auto report = Run();
  platform::DisarmFileFaults();
  ExpectRefusedUntouched(report, 2);
  EXPECT_EQ(report.refusal.error, std::errc::io_error);
  EXPECT_EQ(Run().totals.converted, 1) << "the next run takes the lock";
  EXPECT_FALSE(fs::exists(lock_));
}

TEST_F(Locks, ATempFolderLockWithoutItsFolderGoesWithTheNextTempFolder) {
#ifdef _WIN32
  GTEST_SKIP() << "the system deletes a lock file of ours when its last handle closes";
#endif
  const fs::path tmp = dir_ / "tmp";
  fs::create_directory(tmp);
  WriteFileBytes(tmp / "quillon-notes.lock", "a user's");
  // A live run between its lock and its folder.
  const fs::path live = tmp / ("quillon-" + fs::path(platform::UniqueSuffix()).string() + ".lock");
  const platform::FileLock held = platform::FileLock::TryTake(live);
  ASSERT_TRUE(held.held());
  {
    // Its folder removed, its lock file cannot be.
    const unit_val::TempFolder failing(tmp);
    ASSERT_TRUE(failing.ok()) << failing.error();
    // One killed before it made its folder.
    WriteFileBytes(tmp / ("quillon-" + fs::path(platform::UniqueSuffix()).string() + ".lock"), "");
    platform::ArmFileFault(platform::FileOp::kRemove, 1);
  }
  const bool fired = platform::FileFaultFired();
  platform::DisarmFileFaults();
  EXPECT_TRUE(fired);
  EXPECT_EQ(testing_support::SortedNames(tmp).size(), 4u);

  const unit_val::TempFolder next(tmp);
  ASSERT_TRUE(next.ok()) << next.error();
  std::vector<std::string> expected = {
      next.path().filename().string(),
      unit_val::TempFolderLockFile(next.path()).filename().string(), live.filename().string(),
      "quillon-notes.lock"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(testing_support::SortedNames(tmp), expected);
}

}  // namespace
