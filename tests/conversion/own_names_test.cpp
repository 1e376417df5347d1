// Names of our own in a user's folder: a run removes only the lock file and
// the temporaries that it, or a run like it, made; never a user's file that
// carries such a name, and never a file the run reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "conversion/batch_run.h"
#include "conversion/destination_lock.h"
#include "platform/file_io.h"
#include "platform/file_lock.h"
#include "tests/support/paths.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;

const fs::path kPlan = fs::path(QUILLON_SOURCE_DIR) / "examples/PLAN.jww";

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class OwnNames : public ::testing::Test {
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
  std::string Temporary() const {
    return ".quillon-" + fs::path(platform::UniqueSuffix()).string() + ".tmp";
  }

  ScratchDir dir_;
  fs::path in_ = dir_ / "in", out_ = dir_ / "out";
};

TEST_F(OwnNames, AUsersLockNamedFileStaysAndALockOfOursGoes) {
  WriteFileBytes(out_ / unit_val::kLockFileName, "my own notes");
  auto report = Run();
  ASSERT_FALSE(report.refused()) << report.refusalText;
  EXPECT_EQ(report.totals.converted, 1);
  EXPECT_EQ(ReadFileBytes(out_ / unit_val::kLockFileName), "my own notes");

  // One that a killed run left holds our text: the next run removes it.
  WriteFileBytes(out_ / unit_val::kLockFileName, std::string(platform::kLockFileText));
  report = Run();
  EXPECT_EQ(report.totals.converted, 1);
  EXPECT_EQ(Names(out_), (std::vector<std::string>{"A.BAK", "A.jww"}));
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
    ASSERT_FALSE(report.refused()) << report.refusalText;
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
  WriteFileBytes(out_ / killed, "JwwData.\x5e\x02\x00\x00 half written");
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
  EXPECT_EQ(Names(out_).size(), users.size() + 3) << "A.jww, the user's text, the folder";
}

}  // namespace
