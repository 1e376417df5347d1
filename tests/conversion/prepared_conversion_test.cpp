// A conversion in two halves: the output is written beside the destination
// first, and only the second half touches the destination and its backup.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "conversion/convert_file.h"
#include "drawing/jww_writer.h"
#include "tests/conversion/conversion_fixture.h"
#include "tests/support/paths.h"
#include "tests/support/synthetic.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;
using unit_val::OutputSync;

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> out;
  for (const auto& entry : fs::directory_iterator(folder)) {
    out.insert(entry.path().filename().string());
  }
  return out;
}

class PreparedConversionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    jww::Drawing d = conversion_test::MakeDrawing(600);
    synthetic::Add(d.top, conversion_test::TextLike(1, 0, 1));
    synthetic::UpdateCounts(d);
    ASSERT_TRUE(jww::SaveJww(d, source_, 600).ok);
    fs::create_directory(destFolder_);
    WriteFileBytes(dest_, "the user's earlier file");
  }

  unit_val::PreparedConversion Prepare(OutputSync sync) {
    return unit_val::PrepareConversion(source_, dest_, settings_, context_, sync);
  }

  ScratchDir scratch_;
  fs::path source_ = scratch_ / "PLAN.JWW";
  fs::path destFolder_ = scratch_ / "out";
  fs::path dest_ = destFolder_ / "PLAN.JWW";
  unit_val::ConversionSettings settings_ = conversion_test::AnyColourSettings();
  jww::Drawing drawing_;
  unit_val::TempFolder temp_;
  unit_val::ConvertContext context_{drawing_, &temp_, false};
};

TEST_F(PreparedConversionTest, PreparingTouchesNeitherTheDestinationNorItsBackup) {
  for (OutputSync sync : {OutputSync::kNow, OutputSync::kByCaller}) {
    unit_val::PreparedConversion prepared = Prepare(sync);
    ASSERT_TRUE(prepared.outcome.converted()) << unit_val::EnglishText(prepared.outcome.failure);
    ASSERT_TRUE(prepared.output);
    EXPECT_EQ(prepared.outcome.counts.retyped[0], 1);
    EXPECT_EQ(ReadFileBytes(dest_), "the user's earlier file");
    EXPECT_EQ(Names(destFolder_).size(), 2u) << "the destination and one temporary";
    EXPECT_TRUE(drawing_.top.texts.empty()) << "the drawing is freed after preparing";
  }
  EXPECT_EQ(Names(destFolder_), std::set<std::string>{"PLAN.JWW"})
      << "dropped preparations leave nothing behind";
}

TEST_F(PreparedConversionTest, FinishingKeepsTheBackupAndPutsTheOutputInPlace) {
  unit_val::PreparedConversion prepared = Prepare(OutputSync::kByCaller);
  ASSERT_TRUE(prepared.output);
  ASSERT_TRUE(prepared.output->SyncClosed()) << prepared.output->error();
  const unit_val::ConvertOutcome outcome = unit_val::FinishConversion(prepared);
  ASSERT_TRUE(outcome.converted()) << unit_val::EnglishText(outcome.failure);
  EXPECT_TRUE(outcome.backupMade);
  EXPECT_EQ(ReadFileBytes(destFolder_ / "PLAN.BAK"), "the user's earlier file");
  EXPECT_EQ(Names(destFolder_), (std::set<std::string>{"PLAN.BAK", "PLAN.JWW"}));

  jww::Drawing expected;
  unit_val::ConvertContext context{expected, &temp_, false};
  const fs::path once = scratch_ / "once.jww";
  ASSERT_TRUE(unit_val::ConvertFile(source_, once, settings_, context).converted());
  EXPECT_EQ(ReadFileBytes(dest_), ReadFileBytes(once)) << "both paths write the same bytes";
}

TEST_F(PreparedConversionTest, AFailedPreparationFinishesAsThatFailureAndChangesNothing) {
  WriteFileBytes(source_, ReadFileBytes(source_).substr(0, 100));
  unit_val::PreparedConversion prepared = Prepare(OutputSync::kByCaller);
  EXPECT_FALSE(prepared.output);
  const unit_val::ConvertOutcome outcome = unit_val::FinishConversion(prepared);
  EXPECT_EQ(outcome.failedStage, unit_val::ConvertStage::kLoad);
  EXPECT_EQ(Names(destFolder_), std::set<std::string>{"PLAN.JWW"});
  EXPECT_EQ(ReadFileBytes(dest_), "the user's earlier file");
}

}  // namespace
