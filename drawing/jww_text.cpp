#include "drawing/jww_text.h"

#include "common/func.h"
#include "platform/cp932.h"

namespace jww {

std::string DisplayText(const JwwString& s) {
  if (s.wide) return platform::Utf16ToUtf8(func::DisplayFilter(s.toUtf16Units()));
  return platform::Cp932ToUtf8(func::DisplayFilter(s.bytes));
}

std::string DecodedText(const JwwString& s) {
  if (s.wide) return platform::Utf16ToUtf8(s.toUtf16Units());
  return platform::Cp932ToUtf8(s.bytes);
}

}  // namespace jww
