// Small drawings and settings for the conversion tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "conversion/conversion_settings.h"
#include "drawing/jwwunit.h"

namespace conversion_test {

// Text type k (1..10) of MakeDrawing: width k, height k + 0.5, spacing k / 4
// (all exact in binary), colour k.
jww::TTextType TypeSizes(int k);

// Header tables sized, version set, text types as TypeSizes; no entities.
jww::Drawing MakeDrawing(std::int32_t version = 600);

// A text with the sizes of type k of MakeDrawing in the given text type field
// (0: free size), with distinctive values in every other field.
jww::TEntMoji TextLike(int k, std::uint32_t textTypeField = 0, std::uint16_t penColour = 0);
// Settings under which every type takes its exact sizes in any colour.
unit_val::ConversionSettings AnyColourSettings();

}  // namespace conversion_test
