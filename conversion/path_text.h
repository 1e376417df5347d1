// Paths in messages: UTF-8 text whatever the system's native form.
#pragma once

#include <filesystem>
#include <string>

#include "platform/path_text.h"

namespace unit_val {

inline std::string PathText(const std::filesystem::path& path) {
  return platform::PathToUtf8(path);
}

}  // namespace unit_val
