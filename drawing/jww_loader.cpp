#include "drawing/jww_loader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#include "drawing/archive_reader.h"
#include "drawing/jww_layout.h"
#include "platform/file_error.h"
#include "platform/file_io.h"

namespace jww {

namespace {

constexpr std::int32_t kOldestVersion = 220;

// The two failures a caller tells apart from other damage.
class ImageCutShort : public ArchiveError {
  using ArchiveError::ArchiveError;
};
class LoadTooLarge : public ArchiveError {
  using ArchiveError::ArchiveError;
};

constexpr std::size_t kSmallestEntity =
    std::min({sizeof(TEntSen), sizeof(TEntEnko), sizeof(TEntTen), sizeof(TEntMoji),
              sizeof(TEntSunpo), sizeof(TEntSolid), sizeof(TEntBlock)});

std::string Megabytes(std::uint64_t bytes) {
  return std::to_string((bytes + 999'999) / 1'000'000) + " MB";
}

// The reading direction of the layout: every hook hands back the field.
class LoadArchive : public ArchiveReader {
 public:
  template <class A>
  A& adjustAttr(A& a, AttrRule) {
    return a;
  }
  JwwString& adjustString(JwwString& s) { return s; }
  std::uint32_t& adjustReserved(std::uint32_t& v) { return v; }
  std::int32_t& adjustMaxDrawWidth(std::int32_t& v) { return v; }
  void displayFlag11(THeader& h) {
    std::uint32_t stored = 0;
    u32(stored);
    SplitDisplayFlag11(h, stored);
  }
  void keptF64(bool keep, double& v) {
    double scratch = 0;
    f64(keep ? v : scratch);
  }
  void str(JwwString& s) {
    ArchiveReader::str(s);
    // A short string lives inside its record.
    if (s.bytes.capacity() > std::string().capacity()) Take(s.bytes.capacity() + 1);
  }

  // The memory the load may still take for its tables and strings.
  void SetBudget(std::uint64_t bytes) { limit_ = left_ = bytes; }
  void Take(std::uint64_t bytes) {
    if (bytes > left_) {
      throw LoadTooLarge("out of memory: the drawing needs more than " + Megabytes(limit_) +
                             " for a file of " + Megabytes(size()) + ", at byte " +
                             std::to_string(offset()) + " (" + section() + ")",
                         offset(), section());
    }
    left_ -= bytes;
  }
  bool CanTake(std::uint64_t bytes) const { return bytes <= left_; }
  // Fails at once when the entries a count announces could never fit, long
  // before the tables have grown that far.
  void Foresee(std::uint64_t entries, std::uint64_t bytesEach) {
    if (!CanTake(entries * bytesEach)) Take(entries * bytesEach);
  }
  void GiveBack(std::uint64_t bytes) { left_ = std::min(limit_, left_ + bytes); }

 private:
  std::uint64_t limit_ = 0, left_ = 0;
};

// Appends an entry to a table that grows within the budget: by doubling, or
// by a quarter where doubling would not fit. While the entries move, the old
// and the new buffer are both held.
template <class T>
T& AppendWithin(LoadArchive& ar, std::vector<T>& table) {
  if (table.size() == table.capacity()) {
    const std::size_t held = table.capacity();
    std::size_t grown = held == 0 ? 1 : 2 * held;
    if (!ar.CanTake(grown * sizeof(T))) grown = held + held / 4 + 1;
    ar.Take(grown * sizeof(T));
    table.reserve(grown);
    ar.GiveBack(held * sizeof(T));
  }
  return table.emplace_back();
}

// Class tags of one file: the running index and which class index stands for
// each entity kind.
class ClassResolver {
 public:
  std::int32_t runningIndex = 1;

  // Resolves the tag of an entity to its kind, 0 when not recognised.
  std::int32_t Entity(const ClassTag& tag) {
    if (tag.isNew) {
      const std::int32_t index = runningIndex++;
      for (std::int32_t kind = kLine; kind <= kBlockInsert; ++kind) {
        if (tag.name == layout::ClassName(kind)) {
          known_[kind] = index;
          return kind;
        }
      }
      return kUnknown;
    }
    static constexpr std::int32_t kOrder[] = {kBlockInsert, kSolid, kDimension, kText,
                                              kPoint,       kArc,   kLine};
    for (std::int32_t kind : kOrder) {
      if (known_[kind] != 0 && known_[kind] == tag.index) return kind;
    }
    return kUnknown;
  }
  // Block definitions: the class is taken without checking it.
  void BlockDefinition(const ClassTag& tag) {
    if (tag.isNew) ++runningIndex;
  }

 private:
  std::array<std::int64_t, kEntityKindCount + 1> known_{};  // 0: not seen yet
};

template <class Rec>
Rec& Append(LoadArchive& ar, std::vector<Rec>& table, EntityTables& tables, std::int32_t kind,
            std::size_t position) {
  AppendWithin(ar, table);
  tables.order[position] = TEntRef{kind, static_cast<std::int32_t>(table.size() - 1)};
  return table.back();
}

void ReadEntityList(LoadArchive& ar, ClassResolver& classes, EntityTables& tables,
                    std::uint32_t count, std::int32_t v) {
  ar.Foresee(count, sizeof(TEntRef) + kSmallestEntity);
  ar.Take(std::uint64_t{count} * sizeof(TEntRef));
  tables.order.assign(count, TEntRef{});
  for (std::size_t read = 0; read < count; ++read) {
    const std::uint64_t tagOffset = ar.offset();
    const ClassTag tag = ar.tag();
    const std::int32_t kind = classes.Entity(tag);
    switch (kind) {
      case kLine:
        layout::LineBody(ar, Append(ar, tables.lines, tables, kind, read), AttrRule::kLine, v);
        break;
      case kArc:
        layout::ArcBody(ar, Append(ar, tables.arcs, tables, kind, read), v);
        break;
      case kPoint:
        layout::PointBody(ar, Append(ar, tables.points, tables, kind, read), v);
        break;
      case kText:
        layout::TextBody(ar, Append(ar, tables.texts, tables, kind, read), v);
        break;
      case kDimension:
        layout::DimensionBody(ar, Append(ar, tables.dimensions, tables, kind, read), v);
        break;
      case kSolid:
        layout::SolidBody(ar, Append(ar, tables.solids, tables, kind, read), v);
        break;
      case kBlockInsert:
        layout::BlockInsertBody(ar, Append(ar, tables.blockInserts, tables, kind, read), v);
        break;
      default: {
        // The length of an unknown object is not stored, so nothing after it
        // can be read.
        std::string what =
            tag.isNew ? "unknown class \"" + tag.name + "\""
                      : "class reference " + std::to_string(tag.index) + " to no entity class";
        throw ArchiveError(
            what + " at byte " + std::to_string(tagOffset) + " (" + ar.section() + ")", tagOffset,
            ar.section());
      }
    }
    ++classes.runningIndex;
  }
}

std::uint32_t ReadListCount(LoadArchive& ar, std::uint64_t minBytesEach, const char* what) {
  const std::uint64_t at = ar.offset();
  const std::uint32_t count = ar.count();
  if (static_cast<std::uint64_t>(count) * minBytesEach > ar.remaining() || count > 0x7FFFFFFFu) {
    throw ArchiveError(std::string(what) + " count " + std::to_string(count) +
                           " is more than the file can hold at byte " + std::to_string(at),
                       at, ar.section());
  }
  return count;
}

void ReadBlockDefinitions(LoadArchive& ar, ClassResolver& classes, Drawing& d, std::int32_t v) {
  ar.setSection("block definition list");
  d.header.blockDefinitionCount = 0;
  const std::uint32_t count = ReadListCount(ar, layout::MinBlockDefBytes(v), "block definition");
  d.header.blockDefinitionCount = static_cast<std::int32_t>(count);
  ar.Foresee(count, sizeof(TEntBlockDef));
  // The table grows with what is read: a definition takes far more memory
  // than its fewest bytes in the file, so sizing it to a count that garbage
  // could give would allocate many times the file.
  d.blockDefs.clear();
  for (std::uint32_t p = 0; p < count; ++p) {
    ar.setSection("block definition list");
    TEntBlockDef& def = AppendWithin(ar, d.blockDefs);
    def.entities = d.TakeSpareTables();
    classes.BlockDefinition(ar.tag());
    layout::BlockDefinitionHead(ar, def, v);
    const std::uint32_t entities = ReadListCount(ar, layout::MinEntityBytes(v), "block entity");
    def.entityCount = static_cast<std::int32_t>(entities);
    ++classes.runningIndex;
    ar.setSection("block definition entities");
    ReadEntityList(ar, classes, def.entities, entities, v);
  }
}

// The image entries, each image's bytes streamed into a temp file of its own.
void ReadImages(LoadArchive& ar, Drawing& d) {
  ar.setSection("image section");
  d.ClearImageList();
  const ImageOptions& options = d.imageOptions;
  if (!options.readSection && !options.extract) return;
  std::int32_t count = 0;
  const std::uint64_t at = ar.offset();
  ar.i32(count);
  if (count <= 0) return;
  if (static_cast<std::uint64_t>(count) * 5 > ar.remaining()) {
    throw ArchiveError("image count " + std::to_string(count) +
                           " is more than the file can hold at byte " + std::to_string(at),
                       at, ar.section());
  }
  // Grown entry by entry, as the block definitions are.
  std::vector<char> chunk(1 << 16);
  for (std::int32_t i = 0; i < count; ++i) {
    TBindImageType& image = AppendWithin(ar, d.images);
    ar.str(image.name);
    ar.u32(image.size);
    if (image.name.empty() || image.size == 0) continue;
    std::FILE* out = nullptr;
    if (options.extract) {
      if (options.tempFolder.empty()) {
        throw ArchiveError("no temp folder to extract image " + std::to_string(i + 1) + " into",
                           ar.offset(), ar.section());
      }
      image.tempFile =
          options.tempFolder / ("image-" + std::to_string(i) + "-" +
                                std::filesystem::path(platform::UniqueSuffix()).string() + ".bin");
      out = platform::CreatePrivateFile(image.tempFile);
      if (!out) {
        image.tempFile.clear();
        throw ArchiveError("cannot create a temp file for image " + std::to_string(i + 1),
                           ar.offset(), ar.section());
      }
    }
    std::uint64_t left = image.size;
    bool writeFailed = false;
    while (left > 0) {
      const std::size_t want =
          static_cast<std::size_t>(std::min<std::uint64_t>(left, chunk.size()));
      const std::size_t got = ar.readSome(chunk.data(), want);
      if (out && got > 0 && !platform::WriteFile(out, chunk.data(), got)) writeFailed = true;
      left -= got;
      if (got < want) break;
    }
    if (out && !platform::CloseFile(out)) writeFailed = true;
    if (writeFailed) {
      std::error_code ec;
      platform::RemoveFile(image.tempFile, ec);
      image.tempFile.clear();
      throw ArchiveError("cannot write the temp file for image " + std::to_string(i + 1),
                         ar.offset(), ar.section());
    }
    // Written out as far as it goes, the image would look whole to the
    // drafter in the converted drawing.
    if (left > 0) {
      throw ImageCutShort("the embedded image " + std::to_string(i + 1) + " of " +
                              std::to_string(count) + " is cut short by the end of the file (" +
                              std::to_string(image.size - left) + " of " +
                              std::to_string(image.size) + " bytes)",
                          ar.offset(), ar.section());
    }
  }
}

// Jw_cad ends a drawing with its last section. Bytes after it mean damage:
// a zeroed or overwritten tail reads as empty lists and would otherwise
// load as a drawing that lost its entities. Only the sizes are compared, so
// a long tail is never read.
void ExpectEndOfFile(LoadArchive& ar) {
  if (ar.remaining() == 0) return;
  ar.setSection("end of the drawing");
  ar.Fail(std::to_string(ar.remaining()) + " bytes left after the last section");
}

constexpr const char* kNotJww = "not a JWW drawing (no \"JwwData.\" signature)";

LoadResult Load(Drawing& d, LoadArchive& ar) {
  ar.SetBudget(kLoadMemoryPerFileByte * ar.size() + kLoadMemoryFloor);
  try {
    d.SizeHeaderTables();
    ar.setSection("signature");
    char signature[8];
    if (ar.size() < sizeof signature) return {LoadFailure::kNotJww, kNotJww};
    ar.bytes(signature, sizeof signature);
    if (std::memcmp(signature, "JwwData.", sizeof signature) != 0)
      return {LoadFailure::kNotJww, kNotJww};
    d.header.signature.assign(signature, strnlen(signature, sizeof signature));
    ar.setSection("version");
    ar.i32(d.header.version);
    const std::int32_t v = d.header.version;
    if (v < kOldestVersion) {
      return {LoadFailure::kDamaged, "version " + std::to_string(v) + " is older than 220"};
    }
    layout::HeaderAfterVersion(ar, d.header, v);

    ar.setSection("entity list");
    const std::uint32_t count = ReadListCount(ar, layout::MinEntityBytes(v), "entity");
    d.header.entityCount = static_cast<std::int32_t>(count);
    ClassResolver classes;
    ReadEntityList(ar, classes, d.top, count, v);
    ReadBlockDefinitions(ar, classes, d, v);
    if (layout::HasImages(v)) {
      // With the image section switched off, nothing after the block
      // definitions is looked at.
      if (!d.imageOptions.readSection && !d.imageOptions.extract) return {};
      ReadImages(ar, d);
    }
    ExpectEndOfFile(ar);
    return {};
  } catch (const ImageCutShort& e) {
    return {LoadFailure::kImageCutShort, e.what()};
  } catch (const LoadTooLarge& e) {
    return {LoadFailure::kOutOfMemory, e.what()};
  } catch (const ArchiveError& e) {
    if (ar.systemError()) return {LoadFailure::kCannotRead, e.what(), ar.systemError()};
    return {LoadFailure::kDamaged, e.what()};
  } catch (const std::bad_alloc&) {
    return {LoadFailure::kOutOfMemory, "out of memory at byte " + std::to_string(ar.offset())};
  } catch (const std::out_of_range& e) {
    return {LoadFailure::kDamaged,
            std::string("table index out of range at byte ") + std::to_string(ar.offset())};
  }
}

}  // namespace

LoadResult LoadJww(Drawing& d, const std::filesystem::path& path) {
  d.Reset();
  d.ClearImageList();
  LoadArchive ar;
  if (!ar.Open(path, true)) {
    const std::error_code error = ar.systemError();
    const bool notFile =
        error == platform::NotRegularFileError() || error == std::errc::is_a_directory;
    return {notFile ? LoadFailure::kNotRegularFile : LoadFailure::kCannotOpen,
            "cannot open the file: " + ar.error(), error};
  }
  return Load(d, ar);
}

LoadResult LoadJwwFromMemory(Drawing& d, const void* data, std::size_t size) {
  d.Reset();
  d.ClearImageList();
  LoadArchive ar;
  ar.OpenMemory(data, size);
  return Load(d, ar);
}

}  // namespace jww
