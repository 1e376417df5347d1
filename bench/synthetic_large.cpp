#include "bench/synthetic_large.h"

#include <array>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>

#include "drawing/jww_layout.h"
#include "drawing/jww_writer.h"

namespace bench {

namespace {

// A word of the drawing's texts in both encodings.
struct Word {
  std::u16string_view utf16;
  std::string_view sjis;
};
constexpr std::array<Word, 12> kWords{{
    {u"居間", "\x8b\x8f\x8a\xd4"},
    {u"寝室", "\x90\x51\x8e\xba"},
    {u"台所", "\x91\xe4\x8f\x8a"},
    {u"浴室", "\x97\x81\x8e\xba"},
    {u"玄関", "\x8c\xba\x8a\xd6"},
    {u"廊下", "\x98\x4c\x89\xba"},
    {u"収納", "\x8e\xfb\x94\x5b"},
    {u"和室", "\x98\x61\x8e\xba"},
    {u"洋室", "\x97\x6d\x8e\xba"},
    {u"階段", "\x8a\x4b\x92\x69"},
    {u"平面図", "\x95\xbd\x96\xca\x90\x7d"},
    {u"縮尺", "\x8f\x6b\x8e\xda"},
}};
constexpr Word kFont{u"ＭＳ ゴシック", "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e"};

// Builds strings in the drawing's form and estimates the bytes of what it
// adds, so that generation can stop near the requested size.
class Builder {
 public:
  Builder(std::int32_t version, std::uint32_t seed) : version_(version), random_(seed) {
    attrBytes_ = jww::layout::AttrBytes(version);
  }

  bool wide() const { return jww::layout::HasImages(version_); }
  std::uint64_t bytes() const { return bytes_; }
  void addBytes(std::uint64_t n) { bytes_ += n; }

  // Plain ASCII text in the drawing's form.
  jww::JwwString Ascii(std::string_view s) const {
    if (!wide()) return jww::JwwString::narrow(s);
    return jww::JwwString::fromUtf16(std::u16string(s.begin(), s.end()));
  }
  jww::JwwString Phrase(const Word& word, std::string_view tail) const {
    if (!wide()) return jww::JwwString::narrow(std::string(word.sjis) + std::string(tail));
    std::u16string s(word.utf16);
    s.append(tail.begin(), tail.end());
    return jww::JwwString::fromUtf16(s);
  }
  std::uint64_t StringBytes(const jww::JwwString& s) const {
    const std::uint64_t units = s.units();
    const std::uint64_t prefix = units < 0xFF ? 1 : units < 0xFFFE ? 3 : 7;
    return (s.wide ? 3 : 0) + prefix + s.bytes.size();
  }

  double Coordinate() { return std::uniform_real_distribution<double>(-50000.0, 50000.0)(random_); }
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  jww::TEntAttr Attr() {
    jww::TEntAttr a;
    a.penStyle = static_cast<std::uint8_t>(1 + Pick(9));
    a.penColour = static_cast<std::uint16_t>(1 + Pick(9));
    a.penWidth = 0;
    a.layer = static_cast<std::uint16_t>(Pick(16));
    a.layerGroup = static_cast<std::uint16_t>(Pick(16));
    return a;
  }

  void Line(jww::EntityTables& t) {
    jww::TEntSen e;
    e.attr = Attr();
    e.startX = Coordinate();
    e.startY = Coordinate();
    e.endX = Coordinate();
    e.endY = Coordinate();
    Push(t, t.lines, jww::kLine, std::move(e), 32);
  }

  void Arc(jww::EntityTables& t) {
    jww::TEntEnko e;
    e.attr = Attr();
    e.centreX = Coordinate();
    e.centreY = Coordinate();
    e.radius = 10.0 + Pick(5000);
    e.arcAngle = 6.283185307179586;
    e.flatness = 1.0;
    e.fullCircle = 1;
    Push(t, t.arcs, jww::kArc, std::move(e), 60);
  }

  void Point(jww::EntityTables& t) {
    jww::TEntTen e;
    e.attr = Attr();
    e.attr.penStyle = 1;
    e.x = Coordinate();
    e.y = Coordinate();
    Push(t, t.points, jww::kPoint, std::move(e), 20);
  }

  // Texts of every kind the converter meets: of a text type, free-size at a
  // type's size and colour (would be retyped), and free-size at odd sizes.
  void Text(jww::EntityTables& t, const jww::THeader& header) {
    jww::TEntMoji e;
    e.attr = Attr();
    const int type = 1 + Pick(jww::kTextTypeCount);
    const jww::TTextType& size = header.textTypes[static_cast<std::size_t>(type - 1)];
    const int form = Pick(4);
    e.textType = form == 0 ? 0u : static_cast<std::uint32_t>(type);
    e.width = form == 3 ? size.width + 0.37 : size.width;
    e.height = form == 3 ? size.height * 1.21 : size.height;
    e.spacing = size.spacing;
    if (e.textType == 0 && form == 0) e.attr.penColour = static_cast<std::uint16_t>(size.colour);
    e.startX = Coordinate();
    e.startY = Coordinate();
    e.angle = Pick(8) == 0 ? 90.0 : 0.0;
    e.fontName = Phrase(kFont, "");
    std::string tail(1, ' ');
    tail += std::to_string(Pick(100000));
    if (Pick(6) == 0) {
      tail += " W=";
      tail += std::to_string(Pick(9000));
      tail += " H=";
      tail += std::to_string(Pick(9000));
    }
    e.text = Phrase(kWords[static_cast<std::size_t>(Pick(kWords.size()))], tail);
    e.endX = e.startX + e.width * static_cast<double>(e.text.units());
    e.endY = e.startY;
    const std::uint64_t strings = StringBytes(e.fontName) + StringBytes(e.text);
    Push(t, t.texts, jww::kText, std::move(e), 68 + strings);
  }

