// The undo journal reads back what was written, names of every kind
// included, and a damaged one is refused whole.
#include "conversion/undo_journal.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "conversion/file_digest.h"
#include "conversion/stale_temporaries.h"
#include "platform/path_text.h"
#include "tests/support/paths.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;
using unit_val::JournalEntry;

TEST(UndoJournal, ReadsBackWhatWasWrittenAndRefusesADamagedOne) {
  ScratchDir dir;
  const std::vector<JournalEntry> entries = {
      {platform::PathFromUtf8("平面図 100%\t.jww"), unit_val::FileDigest{12, 0xABCDEF}, true,
       unit_val::FileDigest{0, 0x1}, ".quillon-x.old"},
      {"B.jww", std::nullopt, true, std::nullopt, {}},
      {"%41.jww", unit_val::FileDigest{1, ~0ull}, false, std::nullopt, {}},
  };
  std::error_code ec;
  ASSERT_EQ(unit_val::WriteUndoJournal(dir.path(), entries, ec), "");
  auto read = unit_val::ReadUndoJournal(dir.path());
  EXPECT_TRUE(read.found);
  EXPECT_EQ(read.error, "");
  EXPECT_EQ(read.entries, entries);

  // The sweep of a folder's stale temporaries leaves the journal be.
  unit_val::RemoveTemporariesOfLockedFolder(dir.path(), {});
  EXPECT_TRUE(fs::exists(dir / unit_val::kUndoJournalName));

  const std::string whole = ReadFileBytes(dir / unit_val::kUndoJournalName);
  WriteFileBytes(dir / unit_val::kUndoJournalName, whole.substr(0, whole.size() - 4));
  read = unit_val::ReadUndoJournal(dir.path());
  EXPECT_TRUE(read.found);
  EXPECT_NE(read.error.find("damaged"), std::string::npos) << read.error;
  EXPECT_TRUE(read.entries.empty());

  ASSERT_TRUE(unit_val::RemoveUndoJournal(dir.path(), ec));
  EXPECT_FALSE(unit_val::ReadUndoJournal(dir.path()).found);
}

// A file's digest does not hang on how its reads fall: a file past one read
// buffer, its last block cut short, hashes as its bytes do, and one byte
// changed anywhere changes it.
TEST(FileDigest, HashesTheBytesWhateverTheReadsAndSeesOneByteChanged) {
  ScratchDir dir;
  std::string bytes((std::size_t{1} << 20) + 45, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 131 >> 3);
  WriteFileBytes(dir / "a", bytes);
  std::error_code ec;
  const auto digest = unit_val::DigestOf(dir / "a", ec);
  ASSERT_TRUE(digest) << ec.message();
  EXPECT_EQ(digest->size, bytes.size());
  EXPECT_EQ(digest->hash, unit_val::HashOfBytes(bytes));
  for (std::size_t at : {std::size_t{0}, std::size_t{40}, bytes.size() - 1}) {
    std::string changed = bytes;
    changed[at] = static_cast<char>(changed[at] ^ 1);
    EXPECT_NE(unit_val::HashOfBytes(changed), digest->hash) << at;
  }
  EXPECT_NE(unit_val::HashOfBytes(bytes + '\0'), digest->hash);
}

}  // namespace
