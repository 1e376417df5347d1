// quillon-cli: the commands of Quillon for the terminal.
#include <iostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/convert_command.h"
#include "cli/info_command.h"
#include "cli/render_command.h"
#include "cli/undo_command.h"
#include "platform/console.h"

namespace {

constexpr cli::Command kCommands[] = {
    {"info", cli::InfoSynopsis, "show what JWW drawings hold; nothing is written", cli::RunInfo},
    {"convert", cli::ConvertSynopsis,
     "retype the free-size texts of drawings into a destination folder", cli::RunConvert},
    {"undo", cli::UndoSynopsis, "take back the last convert run into a folder, to the byte",
     cli::RunUndo},
    {"render", cli::RenderSynopsis,
     "draw drawings as SVG files, marking the texts a conversion would retype", cli::RunRender},
};

void PrintUsage(std::ostream& out) {
  out << "Usage: quillon-cli COMMAND [OPTION]... [ARGUMENT]...\n\nCommands:\n";
  for (const cli::Command& c : kCommands) {
    out << "  " << c.name << ' ' << c.synopsis() << "\n      " << c.summary << '\n';
  }
  out << "\nRun \"quillon-cli COMMAND --help\" for the options of a command.\n";
}

int Dispatch(const std::vector<std::string>& args) {
  if (args.empty()) {
    std::cerr << "quillon-cli: no command given (see \"quillon-cli --help\")\n";
    return cli::kExitUsage;
  }
  if (args[0] == "--help" || args[0] == "-h") {
    PrintUsage(std::cout);
    return cli::kExitOk;
  }
  for (const cli::Command& c : kCommands) {
    if (args[0] == c.name) {
      return c.run(std::vector<std::string>(args.begin() + 1, args.end()), std::cout, std::cerr);
    }
  }
  std::cerr << "quillon-cli: unknown command \"" << args[0] << "\" (see \"quillon-cli --help\")\n";
  return cli::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const platform::Utf8Output utf8Output;
  const int code = Dispatch(platform::Utf8Arguments(argc, argv));
  std::cout.flush();
  if (!std::cout && code != cli::kExitReportLost) {
    std::cerr << "quillon-cli: cannot write the output\n";
    return code == cli::kExitUsage ? code : cli::kExitFailed;
  }
  return code;
}
