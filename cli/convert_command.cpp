#include "cli/convert_command.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <set>
#include <system_error>

#include "cli/command.h"
#include "cli/convert_report.h"
#include "cli/file_selection.h"
#include "conversion/conversion_settings.h"
#include "conversion/convert_file.h"
#include "conversion/path_text.h"
#include "conversion/temp_folder.h"
#include "platform/file_io.h"
#include "platform/path_text.h"
#include "platform/process.h"

namespace cli {

namespace fs = std::filesystem;

namespace {

constexpr const char* kConvertUsage =
    "Usage: quillon-cli convert --dest DIR [--settings FILE] [--dry-run] [--json] [--recursive] "
    "PATH...\n"
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
    "  --help           show this help\n"
    "\n"
    "Exit status: 0 when every chosen file converted, 1 when any failed, 2 on a usage error.\n";

struct Options {
  fs::path dest;
  fs::path settings;
  bool dryRun = false, json = false, recursive = false, help = false;
  std::vector<fs::path> paths;
};

int UsageError(std::ostream& err, const std::string& what) {
  err << "quillon-cli convert: " << what << " (see \"quillon-cli convert --help\")\n";
  return kExitUsage;
}

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
              << unit_val::PathText(source.filename()) << std::flush;
  }

 private:
  std::size_t total_;
  bool shown_;
  bool started_ = false;
};

bool CreateFolders(const std::vector<ChosenFile>& files, std::ostream& err) {
  for (const ChosenFile& file : files) {
    std::error_code ec;
    fs::create_directories(file.destination.parent_path(), ec);
    if (ec) {
      err << "quillon-cli convert: cannot create the folder "
          << unit_val::PathText(file.destination.parent_path()) << ": " << ec.message() << '\n';
      return false;
    }
  }
  return true;
}

// Outputs are written a batch at a time and made durable together: one sync
// of the file system instead of one per file.
constexpr std::size_t kBatchSize = 64;

// Puts the batch's outputs on disk before any of them replaces a file. Where
// the file system cannot be synced as a whole, each output is synced; one
// that cannot be is dropped, so it fails instead of being moved into place.
void MakeDurable(std::vector<unit_val::PreparedConversion>& batch) {
  std::set<fs::path> folders;
  for (const auto& prepared : batch) {
    if (prepared.output) folders.insert(prepared.destination.parent_path());
  }
  bool synced = true;
  for (const fs::path& folder : folders) {
    synced = platform::SyncFileSystemOf(folder.empty() ? fs::path(".") : folder) && synced;
  }
  if (synced) return;
  for (auto& prepared : batch) {
    if (prepared.output && !prepared.output->SyncClosed()) {
      prepared.outcome.failedStage = unit_val::ConvertStage::kSave;
      prepared.outcome.reason = prepared.output->error();
      prepared.output.reset();
    }
  }
}

}  // namespace

int RunConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Options o;
  if (const std::string problem = Parse(args, o); !problem.empty()) return UsageError(err, problem);
  if (o.help) {
    out << kConvertUsage;
    return kExitOk;
  }

  const bool settingsGiven = !o.settings.empty();
  if (!settingsGiven) o.settings = platform::ExecutableDir() / "quillon.ini";
  std::error_code ec;
  if (settingsGiven && !fs::is_regular_file(o.settings, ec)) {
    return UsageError(err, "cannot read the settings file " + unit_val::PathText(o.settings));
  }
  unit_val::ConversionSettings settings;
  settings.Load(o.settings);

  const Selection selection = ChooseFiles(o.paths, o.dest, o.recursive);
  if (!selection.ok()) return UsageError(err, selection.error);
  if (!o.dryRun && !CreateFolders(selection.chosen, err)) return kExitFailed;

  ConvertReport report(out, o.json, o.dryRun);
  for (const SkippedFile& file : selection.skipped) report.Skipped(file);

  unit_val::TempFolder temp;
  jww::Drawing drawing;
  unit_val::ConvertContext context{drawing, &temp, {}, o.dryRun};
  Progress progress(selection.chosen.size());
  for (std::size_t first = 0; first < selection.chosen.size(); first += kBatchSize) {
    const std::size_t end = std::min(selection.chosen.size(), first + kBatchSize);
    std::vector<unit_val::PreparedConversion> batch;
    for (std::size_t i = first; i < end; ++i) {
      progress.Show(i, selection.chosen[i].source);
      batch.push_back(unit_val::PrepareConversion(selection.chosen[i].source,
                                                  selection.chosen[i].destination, settings,
                                                  context, unit_val::OutputSync::kByCaller));
    }
    MakeDurable(batch);
    for (std::size_t i = first; i < end; ++i) {
      const ChosenFile& file = selection.chosen[i];
      const unit_val::ConvertOutcome outcome = unit_val::FinishConversion(batch[i - first]);
      report.Done(file, outcome);
      if (!outcome.converted()) {
        err << "quillon-cli convert: " << unit_val::PathText(file.source) << ": " << outcome.reason
            << '\n';
      }
    }
  }
  report.Summary();
  return report.totals().failed > 0 ? kExitFailed : kExitOk;
}

}  // namespace cli
