#include "conversion/destination_guard.h"

#include <system_error>

namespace unit_val {

bool SameFolder(const std::filesystem::path& a, const std::filesystem::path& b) {
  if (a.native() == b.native()) return true;
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
}

}  // namespace unit_val
