// quillon-cli convert --dest DIR [--settings FILE] [--dry-run] [--json]
// [--recursive] PATH...: the main job without a window.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// The arguments, as "quillon-cli --help" shows them.
std::string ConvertSynopsis();

int RunConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace cli
