// Paths in messages: UTF-8 text whatever the system's native form.
#pragma once

#include <filesystem>
#include <string>

namespace unit_val {

inline std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace unit_val
