// The batch plan: a run never writes over what it reads, and a destination or
// backup name is never used by two files of one run.
#include "conversion/batch_plan.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "conversion/destination_lock.h"
#include "conversion/file_selection.h"
#include "conversion/stale_temporaries.h"
#include "conversion/temp_folder.h"
#include "platform/file_io.h"
#include "platform/file_lock.h"
#include "platform/process.h"
#include "tests/support/paths.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;
using unit_val::ChooseFiles;
using unit_val::PlanBatch;

const std::string kDrawing = "JwwData.";  // enough for the signature check

class BatchPlan : public ::testing::Test {
 protected:
  fs::path Drawing(const fs::path& relative) {
    fs::create_directories((dir_ / relative).parent_path());
    WriteFileBytes(dir_ / relative, kDrawing);
    return dir_ / relative;
  }
  unit_val::BatchPlan PlanOf(const std::vector<fs::path>& paths, const fs::path& dest) {
    const unit_val::Selection selection = ChooseFiles(paths, dest, true);
    EXPECT_TRUE(selection.ok()) << unit_val::EnglishText(selection.failure);
    return PlanBatch(selection.chosen);
  }
  ScratchDir dir_;
};

TEST_F(BatchPlan, RefusesADestinationThatResolvesIntoTheSources) {
  Drawing("D/sub/B.jww");
  Drawing("D/sub/sub/B.jww");
  // Below the source tree: D/sub/sub/B.jww would go to D/sub/B.jww.
  EXPECT_NE(PlanOf({dir_ / "D/sub"}, dir_ / "D").refusal.detail.find("which this run reads"),
            std::string::npos);
  // Through ".." after a folder that does not exist.
  EXPECT_FALSE(PlanOf({dir_ / "D/sub"}, dir_ / "D/missing/..").ok());
  // A backup name that is the settings file the run reads.
  const fs::path source = Drawing("A/PLAN.jww");
  Drawing("O/PLAN.jww");
  EXPECT_FALSE(PlanBatch({{source, dir_ / "O/PLAN.jww"}}, {dir_ / "O/PLAN.BAK"}).ok());
  EXPECT_TRUE(PlanBatch({{source, dir_ / "O/PLAN.jww"}}, {dir_ / "O/other.ini"}).ok());
  // Through a link inside the destination.
  fs::create_directories(dir_ / "E");
  if (!testing_support::LinkFolder(dir_ / "D/sub/sub", dir_ / "E/sub")) {
    GTEST_SKIP() << "no folder links here: a destination reaching the sources through one";
  }
  EXPECT_FALSE(PlanOf({dir_ / "D/sub"}, dir_ / "E").ok());
}

TEST_F(BatchPlan, TheFirstFileKeepsANameAndALaterOneFails) {
  const fs::path a = Drawing("A/X.jww"), b = Drawing("B/X.jww");
  const fs::path y = Drawing("C/Y.jww"), yUpper = Drawing("C/Y.JWW");
  const fs::path out = dir_ / "out";
  fs::create_directories(out);

  auto plan =
      PlanBatch({{a, out / "X.jww"}, {b, out / "X.jww"}, {dir_ / "A/./X.jww", out / "X.jww"}});
  ASSERT_TRUE(plan.ok());
  EXPECT_FALSE(plan.files[0].conflict);
  EXPECT_NE(plan.files[1].conflict.detail.find("already taken by"), std::string::npos);
  EXPECT_TRUE(plan.files[2].conflict);

  // Distinct names on a case-sensitive folder, one backup name between them:
  // only a file that will need its backup claims it.
  plan = PlanBatch({{y, out / "Y.jww"}, {yUpper, out / "Y.JWW"}});
  if (platform::FolderIgnoresCase(out)) {
    EXPECT_TRUE(plan.files[1].conflict);
  } else {
    EXPECT_FALSE(plan.files[1].conflict) << "nothing stands there, no backup is made";
    WriteFileBytes(out / "Y.jww", "a");
    WriteFileBytes(out / "Y.JWW", "b");
    plan = PlanBatch({{y, out / "Y.jww"}, {yUpper, out / "Y.JWW"}});
    EXPECT_NE(plan.files[1].conflict.detail.find("backup name"), std::string::npos);
  }
}

