// Where each field of a written JWW file lies, found by running the one
// layout description with a measuring archive: the start of every section
// and the byte ranges that a writer rule decides (reserved words, filtered
// strings, checked attributes, rebuilt counts, ...). Class tags and counts
// are measured by a numbering of its own, so that a writer that numbers
// differently shows as a size mismatch.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/jwwunit.h"

namespace drawing_test {

// The writer rules that may make saved bytes differ from the source.
inline constexpr std::string_view kRuleReservedWords = "reserved words written as zero";
inline constexpr std::string_view kRuleMaxDrawWidth = "max draw width clamped at -101 up to 420";
inline constexpr std::string_view kRuleDisplayFlag11 =
    "display flag 11 rebuilt from tens and units";
inline constexpr std::string_view kRuleStringFilter = "names and texts filtered";
inline constexpr std::string_view kRuleAttributes = "attribute checks";
inline constexpr std::string_view kRuleCounts = "counts rebuilt from the tables";
inline constexpr std::string_view kRuleSchema = "class schema written as the version";
inline constexpr std::string_view kRuleImages = "image section rebuilt from the texts";

struct MappedField {
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
  std::string_view rule;
  std::string section;
};

struct FileMap {
  std::uint64_t size = 0;                                       // bytes of the whole file
  std::vector<std::pair<std::string, std::uint64_t>> sections;  // name, first byte
  std::vector<MappedField> ruleFields;                          // in file order

  // The rule field holding byte `offset`, or nullptr.
  const MappedField* RuleAt(std::uint64_t offset) const;
  // The first byte of the first section whose name starts with `prefix`;
  // throws when there is none.
  std::uint64_t SectionStart(std::string_view prefix) const;
};

// The file the writer makes of `d` for `version`. Marks the images in use as
// the writer does (the only change to `d`).
FileMap MapFile(jww::Drawing& d, std::int32_t version);

}  // namespace drawing_test
