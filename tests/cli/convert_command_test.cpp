// quillon-cli convert: which files it takes, where they go, what it refuses
// and what it reports. The drawings' own conversion is tested with the
// conversion module; here the command line around it.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "tests/cli/mini_json.h"
#include "tests/cli/run_cli.h"
#include "tests/support/paths.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;

const fs::path kPlan = fs::path(QUILLON_SOURCE_DIR) / "examples/PLAN.jww";

// Every file below a folder with its bytes, by path relative to it.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
  std::map<std::string, std::string> files;
  if (!fs::exists(root)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) {
      files[fs::relative(entry.path(), root).string()] = ReadFileBytes(entry.path());
    }
  }
  return files;
}

class ConvertCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    source_ = scratch_ / "src";
    fs::create_directories(source_ / "sub");
    fs::copy_file(kPlan, source_ / "PLAN.JWW");
    fs::copy_file(kPlan, source_ / "lower.jww");
    fs::copy_file(kPlan, source_ / "sub" / "NESTED.jww");
    WriteFileBytes(source_ / "notes.JW$", ReadFileBytes(kPlan));
    WriteFileBytes(source_ / "FAKE.JWW", "not a drawing at all");
    const std::string plan = ReadFileBytes(kPlan);
    WriteFileBytes(source_ / "CUT.jww", plan.substr(0, plan.size() / 2));
    before_ = Snapshot(source_);
  }
  void TearDown() override { EXPECT_EQ(Snapshot(source_), before_) << "a source changed"; }

  ScratchDir scratch_;
  fs::path source_;
  std::map<std::string, std::string> before_;
};

TEST_F(ConvertCommand, ChoosesJwwFilesByExtensionThenSignature) {
  const fs::path dest = scratch_ / "out";
  const auto run = cli_test::RunCli({"convert", "--dest", dest.string(), source_.string()});
  EXPECT_EQ(run.exitCode, 1) << "CUT.jww fails to load";
  EXPECT_TRUE(fs::exists(dest / "PLAN.JWW"));
  EXPECT_TRUE(fs::exists(dest / "lower.jww"));
  EXPECT_FALSE(fs::exists(dest / "notes.JW$"));
  EXPECT_FALSE(fs::exists(dest / "FAKE.JWW"));
  EXPECT_FALSE(fs::exists(dest / "CUT.jww")) << "a failed file leaves nothing";
  EXPECT_FALSE(fs::exists(dest / "sub")) << "subfolders only with --recursive";
  EXPECT_NE(run.out.find("skipped " + (source_ / "FAKE.JWW").string()), std::string::npos);
  EXPECT_NE(run.out.find("failed " + (source_ / "CUT.jww").string() + ": load: "),
            std::string::npos);
  EXPECT_NE(run.out.find("2 converted, 1 failed, 1 skipped"), std::string::npos) << run.out;
  ASSERT_EQ(run.errLines().size(), 1u) << run.err;
  EXPECT_NE(run.errLines()[0].find("CUT.jww"), std::string::npos);
  EXPECT_NE(run.errLines()[0].find("at byte"), std::string::npos) << run.errLines()[0];

  // JSON reports name each reason as a code as well.
  std::map<std::string, std::string> codes;
  const auto json = cli_test::RunCli(
      {"convert", "--json", "--dry-run", "--dest", dest.string(), source_.string()});
  for (const std::string& line : cli_test::Lines(json.out)) {
    const auto object = mini_json::Parse(line);
    if (object.has("source")) codes[object["source"].string] = object["reason_code"].string;
  }
  EXPECT_EQ(codes[(source_ / "FAKE.JWW").string()], "no_signature");
  EXPECT_EQ(codes[(source_ / "CUT.jww").string()], "damaged_drawing");
}

