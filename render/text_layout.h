// Where Jw_cad puts each character of a text, and the embedded image frames
// that Jw_cad stores as texts.
#pragma once

#include <optional>
#include <string>

#include "drawing/jwwunit.h"
#include "render/display_list.h"

namespace render {

// Fills `shape` (start, angle, height, glyphs, the whole text) from
// `text`: each character cell `width` wide (half for a half-width character)
// followed by `spacing` (half after a half-width character), the last cell
// without; start and angle as stored.
void LayOutText(const jww::TEntMoji& text, TextShape& shape);

// The stored length of the laid-out text: from the start to the end of its
// last cell.
double TextAdvance(const TextShape& shape);

// A text whose content starts with "^@BM" places an image: the file name,
// then its width and height on the paper, separated by commas. The frame
// stands on the text's start point, turned by its angle.
std::optional<ImageShape> ImageOfText(const jww::TEntMoji& text, const std::string& utf8);

}  // namespace render
