#include "cli/convert_command.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <system_error>

#include "cli/command.h"
#include "cli/command_line.h"
#include "cli/convert_report.h"
#include "cli/settings_option.h"
#include "cli/terminal_text.h"
#include "conversion/batch_run.h"
#include "conversion/conversion_settings.h"
#include "conversion/file_selection.h"
#include "conversion/path_text.h"
#include "conversion/preparation_pool.h"
#include "platform/interrupt.h"
#include "platform/path_text.h"
#include "platform/process.h"
#include "platform/settings_file.h"

namespace cli {

namespace fs = std::filesystem;

namespace {

constexpr const char* kAbout =
    "Converts the free-size texts of JWW drawings into the drawings' text types and writes\n"
    "each drawing, under the same name and in its own JWW version, into DIR. A PATH is a\n"
    "drawing or a folder (its files whose extension is .JWW in any letter case). Sources are\n"
    "only read; a file already in DIR is kept as .BAK.";

constexpr const char* kFooter =
    "A run is refused whole when a destination or backup would replace a file it reads;\n"
    "within a run, the first file to need a destination or .BAK name keeps it and a\n"
    "later one fails with nothing written. While a run writes into a folder, a second\n"
    "run into it waits a moment, then is refused. Ctrl+C stops between files (also\n"
    "between the final moves into place), keeping what is done and removing every\n"
    "temporary. Each folder written into keeps what \"quillon-cli undo\" needs to take the\n"
    "run back; an older .BAK the run replaced is kept aside until the next run into it.\n"
    "\n"
    "Exit status: 0 when every chosen file converted, 1 when any failed, 2 on a usage error\n"
    "or a refused run, 130 when interrupted (143 when terminated or its terminal closed),\n"
    "141 when its report cannot be written (a closed pipe): it stops as on Ctrl+C.\n";

struct Options {
  std::string dest, settings;
  bool dryRun = false, json = false, recursive = false;
  unsigned jobs = unit_val::DefaultWorkerCount();
  std::vector<std::string> paths;
};

std::unique_ptr<CLI::App> Describe(Options& o) {
  auto app = MakeCommandLine("convert", kAbout, kFooter);
  const auto last = CLI::MultiOptionPolicy::TakeLast;
  app->add_option("--dest", o.dest,
                  "the destination folder (created when missing; never a source folder)")
      ->type_name("DIR")
      ->required()
      ->multi_option_policy(last);
  app->add_option("--settings", o.settings,
                  "the settings file (default: " + std::string(unit_val::kSettingsFileName) +
                      " beside the program); only read")
      ->type_name("FILE")
      ->multi_option_policy(last);
  app->add_flag("--dry-run", o.dryRun,
                "load and classify only; write nothing, report what would change");
  app->add_flag("--json", o.json, "one JSON object per file and one for the summary, one per line");
  app->add_flag("-r,--recursive", o.recursive,
                "also convert the subfolders of folder PATHs, mirrored below DIR\n"
                "(links to folders are not followed; no folder is walked twice)");
  app->add_option("--jobs", o.jobs,
                  "read and convert with N threads (default: one per processor, at\n"
                  "most 4); files are still backed up, moved and reported in order")
      ->type_name("N")
      ->check(CLI::Range(1u, 64u))
      ->multi_option_policy(last);
  app->add_option("PATH", o.paths, "a drawing or a folder")->required();
  return app;
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
         Hint hint = Hint::kHelp, const unit_val::Failure& why = {},
         const unit_val::BatchTotals& totals = {}) {
  err << "quillon-cli convert: " << TerminalText(what);
  if (hint == Hint::kHelp) err << " (see \"quillon-cli convert --help\")";
  err << '\n';
  if (json) report.Summary(totals, what, why);
  return code;
}

// The stop's cause when the report could not be written (its reader went
// away): nobody would learn of the files still to come.
constexpr int kReportLost = -2;

std::string InterruptText(int cause, std::size_t done, std::size_t total) {
  const char* what = cause == SIGINT        ? "interrupted"
                     : cause == kReportLost ? "the report cannot be written: stopped"
                                            : "terminated";
  return std::string(what) + " after " + std::to_string(done) + " of " + std::to_string(total) +
         " files; the rest were not written";
}

int InterruptExitCode(int cause) {
  return cause == kReportLost ? kExitReportLost : 128 + cause;
}

}  // namespace

std::string ConvertSynopsis() {
  Options o;
  return Synopsis(*Describe(o));
}

int RunConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Options o;
  const std::unique_ptr<CLI::App> commandLine = Describe(o);
  std::string problem;
  const Parsed parsed = ParseCommandLine(*commandLine, args, problem);
  if (parsed == Parsed::kHelp) {
    out << Help(*commandLine);
    return kExitOk;
  }
  if (parsed == Parsed::kRun && o.dest.empty())
    problem = "no destination folder given (--dest DIR)";
  if (parsed == Parsed::kRun && o.settings.empty() && commandLine->count("--settings") > 0)
    problem = "no settings file given (--settings FILE)";
  if (!problem.empty()) {
    const bool json = HasFlag(args, "--json");
    ConvertReport report(out, json, o.dryRun);
    return Stop(report, json, err, kExitUsage, problem);
  }
  // Caught before anything is read, so that a stop asked for while the
  // settings file or the folders are read still ends with a summary.
  unit_val::StopToken stop;
  const platform::CaughtInterrupts caught(stop.cell());
  ConvertReport report(out, o.json, o.dryRun);
  const fs::path dest = platform::PathFromUtf8(o.dest);
  std::vector<fs::path> paths;
  for (const std::string& path : o.paths) paths.push_back(platform::PathFromUtf8(path));
  unit_val::ConversionSettings settings;
  const SettingsRead settingsRead = ReadSettings(o.settings, settings);
  if (!settingsRead.problem.empty()) {
    return Stop(report, o.json, err, kExitUsage, settingsRead.problem,
                settingsRead.helpHint ? Hint::kHelp : Hint::kNone, settingsRead.failure);
  }

