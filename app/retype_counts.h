// The "変換対象" column's numbers: each drawing read off the window's thread
// and swept by the conversion's own walk without writing.
#pragma once

#include <filesystem>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "conversion/conversion_settings.h"
#include "drawing/jwwunit.h"

namespace unit1 {

// Reads `file` into `drawing` to be looked at: the image entries are read,
// their bytes neither extracted nor written anywhere. Empty when read; else
// why not, in Japanese (the drawing then holds nothing).
std::string ReadDrawingToLook(jww::Drawing& drawing, const std::filesystem::path& file);

struct RetypeCount {
  std::filesystem::path name;  // in the listed folder
  int count = -1;              // -1: the drawing cannot be read
  std::string reason;          // why not, in Japanese
};

// Counts, for each of `names` in `folder` in turn, the texts `settings`
// would retype, until `stop`. The counts go to `deliver` in batches: the
// first drawing's at once, then whatever is ready every kCountBatchMs, and
// the rest at the end (nothing after a stop).
inline constexpr int kCountBatchMs = 100;
void CountRetypedTexts(const std::filesystem::path& folder,
                       const std::vector<std::filesystem::path>& names,
                       const unit_val::ConversionSettings& settings, const std::stop_token& stop,
                       const std::function<void(std::vector<RetypeCount>)>& deliver);

}  // namespace unit1
