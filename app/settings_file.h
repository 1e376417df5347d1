// The settings file "quillon.ini", described once: every key with its
// section, buffer size, built-in value and how it is read and written. The
// start-up reads the file through this table and the shut-down writes it.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/file_rows.h"
#include "app/main_view.h"
#include "app/unit_ini.h"
#include "conversion/conversion_settings.h"

namespace unit1 {

using unit_val::kSettingsFileName;

// The windows' places and the panes' widths until the settings file
// holds others.
inline constexpr WindowGeometry kDefaultMainWindow{192, 107, 696, 478};
inline constexpr WindowGeometry kDefaultSettingsDialog{192, 111, 748, 502};
inline constexpr int kDefaultPaneWidth = 160;
inline constexpr int kDefaultPreviewWidth = 240;

// The list's column widths until the settings file holds others: wide
// enough for a typical name, memo and time in the list's font.
inline constexpr std::array<int, kColumnCount> kDefaultColumnWidths = {160, 72, 48, 200,
                                                                       144, 40, 72};

// Everything the settings file keeps of a session.
struct SessionSettings {
  WindowGeometry mainWindow;
  WindowGeometry settingsDialog;
  int paneWidth = 0;                             // Panel1
  int previewWidth = 0;                          // the preview pane
  std::array<int, kColumnCount> columnWidths{};  // StringGrid1's columns
  std::string searchFolder;                      // UTF-8, as shown
  std::string destinationFolder;
  int fileType = 0;                // ComboBox1's index; -1 for none
  std::string listedFolder;        // the folder the list showed; empty for none
  bool searchFolderSaved = false;  // the file held a search folder
  unit_val::ConversionSettings conversion;
};

struct SettingsKey {
  const char* section;
  std::string key;
  std::size_t bufferSize;  // a value counts up to bufferSize - 1 bytes
  std::string builtIn;     // the value when the key is absent
  // Takes a present, non-empty value; may throw func::FloatOverflow.
  std::function<void(SessionSettings&, const std::string&)> read;
  std::function<std::string(const SessionSettings&)> write;
};

// Whether a saved text can name a folder: UTF-8 without control characters,
// an absolute path.
bool UsableFolderText(std::string_view text);

// Every key, in the order the file is written.
const std::vector<SettingsKey>& SettingsKeys();

// The built-in values; the search folder defaults to the program folder.
SessionSettings BuiltInSettings(const std::string& programFolder);

// Applies every present, non-empty key over `settings`. A range value too
// large for a number reads as 0; such keys are answered ("[JWW] C5=1e400").
std::vector<std::string> ReadSettingsFile(const unit_ini::SettingsReader& file,
                                          SessionSettings& settings);

// Writes every key; false when the file could not be written.
bool WriteSettingsFile(const std::filesystem::path& file, const SessionSettings& settings);

}  // namespace unit1
