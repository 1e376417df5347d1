// The JSON form of `quillon-cli info`: one object per drawing, on one line.
#pragma once

#include <string>
#include <string_view>

#include "drawing/jwwunit.h"

namespace cli {

// {"path": ..., "ok": true, "error": null, "version": ..., "memo": ...,
//  "text_types": [...], "counts": {...}, "block_counts": {...},
//  "block_definitions": [...], "texts": [...], "images": [...]}
std::string InfoJson(std::string_view path, const jww::Drawing& drawing);

// {"path": ..., "ok": false, "error": ...}
std::string InfoJsonFailure(std::string_view path, std::string_view error);

}  // namespace cli
