// Text and numbers as an SVG file holds them.
#pragma once

#include <ostream>
#include <string_view>

namespace render {

// Writes `text` as XML character data or an attribute value: markup
// characters as references, tab, line feed and carriage return as character
// references (attributes keep them that way), and what XML cannot hold (other
// control characters, invalid UTF-8, surrogates, U+FFFE/U+FFFF) as U+FFFD.
void WriteXmlText(std::ostream& out, std::string_view text);

// Writes one character of a text: `character` when it is exactly one
// character XML can hold, else U+FFFD, so that a text's glyphs and the
// characters written stay one to one.
void WriteXmlCharacter(std::ostream& out, std::string_view character);

// Writes `value` with at most four decimals, without trailing zeros ("12.5",
// "-3", "0").
void WriteNumber(std::ostream& out, double value);

}  // namespace render
