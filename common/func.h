// Func_: small stateless helpers shared by every module.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace func {

// Copies the first min(|n|, text length) characters of text into dst[0..],
// writing nothing else. Passing the end of the array throws std::out_of_range.
void FixedBufferCopy(char* dst, std::size_t capacity, std::string_view text, int n);
// Sets dst[0..n-1] to c (nothing for n <= 0); passing the end throws.
void FixedBufferFill(char* dst, std::size_t capacity, char c, int n);

// Code page 932 lead bytes: 0x80-0x9F and 0xE0-0xFD start a double-byte
// character.
constexpr bool IsLeadByte(unsigned char b) {
  return (b >= 0x80 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFD);
}

// Keeps double-byte characters whole and drops single bytes below 0x20.
std::string DisplayFilter(std::string_view sjis);
// The display filter that also drops every "^m" at a single-byte position;
// a non-empty text of which nothing remains becomes " ".
std::string DisplayFilterRemovingMarkers(std::string_view sjis);
// The same two filters on UTF-16 code units: a unit below 0x20 is a control
// character.
std::u16string DisplayFilter(std::u16string_view units);
std::u16string DisplayFilterRemovingMarkers(std::u16string_view units);

// Text to integer: "" gives 0; leading blanks (" "), optional sign and
// decimal digits, or hexadecimal digits after "$", "x", "X", "0x", "0X" taken
// as a 32-bit pattern ("$FFFFFFFF" is -1; a sign before the prefix negates
// the pattern). Anything else gives 0: trailing blanks, other characters, a
// hexadecimal value above FFFFFFFF, a decimal outside int32.
std::int32_t TextToInt(std::string_view text);

// Thrown by TextToDouble for a well-formed number too large for a double.
struct FloatOverflow {
  const char* what() const { return "浮動小数点数のオーバーフロー"; }
};
// Text to double, "." as the decimal point whatever the locale, correctly
// rounded. The whole text must be the number: leading blanks, optional sign,
// digits with an optional "." (".5" and "5." count; "." does not), optional
// "E"/"e" with optional sign and at least one digit. Anything else, trailing
// blanks included, gives 0. A number too large for a double throws
// FloatOverflow; one too small gives 0 (or the nearest subnormal).
double TextToDouble(std::string_view text);
// The same, with overflow giving 0 instead of throwing.
double TextToDoubleOrZero(std::string_view text);

// General number format: at most 15 significant digits, no trailing zeros;
// fixed notation for 0 and magnitudes (after rounding) from 0.0001 to below
// 1E15, scientific ("1.5E-5", "1E15") otherwise; "NAN", "INF", "-INF".
// Every finite value written reads back through TextToDouble: the doubles
// that would round past the largest one are written 1.79769313486231E308.
std::string FormatGeneral(double value);

}  // namespace func
