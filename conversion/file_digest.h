// What a file holds, in short: its size and a 64-bit FNV-1a hash of its
// bytes. Undo compares a file with what a run wrote through it.
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

// "size:hash" (hash as 16 hex digits), and back; nullopt on any other text.
std::string DigestText(const FileDigest& digest);
std::optional<FileDigest> DigestFromText(std::string_view text);

}  // namespace unit_val
