#include "render/svg_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace render {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The length of the valid UTF-8 sequence at the start of `text` and its code
// point; 0 when it is not one.
std::size_t DecodeOne(std::string_view text, char32_t& code) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(0);
  std::size_t length;
  char32_t min;
  if (lead < 0x80) {
    code = lead;
    return 1;
  } else if (lead >= 0xC2 && lead < 0xE0) {
    length = 2, code = lead & 0x1F, min = 0x80;
  } else if (lead >= 0xE0 && lead < 0xF0) {
    length = 3, code = lead & 0x0F, min = 0x800;
  } else if (lead >= 0xF0 && lead < 0xF5) {
    length = 4, code = lead & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

bool XmlHolds(char32_t code) {
  if (code < 0x20) return code == '\t' || code == '\n' || code == '\r';
  return code != 0xFFFE && code != 0xFFFF;
}

void WriteValid(std::ostream& out, std::string_view character, char32_t code) {
  switch (code) {
    case '&':
      out << "&amp;";
      return;
    case '<':
      out << "&lt;";
      return;
    case '>':
      out << "&gt;";
      return;
    case '"':
      out << "&quot;";
      return;
    case '\'':
      out << "&apos;";
      return;
    case '\t':
      out << "&#9;";
      return;
    case '\n':
      out << "&#10;";
      return;
    case '\r':
      out << "&#13;";
      return;
  }
  out.write(character.data(), static_cast<std::streamsize>(character.size()));
}

}  // namespace

void WriteXmlText(std::ostream& out, std::string_view text) {
  std::size_t plainFrom = 0, at = 0;
  const auto flushPlain = [&] {
    out.write(text.data() + plainFrom, static_cast<std::streamsize>(at - plainFrom));
  };
  while (at < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[at]);
    // Plain printable ASCII goes out in runs.
    if (c >= 0x20 && c < 0x7F && c != '&' && c != '<' && c != '>' && c != '"' && c != '\'') {
      ++at;
      continue;
    }
    flushPlain();
    char32_t code = 0;
    const std::size_t length = DecodeOne(text.substr(at), code);
    if (length == 0 || !XmlHolds(code)) {
      out << kReplacement;
      at += length == 0 ? 1 : length;
    } else {
      WriteValid(out, text.substr(at, length), code);
      at += length;
    }
    plainFrom = at;
  }
  flushPlain();
}

void WriteXmlCharacter(std::ostream& out, std::string_view character) {
  char32_t code = 0;
  const std::size_t length = character.empty() ? 0 : DecodeOne(character, code);
  if (length == 0 || length != character.size() || !XmlHolds(code)) {
    out << kReplacement;
  } else {
    WriteValid(out, character, code);
  }
}

void WriteNumber(std::ostream& out, double value) {
  // Nothing on a paper lies this far out; bounded so that the text is short.
  constexpr double kFarthest = 1e12;
  if (!std::isfinite(value)) value = 0;
  value = std::fmax(-kFarthest, std::fmin(kFarthest, value));
  // Rounded to 1/10000 first, so that -0.00001 comes out as "0".
  value = std::round(value * 1e4) / 1e4;
  if (value == 0) value = 0;  // no "-0"
  char text[64];
  const auto [end, error] =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 4);
  char* last = error == std::errc{} ? end : text;
  if (last != text) {
    while (last[-1] == '0') --last;
    if (last[-1] == '.') --last;
  }
  out.write(text, last - text);
}

}  // namespace render
