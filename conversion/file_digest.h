// What a file holds, in short: its size and a 64-bit hash of its bytes.
// Undo compares a file with what a run wrote through it. The hash is made
// to keep up with reading (a run takes the digest of every file it wrote),
// not to stand against anyone forging a file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace unit_val {

struct FileDigest {
  std::uint64_t size = 0;
  std::uint64_t hash = 0;
  friend bool operator==(const FileDigest&, const FileDigest&) = default;
};

// The digest of the regular file at `path`; nullopt when nothing is there
// (`ec` clear) or it cannot be read (`ec` set).
std::optional<FileDigest> DigestOf(const std::filesystem::path& path, std::error_code& ec);

// The hash DigestOf gives for a file of these bytes.
std::uint64_t HashOfBytes(std::string_view bytes);

// "size:hash" (hash as 16 hex digits), and back; nullopt on any other text.
std::string DigestText(const FileDigest& digest);
std::optional<FileDigest> DigestFromText(std::string_view text);

}  // namespace unit_val
