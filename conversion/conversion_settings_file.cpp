// Loading and saving the conversion settings through the settings file.
#include <string>

#include "common/func.h"
#include "conversion/conversion_settings.h"
#include "platform/settings_file.h"

namespace unit_val {

namespace {

constexpr char kRangeSection[] = "JWW";
constexpr char kFlagSection[] = "JWC";
// Each key is read into a buffer of this many bytes, so at most its first 21
// characters count.
constexpr std::size_t kKeyBuffer = 22;

std::string KeyName(int n) {
  return "C" + std::to_string(n);
}

}  // namespace

void ConversionSettings::Load(const std::filesystem::path& settingsFile) {
  Load(platform::SettingsReader(settingsFile));
}

void ConversionSettings::Load(const platform::SettingsReader& settingsFile) {
  for (int n = 1; n <= kRangeValueCount; ++n) {
    const platform::Setting s = settingsFile.Read(kRangeSection, KeyName(n), kKeyBuffer);
    if (s.found) RangeValue(n) = func::TextToDoubleOrZero(s.text);
  }
  for (int n = 1; n <= kFlagCount; ++n) {
    const platform::Setting s = settingsFile.Read(kFlagSection, KeyName(n), kKeyBuffer);
    if (s.found) Flag(n) = func::TextToInt(s.text);
  }
}

void ConversionSettings::Save(platform::SettingsWriter& writer) const {
  for (int n = 1; n <= kRangeValueCount; ++n) {
    writer.Write(kRangeSection, KeyName(n), func::FormatGeneral(RangeValue(n)));
  }
  for (int n = 1; n <= kFlagCount; ++n) {
    writer.Write(kFlagSection, KeyName(n), std::to_string(Flag(n)));
  }
}

}  // namespace unit_val
