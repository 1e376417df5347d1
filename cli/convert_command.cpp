#include "cli/convert_command.h"

#include <algorithm>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <optional>
#include <system_error>

#include "app/unit_ini.h"
#include "cli/command.h"
#include "cli/convert_report.h"
#include "cli/terminal_text.h"
#include "conversion/batch_run.h"
#include "conversion/conversion_settings.h"
#include "conversion/file_selection.h"
#include "conversion/path_text.h"
#include "conversion/preparation_pool.h"
#include "platform/interrupt.h"
#include "platform/path_text.h"
#include "platform/process.h"

namespace cli {

namespace fs = std::filesystem;

namespace {

constexpr const char* kConvertUsage =
    "Usage: quillon-cli convert --dest DIR [--settings FILE] [--dry-run] [--json] [--recursive]\n"
    "                           [--jobs N] PATH...\n"
    "Converts the free-size texts of JWW drawings into the drawings' text types and writes\n"
    "each drawing, under the same name and in its own JWW version, into DIR. A PATH is a\n"
    "drawing or a folder (its files whose extension is .JWW in any letter case). Sources are\n"
    "only read; a file already in DIR is kept as .BAK.\n"
    "\n"
    "  --dest DIR       the destination folder (created when missing; never a source folder)\n"
    "  --settings FILE  the settings file (default: quillon.ini beside the program); only read\n"
    "  --dry-run        load and classify only; write nothing, report what would change\n"
    "  --json           one JSON object per file and one for the summary, one per line\n"
    "  --recursive      also convert the subfolders of folder PATHs, mirrored below DIR\n"
    "                   (links to folders are not followed; no folder is walked twice)\n"
    "  --jobs N         read and convert with N threads (default: one per processor, at\n"
    "                   most 4); files are still backed up, moved and reported in order\n"
    "  --help           show this help\n"
    "\n"
    "A run is refused whole when a destination or backup would replace a file it reads;\n"
    "within a run, the first file to need a destination or .BAK name keeps it and a\n"
    "later one fails with nothing written. Ctrl+C stops between files, keeping what is\n"
    "done and removing every temporary.\n"
    "\n"
    "Exit status: 0 when every chosen file converted, 1 when any failed, 2 on a usage error\n"
    "or a refused run, 130 when interrupted (143 when terminated).\n";

struct Options {
  fs::path dest;
  fs::path settings;
  bool dryRun = false, json = false, recursive = false, help = false;
  unsigned jobs = unit_val::DefaultWorkerCount();
  std::vector<fs::path> paths;
};

// Empty on success, else what was wrong.
std::string Parse(const std::vector<std::string>& args, Options& o) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](fs::path& into) -> std::string {
      if (i + 1 >= args.size()) return "option " + arg + " needs a value";
      into = platform::PathFromUtf8(args[++i]);
      return {};
    };
    if (optionsEnded || arg.empty() || arg[0] != '-') {
      o.paths.push_back(platform::PathFromUtf8(arg));
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--dest") {
      if (auto e = value(o.dest); !e.empty()) return e;
    } else if (arg.starts_with("--dest=")) {
      o.dest = platform::PathFromUtf8(arg.substr(7));
    } else if (arg == "--settings") {
      if (auto e = value(o.settings); !e.empty()) return e;
    } else if (arg.starts_with("--settings=")) {
      o.settings = platform::PathFromUtf8(arg.substr(11));
    } else if (arg == "--jobs" || arg.starts_with("--jobs=")) {
      std::string text = arg.size() > 6 ? arg.substr(7) : "";
      if (arg.size() == 6) {
        if (i + 1 >= args.size()) return "option --jobs needs a value";
        text = args[++i];
      }
      const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), o.jobs);
      if (ec != std::errc() || end != text.data() + text.size() || o.jobs < 1 || o.jobs > 64) {
        return "--jobs needs a number from 1 to 64, not \"" + text + "\"";
      }
    } else if (arg == "--dry-run") {
      o.dryRun = true;
    } else if (arg == "--json") {
      o.json = true;
    } else if (arg == "--recursive" || arg == "-r") {
      o.recursive = true;
    } else if (arg == "--help" || arg == "-h") {
      o.help = true;
    } else {
      return "unknown option \"" + arg + "\"";
    }
  }
  if (o.help) return {};
  if (o.dest.empty()) return "no destination folder given (--dest DIR)";
  if (o.paths.empty()) return "no PATH given";
  return {};
}

