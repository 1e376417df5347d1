// Private-profile (INI) files as the Windows private-profile functions treat
// them for this program, in portable C++: "[section]" lines, "key=value"
// lines, everything else (comments, blank lines, unknown text) carried
// through untouched. Section and key names are trimmed of blanks and
// compared without regard to ASCII letter case; the first matching section
// is the only one looked at, and its first matching key wins. Values are
// bytes (Shift-JIS, UTF-8, anything) and are never re-encoded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// The text of one settings file, kept line by line so that a change touches
// only the line it must.
class ProfileDocument {
 public:
  ProfileDocument() = default;
  explicit ProfileDocument(std::string_view bytes);

  // The value of the key: the bytes after "=" with leading blanks removed,
  // trailing blanks kept. nullopt when the section or the key is missing.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;

  // Replaces the value of the key in place (the line keeps its key text and
  // spacing), or adds "key=value" after the section's last key line, or adds
  // the section at the end. False, with nothing changed, for a section or
  // key that is empty or could not be read back as written (a line break in
  // any of the three texts, "=" in the key, a key starting with ";" or "[").
  bool Set(std::string_view section, std::string_view key, std::string_view value);

  // The whole file as it would be written.
  std::string Bytes() const;

 private:
  struct Line {
    std::string text;    // without its line ending
    std::string ending;  // "\r\n", "\n", or "" for a last line without one
  };

  const std::string& NewLineEnding() const;
  // The lines that open sections, found once (a large file is read for many
  // keys), and the lines of the first section of a name: its header up to
  // the next header.
  const std::vector<std::size_t>& SectionLines() const;
  std::optional<std::pair<std::size_t, std::size_t>> SectionSpan(std::string_view section) const;

  std::string byteOrderMark_;
  std::vector<Line> lines_;
  bool crlfDominant_ = true;  // a new file gets Windows line endings
  mutable std::vector<std::size_t> sectionLines_;
  mutable bool sectionLinesValid_ = false;
};

// A settings file is a few KB. One larger than this, or of more lines (each
// line takes several times its bytes in a ProfileDocument), is refused
// rather than read.
inline constexpr std::uint64_t kProfileFileMaxBytes = std::uint64_t{64} << 20;
inline constexpr std::size_t kProfileFileMaxLines = std::size_t{1} << 20;

enum class ProfileFileState { kRead, kMissing, kUnreadable, kTooLarge };

// Reads the whole file into bytes (left empty unless kRead); never more than
// kProfileFileMaxBytes.
ProfileFileState LoadProfileFile(const std::filesystem::path& file, std::string& bytes);

// Replaces the file by bytes through a temporary file in the same folder
// that is renamed into place, so the file is either the old or the new one.
// A file marked read-only is not replaced. False on any failure, with the
// old file as it was and no temporary file left behind.
bool ReplaceProfileFile(const std::filesystem::path& file, std::string_view bytes);

// GetPrivateProfileStringA: the value, or defaultText when the file, the
// section or the key is missing; cut to bufferSize - 1 bytes.
std::string ReadPrivateProfile(std::string_view section, std::string_view key,
                               std::string_view defaultText, std::size_t bufferSize,
                               const std::filesystem::path& file);

// WritePrivateProfileStringA with a value: sets one key, creating the file,
// section or key as needed, and replaces the file atomically.
bool WritePrivateProfile(std::string_view section, std::string_view key, std::string_view value,
                         const std::filesystem::path& file);

}  // namespace platform
