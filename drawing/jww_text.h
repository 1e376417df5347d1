// Drawing strings as UTF-8, for whatever shows them (the file list's memo
// column, the command line, JSON).
#pragma once

#include <string>

#include "drawing/jww_string.h"

namespace jww {

// Control characters dropped by the display filter, then decoded (code page
// 932 or UTF-16, by the string's form): the memo as a file list shows it.
std::string DisplayText(const JwwString& s);

// Decoded with nothing dropped.
std::string DecodedText(const JwwString& s);

}  // namespace jww
