#include "cli/convert_report.h"

#include <array>
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

const std::string kUnknown = "unknown error";

// The keys of SweepCounts::retypedIn, in TextScope order.
constexpr std::array<const char*, unit_val::kTextScopeCount> kScopeNames = {
    "top_level", "dimension_values", "blocks"};

// "reason_code": the failure's code for programs (null when there is none),
// and "system_error": the system's own error number behind it.
void ReasonCode(JsonWriter& j, const unit_val::Failure& failure) {
  j.Key("reason_code");
  failure ? j.String(unit_val::ReasonCodeName(failure.code)) : j.Null();
  if (failure.error) j.Key("system_error").Integer(failure.error.value());
}

// "retyped_in": the texts retyped by where they stand.
void RetypedIn(JsonWriter& j, const std::array<int, unit_val::kTextScopeCount>& counts) {
  j.Key("retyped_in").BeginObject();
  for (std::size_t s = 0; s < kScopeNames.size(); ++s) j.Key(kScopeNames[s]).Integer(counts[s]);
  j.EndObject();
}

}  // namespace

void ConvertReport::Add(const unit_val::FileResult& file) {
  if (file.status == unit_val::FileStatus::kSkipped) return Skipped(file);
  const bool ok = file.status == unit_val::FileStatus::kConverted;
  const std::string text = unit_val::EnglishText(file.failure);
  const std::string& reason = text.empty() && !ok ? kUnknown : text;
  if (!json_) {
    if (ok) {
      out_ << (dryRun_ ? "would convert " : "converted ") << ShownPath(file.source) << " -> "
           << ShownPath(file.destination) << ": " << RetypedText(file.counts)
           << (file.backupMade ? "; former file kept as .BAK" : "")
           << (text.empty() ? "" : "; warning: " + TerminalText(text)) << '\n';
    } else {
      out_ << "failed " << ShownPath(file.source) << ": " << ConvertStageName(file.stage) << ": "
           << TerminalText(reason) << '\n';
    }
    return;
  }
  // A failed file retyped nothing: whatever its sweep counted was not written.
  const unit_val::SweepCounts counts = ok ? file.counts : unit_val::SweepCounts{};
  JsonWriter j;
  j.BeginObject();
  j.Key("source").String(unit_val::PathText(file.source));
  j.Key("destination").String(unit_val::PathText(file.destination));
  j.Key("status").String(ok ? (dryRun_ ? "would_convert" : "converted") : "failed");
  j.Key("stage");
  ok ? j.Null() : j.String(ConvertStageName(file.stage));
  j.Key("reason");
  ok ? j.Null() : j.String(reason);
  ReasonCode(j, file.failure);
  j.Key("version").Integer(file.version);
  j.Key("retyped").BeginArray();
  for (int n : counts.retyped) j.Integer(n);
  j.EndArray();
  j.Key("retyped_total").Integer(counts.TotalRetyped());
  RetypedIn(j, counts.retypedIn);
  j.Key("left_free_size").Integer(counts.leftFreeSize);
  j.Key("backup").Bool(file.backupMade);
  j.Key("warning");
  ok && !text.empty() ? j.String(text) : j.Null();
  j.EndObject();
  out_ << j.text() << '\n';
}

void ConvertReport::Skipped(const unit_val::FileResult& file) {
  if (!json_) {
    out_ << "skipped " << ShownPath(file.source) << ": "
         << TerminalText(unit_val::EnglishText(file.failure)) << '\n';
    return;
  }
  JsonWriter j;
  j.BeginObject().Key("source").String(unit_val::PathText(file.source));
  j.Key("status").String("skipped").Key("reason").String(unit_val::EnglishText(file.failure));
  ReasonCode(j, file.failure);
  j.EndObject();
  out_ << j.text() << '\n';
}

void ConvertReport::Summary(const unit_val::BatchTotals& totals, const std::string& stoppedBy,
                            const unit_val::Failure& why) {
  const int retyped = totals.retyped.TotalRetyped();
  if (!json_) {
    if (!stoppedBy.empty()) out_ << "stopped: " << TerminalText(stoppedBy) << '\n';
    out_ << totals.converted << (dryRun_ ? " would convert, " : " converted, ") << totals.failed
         << " failed, " << totals.skipped << " skipped; " << retyped
         << (retyped == 1 ? " text" : " texts") << (dryRun_ ? " would be" : "") << " retyped\n";
    return;
  }
  JsonWriter j;
  j.BeginObject().Key("summary").Bool(true).Key("dry_run").Bool(dryRun_);
  j.Key("stopped");
  stoppedBy.empty() ? j.Null() : j.String(stoppedBy);
  j.Key("converted").Integer(totals.converted).Key("failed").Integer(totals.failed);
  j.Key("skipped").Integer(totals.skipped).Key("retyped").Integer(retyped);
  RetypedIn(j, totals.retyped.retypedIn);
  ReasonCode(j, why);
  j.EndObject();
  out_ << j.text() << '\n';
}

}  // namespace cli
