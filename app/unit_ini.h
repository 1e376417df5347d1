// UnitIni: reading and writing keys of the settings file (see
// platform/settings_file.h, which the window shares with the conversion
// settings and the command line).
#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>

#include "platform/settings_file.h"

namespace unit_ini {

using Setting = platform::Setting;
using SettingsReader = platform::SettingsReader;
using SettingsWriter = platform::SettingsWriter;

// One key; a missing file, section or key and an empty value give found = false.
Setting ReadSetting(std::string_view section, std::string_view key, std::size_t bufferSize,
                    const std::filesystem::path& file);

// One key, creating the file, section or key as needed. The file is replaced
// whole and atomically, so it is never left half-written.
bool WriteSetting(std::string_view section, std::string_view key, std::string_view text,
                  const std::filesystem::path& file);

}  // namespace unit_ini
