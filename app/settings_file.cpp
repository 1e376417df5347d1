#include "app/settings_file.h"

#include <limits>

#include "common/func.h"
#include "platform/path_text.h"

namespace unit1 {

namespace {

constexpr std::size_t kValueBuffer = 22;
// Folders are read whole, however long: a cut path would name another folder.
constexpr std::size_t kWholeValue = std::numeric_limits<std::size_t>::max();

// Well-formed UTF-8: no stray or overlong sequences, no surrogates.
bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80                   ? 1
                               : lead >= 0xC2 && lead < 0xE0 ? 2
                               : lead >= 0xE0 && lead < 0xF0 ? 3
                               : lead >= 0xF0 && lead < 0xF5 ? 4
                                                             : 0;
    if (length == 0 || i + length > text.size()) return false;
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) {
      return false;
    }
    i += length;
  }
  return true;
}

// Applies a saved folder only when it can be one: UTF-8 text without control
// characters naming an absolute path. Anything else counts as absent.
template <typename Field>
SettingsKey FolderKey(std::string key, Field field) {
  return {"Set",
          std::move(key),
          kWholeValue,
          "",
          [field](SessionSettings& s, const std::string& text) {
            if (UsableFolderText(text)) field(s) = text;
          },
          [field](const SessionSettings& s) { return field(s); }};
}

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
          "Form", "F1_X", kDefaultMainWindow.x, [](auto& s) -> auto& { return s.mainWindow.x; }),
      IntegerKey(
          "Form", "F1_Y", kDefaultMainWindow.y, [](auto& s) -> auto& { return s.mainWindow.y; }),
      IntegerKey(
          "Form", "F1_W", kDefaultMainWindow.width,
          [](auto& s) -> auto& { return s.mainWindow.width; }),
      IntegerKey(
          "Form", "F1_H", kDefaultMainWindow.height,
          [](auto& s) -> auto& { return s.mainWindow.height; }),
      IntegerKey(
          "Form", "F2_X", kDefaultSettingsDialog.x,
          [](auto& s) -> auto& { return s.settingsDialog.x; }),
      IntegerKey(
          "Form", "F2_Y", kDefaultSettingsDialog.y,
          [](auto& s) -> auto& { return s.settingsDialog.y; }),
      IntegerKey(
          "Form", "F2_W", kDefaultSettingsDialog.width,
          [](auto& s) -> auto& { return s.settingsDialog.width; }),
      IntegerKey(
          "Form", "F2_H", kDefaultSettingsDialog.height,
          [](auto& s) -> auto& { return s.settingsDialog.height; }),
      {"Form", "F1_MAX", kValueBuffer, "0",
       [](SessionSettings& s, const std::string& text) {
         s.mainWindow.maximised = func::TextToInt(text) == 1;
       },
       [](const SessionSettings& s) { return std::string(s.mainWindow.maximised ? "1" : "0"); }},
      IntegerKey(
          "Comp", "F1P1", kDefaultPaneWidth, [](auto& s) -> auto& { return s.paneWidth; }),
      IntegerKey(
          "Comp", "F1P2", kDefaultPreviewWidth, [](auto& s) -> auto& { return s.previewWidth; }),
  };
  for (int c = 0; c < kColumnCount; ++c) {
    keys.push_back({"Comp", "F1S" + std::to_string(c), kValueBuffer,
                    std::to_string(kDefaultColumnWidths.at(static_cast<std::size_t>(c))),
                    [c](SessionSettings& s, const std::string& text) {
                      s.columnWidths.at(static_cast<std::size_t>(c)) = func::TextToInt(text);
                    },
                    [c](const SessionSettings& s) {
                      return std::to_string(s.columnWidths.at(static_cast<std::size_t>(c)));
                    }});
  }
  keys.push_back(FolderKey(
      "FLD1", [](auto& s) -> auto& { return s.searchFolder; }));
  keys.back().read = [](SessionSettings& s, const std::string& text) {
    if (!UsableFolderText(text)) return;
    s.searchFolder = text;
    s.searchFolderSaved = true;
  };
  keys.push_back(FolderKey(
      "FLD2", [](auto& s) -> auto& { return s.destinationFolder; }));
  keys.push_back(IntegerKey(
      "Set", "FTYP", 0, [](auto& s) -> auto& { return s.fileType; }));
  keys.push_back(FolderKey(
      "FLD3", [](auto& s) -> auto& { return s.listedFolder; }));
  for (const unit_val::ConversionKey& key : unit_val::ConversionKeys()) {
    keys.push_back({key.section, key.name, unit_val::kConversionValueBuffer, "0",
                    [&key](SessionSettings& s, const std::string& text) {
                      unit_val::ReadConversionKey(s.conversion, key, text);
                    },
                    [&key](const SessionSettings& s) {
                      return unit_val::ConversionKeyText(s.conversion, key);
                    }});
  }
  return keys;
}

}  // namespace

bool UsableFolderText(std::string_view text) {
  if (text.empty() || !IsUtf8(text)) return false;
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  }
  return platform::PathFromUtf8(text).is_absolute();
}

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
