// Text that goes into a report line: control characters (C0, DEL and C1, the
// ones a terminal acts on) shown escaped, so that a file name can neither
// split a line nor send terminal codes.
#pragma once

#include <string>
#include <string_view>

namespace cli {

std::string TerminalText(std::string_view utf8);

}  // namespace cli
