// Decoding drawing texts for display: code page 932 (Shift-JIS as Windows
// writes it) and UTF-16 code units to UTF-8. Bytes or units that form no
// character become U+FFFD; decoding never fails. And the way back from UTF-8
// to code page 932, for orders that follow the Shift-JIS bytes.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Code page 932 bytes to UTF-8, with the NEC and IBM extensions and the
// user-defined area that Windows knows.
std::string Cp932ToUtf8(std::string_view bytes);

// UTF-8 to code page 932 bytes; a character that code page 932 lacks, and
// bytes that are no UTF-8, become "?".
std::string Utf8ToCp932(std::string_view text);

// Appends one code point in UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// UTF-16 code units to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view units);

}  // namespace platform
