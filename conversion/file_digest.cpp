#include "conversion/file_digest.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>

#include "platform/file_error.h"
#include "platform/file_io.h"

namespace unit_val {

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;

}  // namespace

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
  FileDigest digest{0, kFnvOffset};
  std::array<unsigned char, 1 << 16> buffer{};
  bool failed = false;
  for (;;) {
    const std::size_t got = platform::ReadFile(file, buffer.data(), buffer.size(), failed);
    for (std::size_t i = 0; i < got; ++i) digest.hash = (digest.hash ^ buffer[i]) * kFnvPrime;
    digest.size += got;
    if (got < buffer.size()) break;
  }
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
