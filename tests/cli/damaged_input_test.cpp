// What quillon-cli convert makes of input that is not what it claims to be:
// a drawing with bytes after its last section fails with where and how many,
// and a settings file too large to be one is refused, as is an empty name.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli/mini_json.h"
#include "tests/cli/run_cli.h"
#include "tests/support/paths.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;

const fs::path kPlan = fs::path(QUILLON_SOURCE_DIR) / "examples/PLAN.jww";

TEST(DamagedInput, ADrawingWithBytesAfterItsLastSectionFailsAndNothingIsWritten) {
  ScratchDir dir;
  const std::string drawing = ReadFileBytes(kPlan);
  WriteFileBytes(dir / "PLAN.jww", drawing + std::string(4096, '\0'));
  const auto run = cli_test::RunCli(
      {"convert", "--json", "--dest", (dir / "out").string(), (dir / "PLAN.jww").string()});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  ASSERT_EQ(run.errLines().size(), 1u) << run.err;
  EXPECT_NE(run.err.find("4096 bytes left after the last section at byte " +
                         std::to_string(drawing.size())),
            std::string::npos)
      << run.err;
  const auto file = mini_json::Parse(cli_test::Lines(run.out).at(0));
  EXPECT_EQ(file["reason_code"].string, "damaged_drawing");
  EXPECT_FALSE(fs::exists(dir / "out/PLAN.jww"));
}

TEST(DamagedInput, ASettingsFileTooLargeToBeOneIsRefused) {
  ScratchDir dir;
  const fs::path settings = dir / "huge.ini";
  WriteFileBytes(settings, "[JWW]\nC1=1\n");
#ifdef _WIN32
  GTEST_SKIP() << "a 200 GB file is made sparse only on Linux";
#endif
  std::error_code ec;
  fs::resize_file(settings, std::uint64_t{200} << 30, ec);  // sparse: no disk taken
  if (ec) GTEST_SKIP() << "no sparse file here: " << ec.message();
  const auto run = cli_test::RunCli({"convert", "--json", "--settings", settings.string(), "--dest",
                                     (dir / "out").string(), kPlan.string()});
  EXPECT_EQ(run.exitCode, 2) << run.err;
  ASSERT_EQ(run.errLines().size(), 1u) << run.err;
  EXPECT_NE(run.err.find("larger than 64 MB"), std::string::npos) << run.err;
  EXPECT_EQ(mini_json::Parse(run.out)["reason_code"].string, "cannot_read_settings_file");
  EXPECT_FALSE(fs::exists(dir / "out"));

  // A million lines of nothing would take far more memory than their bytes.
  WriteFileBytes(settings, std::string(std::size_t{1} << 20, '\n'));
  const auto lines = cli_test::RunCli({"convert", "--settings", settings.string(), "--dest",
                                       (dir / "out").string(), kPlan.string()});
  EXPECT_EQ(lines.exitCode, 2) << lines.err;
  EXPECT_NE(lines.err.find("lines or more"), std::string::npos) << lines.err;
}

TEST(DamagedInput, AnEmptySettingsFileNameIsAUsageError) {
  ScratchDir dir;
  const auto run = cli_test::RunCli(
      {"convert", "--settings", "", "--dest", (dir / "out").string(), kPlan.string()});
  EXPECT_EQ(run.exitCode, 2) << run.err;
  ASSERT_EQ(run.errLines().size(), 1u) << run.err;
  EXPECT_NE(run.err.find("no settings file given"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(dir / "out"));
}

}  // namespace
