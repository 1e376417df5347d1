// The real Jw_cad drawings: every one loads, saves in its own version to a
// file that loads to the same tables, and every byte that differs from the
// source is one a named writer rule decides.
#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <set>

#include "drawing/jww_loader.h"
#include "drawing/jww_writer.h"
#include "tests/drawing/as_written.h"
#include "tests/drawing/drawing_diff.h"
#include "tests/drawing/file_map.h"
#include "tests/support/paths.h"

namespace {

using namespace jww;
using namespace drawing_test;

TEST(Samples, AllSeventeenLoad) {
  QUILLON_REQUIRE_SAMPLES();
  const auto files = testing_support::SampleDrawings();
  EXPECT_EQ(files.size(), 17u);
  testing_support::ScratchDir temp;
  for (const auto& file : files) {
    SCOPED_TRACE(file.filename().string());
    Drawing d;
    d.imageOptions.tempFolder = temp.path();
    const LoadResult r = LoadJww(d, file);
    EXPECT_TRUE(r.ok()) << r.error;
    EXPECT_TRUE(d.header.version == 600 || d.header.version == 700);
    // Strings of version-700 drawings are all in UTF-16 form.
    EXPECT_EQ(d.header.memo.wide, d.header.version >= 700);
    d.DeleteImageFiles();
  }
}

struct Counts {
  std::size_t lines, arcs, points, texts, solids;
};

TEST(Samples, EntityCountsMatchAnIndependentReader) {
  QUILLON_REQUIRE_SAMPLES();
  const std::map<std::string, Counts> known = {
      {"Test1.jww", {1642, 4, 4, 36, 0}},
      {"Test2.jww", {38, 4, 6, 23, 0}},
      {"Test7.jww", {4083, 5, 26, 93, 0}},
      {"Ａマンション平面例.jww", {1394, 215, 10, 56, 79}},
  };
  std::size_t checked = 0;
  for (const auto& file : testing_support::SampleDrawings()) {
    const auto it = known.find(file.filename().string());
    if (it == known.end()) continue;
    SCOPED_TRACE(it->first);
    Drawing d;
    ASSERT_TRUE(LoadJww(d, file).ok());
    EXPECT_EQ(d.top.lines.size(), it->second.lines);
    EXPECT_EQ(d.top.arcs.size(), it->second.arcs);
    EXPECT_EQ(d.top.points.size(), it->second.points);
    EXPECT_EQ(d.top.texts.size(), it->second.texts);
    EXPECT_EQ(d.top.solids.size(), it->second.solids);
    ++checked;
  }
  EXPECT_EQ(checked, known.size());
  for (const auto& file : testing_support::SampleDrawings()) {
    if (file.parent_path().filename() != "v700-blocks") continue;
    SCOPED_TRACE(file.filename().string());
    Drawing d;
    ASSERT_TRUE(LoadJww(d, file).ok());
    std::size_t texts = d.top.texts.size();
    for (const auto& def : d.blockDefs) texts += def.entities.texts.size();
    EXPECT_EQ(texts, 6u);
    if (file.filename() == "non_block.jww") {
      EXPECT_TRUE(d.blockDefs.empty());
    } else {
      EXPECT_GE(d.blockDefs.size(), 1u);
      EXPECT_LE(d.blockDefs.size(), 2u);
    }
  }
}

TEST(Samples, SaveLoadsToTheSameTablesAndEveryChangedByteIsARulesField) {
  QUILLON_REQUIRE_SAMPLES();
  testing_support::ScratchDir out;
  std::map<std::string, std::set<std::string>> changedBy;  // rule -> files
  for (const auto& file : testing_support::SampleDrawings()) {
    const std::string name = file.filename().string();
    SCOPED_TRACE(name);
    Drawing d;
    d.imageOptions.tempFolder = out.path();
    ASSERT_TRUE(LoadJww(d, file).ok());
    const std::int32_t v = d.header.version;
    const std::filesystem::path saved = out / "saved.jww";
    ASSERT_TRUE(SaveJww(d, saved, v).ok);

    Drawing again;
    again.imageOptions.tempFolder = out.path();
    ASSERT_TRUE(LoadJww(again, saved).ok());
    EXPECT_EQ(FirstDifference(AsWritten(d, v), again), "");
    // Said plainly: the tables are those of the source, reserved words zero.
    Drawing expected = d;
    expected.header.reservedWords.fill(0);
    expected.header.reservedWord = 0;
    EXPECT_EQ(FirstDifference(expected, again), "");

    const std::string source = testing_support::ReadFileBytes(file);
    const std::string written = testing_support::ReadFileBytes(saved);
    const FileMap map = MapFile(d, v);
    // The layout accounts for every byte of the source.
    EXPECT_EQ(map.size, source.size());
    ASSERT_EQ(written.size(), source.size());
    std::map<std::string_view, std::size_t> bytesByRule;
    for (std::size_t i = 0; i < source.size(); ++i) {
      if (source[i] == written[i]) continue;
      const MappedField* field = map.RuleAt(i);
      if (!field) {
        ADD_FAILURE() << "byte " << i << " differs and no writer rule decides it";
        continue;
      }
      ++bytesByRule[field->rule];
    }
    std::string summary = bytesByRule.empty() ? "identical" : "";
    for (const auto& [rule, n] : bytesByRule) {
      summary +=
          (summary.empty() ? "" : "; ") + std::string(rule) + " (" + std::to_string(n) + " bytes)";
      changedBy[std::string(rule)].insert(name);
    }
    ::testing::Test::RecordProperty(name, summary);
    std::cout << "  " << name << ": " << summary << "\n";

    // Today the only rule that changes these drawings: the reserved words
    // (group 3's first word and group 4's), non-zero in every one of them.
    std::size_t nonZeroReserved = 0;
    for (const MappedField& f : map.ruleFields) {
      if (f.rule != kRuleReservedWords) continue;
      for (std::uint64_t i = 0; i < f.size; ++i) {
        nonZeroReserved += source[f.offset + i] != 0;
        EXPECT_EQ(written[f.offset + i], '\0');
      }
    }
    EXPECT_EQ(bytesByRule.size(), 1u);
    EXPECT_EQ(bytesByRule[kRuleReservedWords], nonZeroReserved);
    EXPECT_GT(nonZeroReserved, 0u);
    d.DeleteImageFiles();
    again.DeleteImageFiles();
  }
  for (const auto& [rule, files] : changedBy) {
    std::cout << "  rule \"" << rule << "\" changed " << files.size() << " files\n";
  }
}

}  // namespace
