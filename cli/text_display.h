// Drawing strings as UTF-8 for the terminal and for JSON.
#pragma once

#include <string>

#include "drawing/jww_string.h"

namespace cli {

// Control characters dropped by the display filter, then decoded (code page
// 932 or UTF-16, by the string's form): the memo as a file list shows it.
std::string DisplayText(const jww::JwwString& s);

// Decoded with nothing dropped.
std::string DecodedText(const jww::JwwString& s);

}  // namespace cli
