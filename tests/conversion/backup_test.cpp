#include "conversion/backup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "conversion/convert_file.h"
#include "conversion/destination_guard.h"
#include "conversion/temp_folder.h"
#include "platform/file_faults.h"
#include "tests/support/paths.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;
using unit_val::BackupExistingFile;
using unit_val::BackupPath;
using unit_val::BackupResult;

TEST(BackupPath, ReplacesTheExtensionFromTheLastDot) {
  EXPECT_EQ(BackupPath("/d/PLAN.JWW"), fs::path("/d/PLAN.BAK"));
  EXPECT_EQ(BackupPath("/d/plan.v2.jww"), fs::path("/d/plan.v2.BAK"));
  EXPECT_EQ(BackupPath("/d/PLAN"), fs::path("/d/PLAN.BAK"));
  EXPECT_EQ(BackupPath("/d/.profile"), fs::path("/d/.BAK"));
  EXPECT_EQ(BackupPath("/d.x/PLAN"), fs::path("/d.x/PLAN.BAK"));
  EXPECT_EQ(BackupPath("PLAN."), fs::path("PLAN.BAK"));
}

TEST(BackupExistingFile, KeepsTheFileAndReplacesAnOlderBackup) {
  ScratchDir dir;
  EXPECT_EQ(BackupExistingFile(dir / "PLAN.JWW").result, BackupResult::kNoFile);
  EXPECT_FALSE(fs::exists(dir / "PLAN.BAK"));

  WriteFileBytes(dir / "PLAN.JWW", "current");
  WriteFileBytes(dir / "PLAN.BAK", "older");
  EXPECT_EQ(BackupExistingFile(dir / "PLAN.JWW").result, BackupResult::kKept);
  EXPECT_FALSE(fs::exists(dir / "PLAN.JWW"));
  EXPECT_EQ(ReadFileBytes(dir / "PLAN.BAK"), "current");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(BackupExistingFile, FailsWithoutChangingAnythingWhenTheBackupPathIsAFolder) {
  ScratchDir dir;
  WriteFileBytes(dir / "PLAN.JWW", "current");
  fs::create_directory(dir / "PLAN.BAK");
  WriteFileBytes(dir / "PLAN.BAK" / "inside", "x");
  const unit_val::BackupOutcome outcome = BackupExistingFile(dir / "PLAN.JWW");
  EXPECT_TRUE(outcome.failed());
  EXPECT_FALSE(outcome.failure.detail.empty());
  EXPECT_EQ(ReadFileBytes(dir / "PLAN.JWW"), "current");
  EXPECT_EQ(ReadFileBytes(dir / "PLAN.BAK" / "inside"), "x");
}

TEST(DestinationBackup, UndoPutsTheFileAndTheOlderBackupBack) {
  ScratchDir dir;
  WriteFileBytes(dir / "PLAN.JWW", "current");
  WriteFileBytes(dir / "PLAN.BAK", "older");
  {
    unit_val::DestinationBackup backup(dir / "PLAN.JWW");
    ASSERT_EQ(backup.Make().result, BackupResult::kKept);
    EXPECT_EQ(ReadFileBytes(dir / "PLAN.BAK"), "current");
    EXPECT_TRUE(backup.Undo());
  }
  EXPECT_EQ(ReadFileBytes(dir / "PLAN.JWW"), "current");
  EXPECT_EQ(ReadFileBytes(dir / "PLAN.BAK"), "older");
  {
    // Neither kept nor undone: the destructor undoes.
    unit_val::DestinationBackup backup(dir / "PLAN.JWW");
    ASSERT_EQ(backup.Make().result, BackupResult::kKept);
  }
  EXPECT_EQ(ReadFileBytes(dir / "PLAN.JWW"), "current");
  EXPECT_EQ(ReadFileBytes(dir / "PLAN.BAK"), "older");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

// An older backup that cannot be put back stays under a name of ours, and
// the reason says which: after a failed move of the file (Make), and after
// a failed move into place that could not be undone (ConvertFile).
TEST(DestinationBackup, AnOlderBackupLeftAsideIsNamed) {
  ScratchDir dir;
  const fs::path plan = fs::path(QUILLON_SOURCE_DIR) / "examples/PLAN.jww";
  auto aside = [&] {
    for (const auto& e : fs::directory_iterator(dir.path())) {
      if (e.path().extension() == ".old") return e.path();
    }
    return fs::path();
  };
  WriteFileBytes(dir / "D.jww", "current");
  WriteFileBytes(dir / "D.BAK", "older");
  {
    unit_val::DestinationBackup backup(dir / "D.jww");
    platform::ArmFileFault(platform::FileOp::kRename, 2, 2);  // the file's move and the way back
    const unit_val::BackupOutcome made = backup.Make();
    platform::DisarmFileFaults();
    ASSERT_TRUE(made.failed());
    ASSERT_FALSE(aside().empty());
    EXPECT_NE(made.failure.detail.find("the older backup stays as " + aside().string()),
              std::string::npos)
        << made.failure.detail;
    EXPECT_EQ(ReadFileBytes(aside()), "older");
    EXPECT_EQ(backup.olderLeftAside(), aside());
    fs::rename(aside(), dir / "D.BAK");
  }
  jww::Drawing drawing;
  platform::ArmFileFault(platform::FileOp::kRename, 3, 2);  // into place, and the undo
  const unit_val::ConvertOutcome outcome =
      unit_val::ConvertFile(plan, dir / "D.jww", {}, {drawing, nullptr, {}});
  platform::DisarmFileFaults();
  ASSERT_FALSE(outcome.converted());
  ASSERT_FALSE(aside().empty());
  EXPECT_NE(unit_val::EnglishText(outcome.failure)
                .find("the former file stays as " + (dir / "D.BAK").string()),
            std::string::npos);
  EXPECT_NE(
      unit_val::EnglishText(outcome.failure).find("the older backup stays as " + aside().string()),
      std::string::npos)
      << unit_val::EnglishText(outcome.failure);
  EXPECT_EQ(ReadFileBytes(aside()), "older");
  EXPECT_EQ(ReadFileBytes(dir / "D.BAK"), "current");
}

#ifndef _WIN32
TEST(BackupExistingFile, KeepsALinkOrAPipeItselfAndNeverFollowsOne) {
  ScratchDir dir;
  fs::create_directory(dir / "folder");
  WriteFileBytes(dir / "folder" / "inside.jww", "kept");
  const auto link = [&](const fs::path& to) {
    return [&dir, to] { fs::create_symlink(to, dir / "PLAN.JWW"); };
  };
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"link to a folder", link(dir / "folder")},
      {"dangling link", link(dir / "gone.jww")},
      {"pipe", [&] { ASSERT_EQ(::mkfifo((dir / "PLAN.JWW").c_str(), 0600), 0); }}};
  // An older backup that is a link to the folder goes, and only the link.
  fs::create_directory_symlink(dir / "folder", dir / "PLAN.BAK");
  for (const auto& [what, make] : cases) {
    SCOPED_TRACE(what);
    make();
    const fs::file_status before = fs::symlink_status(dir / "PLAN.JWW");
    const fs::path target = fs::is_symlink(before) ? fs::read_symlink(dir / "PLAN.JWW") : "";
    EXPECT_EQ(BackupExistingFile(dir / "PLAN.JWW").result, BackupResult::kKept);
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "PLAN.JWW")));
    EXPECT_EQ(fs::symlink_status(dir / "PLAN.BAK").type(), before.type());
    if (!target.empty()) {
      EXPECT_EQ(fs::read_symlink(dir / "PLAN.BAK"), target);
    }
  }
  EXPECT_EQ(ReadFileBytes(dir / "folder" / "inside.jww"), "kept");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}
