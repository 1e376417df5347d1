// The platform functions whose Windows versions differ most: paths from
// UTF-8 text, replacing moves, the Escape key state and shell open.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_move.h"
#include "platform/keyboard.h"
#include "platform/path_text.h"
#include "platform/shell_open.h"
#include "tests/support/held_open.h"
#include "tests/support/paths.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;

TEST(PathText, JapaneseNamesMakeTheSameFileBothWays) {
  ScratchDir dir;
  const std::string name = "図面/サンプル Ａ.jww";
  const fs::path path = dir / platform::PathFromUtf8(name);
  EXPECT_EQ(platform::PathToUtf8(path.filename()), "サンプル Ａ.jww");
  fs::create_directory(path.parent_path());
  WriteFileBytes(path, "x");
  const auto entry = *fs::directory_iterator(dir / platform::PathFromUtf8("図面"));
  EXPECT_EQ(platform::PathToUtf8(entry.path().filename()), "サンプル Ａ.jww");
#ifdef _WIN32
  EXPECT_EQ(path.filename().native(), L"サンプル Ａ.jww");
  EXPECT_EQ(platform::PathToUtf8(platform::PathFromUtf8("a\xff")), "a\xEF\xBF\xBD");
#endif
}

TEST(MoveReplacing, ReplacesTheTargetOrFailsLeavingBothFiles) {
  ScratchDir dir;
  WriteFileBytes(dir / "new", "new");
  WriteFileBytes(dir / "old", "old");
  EXPECT_FALSE(platform::MoveReplacing(dir / "new", dir / "old"));
  EXPECT_EQ(ReadFileBytes(dir / "old"), "new");
  EXPECT_FALSE(fs::exists(dir / "new"));
  const std::error_code missing = platform::MoveReplacing(dir / "gone", dir / "old");
  EXPECT_EQ(missing, std::errc::no_such_file_or_directory) << missing.message();
#ifdef _WIN32
  WriteFileBytes(dir / "new", "newer");
  const testing_support::HeldOpen held(dir / "old");
  const std::error_code busy = platform::MoveReplacing(dir / "new", dir / "old");
  EXPECT_NE(busy.message().find("in use by another program"), std::string::npos) << busy.message();
  EXPECT_EQ(ReadFileBytes(dir / "new"), "newer");
#endif
}

TEST(Keyboard, EscapeStateFollowsTheWindowsEvents) {
  platform::SetEscapeState(true);
  EXPECT_TRUE(platform::EscapePressed());
  platform::SetEscapeState(false);
  EXPECT_FALSE(platform::EscapePressed());  // nobody presses the key in a test run
}

TEST(ShellOpen, AMissingFileOpensNothing) {
  ScratchDir dir;
  EXPECT_FALSE(platform::OpenWithAssociatedProgram(dir / "missing.jww"));
}

}  // namespace
