#include "cli/render_command.h"

#include <csignal>
#include <map>
#include <memory>

#include "cli/command.h"
#include "cli/command_line.h"
#include "cli/settings_option.h"
#include "cli/svg_file.h"
#include "cli/terminal_text.h"
#include "conversion/convert_file.h"
#include "conversion/file_selection.h"
#include "conversion/path_text.h"
#include "conversion/retype_marks.h"
#include "conversion/stop_token.h"
#include "conversion/text_sweep.h"
#include "drawing/jww_loader.h"
#include "platform/interrupt.h"
#include "platform/path_text.h"
#include "render/display_list.h"

namespace cli {

namespace fs = std::filesystem;

namespace {

constexpr const char* kAbout =
    "Draws each JWW drawing as DIR/NAME.svg (NAME: the drawing's name without its\n"
    "extension): the drawing's layers as layers, block definitions as symbols, texts as\n"
    "text. A FILE may be a folder (its files whose extension is .JWW in any letter case).\n"
    "Drawings are only read; an SVG file already in DIR is replaced.";

constexpr const char* kFooter =
    "Exit status: 0 when every chosen drawing was drawn, 1 when any failed, 2 on a usage\n"
    "error, 130 when interrupted (143 when terminated), 141 when its report cannot be\n"
    "written. Each SVG file appears whole or not at all.\n";

struct Options {
  std::string out, settings;
  bool mark = false;
  std::vector<std::string> files;
};

std::unique_ptr<CLI::App> Describe(Options& o) {
  auto app = MakeCommandLine("render", kAbout, kFooter);
  const auto last = CLI::MultiOptionPolicy::TakeLast;
  app->add_option("--out", o.out, "the folder the SVG files go to (created when missing)")
      ->type_name("DIR")
      ->required()
      ->multi_option_policy(last);
  app->add_option("--settings", o.settings,
                  "the settings file (default: " + std::string(unit_val::kSettingsFileName) +
                      " beside the program); only read")
      ->type_name("FILE")
      ->multi_option_policy(last);
  app->add_flag("--mark", o.mark,
                "mark the texts a conversion with these settings would retype, with their\n"
                "new type, and name the counts under the drawing");
  app->add_option("FILE", o.files, "a drawing or a folder")->required();
  return app;
}

int Usage(std::ostream& err, const std::string& what, bool helpHint = true) {
  err << "quillon-cli render: " << TerminalText(what);
  if (helpHint) err << " (see \"quillon-cli render --help\")";
  err << '\n';
  return kExitUsage;
}

// "3 texts marked (type 2: 1, type 5: 2)".
std::string MarkedText(const std::array<int, unit_val::kConvertibleTypeCount>& byType) {
  int total = 0;
  std::string types;
  for (std::size_t k = 0; k < byType.size(); ++k) {
    total += byType[k];
    if (byType[k] == 0) continue;
    types += (types.empty() ? "" : ", ") + std::string("type ") + std::to_string(k + 1) + ": " +
             std::to_string(byType[k]);
  }
  return std::to_string(total) + (total == 1 ? " text" : " texts") + " marked" +
         (types.empty() ? "" : " (" + types + ")");
}

class Run {
 public:
  Run(const Options& o, const unit_val::ConversionSettings& settings, std::ostream& out,
      std::ostream& err)
      : options_(o), settings_(settings), out_(out), err_(err) {
    drawing_.imageOptions.extract = false;
  }

  // Draws one chosen drawing; false when the report can no longer be written.
  bool Draw(const fs::path& source, const fs::path& destination) {
    const auto [holder, added] = taken_.try_emplace(destination.lexically_normal(), source);
    if (!added) {
      return Failed(source, unit_val::ConvertStage::kPlan,
                    unit_val::EnglishText(unit_val::NameTaken(destination, false, holder->second)));
    }
    // The folder first, as a conversion makes it: a run that cannot write
    // says so for every file.
    std::string folderError;
    if (!FolderReady(destination.parent_path(), folderError)) {
      return Failed(source, unit_val::ConvertStage::kSave, folderError);
    }
    const jww::LoadResult loaded = jww::LoadJww(drawing_, source);
    if (!loaded) {
      Release();
      if (loaded.failure == jww::LoadFailure::kNotJww) return Skipped(source, loaded.error);
      return Failed(source, unit_val::ConvertStage::kLoad, loaded.error);
    }
    unit_val::MarkedDrawing drawn;
    if (options_.mark) {
      drawn = unit_val::DrawWithMarks(drawing_, settings_);
    } else {
      drawn.list = render::BuildDisplayList(drawing_);
    }
    Release();
    render::SvgOptions svg;
    svg.mark = options_.mark;
    if (options_.mark) svg.legend = drawn.legend;
    svg.title = unit_val::PathText(source.stem());
    const unit_val::Failure written = WriteSvgFile(drawn.list, svg, destination);
    if (written)
      return Failed(source, unit_val::ConvertStage::kSave, unit_val::EnglishText(written));
    ++written_;
    out_ << "wrote " << Shown(source) << " -> " << Shown(destination);
    if (options_.mark) out_ << ": " << MarkedText(drawn.counts.retyped);
    out_ << '\n';
    return out_.flush().good();
  }

