#include "cli/convert_report.h"

#include <string>

#include "cli/json_writer.h"
#include "cli/terminal_text.h"
#include "conversion/path_text.h"

namespace cli {

namespace {

using unit_val::ConvertStageName;

std::string ShownPath(const std::filesystem::path& path) {
  return TerminalText(unit_val::PathText(path));
}

std::string RetypedText(const unit_val::SweepCounts& counts) {
  const int total = counts.TotalRetyped();
  std::string text = std::to_string(total) + (total == 1 ? " text" : " texts") + " retyped";
  std::string byType;
  for (std::size_t k = 0; k < counts.retyped.size(); ++k) {
    if (counts.retyped[k] == 0) continue;
    if (!byType.empty()) byType += ", ";
    byType += "type " + std::to_string(k + 1) + ": " + std::to_string(counts.retyped[k]);
  }
  if (!byType.empty()) text += " (" + byType + ")";
  text += "; " + std::to_string(counts.leftFreeSize) + " free-size left";
  return text;
}

}  // namespace

void ConvertReport::Skipped(const unit_val::SetAsideFile& file) {
  ++totals_.skipped;
  if (!json_) {
    out_ << "skipped " << ShownPath(file.source) << ": " << TerminalText(file.reason) << '\n';
    return;
  }
  JsonWriter j;
  j.BeginObject().Key("source").String(unit_val::PathText(file.source));
  j.Key("status").String("skipped").Key("reason").String(file.reason).EndObject();
  out_ << j.text() << '\n';
}

void ConvertReport::Done(const unit_val::ChosenFile& file,
                         const unit_val::ConvertOutcome& outcome) {
  const bool ok = outcome.converted();
  if (ok) {
    ++totals_.converted;
    totals_.retyped += outcome.counts.TotalRetyped();
  } else {
    ++totals_.failed;
  }
  if (!json_) {
    if (ok) {
      out_ << (dryRun_ ? "would convert " : "converted ") << ShownPath(file.source) << " -> "
           << ShownPath(file.destination) << ": " << RetypedText(outcome.counts)
           << (outcome.backupMade ? "; former file kept as .BAK" : "")
           << (outcome.warning.empty() ? "" : "; warning: " + TerminalText(outcome.warning))
           << '\n';
    } else {
      out_ << "failed " << ShownPath(file.source) << ": " << ConvertStageName(outcome.failedStage)
           << ": " << TerminalText(outcome.reason) << '\n';
    }
    return;
  }
  JsonWriter j;
  j.BeginObject();
  j.Key("source").String(unit_val::PathText(file.source));
  j.Key("destination").String(unit_val::PathText(file.destination));
  j.Key("status").String(ok ? (dryRun_ ? "would_convert" : "converted") : "failed");
  j.Key("stage");
  ok ? j.Null() : j.String(ConvertStageName(outcome.failedStage));
  j.Key("reason");
  ok ? j.Null() : j.String(outcome.reason);
  j.Key("version").Integer(outcome.version);
  j.Key("retyped").BeginArray();
  for (int n : outcome.counts.retyped) j.Integer(n);
  j.EndArray();
  j.Key("retyped_total").Integer(outcome.counts.TotalRetyped());
  j.Key("left_free_size").Integer(outcome.counts.leftFreeSize);
  j.Key("backup").Bool(outcome.backupMade);
  j.Key("warning");
  outcome.warning.empty() ? j.Null() : j.String(outcome.warning);
  j.EndObject();
  out_ << j.text() << '\n';
}

void ConvertReport::Summary(const std::string& stoppedBy) {
  if (!json_) {
    if (!stoppedBy.empty()) out_ << "stopped: " << TerminalText(stoppedBy) << '\n';
    out_ << totals_.converted << (dryRun_ ? " would convert, " : " converted, ") << totals_.failed
         << " failed, " << totals_.skipped << " skipped; " << totals_.retyped
         << (totals_.retyped == 1 ? " text" : " texts") << (dryRun_ ? " would be" : "")
         << " retyped\n";
    return;
  }
  JsonWriter j;
  j.BeginObject().Key("summary").Bool(true).Key("dry_run").Bool(dryRun_);
  j.Key("stopped");
  stoppedBy.empty() ? j.Null() : j.String(stoppedBy);
  j.Key("converted").Integer(totals_.converted).Key("failed").Integer(totals_.failed);
  j.Key("skipped").Integer(totals_.skipped).Key("retyped").Integer(totals_.retyped).EndObject();
  out_ << j.text() << '\n';
}

}  // namespace cli
