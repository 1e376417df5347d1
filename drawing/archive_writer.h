// The writing side of the JWW archive: buffered encoding of the primitives,
// in the forms Jw_cad itself writes. A failed write throws ArchiveWriteError.
#pragma once

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "drawing/byte_buffer.h"
#include "drawing/jww_string.h"

namespace jww {

class ArchiveWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  // A write the system refused: the text names the system's reason.
  ArchiveWriteError(const std::string& what, std::error_code error)
      : std::runtime_error(what + ": " + error.message()), error_(error) {}
  const std::error_code& error() const { return error_; }

 private:
  std::error_code error_;
};

class ArchiveWriter {
 public:
  // Writes to an open stream (not owned), or appends to a string.
  explicit ArchiveWriter(std::FILE* file);
  explicit ArchiveWriter(std::string* memory);
  ArchiveWriter(const ArchiveWriter&) = delete;
  ArchiveWriter& operator=(const ArchiveWriter&) = delete;
  ~ArchiveWriter();

  void u8(std::uint8_t v) { Put(&v, 1); }
  void u16(std::uint16_t v) {
    const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
    Put(b, 2);
  }
  void u32(std::uint32_t v) {
    const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                static_cast<unsigned char>(v >> 16),
                                static_cast<unsigned char>(v >> 24)};
    Put(b, 4);
  }
  void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
  void f64(double v) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    unsigned char b[8];
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(b, &bits, sizeof b);
    } else {
      for (int i = 0; i < 8; ++i) b[i] = static_cast<unsigned char>(bits >> (8 * i));
    }
    Put(b, 8);
  }
  void bytes(const void* src, std::size_t n) { Put(src, n); }
  // A string in the form it was read: single-byte or UTF-16, with the
  // shortest length prefix that reads back unambiguously.
  void str(const JwwString& s);
  void count(std::uint32_t c);
  // A new class: 0xFFFF, schema, name length, name.
  void newClassTag(std::uint16_t schema, const std::string& name);
  void classReference(std::uint32_t classIndex);

  void Flush();
  std::uint64_t written() const { return written_ + fill_; }

 private:
  void Put(const void* src, std::size_t n) {
    if (n <= buf_.size() - fill_) {
      std::memcpy(buf_.data() + fill_, src, n);
      fill_ += n;
      return;
    }
    PutSlow(src, n);
  }
  void PutSlow(const void* src, std::size_t n);
  void Length(std::uint64_t n);

  std::FILE* file_ = nullptr;
  std::string* memory_ = nullptr;
  ByteBuffer buf_;
  std::size_t fill_ = 0;
  std::uint64_t written_ = 0;
};

}  // namespace jww
