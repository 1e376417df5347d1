#include "drawing/archive_writer.h"

#include <cerrno>
#include <cstring>

#include "platform/file_io.h"

namespace jww {

namespace {
// Most drawings go out in one write.
constexpr std::size_t kBufferSize = 1 << 20;
}  // namespace

ArchiveWriter::ArchiveWriter(std::FILE* file) : file_(file), buf_(kBufferSize) {}
ArchiveWriter::ArchiveWriter(std::string* memory) : memory_(memory), buf_(kBufferSize) {}

ArchiveWriter::~ArchiveWriter() {
  // Callers flush explicitly; a destructor must not throw.
  try {
    Flush();
  } catch (const ArchiveWriteError&) {
  }
}

void ArchiveWriter::Flush() {
  if (fill_ == 0) return;
  if (memory_) {
    memory_->append(reinterpret_cast<const char*>(buf_.data()), fill_);
  } else {
    errno = 0;
    if (!platform::WriteFile(file_, buf_.data(), fill_)) {
      fill_ = 0;
      throw ArchiveWriteError("write failed",
                              std::error_code(errno != 0 ? errno : EIO, std::generic_category()));
    }
  }
  written_ += fill_;
  fill_ = 0;
}

void ArchiveWriter::PutSlow(const void* src, std::size_t n) {
  const auto* p = static_cast<const unsigned char*>(src);
  while (n > 0) {
    if (fill_ == buf_.size()) Flush();
    const std::size_t step = std::min(n, buf_.size() - fill_);
    std::memcpy(buf_.data() + fill_, p, step);
    fill_ += step;
    p += step;
    n -= step;
  }
}

void ArchiveWriter::Length(std::uint64_t n) {
  if (n < 0xFF) {
    u8(static_cast<std::uint8_t>(n));
  } else if (n < 0xFFFE) {
    u8(0xFF);
    u16(static_cast<std::uint16_t>(n));
  } else {
    if (n > 0xFFFFFFFFu) throw ArchiveWriteError("string too long for the archive");
    u8(0xFF);
    u16(0xFFFF);
    u32(static_cast<std::uint32_t>(n));
  }
}

void ArchiveWriter::str(const JwwString& s) {
  if (s.wide) {
    u8(0xFF);
    u16(0xFFFE);
    Length(s.units());
    Put(s.bytes.data(), s.units() * 2);
  } else {
    Length(s.bytes.size());
    Put(s.bytes.data(), s.bytes.size());
  }
}

void ArchiveWriter::count(std::uint32_t c) {
  if (c < 0xFFFF) {
    u16(static_cast<std::uint16_t>(c));
  } else {
    u16(0xFFFF);
    u32(c);
  }
}

void ArchiveWriter::newClassTag(std::uint16_t schema, const std::string& name) {
  u16(0xFFFF);
  u16(schema);
  u16(static_cast<std::uint16_t>(name.size()));
  Put(name.data(), name.size());
}

void ArchiveWriter::classReference(std::uint32_t classIndex) {
  if (classIndex < 0x7FFF) {
    u16(static_cast<std::uint16_t>(0x8000 + classIndex));
  } else {
    u16(0x7FFF);
    u32(0x80000000u + classIndex);
  }
}

}  // namespace jww
