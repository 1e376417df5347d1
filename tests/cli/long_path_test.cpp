// quillon-cli convert of folders whose paths are longer than the 260
// characters Windows allows by default: named, and reached by --recursive.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_io.h"
#include "platform/folder_listing.h"
#include "tests/cli/run_cli.h"
#include "tests/support/paths.h"

namespace {

namespace fs = std::filesystem;

const fs::path kPlan = fs::path(QUILLON_SOURCE_DIR) / "examples/PLAN.jww";

// Through the platform's file layer, which takes paths of any length.
void WriteLong(const fs::path& path, const std::string& bytes) {
  std::FILE* file = platform::OpenFile(path, "wb");
  ASSERT_NE(file, nullptr) << path;
  ASSERT_TRUE(platform::WriteFile(file, bytes.data(), bytes.size()));
  ASSERT_TRUE(platform::CloseFile(file));
}

bool IsFile(const fs::path& path) {
  return platform::StatusOf(path).kind == platform::PathKind::kRegularFile;
}

TEST(ConvertLongPaths, ConvertsAFolderBeyond260CharactersNamedOrReachedRecursively) {
  testing_support::ScratchDir scratch;
  const fs::path tree = scratch / "tree";
  const fs::path deep = testing_support::MakeDeepFolder(tree, 290);
  WriteLong(deep / "PLAN.JWW", testing_support::ReadFileBytes(kPlan));
  WriteLong(deep.parent_path() / "UPPER.JWW", testing_support::ReadFileBytes(kPlan));

  const fs::path out = scratch / "out";
  const auto named = cli_test::RunCli({"convert", "--dest", out.string(), deep.string()});
  EXPECT_EQ(named.exitCode, 0) << named.err;
  EXPECT_TRUE(IsFile(out / "PLAN.JWW"));
  EXPECT_NE(named.out.find("1 converted"), std::string::npos) << named.out;

  const fs::path mirror = scratch / "mirror";
  const auto walked =
      cli_test::RunCli({"convert", "--recursive", "--dest", mirror.string(), tree.string()});
  EXPECT_EQ(walked.exitCode, 0) << walked.err;
  const fs::path below = deep.lexically_relative(tree);
  EXPECT_TRUE(IsFile(mirror / below / "PLAN.JWW"));
  EXPECT_TRUE(IsFile(mirror / below.parent_path() / "UPPER.JWW"));
  EXPECT_NE(walked.out.find("2 converted"), std::string::npos) << walked.out;
}

}  // namespace
