// The JWW file layout, written once and run in both directions: a loading
// archive reads every field into the record, a saving archive writes it from
// the record. Each archive supplies the same primitives (u8, u16, u32, i32,
// f64, str) and these hooks, where the two directions differ:
//   adjustAttr(attr, rule)  attrs block as it goes to the file
//   adjustString(s)          names and texts as they go to the file
//   adjustReserved(v)        reserved words as they go to the file
//   adjustMaxDrawWidth(v)    max draw width as it goes to the file
//   displayFlag11(header)    display flag 11, split on loading, rebuilt on saving
//   keptF64(keep, v)         a double the file carries but the version ignores
//   signature(s)             the 8 signature bytes, checked on loading
//   adjustVersion(v)         the version as it goes to the file
// On loading the hooks return the field itself; on saving, the value to write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "drawing/jwwunit.h"
#include "drawing/writer_rules.h"

namespace jww::layout {

// The first 8 bytes of every drawing.
inline constexpr char kSignature[] = "JwwData.";
inline constexpr std::size_t kSignatureBytes = sizeof kSignature - 1;

// Group 15 grows with the version: 44 bytes for 220, 104 from 223, 136 from
// 225, 144 from 230. Versions between two thresholds take the lower form.
constexpr int DisplayGroupLevel(std::int32_t v) {
  return v >= 230 ? 4 : v >= 225 ? 3 : v >= 223 ? 2 : 1;
}
// The versions for which Jw_cad states group 15's size: the thresholds
// themselves and every version from 230.
constexpr bool StatesDisplayGroup(std::int32_t v) {
  return v == 220 || v == 223 || v == 225 || v >= 230;
}
constexpr bool HasPenWidth(std::int32_t v) {
  return v > 350;
}
constexpr bool HasLongGroups(std::int32_t v) {
  return v > 230;
}
constexpr bool KeepsSkyMap(std::int32_t v) {
  return v >= 300;
}
constexpr bool HasExtendedTables(std::int32_t v) {
  return v >= 420;
}
constexpr bool HasImages(std::int32_t v) {
  return v >= 700;
}

constexpr int AttrBytes(std::int32_t v) {
  return HasPenWidth(v) ? 15 : 13;
}
// The fewest bytes one object of an entity list can take (a tag and a point).
constexpr std::uint64_t MinEntityBytes(std::int32_t v) {
  return 2 + AttrBytes(v) + 20;
}
// The fewest bytes one block definition can take.
constexpr std::uint64_t MinBlockDefBytes(std::int32_t v) {
  return 2 + AttrBytes(v) + 12 + 1 + 2;
}

template <class Ar, class A>
void Attr(Ar& ar, A& attr, AttrRule rule, std::int32_t v) {
  auto&& a = ar.adjustAttr(attr, rule);
  ar.u32(a.group);
  ar.u8(a.penStyle);
  ar.u16(a.penColour);
  if (HasPenWidth(v)) ar.u16(a.penWidth);
  ar.u16(a.layer);
  ar.u16(a.layerGroup);
  ar.u16(a.flags);
}

// ---- Signature and version ---------------------------------------------------

template <class Ar, class H>
void FileStart(Ar& ar, H& h) {
  ar.setSection("signature");
  ar.signature(h.signature);
  ar.setSection("version");
  ar.i32(ar.adjustVersion(h.version));
}

// ---- Header ----------------------------------------------------------------

template <class Ar, class H>
void LayerGroupsAndLayers(Ar& ar, H& h) {
  for (int g = 0; g < kLayerGroupCount; ++g) {
    auto& group = h.layerGroups[g];
    ar.u32(group.state);
    ar.u32(group.writeLayer);
    ar.f64(group.scale);
    ar.u32(group.protect);
    for (int k = 0; k < 16; ++k) {
      auto& layer = h.layers[g * 16 + k];
      ar.u32(layer.state);
      ar.u32(layer.protect);
    }
  }
}

template <class Ar, class H>
void HeaderGroups1To5(Ar& ar, H& h) {
  ar.setSection("header group 1");
  ar.u32(h.paperSize);
  ar.u32(h.writeLayerGroup);
  ar.setSection("header group 2 (layer groups)");
  LayerGroupsAndLayers(ar, h);
  ar.setSection("header group 3");
  for (auto& w : h.reservedWords) ar.u32(ar.adjustReserved(w));
  ar.setSection("header group 4");
  for (auto& d : h.dimensionSettings) ar.u32(d);
  ar.u32(ar.adjustReserved(h.reservedWord));
  ar.i32(ar.adjustMaxDrawWidth(h.maxDrawWidth));
  if constexpr (Ar::kReading) DeriveWideLine(h);
  ar.setSection("header group 5");
  ar.f64(h.printerOriginX);
  ar.f64(h.printerOriginY);
  ar.f64(h.printerScale);
  ar.u32(h.printerSettings);
  ar.u32(h.scaleMarkMode);
  ar.f64(h.scaleMarkMinSpacing);
  ar.f64(h.scaleMarkXSpacing);
  ar.f64(h.scaleMarkYSpacing);
  ar.f64(h.scaleMarkOriginX);
  ar.f64(h.scaleMarkOriginY);
}

template <class Ar, class H>
void HeaderNames(Ar& ar, H& h) {
  ar.setSection("header group 6 (layer names)");
  for (auto& layer : h.layers) ar.str(ar.adjustString(layer.name));
  ar.setSection("header group 7 (layer group names)");
  for (auto& group : h.layerGroups) ar.str(ar.adjustString(group.name));
}

template <class Ar, class H>
void HeaderGroups8To10(Ar& ar, H& h, std::int32_t v) {
  ar.setSection("header group 8");
  ar.f64(h.shadowLevel);
  ar.f64(h.shadowLatitude);
  ar.u32(h.shadowHoursFlag);
  ar.f64(h.wallShadowLevel);
  if (HasLongGroups(v)) {
    ar.keptF64(KeepsSkyMap(v), h.skyMapLevel);
    ar.keptF64(KeepsSkyMap(v), h.skyMapRadius);
  }
  ar.setSection("header group 9");
  ar.u32(h.unit25D);
  ar.f64(h.viewScale);
  ar.f64(h.viewOriginX);
  ar.f64(h.viewOriginY);
  ar.f64(h.rangeScale);
  ar.f64(h.rangeOriginX);
  ar.f64(h.rangeOriginY);
  ar.setSection("header group 10 (zoom jumps)");
  if (HasLongGroups(v)) {
    for (auto& jump : h.zoomJumps) {
      ar.f64(jump.scale);
      ar.f64(jump.originX);
      ar.f64(jump.originY);
      ar.i32(jump.layerGroup);
    }
    for (auto& reserved : h.reservedZooms) {
      for (auto& value : reserved.values) ar.f64(value);
      ar.u32(reserved.word);
    }
  } else {
    for (int j = 0; j < 4; ++j) {
      auto& jump = h.zoomJumps[j];
      ar.f64(jump.scale);
      ar.f64(jump.originX);
      ar.f64(jump.originY);
    }
  }
}

template <class Ar, class H>
void HeaderGroups11To14(Ar& ar, H& h) {
  ar.setSection("header group 11");
  for (auto& spacing : h.multiLineSpacings) ar.f64(spacing);
  ar.f64(h.bothSideMultiLineGap);
  for (auto& pen : h.pens) {
    ar.u32(pen.screenColour);
    ar.u32(pen.screenWidth);
  }
  ar.setSection("header group 12 (printer pens)");
  for (auto& pen : h.pens) {
    ar.u32(pen.printerColour);
    ar.u32(pen.printerWidth);
    ar.f64(pen.printerPointRadius);
  }
  ar.setSection("header group 13 (line types)");
  for (auto& t : h.lineTypes) {
    ar.u32(t.pattern);
    ar.u32(t.unitDots);
    ar.u32(t.pitch);
    ar.u32(t.printerPitch);
  }
  ar.setSection("header group 14 (random and double lines)");
  for (auto& r : h.randomLines) {
    ar.u32(r.pattern);
    ar.u32(r.amplitude);
    ar.u32(r.pitch);
    ar.u32(r.printerAmplitude);
    ar.u32(r.printerPitch);
  }
  for (auto& d : h.doubleLines) {
    ar.u32(d.pattern);
    ar.u32(d.unitDots);
    ar.u32(d.pitch);
    ar.u32(d.printerPitch);
  }
}

template <class Ar, class H>
void HeaderGroup15(Ar& ar, H& h, std::int32_t v) {
  ar.setSection("header group 15 (display flags)");
  const int level = DisplayGroupLevel(v);
  for (auto& flag : h.displayFlags) ar.u32(flag);
  ar.displayFlag11(h);
  if (level >= 2) {
    ar.u32(h.drawingTime);
    ar.u32(h.eyeSet25D);
    for (auto& angle : h.eyeAngles25D) ar.i32(angle);
    for (auto& value : h.eyeValues25D) ar.f64(value);
  }
  if (level >= 3) {
    ar.f64(h.lastLineLength);
    ar.f64(h.lastBoxWidth);
    ar.f64(h.lastBoxHeight);
    ar.f64(h.lastCircleRadius);
  }
  if (level >= 4) {
    ar.u32(h.solidColourMode);
    ar.u32(h.solidColour);
  }
}

template <class Ar, class H>
void HeaderGroup16(Ar& ar, H& h) {
  ar.setSection("header group 16 (extended colours and line types)");
  for (auto& c : h.extendedColours) {
    ar.u32(c.colour);
    ar.u32(c.width);
  }
  for (auto& c : h.extendedColours) {
    ar.str(ar.adjustString(c.name));
    ar.u32(c.printerColour);
    ar.u32(c.printerWidth);
    ar.f64(c.printerPointRadius);
  }
  for (auto& t : h.extendedLineTypes) {
    ar.u32(t.pattern);
    ar.u32(t.unitDots);
    ar.u32(t.pitch);
    ar.u32(t.printerPitch);
  }
  for (auto& t : h.extendedLineTypes) {
    ar.str(ar.adjustString(t.name));
    ar.u32(t.segmentCount);
    for (auto& segment : t.segments) ar.f64(segment);
  }
}

template <class Ar, class H>
void HeaderGroups17To18(Ar& ar, H& h) {
  ar.setSection("header group 17 (text types)");
  for (auto& t : h.textTypes) {
    ar.f64(t.width);
    ar.f64(t.height);
    ar.f64(t.spacing);
    ar.u32(t.colour);
  }
  ar.setSection("header group 18");
  ar.f64(h.currentTextWidth);
  ar.f64(h.currentTextHeight);
  ar.f64(h.currentTextSpacing);
  ar.u32(h.currentTextColour);
  ar.u32(h.currentTextType);
  ar.f64(h.textArrangeLineSpacing);
  ar.f64(h.textArrangeCount);
  ar.u32(h.textAnchorShiftOn);
  for (auto& x : h.textAnchorShiftX) ar.f64(x);
  for (auto& y : h.textAnchorShiftY) ar.f64(y);
}

// The memo and the header groups whose size never depends on stored values
// other than the version.
template <class Ar, class H>
void HeaderThroughGroup14(Ar& ar, H& h, std::int32_t v) {
  ar.setSection("memo");
  ar.str(h.memo);
  HeaderGroups1To5(ar, h);
  HeaderNames(ar, h);
  HeaderGroups8To10(ar, h, v);
  HeaderGroups11To14(ar, h);
}

// Everything after the signature and version, up to the entity list.
template <class Ar, class H>
void HeaderAfterVersion(Ar& ar, H& h, std::int32_t v) {
  HeaderThroughGroup14(ar, h, v);
  HeaderGroup15(ar, h, v);
  if (HasExtendedTables(v)) HeaderGroup16(ar, h);
  HeaderGroups17To18(ar, h);
}

// ---- Entity bodies (after the class tag) -------------------------------------

template <class Ar, class E>
void LineBody(Ar& ar, E& e, AttrRule rule, std::int32_t v) {
  Attr(ar, e.attr, rule, v);
  ar.f64(e.startX);
  ar.f64(e.startY);
  ar.f64(e.endX);
  ar.f64(e.endY);
}

template <class Ar, class E>
void ArcBody(Ar& ar, E& e, std::int32_t v) {
  Attr(ar, e.attr, AttrRule::kArc, v);
  ar.f64(e.centreX);
  ar.f64(e.centreY);
  ar.f64(e.radius);
  ar.f64(e.startAngle);
  ar.f64(e.arcAngle);
  ar.f64(e.tiltAngle);
  ar.f64(e.flatness);
  ar.u32(e.fullCircle);
}

template <class Ar, class E>
void PointBody(Ar& ar, E& e, std::int32_t v) {
  Attr(ar, e.attr, AttrRule::kPoint, v);
  ar.f64(e.x);
  ar.f64(e.y);
  ar.u32(e.temporary);
  if (e.attr.penStyle == kExtendedPointStyle) {
    ar.u32(e.code);
    ar.f64(e.rotation);
    ar.f64(e.scale);
  }
}

template <class Ar, class E>
void TextBody(Ar& ar, E& e, std::int32_t v) {
  Attr(ar, e.attr, AttrRule::kText, v);
  ar.f64(e.startX);
  ar.f64(e.startY);
  ar.f64(e.endX);
  ar.f64(e.endY);
  ar.u32(e.textType);
  ar.f64(e.width);
  ar.f64(e.height);
  ar.f64(e.spacing);
  ar.f64(e.angle);
  ar.str(ar.adjustString(e.fontName));
  ar.str(ar.adjustString(e.text));
}

template <class Ar, class E>
void DimensionBody(Ar& ar, E& e, std::int32_t v) {
  Attr(ar, e.attr, AttrRule::kDimension, v);
  LineBody(ar, e.line, AttrRule::kLine, v);
  TextBody(ar, e.valueText, v);
  if (HasExtendedTables(v)) {
    ar.u16(e.extensionMode);
    LineBody(ar, e.auxLine1, AttrRule::kLine, v);
    LineBody(ar, e.auxLine2, AttrRule::kLine, v);
    PointBody(ar, e.point1, v);
    PointBody(ar, e.point2, v);
    PointBody(ar, e.auxPoint1, v);
    PointBody(ar, e.auxPoint2, v);
  } else if constexpr (Ar::kReading) {
    // Older files carry no extension: its records take the dimension's attrs.
    e.auxLine1.attr = e.auxLine2.attr = e.attr;
    e.point1.attr = e.point2.attr = e.auxPoint1.attr = e.auxPoint2.attr = e.attr;
  }
}

template <class Ar, class E>
void SolidBody(Ar& ar, E& e, std::int32_t v) {
  Attr(ar, e.attr, AttrRule::kSolid, v);
  ar.f64(e.startX);
  ar.f64(e.startY);
  ar.f64(e.endX);
  ar.f64(e.endY);
  ar.f64(e.point2X);
  ar.f64(e.point2Y);
  ar.f64(e.point3X);
  ar.f64(e.point3Y);
  if (e.attr.penColour == kSolidRgbColour) ar.u32(e.rgbColour);
}

template <class Ar, class E>
void BlockInsertBody(Ar& ar, E& e, std::int32_t v) {
  Attr(ar, e.attr, AttrRule::kBlockInsert, v);
  ar.f64(e.originX);
  ar.f64(e.originY);
  ar.f64(e.scaleX);
  ar.f64(e.scaleY);
  ar.f64(e.rotation);
  ar.u32(e.definitionNumber);
}

// Calls `f` with the table of entity `kind` in `tables` (either constness);
// false when `kind` is no entity kind.
template <class T, class F>
bool WithTable(T& tables, std::int32_t kind, F&& f) {
  switch (kind) {
    case kLine:
      f(tables.lines);
      return true;
    case kArc:
      f(tables.arcs);
      return true;
    case kPoint:
      f(tables.points);
      return true;
    case kText:
      f(tables.texts);
      return true;
    case kDimension:
      f(tables.dimensions);
      return true;
    case kSolid:
      f(tables.solids);
      return true;
    case kBlockInsert:
      f(tables.blockInserts);
      return true;
    default:
      return false;
  }
}

// The body of one entity record, by the record's type.
template <class Ar, class E>
void RecordBody(Ar& ar, E& e, std::int32_t v) {
  using R = std::remove_const_t<E>;
  if constexpr (std::is_same_v<R, TEntSen>) {
    LineBody(ar, e, AttrRule::kLine, v);
  } else if constexpr (std::is_same_v<R, TEntEnko>) {
    ArcBody(ar, e, v);
  } else if constexpr (std::is_same_v<R, TEntTen>) {
    PointBody(ar, e, v);
  } else if constexpr (std::is_same_v<R, TEntMoji>) {
    TextBody(ar, e, v);
  } else if constexpr (std::is_same_v<R, TEntSunpo>) {
    DimensionBody(ar, e, v);
  } else if constexpr (std::is_same_v<R, TEntSolid>) {
    SolidBody(ar, e, v);
  } else {
    static_assert(std::is_same_v<R, TEntBlock>);
    BlockInsertBody(ar, e, v);
  }
}

// Runs the body of the entity at `ref` in `tables` (either constness).
template <class Ar, class T>
void EntityBody(Ar& ar, T& tables, TEntRef ref, std::int32_t v) {
  WithTable(tables, ref.kind,
            [&](auto& table) { RecordBody(ar, table.at(static_cast<std::size_t>(ref.index)), v); });
}

// A block definition's fields between its tag and its entity count.
template <class Ar, class D>
void BlockDefinitionHead(Ar& ar, D& d, std::int32_t v) {
  Attr(ar, d.attr, AttrRule::kBlockDefinition, v);
  ar.u32(d.number);
  ar.u32(d.referenced);
  ar.u32(d.time);
  if (d.time >= kExtendedTimeFlag) {
    for (auto& b : d.extendedTime) ar.u8(b);
  }
  ar.str(ar.adjustString(d.name));
}

inline const char* ClassName(std::int32_t kind) {
  switch (kind) {
    case kLine:
      return "CDataSen";
    case kArc:
      return "CDataEnko";
    case kPoint:
      return "CDataTen";
    case kText:
      return "CDataMoji";
    case kDimension:
      return "CDataSunpou";
    case kSolid:
      return "CDataSolid";
    case kBlockInsert:
      return "CDataBlock";
    default:
      return nullptr;
  }
}
inline constexpr const char* kBlockDefinitionClass = "CDataList";

}  // namespace jww::layout
