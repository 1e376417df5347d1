#include "conversion/convert_file.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "conversion/backup.h"
#include "drawing/jww_loader.h"
#include "drawing/jww_writer.h"
#include "tests/conversion/conversion_fixture.h"
#include "tests/support/held_open.h"
#include "tests/support/paths.h"
#include "tests/support/synthetic.h"

namespace {

namespace fs = std::filesystem;
using conversion_test::MakeDrawing;
using conversion_test::TextLike;
using synthetic::DimensionWith;
using synthetic::LoadDrawing;
using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;
using unit_val::ConvertStage;

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> out;
  for (const auto& entry : fs::directory_iterator(folder)) {
    out.insert(entry.path().filename().string());
  }
  return out;
}

// Free-size texts that fit: type 1 at top level, type 2 as a top-level
// dimension's value, type 3 in a block definition, type 4 as the value of a
// block definition's dimension. Beside them a free-size text that fits no
// type and a typed text with type 5's sizes.
jww::Drawing MakeLayeredDrawing(std::int32_t version = 600) {
  jww::Drawing d = MakeDrawing(version);
  synthetic::Add(d.top, synthetic::MakeLine(d.header.version, 1));
  synthetic::Add(d.top, TextLike(1, 0, 1));
  jww::TEntMoji odd = TextLike(1, 0, 1);
  odd.width = 99;
  synthetic::Add(d.top, odd);
  synthetic::Add(d.top, TextLike(5, 2, 5));
  synthetic::Add(d.top, DimensionWith(TextLike(2, 0, 2)));
  jww::TEntBlockDef& def = synthetic::AddBlockDefinition(d, 1, false);
  synthetic::Add(def.entities, synthetic::MakeLine(d.header.version, 2));
  synthetic::Add(def.entities, TextLike(3, 10000, 3));
  synthetic::Add(def.entities, DimensionWith(TextLike(4, 0, 4)));
  synthetic::UpdateCounts(d);
  return d;
}

class ConvertFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(src());
    fs::create_directory(dst());
    ASSERT_TRUE(temp.ok()) << temp.error();
  }

  // Every source file stays byte for byte as it was written.
  void TearDown() override {
    for (const auto& [path, bytes] : sources) {
      EXPECT_EQ(ReadFileBytes(path), bytes) << path;
    }
  }

  fs::path src() const { return dir / "src"; }
  fs::path dst() const { return dir / "dst"; }

  fs::path MakeSource(const std::string& name, jww::Drawing d) {
    const fs::path path = src() / name;
    synthetic::SaveDrawing(d, path);
    sources[path] = ReadFileBytes(path);
    return path;
  }

  unit_val::ConvertOutcome Convert(const fs::path& source, const fs::path& destination,
                                   bool dryRun = false) {
    const unit_val::ConvertContext context{drawing, &temp, dryRun};
    unit_val::ConvertOutcome outcome =
        unit_val::ConvertFile(source, destination, settings, context);
    // The tables are empty and no image file is left, whatever happened.
    EXPECT_TRUE(drawing.top.texts.empty());
    EXPECT_TRUE(drawing.blockDefs.empty());
    EXPECT_TRUE(drawing.header.textTypes.empty());
    EXPECT_TRUE(fs::is_empty(temp.path()));
    return outcome;
  }

  ScratchDir dir;
  unit_val::TempFolder temp;
  jww::Drawing drawing;
  unit_val::ConversionSettings settings;
  std::map<fs::path, std::string> sources;
};

TEST_F(ConvertFileTest, NoDestinationFileGivesTheConvertedFileAndNoBackup) {
  const fs::path source = MakeSource("PLAN.JWW", MakeLayeredDrawing());
  const unit_val::ConvertOutcome outcome = Convert(source, dst() / "PLAN.JWW");
  ASSERT_TRUE(outcome.converted()) << unit_val::EnglishText(outcome.failure);
  EXPECT_FALSE(outcome.backupMade);
  EXPECT_EQ(outcome.version, 600);
  EXPECT_EQ(outcome.counts.retyped[0], 1);
  EXPECT_EQ(outcome.counts.TotalRetyped(), 1);
  EXPECT_EQ(outcome.counts.leftFreeSize, 1);
  EXPECT_EQ(Names(dst()), std::set<std::string>{"PLAN.JWW"});

  const jww::Drawing out = LoadDrawing(dst() / "PLAN.JWW");
  EXPECT_EQ(out.top.texts[0].textType, 1u);
  EXPECT_EQ(out.top.texts[1].textType, 0u);
  EXPECT_EQ(out.top.texts[2].textType, 2u);
}

