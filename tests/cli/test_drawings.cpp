#include "tests/cli/test_drawings.h"

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

}  // namespace cli_test
