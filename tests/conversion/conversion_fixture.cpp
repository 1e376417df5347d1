#include "tests/conversion/conversion_fixture.h"

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

unit_val::ConversionSettings AnyColourSettings() {
  unit_val::ConversionSettings s;
  for (int k = 1; k <= unit_val::kConvertibleTypeCount; ++k) s.Flag(k) = 1;
  return s;
}

}  // namespace conversion_test
