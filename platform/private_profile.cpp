#include "platform/private_profile.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "common/ascii_case.h"
#include "platform/file_io.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace platform {

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  return func::SameIgnoringAsciiCase(a, b);
}

enum class LineKind { kSection, kKey, kOther };

struct LineMeaning {
  LineKind kind = LineKind::kOther;
  std::string_view name;       // trimmed section or key name
  std::size_t valueStart = 0;  // for a key: first value byte in the line
};

LineMeaning Interpret(std::string_view line) {
  LineMeaning meaning;
  std::size_t start = 0;
  while (start < line.size() && IsBlank(line[start])) ++start;
  if (start == line.size() || line[start] == ';') return meaning;
  if (line[start] == '[') {
    const std::size_t close = line.rfind(']');
    if (close == std::string_view::npos || close < start) return meaning;
    meaning.kind = LineKind::kSection;
    meaning.name = Trim(line.substr(start + 1, close - start - 1));
    return meaning;
  }
  const std::size_t equals = line.find('=', start);
  if (equals == std::string_view::npos) return meaning;
  const std::string_view name = Trim(line.substr(start, equals - start));
  if (name.empty()) return meaning;
  std::size_t value = equals + 1;
  while (value < line.size() && IsBlank(line[value])) ++value;
  meaning.kind = LineKind::kKey;
  meaning.name = name;
  meaning.valueStart = value;
  return meaning;
}

bool HasLineBreak(std::string_view s) {
  return s.find_first_of("\r\n") != std::string_view::npos;
}

bool IsStorableSection(std::string_view section) {
  return !section.empty() && !HasLineBreak(section);
}

bool IsStorableKey(std::string_view key) {
  return !key.empty() && !HasLineBreak(key) && key.find('=') == std::string_view::npos &&
         key.front() != ';' && key.front() != '[';
}

// The ending given to a line that had none. A "\r" that ends its text stays
// part of it only before a "\r\n".
const std::string& EndingToAdd(const std::string& text, const std::string& usual) {
  static const std::string kCrlf = "\r\n";
  return text.ends_with('\r') ? kCrlf : usual;
}

bool IsReadOnly(const std::filesystem::path& file) {
#ifdef _WIN32
  return _waccess(file.c_str(), 2) != 0;
#else
  // Write bits count too: a privileged process may write anything, but a
  // file that nobody may write is meant to stay as it is.
  const auto perms = std::filesystem::status(file).permissions();
  const auto writeBits = std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                         std::filesystem::perms::others_write;
  return ::access(file.c_str(), W_OK) != 0 || (perms & writeBits) == std::filesystem::perms::none;
#endif
}

bool WriteWholeFile(const std::filesystem::path& path, std::string_view bytes) {
  std::FILE* stream = OpenFile(path, "wb");
  if (!stream) return false;
  bool ok = WriteFile(stream, bytes.data(), bytes.size());
  ok = ok && SyncFile(stream);
  ok = CloseFile(stream) && ok;
  return ok;
}

}  // namespace

ProfileDocument::ProfileDocument(std::string_view bytes) {
  if (bytes.starts_with(kUtf8ByteOrderMark)) {
    byteOrderMark_ = kUtf8ByteOrderMark;
    bytes.remove_prefix(kUtf8ByteOrderMark.size());
  }
  std::size_t crlf = 0;
  std::size_t lf = 0;
  while (!bytes.empty()) {
    const std::size_t newline = bytes.find('\n');
    Line line;
    if (newline == std::string_view::npos) {
      line.text = bytes;
      bytes = {};
    } else {
      std::string_view text = bytes.substr(0, newline);
      if (text.ends_with('\r')) {
        text.remove_suffix(1);
        line.ending = "\r\n";
        ++crlf;
      } else {
        line.ending = "\n";
        ++lf;
      }
      line.text = text;
      bytes.remove_prefix(newline + 1);
    }
    lines_.push_back(std::move(line));
  }
  crlfDominant_ = crlf >= lf;
}

const std::string& ProfileDocument::NewLineEnding() const {
  static const std::string kCrlf = "\r\n";
  static const std::string kLf = "\n";
  return crlfDominant_ ? kCrlf : kLf;
}

const std::vector<std::size_t>& ProfileDocument::SectionLines() const {
  if (!sectionLinesValid_) {
    sectionLines_.clear();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      if (Interpret(lines_[i].text).kind == LineKind::kSection) sectionLines_.push_back(i);
    }
    sectionLinesValid_ = true;
  }
  return sectionLines_;
}

std::optional<std::pair<std::size_t, std::size_t>> ProfileDocument::SectionSpan(
    std::string_view section) const {
  const std::vector<std::size_t>& headers = SectionLines();
  for (std::size_t h = 0; h < headers.size(); ++h) {
    if (SameName(Interpret(lines_[headers[h]].text).name, section)) {
      return std::pair{headers[h], h + 1 < headers.size() ? headers[h + 1] : lines_.size()};
    }
  }
  return std::nullopt;
}

std::optional<std::string> ProfileDocument::Find(std::string_view section,
                                                 std::string_view key) const {
  section = Trim(section);
  key = Trim(key);
  const auto span = SectionSpan(section);
  if (!span) return std::nullopt;
  for (std::size_t i = span->first + 1; i < span->second; ++i) {
    const LineMeaning meaning = Interpret(lines_[i].text);
    if (meaning.kind == LineKind::kKey && SameName(meaning.name, key)) {
      return lines_[i].text.substr(meaning.valueStart);
    }
  }
  return std::nullopt;
}

