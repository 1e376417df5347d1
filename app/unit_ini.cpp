#include "app/unit_ini.h"

namespace unit_ini {

Setting ReadSetting(std::string_view section, std::string_view key, std::size_t bufferSize,
                    const std::filesystem::path& file) {
  return SettingsReader(file).Read(section, key, bufferSize);
}

bool WriteSetting(std::string_view section, std::string_view key, std::string_view text,
                  const std::filesystem::path& file) {
  return platform::WritePrivateProfile(section, key, text, file);
}

}  // namespace unit_ini
