// The lists after the header, run in both directions as the header is: the
// top-level entity list, the block definition list and the image section,
// with the class tags that number a file's objects. Besides the header's
// hooks, each archive supplies these, where the two directions differ:
//   entityCount(tables, field, what, v)  an entity list's count
//   reserveEntities(tables, count)       room for the entities of a list
//   entityClass(classes, tables, i)      the i-th entity's class tag; gives
//                                        its reference, of no kind when the
//                                        entity is not in the file
//   blockDefinitionCount(d, v)           the block definition list's count
//   blockDefinition(d, i)                the i-th block definition
//   blockDefinitionClass(classes)        a block definition's class tag
//   imageCount(d)                        the image count; gives the number
//                                        of entries to run
//   imageEntry(d, i)                     the i-th entry, null when not in
//                                        the file
//   imageSize(image)                     an image's size field
//   imageBytes(d, image, i, count)       an image's bytes
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "drawing/archive_reader.h"
#include "drawing/jww_layout.h"

namespace jww::layout {

constexpr bool IsEntityKind(std::int32_t kind) {
  return kind >= kLine && kind <= kBlockInsert;
}

// The entity kind whose class has this name; kUnknown for none.
inline std::int32_t KindOfClass(const std::string& name) {
  for (std::int32_t kind = kLine; kind <= kBlockInsert; ++kind) {
    if (name == ClassName(kind)) return kind;
  }
  return kUnknown;
}

// The class numbering of one file. Every new class and every object takes
// the next running index; an object of a class seen before is tagged with
// the index its class took. Slots are the entity kinds and block
// definitions.
class ClassNumbering {
 public:
  static constexpr int kBlockDefinitionSlot = 8;

  // Writing: the tag before an object of `slot`.
  ClassTag TagFor(int slot) {
    ClassTag tag;
    if (index_[slot] != 0) {
      tag.index = index_[slot];
      return tag;
    }
    tag.isNew = true;
    tag.name = slot == kBlockDefinitionSlot ? kBlockDefinitionClass : ClassName(slot);
    index_[slot] = running_++;
    return tag;
  }
  // Reading: the entity kind a tag stands for, kUnknown when it names none.
  std::int32_t EntityKind(const ClassTag& tag) {
    if (!tag.isNew) {
      for (std::int32_t kind = kLine; kind <= kBlockInsert; ++kind) {
        if (index_[kind] != 0 && index_[kind] == tag.index) return kind;
      }
      return kUnknown;
    }
    const std::int32_t kind = KindOfClass(tag.name);
    const std::uint32_t index = running_++;
    if (kind != kUnknown) index_[kind] = index;
    return kind;
  }
  // Reading: a block definition's class is taken without checking it.
  void BlockDefinition(const ClassTag& tag) {
    if (tag.isNew) index_[kBlockDefinitionSlot] = running_++;
  }
  void Object() { ++running_; }

 private:
  std::uint32_t running_ = 1;
  std::array<std::uint32_t, kBlockDefinitionSlot + 1> index_{};  // 0: not seen yet
};

// The entities of one list after its count, each as its class tag and body.
template <class Ar, class T>
void EntityList(Ar& ar, ClassNumbering& classes, T& tables, std::uint32_t count, std::int32_t v) {
  ar.reserveEntities(tables, count);
  for (std::size_t i = 0; i < tables.order.size(); ++i) {
    const TEntRef ref = ar.entityClass(classes, tables, i);
    if (!IsEntityKind(ref.kind)) continue;
    EntityBody(ar, tables, ref, v);
    classes.Object();
  }
}

// Each definition: its class tag, its head, then its own entity list.
template <class Ar, class D>
void BlockDefinitionList(Ar& ar, ClassNumbering& classes, D& d, std::int32_t v) {
  ar.setSection("block definition list");
  const std::uint32_t count = ar.blockDefinitionCount(d, v);
  for (std::uint32_t i = 0; i < count; ++i) {
    ar.setSection("block definition list");
    auto& def = ar.blockDefinition(d, i);
    ar.blockDefinitionClass(classes);
    BlockDefinitionHead(ar, def, v);
    const std::uint32_t entities = ar.entityCount(def.entities, def.entityCount, "block entity", v);
    classes.Object();
    ar.setSection("block definition entities");
    EntityList(ar, classes, def.entities, entities, v);
  }
}

// Everything between the header and the image section. The block
// definitions continue the numbering of the top-level entities.
template <class Ar, class D>
void EntityLists(Ar& ar, D& d, std::int32_t v) {
  ClassNumbering classes;
  ar.setSection("entity list");
  const std::uint32_t count = ar.entityCount(d.top, d.header.entityCount, "entity", v);
  EntityList(ar, classes, d.top, count, v);
  BlockDefinitionList(ar, classes, d, v);
}

// The image count, then per image its name, its size and its bytes.
template <class Ar, class D>
void ImageSection(Ar& ar, D& d) {
  ar.setSection("image section");
  const std::size_t entries = ar.imageCount(d);
  for (std::size_t i = 0; i < entries; ++i) {
    auto* image = ar.imageEntry(d, i);
    if (!image) continue;
    ar.str(image->name);
    ar.u32(ar.imageSize(*image));
    ar.imageBytes(d, *image, i, entries);
  }
}

}  // namespace jww::layout
