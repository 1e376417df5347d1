// Folder listings and path status: kinds, sizes and attributes of entries,
// the reasons a folder cannot be read, and paths beyond 260 characters.
#include "platform/folder_listing.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/file_io.h"
#include "tests/support/paths.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

namespace fs = std::filesystem;
using testing_support::ScratchDir;

const platform::FolderEntry* Find(const platform::FolderListing& listing, const fs::path& name) {
  const auto it = std::find_if(listing.entries.begin(), listing.entries.end(),
                               [&](const platform::FolderEntry& e) { return e.name == name; });
  return it == listing.entries.end() ? nullptr : &*it;
}

TEST(FolderListing, TellsKindsSizesAttributesAndWhyAFolderCannotBeRead) {
  ScratchDir scratch;
  testing_support::WriteFileBytes(scratch / "PLAN.JWW", "12345");
  testing_support::WriteFileBytes(scratch / ".hidden", "");
  fs::create_directory(scratch / "sub");
  fs::permissions(scratch / "PLAN.JWW", fs::perms::owner_read | fs::perms::group_read);
#ifdef _WIN32
  ::SetFileAttributesW((scratch / ".hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
#endif
  const platform::FolderListing listing = platform::ListFolder(scratch.path());
  ASSERT_FALSE(listing.error) << listing.error.message();
  EXPECT_EQ(listing.entries.size(), 3u);  // no "." nor ".."
  const platform::FolderEntry* plan = Find(listing, "PLAN.JWW");
  ASSERT_NE(plan, nullptr);
  EXPECT_TRUE(plan->regularFile);
  EXPECT_FALSE(plan->folder);
  EXPECT_EQ(plan->size, 5u);
  EXPECT_TRUE(plan->attributes.readOnly);
  EXPECT_FALSE(plan->attributes.hidden);
  ASSERT_TRUE(plan->lastWrite.has_value());
  EXPECT_GE(plan->lastWrite->year, 2020);
  const platform::FolderEntry* sub = Find(listing, "sub");
  ASSERT_NE(sub, nullptr);
  EXPECT_TRUE(sub->folder);
  EXPECT_FALSE(sub->regularFile || sub->link || sub->attributes.readOnly);
  ASSERT_NE(Find(listing, ".hidden"), nullptr);
  EXPECT_TRUE(Find(listing, ".hidden")->attributes.hidden);

  EXPECT_EQ(platform::StatusOf(scratch / "sub").kind, platform::PathKind::kFolder);
  EXPECT_EQ(platform::StatusOf(scratch / "PLAN.JWW").kind, platform::PathKind::kRegularFile);
  const platform::PathStatus missing = platform::StatusOf(scratch / "missing");
  EXPECT_EQ(missing.kind, platform::PathKind::kMissing);
  EXPECT_EQ(missing.error, std::errc::no_such_file_or_directory) << missing.error.message();
  const platform::FolderListing gone = platform::ListFolder(scratch / "missing");
  EXPECT_EQ(gone.error, std::errc::no_such_file_or_directory) << gone.error.message();
  EXPECT_TRUE(platform::ListFolder(scratch / "PLAN.JWW").error);
  EXPECT_FALSE(platform::ListFolder(scratch / "sub").error);
  fs::permissions(scratch / "PLAN.JWW", fs::perms::owner_all);
}

TEST(FolderListing, ReachesFoldersBeyond260Characters) {
  ScratchDir scratch;
  const fs::path deep = testing_support::MakeDeepFolder(scratch / "tree", 300);
  ASSERT_GT(fs::absolute(deep).native().size(), 300u);
  std::FILE* file = platform::OpenFile(deep / "PLAN.JWW", "wb");
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(platform::WriteFile(file, "12345", 5));
  ASSERT_TRUE(platform::CloseFile(file));

  const platform::FolderListing above = platform::ListFolder(deep.parent_path());
  ASSERT_FALSE(above.error) << above.error.message();
  ASSERT_EQ(above.entries.size(), 1u);
  EXPECT_EQ(above.entries[0].name, deep.filename());
  EXPECT_TRUE(above.entries[0].folder);
  const platform::FolderListing listing = platform::ListFolder(deep);
  ASSERT_FALSE(listing.error) << listing.error.message();
  ASSERT_EQ(listing.entries.size(), 1u);
  EXPECT_EQ(listing.entries[0].name, "PLAN.JWW");
  EXPECT_TRUE(listing.entries[0].regularFile);
  EXPECT_EQ(listing.entries[0].size, 5u);
  EXPECT_EQ(platform::StatusOf(deep).kind, platform::PathKind::kFolder);
  EXPECT_EQ(platform::StatusOf(deep / "PLAN.JWW").kind, platform::PathKind::kRegularFile);
  EXPECT_EQ(platform::StatusOf(deep / "missing").kind, platform::PathKind::kMissing);
}

}  // namespace
