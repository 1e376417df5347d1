#include "tests/drawing/file_map.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <stdexcept>
#include <utility>

#include "drawing/jww_layout.h"
#include "drawing/jww_writer.h"

namespace drawing_test {

namespace {

using namespace jww;

// The writing direction of the layout, counting bytes instead of writing.
class MapArchive {
 public:
  static constexpr bool kReading = false;
  MapArchive(FileMap& map, std::int32_t version) : map_(map), version_(version) {}

  void setSection(const char* name) { Section(name); }
  void Section(std::string name) {
    section_ = std::move(name);
    map_.sections.emplace_back(section_, map_.size);
  }

  void u8(std::uint8_t) { Take(1); }
  void u16(std::uint16_t) { Take(2); }
  void u32(std::uint32_t) { Take(4); }
  void i32(std::int32_t) { Take(4); }
  void f64(double) { Take(8); }
  void str(const JwwString& s) {
    const std::size_t n = s.units();
    const std::uint64_t prefix = n < 255 ? 1 : n < 0xFFFE ? 3 : 7;
    Take((s.wide ? 3 : 0) + prefix + s.bytes.size());
  }

  TEntAttr adjustAttr(const TEntAttr& a, AttrRule) {
    Mark(kRuleAttributes, version_ > 350 ? 15 : 13);
    return a;
  }
  const JwwString& adjustString(const JwwString& s) {
    pending_ = kRuleStringFilter;
    return s;
  }
  std::uint32_t adjustReserved(std::uint32_t v) {
    pending_ = kRuleReservedWords;
    return v;
  }
  std::int32_t adjustMaxDrawWidth(std::int32_t v) {
    pending_ = kRuleMaxDrawWidth;
    return v;
  }
  void displayFlag11(const THeader&) {
    pending_ = kRuleDisplayFlag11;
    Take(4);
  }
  void keptF64(bool, double) { Take(8); }

  // A field of `size` bytes that `rule` decides, starting here.
  void Mark(std::string_view rule, std::uint64_t size) {
    map_.ruleFields.push_back(MappedField{map_.size, size, rule, section_});
  }
  void Take(std::uint64_t n) {
    if (!pending_.empty()) {
      Mark(pending_, n);
      pending_ = {};
    }
    map_.size += n;
  }
  std::int32_t version() const { return version_; }

 private:
  FileMap& map_;
  std::int32_t version_;
  std::string section_;
  std::string_view pending_;
};

// Class and object numbering as the archive format defines it.
class Numbering {
 public:
  void Tag(MapArchive& ar, int slot, std::size_t nameLength) {
    if (index_[slot] == 0) {
      ar.Take(2);
      ar.Mark(kRuleSchema, 2);
      ar.Take(2 + 2 + nameLength);
      index_[slot] = running_++;
    } else {
      ar.Take(index_[slot] < 0x7FFF ? 2 : 6);
    }
  }
  void Object() { ++running_; }

 private:
  std::array<std::uint32_t, 9> index_{};
  std::uint32_t running_ = 1;
};

void Count(MapArchive& ar, std::uint64_t n) {
  const std::uint64_t bytes = n < 0xFFFF ? 2 : 6;
  ar.Mark(kRuleCounts, bytes);
  ar.Take(bytes);
}

void Entities(MapArchive& ar, Numbering& numbering, const EntityTables& tables) {
  std::uint64_t n = 0;
  for (const TEntRef& ref : tables.order) n += (ref.kind >= kLine && ref.kind <= kBlockInsert);
  Count(ar, n);
  for (const TEntRef& ref : tables.order) {
    if (ref.kind < kLine || ref.kind > kBlockInsert) continue;
    numbering.Tag(ar, ref.kind, std::string_view(layout::ClassName(ref.kind)).size());
    layout::EntityBody(ar, tables, ref, ar.version());
    numbering.Object();
  }
}

}  // namespace

const MappedField* FileMap::RuleAt(std::uint64_t offset) const {
  auto it = std::upper_bound(ruleFields.begin(), ruleFields.end(), offset,
                             [](std::uint64_t o, const MappedField& f) { return o < f.offset; });
  if (it == ruleFields.begin()) return nullptr;
  --it;
  return offset < it->offset + it->size ? &*it : nullptr;
}

std::uint64_t FileMap::SectionStart(std::string_view prefix) const {
  for (const auto& [name, start] : sections) {
    if (name.starts_with(prefix)) return start;
  }
  throw std::runtime_error("no section " + std::string(prefix));
}

FileMap MapFile(Drawing& d, std::int32_t version) {
  FileMap map;
  MapArchive ar(map, version);
  ar.Section("signature");
  ar.Take(8);
  ar.Section("version");
  ar.Take(4);
  layout::HeaderAfterVersion(ar, std::as_const(d.header), version);

  Numbering numbering;
  ar.Section("entity list");
  Entities(ar, numbering, d.top);
  ar.Section("block definition list");
  Count(ar, d.blockDefs.size());
  for (const TEntBlockDef& def : d.blockDefs) {
    ar.Section("block definition");
    numbering.Tag(ar, 8, std::string_view(layout::kBlockDefinitionClass).size());
    layout::BlockDefinitionHead(ar, def, version);
    numbering.Object();
    Entities(ar, numbering, def.entities);
  }
  if (version >= 700) {
    ar.Section("image section");
    const std::uint64_t start = map.size;
    MarkImagesInUse(d);
    ar.Take(4);
    for (const TBindImageType& image : d.images) {
      if (!image.inUse) continue;
      ar.Section("image");
      ar.str(image.name);
      ar.Take(4);
      ar.Section("image data");
      ar.Take(std::filesystem::file_size(image.tempFile));
    }
    map.ruleFields.push_back(MappedField{start, map.size - start, kRuleImages, "image section"});
  }
  ar.Section("end");
  return map;
}

}  // namespace drawing_test
