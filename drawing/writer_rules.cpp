#include "drawing/writer_rules.h"

#include "common/func.h"

namespace jww {

namespace {

std::uint8_t OldPenStyle(std::uint8_t s) {
  switch (s) {
    case 31:
      return 1;
    case 32:
      return 4;
    case 33:
      return 3;
    case 34:
      return 6;
    case 35:
      return 8;
    case 36:
      return 8;
    case 37:
      return 2;
    case 38:
      return 5;
    case 39:
      return 7;
    case 40:
      return 6;
    case 41:
      return 6;
    case 42:
      return 8;
    case 43:
      return 8;
    case 44:
      return 17;
    case 45:
      return 17;
    default:
      return (s >= 46 && s <= 62) ? 1 : s;
  }
}

std::uint16_t OldPenColour(std::uint16_t c) {
  static constexpr std::uint16_t kMap[] = {2, 8, 3, 6, 4, 5, 1, 2, 5, 8, 4, 3, 6, 5, 2, 2};
  if (c >= 101 && c <= 116) return kMap[c - 101];
  if (c >= 117 && c <= 356) return 2;
  return c;
}

bool In(int v, int lo, int hi) {
  return v >= lo && v <= hi;
}

}  // namespace

TEntAttr AttrForWrite(const TEntAttr& attr, AttrRule rule, std::int32_t version) {
  TEntAttr a = attr;
  const int r = static_cast<int>(rule);
  if (version < 420) {
    if (r == 1 || r == 2) a.penStyle = OldPenStyle(a.penStyle);
    if (r >= 1 && r <= 6) a.penColour = OldPenColour(a.penColour);
  }
  const int s = a.penStyle;
  if (r == 1 || r == 2) {
    if (!(In(s, 1, 9) || In(s, 11, 19) || In(s, 31, 62))) a.penStyle = 1;
  } else if (r == 3) {
    if (!(s == 1 || s == kExtendedPointStyle)) a.penStyle = 1;
  } else if (r == 4) {
    if (!In(s, 1, 9)) a.penStyle = 1;
  }
  const int c = a.penColour;
  if (r >= 1 && r <= 5) {
    if (!(In(c, 1, 9) || In(c, 101, 356))) a.penColour = 2;
  } else if (r == 6) {
    if (!(In(c, 1, 10) || In(c, 101, 356))) a.penColour = 2;
  }
  if (a.layer > 15) a.layer = 0;
  if (a.layerGroup > 15) a.layerGroup = 0;
  if (a.penWidth > 30000) a.penWidth = 0;
  return a;
}

JwwString FilterForWrite(const JwwString& s) {
  if (!s.wide) return JwwString(func::DisplayFilterRemovingMarkers(s.bytes), false);
  return JwwString::fromUtf16(func::DisplayFilterRemovingMarkers(s.toUtf16Units()));
}

bool NeedsFilterForWrite(const JwwString& s) {
  const std::size_t n = s.units();
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint16_t u = s.unit(i);
    if (u < 0x20) return true;
    if (u == '^' && i + 1 < n && s.unit(i + 1) == 'm') return true;
  }
  return false;
}

std::int32_t MaxDrawWidthForWrite(std::int32_t stored, std::int32_t version) {
  if (version <= 420 && stored < -101) return -101;
  return stored;
}

std::uint32_t DisplayFlag11ForWrite(const THeader& h, std::int32_t version) {
  std::int64_t value = h.flag11Units;
  if (version >= 600) {
    // A negative flag splits into a negative units digit, which with the ten
    // added would read back as another value on every conversion: it is
    // written as 0, so that the written flag gives itself back.
    if (value < 0) value = 0;
    value += h.flag11Tens > 0 ? 10 * static_cast<std::int64_t>(h.flag11Tens) : 10;
  }
  return static_cast<std::uint32_t>(value);
}

}  // namespace jww