TEST_F(BatchPlan, RecursionEndsAndWalksEachFolderOnce) {
  Drawing("L/a.jww");
  Drawing("L/sub/b.jww");
  if (!testing_support::LinkFolder(".", dir_ / "L/self") ||
      !testing_support::LinkFolder("..", dir_ / "L/sub/up")) {
    GTEST_SKIP() << "no folder links here: a recursion through a link loop";
  }
  const auto selection = ChooseFiles({dir_ / "L", dir_ / "L/sub"}, dir_ / "out", true);
  ASSERT_TRUE(selection.ok());
  ASSERT_EQ(selection.chosen.size(), 2u);
  EXPECT_EQ(selection.chosen[0].destination, dir_ / "out/a.jww");
  EXPECT_EQ(selection.chosen[1].destination, dir_ / "out/sub/b.jww");
}

// A run in another PID namespace has a process id this one cannot see: its
// temporaries are stale only once its lock on their folder is free.
TEST(StaleTemporaries, AreThoseOfRunsWhoseFolderLockIsFree) {
  ScratchDir dir;
  const std::string unseen = ".quillon-" + platform::MachineTag() + "-2147483632-1-0.tmp";
  const std::string otherMachine = ".quillon-0badc0de-17-1-0.tmp";
  const std::string movedAside = ".quillon-" + platform::MachineTag() + "-17-1-0.old";
  // What a run writes there: a drawing, begun.
  for (const std::string& name : {unseen, otherMachine, movedAside}) {
    WriteFileBytes(dir / name, "JwwData." + name);
  }
  const auto soon = [] {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
  };
  {
    const platform::FileLock live = platform::FileLock::TryTake(dir / unit_val::kLockFileName);
    ASSERT_TRUE(live.held());
    unit_val::DestinationLocks locks;
    const unit_val::Failure locked = locks.Lock(dir.path(), soon());
    EXPECT_EQ(locked.code, unit_val::Reason::kDestinationLocked);
    EXPECT_NE(locked.detail.find("another run is writing into the folder"), std::string::npos)
        << locked.detail;
    EXPECT_TRUE(fs::exists(dir / unseen) && fs::exists(dir / otherMachine));
  }
  {
    unit_val::DestinationLocks locks;
    const unit_val::Failure held = locks.Lock(dir.path(), soon());
    EXPECT_FALSE(held) << held.detail;
  }
  EXPECT_FALSE(fs::exists(dir / unseen) || fs::exists(dir / otherMachine));
  EXPECT_TRUE(fs::exists(dir / movedAside)) << "a moved-aside backup is a user's file";
  EXPECT_FALSE(fs::exists(dir / unit_val::kLockFileName));
}

}  // namespace

// The same for the private temp folders of runs: one whose lock is held stays,
// whatever process id its name holds, and goes once its lock is free.
TEST(StaleTemporaries, TempFoldersAreStaleOnceTheirLockIsFree) {
  ScratchDir dir;
  const fs::path unseen = dir / ("quillon-" + platform::MachineTag() + "-2147483632-1-0");
  fs::create_directory(unseen);
  WriteFileBytes(unseen / "image", "extracted");
  const fs::path users = dir / "quillon-notes";  // not a name of ours
  fs::create_directory(users);
  {
    const platform::FileLock live =
        platform::FileLock::TryTake(unit_val::TempFolderLockFile(unseen));
    ASSERT_TRUE(live.held());
    const unit_val::TempFolder other(dir.path());
    ASSERT_TRUE(other.ok());
    EXPECT_TRUE(fs::exists(unseen / "image")) << "a live run's images were removed";
  }
  {
    const unit_val::TempFolder next(dir.path());
    ASSERT_TRUE(next.ok());
    EXPECT_FALSE(fs::exists(unseen));
    EXPECT_FALSE(fs::exists(unit_val::TempFolderLockFile(unseen)));
    EXPECT_TRUE(fs::exists(unit_val::TempFolderLockFile(next.path())));
  }
  EXPECT_TRUE(fs::exists(users));
  fs::remove(users);
  EXPECT_TRUE(fs::is_empty(dir.path())) << "a temp folder or its lock file was left";
}
