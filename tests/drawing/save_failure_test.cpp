// SaveJww: the destination appears only complete; on failure nothing new
// remains and an existing file stays as it was.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>

#include "drawing/archive_writer.h"
#include "drawing/jww_loader.h"
#include "drawing/jww_writer.h"
#include "platform/file_faults.h"
#include "tests/drawing/drawing_diff.h"
#include "tests/support/paths.h"
#include "tests/support/synthetic.h"

namespace {

using namespace jww;
using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

std::vector<std::string> Names(const std::filesystem::path& dir) {
  std::vector<std::string> out;
  for (const auto& e : std::filesystem::directory_iterator(dir)) {
    out.push_back(e.path().filename().string());
  }
  std::sort(out.begin(), out.end());
  return out;
}

class SaveFailure : public ::testing::Test {
 protected:
  SaveFailure() : d(synthetic::MakeFullDrawing(600)) {}
  testing_support::ScratchDir dir;
  Drawing d;
};

TEST_F(SaveFailure, UnwritableOrMissingFolderGivesFalseAndNoFile) {
  // Nobody, not even the superuser, may create files in /proc.
  for (const std::filesystem::path& path :
       {std::filesystem::path("/proc/quillon-save-test.jww"), dir / "missing" / "a.jww",
        dir / "plain-file" / "a.jww"}) {
    SCOPED_TRACE(path.string());
    WriteFileBytes(dir / "plain-file", "not a folder");
    const SaveResult r = SaveJww(d, path, 600);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    EXPECT_FALSE(std::filesystem::exists(path));
  }
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"plain-file"});
}

TEST_F(SaveFailure, FailureWhileWritingKeepsTheExistingFileAndLeavesNoTemporary) {
  WriteFileBytes(dir / "a.jww", "the old drawing");
  d.blockDefs[0].entities.order.push_back(TEntRef{kArc, 99});  // past its table
  EXPECT_FALSE(SaveJww(d, dir / "a.jww", 600).ok);
  EXPECT_EQ(ReadFileBytes(dir / "a.jww"), "the old drawing");
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"a.jww"});
}

TEST_F(SaveFailure, AFailedWriteNamesTheSystemsReason) {
  platform::ArmFileFault(platform::FileOp::kWrite, 1);
  const SaveResult r = SaveJww(d, dir / "a.jww", 600);
  platform::DisarmFileFaults();
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.writeError, std::errc::io_error);
  EXPECT_NE(r.error.find(std::generic_category().message(EIO)), std::string::npos) << r.error;

  std::FILE* full = std::fopen("/dev/full", "wb");
  if (!full) GTEST_SKIP() << "no /dev/full here";
  std::setvbuf(full, nullptr, _IONBF, 0);
  ArchiveWriter ar(full);
  ar.u32(1);
  try {
    ar.Flush();
    ADD_FAILURE() << "a write to a full device succeeded";
  } catch (const ArchiveWriteError& e) {
    EXPECT_EQ(e.error(), std::errc::no_space_on_device);
    EXPECT_NE(std::string(e.what()).find(std::generic_category().message(ENOSPC)),
              std::string::npos)
        << e.what();
  }
  std::fclose(full);
}

TEST_F(SaveFailure, DestinationThatIsAFolderIsLeftAlone) {
  std::filesystem::create_directory(dir / "a.jww");
  WriteFileBytes(dir / "a.jww" / "inside", "x");
  EXPECT_FALSE(SaveJww(d, dir / "a.jww", 600).ok);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "a.jww"));
  EXPECT_EQ(Names(dir / "a.jww"), std::vector<std::string>{"inside"});
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"a.jww"});
}

TEST_F(SaveFailure, SuccessReplacesAnExistingFileWhole) {
  WriteFileBytes(dir / "a.jww", std::string(1000000, 'x'));  // longer than the drawing
  ASSERT_TRUE(SaveJww(d, dir / "a.jww", 600).ok);
  std::string expected;
  ASSERT_TRUE(SaveJwwToMemory(d, 600, expected).ok);
  EXPECT_EQ(ReadFileBytes(dir / "a.jww"), expected);
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"a.jww"});
}

TEST_F(SaveFailure, PendingFileIsDiscardedUnlessCommitted) {
  {
    PendingFile file(dir / "b.jww");
    ASSERT_TRUE(WriteJww(d, file, 600).ok);
    EXPECT_FALSE(std::filesystem::exists(dir / "b.jww"));
    EXPECT_EQ(Names(dir.path()).size(), 1u);  // the temporary, in the destination folder
    EXPECT_EQ(file.temporary().parent_path(), dir.path());
  }
  EXPECT_TRUE(Names(dir.path()).empty());
  PendingFile file(dir / "b.jww");
  ASSERT_TRUE(WriteJww(d, file, 600).ok);
  ASSERT_TRUE(file.Commit());
  Drawing back;
  ASSERT_TRUE(LoadJww(back, dir / "b.jww").ok());
  EXPECT_EQ(drawing_test::FirstDifference(d, back), "");
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"b.jww"});
}

}  // namespace

namespace {

TEST_F(SaveFailure, LongestFileNameTheFolderTakesStillSaves) {
  // 251 characters and ".jww": as long as a name may be on common file
  // systems (255 bytes here; 255 UTF-16 units on Windows).
  const std::string name = std::string(251, 'a') + ".jww";
  const SaveResult r = SaveJww(d, dir / name, 600);
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{name});
}

}  // namespace
