#include "cli/info_text.h"

#include <initializer_list>
#include <iomanip>
#include <string>

#include "cli/drawing_summary.h"
#include "cli/shortest_double.h"
#include "cli/terminal_text.h"
#include "conversion/classify_text.h"
#include "drawing/jww_text.h"

namespace cli {

namespace {

struct Cell {
  std::string text;
  int width;  // at least; longer texts push the next cells right
};

// One row of left-aligned cells after an indent; the last cell is not padded.
void Row(std::ostream& out, std::initializer_list<Cell> cells) {
  out << "    ";
  std::size_t left = cells.size();
  for (const Cell& c : cells) {
    if (--left == 0) {
      out << c.text;
    } else {
      out << std::left << std::setw(c.width) << c.text << ' ';
    }
  }
  out << '\n';
}

std::string Num(double v) {
  return ShortestDouble(v);
}

template <class Int>
std::string Num(Int v) {
  return std::to_string(v);
}

void CountRow(std::ostream& out, const char* kind, std::size_t top, std::size_t blocks) {
  Row(out, {{kind, 14}, {Num(top), 8}, {Num(blocks), 0}});
}

}  // namespace

void WriteInfoText(std::ostream& out, std::string_view path, const jww::Drawing& d) {
  out << TerminalText(path) << '\n';
  out << "  version " << d.header.version << '\n';
  out << "  memo    " << jww::DisplayText(d.header.memo) << '\n';

  out << "  text types\n";
  Row(out, {{"type", 5}, {"width", 12}, {"height", 12}, {"spacing", 12}, {"colour", 0}});
  for (std::size_t i = 0; i < d.header.textTypes.size(); ++i) {
    const jww::TTextType& t = d.header.textTypes[i];
    Row(out, {{Num(i + 1), 5},
              {Num(t.width), 12},
              {Num(t.height), 12},
              {Num(t.spacing), 12},
              {Num(t.colour), 0}});
  }

  const EntityCounts top = CountEntities(d.top);
  const EntityCounts blocks = CountBlockEntities(d);
  out << "  entities\n";
  Row(out, {{"kind", 14}, {"top", 8}, {"in blocks", 0}});
  CountRow(out, "lines", top.lines, blocks.lines);
  CountRow(out, "arcs", top.arcs, blocks.arcs);
  CountRow(out, "points", top.points, blocks.points);
  CountRow(out, "texts", top.texts, blocks.texts);
  CountRow(out, "dimensions", top.dimensions, blocks.dimensions);
  CountRow(out, "solids", top.solids, blocks.solids);
  CountRow(out, "block inserts", top.blockInserts, blocks.blockInserts);

  out << "  block definitions: " << d.blockDefs.size() << '\n';
  if (!d.blockDefs.empty()) Row(out, {{"number", 8}, {"entities", 9}, {"name", 0}});
  for (const jww::TEntBlockDef& def : d.blockDefs) {
    Row(out, {{Num(def.number), 8}, {Num(def.entityCount), 9}, {jww::DisplayText(def.name), 0}});
  }

  if (!d.images.empty()) {
    out << "  images: " << d.images.size() << '\n';
    Row(out, {{"bytes", 10}, {"name", 0}});
    for (const jww::TBindImageType& image : d.images) {
      Row(out, {{Num(image.size), 10}, {jww::DisplayText(image.name), 0}});
    }
  }

  const std::size_t textCount = TextCount(d);
  out << "  texts: " << textCount << '\n';
  if (textCount > 0) {
    Row(out, {{"where", 15},
              {"block", 6},
              {"index", 6},
              {"type", 6},
              {"width", 8},
              {"height", 8},
              {"spacing", 8},
              {"pen", 4},
              {"angle", 8},
              {"content", 0}});
  }
  bool anyFreeSize = false;
  ForEachText(d, [&out, &anyFreeSize](const PlacedText& placed) {
    const jww::TEntMoji& t = *placed.text;
    anyFreeSize = anyFreeSize || unit_val::IsFreeSize(t.textType);
    Row(out, {{TextPlaceName(placed.place), 15},
              {placed.block ? Num(placed.block->number) : "-", 6},
              {Num(placed.index), 6},
              {Num(t.textType) + (unit_val::IsFreeSize(t.textType) ? "*" : ""), 6},
              {Num(t.width), 8},
              {Num(t.height), 8},
              {Num(t.spacing), 8},
              {Num(t.attr.penColour), 4},
              {Num(t.angle), 8},
              {jww::DisplayText(t.text), 0}});
  });
  if (anyFreeSize) out << "    (* free size)\n";
}

}  // namespace cli
