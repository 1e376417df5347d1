#include "drawing/jww_writer.h"

#include <filesystem>
#include <utility>
#include <vector>

#include "common/func.h"
#include "drawing/archive_writer.h"
#include "drawing/jww_layout_lists.h"
#include "platform/file_io.h"

namespace jww {

namespace {

// ---- Images ----------------------------------------------------------------

// Upper-cases ASCII letters, leaving double-byte characters as they are.
std::u16string UpperUnits(const JwwString& s, std::size_t from, std::size_t to) {
  std::u16string out;
  for (std::size_t i = from; i < to; ++i) {
    char16_t u = static_cast<char16_t>(s.unit(i));
    if (!s.wide && func::IsLeadByte(static_cast<unsigned char>(u)) && i + 1 < to) {
      out.push_back(u);
      out.push_back(static_cast<char16_t>(s.unit(++i)));
      continue;
    }
    if (u >= u'a' && u <= u'z') u = static_cast<char16_t>(u - 'a' + 'A');
    out.push_back(u);
  }
  return out;
}

// The image key of a text "^@BM%temp%NAME,...": NAME upper-cased, or empty.
std::u16string ImageKey(const JwwString& text) {
  static constexpr char kPrefix[] = "^@BM%temp%";
  constexpr std::size_t kPrefixLength = sizeof kPrefix - 1;
  const std::size_t n = text.units();
  if (n < kPrefixLength + 1) return {};
  for (std::size_t i = 0; i < kPrefixLength; ++i) {
    if (text.unit(i) != static_cast<unsigned char>(kPrefix[i])) return {};
  }
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint16_t u = text.unit(i);
    if (!text.wide && func::IsLeadByte(static_cast<unsigned char>(u))) {
      ++i;
      continue;
    }
    if (u == ',') return i > kPrefixLength ? UpperUnits(text, kPrefixLength, i) : std::u16string{};
  }
  return {};
}

void MarkByTexts(Drawing& d, const std::vector<TEntMoji>& texts) {
  for (const TEntMoji& t : texts) {
    const std::u16string key = ImageKey(t.text);
    if (key.empty()) continue;
    for (TBindImageType& image : d.images) {
      if (UpperUnits(image.name, 0, image.name.units()).starts_with(key)) {
        image.inUse = 1;
        break;
      }
    }
  }
}

void CopyFileInto(ArchiveWriter& ar, const std::filesystem::path& file, std::uint64_t size) {
  std::FILE* in = platform::OpenFile(file, "rb");
  if (!in) throw ArchiveWriteError("cannot open an image's temp file");
  std::vector<char> chunk(1 << 16);
  std::uint64_t left = size;
  bool failed = false;
  while (left > 0 && !failed) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(left, chunk.size()));
    const std::size_t got = platform::ReadFile(in, chunk.data(), want, failed);
    ar.bytes(chunk.data(), got);
    left -= got;
    if (got < want) break;
  }
  platform::CloseFile(in);
  if (failed) throw ArchiveWriteError("cannot read an image's temp file");
  if (left != 0) throw ArchiveWriteError("an image's temp file changed while it was copied");
}

// The writing direction of the layout: hooks give the value for the file.
class SaveArchive : public ArchiveWriter {
 public:
  static constexpr bool kReading = false;
  SaveArchive(std::FILE* f, std::int32_t version) : ArchiveWriter(f), version_(version) {}
  SaveArchive(std::string* m, std::int32_t version) : ArchiveWriter(m), version_(version) {}

  void setSection(const char*) {}
  TEntAttr adjustAttr(const TEntAttr& a, AttrRule rule) const {
    return AttrForWrite(a, rule, version_);
  }
  // The string to write; valid until the next call.
  const JwwString& adjustString(const JwwString& s) {
    if (!NeedsFilterForWrite(s)) return s;
    filtered_ = FilterForWrite(s);
    return filtered_;
  }
  std::uint32_t adjustReserved(std::uint32_t) const { return 0; }
  std::int32_t adjustMaxDrawWidth(std::int32_t v) const {
    return MaxDrawWidthForWrite(v, version_);
  }
  void displayFlag11(const THeader& h) { u32(DisplayFlag11ForWrite(h, version_)); }
  void keptF64(bool, double v) { f64(v); }
  std::int32_t adjustVersion(std::int32_t) const { return version_; }
  // Every file starts with the signature, whatever the header holds.
  void signature(const std::string&) { bytes(layout::kSignature, layout::kSignatureBytes); }

  // ---- The lists' hooks ----