TEST_F(ConvertFileTest, ExistingFileBecomesTheBackupReplacingTheOlderOne) {
  const fs::path source = MakeSource("PLAN.JWW", MakeLayeredDrawing());
  WriteFileBytes(dst() / "PLAN.JWW", "former drawing");
  WriteFileBytes(dst() / "PLAN.BAK", "older backup");
  const unit_val::ConvertOutcome outcome = Convert(source, dst() / "PLAN.JWW");
  ASSERT_TRUE(outcome.converted()) << unit_val::EnglishText(outcome.failure);
  EXPECT_TRUE(outcome.backupMade);
  EXPECT_EQ(ReadFileBytes(dst() / "PLAN.BAK"), "former drawing");
  EXPECT_EQ(LoadDrawing(dst() / "PLAN.JWW").top.texts[0].textType, 1u);
  EXPECT_EQ(Names(dst()), (std::set<std::string>{"PLAN.BAK", "PLAN.JWW"}));
}

TEST_F(ConvertFileTest, SourceThatFailsToLoadChangesNothing) {
  jww::Drawing d = MakeLayeredDrawing(700);
  synthetic::AddImage(d, dir.path(), jww::JwwString::narrow("pic.bmp"), 3000);
  synthetic::AddImage(d, dir.path(), jww::JwwString::narrow("b.bmp"), 10, 1);
  const std::string whole = ReadFileBytes(MakeSource("GOOD.JWW", std::move(d)));
  // Cut inside the first image's bytes: the loader has begun extracting it
  // when it fails on the second image's entry.
  const fs::path cut = src() / "CUT.JWW";
  WriteFileBytes(cut, whole.substr(0, whole.size() - 100));
  sources[cut] = ReadFileBytes(cut);
  WriteFileBytes(dst() / "CUT.JWW", "former drawing");

  for (const fs::path& source : {cut, src() / "MISSING.JWW"}) {
    const unit_val::ConvertOutcome outcome = Convert(source, dst() / "CUT.JWW");
    EXPECT_EQ(outcome.failedStage, ConvertStage::kLoad);
    EXPECT_FALSE(unit_val::EnglishText(outcome.failure).empty());
    if (source != cut) {
      EXPECT_EQ(outcome.failure.code, unit_val::Reason::kCannotOpenSource);
    }
    EXPECT_EQ(ReadFileBytes(dst() / "CUT.JWW"), "former drawing");
    EXPECT_EQ(Names(dst()), std::set<std::string>{"CUT.JWW"});
  }
}

TEST_F(ConvertFileTest, DimensionAndBlockFlagsInAllFourCombinations) {
  const fs::path source = MakeSource("PLAN.JWW", MakeLayeredDrawing());
  struct Case {
    int dimensionFlag, blockFlag;
    std::uint32_t topValue, blockText, blockValue;
  };
  for (const Case c : {Case{0, 0, 0, 10000, 0}, Case{1, 0, 2, 10000, 0}, Case{0, 1, 0, 10003, 0},
                       Case{1, 1, 2, 10003, 4}}) {
    SCOPED_TRACE(testing::Message()
                 << "flag 11 = " << c.dimensionFlag << ", flag 12 = " << c.blockFlag);
    settings.Flag(11) = c.dimensionFlag;
    settings.Flag(12) = c.blockFlag;
    const unit_val::ConvertOutcome outcome = Convert(source, dst() / "PLAN.JWW");
    ASSERT_TRUE(outcome.converted()) << unit_val::EnglishText(outcome.failure);
    const jww::Drawing out = LoadDrawing(dst() / "PLAN.JWW");
    EXPECT_EQ(out.top.texts[0].textType, 1u);
    EXPECT_EQ(out.top.texts[2].textType, 2u);
    EXPECT_EQ(out.top.dimensions[0].valueText.textType, c.topValue);
    EXPECT_EQ(out.blockDefs[0].entities.texts[0].textType, c.blockText);
    EXPECT_EQ(out.blockDefs[0].entities.dimensions[0].valueText.textType, c.blockValue);
    EXPECT_EQ(outcome.counts.TotalRetyped(),
              1 + (c.topValue != 0) + (c.blockText != 10000) + (c.blockValue != 0));
    // By where they stand: top level, top-level dimension values, in blocks.
    const std::array<int, unit_val::kTextScopeCount> byScope = {
        1, c.topValue != 0, (c.blockText != 10000) + (c.blockValue != 0)};
    EXPECT_EQ(outcome.counts.retypedIn, byScope);
  }
}

