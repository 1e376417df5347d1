#include "cli/text_display.h"

#include "common/func.h"
#include "platform/cp932.h"

namespace cli {

std::string DisplayText(const jww::JwwString& s) {
  if (s.wide) return platform::Utf16ToUtf8(func::DisplayFilter(s.toUtf16Units()));
  return platform::Cp932ToUtf8(func::DisplayFilter(s.bytes));
}

std::string DecodedText(const jww::JwwString& s) {
  if (s.wide) return platform::Utf16ToUtf8(s.toUtf16Units());
  return platform::Cp932ToUtf8(s.bytes);
}

}  // namespace cli