  // Only the order list's references to entity kinds are written.
  std::uint32_t entityCount(const EntityTables& tables, std::int32_t, const char*, std::int32_t) {
    std::uint32_t n = 0;
    for (const TEntRef& ref : tables.order) n += layout::IsEntityKind(ref.kind) ? 1 : 0;
    count(n);
    return n;
  }
  void reserveEntities(const EntityTables&, std::uint32_t) {}
  TEntRef entityClass(layout::ClassNumbering& classes, const EntityTables& tables, std::size_t i) {
    const TEntRef ref = tables.order[i];
    if (layout::IsEntityKind(ref.kind)) classTag(classes.TagFor(ref.kind));
    return ref;
  }
  std::uint32_t blockDefinitionCount(const Drawing& d, std::int32_t) {
    const auto n = static_cast<std::uint32_t>(d.blockDefs.size());
    count(n);
    return n;
  }
  const TEntBlockDef& blockDefinition(const Drawing& d, std::uint32_t i) { return d.blockDefs[i]; }
  void blockDefinitionClass(layout::ClassNumbering& classes) {
    classTag(classes.TagFor(layout::ClassNumbering::kBlockDefinitionSlot));
  }

  // The images that texts still refer to, each copied from its temp file.
  std::size_t imageCount(Drawing& d) {
    u32(MarkImagesInUse(d));
    return d.images.size();
  }
  const TBindImageType* imageEntry(const Drawing& d, std::size_t i) {
    const TBindImageType& image = d.images[i];
    if (!image.inUse) return nullptr;
    std::error_code ec;
    const std::uint64_t size = std::filesystem::file_size(image.tempFile, ec);
    if (ec || size > 0xFFFFFFFFu) throw ArchiveWriteError("cannot read an image's temp file");
    imageSize_ = static_cast<std::uint32_t>(size);
    return &image;
  }
  std::uint32_t imageSize(const TBindImageType&) const { return imageSize_; }
  void imageBytes(const Drawing&, const TBindImageType& image, std::size_t, std::size_t) {
    CopyFileInto(*this, image.tempFile, imageSize_);
  }

 private:
  void classTag(const ClassTag& tag) {
    if (tag.isNew) {
      newClassTag(static_cast<std::uint16_t>(version_), tag.name);
    } else {
      classReference(static_cast<std::uint32_t>(tag.index));
    }
  }

  std::int32_t version_;
  JwwString filtered_;
  std::uint32_t imageSize_ = 0;  // of the image entry being written
};

void CheckHeaderTables(const THeader& h) {
  if (h.layerGroups.size() != kLayerGroupCount || h.layers.size() != kLayerCount ||
      h.pens.size() != kPenCount || h.lineTypes.size() != kLineTypeCount ||
      h.randomLines.size() != kRandomLineCount || h.doubleLines.size() != kDoubleLineCount ||
      h.textTypes.size() != kTextTypeCount || h.extendedColours.size() != kExtendedColourCount ||
      h.extendedLineTypes.size() != kExtendedLineTypeCount) {
    throw ArchiveWriteError("the drawing's header tables are not complete");
  }
}

void WriteAll(SaveArchive& ar, Drawing& d, std::int32_t v) {
  CheckHeaderTables(d.header);
  layout::FileStart(ar, std::as_const(d.header));
  layout::HeaderAfterVersion(ar, std::as_const(d.header), v);
  layout::EntityLists(ar, std::as_const(d), v);
  if (layout::HasImages(v)) layout::ImageSection(ar, d);
  ar.Flush();
}

template <class Sink>
SaveResult Run(Drawing& d, Sink sink, std::int32_t version) {
  try {
    SaveArchive ar(sink, version);
    WriteAll(ar, d, version);
    return {true, {}, {}, ar.written()};
  } catch (const ArchiveWriteError& e) {
    return {false, e.what(), e.error()};
  } catch (const std::out_of_range&) {
    return {false, "an entity order list points past its table"};
  } catch (const std::bad_alloc&) {
    return {false, "out of memory"};
  }
}

}  // namespace

std::uint32_t MarkImagesInUse(Drawing& d) {
  for (TBindImageType& image : d.images) image.inUse = 0;
  MarkByTexts(d, d.top.texts);
  for (const TEntBlockDef& def : d.blockDefs) MarkByTexts(d, def.entities.texts);
  std::uint32_t count = 0;
  for (TBindImageType& image : d.images) {
    if (!image.inUse) continue;
    std::error_code ec;
    if (!d.imageOptions.extract || image.tempFile.empty() ||
        !std::filesystem::is_regular_file(image.tempFile, ec)) {
      image.inUse = 0;
      continue;
    }
    ++count;
  }
  return count;
}

SaveResult WriteJww(Drawing& d, PendingFile& file, std::int32_t version) {
  if (!file.stream() && !file.Create()) return {false, file.error()};
  return Run(d, file.stream(), version);
}

SaveResult SaveJww(Drawing& d, const std::filesystem::path& path, std::int32_t version) {
  PendingFile file(path);
  SaveResult result = WriteJww(d, file, version);
  if (!result) return result;
  if (!file.Commit()) return {false, file.error()};
  return result;
}

SaveResult SaveJwwToMemory(Drawing& d, std::int32_t version, std::string& out) {
  out.clear();
  return Run(d, &out, version);
}

}  // namespace jww
