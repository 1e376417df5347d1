// quillon-cli render --out DIR [--settings FILE] [--mark] FILE...: each
// drawing as DIR/NAME.svg, with the texts a conversion would retype marked.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// The arguments, as "quillon-cli --help" shows them.
std::string RenderSynopsis();

int RunRender(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace cli
