// The conversion settings a command reads through its --settings option: the
// file named, or the settings file beside the program when none is (and when that
// one is missing, the settings of an empty file).
#pragma once

#include <filesystem>
#include <string>

#include "conversion/conversion_settings.h"
#include "conversion/failure_reason.h"

namespace cli {

struct SettingsRead {
  std::filesystem::path path;  // the file read, or looked for
  bool found = false;          // the file exists and was read
  // Not empty: the command stops with this line; `helpHint` when the line
  // ends with the pointer to the command's help.
  std::string problem;
  bool helpHint = true;
  unit_val::Failure failure{};  // the problem as a code, where reports give one
};

// Loads `settings` from the file the option names (empty: the default file).
SettingsRead ReadSettings(const std::string& option, unit_val::ConversionSettings& settings);

}  // namespace cli
