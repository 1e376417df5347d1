#include "platform/file_io.h"

#include <gtest/gtest.h>

#include "tests/support/paths.h"

namespace {

TEST(SyncFileSystem, SyncsAnExistingFolderAndRefusesAMissingOne) {
  testing_support::ScratchDir scratch;
#if defined(__linux__)
  EXPECT_TRUE(platform::SyncFileSystemOf(scratch.path()));
#endif
  EXPECT_FALSE(platform::SyncFileSystemOf(scratch / "missing"));
}

}  // namespace
