#include "drawing/jww_loader.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "drawing/archive_reader.h"
#include "drawing/jww_layout_lists.h"
#include "drawing/layout_reader.h"
#include "platform/file_error.h"
#include "platform/file_io.h"

namespace jww {

namespace {

constexpr std::int32_t kOldestVersion = 220;

// The failures a caller tells apart from other damage.
class NoSignature : public ArchiveError {
  using ArchiveError::ArchiveError;
};
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

std::uint32_t ReadListCount(ArchiveReader& ar, std::uint64_t minBytesEach, const char* what) {
  const std::uint64_t at = ar.offset();
  const std::uint32_t count = ar.count();
  if (static_cast<std::uint64_t>(count) * minBytesEach > ar.remaining() || count > 0x7FFFFFFFu) {
    throw ArchiveError(std::string(what) + " count " + std::to_string(count) +
                           " is more than the file can hold at byte " + std::to_string(at),
                       at, ar.section());
  }
  return count;
}

// The reading direction of the layout, within a memory budget: the tables
// grow as entries are read, never to what a count announces.
class LoadArchive : public LayoutReader {
 public:
  void signature(std::string& s) {
    char bytesRead[layout::kSignatureBytes];
    if (size() < sizeof bytesRead) throw NoSignature("no signature", offset(), section());
    bytes(bytesRead, sizeof bytesRead);
    if (std::memcmp(bytesRead, layout::kSignature, sizeof bytesRead) != 0) {
      throw NoSignature("no signature", offset(), section());
    }
    s.assign(bytesRead, strnlen(bytesRead, sizeof bytesRead));
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

  // Appends an entry to a table that grows within the budget: by doubling,
  // or by a quarter where doubling would not fit. While the entries move,
  // the old and the new buffer are both held.
  template <class T>
  T& AppendWithin(std::vector<T>& table) {
    if (table.size() == table.capacity()) {
      const std::size_t held = table.capacity();
      std::size_t grown = held == 0 ? 1 : 2 * held;
      if (!CanTake(grown * sizeof(T))) grown = held + held / 4 + 1;
      Take(grown * sizeof(T));
      table.reserve(grown);
      GiveBack(held * sizeof(T));
    }
    return table.emplace_back();
  }

  // ---- The lists' hooks ----

  std::uint32_t entityCount(EntityTables&, std::int32_t& field, const char* what, std::int32_t v) {
    const std::uint32_t count = ReadListCount(*this, layout::MinEntityBytes(v), what);
    field = static_cast<std::int32_t>(count);
    return count;
  }
  void reserveEntities(EntityTables& tables, std::uint32_t count) {
    Foresee(count, sizeof(TEntRef) + kSmallestEntity);
    Take(std::uint64_t{count} * sizeof(TEntRef));
    tables.order.assign(count, TEntRef{});
  }
  TEntRef entityClass(layout::ClassNumbering& classes, EntityTables& tables, std::size_t i) {
    const std::uint64_t tagOffset = offset();
    const ClassTag tag = this->tag();
    const std::int32_t kind = classes.EntityKind(tag);
    const bool known = layout::WithTable(tables, kind, [&](auto& table) {
      AppendWithin(table);
      tables.order[i] = TEntRef{kind, static_cast<std::int32_t>(table.size() - 1)};
    });
    if (!known) {
      // The length of an unknown object is not stored, so nothing after it
      // can be read.
      std::string what =
          tag.isNew ? "unknown class \"" + tag.name + "\""
                    : "class reference " + std::to_string(tag.index) + " to no entity class";
      throw ArchiveError(what + " at byte " + std::to_string(tagOffset) + " (" + section() + ")",
                         tagOffset, section());
    }
    return tables.order[i];
  }

  std::uint32_t blockDefinitionCount(Drawing& d, std::int32_t v) {
    d.header.blockDefinitionCount = 0;
    const std::uint32_t count =
        ReadListCount(*this, layout::MinBlockDefBytes(v), "block definition");
    d.header.blockDefinitionCount = static_cast<std::int32_t>(count);
    Foresee(count, sizeof(TEntBlockDef));
    // The table grows with what is read: a definition takes far more memory
    // than its fewest bytes in the file, so sizing it to a count that garbage
    // could give would allocate many times the file.
    d.blockDefs.clear();
    return count;
  }
  TEntBlockDef& blockDefinition(Drawing& d, std::uint32_t) {
    TEntBlockDef& def = AppendWithin(d.blockDefs);
    def.entities = d.TakeSpareTables();
    return def;
  }
  void blockDefinitionClass(layout::ClassNumbering& classes) { classes.BlockDefinition(tag()); }

  // Images are grown entry by entry, as the block definitions are, and each
  // image's bytes are streamed into a temp file of its own.
  std::size_t imageCount(Drawing& d);
  TBindImageType* imageEntry(Drawing& d, std::size_t) { return &AppendWithin(d.images); }
  std::uint32_t& imageSize(TBindImageType& image) { return image.size; }
  void imageBytes(const Drawing& d, TBindImageType& image, std::size_t i, std::size_t count);

 private:
  std::uint64_t limit_ = 0, left_ = 0;
  std::vector<char> chunk_;
};

std::size_t LoadArchive::imageCount(Drawing& d) {
  d.ClearImageList();
  if (!d.imageOptions.readSection && !d.imageOptions.extract) return 0;
  std::int32_t count = 0;
  const std::uint64_t at = offset();
  i32(count);
  if (count <= 0) return 0;
  if (static_cast<std::uint64_t>(count) * 5 > remaining()) {
    throw ArchiveError("image count " + std::to_string(count) +
                           " is more than the file can hold at byte " + std::to_string(at),
                       at, section());
  }
  chunk_.resize(1 << 16);
  return static_cast<std::size_t>(count);
}

void LoadArchive::imageBytes(const Drawing& d, TBindImageType& image, std::size_t i,
                             std::size_t count) {
  if (image.name.empty() || image.size == 0) return;
  const ImageOptions& options = d.imageOptions;
  std::FILE* out = nullptr;
  if (options.extract) {
    if (options.tempFolder.empty()) {
      throw ArchiveError("no temp folder to extract image " + std::to_string(i + 1) + " into",
                         offset(), section());
    }
    image.tempFile =
        options.tempFolder / ("image-" + std::to_string(i) + "-" +
                              std::filesystem::path(platform::UniqueSuffix()).string() + ".bin");
    out = platform::CreatePrivateFile(image.tempFile);
    if (!out) {
      image.tempFile.clear();
      throw ArchiveError("cannot create a temp file for image " + std::to_string(i + 1), offset(),
                         section());
    }
  }
  std::uint64_t left = image.size;
  bool writeFailed = false;
  while (left > 0) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(left, chunk_.size()));
    const std::size_t got = readSome(chunk_.data(), want);
    if (out && got > 0 && !platform::WriteFile(out, chunk_.data(), got)) writeFailed = true;
    left -= got;
    if (got < want) break;
  }
  if (out && !platform::CloseFile(out)) writeFailed = true;
  if (writeFailed) {
    std::error_code ec;
    platform::RemoveFile(image.tempFile, ec);
    image.tempFile.clear();
    throw ArchiveError("cannot write the temp file for image " + std::to_string(i + 1), offset(),
                       section());
  }
  // Written out as far as it goes, the image would look whole to the
  // drafter in the converted drawing.
  if (left > 0) {
    throw ImageCutShort("the embedded image " + std::to_string(i + 1) + " of " +
                            std::to_string(count) + " is cut short by the end of the file (" +
                            std::to_string(image.size - left) + " of " +
                            std::to_string(image.size) + " bytes)",
                        offset(), section());
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
    layout::FileStart(ar, d.header);
    const std::int32_t v = d.header.version;
    if (v < kOldestVersion) {
      return {LoadFailure::kDamaged, "version " + std::to_string(v) + " is older than 220"};
    }
    layout::HeaderAfterVersion(ar, d.header, v);
    layout::EntityLists(ar, d, v);
    if (layout::HasImages(v)) {
      // With the image section switched off, nothing after the block
      // definitions is looked at.
      if (!d.imageOptions.readSection && !d.imageOptions.extract) return {};
      layout::ImageSection(ar, d);
    }
    ExpectEndOfFile(ar);
    return {};
  } catch (const NoSignature&) {
    return {LoadFailure::kNotJww, kNotJww};
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
