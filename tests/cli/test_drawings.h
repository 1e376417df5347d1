// Small drawings built through the drawing tables for the cli tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "drawing/jwwunit.h"

namespace cli_test {

// Header tables sized, the version set, text type n of size n, n, 0; no
// entities and an empty memo.
jww::Drawing EmptyDrawing(std::int32_t version);

jww::TEntMoji MakeText(const jww::JwwString& content, double width, double height, double spacing,
                       std::uint16_t colour, std::uint32_t textType = 0);

void AddText(jww::EntityTables& tables, const jww::TEntMoji& text);
void AddDimension(jww::EntityTables& tables, const jww::TEntMoji& valueText);
jww::TEntBlockDef& AddBlockDefinition(jww::Drawing& d, std::uint32_t number,
                                      const jww::JwwString& name);

// Sets the stored counts and saves; fails the current test when it cannot.
void Save(jww::Drawing& d, const std::filesystem::path& path);

}  // namespace cli_test
