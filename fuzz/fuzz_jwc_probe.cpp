// Checks arbitrary bytes as a JWC drawing: the signature check and the
// header probe.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fuzz/header_probe_check.h"
#include "fuzz/scratch_folder.h"
#include "probes/jwcunit.h"

namespace {

const fuzzing::ScratchFolder scratch;
jwc::JwcHeaderProbe probe;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto input = scratch.WriteInput(data, size);
  constexpr std::size_t kSignatureLength = sizeof jwc::kSignature - 1;
  const bool signedFile =
      size >= kSignatureLength && std::memcmp(data, jwc::kSignature, kSignatureLength) == 0;
  if (jwc::IsJwcFile(input) != signedFile) std::abort();
  const bool probed = probe.Probe(input);
  fuzzing::CheckHeaderProbe(probed, probe.memo(), jwc::kHeaderRecordCount, data, size);
  return 0;
}
