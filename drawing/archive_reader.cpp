#include "drawing/archive_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/file_error.h"
#include "platform/file_io.h"

namespace jww {

ArchiveReader::~ArchiveReader() {
  Close();
}

bool ArchiveReader::Open(const std::filesystem::path& path, bool wholeFile) {
  Close();
  errno = 0;
  file_ = platform::OpenFile(path, "rb");
  if (!file_) {
    systemError_ = platform::LastFileError();
    error_ = systemError_.message();
    return false;
  }
  const std::optional<std::uint64_t> size = platform::OpenFileSize(file_);
  if (!size) {
    error_ = ErrnoText();
    Close();
    return false;
  }
  fileSize_ = *size;
  // A drawing of ordinary size comes in with one read; a larger one (with
  // big images) a buffer at a time.
  if (!wholeFile) {
    storage_.resize(kHeaderBufferSize);
  } else if (fileSize_ <= kWholeFileLimit) {
    storage_.resize(std::max<std::size_t>(static_cast<std::size_t>(fileSize_), 16));
  } else {
    storage_.resize(kBufferSize);
  }
  buf_ = storage_.data();
  pos_ = end_ = 0;
  consumed_ = 0;
  return true;
}

void ArchiveReader::OpenMemory(const void* data, std::size_t size) {
  Close();
  buf_ = static_cast<const unsigned char*>(data);
  pos_ = 0;
  end_ = size;
  consumed_ = 0;
  fileSize_ = size;
}

void ArchiveReader::Close() {
  if (file_) platform::CloseFile(file_);
  file_ = nullptr;
}

std::string ArchiveReader::ErrnoText() {
  return errno != 0 ? std::strerror(errno) : "unknown error";
}

std::size_t ArchiveReader::ReadFromFile(unsigned char* into, std::size_t n) {
  bool failed = false;
  const std::size_t got = platform::ReadFile(file_, into, n, failed);
  if (failed) {
    systemError_ = std::error_code(errno != 0 ? errno : EIO, std::generic_category());
    error_ = "cannot read the file: " + ErrnoText();
    Fail(error_);
  }
  return got;
}

void ArchiveReader::Fail(const std::string& what) const {
  throw ArchiveError(what + " at byte " + std::to_string(offset()) + " (" + section_ + ")",
                     offset(), section_);
}

bool ArchiveReader::Refill(std::size_t keep) {
  if (!file_) return false;
  // Move the unread tail to the front, then fill the rest from the file.
  const std::size_t tail = end_ - pos_;
  if (tail + keep > storage_.size()) storage_.resize(tail + keep);
  unsigned char* base = storage_.data();
  if (pos_ > 0 && tail > 0) std::memmove(base, base + pos_, tail);
  consumed_ += pos_;
  pos_ = 0;
  end_ = tail;
  buf_ = base;
  while (end_ < storage_.size()) {
    const std::size_t got = ReadFromFile(base + end_, storage_.size() - end_);
    if (got == 0) break;
    end_ += got;
    if (end_ - pos_ >= keep) break;
  }
  return end_ - pos_ >= keep;
}

const unsigned char* ArchiveReader::TakeSlow(std::size_t n) {
  if (!Refill(n)) Fail("file ends inside a field");
  const unsigned char* p = buf_ + pos_;
  pos_ += n;
  return p;
}

void ArchiveReader::bytes(void* dst, std::size_t n) {
  auto* out = static_cast<unsigned char*>(dst);
  while (n > 0) {
    if (pos_ == end_ && !Refill(1)) Fail("file ends inside a field");
    const std::size_t step = std::min(n, end_ - pos_);
    std::memcpy(out, buf_ + pos_, step);
    pos_ += step;
    out += step;
    n -= step;
  }
}

std::size_t ArchiveReader::StringLength(std::uint8_t first) {
  if (first < 0xFF) return first;
  std::uint16_t w = 0;
  u16(w);
  if (w < 0xFFFF) return w;
  std::uint32_t d = 0;
  u32(d);
  return d;
}

void ArchiveReader::str(JwwString& s) {
  std::uint8_t first = 0;
  u8(first);
  std::uint64_t byteCount = 0;
  bool wide = false;
  if (first == 0xFF) {
    std::uint16_t w = 0;
    u16(w);
    if (w == 0xFFFE) {
      wide = true;
      std::uint8_t again = 0;
      u8(again);
      byteCount = 2 * static_cast<std::uint64_t>(StringLength(again));
    } else if (w == 0xFFFF) {
      std::uint32_t d = 0;
      u32(d);
      byteCount = d;
    } else {
      byteCount = w;
    }
  } else {
    byteCount = first;
  }
  if (byteCount > remaining())
    Fail("string of " + std::to_string(byteCount) + " bytes runs past the end");
  s.wide = wide;
  s.bytes.resize(static_cast<std::size_t>(byteCount));
  bytes(s.bytes.data(), s.bytes.size());
}

std::uint32_t ArchiveReader::count() {
  std::uint16_t c = 0;
  u16(c);
  if (c != 0xFFFF) return c;
  std::uint32_t d = 0;
  u32(d);
  return d;
}

ClassTag ArchiveReader::tag() {
  ClassTag t;
  std::uint16_t w = 0;
  u16(w);
  if (w == 0xFFFF) {
    std::uint16_t schema = 0, nameLength = 0;
    u16(schema);
    u16(nameLength);
    t.isNew = true;
    t.name.resize(nameLength);
    bytes(t.name.data(), nameLength);
  } else if (w == 0x7FFF) {
    std::uint32_t d = 0;
    u32(d);
    t.index = d & 0x7FFFFFFFu;
  } else {
    t.index = static_cast<std::int64_t>(w) - 0x8000;
  }
  return t;
}

void ArchiveReader::skip(std::uint64_t n) {
  char scratch[4096];
  while (n > 0) {
    const std::size_t step = static_cast<std::size_t>(std::min<std::uint64_t>(n, sizeof scratch));
    bytes(scratch, step);
    n -= step;
  }
}

std::size_t ArchiveReader::readSome(char* dst, std::size_t n) {
  std::size_t done = 0;
  while (done < n) {
    if (pos_ == end_) {
      if (!file_) break;
      // Large reads go straight to the destination, bypassing the buffer.
      if (n - done >= storage_.size()) {
        consumed_ += pos_;
        pos_ = end_ = 0;
        const std::size_t got =
            ReadFromFile(reinterpret_cast<unsigned char*>(dst + done), n - done);
        consumed_ += got;
        done += got;
        break;
      }
      if (!Refill(1)) {
        if (pos_ == end_) break;
      }
    }
    const std::size_t step = std::min(n - done, end_ - pos_);
    std::memcpy(dst + done, buf_ + pos_, step);
    pos_ += step;
    done += step;
  }
  return done;
}

}  // namespace jww
