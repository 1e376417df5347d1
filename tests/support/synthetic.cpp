#include "tests/support/synthetic.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "drawing/jww_loader.h"
#include "drawing/jww_writer.h"
#include "platform/file_io.h"

namespace synthetic {

using namespace jww;

namespace {

// The version thresholds of the file layout, stated here on their own so
// that the builder does not lean on the code it is used to test.
bool StoresPenWidth(std::int32_t v) {
  return v > 350;
}
bool StoresLongGroups(std::int32_t v) {
  return v > 230;
}
bool KeepsSkyMap(std::int32_t v) {
  return v >= 300;
}
bool StoresExtensions(std::int32_t v) {
  return v >= 420;
}
int DisplayLevel(std::int32_t v) {
  return v >= 230 ? 4 : v >= 225 ? 3 : v >= 223 ? 2 : 1;
}

// Distinct values for consecutive fields, so that a field taken from or put
// into the wrong place shows. Multiplying by an odd constant is one-to-one.
class Values {
 public:
  explicit Values(unsigned seed) : k_(seed * 7919u + 1u) {}
  std::uint32_t u32() { return 0x9E3779B1u * Next(); }
  std::int32_t i32() { return static_cast<std::int32_t>(0x85EBCA77u * Next()); }
  std::uint16_t u16() { return static_cast<std::uint16_t>(0xC2B3u * Next()); }
  double f64() { return Next() * 0.3711 - 250.0; }
  std::uint32_t Below(std::uint32_t n) { return Next() % n; }
  template <class T>
  T Pick(const std::vector<T>& from) {
    return from[Next() % from.size()];
  }

