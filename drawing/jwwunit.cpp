#include "drawing/jwwunit.h"

#include <cstdlib>
#include <system_error>
#include <utility>

#include "platform/file_io.h"

namespace jww {

namespace {

template <class Rec>
void Empty(std::vector<Rec>& table, std::size_t keep) {
  if (table.capacity() > keep) {
    std::vector<Rec>().swap(table);
  } else {
    table.clear();
  }
}

// What an emptied drawing keeps for the next load, so that a batch of
// ordinary drawings does not allocate its tables again for every file, while
// one very large drawing does not hold its memory for the rest of the run.
constexpr std::size_t kKeptTopEntries = std::size_t{1} << 16;
constexpr std::size_t kKeptBlockEntries = std::size_t{1} << 10;
constexpr std::size_t kKeptSpareTables = 1024;

}  // namespace

void EntityTables::clear(std::size_t keep) {
  Empty(lines, keep);
  Empty(arcs, keep);
  Empty(points, keep);
  Empty(texts, keep);
  Empty(dimensions, keep);
  Empty(solids, keep);
  Empty(blockInserts, keep);
  Empty(order, keep);
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
  // The header tables are small: they keep their memory, emptied.
  THeader fresh;
  MoveHeaderTables(header, fresh);
  header = std::move(fresh);
  top.clear(kKeptTopEntries);
  for (TEntBlockDef& def : blockDefs) {
    if (spareTables_.size() >= kKeptSpareTables) break;
    def.entities.clear(kKeptBlockEntries);
    spareTables_.push_back(std::move(def.entities));
  }
  blockDefs.clear();
  if (blockDefs.capacity() > kKeptSpareTables) std::vector<TEntBlockDef>().swap(blockDefs);
}

void Drawing::Free() {
  Reset();
}

EntityTables Drawing::TakeSpareTables() {
  if (spareTables_.empty()) return {};
  EntityTables tables = std::move(spareTables_.back());
  spareTables_.pop_back();
  return tables;
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
  SizeHeaderTablesThroughGroup15(header);
  header.textTypes.assign(kTextTypeCount, {});
  header.extendedColours.assign(kExtendedColourCount, {});
  header.extendedLineTypes.assign(kExtendedLineTypeCount, {});
}

void MoveHeaderTables(THeader& from, THeader& to) {
  auto move = [](auto& source, auto& target) {
    source.clear();
    target = std::move(source);
    source.clear();
  };
  move(from.layerGroups, to.layerGroups);
  move(from.layers, to.layers);
  move(from.pens, to.pens);
  move(from.lineTypes, to.lineTypes);
  move(from.randomLines, to.randomLines);
  move(from.doubleLines, to.doubleLines);
  move(from.textTypes, to.textTypes);
  move(from.extendedColours, to.extendedColours);
  move(from.extendedLineTypes, to.extendedLineTypes);
}

void SizeHeaderTablesThroughGroup15(THeader& header) {
  header.layerGroups.assign(kLayerGroupCount, {});
  header.layers.assign(kLayerCount, {});
  header.pens.assign(kPenCount, {});
  header.lineTypes.assign(kLineTypeCount, {});
  header.randomLines.assign(kRandomLineCount, {});
  header.doubleLines.assign(kDoubleLineCount, {});
}

}  // namespace jww
