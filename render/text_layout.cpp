#include "render/text_layout.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string_view>
#include <vector>

#include "drawing/jww_text.h"

namespace render {

namespace {

constexpr std::string_view kImagePrefix = "^@BM";
constexpr std::string_view kEmbeddedMarker = "%temp%";

bool IsCp932LeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool IsHalfWidthUnit(std::uint16_t u) {
  return u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F);
}

// The extent of the stored character at unit `i`: one or two bytes, or one
// or two UTF-16 units (a surrogate pair).
std::size_t RawCharUnits(const jww::JwwString& s, std::size_t i) {
  const std::uint16_t u = s.unit(i);
  const bool pair =
      s.wide ? u >= 0xD800 && u <= 0xDBFF : IsCp932LeadByte(static_cast<unsigned char>(u));
  return pair && i + 1 < s.units() ? 2 : 1;
}

bool IsHalfWidth(const jww::JwwString& s, std::size_t i, std::size_t units) {
  return units == 1 && (!s.wide || IsHalfWidthUnit(s.unit(i)));
}

// The length of the UTF-8 sequence that starts with `lead`.
std::size_t Utf8Length(unsigned char lead) {
  return lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

double Number(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  double value = 0;
  std::from_chars(s.data(), s.data() + s.size(), value);
  return std::isfinite(value) ? value : 0;
}

}  // namespace

void LayOutText(const jww::TEntMoji& text, TextShape& shape) {
  shape.start = {text.startX, text.startY};
  shape.angle = text.angle * std::numbers::pi / 180;
  shape.height = text.height;
  shape.utf8 = jww::DecodedText(text.text);
  const jww::JwwString& raw = text.text;
  shape.glyphs.clear();
  std::size_t characters = 0;
  for (std::size_t i = 0; i < raw.units(); i += RawCharUnits(raw, i)) ++characters;
  shape.glyphs.reserve(characters);
  // Each stored character is one code point of the decoded text; where the
  // decoder merged or split characters, each is decoded on its own instead.
  std::string_view rest(shape.utf8);
  bool oneToOne = true;
  for (std::size_t i = 0; i < raw.units() && oneToOne;) {
    const std::size_t units = RawCharUnits(raw, i);
    oneToOne = !rest.empty();
    if (oneToOne) {
      const std::size_t length = std::min(Utf8Length(rest.front()), rest.size());
      shape.glyphs.push_back(
          {std::string(rest.substr(0, length)), 0, 0, IsHalfWidth(raw, i, units)});
      rest.remove_prefix(length);
    }
    i += units;
  }
  if (!oneToOne || !rest.empty()) {
    shape.glyphs.clear();
    const std::size_t unitBytes = raw.wide ? 2 : 1;
    for (std::size_t i = 0; i < raw.units();) {
      const std::size_t units = RawCharUnits(raw, i);
      shape.glyphs.push_back({jww::DecodedText(jww::JwwString(
                                  raw.bytes.substr(i * unitBytes, units * unitBytes), raw.wide)),
                              0, 0, IsHalfWidth(raw, i, units)});
      i += units;
    }
  }
  double offset = 0;
  for (Glyph& glyph : shape.glyphs) {
    const double part = glyph.halfWidth ? 0.5 : 1.0;
    glyph.offset = offset;
    glyph.width = text.width * part;
    offset += glyph.width + text.spacing * part;
  }
}

double TextAdvance(const TextShape& shape) {
  if (shape.glyphs.empty()) return 0;
  return shape.glyphs.back().offset + shape.glyphs.back().width;
}

std::optional<ImageShape> ImageOfText(const jww::TEntMoji& text, const std::string& utf8) {
  std::string_view rest(utf8);
  if (!rest.starts_with(kImagePrefix)) return std::nullopt;
  rest.remove_prefix(kImagePrefix.size());
  std::vector<std::string_view> fields;
  for (std::size_t comma; (comma = rest.find(',')) != std::string_view::npos;) {
    fields.push_back(rest.substr(0, comma));
    rest.remove_prefix(comma + 1);
  }
  fields.push_back(rest);
  std::string_view name = fields[0];
  if (name.starts_with(kEmbeddedMarker)) name.remove_prefix(kEmbeddedMarker.size());
  const double width = fields.size() > 1 ? Number(fields[1]) : 0;
  const double height = fields.size() > 2 ? Number(fields[2]) : 0;
  const double angle = text.angle * std::numbers::pi / 180;
  const double c = std::cos(angle), s = std::sin(angle);
  const Point o{text.startX, text.startY};
  auto at = [&](double x, double y) { return Point{o.x + c * x - s * y, o.y + s * x + c * y}; };
  ImageShape image;
  image.corners = {at(0, 0), at(width, 0), at(width, height), at(0, height)};
  image.name = std::string(name);
  return image;
}

}  // namespace render