 private:
  std::uint32_t Next() { return k_++; }
  std::uint32_t k_;
};

std::vector<std::uint8_t> Range(int lo, int hi) {
  std::vector<std::uint8_t> out;
  for (int i = lo; i <= hi; ++i) out.push_back(static_cast<std::uint8_t>(i));
  return out;
}

// Pen styles a line or arc keeps when written for `version`.
std::uint8_t LineStyle(Values& values, std::int32_t version) {
  std::vector<std::uint8_t> styles = Range(1, 9);
  for (std::uint8_t s : Range(11, 19)) styles.push_back(s);
  if (StoresExtensions(version)) {
    for (std::uint8_t s : Range(31, 62)) styles.push_back(s);
  }
  return values.Pick(styles);
}

// Pen colours kept by rules 1 to 6 for `version`.
std::uint16_t PenColour(Values& values, std::int32_t version) {
  if (StoresExtensions(version) && values.Below(2) == 0) {
    return static_cast<std::uint16_t>(101 + values.Below(256));
  }
  return static_cast<std::uint16_t>(1 + values.Below(9));
}

TEntAttr MakeAttr(Values& values, std::int32_t version, std::uint8_t style, std::uint16_t colour) {
  TEntAttr a;
  a.group = values.u32();
  a.penStyle = style;
  a.penColour = colour;
  a.penWidth = StoresPenWidth(version) ? static_cast<std::uint16_t>(values.Below(30001)) : 0;
  a.layer = static_cast<std::uint16_t>(values.Below(16));
  a.layerGroup = static_cast<std::uint16_t>(values.Below(16));
  a.flags = values.u16();
  return a;
}

TEntSen LineWith(Values& values, std::int32_t version) {
  TEntSen e;
  e.attr = MakeAttr(values, version, LineStyle(values, version), PenColour(values, version));
  e.startX = values.f64();
  e.startY = values.f64();
  e.endX = values.f64();
  e.endY = values.f64();
  return e;
}

TEntTen PointWith(Values& values, std::int32_t version, bool extended) {
  TEntTen e;
  e.attr =
      MakeAttr(values, version, extended ? kExtendedPointStyle : 1, PenColour(values, version));
  e.x = values.f64();
  e.y = values.f64();
  e.temporary = values.Below(2);
  if (extended) {
    e.code = values.u32();
    e.rotation = values.f64();
    e.scale = values.f64();
  }
  return e;
}

TEntMoji TextWith(Values& values, std::int32_t version, const JwwString& text) {
  TEntMoji e;
  e.attr = MakeAttr(values, version, static_cast<std::uint8_t>(1 + values.Below(9)),
                    PenColour(values, version));
  e.startX = values.f64();
  e.startY = values.f64();
  e.endX = values.f64();
  e.endY = values.f64();
  e.textType = values.Pick(std::vector<std::uint32_t>{0, 1, 5, 10, 20003, 10000});
  e.width = values.f64();
  e.height = values.f64();
  e.spacing = values.f64();
  e.angle = values.f64();
  e.fontName = WideStrings(version) ? JwwString::fromUtf16(u"ＭＳ ゴシック")
                                    : JwwString::narrow(
                                          "\x82\x6c\x82\x72\x20\x83\x53\x83\x56"
                                          "\x83\x62\x83\x4e");
  e.text = text;
  return e;
}

void FillHeaderTables(THeader& h, std::int32_t version, Values& values) {
  const bool wide = WideStrings(version);
  for (std::size_t i = 0; i < h.layers.size(); ++i) {
    TLayer& layer = h.layers[i];
    layer.state = values.u32();
    layer.protect = values.u32();
    // Some names empty, one long enough for the 0xFF + WORD length form.
    const std::size_t length = i == 255 ? 300 : (i % 5 == 0 ? 0 : 1 + i % 23);
    layer.name = MakeString(length, wide, static_cast<unsigned>(i));
  }
  for (std::size_t g = 0; g < h.layerGroups.size(); ++g) {
    TLayerGroup& group = h.layerGroups[g];
    group.state = values.u32();
    group.writeLayer = values.u32();
    group.scale = values.f64();
    group.protect = values.u32();
    group.name = MakeString(g % 4 == 0 ? 0 : 3 + g, wide, 1000 + static_cast<unsigned>(g));
  }
  for (TPen& pen : h.pens) {
    pen.screenColour = values.u32();
    pen.screenWidth = values.u32();
    pen.printerColour = values.u32();
    pen.printerWidth = values.u32();
    pen.printerPointRadius = values.f64();
  }
  for (TLineType& t : h.lineTypes) {
    t.pattern = values.u32();
    t.unitDots = values.u32();
    t.pitch = values.u32();
    t.printerPitch = values.u32();
  }
  for (TRandomLineType& r : h.randomLines) {
    r.pattern = values.u32();
    r.amplitude = values.u32();
    r.pitch = values.u32();
    r.printerAmplitude = values.u32();
    r.printerPitch = values.u32();
  }
  for (TLineType& t : h.doubleLines) {
    t.pattern = values.u32();
    t.unitDots = values.u32();
    t.pitch = values.u32();
    t.printerPitch = values.u32();
  }
  if (StoresExtensions(version)) {
    for (std::size_t c = 0; c < h.extendedColours.size(); ++c) {
      TColorExNo& e = h.extendedColours[c];
      e.colour = values.u32();
      e.width = values.u32();
      e.name = MakeString(c % 3 == 0 ? 0 : c % 17, wide, 2000 + static_cast<unsigned>(c));
      e.printerColour = values.u32();
      e.printerWidth = values.u32();
      e.printerPointRadius = values.f64();
    }
    for (std::size_t t = 0; t < h.extendedLineTypes.size(); ++t) {
      TLineTypeExNo& e = h.extendedLineTypes[t];
      e.pattern = values.u32();
      e.unitDots = values.u32();
      e.pitch = values.u32();
      e.printerPitch = values.u32();
      e.name = MakeString(t % 2 == 0 ? 0 : 2 + t, wide, 3000 + static_cast<unsigned>(t));
      e.segmentCount = values.Below(11);
      for (double& s : e.segments) s = values.f64();
    }
  }
  for (TTextType& t : h.textTypes) {
    t.width = values.f64();
    t.height = values.f64();
    t.spacing = values.f64();
    t.colour = values.u32();
  }
}

void FillHeaderFields(THeader& h, std::int32_t version, Values& values) {
  h.signature = "JwwData.";
  h.version = version;
  h.memo = MakeString(40, WideStrings(version), 77);
  h.paperSize = values.u32();
  h.writeLayerGroup = values.u32();
  // Reserved words stay 0: the writer writes them as 0.
  for (auto& d : h.dimensionSettings) d = values.u32();
  // Up to 420 the writer clamps max draw width at -101; keep above it there.
  if (version > 420) {
    h.maxDrawWidth = -450;
    h.wideLineMode = true;
    h.wideLineLevel = -50;
  } else {
    h.maxDrawWidth = 12;
    h.wideLineMode = false;
    h.wideLineLevel = 12;
  }
  h.printerOriginX = values.f64();
  h.printerOriginY = values.f64();
  h.printerScale = values.f64();
  h.printerSettings = values.u32();
  h.scaleMarkMode = values.u32();
  h.scaleMarkMinSpacing = values.f64();
  h.scaleMarkXSpacing = values.f64();
  h.scaleMarkYSpacing = values.f64();
  h.scaleMarkOriginX = values.f64();
  h.scaleMarkOriginY = values.f64();
  h.shadowLevel = values.f64();
  h.shadowLatitude = values.f64();
  h.shadowHoursFlag = values.u32();
  h.wallShadowLevel = values.f64();
  if (KeepsSkyMap(version)) {
    h.skyMapLevel = values.f64();
    h.skyMapRadius = values.f64();
  }
  h.unit25D = values.u32();
  h.viewScale = values.f64();
  h.viewOriginX = values.f64();
  h.viewOriginY = values.f64();
  h.rangeScale = values.f64();
  h.rangeOriginX = values.f64();
  h.rangeOriginY = values.f64();
  const std::size_t jumps = StoresLongGroups(version) ? 8 : 4;
  for (std::size_t j = 0; j < jumps; ++j) {
    TZoomJump& jump = h.zoomJumps[j];
    jump.scale = values.f64();
    jump.originX = values.f64();
    jump.originY = values.f64();
    if (StoresLongGroups(version)) jump.layerGroup = values.i32();
  }
  if (StoresLongGroups(version)) {
    for (TReservedZoom& r : h.reservedZooms) {
      for (double& x : r.values) x = values.f64();
      r.word = values.u32();
    }
  }
  for (double& s : h.multiLineSpacings) s = values.f64();
  h.bothSideMultiLineGap = values.f64();
  for (auto& f : h.displayFlags) f = values.u32();
  // From 600 the writer adds 10 x tens (10 when tens is not above 0).
  h.flag11Tens = version >= 600 ? static_cast<std::int32_t>(1 + values.Below(9)) : 0;
  h.flag11Units = static_cast<std::int32_t>(values.Below(10));
  const int level = DisplayLevel(version);
  if (level >= 2) {
    h.drawingTime = values.u32();
    h.eyeSet25D = values.u32();
    for (auto& a : h.eyeAngles25D) a = values.i32();
    for (auto& e : h.eyeValues25D) e = values.f64();
  }
  if (level >= 3) {
    h.lastLineLength = values.f64();
    h.lastBoxWidth = values.f64();
    h.lastBoxHeight = values.f64();
    h.lastCircleRadius = values.f64();
  }
  if (level >= 4) {
    h.solidColourMode = values.u32();
    h.solidColour = values.u32();
  }
  h.currentTextWidth = values.f64();
  h.currentTextHeight = values.f64();
  h.currentTextSpacing = values.f64();
  h.currentTextColour = values.u32();
  h.currentTextType = values.u32();
  h.textArrangeLineSpacing = values.f64();
  h.textArrangeCount = values.f64();
  h.textAnchorShiftOn = values.u32();
  for (double& x : h.textAnchorShiftX) x = values.f64();
  for (double& y : h.textAnchorShiftY) y = values.f64();
}

template <class Rec>
void Append(std::vector<Rec>& table, EntityTables& tables, std::int32_t kind, const Rec& e) {
  table.push_back(e);
  tables.order.push_back(TEntRef{kind, static_cast<std::int32_t>(table.size() - 1)});
}

std::uint64_t StringBytes(const JwwString& s) {
  const std::size_t n = s.units();
  const std::uint64_t prefix = n < 255 ? 1 : n < 0xFFFE ? 3 : 7;
  return (s.wide ? 3 : 0) + prefix + s.bytes.size();
}

}  // namespace

JwwString MakeString(std::size_t units, bool wide, unsigned seed) {
  if (wide) {
    static constexpr char16_t kUnits[] = u"AbcXyz019 -_.あ漢字ｶナ表（）";
    constexpr std::size_t kCount = sizeof kUnits / sizeof kUnits[0] - 1;
    std::u16string s;
    s.reserve(units);
    for (std::size_t i = 0; i < units; ++i) s.push_back(kUnits[(i * 7 + seed) % kCount]);
    return JwwString::fromUtf16(s);
  }
  // Shift-JIS: ASCII and half-width katakana, with a double-byte character
  // ("表" 0x95 0x5C, whose second byte is a backslash) wherever two bytes are left.
  static constexpr char kSingle[] = "AbcXyz019 -_.\xB6\xC5";
  constexpr std::size_t kCount = sizeof kSingle - 1;
  std::string s;
  s.reserve(units);
  std::size_t i = 0;
  while (s.size() < units) {
    if ((i + seed) % 5 == 4 && units - s.size() >= 2) {
      s += "\x95\x5C";
    } else {
      s.push_back(kSingle[(i * 7 + seed) % kCount]);
    }
    ++i;
  }
  return JwwString::narrow(s);
}

JwwString Text(std::int32_t version, std::string_view ascii) {
  if (!WideStrings(version)) return JwwString::narrow(ascii);
  return JwwString::fromUtf16(std::u16string(ascii.begin(), ascii.end()));
}

TEntSen MakeLine(std::int32_t version, unsigned seed) {
  Values values(seed);
  return LineWith(values, version);
}

TEntEnko MakeArc(std::int32_t version, unsigned seed) {
  Values values(seed);
  TEntEnko e;
  e.attr = MakeAttr(values, version, LineStyle(values, version), PenColour(values, version));
  e.centreX = values.f64();
  e.centreY = values.f64();
  e.radius = values.f64();
  e.startAngle = values.f64();
  e.arcAngle = values.f64();
  e.tiltAngle = values.f64();
  e.flatness = values.f64();
  e.fullCircle = values.Below(2);
  return e;
}

TEntTen MakePoint(std::int32_t version, unsigned seed, bool extended) {
  Values values(seed);
  return PointWith(values, version, extended);
}

TEntMoji MakeText(std::int32_t version, unsigned seed, const JwwString& text) {
  Values values(seed);
  return TextWith(values, version, text);
}

TEntSunpo MakeDimension(std::int32_t version, unsigned seed) {
  Values values(seed);
  TEntSunpo e;
  // Pen style is not checked for dimensions; pen colour is.
  e.attr = MakeAttr(values, version, static_cast<std::uint8_t>(values.u32()),
                    PenColour(values, version));
  e.line = LineWith(values, version);
  e.valueText = TextWith(values, version, Text(version, "1234.5"));
  if (StoresExtensions(version)) {
    e.extensionMode = values.u16();
    e.auxLine1 = LineWith(values, version);
    e.auxLine2 = LineWith(values, version);
    e.point1 = PointWith(values, version, false);
    e.point2 = PointWith(values, version, true);
    e.auxPoint1 = PointWith(values, version, true);
    e.auxPoint2 = PointWith(values, version, false);
  } else {
    // What the loader gives older files: the dimension's attributes, zeros.
    e.auxLine1.attr = e.auxLine2.attr = e.attr;
    e.point1.attr = e.point2.attr = e.auxPoint1.attr = e.auxPoint2.attr = e.attr;
  }
  return e;
}

TEntSolid MakeSolid(std::int32_t version, unsigned seed, bool rgb) {
  Values values(seed);
  TEntSolid e;
  std::uint16_t colour = PenColour(values, version);
  if (rgb) colour = kSolidRgbColour;
  e.attr = MakeAttr(values, version, static_cast<std::uint8_t>(values.u32()), colour);
  e.startX = values.f64();
  e.startY = values.f64();
  e.endX = values.f64();
  e.endY = values.f64();
  e.point2X = values.f64();
  e.point2Y = values.f64();
  e.point3X = values.f64();
  e.point3Y = values.f64();
  if (rgb) e.rgbColour = values.u32();
  return e;
}

TEntBlock MakeBlockInsert(std::int32_t version, unsigned seed, std::uint32_t definition) {
  Values values(seed);
  TEntBlock e;
  // Neither pen style nor pen colour is checked for block inserts.
  e.attr = MakeAttr(values, version, static_cast<std::uint8_t>(values.u32()), values.u16());
  e.originX = values.f64();
  e.originY = values.f64();
  e.scaleX = values.f64();
  e.scaleY = values.f64();
  e.rotation = values.f64();
  e.definitionNumber = definition;
  return e;
}

TEntSunpo DimensionWith(const TEntMoji& valueText) {
  TEntSunpo s;
  s.attr = {1, 1, 2, 0, 0, 0, 0};
  s.line = {s.attr, 0, 0, 100, 0};
  s.valueText = valueText;
  s.auxLine1.attr = s.auxLine2.attr = s.attr;
  s.point1.attr = s.point2.attr = s.auxPoint1.attr = s.auxPoint2.attr = s.attr;
  return s;
}

void Add(EntityTables& t, const TEntSen& e) {
  Append(t.lines, t, kLine, e);
}
void Add(EntityTables& t, const TEntEnko& e) {
  Append(t.arcs, t, kArc, e);
}
void Add(EntityTables& t, const TEntTen& e) {
  Append(t.points, t, kPoint, e);
}
void Add(EntityTables& t, const TEntMoji& e) {
  Append(t.texts, t, kText, e);
}
void Add(EntityTables& t, const TEntSunpo& e) {
  Append(t.dimensions, t, kDimension, e);
}
void Add(EntityTables& t, const TEntSolid& e) {
  Append(t.solids, t, kSolid, e);
}
void Add(EntityTables& t, const TEntBlock& e) {
  Append(t.blockInserts, t, kBlockInsert, e);
}

TEntBlockDef& AddBlockDefinition(Drawing& d, std::uint32_t number, bool extendedTime) {
  Values values(number + 500);
  TEntBlockDef& def = d.blockDefs.emplace_back();
  def.attr =
      MakeAttr(values, d.header.version, static_cast<std::uint8_t>(values.u32()), values.u16());
  def.number = number;
  def.referenced = values.Below(2);
  def.time = values.u32() & 0x7FFFFFFFu;
  if (extendedTime) {
    def.time |= kExtendedTimeFlag;
    for (auto& b : def.extendedTime) b = static_cast<std::uint8_t>(values.u32() >> 24);
  }
  def.name = MakeString(6 + number % 7, WideStrings(d.header.version), 4000 + number);
  UpdateCounts(d);
  return def;
}

void UpdateCounts(Drawing& d) {
  d.header.entityCount = static_cast<std::int32_t>(d.top.order.size());
  d.header.blockDefinitionCount = static_cast<std::int32_t>(d.blockDefs.size());
  for (TEntBlockDef& def : d.blockDefs) {
    def.entityCount = static_cast<std::int32_t>(def.entities.order.size());
  }
}

Drawing MakeHeaderOnly(std::int32_t version) {
  Drawing d;
  d.SizeHeaderTables();
  Values values(static_cast<unsigned>(version));
  FillHeaderFields(d.header, version, values);
  FillHeaderTables(d.header, version, values);
  UpdateCounts(d);
  return d;
}

Drawing MakeFullDrawing(std::int32_t version) {
  Drawing d = MakeHeaderOnly(version);
  const bool wide = WideStrings(version);
  const std::int32_t v = version;
  EntityTables& top = d.top;
  // Kinds interleaved, so that the order list matters.
  Add(top, MakeLine(v, 1));
  Add(top, MakeText(v, 2, Text(v, "plain text")));
  Add(top, MakeArc(v, 3));
  Add(top, MakePoint(v, 4, false));
  Add(top, MakeDimension(v, 5));
  Add(top, MakeSolid(v, 6, false));
  Add(top, MakeBlockInsert(v, 7, 1));
  Add(top, MakeLine(v, 8));
  Add(top, MakeText(v, 9, MakeString(300, wide, 9)));
  Add(top, MakePoint(v, 10, true));
  Add(top, MakeSolid(v, 11, true));
  Add(top, MakeArc(v, 12));
  Add(top, MakeDimension(v, 13));
  Add(top, MakeBlockInsert(v, 14, 2));
  Add(top, MakeLine(v, 15));
  Add(top, MakeText(v, 16, MakeString(12, wide, 16)));

  TEntBlockDef& first = AddBlockDefinition(d, 1, false);
  Add(first.entities, MakeLine(v, 101));
  Add(first.entities, MakeText(v, 102, Text(v, "in block")));
  Add(first.entities, MakeDimension(v, 103));
  Add(first.entities, MakeBlockInsert(v, 104, 2));
  Add(first.entities, MakeText(v, 105, MakeString(20, wide, 105)));
  TEntBlockDef& second = AddBlockDefinition(d, 2, true);
  Add(second.entities, MakeArc(v, 201));
  Add(second.entities, MakePoint(v, 202, true));
  Add(second.entities, MakeSolid(v, 203, true));
  Add(second.entities, MakePoint(v, 204, false));
  AddBlockDefinition(d, 3, false);
  UpdateCounts(d);
  return d;
}

void AddBulkEntities(Drawing& d, std::uint64_t bytes, unsigned seed) {
  const std::int32_t v = d.header.version;
  const bool wide = WideStrings(v);
  const std::uint64_t attr = StoresPenWidth(v) ? 15 : 13;
  const JwwString font = MakeText(v, 0, {}).fontName;
  std::uint64_t added = 0;
  for (unsigned i = 0; added < bytes; ++i) {
    const unsigned s = seed * 1000003u + i;
    switch (i % 4) {
      case 0:
      case 1:
        Add(d.top, MakeLine(v, s));
        added += 2 + attr + 32;
        break;
      case 2:
        Add(d.top, MakeArc(v, s));
        added += 2 + attr + 60;
        break;
      default: {
        TEntMoji t = MakeText(v, s, MakeString(8 + i % 24, wide, s));
        added += 2 + attr + 68 + StringBytes(t.fontName) + StringBytes(t.text);
        Add(d.top, t);
      }
    }
  }
  UpdateCounts(d);
}

void SaveDrawing(Drawing& d, const std::filesystem::path& path) {
  const SaveResult r = SaveJww(d, path, d.header.version);
  if (!r) throw std::runtime_error("cannot save " + path.string() + ": " + r.error);
}

Drawing LoadDrawing(const std::filesystem::path& path) {
  Drawing d;
  d.imageOptions.extract = false;
  const LoadResult r = LoadJww(d, path);
  if (!r) throw std::runtime_error("cannot load " + path.string() + ": " + r.error);
  return d;
}

std::uint8_t ImageByte(unsigned seed, std::uint64_t i) {
  std::uint64_t x = i + 0x9E3779B97F4A7C15ull * (seed + 1);
  x ^= x >> 29;
  x *= 0xBF58476D1CE4E5B9ull;
  x ^= x >> 32;
  return static_cast<std::uint8_t>(x);
}

std::string ImageBytes(unsigned seed, std::uint64_t size) {
  std::string out(static_cast<std::size_t>(size), '\0');
  for (std::uint64_t i = 0; i < size; ++i) out[i] = static_cast<char>(ImageByte(seed, i));
  return out;
}

std::filesystem::path AddImage(Drawing& d, const std::filesystem::path& folder,
                               const JwwString& name, std::uint64_t size, unsigned seed,
                               bool referenced) {
  std::filesystem::path file;
  for (unsigned n = 0;; ++n) {
    file = folder / ("synthetic-image-" + std::to_string(d.images.size()) + "-" +
                     std::to_string(seed) + "-" + std::to_string(n) + ".bin");
    if (!std::filesystem::exists(file)) break;
  }
  std::FILE* out = platform::OpenFile(file, "wb");
  if (!out) throw std::runtime_error("cannot create " + file.string());
  std::vector<char> chunk(1 << 16);
  for (std::uint64_t at = 0; at < size;) {
    const std::size_t n =
        static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), size - at));
    for (std::size_t i = 0; i < n; ++i) chunk[i] = static_cast<char>(ImageByte(seed, at + i));
    if (std::fwrite(chunk.data(), 1, n, out) != n) {
      std::fclose(out);
      throw std::runtime_error("cannot write " + file.string());
    }
    at += n;
  }
  if (std::fclose(out) != 0) throw std::runtime_error("cannot write " + file.string());

  TBindImageType& image = d.images.emplace_back();
  image.name = name;
  image.size = static_cast<std::uint32_t>(size);
  image.tempFile = file;
  if (referenced) {
    const std::int32_t v = d.header.version;
    std::u16string units = u"^@BM%temp%" + name.toUtf16Units() + u",100,100";
    JwwString text = JwwString::fromUtf16(units);
    if (!WideStrings(v)) {
      std::string bytes;
      for (char16_t u : units) bytes.push_back(static_cast<char>(u));
      text = JwwString::narrow(bytes);
    }
    Add(d.top, MakeText(v, seed + 7000, text));
    UpdateCounts(d);
  }
  return file;
}

}  // namespace synthetic
