// quillon-cli info on the real Jw_cad drawings.
#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <map>
#include <set>

#include "drawing/jww_loader.h"
#include "platform/path_text.h"
#include "tests/cli/mini_json.h"
#include "tests/cli/run_cli.h"
#include "tests/support/paths.h"

namespace {

using cli_test::Lines;
using cli_test::RunCli;
using testing_support::SamplesDir;

// `info --json` on every sample, run once for all tests here.
class InfoOnSamples : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::vector<std::string> args = {"info", "--json"};
    for (const auto& p : testing_support::SampleDrawings()) {
      args.push_back(platform::PathToUtf8(p));
    }
    if (args.size() == 2) return;
    run_ = RunCli(args);
    for (const std::string& line : Lines(run_.out)) {
      mini_json::Value v = mini_json::Parse(line);
      all_[platform::PathToUtf8(platform::PathFromUtf8(v["path"].string).filename())] =
          std::move(v);
    }
  }
  void SetUp() override { QUILLON_REQUIRE_SAMPLES(); }
  static const mini_json::Value& Info(const std::string& name) { return all_.at(name); }

  static inline cli_test::RunResult run_;
  static inline std::map<std::string, mini_json::Value> all_;
};

long long Count(const mini_json::Value& info, const char* table, const char* kind) {
  return info[table][kind].integer();
}

std::size_t FreeSizeTexts(const mini_json::Value& info) {
  std::size_t n = 0;
  for (const auto& t : info["texts"].items) n += t["text_type"].integer() % 10000 == 0 ? 1 : 0;
  return n;
}

// The same double, bit for bit, as the one the number text reads back to.
bool SameDouble(const mini_json::Value& v, double expected) {
  double read = 0;
  const std::string& s = v.numberText;
  if (std::from_chars(s.data(), s.data() + s.size(), read).ec != std::errc()) return false;
  return std::memcmp(&read, &expected, sizeof read) == 0;
}

TEST_F(InfoOnSamples, EveryDrawingLoadsIntoOneJsonObjectPerLine) {
  EXPECT_EQ(run_.exitCode, 0) << run_.err;
  EXPECT_EQ(run_.err, "");
  ASSERT_EQ(Lines(run_.out).size(), 17u);
  ASSERT_EQ(all_.size(), 17u);
  const std::set<std::string> places = {"top", "dimension", "block", "block_dimension"};
  for (const auto& [name, info] : all_) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(info["ok"].boolean);
    EXPECT_TRUE(info["error"].isNull());
    EXPECT_EQ(info["text_types"].size(), 10u);
    const long long listed = Count(info, "counts", "texts") + Count(info, "counts", "dimensions") +
                             Count(info, "block_counts", "texts") +
                             Count(info, "block_counts", "dimensions");
    EXPECT_EQ(static_cast<long long>(info["texts"].size()), listed);
    for (const auto& t : info["texts"].items) {
      EXPECT_TRUE(places.count(t["where"].string)) << t["where"].string;
      EXPECT_EQ(t["block"].isNull(),
                t["where"].string == "top" || t["where"].string == "dimension");
    }
  }
}

TEST_F(InfoOnSamples, CountsAgreeWithAnIndependentReader) {
  const auto& test1 = Info("Test1.jww");
  EXPECT_EQ(test1["version"].integer(), 600);
  EXPECT_EQ(Count(test1, "counts", "lines"), 1642);
  EXPECT_EQ(Count(test1, "counts", "arcs"), 4);
  EXPECT_EQ(Count(test1, "counts", "points"), 4);
  EXPECT_EQ(Count(test1, "counts", "texts"), 36);
  EXPECT_EQ(FreeSizeTexts(test1), 2u);

  const auto& mansion = Info("Ａマンション平面例.jww");
  EXPECT_EQ(Count(mansion, "counts", "lines"), 1394);
  EXPECT_EQ(Count(mansion, "counts", "arcs"), 215);
  EXPECT_EQ(Count(mansion, "counts", "points"), 10);
  EXPECT_EQ(Count(mansion, "counts", "texts"), 56);
  EXPECT_EQ(Count(mansion, "counts", "solids"), 79);

  EXPECT_EQ(FreeSizeTexts(Info("Test5.jww")), 21u);
  EXPECT_EQ(FreeSizeTexts(Info("Test6.jww")), 41u);
  EXPECT_EQ(Count(Info("敷地図.jww"), "counts", "texts"), 0);

  for (const char* name :
       {"2-circles-blocks.jww", "2blocks.jww", "3blocks.jww", "sqr-circle-blocks.jww"}) {
    SCOPED_TRACE(name);
    const auto& info = Info(name);
    EXPECT_EQ(info["version"].integer(), 700);
    EXPECT_EQ(Count(info, "counts", "texts"), 6);
    EXPECT_GE(info["block_definitions"].size(), 1u);
    EXPECT_GE(Count(info, "counts", "block_inserts"), 1);
    EXPECT_EQ(info["memo"].string, "");
    EXPECT_EQ(info["texts"][0]["content"].string, "Printer_Orientation = 0");
  }
  EXPECT_EQ(Info("2blocks.jww")["block_definitions"].size(), 2u);
  EXPECT_EQ(Info("non_block.jww")["block_definitions"].size(), 0u);
}

