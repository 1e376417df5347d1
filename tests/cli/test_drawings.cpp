#include "tests/cli/test_drawings.h"

#include <gtest/gtest.h>

#include "drawing/jww_writer.h"

namespace cli_test {

jww::Drawing EmptyDrawing(std::int32_t version) {
  jww::Drawing d;
  d.Reset();
  d.SizeHeaderTables();
  d.header.version = version;
  for (int n = 0; n < jww::kTextTypeCount; ++n) {
    d.header.textTypes[n] = {n + 1.0, n + 1.0, 0, static_cast<std::uint32_t>(n % 9 + 1)};
  }
  return d;
}

jww::TEntMoji MakeText(const jww::JwwString& content, double width, double height, double spacing,
                       std::uint16_t colour, std::uint32_t textType) {
  jww::TEntMoji t;
  t.attr.penStyle = 1;
  t.attr.penColour = colour;
  t.textType = textType;
  t.width = width;
  t.height = height;
  t.spacing = spacing;
  t.endX = 10;
  t.fontName = content.wide ? jww::JwwString::fromUtf16(u"Font") : jww::JwwString::narrow("Font");
  t.text = content;
  return t;
}

namespace {

template <class Rec>
void Append(std::vector<Rec>& table, jww::EntityTables& tables, std::int32_t kind,
            const Rec& record) {
  table.push_back(record);
  tables.order.push_back({kind, static_cast<std::int32_t>(table.size() - 1)});
}

}  // namespace

void AddText(jww::EntityTables& tables, const jww::TEntMoji& text) {
  Append(tables.texts, tables, jww::kText, text);
}

void AddDimension(jww::EntityTables& tables, const jww::TEntMoji& valueText) {
  jww::TEntSunpo d;
  d.attr.penStyle = 1;
  d.attr.penColour = 1;
  d.line.attr = d.attr;
  d.line.endX = 100;
  d.valueText = valueText;
  d.auxLine1.attr = d.auxLine2.attr = d.attr;
  d.point1.attr = d.point2.attr = d.auxPoint1.attr = d.auxPoint2.attr = d.attr;
  Append(tables.dimensions, tables, jww::kDimension, d);
}

jww::TEntBlockDef& AddBlockDefinition(jww::Drawing& d, std::uint32_t number,
                                      const jww::JwwString& name) {
  jww::TEntBlockDef& def = d.blockDefs.emplace_back();
  def.attr.penStyle = 1;
  def.attr.penColour = 1;
  def.number = number;
  def.name = name;
  return def;
}

void Save(jww::Drawing& d, const std::filesystem::path& path) {
  d.header.entityCount = static_cast<std::int32_t>(d.top.order.size());
  d.header.blockDefinitionCount = static_cast<std::int32_t>(d.blockDefs.size());
  for (jww::TEntBlockDef& def : d.blockDefs) {
    def.entityCount = static_cast<std::int32_t>(def.entities.order.size());
  }
  const jww::SaveResult saved = jww::SaveJww(d, path, d.header.version);
  ASSERT_TRUE(saved.ok) << saved.error;
}

}  // namespace cli_test
