#include "tests/conversion/conversion_fixture.h"

#include <stdexcept>

#include "drawing/jww_loader.h"
#include "drawing/jww_writer.h"

namespace conversion_test {

jww::TTextType TypeSizes(int k) {
  return {static_cast<double>(k), k + 0.5, k / 4.0, static_cast<std::uint32_t>(k)};
}

jww::Drawing MakeDrawing(std::int32_t version) {
  jww::Drawing d;
  d.SizeHeaderTables();
  d.header.version = version;
  for (int k = 1; k <= jww::kTextTypeCount; ++k) d.header.textTypes[k - 1] = TypeSizes(k);
  return d;
}

jww::TEntMoji TextLike(int k, std::uint32_t textTypeField, std::uint16_t penColour) {
  const jww::TTextType t = TypeSizes(k);
  jww::TEntMoji m;
  m.attr = {7, 1, penColour, 0, 3, 2, 0};
  m.startX = 10.25 * k;
  m.startY = -4.5;
  m.endX = 30.75;
  m.endY = 8.125;
  m.textType = textTypeField;
  m.width = t.width;
  m.height = t.height;
  m.spacing = t.spacing;
  m.angle = 30;
  m.fontName = jww::JwwString::narrow("MS Gothic");
  m.text = jww::JwwString::narrow("text " + std::to_string(k));
  return m;
}

jww::TEntSunpo DimensionWith(const jww::TEntMoji& valueText) {
  jww::TEntSunpo s;
  s.attr = {1, 1, 2, 0, 0, 0, 0};
  s.line = {s.attr, 0, 0, 100, 0};
  s.valueText = valueText;
  s.auxLine1.attr = s.auxLine2.attr = s.attr;
  s.point1.attr = s.point2.attr = s.auxPoint1.attr = s.auxPoint2.attr = s.attr;
  return s;
}

jww::TEntSen Line() {
  jww::TEntSen line;
  line.attr.penColour = 1;
  line.endX = 50;
  return line;
}

unit_val::ConversionSettings AnyColourSettings() {
  unit_val::ConversionSettings s;
  for (int k = 1; k <= unit_val::kConvertibleTypeCount; ++k) s.Flag(k) = 1;
  return s;
}

void SaveDrawing(jww::Drawing& d, const std::filesystem::path& path) {
  const jww::SaveResult r = jww::SaveJww(d, path, d.header.version);
  if (!r) throw std::runtime_error("cannot save the test drawing: " + r.error);
}

jww::Drawing LoadDrawing(const std::filesystem::path& path) {
  jww::Drawing d;
  d.imageOptions.extract = false;
  const jww::LoadResult r = jww::LoadJww(d, path);
  if (!r) throw std::runtime_error("cannot load " + path.string() + ": " + r.error);
  return d;
}

}  // namespace conversion_test
