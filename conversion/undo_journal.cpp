#include "conversion/undo_journal.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <sstream>
#include <string_view>

#include "conversion/backup.h"
#include "conversion/path_text.h"
#include "platform/file_error.h"
#include "platform/file_io.h"

namespace unit_val {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeader = "quillon undo 1";
constexpr std::string_view kEnd = "end";
constexpr std::string_view kNone = "-";
constexpr std::string_view kUnread = "?";

fs::path JournalTemporary(const fs::path& folder) {
  return folder / (std::string(kUndoJournalName) + ".tmp");
}

// A name on one line of its own field: "%", tab, CR and LF as %XX.
std::string Escaped(const fs::path& name) {
  std::string text;
  for (const char c : PathText(name)) {
    if (c == '%' || c == '\t' || c == '\n' || c == '\r') {
      constexpr char kHex[] = "0123456789ABCDEF";
      text += '%';
      text += kHex[(c >> 4) & 0xF];
      text += kHex[c & 0xF];
    } else {
      text += c;
    }
  }
  return text;
}

std::optional<fs::path> Unescaped(std::string_view text) {
  std::string name;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      name += text[i];
      continue;
    }
    unsigned byte = 0;
    const char* from = text.data() + i + 1;
    if (i + 2 >= text.size() || std::from_chars(from, from + 2, byte, 16).ptr != from + 2) {
      return std::nullopt;
    }
    name += static_cast<char>(byte);
    i += 2;
  }
  if (name.empty() || name.find('/') != std::string::npos) return std::nullopt;
  return platform::PathFromUtf8(name);
}

std::string DigestField(const std::optional<FileDigest>& digest) {
  return digest ? DigestText(*digest) : std::string(kUnread);
}

bool ParseEntry(const std::string& line, JournalEntry& entry) {
  std::vector<std::string_view> fields;
  std::string_view rest = line;
  for (std::size_t tab; (tab = rest.find('\t')) != std::string_view::npos;) {
    fields.push_back(rest.substr(0, tab));
    rest.remove_prefix(tab + 1);
  }
  fields.push_back(rest);
  if (fields.size() != 4) return false;
  const auto name = Unescaped(fields[0]);
  if (!name) return false;
  entry.name = *name;
  if (fields[1] != kUnread && !(entry.output = DigestFromText(fields[1]))) return false;
  entry.backupMade = fields[2] != kNone;
  if (entry.backupMade && fields[2] != kUnread && !(entry.backup = DigestFromText(fields[2]))) {
    return false;
  }
  if (fields[3] != kNone) {
    const auto aside = Unescaped(fields[3]);
    if (!aside) return false;
    entry.olderAside = *aside;
  }
  return true;
}

}  // namespace

JournalRead ReadUndoJournal(const fs::path& folder) {
  JournalRead read;
  const fs::path path = folder / kUndoJournalName;
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(path, ec))) return read;
  read.found = true;
  std::FILE* file = platform::OpenFile(path, "rb");
  if (!file) {
    read.systemError = platform::LastFileError();
    read.error =
        "cannot open the undo journal " + PathText(path) + ": " + read.systemError.message();
    return read;
  }
  std::string text;
  char buffer[8192];
  bool failed = false;
  for (std::size_t got; (got = platform::ReadFile(file, buffer, sizeof buffer, failed)) > 0;) {
    text.append(buffer, got);
    if (got < sizeof buffer) break;
  }
  platform::CloseFile(file);
  if (failed) {
    read.systemError = std::error_code(EIO, std::generic_category());
    read.error = "cannot read the undo journal " + PathText(path);
    return read;
  }
  std::istringstream lines(text);
  std::string line;
  bool ended = false;
  if (!std::getline(lines, line) || line != kHeader) {
    read.error = "the undo journal " + PathText(path) + " is not one this program wrote";
    return read;
  }
  while (std::getline(lines, line)) {
    if (line == kEnd) {
      ended = true;
      break;
    }
    JournalEntry entry;
    if (!ParseEntry(line, entry)) break;
    read.entries.push_back(std::move(entry));
  }
  if (!ended) {
    read.entries.clear();
    read.error = "the undo journal " + PathText(path) + " is damaged";
  }
  return read;
}

std::string WriteUndoJournal(const fs::path& folder, const std::vector<JournalEntry>& entries,
                             std::error_code& ec) {
  std::string text = std::string(kHeader) + "\n";
  for (const JournalEntry& e : entries) {
    text += Escaped(e.name) + "\t" + DigestField(e.output) + "\t" +
            (e.backupMade ? DigestField(e.backup) : std::string(kNone)) + "\t" +
            (e.olderAside.empty() ? std::string(kNone) : Escaped(e.olderAside)) + "\n";
  }
  text += std::string(kEnd) + "\n";
  const fs::path temporary = JournalTemporary(folder);
  std::FILE* file = platform::OpenFile(temporary, "wb");
  if (!file) {
    ec = platform::LastFileError();
    return "cannot create the undo journal in " + PathText(folder) + ": " + ec.message();
  }
  bool ok = platform::WriteFile(file, text.data(), text.size()) && platform::SyncFile(file);
  if (!ok) ec = std::error_code(errno ? errno : EIO, std::generic_category());
  if (!platform::CloseFile(file) && ok) {
    ok = false;
    ec = std::error_code(errno ? errno : EIO, std::generic_category());
  }
  if (ok) platform::RenameFile(temporary, folder / kUndoJournalName, ec);
  if (ok && !ec) return {};
  std::error_code ignored;
  platform::RemoveFile(temporary, ignored);
  return "cannot write the undo journal into " + PathText(folder) + ": " + ec.message();
}

bool RemoveUndoJournal(const fs::path& folder, std::error_code& ec) {
  std::error_code ignored;
  platform::RemoveFile(JournalTemporary(folder), ignored);
  return platform::RemoveFile(folder / kUndoJournalName, ec);
}

std::string RecordRunForUndo(const fs::path& folder, const std::vector<PlacedFile>& placed) {
  std::vector<JournalEntry> entries;
  for (const PlacedFile& file : placed) {
    JournalEntry entry{file.destination.filename(), {}, file.backupMade, {}, {}};
    std::error_code ec;
    entry.output = DigestOf(file.destination, ec);
    if (file.backupMade) entry.backup = DigestOf(BackupPath(file.destination), ec);
    if (!file.olderAside.empty()) entry.olderAside = file.olderAside.filename();
    entries.push_back(std::move(entry));
  }
  // In name order: one journal for one result, whatever order the run took.
  std::sort(entries.begin(), entries.end(),
            [](const JournalEntry& a, const JournalEntry& b) { return a.name < b.name; });
  const JournalRead previous = ReadUndoJournal(folder);
  std::error_code ec;
  const std::string error = WriteUndoJournal(folder, entries, ec);
  if (!error.empty()) {
    std::string warning = error + "; the run cannot be undone";
    std::string kept;
    for (const JournalEntry& e : entries) {
      if (e.olderAside.empty()) continue;
      kept += (kept.empty() ? "" : ", ") + PathText(folder / e.olderAside);
    }
    if (!kept.empty()) warning += "; the older backups it replaced stay as " + kept;
    return warning;
  }
  // Only now is the previous run beyond undo, and what it kept aside free.
  for (const JournalEntry& e : previous.entries) {
    if (e.olderAside.empty()) continue;
    std::error_code ignored;
    platform::RemoveFile(folder / e.olderAside, ignored);
  }
  return {};
}

}  // namespace unit_val