// Shows which file is being converted, on one line of a terminal.
class Progress {
 public:
  Progress(std::size_t total) : total_(total), shown_(platform::IsTerminal(stderr)) {}
  ~Progress() {
    if (shown_ && started_) std::cerr << "\r\033[K" << std::flush;
  }
  void Show(std::size_t index, const fs::path& source) {
    if (!shown_) return;
    started_ = true;
    std::cerr << "\r\033[K[" << index + 1 << '/' << total_ << "] "
              << TerminalText(unit_val::PathText(source.filename())) << std::flush;
  }

 private:
  std::size_t total_;
  bool shown_;
  bool started_ = false;
};

// A usage error or a refused run: one line on stderr, and the summary when
// the report is JSON, so that every run prints one.
enum class Hint { kHelp, kNone };
int Stop(ConvertReport& report, bool json, std::ostream& err, int code, const std::string& what,
         Hint hint = Hint::kHelp) {
  err << "quillon-cli convert: " << TerminalText(what);
  if (hint == Hint::kHelp) err << " (see \"quillon-cli convert --help\")";
  err << '\n';
  if (json) report.Summary(what);
  return code;
}

std::string InterruptText(int signal, std::size_t done, std::size_t total) {
  return std::string(signal == SIGINT ? "interrupted" : "terminated") + " after " +
         std::to_string(done) + " of " + std::to_string(total) +
         " files; the rest were not written";
}

int InterruptExitCode(int signal) {
  return 128 + signal;
}

}  // namespace

int RunConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Options o;
  const std::string problem = Parse(args, o);
  ConvertReport report(out, o.json, o.dryRun);
  if (!problem.empty()) return Stop(report, o.json, err, kExitUsage, problem);
  if (o.help) {
    out << kConvertUsage;
    return kExitOk;
  }

  const bool settingsGiven = !o.settings.empty();
  if (!settingsGiven) o.settings = platform::ExecutableDir() / "quillon.ini";
  const unit_ini::SettingsReader settingsFile(o.settings);
  const bool settingsMissing = settingsFile.state() == platform::ProfileFileState::kMissing;
  if (settingsFile.state() == platform::ProfileFileState::kUnreadable ||
      (settingsGiven && settingsMissing)) {
    return Stop(report, o.json, err, kExitUsage,
                "cannot read the settings file " + unit_val::PathText(o.settings));
  }
  unit_val::ConversionSettings settings;
  settings.Load(settingsFile);

  const unit_val::Selection selection =
      unit_val::ChooseFiles(o.paths, o.dest, o.recursive, unit_val::SignatureCheck::kWhenLoaded);
  if (!selection.ok()) return Stop(report, o.json, err, kExitUsage, selection.error);
  unit_val::BatchRequest request{selection, o.dest, {}, o.dryRun, o.jobs};
  if (!settingsMissing) request.alsoRead.push_back(o.settings);

  // Prints each file's line as it is known, and on stderr the line of a
  // file that failed or left a warning.
  class Printer : public unit_val::BatchObserver {
   public:
    Printer(ConvertReport& report, std::ostream& err) : report_(report), err_(err) {}
    void FileStarting(std::size_t index, std::size_t total, const fs::path& source,
                      const fs::path&) override {
      if (!progress_) progress_.emplace(total);
      progress_->Show(index, source);
    }
    void FileDone(const unit_val::FileResult& file) override {
      report_.Add(file);
      if (file.status == unit_val::FileStatus::kFailed) {
        Say(file.source, file.text);
      } else if (file.status == unit_val::FileStatus::kConverted && !file.text.empty()) {
        Say(file.source, "warning: " + file.text);
      }
    }
    void EndProgress() { progress_.reset(); }

   private:
    void Say(const fs::path& source, const std::string& text) {
      err_ << "quillon-cli convert: " << TerminalText(unit_val::PathText(source)) << ": "
           << TerminalText(text) << '\n';
    }
    ConvertReport& report_;
    std::ostream& err_;
    std::optional<Progress> progress_;
  } printer(report, err);

  unit_val::StopToken stop;
  const platform::CaughtInterrupts caught(stop.cell());
  const unit_val::BatchReport batch = unit_val::RunBatch(request, settings, stop, printer);
  printer.EndProgress();
  if (batch.refused()) return Stop(report, o.json, err, kExitUsage, batch.refusalText, Hint::kNone);
  if (batch.stoppedBy) {
    const std::string why = InterruptText(batch.stoppedBy, batch.done, batch.planned);
    err << "quillon-cli convert: " << why << '\n';
    report.Summary(why);
    return InterruptExitCode(batch.stoppedBy);
  }
  report.Summary();
  return report.totals().failed > 0 ? kExitFailed : kExitOk;
}

}  // namespace cli
