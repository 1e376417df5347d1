#include "render/line_types.h"

#include <algorithm>

namespace render {

namespace {

// One printer pitch step is a tenth of a millimetre on the paper.
constexpr double kPitchMm = 0.1;
// Pen styles 2..9 use the line type table; the extended line types follow
// at 30 + their index.
constexpr int kFirstTableStyle = 2;
constexpr int kFirstExtendedStyle = 30;
// Pen styles 11..15 are the random (wavy) lines, drawn solid here; 16..19
// the double-length line types.
constexpr int kFirstDoubleStyle = 16;

std::vector<double> DashesOf(const jww::TLineType& type) {
  const double pitch = type.printerPitch > 0 ? type.printerPitch : 10;
  return DashesOfPattern(type.pattern, type.unitDots, pitch * kPitchMm);
}

}  // namespace

std::vector<double> DashesOfPattern(std::uint32_t pattern, std::uint32_t unitBits, double bitMm) {
  unitBits = std::clamp<std::uint32_t>(unitBits, 1, 32);
  std::vector<bool> bits(unitBits);
  for (std::uint32_t i = 0; i < unitBits; ++i) bits[i] = (pattern >> (31 - i)) & 1u;
  const auto firstOff = std::find(bits.begin(), bits.end(), false);
  if (firstOff == bits.end() || std::find(bits.begin(), bits.end(), true) == bits.end()) return {};
  // Start at the first dash that follows a gap, so the runs wrap cleanly.
  std::size_t start = 0;
  for (std::size_t i = 0; i < bits.size(); ++i) {
    if (bits[i] && !bits[(i + bits.size() - 1) % bits.size()]) {
      start = i;
      break;
    }
  }
  std::vector<double> dashes;
  bool on = true;
  std::size_t run = 0;
  for (std::size_t k = 0; k < bits.size(); ++k) {
    const bool bit = bits[(start + k) % bits.size()];
    if (bit != on) {
      dashes.push_back(run * bitMm);
      on = bit;
      run = 0;
    }
    ++run;
  }
  dashes.push_back(run * bitMm);
  return dashes;
}

std::vector<double> DashesOfPenStyle(const jww::THeader& header, std::uint8_t penStyle) {
  if (penStyle >= kFirstTableStyle && penStyle < kFirstTableStyle + jww::kLineTypeCount) {
    const std::size_t at = penStyle - kFirstTableStyle;
    if (at >= header.lineTypes.size()) return {};
    return DashesOf(header.lineTypes[at]);
  }
  if (penStyle >= kFirstDoubleStyle && penStyle < kFirstDoubleStyle + jww::kDoubleLineCount) {
    const std::size_t at = penStyle - kFirstDoubleStyle;
    return at < header.doubleLines.size() ? DashesOf(header.doubleLines[at])
                                          : std::vector<double>{};
  }
  if (penStyle > kFirstExtendedStyle &&
      penStyle - kFirstExtendedStyle < jww::kExtendedLineTypeCount) {
    const std::size_t at = penStyle - kFirstExtendedStyle;
    if (at >= header.extendedLineTypes.size()) return {};
    const jww::TLineTypeExNo& type = header.extendedLineTypes[at];
    std::vector<double> dashes;
    const std::size_t count = std::min<std::size_t>(type.segmentCount, type.segments.size());
    for (std::size_t i = 0; i < count; ++i) dashes.push_back(std::max(type.segments[i], 0.0));
    if (dashes.size() % 2 == 1) dashes.push_back(dashes.back());
    bool anyGap = false;
    for (std::size_t i = 1; i < dashes.size(); i += 2) anyGap = anyGap || dashes[i] > 0;
    return anyGap ? dashes : std::vector<double>{};
  }
  return {};
}

}  // namespace render