  void Insert(jww::EntityTables& t, std::uint32_t definition) {
    jww::TEntBlock e;
    e.attr = Attr();
    e.originX = Coordinate();
    e.originY = Coordinate();
    e.scaleX = e.scaleY = 1.0;
    e.rotation = Pick(4) * 1.5707963267948966;
    e.definitionNumber = definition;
    Push(t, t.blockInserts, jww::kBlockInsert, std::move(e), 44);
  }

 private:
  template <class Rec>
  void Push(jww::EntityTables& t, std::vector<Rec>& table, jww::EntityKind kind, Rec rec,
            std::uint64_t bodyBytes) {
    table.push_back(std::move(rec));
    t.order.push_back(jww::TEntRef{kind, static_cast<std::int32_t>(table.size() - 1)});
    bytes_ += 2 + static_cast<std::uint64_t>(attrBytes_) + bodyBytes;
  }

  std::int32_t version_;
  std::mt19937 random_;
  int attrBytes_ = 0;
  std::uint64_t bytes_ = 0;
};

void FillHeader(jww::THeader& h, Builder& b, std::int32_t version) {
  h.signature = "JwwData.";
  h.version = version;
  h.memo = b.Ascii("synthetic benchmark drawing");
  h.paperSize = 3;
  for (int g = 0; g < jww::kLayerGroupCount; ++g) {
    auto& group = h.layerGroups[static_cast<std::size_t>(g)];
    group.state = 2;
    group.scale = 100.0;
    group.name = b.Ascii("group " + std::to_string(g));
    for (int k = 0; k < 16; ++k) {
      auto& layer = h.layers[static_cast<std::size_t>(g * 16 + k)];
      layer.state = 2;
      layer.name = b.Ascii("layer " + std::to_string(g) + "-" + std::to_string(k));
    }
  }
  for (int t = 0; t < jww::kTextTypeCount; ++t) {
    auto& type = h.textTypes[static_cast<std::size_t>(t)];
    type.width = type.height = 2.0 + 0.5 * t;
    type.spacing = 0.5;
    type.colour = static_cast<std::uint32_t>(1 + t % 9);
  }
  h.flag11Tens = 1;
  b.addBytes(16 * 1024);  // the fixed part of the header, roughly
}

constexpr int kDefinitionCount = 64;

void AddBlockDefinitions(jww::Drawing& d, Builder& b) {
  for (int k = 1; k <= kDefinitionCount; ++k) {
    jww::TEntBlockDef def;
    def.attr = b.Attr();
    def.number = static_cast<std::uint32_t>(k);
    def.referenced = 1;
    def.time = static_cast<std::uint32_t>(1000 + k);
    def.name = b.Ascii("BLOCK-" + std::to_string(k));
    for (int i = 0; i < 12; ++i) b.Line(def.entities);
    b.Text(def.entities, d.header);
    b.Text(def.entities, d.header);
    b.Arc(def.entities);
    if (k % 8 != 1) b.Insert(def.entities, static_cast<std::uint32_t>(k - 1));
    def.entityCount = static_cast<std::int32_t>(def.entities.entityCount());
    b.addBytes(2 + static_cast<std::uint64_t>(jww::layout::AttrBytes(d.header.version)) + 12 + 2 +
               b.StringBytes(def.name));
    d.blockDefs.push_back(std::move(def));
  }
  d.header.blockDefinitionCount = kDefinitionCount;
}

}  // namespace

jww::Drawing MakeLargeDrawing(std::int32_t version, std::uint64_t targetBytes, std::uint32_t seed) {
  jww::Drawing d;
  d.Reset();
  d.SizeHeaderTables();
  Builder b(version, seed);
  FillHeader(d.header, b, version);
  AddBlockDefinitions(d, b);
  for (std::uint64_t cell = 0; b.bytes() < targetBytes; ++cell) {
    for (int i = 0; i < 8; ++i) b.Line(d.top);
    for (int i = 0; i < 4; ++i) b.Text(d.top, d.header);
    b.Arc(d.top);
    b.Point(d.top);
    if (cell % 16 == 0) b.Insert(d.top, static_cast<std::uint32_t>(1 + b.Pick(kDefinitionCount)));
  }
  d.header.entityCount = static_cast<std::int32_t>(d.top.order.size());
  return d;
}

std::uint64_t WriteLargeDrawing(const std::filesystem::path& path, std::int32_t version,
                                std::uint64_t targetBytes, std::uint32_t seed) {
  jww::Drawing d = MakeLargeDrawing(version, targetBytes, seed);
  const jww::SaveResult saved = jww::SaveJww(d, path, version);
  if (!saved) throw std::runtime_error("cannot write " + path.string() + ": " + saved.error);
  return std::filesystem::file_size(path);
}

}  // namespace bench
