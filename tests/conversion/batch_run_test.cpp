// The one batch run: every chosen file reported once, in order, through the
// observer; a stop heard between moves; a folder another run writes into
// left alone.
#include "conversion/batch_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "conversion/destination_lock.h"
#include "platform/file_lock.h"
#include "tests/support/paths.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;
using unit_val::FileStatus;
using unit_val::Reason;

const fs::path kPlan = fs::path(QUILLON_SOURCE_DIR) / "examples/PLAN.jww";

struct Recorder : unit_val::BatchObserver {
  void FileStarting(std::size_t index, std::size_t total, const fs::path& source,
                    const fs::path&) override {
    started.push_back(std::to_string(index) + "/" + std::to_string(total) + " " +
                      source.filename().string());
    if (index == 0 && onFirstStart) onFirstStart();
  }
  void FileDone(const unit_val::FileResult& result) override {
    done.push_back(result);
    if (stopAfter && done.size() == stopAfter) stop->Request(15);
  }
  std::vector<std::string> started;
  std::vector<unit_val::FileResult> done;
  std::size_t stopAfter = 0;
  unit_val::StopToken* stop = nullptr;
  std::function<void()> onFirstStart;
};

class BatchRun : public ::testing::Test {
 protected:
  unit_val::BatchReport Run(const std::vector<fs::path>& names, Recorder& recorder) {
    unit_val::BatchRequest request{unit_val::ChooseNamedFiles(in_, names, out_), out_};
    request.lockWait = std::chrono::milliseconds(200);
    recorder.stop = &stop_;
    return unit_val::RunBatch(request, {}, stop_, recorder);
  }

  ScratchDir dir_;
  fs::path in_ = dir_ / "in", out_ = dir_ / "out";
  unit_val::StopToken stop_;
};

TEST_F(BatchRun, ReportsEveryRowOnceInOrderAndSkipsWhatIsNoDrawing) {
  fs::create_directories(in_);
  fs::copy_file(kPlan, in_ / "A.jww");
  WriteFileBytes(in_ / "B.JWW", "not a drawing at all");
  WriteFileBytes(in_ / "C.txt", "text");
  Recorder recorder;
  const auto report = Run({"C.txt", "A.jww", "B.JWW", "D.jww"}, recorder);

  ASSERT_FALSE(report.refused()) << unit_val::EnglishText(report.refusal);
  EXPECT_EQ(recorder.started, (std::vector<std::string>{"0/3 A.jww", "1/3 B.JWW", "2/3 D.jww"}));
  ASSERT_EQ(recorder.done.size(), 4u);
  const auto& files = recorder.done;
  EXPECT_EQ(files[0].status, FileStatus::kSkipped);
  EXPECT_EQ(files[0].failure.code, Reason::kNotJwwFile);
  EXPECT_EQ(files[1].status, FileStatus::kConverted);
  EXPECT_EQ(files[1].destination, out_ / "A.jww");
  EXPECT_EQ(files[2].status, FileStatus::kSkipped) << "no signature: skipped, as by the CLI";
  EXPECT_EQ(files[2].failure.code, Reason::kNoSignature);
  EXPECT_EQ(files[3].status, FileStatus::kFailed) << "gone since the listing";
  EXPECT_EQ(files[3].stage, unit_val::ConvertStage::kLoad);
  EXPECT_EQ(files[3].failure.code, Reason::kCannotOpenSource);
  EXPECT_FALSE(unit_val::EnglishText(files[3].failure).empty());

  EXPECT_EQ(report.totals.converted, 1);
  EXPECT_EQ(report.totals.skipped, 2);
  EXPECT_EQ(report.totals.failed, 1);
  EXPECT_EQ(report.totals.retyped, files[1].counts);
  const auto& in = files[1].counts.retypedIn;
  EXPECT_EQ(in[0] + in[1] + in[2], files[1].counts.TotalRetyped());
  EXPECT_EQ(testing_support::SortedNames(out_),
            (std::vector<std::string>{".quillon.undo", "A.jww"}))
      << "no lock or temporary stays, only the run's undo journal";
}

