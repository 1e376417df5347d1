// The JSON form of `quillon-cli info`: one object per drawing, on one line.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "drawing/jwwunit.h"

namespace cli {

// {"path": ..., "ok": true, "error": null, "version": ..., "memo": ...,
//  "text_types": [...], "counts": {...}, "block_counts": {...},
//  "block_definitions": [...], "texts": [...], "images": [...]}
// written to `out` as it is made (without the line break after it), never
// held whole.
void WriteInfoJson(std::ostream& out, std::string_view path, const jww::Drawing& drawing);

// {"path": ..., "ok": false, "error": ...}
std::string InfoJsonFailure(std::string_view path, std::string_view error);

}  // namespace cli