TEST_F(ConvertCommand, RecursiveMirrorsSubfoldersAndKeepsBackups) {
  const fs::path dest = scratch_ / "out";
  fs::remove(source_ / "CUT.jww");
  before_ = Snapshot(source_);
  auto run =
      cli_test::RunCli({"convert", "--recursive", "--dest", dest.string(), source_.string()});
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
  ASSERT_TRUE(fs::exists(dest / "sub" / "NESTED.jww"));
  EXPECT_FALSE(fs::exists(dest / "PLAN.BAK"));
  const std::string first = ReadFileBytes(dest / "PLAN.JWW");
  EXPECT_NE(first, ReadFileBytes(kPlan)) << "the example has texts that convert";

  WriteFileBytes(dest / "PLAN.BAK", "an older backup");
  run = cli_test::RunCli({"convert", "-r", "--dest", dest.string(), source_.string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadFileBytes(dest / "PLAN.BAK"), first) << "the former output is the backup";
  EXPECT_EQ(ReadFileBytes(dest / "PLAN.JWW"), first) << "converting is repeatable";
  EXPECT_TRUE(fs::exists(dest / "sub" / "NESTED.BAK"));
}

TEST_F(ConvertCommand, DestinationInsideTheSourceTreeIsNotWalked) {
  const fs::path dest = source_ / "converted";
  fs::remove(source_ / "CUT.jww");
  for (int pass = 0; pass < 2; ++pass) {
    const auto run =
        cli_test::RunCli({"convert", "--recursive", "--dest", dest.string(), source_.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
  }
  EXPECT_FALSE(fs::exists(dest / "converted"));
  before_ = Snapshot(source_);  // the outputs are inside the tree on purpose
}

TEST_F(ConvertCommand, RefusesTheSourceFolderHoweverItIsWritten) {
  std::vector<std::string> spellings = {source_.string(), source_.string() + "/",
                                        (source_ / "sub" / "..").string(),
                                        (source_ / ".").string()};
  if (testing_support::LinkFolder(source_, scratch_ / "link")) {
    spellings.push_back((scratch_ / "link").string());
  }
  for (const std::string& dest : spellings) {
    const auto run = cli_test::RunCli({"convert", "--dest", dest, (source_ / "PLAN.JWW").string()});
    EXPECT_EQ(run.exitCode, 2) << dest;
    EXPECT_NE(run.err.find("is the folder of"), std::string::npos) << run.err;
  }
  EXPECT_FALSE(fs::exists(source_ / "PLAN.BAK"));
}

TEST(ConvertCommandBatches, EveryFileLandsAcrossBatchesAndNoTemporaryStays) {
  ScratchDir scratch;
  const fs::path in = scratch / "in";
  const fs::path out = scratch / "out";
  fs::create_directories(out);
  fs::create_directories(in);
  constexpr int kFiles = 150;  // more than two batches
  for (int i = 0; i < kFiles; ++i) {
    const std::string name = "P" + std::to_string(i) + ".jww";
    fs::copy_file(kPlan, in / name);
    WriteFileBytes(out / name, "older " + name);
  }
  const auto run = cli_test::RunCli({"convert", "--dest", out.string(), in.string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  int outputs = 0, backups = 0;
  for (const auto& entry : fs::directory_iterator(out)) {
    const std::string name = entry.path().filename().string();
    if (name.ends_with(".jww")) ++outputs;
    if (name.ends_with(".BAK")) {
      ++backups;
      EXPECT_EQ(ReadFileBytes(entry.path()), "older " + entry.path().stem().string() + ".jww");
    }
  }
  EXPECT_EQ(outputs, kFiles);
  EXPECT_EQ(backups, kFiles);
  EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 2 * kFiles + 1)
      << "no temporary file is left, only the undo journal";
}

TEST_F(ConvertCommand, ThreadsChangeNeitherOutputsNorReport) {
  for (int i = 0; i < 40; ++i) {
    fs::copy_file(kPlan, source_ / ("COPY" + std::to_string(i) + ".jww"));
  }
  before_ = Snapshot(source_);
  const fs::path dest = scratch_ / "out";
  std::vector<std::pair<std::string, std::map<std::string, std::string>>> results;
  for (const char* jobs : {"1", "4"}) {
    fs::remove_all(dest);
    fs::create_directories(dest);
    WriteFileBytes(dest / "COPY7.jww", "older");
    const auto run = cli_test::RunCli(
        {"convert", "--jobs", jobs, "--recursive", "--dest", dest.string(), source_.string()});
    EXPECT_EQ(run.exitCode, 1) << "CUT.jww fails to load";
    results.emplace_back(run.out + run.err, Snapshot(dest));
  }
  EXPECT_EQ(results[0].first, results[1].first);
  EXPECT_TRUE(results[0].second == results[1].second) << "the outputs differ";
  EXPECT_EQ(results[1].second.size(), 46u)
      << "43 drawings, one backup, the two folders' undo journals and nothing else";
}

TEST_F(ConvertCommand, DryRunWritesNothing) {
  const fs::path dest = scratch_ / "out";
  const auto run = cli_test::RunCli(
      {"convert", "--dry-run", "--json", "--dest", dest.string(), (source_ / "PLAN.JWW").string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_FALSE(fs::exists(dest));
  const auto lines = cli_test::Lines(run.out);
  ASSERT_EQ(lines.size(), 2u) << run.out;
  const auto file = mini_json::Parse(lines[0]);
  EXPECT_EQ(file["status"].string, "would_convert");
  EXPECT_GT(file["retyped_total"].integer(), 0);
  EXPECT_EQ(file["retyped"].size(), 10u);
  const auto summary = mini_json::Parse(lines[1]);
  EXPECT_TRUE(summary["dry_run"].boolean);
  EXPECT_EQ(summary["retyped"].integer(), file["retyped_total"].integer());
}

TEST_F(ConvertCommand, SettingsFileWidensTheRangesAndIsOnlyRead) {
  const fs::path dest = scratch_ / "out";
  auto retyped = [&](const std::vector<std::string>& extra) {
    std::vector<std::string> args = {"convert", "--dry-run", "--json", "--dest", dest.string()};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back((source_ / "PLAN.JWW").string());
    const auto run = cli_test::RunCli(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return mini_json::Parse(cli_test::Lines(run.out).at(0))["retyped_total"].integer();
  };
  const fs::path ini = scratch_ / "wide.ini";
  std::string text = "[JWW]\r\n";
  for (int n = 1; n <= 60; ++n) text += "C" + std::to_string(n) + "=1000\r\n";
  text += "[JWC]\r\n";
  for (int n = 1; n <= 10; ++n) text += "C" + std::to_string(n) + "=1\r\n";
  WriteFileBytes(ini, text);
  const fs::path none = scratch_ / "zeros.ini";
  WriteFileBytes(none, "[JWW]\r\nC1=0\r\n");
  const long long plain = retyped({"--settings", none.string()});
  const long long wide = retyped({"--settings", ini.string()});
  EXPECT_GT(wide, plain) << "wide ranges and any colour take more texts";
  EXPECT_EQ(ReadFileBytes(ini), text) << "the settings file is only read";
}

TEST(ConvertCommandUsage, ErrorsExitWithTwoAndOneLine) {
  ScratchDir scratch;
  const std::vector<std::vector<std::string>> bad = {
      {"convert"},
      {"convert", kPlan.string()},
      {"convert", "--dest"},
      {"convert", "--dest", scratch.path().string()},
      {"convert", "--frobnicate", "--dest", scratch.path().string(), kPlan.string()},
      {"convert", "--jobs", "0", "--dest", scratch.path().string(), kPlan.string()},
      {"convert", "--jobs=4x", "--dest", scratch.path().string(), kPlan.string()},
      {"convert", "--dest", scratch.path().string(), (scratch / "missing.jww").string()},
      {"convert", "--settings", (scratch / "none.ini").string(), "--dest",
       (scratch / "out").string(), kPlan.string()},
  };
  for (const auto& args : bad) {
    const auto run = cli_test::RunCli(args);
    EXPECT_EQ(run.exitCode, 2) << args.size();
    EXPECT_EQ(run.errLines().size(), 1u) << run.err;
    EXPECT_TRUE(run.out.empty());
  }
  EXPECT_FALSE(fs::exists(scratch / "out"));
  // A path starting with "/" is a path on every system, not an option.
  const auto slash = cli_test::RunCli({"convert", "--dest", scratch.path().string(), "/no/a.jww"});
  EXPECT_NE(slash.err.find("no such file or folder"), std::string::npos) << slash.err;
  const auto help = cli_test::RunCli({"convert", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("--dry-run"), std::string::npos);
}

}  // namespace