  bool Skipped(const fs::path& source, const std::string& why) {
    ++skipped_;
    out_ << "skipped " << Shown(source) << ": " << TerminalText(why) << '\n';
    return out_.flush().good();
  }

  bool Failed(const fs::path& source, unit_val::ConvertStage stage, const std::string& why) {
    ++failed_;
    out_ << "failed " << Shown(source) << ": " << unit_val::ConvertStageName(stage) << ": "
         << TerminalText(why) << '\n';
    err_ << "quillon-cli render: " << Shown(source) << ": " << TerminalText(why) << '\n';
    return out_.flush().good();
  }

  void Summary(const std::string& stoppedBy) {
    if (!stoppedBy.empty()) out_ << "stopped: " << TerminalText(stoppedBy) << '\n';
    out_ << written_ << " written, " << failed_ << " failed, " << skipped_ << " skipped\n";
  }

  int failed() const { return failed_; }

 private:
  static std::string Shown(const fs::path& path) { return TerminalText(unit_val::PathText(path)); }

  void Release() {
    drawing_.Free();
    drawing_.ClearImageList();
  }

  // The output folder, made once when the first drawing is to be written.
  bool FolderReady(const fs::path& folder, std::string& error) {
    const auto [made, added] = folders_.try_emplace(folder);
    if (added) {
      std::error_code ec;
      fs::create_directories(folder, ec);
      if (ec) made->second = unit_val::EnglishText(unit_val::CannotCreateFolder(folder, ec));
    }
    error = made->second;
    return error.empty();
  }

  const Options& options_;
  const unit_val::ConversionSettings& settings_;
  std::ostream& out_;
  std::ostream& err_;
  jww::Drawing drawing_;
  std::map<fs::path, fs::path> taken_;
  std::map<fs::path, std::string> folders_;
  int written_ = 0, failed_ = 0, skipped_ = 0;
};

// The stop's cause when the report could not be written.
constexpr int kReportLost = -2;

}  // namespace

std::string RenderSynopsis() {
  Options o;
  return Synopsis(*Describe(o));
}

int RunRender(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Options o;
  const std::unique_ptr<CLI::App> commandLine = Describe(o);
  std::string problem;
  const Parsed parsed = ParseCommandLine(*commandLine, args, problem);
  if (parsed == Parsed::kHelp) {
    out << Help(*commandLine);
    return kExitOk;
  }
  if (parsed == Parsed::kRun && o.out.empty()) problem = "no output folder given (--out DIR)";
  if (parsed == Parsed::kRun && o.settings.empty() && commandLine->count("--settings") > 0)
    problem = "no settings file given (--settings FILE)";
  if (!problem.empty()) return Usage(err, problem);

  unit_val::StopToken stop;
  const platform::CaughtInterrupts caught(stop.cell());
  unit_val::ConversionSettings settings;
  const SettingsRead settingsRead = ReadSettings(o.settings, settings);
  if (!settingsRead.problem.empty()) {
    return Usage(err, settingsRead.problem, settingsRead.helpHint);
  }
  const fs::path dest = platform::PathFromUtf8(o.out);
  std::vector<fs::path> paths;
  for (const std::string& file : o.files) paths.push_back(platform::PathFromUtf8(file));
  const unit_val::Selection selection =
      unit_val::ChooseFiles(paths, dest, false, unit_val::SignatureCheck::kWhenLoaded);
  if (!selection.ok()) return Usage(err, unit_val::EnglishText(selection.failure));

  Run run(o, settings, out, err);
  for (const unit_val::SetAsideFile& file : selection.skipped) {
    if (!run.Skipped(file.source, unit_val::EnglishText(file.failure))) stop.Request(kReportLost);
  }
  for (const unit_val::SetAsideFile& file : selection.unreadable) {
    if (!run.Failed(file.source, unit_val::ConvertStage::kLoad,
                    unit_val::EnglishText(file.failure)))
      stop.Request(kReportLost);
  }
  std::size_t done = 0;
  for (const unit_val::ChosenFile& file : selection.chosen) {
    if (stop.requested()) break;
    fs::path destination = file.destination;
    destination.replace_extension(".svg");
    if (!run.Draw(file.source, destination)) stop.Request(kReportLost);
    ++done;
  }
  if (const int cause = stop.cause()) {
    const char* what = cause == SIGINT        ? "interrupted"
                       : cause == kReportLost ? "the report cannot be written: stopped"
                                              : "terminated";
    const std::string why = std::string(what) + " after " + std::to_string(done) + " of " +
                            std::to_string(selection.chosen.size()) +
                            " files; the rest were not written";
    err << "quillon-cli render: " << why << '\n';
    run.Summary(why);
    return cause == kReportLost ? kExitReportLost : 128 + cause;
  }
  run.Summary({});
  return run.failed() > 0 ? kExitFailed : kExitOk;
}

}  // namespace cli
