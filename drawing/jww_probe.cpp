#include "drawing/jww_probe.h"

#include <cerrno>
#include <cstring>

#include "drawing/archive_reader.h"
#include "platform/file_error.h"
#include "platform/file_io.h"

namespace jww {

namespace {

std::string ErrnoText(int error) {
  return error != 0 ? std::strerror(error) : "unknown error";
}

}  // namespace

bool IsJwwFile(const std::filesystem::path& path) {
  return CheckJwwSignature(path).signature == Signature::kJww;
}

SignatureCheck CheckJwwSignature(const std::filesystem::path& path) {
  errno = 0;
  std::FILE* f = platform::OpenFile(path, "rb");
  if (!f) {
    const std::error_code ec = platform::LastFileError();
    return {Signature::kUnreadable, "cannot open the file: " + ec.message(), ec};
  }
  char buffer[9] = {};
  bool failed = false;
  const std::size_t got = platform::ReadFile(f, buffer, 8, failed);
  const int error = errno;
  platform::CloseFile(f);
  if (failed)
    return {Signature::kUnreadable, std::string("cannot read the file: ") + ErrnoText(error),
            std::error_code(error, std::generic_category())};
  if (got == 8 && std::strcmp(buffer, "JwwData.") == 0) return {Signature::kJww, {}};
  return {Signature::kOther, {}};
}

namespace {

// Group 15's size as the probe knows it: versions between the thresholds
// carry none.
std::uint64_t ProbeDisplayGroupBytes(std::int32_t v) {
  if (v == 220) return 44;
  if (v == 223) return 104;
  if (v == 225) return 136;
  if (v >= 230) return 144;
  return 0;
}

}  // namespace

bool ProbeJwwMemo(Drawing& d, const std::filesystem::path& path) {
  d.Reset();
  ArchiveReader ar;
  if (!ar.Open(path)) return false;
  try {
    char signature[8];
    ar.bytes(signature, sizeof signature);
    d.header.signature.assign(signature, sizeof signature);
    ar.i32(d.header.version);
    ar.str(d.header.memo);
    ar.u32(d.header.paperSize);
    ar.skip(4 + 16 * 148 + 84 + 72);
    JwwString name;
    for (int i = 0; i < 256 + 16; ++i) ar.str(name);
    const std::int32_t v = d.header.version;
    ar.skip(v > 230 ? 96 + 280 : 80 + 96);
    ar.skip(168 + 160 + 128 + 164);
    ar.skip(ProbeDisplayGroupBytes(v));
    return true;
  } catch (const ArchiveError&) {
    return false;
  }
}

}  // namespace jww
