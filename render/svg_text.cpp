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

void AppendValid(std::string& out, std::string_view character, char32_t code) {
  switch (code) {
    case '&':
      out.append("&amp;");
      return;
    case '<':
      out.append("&lt;");
      return;
    case '>':
      out.append("&gt;");
      return;
    case '"':
      out.append("&quot;");
      return;
    case '\'':
      out.append("&apos;");
      return;
    case '\t':
      out.append("&#9;");
      return;
    case '\n':
      out.append("&#10;");
      return;
    case '\r':
      out.append("&#13;");
      return;
  }
  out.append(character);
}

}  // namespace

void AppendXmlText(std::string& out, std::string_view text) {
  std::size_t plainFrom = 0, at = 0;
  const auto flushPlain = [&] { out.append(text.data() + plainFrom, at - plainFrom); };
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
      out.append(kReplacement);
      at += length == 0 ? 1 : length;
    } else {
      AppendValid(out, text.substr(at, length), code);
      at += length;
    }
    plainFrom = at;
  }
  flushPlain();
}

void AppendXmlCharacter(std::string& out, std::string_view character) {
  char32_t code = 0;
  const std::size_t length = character.empty() ? 0 : DecodeOne(character, code);
  if (length == 0 || length != character.size() || !XmlHolds(code)) {
    out.append(kReplacement);
  } else {
    AppendValid(out, character, code);
  }
}

void AppendNumber(std::string& out, double value) {
  // Nothing on a paper lies this far out; bounded so that the text is short.
  constexpr double kFarthest = 1e12;
  if (!std::isfinite(value)) value = 0;
  value = std::fmax(-kFarthest, std::fmin(kFarthest, value));
  // In ten-thousandths, as an integer: -0.00001 comes out as "0".
  const long long scaled = std::llround(value * 1e4);
  const unsigned long long magnitude =
      scaled < 0 ? 0ULL - static_cast<unsigned long long>(scaled) : scaled;
  if (scaled < 0) out += '-';
  char text[24];
  char* end = std::to_chars(text, text + sizeof text, magnitude / 10000).ptr;
  unsigned fraction = static_cast<unsigned>(magnitude % 10000);
  if (fraction != 0) {
    int digits = 4;
    while (fraction % 10 == 0) fraction /= 10, --digits;
    *end++ = '.';
    for (int i = digits - 1; i >= 0; --i) {
      end[i] = static_cast<char>('0' + fraction % 10);
      fraction /= 10;
    }
    end += digits;
  }
  out.append(text, static_cast<std::size_t>(end - text));
}

}  // namespace render
