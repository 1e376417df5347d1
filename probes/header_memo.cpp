#include "probes/header_memo.h"

#include <cstdio>
#include <vector>

#include "common/func.h"
#include "platform/file_io.h"

namespace probes {

std::string HeaderMemo::Text() const {
  return func::DisplayFilter(field1 + ' ' + field2);
}

bool ReadHeaderMemo(const std::filesystem::path& path, std::size_t recordCount, HeaderMemo& memo) {
  memo.Reset();
  std::FILE* file = platform::OpenFile(path, "rb");
  if (!file) return false;
  std::vector<char> records(recordCount * kHeaderRecordBytes);
  bool failed = false;
  const bool complete =
      platform::ReadFile(file, records.data(), records.size(), failed) == records.size();
  platform::CloseFile(file);
  if (!complete || recordCount == 0) return false;
  memo.field1.assign(records.data() + kMemoField1Offset, kMemoFieldBytes);
  memo.field2.assign(records.data() + kMemoField2Offset, kMemoFieldBytes);
  return true;
}

}  // namespace probes
