#include "cli/undo_command.h"

#include <csignal>
#include <memory>

#include "cli/command.h"
#include "cli/command_line.h"
#include "cli/json_writer.h"
#include "cli/terminal_text.h"
#include "conversion/path_text.h"
#include "conversion/undo_run.h"
#include "platform/interrupt.h"
#include "platform/path_text.h"

namespace cli {

namespace fs = std::filesystem;

namespace {

constexpr const char* kAbout =
    "Takes back the last convert run into DIR: every former file back under its name from its\n"
    ".BAK, the older .BAK that run replaced back under .BAK, and an output that had no former\n"
    "file removed. A file changed since the run, or whose .BAK changed, is left alone.";

constexpr const char* kFooter =
    "A run leaves what undo needs in DIR; the next run into DIR replaces it, so only the\n"
    "last run can be undone. An undo stopped or failing half-way is finished by running it\n"
    "again.\n"
    "\n"
    "Exit status: 0 when every file is back, 1 when any was left alone, 2 on a usage error\n"
    "or a refused undo (no run to undo, DIR locked by a run), 130 when interrupted (143 when\n"
    "terminated).\n";

struct Options {
  std::string dir;
  bool json = false;
};

std::unique_ptr<CLI::App> Describe(Options& o) {
  auto app = MakeCommandLine("undo", kAbout, kFooter);
  app->add_flag("--json", o.json, "one JSON object per file and one for the summary, one per line");
  app->add_option("DIR", o.dir, "the destination folder of the run")->required();
  return app;
}

const char* StatusName(unit_val::UndoStatus status, bool json) {
  switch (status) {
    case unit_val::UndoStatus::kRestored:
      return "restored";
    case unit_val::UndoStatus::kRemoved:
      return "removed";
    case unit_val::UndoStatus::kLeftAlone:
      break;
  }
  return json ? "left_alone" : "left alone";
}

void ReasonCode(JsonWriter& j, const unit_val::Failure& failure) {
  j.Key("reason_code");
  failure ? j.String(unit_val::ReasonCodeName(failure.code)) : j.Null();
  if (failure.error) j.Key("system_error").Integer(failure.error.value());
}

class Printer : public unit_val::UndoObserver {
 public:
  Printer(std::ostream& out, std::ostream& err, bool json) : out_(out), err_(err), json_(json) {}

  void FileDone(const unit_val::UndoFileResult& file) override {
    const std::string path = unit_val::PathText(file.file);
    const bool alone = file.status == unit_val::UndoStatus::kLeftAlone;
    const std::string text = unit_val::EnglishText(file.failure);
    if (alone)
      err_ << "quillon-cli undo: " << TerminalText(path) << ": " << TerminalText(text) << '\n';
    if (!json_) {
      out_ << StatusName(file.status, false) << ' ' << TerminalText(path)
           << (alone ? ": " + TerminalText(text) : "") << '\n';
      return;
    }
    JsonWriter j;
    j.BeginObject().Key("file").String(path).Key("status").String(StatusName(file.status, true));
    j.Key("reason");
    alone ? j.String(text) : j.Null();
    ReasonCode(j, file.failure);
    j.EndObject();
    out_ << j.text() << '\n';
  }

  void Summary(const unit_val::UndoReport& report, const std::string& stopped,
               const unit_val::Failure& why) {
    if (!json_) {
      if (!stopped.empty()) out_ << "stopped: " << TerminalText(stopped) << '\n';
      out_ << report.restored << " restored, " << report.removed << " removed, " << report.leftAlone
           << " left alone\n";
      return;
    }
    JsonWriter j;
    j.BeginObject().Key("summary").Bool(true).Key("stopped");
    stopped.empty() ? j.Null() : j.String(stopped);
    j.Key("restored").Integer(report.restored).Key("removed").Integer(report.removed);
    j.Key("left_alone").Integer(report.leftAlone);
    ReasonCode(j, why);
    j.EndObject();
    out_ << j.text() << '\n';
  }

 private:
  std::ostream& out_;
  std::ostream& err_;
  bool json_;
};

}  // namespace

std::string UndoSynopsis() {
  Options o;
  return Synopsis(*Describe(o));
}

int RunUndo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Options o;
  const std::unique_ptr<CLI::App> commandLine = Describe(o);
  std::string problem;
  const Parsed parsed = ParseCommandLine(*commandLine, args, problem);
  if (parsed == Parsed::kHelp) {
    out << Help(*commandLine);
    return kExitOk;
  }
  if (!problem.empty()) {
    const bool json = HasFlag(args, "--json");
    err << "quillon-cli undo: " << TerminalText(problem) << " (see \"quillon-cli undo --help\")\n";
    if (json) Printer(out, err, true).Summary({}, problem, {});
    return kExitUsage;
  }
  unit_val::StopToken stop;
  const platform::CaughtInterrupts caught(stop.cell());
  Printer printer(out, err, o.json);
  const unit_val::UndoReport report =
      unit_val::UndoLastRun(platform::PathFromUtf8(o.dir), stop, &printer);
  if (report.refused()) {
    const std::string text = unit_val::EnglishText(report.refusal);
    err << "quillon-cli undo: " << TerminalText(text) << '\n';
    printer.Summary(report, o.json ? text : std::string(), report.refusal);
    return kExitUsage;
  }
  if (!report.journalWarning.empty()) {
    err << "quillon-cli undo: warning: " << TerminalText(report.journalWarning) << '\n';
  }
  if (report.stoppedBy) {
    const std::string why = std::string(report.stoppedBy == SIGINT ? "interrupted" : "terminated") +
                            "; run undo again to finish";
    err << "quillon-cli undo: " << why << '\n';
    printer.Summary(report, why, {});
    return 128 + report.stoppedBy;
  }
  printer.Summary(report, {}, {});
  return report.leftAlone > 0 ? kExitFailed : kExitOk;
}

}  // namespace cli
