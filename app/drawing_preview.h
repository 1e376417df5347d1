// The preview of one drawing: read off the window's thread, its texts that
// the settings would retype marked, drawn into a display list.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>

#include "conversion/conversion_settings.h"
#include "render/display_list.h"

namespace unit1 {

struct Preview {
  std::shared_ptr<const render::DisplayList> drawing;  // none: the drawing cannot be read
  std::string caption;  // "変換対象 N 件 (…)", or why the drawing cannot be read
};

// The preview of `file` under `settings`; none once `stop` is requested.
std::optional<Preview> BuildPreview(const std::filesystem::path& file,
                                    const unit_val::ConversionSettings& settings,
                                    const std::stop_token& stop);

}  // namespace unit1
