// UnitIni: reading and writing keys of the settings file, with the
// behaviour of the private-profile functions (sections and keys matched
// without regard to letter case, value bytes kept as they are, every other
// line of the file left alone).
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace unit_ini {

struct Setting {
  bool found = false;  // at least one character came back
  std::string text;    // at most bufferSize - 1 bytes
};

// One key; a missing file, section or key and an empty value give found = false.
Setting ReadSetting(std::string_view section, std::string_view key, std::size_t bufferSize,
                    const std::filesystem::path& file);

// One key, creating the file, section or key as needed. The file is replaced
// whole and atomically, so it is never left half-written.
bool WriteSetting(std::string_view section, std::string_view key, std::string_view text,
                  const std::filesystem::path& file);

// Many writes applied to the file's text in memory and put in place with one
// atomic replace by Commit (the whole settings file at close).
class SettingsWriter {
 public:
  explicit SettingsWriter(std::filesystem::path file);
  void Write(std::string_view section, std::string_view key, std::string_view text);
  bool Commit();

 private:
  std::filesystem::path file_;
  std::string content_;  // the file's bytes with the writes so far applied
  bool loaded_ = false;
};

}  // namespace unit_ini