bool ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  section = Trim(section);
  key = Trim(key);
  if (!IsStorableSection(section) || !IsStorableKey(key) || HasLineBreak(value)) return false;

  std::size_t header = lines_.size();
  std::size_t insertAfter = lines_.size();  // the header or the section's last key line
  if (const auto span = SectionSpan(section)) {
    header = insertAfter = span->first;
    for (std::size_t i = span->first + 1; i < span->second; ++i) {
      const LineMeaning meaning = Interpret(lines_[i].text);
      if (meaning.kind != LineKind::kKey) continue;
      if (SameName(meaning.name, key)) {
        Line& line = lines_[i];
        line.text.resize(meaning.valueStart);
        line.text += value;
        return true;
      }
      insertAfter = i;
    }
  }
  sectionLinesValid_ = false;

  std::vector<Line> added;
  if (header == lines_.size()) {
    added.push_back({"[" + std::string(section) + "]", NewLineEnding()});
  }
  added.push_back({std::string(key) + "=" + std::string(value), NewLineEnding()});
  if (insertAfter < lines_.size() && lines_[insertAfter].ending.empty()) {
    lines_[insertAfter].ending = EndingToAdd(lines_[insertAfter].text, NewLineEnding());
  }
  if (header == lines_.size() && !lines_.empty() && lines_.back().ending.empty()) {
    lines_.back().ending = EndingToAdd(lines_.back().text, NewLineEnding());
  }
  const std::size_t position = insertAfter < lines_.size() ? insertAfter + 1 : lines_.size();
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(position), added.begin(), added.end());
  return true;
}

std::string ProfileDocument::Bytes() const {
  std::string out = byteOrderMark_;
  for (const Line& line : lines_) {
    out += line.text;
    out += line.ending;
  }
  return out;
}

ProfileFileState LoadProfileFile(const std::filesystem::path& file, std::string& bytes) {
  bytes.clear();
  std::error_code ec;
  const auto status = std::filesystem::status(file, ec);
  if (status.type() == std::filesystem::file_type::not_found) return ProfileFileState::kMissing;
  if (ec || status.type() != std::filesystem::file_type::regular) {
    return ProfileFileState::kUnreadable;
  }
  std::FILE* stream = OpenFile(file, "rb");
  if (!stream) return ProfileFileState::kUnreadable;
  bool failed = false;
  const std::optional<std::uint64_t> size = OpenFileSize(stream);
  if (size && *size > kProfileFileMaxBytes) {
    platform::CloseFile(stream);
    return ProfileFileState::kTooLarge;
  }
  if (size) bytes.reserve(static_cast<std::size_t>(*size));
  // The size may change while the file is read: the bound holds for what
  // is read too.
  char buffer[1 << 16];
  std::size_t got = 0;
  while (bytes.size() <= kProfileFileMaxBytes &&
         (got = ReadFile(stream, buffer, sizeof buffer, failed)) > 0) {
    bytes.append(buffer, got);
  }
  platform::CloseFile(stream);
  if (failed) {
    bytes.clear();
    return ProfileFileState::kUnreadable;
  }
  if (bytes.size() > kProfileFileMaxBytes ||
      static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) >=
          kProfileFileMaxLines) {
    bytes.clear();
    bytes.shrink_to_fit();
    return ProfileFileState::kTooLarge;
  }
  return ProfileFileState::kRead;
}

bool ReplaceProfileFile(const std::filesystem::path& file, std::string_view bytes) {
  std::error_code ec;
  // A linked settings file stays linked: the file it points at is replaced.
  std::filesystem::path target = file;
  if (std::filesystem::is_symlink(file, ec)) {
    target = std::filesystem::weakly_canonical(file, ec);
    if (ec) return false;
  }
  const auto status = std::filesystem::status(target, ec);
  const bool exists = status.type() != std::filesystem::file_type::not_found;
  if (exists && (ec || IsReadOnly(target))) return false;

  std::filesystem::path name = target.filename();
  name += ".";
  name += UniqueSuffix();
  name += ".tmp";
  const std::filesystem::path temporary = target.parent_path() / name;
  if (!WriteWholeFile(temporary, bytes)) {
    RemoveFile(temporary, ec);
    return false;
  }
  if (exists) {
    std::filesystem::permissions(temporary, status.permissions(), ec);
  }
  if (!RenameFile(temporary, target, ec)) {
    std::error_code ignored;
    RemoveFile(temporary, ignored);
    return false;
  }
  return true;
}

std::string ReadPrivateProfile(std::string_view section, std::string_view key,
                               std::string_view defaultText, std::size_t bufferSize,
                               const std::filesystem::path& file) {
  if (bufferSize == 0) return {};
  std::string bytes;
  std::string result(defaultText);
  if (LoadProfileFile(file, bytes) == ProfileFileState::kRead) {
    if (auto value = ProfileDocument(bytes).Find(section, key)) result = std::move(*value);
  }
  if (result.size() > bufferSize - 1) result.resize(bufferSize - 1);
  return result;
}

bool WritePrivateProfile(std::string_view section, std::string_view key, std::string_view value,
                         const std::filesystem::path& file) {
  std::string bytes;
  const ProfileFileState state = LoadProfileFile(file, bytes);
  if (state == ProfileFileState::kUnreadable || state == ProfileFileState::kTooLarge) return false;
  ProfileDocument document(bytes);
  if (!document.Set(section, key, value)) return false;
  return ReplaceProfileFile(file, document.Bytes());
}

}  // namespace platform