TEST_F(ConvertFileTest, NothingToConvertIsStillWrittenAndBackedUp) {
  jww::Drawing d = MakeDrawing();
  synthetic::Add(d.top, synthetic::MakeLine(d.header.version, 1));
  synthetic::Add(d.top, TextLike(3, 3, 3));
  synthetic::UpdateCounts(d);
  const fs::path source = MakeSource("PLAN.JWW", d);
  WriteFileBytes(dst() / "PLAN.JWW", "former drawing");
  const unit_val::ConvertOutcome outcome = Convert(source, dst() / "PLAN.JWW");
  ASSERT_TRUE(outcome.converted()) << unit_val::EnglishText(outcome.failure);
  EXPECT_EQ(outcome.counts, unit_val::SweepCounts{});
  EXPECT_TRUE(outcome.backupMade);
  EXPECT_EQ(ReadFileBytes(dst() / "PLAN.BAK"), "former drawing");
  EXPECT_EQ(ReadFileBytes(dst() / "PLAN.JWW"), ReadFileBytes(source));
}

TEST_F(ConvertFileTest, FailedSaveLeavesNoFileAndNoImageFiles) {
  jww::Drawing d = MakeLayeredDrawing(700);
  synthetic::AddImage(d, dir.path(), jww::JwwString::narrow("pic.bmp"), 5000);
  const fs::path source = MakeSource("PLAN.JWW", std::move(d));

  // A destination folder that does not exist.
  unit_val::ConvertOutcome outcome = Convert(source, dir / "absent" / "PLAN.JWW");
  EXPECT_EQ(outcome.failedStage, ConvertStage::kSave);
  EXPECT_FALSE(unit_val::EnglishText(outcome.failure).empty());
  EXPECT_FALSE(fs::exists(dir / "absent"));

  // A destination that is a folder.
  fs::create_directory(dst() / "PLAN.JWW");
  WriteFileBytes(dst() / "PLAN.JWW" / "inside", "x");
  outcome = Convert(source, dst() / "PLAN.JWW");
  EXPECT_EQ(outcome.failedStage, ConvertStage::kSave);
  EXPECT_EQ(Names(dst()), std::set<std::string>{"PLAN.JWW"});
  EXPECT_EQ(ReadFileBytes(dst() / "PLAN.JWW" / "inside"), "x");
}

TEST_F(ConvertFileTest, BackupFailureLeavesTheDestinationAsItWas) {
  const fs::path source = MakeSource("PLAN.JWW", MakeLayeredDrawing());
  WriteFileBytes(dst() / "PLAN.JWW", "former drawing");
  fs::create_directory(dst() / "PLAN.BAK");
  WriteFileBytes(dst() / "PLAN.BAK" / "inside", "x");
  const unit_val::ConvertOutcome outcome = Convert(source, dst() / "PLAN.JWW");
  EXPECT_EQ(outcome.failedStage, ConvertStage::kBackup);
  EXPECT_FALSE(unit_val::EnglishText(outcome.failure).empty());
  EXPECT_EQ(ReadFileBytes(dst() / "PLAN.JWW"), "former drawing");
  EXPECT_EQ(Names(dst()), (std::set<std::string>{"PLAN.BAK", "PLAN.JWW"}));
  EXPECT_EQ(Names(dst() / "PLAN.BAK"), std::set<std::string>{"inside"});
}

