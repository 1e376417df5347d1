// Synthetic drawings for tests and benchmarks, built through the drawing
// tables. Every drawing made here is "canonical" for its version: it holds
// exactly what the loader would hold after reading the file the writer makes
// of it (fields the version does not store at their reset values, strings
// and attributes that the writer's rules leave alone), so that
//   Load(Save(d, version)) == d   and   Save(Load(Save(d))) == Save(d).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "drawing/jwwunit.h"

namespace synthetic {

// ---- Strings ----------------------------------------------------------------

// True when drawings of `version` store their strings in UTF-16 form (700
// and later, as Jw_cad does).
constexpr bool WideStrings(std::int32_t version) {
  return version >= 700;
}

// A string of exactly `units` characters: bytes (Shift-JIS, with double-byte
// characters among ASCII) or, when `wide`, UTF-16 code units. Printable only
// and free of "^m", so the writer's filters keep it; different seeds give
// different strings.
jww::JwwString MakeString(std::size_t units, bool wide, unsigned seed = 0);

// ASCII text in the string form of drawings of `version`.
jww::JwwString Text(std::int32_t version, std::string_view ascii);

// ---- Drawings ---------------------------------------------------------------

// Header tables sized and a distinct non-trivial value in every header field
// that files of `version` store (names in the layer, layer group, extended
// colour and line type tables included); no entities.
jww::Drawing MakeHeaderOnly(std::int32_t version);

// MakeHeaderOnly plus, at top level, every entity kind (lines of several pen
// styles, arcs, points with and without pen style 100, texts, dimensions,
// solids with and without pen colour 10, block inserts) and three block
// definitions: one with lines, texts, a dimension and an insert of the
// second; the second with an arc, points, a solid and an extended time; the
// third empty.
jww::Drawing MakeFullDrawing(std::int32_t version);

// Records with varied values that the writer's rules keep for `version`.
// `seed` varies every field.
jww::TEntSen MakeLine(std::int32_t version, unsigned seed);
jww::TEntEnko MakeArc(std::int32_t version, unsigned seed);
jww::TEntTen MakePoint(std::int32_t version, unsigned seed, bool extended);
jww::TEntMoji MakeText(std::int32_t version, unsigned seed, const jww::JwwString& text);
jww::TEntSunpo MakeDimension(std::int32_t version, unsigned seed);
jww::TEntSolid MakeSolid(std::int32_t version, unsigned seed, bool rgb);
jww::TEntBlock MakeBlockInsert(std::int32_t version, unsigned seed, std::uint32_t definition);

// A plain dimension (pen colour 2, a line of length 100, every other part
// zero) whose value text is `valueText`.
jww::TEntSunpo DimensionWith(const jww::TEntMoji& valueText);

// Appends a record to its table and to the order list of `tables`
// (UpdateCounts then sets the stored counts).
void Add(jww::EntityTables& tables, const jww::TEntSen& e);
void Add(jww::EntityTables& tables, const jww::TEntEnko& e);
void Add(jww::EntityTables& tables, const jww::TEntTen& e);
void Add(jww::EntityTables& tables, const jww::TEntMoji& e);
void Add(jww::EntityTables& tables, const jww::TEntSunpo& e);
void Add(jww::EntityTables& tables, const jww::TEntSolid& e);
void Add(jww::EntityTables& tables, const jww::TEntBlock& e);

// Appends an empty block definition numbered `number`. The time is extended
// (0x80000000 or more, with eight further bytes) when `extendedTime`. The
// reference holds until the next definition is added.
jww::TEntBlockDef& AddBlockDefinition(jww::Drawing& d, std::uint32_t number, bool extendedTime);

// Sets the stored counts (entity count, block definition count, each
// definition's entity count) from the tables. Call after adding entities.
void UpdateCounts(jww::Drawing& d);

// Appends lines, arcs and texts at top level until the saved file grows by
// about `bytes` (within a few percent).
void AddBulkEntities(jww::Drawing& d, std::uint64_t bytes, unsigned seed = 0);

// Saves `d` in its own version; loads without extracting images. Both throw
// std::runtime_error naming the file and what failed.
void SaveDrawing(jww::Drawing& d, const std::filesystem::path& path);
jww::Drawing LoadDrawing(const std::filesystem::path& path);

// ---- Images -----------------------------------------------------------------

// Byte i of the content of the image made with `seed`.
std::uint8_t ImageByte(unsigned seed, std::uint64_t i);
std::string ImageBytes(unsigned seed, std::uint64_t size);

// Adds an embedded image as the loader leaves one: writes its temp file in
// `folder` (streamed in chunks, never held whole, so sizes of hundreds of MB
// are fine), appends the image list entry and, when `referenced`, a top-level
// text "^@BM%temp%NAME,100,100" so that the writer keeps it. `name` should
// hold no ",". Returns the temp file.
std::filesystem::path AddImage(jww::Drawing& d, const std::filesystem::path& folder,
                               const jww::JwwString& name, std::uint64_t size, unsigned seed = 0,
                               bool referenced = true);

}  // namespace synthetic