  const unit_val::Selection selection =
      unit_val::ChooseFiles(paths, dest, o.recursive, unit_val::SignatureCheck::kWhenLoaded);
  if (!selection.ok()) {
    return Stop(report, o.json, err, kExitUsage, unit_val::EnglishText(selection.failure));
  }
  unit_val::BatchRequest request{selection, dest, {}, o.dryRun, o.jobs};
  if (settingsRead.found) request.alsoRead.push_back(settingsRead.path);

  // Prints each file's line as it is known, and on stderr the line of a
  // file that failed or left a warning.
  class Printer : public unit_val::BatchObserver {
   public:
    Printer(ConvertReport& report, std::ostream& out, std::ostream& err, unit_val::StopToken& stop)
        : report_(report), out_(out), err_(err), stop_(stop) {}
    void FileStarting(std::size_t index, std::size_t total, const fs::path& source,
                      const fs::path&) override {
      if (!progress_) progress_.emplace(total);
      progress_->Show(index, source);
    }
    void FileDone(const unit_val::FileResult& file) override {
      report_.Add(file);
      // Each line goes out as it is known, so that a reader that went away
      // stops the run at once, as a stop does.
      if (!out_.flush()) stop_.Request(kReportLost);
      const std::string text = unit_val::EnglishText(file.failure);
      if (file.status == unit_val::FileStatus::kFailed) {
        Say(file.source, text);
      } else if (file.status == unit_val::FileStatus::kConverted && !text.empty()) {
        Say(file.source, "warning: " + text);
      }
    }
    void EndProgress() { progress_.reset(); }

   private:
    void Say(const fs::path& source, const std::string& text) {
      err_ << "quillon-cli convert: " << TerminalText(unit_val::PathText(source)) << ": "
           << TerminalText(text) << '\n';
    }
    ConvertReport& report_;
    std::ostream& out_;
    std::ostream& err_;
    unit_val::StopToken& stop_;
    std::optional<Progress> progress_;
  } printer(report, out, err, stop);

  const unit_val::BatchReport batch = unit_val::RunBatch(request, settings, stop, printer);
  printer.EndProgress();
  for (const auto& warning : batch.journalWarnings) {
    err << "quillon-cli convert: warning: " << TerminalText(warning.text) << '\n';
  }
  if (batch.refused()) {
    return Stop(report, o.json, err, kExitUsage, unit_val::EnglishText(batch.refusal), Hint::kNone,
                batch.refusal, batch.totals);
  }
  if (batch.stoppedBy) {
    const std::string why = InterruptText(batch.stoppedBy, batch.done, batch.planned);
    err << "quillon-cli convert: " << why << '\n';
    report.Summary(batch.totals, why);
    return InterruptExitCode(batch.stoppedBy);
  }
  report.Summary(batch.totals);
  return batch.totals.failed > 0 ? kExitFailed : kExitOk;
}

}  // namespace cli
