#include "cli/info_command.h"

#include <memory>

#include "cli/command.h"
#include "cli/command_line.h"
#include "cli/info_json.h"
#include "cli/info_text.h"
#include "cli/terminal_text.h"
#include "conversion/source_check.h"
#include "drawing/jww_loader.h"
#include "platform/path_text.h"

namespace cli {

namespace {

constexpr const char* kAbout =
    "Shows what each JWW drawing holds: version, memo, text types, entity counts\n"
    "at the top level and in block definitions, block definitions and every text.\n"
    "Drawings are only read; nothing is written.";

constexpr const char* kFooter =
    "Exit status: 0 when every drawing loaded, 1 when any did not, 2 on a usage error.\n";

std::unique_ptr<CLI::App> Describe(bool& json, std::vector<std::string>& files) {
  auto app = MakeCommandLine("info", kAbout, kFooter);
  app->add_flag("--json", json, "one JSON object per drawing, one per line");
  app->add_option("FILE", files, "a drawing")->required();
  return app;
}

}  // namespace

std::string InfoSynopsis() {
  bool json = false;
  std::vector<std::string> files;
  return Synopsis(*Describe(json, files));
}

int RunInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  bool json = false;
  std::vector<std::string> files;
  const std::unique_ptr<CLI::App> commandLine = Describe(json, files);
  std::string problem;
  switch (ParseCommandLine(*commandLine, args, problem)) {
    case Parsed::kHelp:
      out << Help(*commandLine);
      return kExitOk;
    case Parsed::kError:
      err << "quillon-cli info: " << problem << " (see \"quillon-cli info --help\")\n";
      return kExitUsage;
    case Parsed::kRun:
      break;
  }

  int code = kExitOk;
  jww::Drawing drawing;
  drawing.imageOptions.extract = false;
  bool first = true;
  for (const std::string& file : files) {
    const std::filesystem::path path = platform::PathFromUtf8(file);
    const unit_val::SourceCheck check = unit_val::CheckSource(path);
    const jww::LoadResult loaded =
        check.kind == unit_val::SourceKind::kDrawing
            ? jww::LoadJww(drawing, path)
            : jww::LoadResult{check.kind == unit_val::SourceKind::kNotDrawing
                                  ? jww::LoadFailure::kNotJww
                                  : jww::LoadFailure::kCannotOpen,
                              unit_val::EnglishText(check.failure)};
    if (loaded) {
      if (json) {
        WriteInfoJson(out, file, drawing);
        out << '\n';
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
