// quillon-cli info on drawings built by the tests: string forms, escaping,
// numbers, embedded images, and what the command line may get wrong.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/cli/mini_json.h"
#include "tests/cli/run_cli.h"
#include "tests/cli/test_drawings.h"
#include "tests/support/paths.h"
#include "tests/support/synthetic.h"

namespace {

using cli_test::EmptyDrawing;
using cli_test::Lines;
using cli_test::MakeText;
using cli_test::RunCli;
using jww::JwwString;
using synthetic::Add;
using synthetic::DimensionWith;
using testing_support::ScratchDir;

mini_json::Value InfoJson(const std::filesystem::path& file) {
  const auto run = RunCli({"info", "--json", file.string()});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Lines(run.out).size(), 1u);
  return mini_json::Parse(run.out);
}

TEST(InfoStrings, Utf16MemoAndTextsOfVersion700) {
  ScratchDir scratch;
  jww::Drawing d = EmptyDrawing(700);
  d.header.memo = JwwString::fromUtf16(u"日本語のメモ\r\n２行目");
  Add(d.top, MakeText(JwwString::fromUtf16(u"寝室 \U0001F600 ｱ"), 3, 3, 0, 2));
  Add(d.top,
      MakeText(JwwString::fromUtf16(std::u16string(u"a") + char16_t(0xD800) + u"b"), 3, 3, 0, 2));
  synthetic::SaveDrawing(d, scratch / "wide.jww");

  const auto info = InfoJson(scratch / "wide.jww");
  EXPECT_EQ(info["memo"].string, "日本語のメモ２行目");  // line break dropped for display
  EXPECT_EQ(info["texts"][0]["content"].string, "寝室 😀 ｱ");
  EXPECT_EQ(info["texts"][1]["content"].string,
            "a\xEF\xBF\xBD"
            "b");  // unpaired surrogate

  const auto text = RunCli({"info", (scratch / "wide.jww").string()});
  EXPECT_NE(text.out.find("memo    日本語のメモ２行目\n"), std::string::npos) << text.out;
}

TEST(InfoStrings, ShiftJisMemoWithExtensionsAndControlCharacters) {
  ScratchDir scratch;
  jww::Drawing d = EmptyDrawing(600);
  // "①ｱ\t平面図": a NEC special character, half-width katakana, a tab.
  d.header.memo = JwwString::narrow("\x87\x40\xb1\t\x95\xbd\x96\xca\x90\x7d");
  synthetic::SaveDrawing(d, scratch / "sjis.jww");
  EXPECT_EQ(InfoJson(scratch / "sjis.jww")["memo"].string, "①ｱ平面図");
}