#endif

TEST(TempFolder, PrivateFolderRemovedWithItsContents) {
  fs::path made;
  {
    unit_val::TempFolder a;
    unit_val::TempFolder b;
    ASSERT_TRUE(a.ok()) << a.error();
    ASSERT_TRUE(b.ok()) << b.error();
    EXPECT_NE(a.path(), b.path());
    EXPECT_TRUE(fs::is_directory(a.path()));
    // The temp folder may be named with a trailing separator (it is on Windows).
    EXPECT_EQ(a.path().parent_path(), (fs::temp_directory_path() / "").parent_path());
    WriteFileBytes(a.path() / "image.bin", "bytes");
    made = a.path();
  }
  EXPECT_FALSE(fs::exists(made));
}

TEST(TempFolder, ReportsAParentWhereNoFolderCanBeMade) {
  ScratchDir dir;
  WriteFileBytes(dir / "file", "not a folder");
  unit_val::TempFolder t(dir / "file");
  EXPECT_FALSE(t.ok());
  EXPECT_TRUE(t.path().empty());
  EXPECT_FALSE(t.error().empty());
}

TEST(SameFolder, SameTextOrSameFolderOfTheFileSystem) {
  ScratchDir dir;
  fs::create_directories(dir / "src" / "sub");
  fs::create_directory(dir / "dst");
  const fs::path src = dir / "src";
  EXPECT_TRUE(unit_val::SameFolder(src, src));
  EXPECT_TRUE(unit_val::SameFolder(src, src / ""));                   // trailing separator
  EXPECT_TRUE(unit_val::SameFolder(src, src / "sub" / ".."));         // ".." segment
  EXPECT_TRUE(unit_val::SameFolder(src / "." / "sub", src / "sub"));  // "." segment
  EXPECT_FALSE(unit_val::SameFolder(src, dir / "dst"));
  EXPECT_FALSE(unit_val::SameFolder(src, dir / "missing"));
  EXPECT_TRUE(unit_val::SameFolder(dir / "missing", dir / "missing"));
  if (!testing_support::LinkFolder(src, dir / "link")) GTEST_SKIP() << "no folder links here";
  EXPECT_TRUE(unit_val::SameFolder(dir / "link", src));
}

}  // namespace
