// quillon-cli undo [--json] DIR: takes back the last run into DIR.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

std::string UndoSynopsis();

int RunUndo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace cli
