#include "app/settings_file.h"

#include "common/func.h"

namespace unit1 {

namespace {

constexpr std::size_t kValueBuffer = 22;
constexpr std::size_t kFolderBuffer = 512;

// `field` is a generic lambda answering the integer of a session, const or not.
template <typename Field>
SettingsKey IntegerKey(const char* section, std::string key, int builtIn, Field field) {
  return {
      section,
      std::move(key),
      kValueBuffer,
      std::to_string(builtIn),
      [field](SessionSettings& s, const std::string& text) { field(s) = func::TextToInt(text); },
      [field](const SessionSettings& s) { return std::to_string(field(s)); }};
}

std::vector<SettingsKey> MakeKeys() {
  std::vector<SettingsKey> keys = {
      IntegerKey(
          "Form", "F1_X", 192, [](auto& s) -> auto& { return s.mainWindow.x; }),
      IntegerKey(
          "Form", "F1_Y", 107, [](auto& s) -> auto& { return s.mainWindow.y; }),
      IntegerKey(
          "Form", "F1_W", 696, [](auto& s) -> auto& { return s.mainWindow.width; }),
      IntegerKey(
          "Form", "F1_H", 478, [](auto& s) -> auto& { return s.mainWindow.height; }),
      IntegerKey(
          "Form", "F2_X", 192, [](auto& s) -> auto& { return s.settingsDialog.x; }),
      IntegerKey(
          "Form", "F2_Y", 111, [](auto& s) -> auto& { return s.settingsDialog.y; }),
      IntegerKey(
          "Form", "F2_W", 748, [](auto& s) -> auto& { return s.settingsDialog.width; }),
      IntegerKey(
          "Form", "F2_H", 502, [](auto& s) -> auto& { return s.settingsDialog.height; }),
      IntegerKey(
          "Comp", "F1P1", 160, [](auto& s) -> auto& { return s.paneWidth; }),
  };
  for (int c = 0; c < kColumnCount; ++c) {
    keys.push_back({"Comp", "F1S" + std::to_string(c), kValueBuffer, "64",
                    [c](SessionSettings& s, const std::string& text) {
                      s.columnWidths.at(static_cast<std::size_t>(c)) = func::TextToInt(text);
                    },
                    [c](const SessionSettings& s) {
                      return std::to_string(s.columnWidths.at(static_cast<std::size_t>(c)));
                    }});
  }
  // Folders are kept as the bytes of their text.
  keys.push_back({"Set", "FLD1", kFolderBuffer, "",
                  [](SessionSettings& s, const std::string& text) { s.searchFolder = text; },
                  [](const SessionSettings& s) { return s.searchFolder; }});
  keys.push_back({"Set", "FLD2", kFolderBuffer, "",
                  [](SessionSettings& s, const std::string& text) { s.destinationFolder = text; },
                  [](const SessionSettings& s) { return s.destinationFolder; }});
  keys.push_back(IntegerKey(
      "Set", "FTYP", 0, [](auto& s) -> auto& { return s.fileType; }));
  for (int n = 1; n <= unit_val::kRangeValueCount; ++n) {
    keys.push_back({"JWW", "C" + std::to_string(n), kValueBuffer, "0",
                    [n](SessionSettings& s, const std::string& text) {
                      s.conversion.RangeValue(n) = func::TextToDouble(text);
                    },
                    [n](const SessionSettings& s) {
                      return func::FormatGeneral(s.conversion.RangeValue(n));
                    }});
  }
  for (int n = 1; n <= unit_val::kFlagCount; ++n) {
    keys.push_back(
        {"JWC", "C" + std::to_string(n), kValueBuffer, "0",
         [n](SessionSettings& s, const std::string& text) {
           s.conversion.Flag(n) = func::TextToInt(text);
         },
         [n](const SessionSettings& s) { return std::to_string(s.conversion.Flag(n)); }});
  }
  return keys;
}

}  // namespace

const std::vector<SettingsKey>& SettingsKeys() {
  static const std::vector<SettingsKey> keys = MakeKeys();
  return keys;
}

SessionSettings BuiltInSettings(const std::string& programFolder) {
  SessionSettings settings;
  for (const SettingsKey& key : SettingsKeys()) key.read(settings, key.builtIn);
  settings.searchFolder = programFolder;
  return settings;
}

std::vector<std::string> ReadSettingsFile(const unit_ini::SettingsReader& file,
                                          SessionSettings& settings) {
  std::vector<std::string> overflowing;
  for (const SettingsKey& key : SettingsKeys()) {
    const unit_ini::Setting setting = file.Read(key.section, key.key, key.bufferSize);
    if (!setting.found) continue;
    try {
      key.read(settings, setting.text);
    } catch (const func::FloatOverflow&) {
      key.read(settings, "0");
      overflowing.push_back("[" + std::string(key.section) + "] " + key.key + "=" + setting.text);
    }
  }
  return overflowing;
}

bool WriteSettingsFile(const std::filesystem::path& file, const SessionSettings& settings) {
  unit_ini::SettingsWriter writer(file);
  bool written = true;
  for (const SettingsKey& key : SettingsKeys()) {
    written = writer.Write(key.section, key.key, key.write(settings)) && written;
  }
  return writer.Commit() && written;
}

}  // namespace unit1
