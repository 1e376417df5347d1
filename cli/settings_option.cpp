#include "cli/settings_option.h"

#include "conversion/path_text.h"
#include "platform/path_text.h"
#include "platform/process.h"
#include "platform/settings_file.h"

namespace cli {

SettingsRead ReadSettings(const std::string& option, unit_val::ConversionSettings& settings) {
  SettingsRead read;
  read.path = platform::PathFromUtf8(option);
  const bool given = !read.path.empty();
  if (!given) read.path = platform::ExecutableDir() / unit_val::kSettingsFileName;
  const platform::SettingsReader file(read.path);
  const bool missing = file.state() == platform::ProfileFileState::kMissing;
  if (file.state() == platform::ProfileFileState::kTooLarge) {
    read.problem = "cannot read the settings file " + unit_val::PathText(read.path) +
                   ": it is larger than " + std::to_string(platform::kProfileFileMaxBytes >> 20) +
                   " MB or has " + std::to_string(platform::kProfileFileMaxLines) +
                   " lines or more";
    read.helpHint = false;
    read.failure = {unit_val::Reason::kCannotReadSettingsFile, {}};
    return read;
  }
  if (file.state() == platform::ProfileFileState::kUnreadable || (given && missing)) {
    read.problem = "cannot read the settings file " + unit_val::PathText(read.path);
    return read;
  }
  read.found = !missing;
  settings.Load(file);
  return read;
}

}  // namespace cli
