// Reads arbitrary bytes as a settings file, writes one key and reads the
// result again. The input is "section\0key\0value\0file". A document gives
// back its bytes unchanged; a key that can be stored reads back as written
// (less leading blanks, as every value), and every other line stays as it
// was: the write replaces one line, or adds the key line, or adds the
// section header and the key line.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/private_profile.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view NextField(std::string_view& input, std::string_view fallback) {
  const std::size_t end = input.find('\0');
  if (end == std::string_view::npos) return fallback;
  const std::string_view field = input.substr(0, end);
  input.remove_prefix(end + 1);
  return field;
}

std::string_view TrimBlanks(std::string_view s) {
  const std::size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool HasLineBreak(std::string_view s) {
  return s.find_first_of("\r\n") != std::string_view::npos;
}

bool Storable(std::string_view section, std::string_view key, std::string_view value) {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  return !section.empty() && !HasLineBreak(section) && !key.empty() && !HasLineBreak(key) &&
         key.find('=') == std::string_view::npos && key.front() != ';' && key.front() != '[' &&
         !HasLineBreak(value);
}

// Line texts without their endings ("\r\n" or "\n"; a last line may have
// none and keep a "\r" of its own).
std::vector<std::string_view> LineTexts(std::string_view bytes) {
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    const std::size_t newline = bytes.find('\n');
    if (newline == std::string_view::npos) {
      lines.push_back(bytes);
      break;
    }
    std::string_view text = bytes.substr(0, newline);
    if (text.ends_with('\r')) text.remove_suffix(1);
    lines.push_back(text);
    bytes.remove_prefix(newline + 1);
  }
  return lines;
}

// Lines of `before` that differ from `after` once the common first and last
// lines are set aside.
std::size_t ChangedLines(const std::vector<std::string_view>& before,
                         const std::vector<std::string_view>& after) {
  const std::size_t shorter = std::min(before.size(), after.size());
  std::size_t prefix = 0;
  while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (prefix + suffix < shorter &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  return before.size() - prefix - suffix;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string_view section = NextField(input, "JWW");
  const std::string_view key = NextField(input, "C1");
  const std::string_view value = NextField(input, "0.5");
  const std::string_view file = input;

  platform::ProfileDocument document(file);
  if (document.Bytes() != file) std::abort();
  const std::optional<std::string> old = document.Find(section, key);

  const bool set = document.Set(section, key, value);
  if (set != Storable(section, key, value)) std::abort();
  const std::string written = document.Bytes();
  if (!set) {
    if (written != file) std::abort();
    return 0;
  }

  const platform::ProfileDocument reread(written);
  if (reread.Bytes() != written) std::abort();
  const std::size_t valueStart = value.find_first_not_of(" \t");
  const std::string_view expected =
      valueStart == std::string_view::npos ? std::string_view() : value.substr(valueStart);
  if (reread.Find(section, key) != std::optional<std::string>(expected)) std::abort();

  const auto before = LineTexts(file);
  const auto after = LineTexts(written);
  if (after.size() < before.size() || after.size() > before.size() + 2) std::abort();
  const bool replaced = after.size() == before.size();
  if (old.has_value() != replaced) std::abort();
  if (ChangedLines(before, after) > (replaced ? 1u : 0u)) std::abort();
  return 0;
}
