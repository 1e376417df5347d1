#include "drawing/jwwunit.h"

#include <cstdlib>
#include <system_error>

#include "platform/file_io.h"

namespace jww {

void EntityTables::clear() {
  lines.clear();
  arcs.clear();
  points.clear();
  texts.clear();
  dimensions.clear();
  solids.clear();
  blockInserts.clear();
  order.clear();
}

void DeriveWideLine(THeader& h) {
  const std::int32_t v = h.maxDrawWidth;
  if (v >= -100) {
    h.wideLineMode = false;
    h.wideLineLevel = v;
    return;
  }
  h.wideLineMode = true;
  if (v >= -500 && v <= -401) {
    h.wideLineLevel = 400 + v;  // 400 - |v|
  } else if (v >= -300 && v <= -201) {
    h.wideLineLevel = -v - 200;
  } else {
    h.wideLineLevel = -100;
  }
}

void SplitDisplayFlag11(THeader& h, std::uint32_t stored) {
  const auto value = static_cast<std::int32_t>(stored);
  h.flag11Tens = value / 10;
  h.flag11Units = value % 10;
}

void Drawing::Reset() {
  header = THeader{};
  top.clear();
  blockDefs.clear();
}

void Drawing::Free() {
  for (TEntBlockDef& def : blockDefs) def.entities.clear();
  Reset();
}

void Drawing::ClearImageList() {
  images.clear();
}

void Drawing::DeleteImageFiles() {
  for (const TBindImageType& image : images) {
    if (image.tempFile.empty()) continue;
    std::error_code ec;
    platform::RemoveFile(image.tempFile, ec);
  }
}

void Drawing::SizeHeaderTables() {
  header.layerGroups.assign(kLayerGroupCount, {});
  header.layers.assign(kLayerCount, {});
  header.pens.assign(kPenCount, {});
  header.lineTypes.assign(kLineTypeCount, {});
  header.randomLines.assign(kRandomLineCount, {});
  header.doubleLines.assign(kDoubleLineCount, {});
  header.textTypes.assign(kTextTypeCount, {});
  header.extendedColours.assign(kExtendedColourCount, {});
  header.extendedLineTypes.assign(kExtendedLineTypeCount, {});
}

}  // namespace jww
