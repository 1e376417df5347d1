#include "render/text_layout.h"

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

// The stored characters: their half-width flags and each one's raw extent.
struct RawChar {
  std::size_t first = 0, count = 0;  // bytes or UTF-16 units
  bool half = false;
};

std::vector<RawChar> RawChars(const jww::JwwString& s) {
  std::vector<RawChar> chars;
  chars.reserve(s.units());
  const std::size_t n = s.units();
  for (std::size_t i = 0; i < n;) {
    const std::uint16_t u = s.unit(i);
    std::size_t count = 1;
    if (!s.wide && IsCp932LeadByte(static_cast<unsigned char>(u)) && i + 1 < n) count = 2;
    if (s.wide && u >= 0xD800 && u <= 0xDBFF && i + 1 < n) count = 2;
    const bool half = s.wide ? count == 1 && IsHalfWidthUnit(u) : count == 1;
    chars.push_back({i, count, half});
    i += count;
  }
  return chars;
}

// The UTF-8 sequences of `utf8`, one per code point.
std::vector<std::string_view> CodePoints(std::string_view utf8) {
  std::vector<std::string_view> points;
  points.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    std::size_t len = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    if (i + len > utf8.size()) len = utf8.size() - i;
    points.push_back(utf8.substr(i, len));
    i += len;
  }
  return points;
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
  shape.fontName = jww::DecodedText(text.fontName);
  const std::vector<RawChar> raw = RawChars(text.text);
  const std::vector<std::string_view> points = CodePoints(shape.utf8);
  shape.glyphs.clear();
  shape.glyphs.reserve(raw.size());
  double offset = 0;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    Glyph glyph;
    if (points.size() == raw.size()) {
      glyph.utf8 = points[i];
    } else {  // a decoder that merged or split characters: decode each alone
      const std::size_t unitBytes = text.text.wide ? 2 : 1;
      glyph.utf8 = jww::DecodedText(
          jww::JwwString(text.text.bytes.substr(raw[i].first * unitBytes, raw[i].count * unitBytes),
                         text.text.wide));
    }
    const double part = raw[i].half ? 0.5 : 1.0;
    glyph.halfWidth = raw[i].half;
    glyph.offset = offset;
    glyph.width = text.width * part;
    offset += glyph.width + text.spacing * part;
    shape.glyphs.push_back(std::move(glyph));
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
