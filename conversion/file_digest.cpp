#include "conversion/file_digest.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>

#include "platform/file_error.h"
#include "platform/file_io.h"

namespace unit_val {

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kMulA = 0x9E3779B97F4A7C15ull;
constexpr std::uint64_t kMulB = 0xBF58476D1CE4E5B9ull;
constexpr std::uint64_t kMulC = 0x94D049BB133111EBull;
constexpr std::size_t kBlock = 32;  // four lanes of eight bytes

std::uint64_t Rotl(std::uint64_t x, int r) {
  return (x << r) | (x >> (64 - r));
}

std::uint64_t LittleEndian64(const unsigned char* p) {
  std::uint64_t w = 0;
  for (int i = 7; i >= 0; --i) w = (w << 8) | p[i];
  return w;
}

// Four independent multiply-rotate lanes over 32-byte blocks, so that the
// hash keeps up with reading the file; the bytes past the last whole block
// and the size are folded in at the end.
class LaneHash {
 public:
  void Add(const unsigned char* data, std::size_t size) {
    size_ += size;
    if (pendingSize_ > 0) {
      const std::size_t take = std::min(size, kBlock - pendingSize_);
      std::copy(data, data + take, pending_.begin() + static_cast<std::ptrdiff_t>(pendingSize_));
      pendingSize_ += take;
      data += take;
      size -= take;
      if (pendingSize_ < kBlock) return;
      Block(pending_.data());
      pendingSize_ = 0;
    }
    for (; size >= kBlock; data += kBlock, size -= kBlock) Block(data);
    std::copy(data, data + size, pending_.begin());
    pendingSize_ = size;
  }
  std::uint64_t Finish() const {
    std::uint64_t h = size_ * kMulC;
    for (std::uint64_t lane : lanes_) h = Rotl(h ^ (lane * kMulA), 27) * kMulB;
    for (std::size_t i = 0; i < pendingSize_; ++i) h = (h ^ pending_[i]) * kMulC;
    h ^= h >> 30;
    h *= kMulB;
    h ^= h >> 27;
    h *= kMulC;
    return h ^ (h >> 31);
  }

 private:
  void Block(const unsigned char* p) {
    for (std::size_t k = 0; k < lanes_.size(); ++k) {
      lanes_[k] = Rotl(lanes_[k] ^ (LittleEndian64(p + 8 * k) * kMulA), 29) * kMulB;
    }
  }

  std::array<std::uint64_t, 4> lanes_{1, 2, 3, 4};
  std::array<unsigned char, kBlock> pending_{};
  std::size_t pendingSize_ = 0;
  std::uint64_t size_ = 0;
};

}  // namespace

std::uint64_t HashOfBytes(std::string_view bytes) {
  LaneHash hash;
  hash.Add(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  return hash.Finish();
}

std::optional<FileDigest> DigestOf(const fs::path& path, std::error_code& ec) {
  ec.clear();
  std::error_code statError;
  const fs::file_status status = fs::symlink_status(path, statError);
  if (!fs::exists(status)) return std::nullopt;
  if (!fs::is_regular_file(status)) {
    ec = std::make_error_code(std::errc::invalid_argument);
    return std::nullopt;
  }
  std::FILE* file = platform::OpenFile(path, "rb");
  if (!file) {
    ec = platform::LastFileError();
    return std::nullopt;
  }
  FileDigest digest;
  LaneHash hash;
  // Not zero-filled: a run takes the digest of every file it wrote.
  std::array<unsigned char, std::size_t{64} << 10> buffer;
  bool failed = false;
  for (;;) {
    const std::size_t got = platform::ReadFile(file, buffer.data(), buffer.size(), failed);
    hash.Add(buffer.data(), got);
    digest.size += got;
    if (got < buffer.size()) break;
  }
  digest.hash = hash.Finish();
  if (failed) ec = std::error_code(errno ? errno : EIO, std::generic_category());
  platform::CloseFile(file);
  if (failed) return std::nullopt;
  return digest;
}

std::string DigestText(const FileDigest& digest) {
  std::array<char, 16> hex{};
  const auto end = std::to_chars(hex.data(), hex.data() + hex.size(), digest.hash, 16).ptr;
  std::string hash(hex.data(), end);
  return std::to_string(digest.size) + ":" + std::string(16 - hash.size(), '0') + hash;
}

std::optional<FileDigest> DigestFromText(std::string_view text) {
  const auto colon = text.find(':');
  if (colon == std::string_view::npos || text.size() - colon - 1 != 16) return std::nullopt;
  FileDigest digest;
  const char* end = text.data() + colon;
  if (std::from_chars(text.data(), end, digest.size).ptr != end || colon == 0) return std::nullopt;
  const char* hashEnd = text.data() + text.size();
  if (std::from_chars(end + 1, hashEnd, digest.hash, 16).ptr != hashEnd) return std::nullopt;
  return digest;
}

}  // namespace unit_val
