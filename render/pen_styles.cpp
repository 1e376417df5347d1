#include "render/pen_styles.h"

#include <array>

#include "render/line_types.h"

namespace render {

namespace {

// Jw_cad's line colours 1..9 on a white background (index 0 unused).
constexpr std::array<Rgb, 10> kWhiteBackgroundPens{{
    {0xFF, 0xFF, 0xFF},
    {0x00, 0xC0, 0xC0},
    {0x00, 0x00, 0x00},
    {0x00, 0xC0, 0x00},
    {0xC0, 0xC0, 0x00},
    {0xC0, 0x00, 0xC0},
    {0x00, 0x00, 0xFF},
    {0x00, 0x80, 0x80},
    {0xFF, 0x00, 0x80},
    {0xC0, 0xC0, 0xC0},
}};
constexpr std::uint16_t kFirstExtendedColour = 100;
// The printer's pen widths count dots of about a twentieth of a millimetre;
// the extended colours' widths are hundredths of a millimetre.
constexpr double kPenWidthDotMm = 0.05;
constexpr double kExtendedWidthUnitMm = 0.01;

bool LightBackground(const jww::THeader& header) {
  if (header.pens.empty()) return false;
  const Rgb bg = RgbOfColourRef(header.pens[0].screenColour);
  return bg.r + bg.g + bg.b >= 3 * 0xC0;
}

enum : std::uint64_t { kFillKeyFlag = std::uint64_t{1} << 40 };

std::uint64_t KeyOf(const jww::TEntAttr& attr, Stroke stroke) {
  return (std::uint64_t{static_cast<std::uint8_t>(stroke)} << 32) |
         (std::uint64_t{attr.penColour} << 16) | (std::uint64_t{attr.penStyle} << 8);
}

}  // namespace

Rgb RgbOfColourRef(std::uint32_t colourRef) {
  return {static_cast<std::uint8_t>(colourRef & 0xFF),
          static_cast<std::uint8_t>((colourRef >> 8) & 0xFF),
          static_cast<std::uint8_t>((colourRef >> 16) & 0xFF)};
}

Rgb PenColour(const jww::THeader& header, std::uint16_t penColour) {
  if (penColour >= kFirstExtendedColour) {
    const std::size_t at = penColour - kFirstExtendedColour;
    if (at < header.extendedColours.size())
      return RgbOfColourRef(header.extendedColours[at].colour);
    return kWhiteBackgroundPens[2];
  }
  if (penColour < 1 || penColour >= kWhiteBackgroundPens.size()) return kWhiteBackgroundPens[2];
  if (penColour < header.pens.size() && LightBackground(header)) {
    return RgbOfColourRef(header.pens[penColour].screenColour);
  }
  return kWhiteBackgroundPens[penColour];
}

std::uint32_t StyleTable::Of(const jww::TEntAttr& attr, Stroke stroke) {
  return Find(KeyOf(attr, stroke), &StyleTable::Make);
}

std::uint32_t StyleTable::Fill(Rgb colour) {
  const std::uint64_t key =
      kFillKeyFlag | (std::uint64_t{colour.r} << 16) | (std::uint64_t{colour.g} << 8) | colour.b;
  return Find(key, &StyleTable::MakeFill);
}

std::uint32_t StyleTable::Find(std::uint64_t key, Style (StyleTable::*make)(std::uint64_t) const) {
  if (key == lastKey_) return lastIndex_;
  auto [at, added] = byKey_.try_emplace(key, static_cast<std::uint32_t>(styles_.size()));
  if (added) styles_.push_back((this->*make)(key));
  lastKey_ = key;
  lastIndex_ = at->second;
  return lastIndex_;
}

Style StyleTable::Make(std::uint64_t key) const {
  const auto stroke = static_cast<Stroke>((key >> 32) & 0xFF);
  const auto penColour = static_cast<std::uint16_t>((key >> 16) & 0xFFFF);
  const auto penStyle = static_cast<std::uint8_t>((key >> 8) & 0xFF);
  Style style;
  style.colour = PenColour(header_, penColour);
  if (penColour >= kFirstExtendedColour) {
    const std::size_t at = penColour - kFirstExtendedColour;
    if (at < header_.extendedColours.size()) {
      const jww::TColorExNo& colour = header_.extendedColours[at];
      const std::uint32_t width = colour.printerWidth > 0 ? colour.printerWidth : colour.width;
      style.widthMm = width * kExtendedWidthUnitMm;
    }
  } else if (penColour < header_.pens.size()) {
    const jww::TPen& pen = header_.pens[penColour];
    style.widthMm =
        stroke == Stroke::kPoint ? 2 * pen.printerPointRadius : pen.printerWidth * kPenWidthDotMm;
  }
  if (stroke == Stroke::kLine) style.dashes = DashesOfPenStyle(header_, penStyle);
  if (stroke == Stroke::kText || stroke == Stroke::kFill) style.widthMm = 0;
  return style;
}

Style StyleTable::MakeFill(std::uint64_t key) const {
  Style style;
  style.colour = {static_cast<std::uint8_t>((key >> 16) & 0xFF),
                  static_cast<std::uint8_t>((key >> 8) & 0xFF),
                  static_cast<std::uint8_t>(key & 0xFF)};
  return style;
}

}  // namespace render