TEST_F(ConvertFileTest, DestinationThatIsTheSourceIsRefused) {
  const fs::path source = MakeSource("PLAN.JWW", MakeLayeredDrawing());
  std::vector<fs::path> destinations = {source};
  // Another letter case names the same folder where the file system ignores case.
  if (fs::exists(dir / "SRC")) destinations.push_back(dir / "SRC" / "PLAN.JWW");
  if (testing_support::LinkFolder(src(), dir / "same")) {
    destinations.push_back(dir / "same" / "PLAN.JWW");
  }
  for (const fs::path& destination : destinations) {
    const unit_val::ConvertOutcome outcome = Convert(source, destination);
    EXPECT_EQ(outcome.failedStage, ConvertStage::kBackup);
    EXPECT_EQ(Names(src()), std::set<std::string>{"PLAN.JWW"});
  }
}

// Deep project folders on shares: far beyond the 260 characters that Windows
// takes by default.
TEST_F(ConvertFileTest, DestinationPathsBeyondTheWindowsDefaultLimitConvert) {
  fs::path deep = dst();
  for (char c = 'a'; c < 'l'; ++c) deep /= std::string(30, c);
  fs::create_directories(deep);
  const fs::path destination = deep / "PLAN.JWW";
  ASSERT_GT(destination.native().size(), 340u);
  const fs::path source = MakeSource("PLAN.JWW", MakeLayeredDrawing());
  for (int run = 0; run < 2; ++run) {
    const unit_val::ConvertOutcome outcome = Convert(source, destination);
    ASSERT_TRUE(outcome.converted()) << unit_val::EnglishText(outcome.failure);
    EXPECT_EQ(outcome.backupMade, run == 1);
  }
  EXPECT_EQ(LoadDrawing(destination).top.texts[0].textType, 1u);
  EXPECT_EQ(ReadFileBytes(deep / "PLAN.BAK"), ReadFileBytes(destination));
}

#ifdef _WIN32
// A drawing open in Jw_cad may be held without sharing: the file fails with
// that reason and nothing changes.
TEST_F(ConvertFileTest, FilesHeldOpenByAnotherProgramFailSayingSoAndChangeNothing) {
  const fs::path source = MakeSource("PLAN.JWW", MakeLayeredDrawing());
  WriteFileBytes(dst() / "PLAN.JWW", "former drawing");
  for (const fs::path& held : {dst() / "PLAN.JWW", source}) {
    SCOPED_TRACE(held.string());
    const testing_support::HeldOpen open(held);
    ASSERT_TRUE(open.held());
    const unit_val::ConvertOutcome outcome = Convert(source, dst() / "PLAN.JWW");
    EXPECT_EQ(outcome.failedStage, held == source ? ConvertStage::kLoad : ConvertStage::kBackup);
    EXPECT_NE(unit_val::EnglishText(outcome.failure).find("in use by another program"),
              std::string::npos)
        << unit_val::EnglishText(outcome.failure);
  }
  EXPECT_EQ(ReadFileBytes(dst() / "PLAN.JWW"), "former drawing");
  EXPECT_EQ(Names(dst()), std::set<std::string>{"PLAN.JWW"});
}
#endif

TEST_F(ConvertFileTest, DryRunClassifiesAndWritesNothing) {
  const fs::path source = MakeSource("PLAN.JWW", MakeLayeredDrawing());
  WriteFileBytes(dst() / "PLAN.JWW", "former drawing");
  settings.Flag(11) = 1;
  const unit_val::ConvertOutcome outcome = Convert(source, dst() / "PLAN.JWW", true);
  ASSERT_TRUE(outcome.converted()) << unit_val::EnglishText(outcome.failure);
  EXPECT_EQ(outcome.counts.retyped[0], 1);
  EXPECT_EQ(outcome.counts.retyped[1], 1);
  EXPECT_FALSE(outcome.backupMade);
  EXPECT_EQ(Names(dst()), std::set<std::string>{"PLAN.JWW"});
  EXPECT_EQ(ReadFileBytes(dst() / "PLAN.JWW"), "former drawing");
}

