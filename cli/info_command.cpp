#include "cli/info_command.h"

#include "cli/command.h"
#include "cli/info_json.h"
#include "cli/info_text.h"
#include "cli/terminal_text.h"
#include "conversion/source_check.h"
#include "drawing/jww_loader.h"
#include "platform/path_text.h"

namespace cli {

namespace {

constexpr const char* kInfoUsage =
    "Usage: quillon-cli info [--json] FILE...\n"
    "Shows what each JWW drawing holds: version, memo, text types, entity counts\n"
    "at the top level and in block definitions, block definitions and every text.\n"
    "Drawings are only read; nothing is written.\n"
    "\n"
    "  --json   one JSON object per drawing, one per line\n"
    "  --help   show this help\n"
    "\n"
    "Exit status: 0 when every drawing loaded, 1 when any did not, 2 on a usage error.\n";

int UsageError(std::ostream& err, const std::string& what) {
  err << "quillon-cli info: " << what << " (see \"quillon-cli info --help\")\n";
  return kExitUsage;
}

}  // namespace

int RunInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  bool json = false;
  bool optionsEnded = false;
  std::vector<std::string> files;
  for (const std::string& arg : args) {
    if (optionsEnded || arg.empty() || arg[0] != '-') {
      files.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--json") {
      json = true;
    } else if (arg == "--help" || arg == "-h") {
      out << kInfoUsage;
      return kExitOk;
    } else {
      return UsageError(err, "unknown option \"" + arg + "\"");
    }
  }
  if (files.empty()) return UsageError(err, "no FILE given");

  int code = kExitOk;
  jww::Drawing drawing;
  drawing.imageOptions.extract = false;
  bool first = true;
  for (const std::string& file : files) {
    const std::filesystem::path path = platform::PathFromUtf8(file);
    const unit_val::SourceCheck check = unit_val::CheckSource(path);
    const jww::LoadResult loaded = check.kind == unit_val::SourceKind::kDrawing
                                       ? jww::LoadJww(drawing, path)
                                       : jww::LoadResult{false, check.reason};
    if (loaded) {
      if (json) {
        out << InfoJson(file, drawing) << '\n';
      } else {
        if (!first) out << '\n';
        WriteInfoText(out, file, drawing);
        first = false;
      }
    } else {
      code = kExitFailed;
      if (json) out << InfoJsonFailure(file, loaded.error) << '\n';
      err << "quillon-cli info: " << TerminalText(file) << ": " << TerminalText(loaded.error)
          << '\n';
    }
    drawing.Free();
    drawing.ClearImageList();
  }
  return code;
}

}  // namespace cli
