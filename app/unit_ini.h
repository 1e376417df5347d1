// UnitIni: the settings file's reader and writer as the window names them
// (platform/settings_file.h, shared with the conversion settings and the
// command line).
#pragma once

#include "platform/settings_file.h"

namespace unit_ini {

using Setting = platform::Setting;
using SettingsReader = platform::SettingsReader;
using SettingsWriter = platform::SettingsWriter;

}  // namespace unit_ini
