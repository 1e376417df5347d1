#include "cli/convert_command.h"

#include <algorithm>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <map>
#include <mutex>
#include <set>
#include <system_error>

#include "app/unit_ini.h"
#include "cli/command.h"
#include "cli/convert_report.h"
#include "cli/terminal_text.h"
#include "conversion/batch_plan.h"
#include "conversion/conversion_settings.h"
#include "conversion/convert_file.h"
#include "conversion/file_selection.h"
#include "conversion/path_text.h"
#include "conversion/preparation_pool.h"
#include "conversion/stale_temporaries.h"
#include "conversion/temp_folder.h"
#include "platform/file_io.h"
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

// Destination folders are made when the first drawing for them is written
// (so a folder holding no drawing gives no empty copy), and cleared then of
// what killed runs left in them.
class DestinationFolders {
 public:
  // Empty, or why the folder cannot be made.
  std::string Make(const fs::path& given) {
    std::lock_guard lock(mutex_);
    const fs::path folder = given.empty() ? fs::path(".") : given;
    auto [it, added] = made_.try_emplace(folder);
    if (!added) return it->second;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
      it->second = "cannot create the folder " + unit_val::PathText(folder) + ": " + ec.message();
    } else {
      unit_val::RemoveStaleTemporaries(folder);
    }
    return it->second;
  }

 private:
  std::mutex mutex_;
  std::map<fs::path, std::string> made_;
};

// Outputs are written a batch at a time and made durable together: one sync
// of the file system for about 64 MB of output instead of one per file (the
// count bounds how many temporaries wait at once).
constexpr std::uint64_t kBatchBytes = 64ull << 20;
constexpr std::size_t kBatchFiles = 4096;
// Files prepared ahead while a batch is synced and moved into place.
constexpr std::size_t kLookAhead = 256;

// Puts the batch's outputs on disk before any of them replaces a file. Where
// the file system cannot be synced as a whole, each output is synced; one
// that cannot be is dropped, so it fails instead of being moved into place.
void MakeDurable(std::vector<unit_val::PreparedConversion>& batch) {
  std::set<fs::path> folders;
  for (const auto& prepared : batch) {
    if (prepared.output && !prepared.synced) folders.insert(prepared.destination.parent_path());
  }
  bool synced = true;
  for (const fs::path& folder : folders) {
    synced = platform::SyncFileSystemOf(folder.empty() ? fs::path(".") : folder) && synced;
  }
  if (synced) return;
  for (auto& prepared : batch) {
    if (prepared.output && !prepared.synced && !prepared.output->SyncClosed()) {
      prepared.outcome.failedStage = unit_val::ConvertStage::kSave;
      prepared.outcome.reason = prepared.output->error().empty() ? "cannot sync the file to disk"
                                                                 : prepared.output->error();
      prepared.output.reset();
    }
  }
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
  std::vector<fs::path> alsoRead;
  if (!settingsMissing) alsoRead.push_back(o.settings);
  const unit_val::SourceChecker checker = unit_val::CheckSource;
  const unit_val::BatchPlan plan = unit_val::PlanBatch(selection.chosen, alsoRead, &checker);
  if (!plan.ok()) return Stop(report, o.json, err, kExitUsage, plan.refusal, Hint::kNone);

  for (const unit_val::SetAsideFile& file : selection.skipped) report.Skipped(file);
  // One line on stderr about one file.
  auto say = [&](const fs::path& source, const std::string& text) {
    err << "quillon-cli convert: " << TerminalText(unit_val::PathText(source)) << ": "
        << TerminalText(text) << '\n';
  };
  auto fail = [&](const unit_val::ChosenFile& file, unit_val::ConvertStage stage,
                  const std::string& reason) {
    unit_val::ConvertOutcome outcome;
    outcome.failedStage = stage;
    outcome.reason = reason.empty() ? "unknown error" : reason;
    report.Done(file, outcome);
    say(file.source, reason);
  };
  for (const unit_val::SetAsideFile& file : selection.unreadable) {
    fail({file.source, o.dest / file.source.filename()}, unit_val::ConvertStage::kLoad,
         file.reason);
  }

  platform::CatchInterrupts();
  const std::vector<unit_val::PlannedFile>& files = plan.files;
  Progress progress(files.size());
  DestinationFolders folders;
  std::size_t done = 0;
  int interrupt = 0;
  auto prepare = [&](std::size_t i, const unit_val::ConvertContext& context) {
    unit_val::PreparedConversion prepared;
    if (!files[i].conflict.empty() || files[i].check.kind != unit_val::SourceKind::kDrawing) {
      return prepared;
    }
    const std::string folderError =
        o.dryRun ? "" : folders.Make(files[i].destination.parent_path());
    if (!folderError.empty()) {
      prepared.outcome.failedStage = unit_val::ConvertStage::kSave;
      prepared.outcome.reason = folderError;
      return prepared;
    }
    // Without a sync of the whole file system, each worker syncs its own
    // output as it closes it (in parallel, and without opening it again).
    return unit_val::PrepareConversion(files[i].source, files[i].destination, settings, context,
                                       platform::kCanSyncFileSystems
                                           ? unit_val::OutputSync::kByCaller
                                           : unit_val::OutputSync::kNow);
  };
  // Declared before the batch: waiting outputs are dropped before the
  // workers' temp folders go.
  unit_val::PreparationPool pool(files.size(), o.jobs, kLookAhead, o.dryRun, prepare);
  std::vector<unit_val::PreparedConversion> batch;
  std::uint64_t batchBytes = 0;
  // Syncs the waiting outputs, moves them into place and reports them.
  auto finishBatch = [&] {
    MakeDurable(batch);
    for (unit_val::PreparedConversion& prepared : batch) {
      const std::size_t i = done++;
      const unit_val::ChosenFile file{files[i].source, files[i].destination};
      if (!files[i].conflict.empty()) {
        fail(file, unit_val::ConvertStage::kPlan, files[i].conflict);
        continue;
      }
      if (files[i].check.kind == unit_val::SourceKind::kNotDrawing) {
        report.Skipped({file.source, files[i].check.reason});
        continue;
      }
      if (files[i].check.kind == unit_val::SourceKind::kUnreadable) {
        fail(file, unit_val::ConvertStage::kLoad, files[i].check.reason);
        continue;
      }
      const unit_val::ConvertOutcome outcome = unit_val::FinishConversion(prepared);
      if (outcome.notDrawing) {
        report.Skipped({file.source, outcome.reason});
        continue;
      }
      report.Done(file, outcome);
      if (!outcome.converted()) {
        say(file.source, outcome.reason);
      } else if (!outcome.warning.empty()) {
        say(file.source, "warning: " + outcome.warning);
      }
    }
    batch.clear();
    batchBytes = 0;
  };
  for (std::size_t i = 0; i < files.size() && !interrupt; ++i) {
    progress.Show(i, files[i].source);
    batch.push_back(pool.Take(i));
    batchBytes += batch.back().outputBytes;
    interrupt = platform::InterruptSignal();
    if (!interrupt && (batchBytes >= kBatchBytes || batch.size() >= kBatchFiles)) finishBatch();
  }
  // An interrupted batch is discarded, its temporaries with it.
  if (!interrupt) finishBatch();
  if (interrupt) {
    const std::string why = InterruptText(interrupt, done, files.size());
    err << "quillon-cli convert: " << why << '\n';
    report.Summary(why);
    return InterruptExitCode(interrupt);
  }
  report.Summary();
  return report.totals().failed > 0 ? kExitFailed : kExitOk;
}

}  // namespace cli
