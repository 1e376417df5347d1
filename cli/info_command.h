// quillon-cli info [--json] FILE...: what each JWW drawing holds. Drawings
// are only read; embedded images are skipped, never extracted.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// The arguments, as "quillon-cli --help" shows them.
std::string InfoSynopsis();

int RunInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace cli