TEST_F(InfoOnSamples, ShiftJisMemoAndTextsShowAsJapanese) {
  EXPECT_EQ(Info("Test1.jww")["memo"].string, "日影図　ＴＥＳＴ用データ（陸屋根）");
  EXPECT_EQ(Info("Ａマンション平面例.jww")["memo"].string, "マンション基準階平面図　１／１００");
  // Every string of every sample decodes without a replacement character.
  EXPECT_EQ(run_.out.find("\xEF\xBF\xBD"), std::string::npos);

  const auto text = RunCli({"info", (SamplesDir() / "Test1.jww").string()});
  EXPECT_EQ(text.exitCode, 0);
  EXPECT_NE(text.out.find("memo    日影図　ＴＥＳＴ用データ（陸屋根）\n"), std::string::npos);
  EXPECT_NE(text.out.find("lines          1642"), std::string::npos);
}

// The numbers printed read back to exactly the doubles the loader holds.
TEST_F(InfoOnSamples, DoublesReadBackToTheLoadedValues) {
  for (const char* name : {"Test6.jww", "v700-blocks/2blocks.jww"}) {
    SCOPED_TRACE(name);
    jww::Drawing d;
    d.imageOptions.extract = false;
    ASSERT_TRUE(jww::LoadJww(d, SamplesDir() / name).ok());
    const auto& info = Info(std::filesystem::path(name).filename().string());
    for (std::size_t n = 0; n < 10; ++n) {
      const auto& type = info["text_types"][n];
      EXPECT_TRUE(SameDouble(type["width"], d.header.textTypes[n].width));
      EXPECT_TRUE(SameDouble(type["height"], d.header.textTypes[n].height));
      EXPECT_TRUE(SameDouble(type["spacing"], d.header.textTypes[n].spacing));
      EXPECT_EQ(type["colour"].integer(), d.header.textTypes[n].colour);
    }
    ASSERT_EQ(info["texts"].size(), d.top.texts.size());
    for (std::size_t i = 0; i < d.top.texts.size(); ++i) {
      const auto& t = info["texts"][i];
      const jww::TEntMoji& loaded = d.top.texts[i];
      EXPECT_EQ(t["index"].integer(), static_cast<long long>(i));
      EXPECT_EQ(t["text_type"].integer(), loaded.textType);
      EXPECT_EQ(t["pen_colour"].integer(), loaded.attr.penColour);
      EXPECT_TRUE(SameDouble(t["width"], loaded.width)) << t["width"].numberText;
      EXPECT_TRUE(SameDouble(t["height"], loaded.height)) << t["height"].numberText;
      EXPECT_TRUE(SameDouble(t["spacing"], loaded.spacing)) << t["spacing"].numberText;
      EXPECT_TRUE(SameDouble(t["angle"], loaded.angle)) << t["angle"].numberText;
    }
  }
}

TEST_F(InfoOnSamples, TruncatedCopyFailsWithTheByteOffsetAndOthersStillPrint) {
  testing_support::ScratchDir scratch;
  const std::string bytes = testing_support::ReadFileBytes(SamplesDir() / "Test1.jww");
  const auto cut = scratch / "Test1-cut.jww";
  testing_support::WriteFileBytes(cut, bytes.substr(0, bytes.size() / 2));
  const std::string good = (SamplesDir() / "Test2.jww").string();

  const auto text = RunCli({"info", cut.string(), good});
  EXPECT_EQ(text.exitCode, 1);
  ASSERT_EQ(text.errLines().size(), 1u) << text.err;
  const std::string line = text.errLines()[0];
  EXPECT_NE(line.find(cut.string()), std::string::npos) << line;
  const auto at = line.find("at byte ");
  ASSERT_NE(at, std::string::npos) << line;
  const long long offset = std::stoll(line.substr(at + 8));
  EXPECT_GT(offset, 0);
  EXPECT_LE(offset, static_cast<long long>(bytes.size() / 2));
  EXPECT_EQ(text.out.find(cut.string()), std::string::npos);
  EXPECT_EQ(text.out.rfind(good + "\n", 0), 0u);

  const auto json = RunCli({"info", "--json", cut.string(), good});
  EXPECT_EQ(json.exitCode, 1);
  EXPECT_EQ(json.errLines(), text.errLines());
  const auto lines = Lines(json.out);
  ASSERT_EQ(lines.size(), 2u);
  const auto failed = mini_json::Parse(lines[0]);
  EXPECT_EQ(failed["path"].string, cut.string());
  EXPECT_FALSE(failed["ok"].boolean);
  EXPECT_NE(failed["error"].string.find("at byte " + std::to_string(offset)), std::string::npos);
  EXPECT_TRUE(mini_json::Parse(lines[1])["ok"].boolean);
}

}  // namespace
