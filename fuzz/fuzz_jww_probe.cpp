// Probes arbitrary bytes as a JWW file for its memo and signature. The probe
// takes the signature and version as they stand, and reads a part of what the
// loader reads in the same layout: whatever loads also probes, with the same
// memo and paper size.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "drawing/jww_loader.h"
#include "drawing/jww_probe.h"
#include "fuzz/scratch_folder.h"

namespace {

const fuzzing::ScratchFolder scratch;

std::int32_t Le32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) |
                                   (static_cast<std::uint32_t>(p[3]) << 24));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto input = scratch.WriteInput(data, size);

  const bool signed8 = size >= 8 && std::memcmp(data, "JwwData.", 8) == 0;
  if (jww::IsJwwFile(input) != signed8) std::abort();

  jww::Drawing probed;
  const bool probeOk = jww::ProbeJwwMemo(probed, input);
  if (probeOk) {
    if (size < 12) std::abort();
    if (probed.header.signature != std::string(reinterpret_cast<const char*>(data), 8)) {
      std::abort();
    }
    if (probed.header.version != Le32(data + 8)) std::abort();
  }

  jww::Drawing loaded;
  loaded.imageOptions.extract = false;
  if (jww::LoadJwwFromMemory(loaded, data, size).ok()) {
    if (!probeOk) std::abort();
    if (!(loaded.header.memo == probed.header.memo)) std::abort();
    if (loaded.header.paperSize != probed.header.paperSize) std::abort();
  }
  return 0;
}
