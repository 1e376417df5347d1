// quillon-cli undo takes the last run into a folder back to the byte,
// touches nothing the run did not write, and changes nothing without a
// journal.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "tests/cli/run_cli.h"
#include "tests/support/paths.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;

const fs::path kPlan = fs::path(QUILLON_SOURCE_DIR) / "examples/PLAN.jww";

// Every entry of the folder (hidden ones included), name to size and hash
// of its bytes (short enough to show when two differ).
std::map<std::string, std::string> Files(const fs::path& folder, bool ours = true) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(folder)) {
    const std::string name = e.path().filename().string();
    if (!ours && name.starts_with(".quillon")) continue;
    const std::string bytes = ReadFileBytes(e.path());
    files[name] =
        std::to_string(bytes.size()) + ":" + std::to_string(std::hash<std::string>{}(bytes));
  }
  return files;
}

class Undo : public ::testing::Test {
 protected:
  // Sources A to D; in the destination a former A with an older A.BAK, a
  // former B, only a C.BAK, nothing for D.
  Undo() {
    fs::create_directories(in_);
    fs::create_directories(out_);
    for (const char* name : {"A.jww", "B.jww", "C.jww", "D.jww"}) fs::copy_file(kPlan, in_ / name);
    WriteFileBytes(out_ / "A.jww", "former A");
    WriteFileBytes(out_ / "A.BAK", "older A");
    WriteFileBytes(out_ / "B.jww", "former B");
    WriteFileBytes(out_ / "C.BAK", "older C");
  }
  cli_test::RunResult Convert() {
    return cli_test::RunCli({"convert", "--dest", out_.string(), in_.string()});
  }
  cli_test::RunResult RunUndo(bool json = false) {
    return json ? cli_test::RunCli({"undo", "--json", out_.string()})
                : cli_test::RunCli({"undo", out_.string()});
  }

  ScratchDir dir_;
  const fs::path in_ = dir_ / "in", out_ = dir_ / "out";
};

TEST_F(Undo, PutsTheFolderBackToTheByteAndOnlyOneRunBack) {
  const auto before = Files(out_);
  ASSERT_EQ(Convert().exitCode, 0);
  ASSERT_NE(Files(out_), before);
  const auto undone = RunUndo();
  EXPECT_EQ(undone.exitCode, 0) << undone.err;
  EXPECT_EQ(Files(out_), before);
  EXPECT_NE(undone.out.find("restored " + (out_ / "A.jww").string()), std::string::npos);
  EXPECT_NE(undone.out.find("removed " + (out_ / "D.jww").string()), std::string::npos);
  EXPECT_NE(undone.out.find("2 restored, 2 removed, 0 left alone"), std::string::npos)
      << undone.out;

  // Two runs: undo takes back the second only, and the first's older
  // backups kept aside are gone once the second's journal replaced them.
  ASSERT_EQ(Convert().exitCode, 0);
  const auto afterFirst = Files(out_, false);
  ASSERT_EQ(Convert().exitCode, 0);
  EXPECT_EQ(RunUndo().exitCode, 0);
  EXPECT_EQ(Files(out_), afterFirst);
  // Nothing left to undo now: said so, and nothing changes.
  const auto again = RunUndo();
  EXPECT_EQ(again.exitCode, 2);
  EXPECT_NE(again.err.find("holds no run to undo"), std::string::npos) << again.err;
  EXPECT_EQ(Files(out_), afterFirst);
}

TEST_F(Undo, LeavesAChangedOutputOrBackupAloneAndNamesIt) {
  ASSERT_EQ(Convert().exitCode, 0);
  WriteFileBytes(out_ / "A.jww", "edited after the run");
  WriteFileBytes(out_ / "B.BAK", "edited backup");
  fs::remove(out_ / "D.jww");
  const auto bytesB = ReadFileBytes(out_ / "B.jww");
  const auto undone = RunUndo(true);
  EXPECT_EQ(undone.exitCode, 1);
  EXPECT_EQ(undone.errLines().size(), 2u) << undone.err;
  EXPECT_NE(undone.err.find("A.jww: changed since the run"), std::string::npos) << undone.err;
  EXPECT_NE(undone.err.find("B.BAK changed since the run"), std::string::npos) << undone.err;
  EXPECT_NE(undone.out.find("\"changed_since_run\""), std::string::npos) << undone.out;
  EXPECT_NE(undone.out.find("\"restored\": 0, \"removed\": 2, \"left_alone\": 2"),
            std::string::npos)
      << undone.out;
  EXPECT_EQ(ReadFileBytes(out_ / "A.jww"), "edited after the run");
  EXPECT_EQ(ReadFileBytes(out_ / "A.BAK"), "former A");
  EXPECT_EQ(ReadFileBytes(out_ / "B.jww"), bytesB);
  EXPECT_EQ(ReadFileBytes(out_ / "C.BAK"), "older C");
  EXPECT_FALSE(fs::exists(out_ / "C.jww"));
  // Put right, the journal that stayed finishes the job.
  WriteFileBytes(out_ / "B.BAK", "former B");
  WriteFileBytes(out_ / "A.jww", ReadFileBytes(out_ / "B.jww"));  // replaced by another output
  EXPECT_EQ(RunUndo().exitCode, 0);
  EXPECT_EQ(ReadFileBytes(out_ / "A.jww"), "former A");
  EXPECT_EQ(ReadFileBytes(out_ / "A.BAK"), "older A");
  EXPECT_EQ(ReadFileBytes(out_ / "B.jww"), "former B");
  EXPECT_FALSE(fs::exists(out_ / ".quillon.undo"));
}

TEST_F(Undo, AFolderWithoutAJournalChangesNothing) {
  const auto before = Files(out_);
  const auto undone = RunUndo(true);
  EXPECT_EQ(undone.exitCode, 2);
  EXPECT_EQ(undone.errLines().size(), 1u);
  EXPECT_NE(undone.out.find("\"no_undo_journal\""), std::string::npos) << undone.out;
  EXPECT_EQ(Files(out_), before);
}

}  // namespace
