// The reading side of the JWW archive: buffered, forward-only decoding of
// little-endian scalars, strings, counts and class tags. Every field read
// checks that the file holds all of it; a short read throws ArchiveError
// naming the section and byte offset.
#pragma once

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "drawing/byte_buffer.h"
#include "drawing/jww_string.h"

namespace jww {

class ArchiveError : public std::runtime_error {
 public:
  ArchiveError(const std::string& what, std::uint64_t offset, std::string section)
      : std::runtime_error(what), offset_(offset), section_(std::move(section)) {}
  std::uint64_t offset() const { return offset_; }
  const std::string& section() const { return section_; }

 private:
  std::uint64_t offset_;
  std::string section_;
};

// A class tag as found before an object.
struct ClassTag {
  bool isNew = false;
  std::string name;         // new classes only
  std::int64_t index = -1;  // references only; negative refers to no class
};

class ArchiveReader {
 public:
  static constexpr bool kReading = true;

  ArchiveReader() = default;
  ArchiveReader(const ArchiveReader&) = delete;
  ArchiveReader& operator=(const ArchiveReader&) = delete;
  ~ArchiveReader();

  // Opens the file read-only; false (with error()) when it cannot be opened.
  // With `wholeFile`, a file of ordinary size is read in one go (for a whole
  // load); else a few KiB at a time (for a look at its header).
  bool Open(const std::filesystem::path& path, bool wholeFile = false);
  const std::string& error() const { return error_; }
  // The system's reason when opening or reading the file failed.
  const std::error_code& systemError() const { return systemError_; }
  // Reads from memory instead of a file (the bytes must outlive the reader).
  void OpenMemory(const void* data, std::size_t size);
  void Close();

  std::uint64_t offset() const { return consumed_ + pos_; }
  std::uint64_t size() const { return fileSize_; }
  std::uint64_t remaining() const { return fileSize_ > offset() ? fileSize_ - offset() : 0; }

  void setSection(const char* section) { section_ = section; }
  const char* section() const { return section_; }
  [[noreturn]] void Fail(const std::string& what) const;

  // Primitive fields. The names match ArchiveWriter's, so that one layout
  // description drives both directions.
  void u8(std::uint8_t& v) { v = static_cast<std::uint8_t>(*Take(1)); }
  void u16(std::uint16_t& v) { v = Le16(Take(2)); }
  void u32(std::uint32_t& v) { v = Le32(Take(4)); }
  void i32(std::int32_t& v) { v = static_cast<std::int32_t>(Le32(Take(4))); }
  void f64(double& v) {
    const unsigned char* p = Take(8);
    std::uint64_t bits = 0;
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(&bits, p, sizeof bits);
    } else {
      for (int i = 7; i >= 0; --i) bits = (bits << 8) | p[i];
    }
    std::memcpy(&v, &bits, sizeof v);
  }
  void bytes(void* dst, std::size_t n);
  void str(JwwString& s);
  std::uint32_t count();
  ClassTag tag();
  void skip(std::uint64_t n);

  // Up to n bytes, without failing at the end of the file; returns how many
  // were delivered.
  std::size_t readSome(char* dst, std::size_t n);

 private:
  const unsigned char* Take(std::size_t n) {
    if (end_ - pos_ >= n) {
      const unsigned char* p = buf_ + pos_;
      pos_ += n;
      return p;
    }
    return TakeSlow(n);
  }
  const unsigned char* TakeSlow(std::size_t n);
  bool Refill(std::size_t keep);
  std::size_t StringLength(std::uint8_t first);
  static std::uint16_t Le16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
  }
  static std::uint32_t Le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
  }

  // Reads from the file; a read error fails the field being read.
  std::size_t ReadFromFile(unsigned char* into, std::size_t n);
  static std::string ErrnoText();

  static constexpr std::size_t kBufferSize = 1 << 16;
  static constexpr std::size_t kHeaderBufferSize = 8 << 10;
  static constexpr std::uint64_t kWholeFileLimit = 4 << 20;
  std::FILE* file_ = nullptr;
  ByteBuffer storage_;
  const unsigned char* buf_ = nullptr;
  std::size_t pos_ = 0, end_ = 0;
  std::uint64_t consumed_ = 0;  // file bytes before buf_[0]
  std::uint64_t fileSize_ = 0;
  const char* section_ = "file";
  std::string error_;
  std::error_code systemError_;
};

}  // namespace jww
