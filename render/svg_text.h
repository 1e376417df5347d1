// Text and numbers as an SVG file holds them.
#pragma once

#include <string>
#include <string_view>

namespace render {

// Appends `text` as XML character data or an attribute value: markup
// characters as references, tab, line feed and carriage return as character
// references (attributes keep them that way), and what XML cannot hold (other
// control characters, invalid UTF-8, surrogates, U+FFFE/U+FFFF) as U+FFFD.
void AppendXmlText(std::string& out, std::string_view text);

// Appends one character of a text: `character` when it is exactly one
// character XML can hold, else U+FFFD, so that a text's glyphs and the
// characters written stay one to one.
void AppendXmlCharacter(std::string& out, std::string_view character);

// Appends `value` with at most four decimals, without trailing zeros ("12.5",
// "-3", "0").
void AppendNumber(std::string& out, double value);

}  // namespace render
