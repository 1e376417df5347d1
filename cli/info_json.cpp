#include "cli/info_json.h"

#include "cli/drawing_summary.h"
#include "cli/json_writer.h"
#include "conversion/classify_text.h"
#include "drawing/jww_text.h"

namespace cli {

namespace {

void WriteCounts(JsonWriter& json, const EntityCounts& c) {
  json.BeginObject();
  json.Key("lines").Integer(static_cast<std::int64_t>(c.lines));
  json.Key("arcs").Integer(static_cast<std::int64_t>(c.arcs));
  json.Key("points").Integer(static_cast<std::int64_t>(c.points));
  json.Key("texts").Integer(static_cast<std::int64_t>(c.texts));
  json.Key("dimensions").Integer(static_cast<std::int64_t>(c.dimensions));
  json.Key("solids").Integer(static_cast<std::int64_t>(c.solids));
  json.Key("block_inserts").Integer(static_cast<std::int64_t>(c.blockInserts));
  json.EndObject();
}

void WriteText(JsonWriter& json, const PlacedText& placed) {
  const jww::TEntMoji& t = *placed.text;
  json.BeginObject();
  json.Key("where").String(TextPlaceName(placed.place));
  json.Key("block");
  if (placed.block) {
    json.Integer(placed.block->number);
  } else {
    json.Null();
  }
  json.Key("index").Integer(static_cast<std::int64_t>(placed.index));
  json.Key("text_type").Integer(t.textType);
  json.Key("free_size").Bool(unit_val::IsFreeSize(t.textType));
  json.Key("width").Number(t.width);
  json.Key("height").Number(t.height);
  json.Key("spacing").Number(t.spacing);
  json.Key("pen_colour").Integer(t.attr.penColour);
  json.Key("angle").Number(t.angle);
  json.Key("font").String(jww::DecodedText(t.fontName));
  json.Key("content").String(jww::DecodedText(t.text));
  json.EndObject();
}

}  // namespace

void WriteInfoJson(std::ostream& out, std::string_view path, const jww::Drawing& d) {
  JsonWriter json(out);
  json.BeginObject();
  json.Key("path").String(path);
  json.Key("ok").Bool(true);
  json.Key("error").Null();
  json.Key("version").Integer(d.header.version);
  json.Key("memo").String(jww::DisplayText(d.header.memo));

  json.Key("text_types").BeginArray();
  for (const jww::TTextType& type : d.header.textTypes) {
    json.BeginObject();
    json.Key("width").Number(type.width);
    json.Key("height").Number(type.height);
    json.Key("spacing").Number(type.spacing);
    json.Key("colour").Integer(type.colour);
    json.EndObject();
  }
  json.EndArray();

  json.Key("counts");
  WriteCounts(json, CountEntities(d.top));
  json.Key("block_counts");
  WriteCounts(json, CountBlockEntities(d));

  json.Key("block_definitions").BeginArray();
  for (const jww::TEntBlockDef& def : d.blockDefs) {
    json.BeginObject();
    json.Key("number").Integer(def.number);
    json.Key("name").String(jww::DisplayText(def.name));
    json.Key("entities").Integer(def.entityCount);
    json.EndObject();
  }
  json.EndArray();

  json.Key("texts").BeginArray();
  ForEachText(d, [&json](const PlacedText& placed) { WriteText(json, placed); });
  json.EndArray();

  json.Key("images").BeginArray();
  for (const jww::TBindImageType& image : d.images) {
    json.BeginObject();
    json.Key("name").String(jww::DisplayText(image.name));
    json.Key("size").Integer(image.size);
    json.EndObject();
  }
  json.EndArray();

  json.EndObject();
  json.Finish();
}

std::string InfoJsonFailure(std::string_view path, std::string_view error) {
  JsonWriter json;
  json.BeginObject();
  json.Key("path").String(path);
  json.Key("ok").Bool(false);
  json.Key("error").String(error);
  json.EndObject();
  return json.text();
}

}  // namespace cli
