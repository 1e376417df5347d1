// The conversion keys of the settings file, described once for the window's
// settings and the command line's reading.
#include <string>

#include "common/func.h"
#include "conversion/conversion_settings.h"
#include "platform/settings_file.h"

namespace unit_val {

namespace {

std::vector<ConversionKey> MakeConversionKeys() {
  std::vector<ConversionKey> keys;
  for (int n = 1; n <= kRangeValueCount; ++n)
    keys.push_back({"JWW", "C" + std::to_string(n), n, false});
  for (int n = 1; n <= kFlagCount; ++n) keys.push_back({"JWC", "C" + std::to_string(n), n, true});
  return keys;
}

}  // namespace

const std::vector<ConversionKey>& ConversionKeys() {
  static const std::vector<ConversionKey> keys = MakeConversionKeys();
  return keys;
}

void ReadConversionKey(ConversionSettings& settings, const ConversionKey& key,
                       std::string_view text) {
  if (key.flag) {
    settings.Flag(key.number) = func::TextToInt(text);
  } else {
    settings.RangeValue(key.number) = func::TextToDouble(text);
  }
}

std::string ConversionKeyText(const ConversionSettings& settings, const ConversionKey& key) {
  return key.flag ? std::to_string(settings.Flag(key.number))
                  : func::FormatGeneral(settings.RangeValue(key.number));
}

void ConversionSettings::Load(const std::filesystem::path& settingsFile) {
  Load(platform::SettingsReader(settingsFile));
}

void ConversionSettings::Load(const platform::SettingsReader& settingsFile) {
  for (const ConversionKey& key : ConversionKeys()) {
    const platform::Setting s = settingsFile.Read(key.section, key.name, kConversionValueBuffer);
    if (!s.found) continue;
    try {
      ReadConversionKey(*this, key, s.text);
    } catch (const func::FloatOverflow&) {
      ReadConversionKey(*this, key, "0");
    }
  }
}

}  // namespace unit_val
