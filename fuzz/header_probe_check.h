// What a header probe of JWC drawings and JWK figure files must answer for
// any file: true exactly when the file holds the header records, and then
// the two memo fields as the raw 32 bytes at offsets 40 and 72.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/func.h"
#include "probes/header_memo.h"

namespace fuzzing {

inline void CheckHeaderProbe(bool probed, const probes::HeaderMemo& memo, std::size_t recordCount,
                             const std::uint8_t* data, std::size_t size) {
  if (probed != (size >= recordCount * probes::kHeaderRecordBytes)) std::abort();
  if (!probed) {
    if (!memo.field1.empty() || !memo.field2.empty()) std::abort();
    return;
  }
  const char* bytes = reinterpret_cast<const char*>(data);
  const std::string field1(bytes + probes::kMemoField1Offset, probes::kMemoFieldBytes);
  const std::string field2(bytes + probes::kMemoField2Offset, probes::kMemoFieldBytes);
  if (memo.field1 != field1 || memo.field2 != field2) std::abort();
  if (memo.Text() != func::DisplayFilter(field1 + ' ' + field2)) std::abort();
}

}  // namespace fuzzing