// Text bytes the writer would never produce (it drops control characters)
// are patched into a saved file, as a damaged or foreign drawing might hold.
TEST(InfoStrings, JsonEscapesEveryCharacterAndStaysValidUtf8) {
  ScratchDir scratch;
  jww::Drawing d = EmptyDrawing(600);
  Add(d.top, MakeText(JwwString::narrow("<<PATCH-ME>>"), 2, 2, 0, 1));
  const auto file = scratch / "escapes.jww";
  synthetic::SaveDrawing(d, file);
  std::string bytes = testing_support::ReadFileBytes(file);
  const auto at = bytes.find("<<PATCH-ME>>");
  ASSERT_NE(at, std::string::npos);
  const std::string patch(
      "\"\\\x01\t\n\x1f/\x80"
      "ab\xfd\x82",
      12);
  bytes.replace(at, patch.size(), patch);
  testing_support::WriteFileBytes(file, bytes);

  const auto run = RunCli({"info", "--json", file.string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find(R"("\"\\\u0001\t\n\u001f/)"), std::string::npos) << run.out;
  const auto info = mini_json::Parse(run.out);
  EXPECT_EQ(info["texts"][0]["content"].string,
            "\"\\\x01\t\n\x1f/\xEF\xBF\xBD"
            "ab\xEF\xBF\xBD\xEF\xBF\xBD");

  // The plain form drops the control characters.
  const auto text = RunCli({"info", file.string()});
  EXPECT_EQ(text.out.find('\x01'), std::string::npos);
  EXPECT_EQ(text.out.find('\t'), std::string::npos);
}

TEST(InfoNumbers, DoublesReadBackExactlyAndNonFiniteBecomeNull) {
  ScratchDir scratch;
  jww::Drawing d = EmptyDrawing(600);
  const double values[] = {0.1,
                           1.0 / 3,
                           -0.0,
                           5e-324,
                           std::numeric_limits<double>::max(),
                           2.5,
                           123456789012345680.0,
                           std::nextafter(2.5, 3.0)};
  for (double v : values) Add(d.top, MakeText(JwwString::narrow("x"), v, -v, v / 7, 1));
  jww::TEntMoji odd = MakeText(JwwString::narrow("nan"), std::nan(""), 1, 0, 1);
  odd.angle = std::numeric_limits<double>::infinity();
  Add(d.top, odd);
  synthetic::SaveDrawing(d, scratch / "numbers.jww");

  const auto info = InfoJson(scratch / "numbers.jww");
  ASSERT_EQ(info["texts"].size(), std::size(values) + 1);
  for (std::size_t i = 0; i < std::size(values); ++i) {
    const auto& t = info["texts"][i];
    EXPECT_EQ(t["width"].number, values[i]) << t["width"].numberText;
    EXPECT_EQ(std::signbit(t["width"].number), std::signbit(values[i]));
    EXPECT_EQ(t["height"].number, -values[i]) << t["height"].numberText;
    EXPECT_EQ(t["spacing"].number, values[i] / 7) << t["spacing"].numberText;
  }
  EXPECT_EQ(info["texts"][0]["width"].numberText, "0.1");
  EXPECT_EQ(info["texts"][5]["width"].numberText, "2.5");
  EXPECT_TRUE(info["texts"][std::size(values)]["width"].isNull());
  EXPECT_TRUE(info["texts"][std::size(values)]["angle"].isNull());
}

TEST(InfoPlaces, TextsOfDimensionsAndBlockDefinitions) {
  ScratchDir scratch;
  jww::Drawing d = EmptyDrawing(420);
  Add(d.top, MakeText(JwwString::narrow("top"), 1, 1, 0, 1, 1));
  Add(d.top, DimensionWith(MakeText(JwwString::narrow("100"), 2, 2, 0, 2)));
  jww::TEntBlockDef& first = synthetic::AddBlockDefinition(d, 7, false);
  first.name = JwwString::narrow("A");
  Add(first.entities, MakeText(JwwString::narrow("b0"), 3, 3, 0, 3, 20003));
  jww::TEntBlockDef& second = synthetic::AddBlockDefinition(d, 9, false);
  second.name = JwwString::narrow("B");
  Add(second.entities, MakeText(JwwString::narrow("b1"), 4, 4, 0, 4));
  Add(second.entities, MakeText(JwwString::narrow("b2"), 4, 4, 0, 4));
  Add(second.entities, DimensionWith(MakeText(JwwString::narrow("50"), 5, 5, 0, 5)));
  synthetic::SaveDrawing(d, scratch / "places.jww");

  const auto info = InfoJson(scratch / "places.jww");
  EXPECT_EQ(info["counts"]["texts"].integer(), 1);
  EXPECT_EQ(info["counts"]["dimensions"].integer(), 1);
  EXPECT_EQ(info["block_counts"]["texts"].integer(), 3);
  EXPECT_EQ(info["block_counts"]["dimensions"].integer(), 1);
  ASSERT_EQ(info["block_definitions"].size(), 2u);
  EXPECT_EQ(info["block_definitions"][1]["number"].integer(), 9);
  EXPECT_EQ(info["block_definitions"][1]["name"].string, "B");
  EXPECT_EQ(info["block_definitions"][1]["entities"].integer(), 3);

  struct Expected {
    const char* where;
    long long block;  // -1: null
    long long index;
    long long textType;
    const char* content;
  };
  const Expected expected[] = {{"top", -1, 0, 1, "top"},     {"dimension", -1, 0, 0, "100"},
                               {"block", 7, 0, 20003, "b0"}, {"block", 9, 0, 0, "b1"},
                               {"block", 9, 1, 0, "b2"},     {"block_dimension", 9, 0, 0, "50"}};
  ASSERT_EQ(info["texts"].size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const auto& t = info["texts"][i];
    SCOPED_TRACE(expected[i].content);
    EXPECT_EQ(t["where"].string, expected[i].where);
    if (expected[i].block < 0) {
      EXPECT_TRUE(t["block"].isNull());
    } else {
      EXPECT_EQ(t["block"].integer(), expected[i].block);
    }
    EXPECT_EQ(t["index"].integer(), expected[i].index);
    EXPECT_EQ(t["text_type"].integer(), expected[i].textType);
    EXPECT_EQ(t["content"].string, expected[i].content);
  }
  EXPECT_EQ(info["texts"][5]["pen_colour"].integer(), 5);
  EXPECT_EQ(info["texts"][5]["width"].number, 5);
}

// Images are skipped, never extracted: neither the current folder nor the
// temporary folder receives a file.
TEST(InfoImages, EmbeddedImagesAreListedAndNothingIsWritten) {
  ScratchDir scratch;
  const auto imageBytes = scratch / "image-source.bin";
  testing_support::WriteFileBytes(imageBytes, std::string(5000, '\x42'));
  jww::Drawing d = EmptyDrawing(700);
  Add(d.top, MakeText(JwwString::fromUtf16(u"^@BM%temp%pic.bmp,100,100,0,0,1,0"), 1, 1, 0, 1));
  jww::TBindImageType image;
  image.name = JwwString::fromUtf16(u"pic.bmp");
  image.size = 5000;
  image.tempFile = imageBytes;
  d.images.push_back(image);
  const auto file = scratch / "images.jww";
  synthetic::SaveDrawing(d, file);

  ScratchDir work;
  ScratchDir tmp;
  const auto run = RunCli({"info", "--json", file.string()}, {work.path(), tmp.path().string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const auto info = mini_json::Parse(run.out);
  ASSERT_EQ(info["images"].size(), 1u);
  EXPECT_EQ(info["images"][0]["name"].string, "pic.bmp");
  EXPECT_EQ(info["images"][0]["size"].integer(), 5000);
  EXPECT_EQ(info["texts"][0]["content"].string, "^@BM%temp%pic.bmp,100,100,0,0,1,0");
  const auto text = RunCli({"info", file.string()}, {work.path(), tmp.path().string()});
  EXPECT_NE(text.out.find("  images: 1\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("5000       pic.bmp\n"), std::string::npos) << text.out;
  EXPECT_TRUE(std::filesystem::is_empty(work.path()));
  EXPECT_TRUE(std::filesystem::is_empty(tmp.path()));
}

TEST(InfoCommandLine, UsageErrorsGiveOneLineAndExitTwo) {
  const std::vector<std::vector<std::string>> wrong = {
      {}, {"frobnicate"}, {"info"}, {"info", "--json"}, {"info", "--jsn", "a.jww"}, {"-x"}};
  for (const auto& args : wrong) {
    const auto run = RunCli(args);
    SCOPED_TRACE(args.empty() ? "(nothing)" : args.back());
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.errLines().size(), 1u) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

TEST(InfoCommandLine, HelpPrintsUsage) {
  const auto top = RunCli({"--help"});
  EXPECT_EQ(top.exitCode, 0);
  EXPECT_EQ(top.out.rfind("Usage: quillon-cli COMMAND", 0), 0u) << top.out;
  EXPECT_NE(top.out.find("  info [--json] FILE..."), std::string::npos);
  // Each command's synopsis comes from the description its parser uses.
  EXPECT_NE(top.out.find("  convert --dest DIR [--settings FILE] [--dry-run] [--json] "
                         "[--recursive] [--jobs N] PATH...\n"),
            std::string::npos)
      << top.out;
  const auto info = RunCli({"info", "--help"});
  EXPECT_EQ(info.exitCode, 0);
  EXPECT_EQ(info.out.rfind("Usage: quillon-cli info [--json] FILE...\n", 0), 0u) << info.out;
  EXPECT_EQ(info.err, "");
}

TEST(InfoCommandLine, MissingFilesFailEachOnItsOwnLine) {
  ScratchDir scratch;
  jww::Drawing d = EmptyDrawing(600);
  synthetic::SaveDrawing(d, scratch / "-dash.jww");
  const auto missing = (scratch / "missing.jww").string();
  const auto run = RunCli({"info", "--json", missing, "--", "-dash.jww", scratch.path().string()},
                          {scratch.path(), {}});
  EXPECT_EQ(run.exitCode, 1);
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_FALSE(mini_json::Parse(lines[0])["ok"].boolean);
  EXPECT_TRUE(mini_json::Parse(lines[1])["ok"].boolean);   // after "--" a name, not an option
  EXPECT_FALSE(mini_json::Parse(lines[2])["ok"].boolean);  // a folder
  ASSERT_EQ(run.errLines().size(), 2u);
  EXPECT_NE(run.errLines()[0].find(missing), std::string::npos);
}

}  // namespace
