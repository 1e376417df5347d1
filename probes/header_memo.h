// The two memo fields that JWC drawings and JWK figure files keep in their
// first 200-byte header record, and the reading of those records.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace probes {

inline constexpr std::size_t kHeaderRecordBytes = 200;
inline constexpr std::size_t kMemoFieldBytes = 32;
// Memo field 1 stands at byte 40 of record 0, memo field 2 right after it.
inline constexpr std::size_t kMemoField1Offset = 40;
inline constexpr std::size_t kMemoField2Offset = kMemoField1Offset + kMemoFieldBytes;

struct HeaderMemo {
  std::string field1;  // 32 raw bytes after a successful read, else empty
  std::string field2;

  void Reset() {
    field1.clear();
    field2.clear();
  }
  // Field 1, a blank and field 2 through the display filter: the text the
  // file list shows.
  std::string Text() const;
};

// Reads `recordCount` whole header records from the start of the file and
// takes the memo fields from record 0. False, with `memo` empty, when the
// file cannot be opened or is shorter than the records.
bool ReadHeaderMemo(const std::filesystem::path& path, std::size_t recordCount, HeaderMemo& memo);

// The memo of the last file probed, for files whose header is `RecordCount`
// records long. The content of the records is not checked.
template <std::size_t RecordCount>
class HeaderProbe {
 public:
  // Resets, then reads the header records; on true memo() holds the file's
  // memo fields.
  bool Probe(const std::filesystem::path& path) { return ReadHeaderMemo(path, RecordCount, memo_); }
  void Reset() { memo_.Reset(); }
  const HeaderMemo& memo() const { return memo_; }

 private:
  HeaderMemo memo_;
};

}  // namespace probes
