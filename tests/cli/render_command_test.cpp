// quillon-cli render: on every real drawing, well-formed SVG with one
// top-level element per drawn entity of each kind and, with --mark, the
// texts the conversion reports as retyped; failures worded as convert words
// them.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <filesystem>
#include <map>

#include "drawing/jww_loader.h"
#include "platform/path_text.h"
#include "tests/cli/mini_json.h"
#include "tests/cli/run_cli.h"
#include "tests/support/mini_xml.h"
#include "tests/support/paths.h"
#include "tests/support/synthetic.h"

namespace {

namespace fs = std::filesystem;
using mini_xml::Element;
using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;

const fs::path kPlan = fs::path(QUILLON_SOURCE_DIR) / "examples/PLAN.jww";

std::string Name(const fs::path& path) {
  return platform::PathToUtf8(path.filename());
}

// Every range wide and every switch on, dimension values and blocks included.
void WriteWideSettings(const fs::path& file) {
  std::string ini = "[JWW]\n";
  for (int n = 1; n <= 60; ++n) ini += "C" + std::to_string(n) + "=100\n";
  ini += "[JWC]\n";
  for (int n = 1; n <= 12; ++n) ini += "C" + std::to_string(n) + "=1\n";
  WriteFileBytes(file, ini);
}

// The drawn top-level entities by class, from the drawing's own tables
// (temporary points are not drawn; images are texts of the drawing).
std::map<std::string, int> EntitiesByClass(const fs::path& drawingFile) {
  jww::Drawing d;
  d.imageOptions.extract = false;
  const jww::LoadResult loaded = jww::LoadJww(d, drawingFile);
  EXPECT_TRUE(loaded) << loaded.error;
  std::map<std::string, int> counts;
  counts["jww-line"] = static_cast<int>(d.top.lines.size());
  counts["jww-arc"] = static_cast<int>(d.top.arcs.size());
  counts["jww-point"] = 0;
  for (const jww::TEntTen& p : d.top.points) counts["jww-point"] += p.temporary == 0;
  counts["jww-text"] = static_cast<int>(d.top.texts.size());
  counts["jww-dimension"] = static_cast<int>(d.top.dimensions.size());
  counts["jww-solid"] = static_cast<int>(d.top.solids.size());
  counts["jww-block"] = static_cast<int>(d.top.blockInserts.size());
  return counts;
}

std::map<std::string, int> TopLevelByClass(const Element& root) {
  std::map<std::string, int> counts;
  for (const Element& group : root.children) {
    if (group.Attribute("inkscape:groupmode") != "layer") continue;
    for (const Element& layer : group.children) {
      for (const Element& item : layer.children) {
        const std::string kind =
            item.Attribute("class").substr(0, item.Attribute("class").find(' '));
        ++counts[kind == "jww-image" ? "jww-text" : kind];
      }
    }
  }
  return counts;
}

// Marked texts, those of a definition once: its greyed copy (drawn for uses
// on shown-only layers) left out, as the conversion retypes a definition's
// texts once however often it is used.
int Marked(const Element& e) {
  if (e.name == "symbol" && e.HasClass("jww-greyed")) return 0;
  int count = e.HasClass("jww-retype") ? 1 : 0;
  for (const Element& child : e.children) count += Marked(child);
  return count;
}

// Retyped totals by source file name from convert --dry-run --json.
std::map<std::string, long long> DryRunRetyped(const fs::path& settings,
                                               const std::vector<std::string>& files) {
  ScratchDir dest;
  std::vector<std::string> args = {"convert",           "--dry-run",       "--json",
                                   "--settings",        settings.string(), "--dest",
                                   dest.path().string()};
  args.insert(args.end(), files.begin(), files.end());
  const cli_test::RunResult run = cli_test::RunCli(args);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  std::map<std::string, long long> retyped;
  for (const std::string& line : cli_test::Lines(run.out)) {
    const mini_json::Value v = mini_json::Parse(line);
    if (v.has("source")) {
      retyped[Name(platform::PathFromUtf8(v["source"].string))] = v["retyped_total"].integer();
    }
  }
  return retyped;
}

// Renders `files` with marks and checks each SVG against its drawing and
// the conversion's dry run; answers the marked texts found in all.
long long CheckRendered(const std::vector<fs::path>& drawings) {
  ScratchDir scratch;
  WriteWideSettings(scratch / "wide.ini");
  std::vector<std::string> files;
  for (const fs::path& d : drawings) files.push_back(platform::PathToUtf8(d));
  std::vector<std::string> args = {"render",     "--mark",
                                   "--settings", (scratch / "wide.ini").string(),
                                   "--out",      (scratch / "svg").string()};
  args.insert(args.end(), files.begin(), files.end());
  const cli_test::RunResult run = cli_test::RunCli(args);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::map<std::string, long long> retyped = DryRunRetyped(scratch / "wide.ini", files);

  long long marked = 0;
  for (const fs::path& drawing : drawings) {
    SCOPED_TRACE(Name(drawing));
    const fs::path svg = scratch / "svg" / fs::path(drawing.stem()).concat(".svg");
    Element root;
    EXPECT_NO_THROW(root = mini_xml::Parse(ReadFileBytes(svg)));
    EXPECT_EQ(root.name, "svg");
    std::map<std::string, int> want = EntitiesByClass(drawing);
    std::map<std::string, int> got = TopLevelByClass(root);
    std::erase_if(want, [](const auto& e) { return e.second == 0; });
    EXPECT_EQ(got, want);
    const auto reported = retyped.find(Name(drawing));
    EXPECT_EQ(Marked(root), reported == retyped.end() ? -1 : reported->second);
    // The legend counts as the conversion counts.
    const Element* legend = root.children.empty() ? nullptr : &root.children.back();
    const std::string count =
        "変換対象 " + std::to_string(reported == retyped.end() ? -1 : reported->second) + " 件";
    EXPECT_TRUE(legend && legend->HasClass("jww-legend") &&
                legend->AllText().substr(0, count.size()) == count);
    marked += Marked(root);
  }
  EXPECT_EQ(testing_support::SortedNames(scratch / "svg").size(), drawings.size())
      << "a temporary left behind";
  return marked;
}

TEST(RenderCommand, EveryRealDrawingAsItsEntitiesAndRetypedTexts) {
  QUILLON_REQUIRE_SAMPLES();
  // One run per folder: names are unique within one.
  std::map<fs::path, std::vector<fs::path>> byFolder;
  for (const fs::path& sample : testing_support::SampleDrawings()) {
    byFolder[sample.parent_path()].push_back(sample);
  }
  ASSERT_GE(byFolder.size(), 2u) << "the samples and their blocks folder";
  long long marked = 0;
  for (const auto& [folder, drawings] : byFolder) marked += CheckRendered(drawings);
  EXPECT_GT(marked, 0) << "the settings retype some sample texts";
}

TEST(RenderCommand, BlockAndDimensionTextsCountedAsTheConversionCountsThem) {
  ScratchDir scratch;
  // Every text and dimension value free-size, so that the conversion
  // retypes some in blocks (one definition inserted several times) too.
  jww::Drawing d = synthetic::MakeFullDrawing(700);
  for (jww::TTextType& type : d.header.textTypes) type = {2, 2.5, 0.25, 2};
  const auto freeSize = [](jww::EntityTables& t) {
    const auto typeOne = [](jww::TEntMoji& text) {
      text.textType = 0;
      text.width = 2;
      text.height = 2.5;
      text.spacing = 0.25;
    };
    for (jww::TEntMoji& text : t.texts) typeOne(text);
    for (jww::TEntSunpo& dimension : t.dimensions) typeOne(dimension.valueText);
  };
  freeSize(d.top);
  for (jww::TEntBlockDef& def : d.blockDefs) freeSize(def.entities);
  synthetic::SaveDrawing(d, scratch / "full.jww");
  EXPECT_GT(CheckRendered({scratch / "full.jww"}), 0);
}

TEST(RenderCommand, FailuresSayWhatConvertSays) {
#ifdef _WIN32
  GTEST_SKIP() << "read permissions are tried on a real Windows machine";
#else
  ScratchDir dir;
  fs::copy_file(kPlan, dir / "locked.jww");
  fs::copy_file(kPlan, dir / "ok.jww");
  WriteFileBytes(dir / "FAKE.jww", "not a drawing");
  WriteFileBytes(dir / "afile", "");
  fs::permissions(dir / "locked.jww", fs::perms::none);
  fs::create_directory(dir / "ro");
  fs::permissions(dir.path(), fs::perms::all);
  fs::permissions(dir / "ro", fs::perms::owner_read | fs::perms::owner_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
  // Root reads and writes everything: run as nobody.
  std::vector<std::string> prefix;
  if (::geteuid() == 0) prefix = {"--reuid=65534", "--regid=65534", "--clear-groups", QUILLON_CLI};
  const auto run = [&](std::vector<std::string> args) {
    args.insert(args.begin(), prefix.begin(), prefix.end());
    return prefix.empty() ? cli_test::RunCli(args) : cli_test::Run("setpriv", args);
  };
  // The failed and skipped lines, and stderr, in render's words.
  const auto lines = [](const cli_test::RunResult& r) {
    std::vector<std::string> kept;
    for (std::string line : cli_test::Lines(r.out)) {
      if (line.rfind("failed ", 0) == 0 || line.rfind("skipped ", 0) == 0) kept.push_back(line);
    }
    for (std::string line : r.errLines()) {
      if (line.rfind("quillon-cli convert:", 0) == 0) line.replace(12, 7, "render");
      kept.push_back(line);
    }
    return kept;
  };
  const std::vector<std::string> files = {(dir / "locked.jww").string(),
                                          (dir / "FAKE.jww").string(), (dir / "ok.jww").string()};
  for (const std::string out : {"out", "ro", "afile/sub"}) {
    SCOPED_TRACE(out);
    std::vector<std::string> convert = {"convert", "--dest", (dir / out).string()};
    std::vector<std::string> render = {"render", "--out", (dir / out).string()};
    convert.insert(convert.end(), files.begin(), files.end());
    render.insert(render.end(), files.begin(), files.end());
    const cli_test::RunResult converted = run(convert);
    const cli_test::RunResult rendered = run(render);
    EXPECT_EQ(rendered.exitCode, converted.exitCode);
    EXPECT_EQ(rendered.exitCode, 1);
    EXPECT_EQ(lines(rendered), lines(converted)) << converted.out << rendered.out;
  }
  EXPECT_TRUE(fs::exists(dir / "out/ok.svg"));
  EXPECT_EQ(testing_support::SortedNames(dir / "ro"), std::vector<std::string>{});
  // A usage error: no output folder.
  const cli_test::RunResult usage = cli_test::RunCli({"render", kPlan.string()});
  EXPECT_EQ(usage.exitCode, 2);
#endif
}

}  // namespace