TEST_F(ConvertFileTest, ImagesTravelThroughThePrivateTempFolder) {
  jww::Drawing d = MakeLayeredDrawing(700);
  synthetic::AddImage(d, dir.path(), jww::JwwString::narrow("pic.bmp"), 70000, 3);
  const fs::path source = MakeSource("PLAN.JWW", std::move(d));
  const unit_val::ConvertOutcome outcome = Convert(source, dst() / "PLAN.JWW");
  ASSERT_TRUE(outcome.converted()) << unit_val::EnglishText(outcome.failure);

  jww::Drawing out;
  unit_val::TempFolder check;
  out.imageOptions.tempFolder = check.path();
  ASSERT_TRUE(jww::LoadJww(out, dst() / "PLAN.JWW"));
  ASSERT_EQ(out.images.size(), 1u);
  EXPECT_EQ(out.images[0].name.bytes, "pic.bmp");
  EXPECT_EQ(ReadFileBytes(out.images[0].tempFile), synthetic::ImageBytes(3, 70000));
#ifndef _WIN32
  // Other users of the machine can neither list the folder nor read an image.
  EXPECT_EQ(fs::status(check.path()).permissions() & fs::perms::all, fs::perms::owner_all);
  EXPECT_EQ(fs::status(out.images[0].tempFile).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
#endif
}

TEST_F(ConvertFileTest, ACopyCutInsideAnImageFailsAsCutShortAndWritesNothing) {
  jww::Drawing d = MakeLayeredDrawing(700);
  synthetic::AddImage(d, dir.path(), jww::JwwString::narrow("pic.bmp"), 70000, 3);
  const fs::path whole = MakeSource("WHOLE.JWW", std::move(d));
  const std::string bytes = ReadFileBytes(whole);
  WriteFileBytes(src() / "PLAN.JWW", bytes.substr(0, bytes.size() - 35000));
  const unit_val::ConvertOutcome outcome = Convert(src() / "PLAN.JWW", dst() / "PLAN.JWW");
  EXPECT_EQ(outcome.failedStage, ConvertStage::kLoad);
  EXPECT_EQ(outcome.failure.code, unit_val::Reason::kImageCutShort);
  EXPECT_NE(unit_val::EnglishText(outcome.failure).find("is cut short"), std::string::npos)
      << unit_val::EnglishText(outcome.failure);
  EXPECT_TRUE(fs::is_empty(dst()));
}

TEST_F(ConvertFileTest, DrawingWithImagesFailsWithoutATempFolder) {
  jww::Drawing withImage = MakeLayeredDrawing(700);
  synthetic::AddImage(withImage, dir.path(), jww::JwwString::narrow("pic.bmp"), 100);
  const fs::path imaged = MakeSource("IMAGED.JWW", std::move(withImage));
  const fs::path plain = MakeSource("PLAIN.JWW", MakeLayeredDrawing(700));
  WriteFileBytes(dir / "file", "not a folder");
  const unit_val::TempFolder unusable(dir / "file");
  ASSERT_FALSE(unusable.ok());

  const std::vector<const unit_val::TempFolder*> folders = {&unusable, nullptr};
  for (const unit_val::TempFolder* folder : folders) {
    const unit_val::ConvertContext context{drawing, folder, false};
    const unit_val::ConvertOutcome failed =
        unit_val::ConvertFile(imaged, dst() / "IMAGED.JWW", settings, context);
    EXPECT_EQ(failed.failedStage, ConvertStage::kLoad);
    EXPECT_NE(unit_val::EnglishText(failed.failure).find("cannot extract images"),
              std::string::npos)
        << unit_val::EnglishText(failed.failure);
    EXPECT_FALSE(fs::exists(dst() / "IMAGED.JWW"));

    const unit_val::ConvertOutcome converted =
        unit_val::ConvertFile(plain, dst() / "PLAIN.JWW", settings, context);
    EXPECT_TRUE(converted.converted()) << unit_val::EnglishText(converted.failure);
  }
}

}  // namespace
