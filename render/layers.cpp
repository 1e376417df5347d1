#include "render/layers.h"

#include <array>
#include <utility>

#include "drawing/jww_text.h"

namespace render {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

struct PaperSize {
  std::uint32_t code;
  double width, height;
};
constexpr std::array<PaperSize, 12> kPapers{{
    {0, 1189, 841},
    {1, 841, 594},
    {2, 594, 420},
    {3, 420, 297},
    {4, 297, 210},
    {8, 1682, 1189},
    {9, 2378, 1682},
    {10, 3364, 2378},
    {11, 4756, 3364},
    {12, 10000, 7071},
    {13, 50000, 35355},
    {14, 100000, 70711},
}};
constexpr std::size_t kFallbackPaper = 3;  // A3

}  // namespace

LayerState LayerStateOf(std::uint32_t stored) {
  switch (stored) {
    case 0:
      return LayerState::kHidden;
    case 1:
      return LayerState::kShownOnly;
    default:
      return LayerState::kEditable;
  }
}

std::vector<Layer> LayersOf(const jww::THeader& header) {
  std::vector<Layer> layers(jww::kLayerCount);
  for (int i = 0; i < jww::kLayerCount; ++i) {
    Layer& layer = layers[i];
    if (static_cast<std::size_t>(i) < header.layers.size()) {
      layer.name = jww::DecodedText(header.layers[i].name);
      layer.state = LayerStateOf(header.layers[i].state);
    }
    if (layer.name.empty()) {
      layer.name = {kHexDigits[i / jww::kLayerGroupCount], '-',
                    kHexDigits[i % jww::kLayerGroupCount]};
    }
  }
  return layers;
}

std::vector<Layer> LayerGroupsOf(const jww::THeader& header) {
  std::vector<Layer> groups(jww::kLayerGroupCount);
  for (int g = 0; g < jww::kLayerGroupCount; ++g) {
    Layer& group = groups[g];
    if (static_cast<std::size_t>(g) < header.layerGroups.size()) {
      group.name = jww::DecodedText(header.layerGroups[g].name);
      group.state = LayerStateOf(header.layerGroups[g].state);
    }
    if (group.name.empty()) group.name = std::string(1, kHexDigits[g]);
  }
  return groups;
}

Rect PaperOf(std::uint32_t code) {
  PaperSize size = kPapers[kFallbackPaper];
  for (const PaperSize& p : kPapers) {
    if (p.code == code) size = p;
  }
  return {-size.width / 2, -size.height / 2, size.width / 2, size.height / 2};
}

}  // namespace render
