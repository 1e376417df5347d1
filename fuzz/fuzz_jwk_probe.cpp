// Probes arbitrary bytes as a JWK figure file.
#include <cstdint>

#include "fuzz/header_probe_check.h"
#include "fuzz/scratch_folder.h"
#include "probes/jwkunit.h"

namespace {

const fuzzing::ScratchFolder scratch;
jwk::JwkHeaderProbe probe;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto input = scratch.WriteInput(data, size);
  const bool probed = probe.Probe(input);
  fuzzing::CheckHeaderProbe(probed, probe.memo(), jwk::kHeaderRecordCount, data, size);
  return 0;
}