TEST_F(BatchRun, AStopDuringTheMovesEndsThemBetweenFiles) {
  fs::create_directories(in_);
  fs::create_directories(out_);
  std::vector<fs::path> names;
  for (const char* name : {"A.jww", "B.jww", "C.jww", "D.jww"}) {
    fs::copy_file(kPlan, in_ / name);
    WriteFileBytes(out_ / name, std::string("old ") + name);
    names.push_back(name);
  }
  Recorder recorder;
  recorder.stopAfter = 1;  // asked for as the first file is moved into place
  const auto report = Run(names, recorder);

  EXPECT_EQ(report.stoppedBy, 15);
  EXPECT_EQ(report.planned, 4u);
  EXPECT_EQ(report.done, 1u);
  ASSERT_EQ(recorder.done.size(), 1u);
  EXPECT_EQ(ReadFileBytes(out_ / "A.BAK"), "old A.jww");
  EXPECT_TRUE(ReadFileBytes(out_ / "A.jww").starts_with("JwwData."));
  for (const char* name : {"B", "C", "D"}) {
    EXPECT_EQ(ReadFileBytes(out_ / (std::string(name) + ".jww")),
              std::string("old ") + name + ".jww")
        << "moved after the stop";
    EXPECT_FALSE(fs::exists(out_ / (std::string(name) + ".BAK")));
  }
  EXPECT_EQ(testing_support::SortedNames(out_).size(), 6u) << "a temporary stayed";
  EXPECT_TRUE(fs::exists(out_ / ".quillon.undo")) << "the file moved before the stop can be undone";
}

TEST_F(BatchRun, RefusesAFolderAnotherRunWritesIntoAndWritesNothing) {
  fs::create_directories(in_);
  fs::create_directories(out_);
  fs::copy_file(kPlan, in_ / "A.jww");
  WriteFileBytes(out_ / "A.jww", "the other run's fresh output");
  const platform::FileLock other = platform::FileLock::TryTake(out_ / unit_val::kLockFileName);
  ASSERT_TRUE(other.held());

  Recorder recorder;
  const auto report = Run({"A.jww"}, recorder);
  EXPECT_EQ(report.refusal.code, Reason::kDestinationLocked);
  EXPECT_NE(unit_val::EnglishText(report.refusal).find("another run is writing into the folder"),
            std::string::npos);
  EXPECT_TRUE(recorder.done.empty() && recorder.started.empty());
  EXPECT_EQ(testing_support::SortedNames(out_),
            (std::vector<std::string>{unit_val::kLockFileName, "A.jww"}));
  EXPECT_EQ(ReadFileBytes(out_ / "A.jww"), "the other run's fresh output");
}

// A folder the run makes (--recursive) is locked as it is made: one that
// another run made and holds meanwhile refuses this run, as a folder that
// stood before it does.
TEST_F(BatchRun, AFolderAnotherRunMadeMeanwhileRefusesTheRun) {
  fs::create_directories(in_);
  fs::create_directories(out_);
  fs::copy_file(kPlan, in_ / "A.jww");
  fs::copy_file(kPlan, in_ / "B.jww");
  WriteFileBytes(out_ / "A.jww", "the former file");
  unit_val::BatchRequest request;
  request.selection.chosen = {{in_ / "A.jww", out_ / "A.jww"}, {in_ / "B.jww", out_ / "sub/B.jww"}};
  request.destinationFolder = out_;
  request.jobs = 1;  // prepared when taken, after FileStarting
  request.lockWait = std::chrono::milliseconds(100);
  platform::FileLock other;
  struct Observer : unit_val::BatchObserver {
    std::function<void()> second;
    void FileStarting(std::size_t index, std::size_t, const fs::path&, const fs::path&) override {
      if (index == 1) second();
    }
  } observer;
  observer.second = [&] {
    fs::create_directories(out_ / "sub");
    other = platform::FileLock::TryTake(out_ / "sub" / unit_val::kLockFileName);
  };
  unit_val::StopToken stop;
  const auto report = unit_val::RunBatch(request, {}, stop, observer);
  ASSERT_TRUE(other.held());
  EXPECT_EQ(report.refusal.code, Reason::kDestinationLocked)
      << unit_val::EnglishText(report.refusal);
  EXPECT_NE(unit_val::EnglishText(report.refusal).find("another run is writing into the folder"),
            std::string::npos);
  EXPECT_TRUE(report.files.empty());
  EXPECT_EQ(testing_support::SortedNames(out_ / "sub"),
            std::vector<std::string>{unit_val::kLockFileName});
  EXPECT_EQ(ReadFileBytes(out_ / "A.jww"), "the former file") << "nothing of the run moved";
  EXPECT_EQ(testing_support::SortedNames(out_), (std::vector<std::string>{"A.jww", "sub"}));
}

}  // namespace
