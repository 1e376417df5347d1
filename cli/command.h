// What every subcommand of quillon-cli offers the dispatcher.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // some file could not be handled
inline constexpr int kExitUsage = 2;   // the command line was not understood
// The report could not be written (its reader went away) and the run
// stopped: the status of a writer ended by a broken pipe.
inline constexpr int kExitReportLost = 141;

// A subcommand gets the arguments after its name and writes its report to
// `out` and its messages (one line each) to `err`; it answers the exit code.
using CommandMain = int (*)(const std::vector<std::string>& args, std::ostream& out,
                            std::ostream& err);

struct Command {
  const char* name;
  std::string (*synopsis)();  // the arguments, from the command's own description
  const char* summary;
  CommandMain run;
};

}  // namespace cli
