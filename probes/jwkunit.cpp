#include "probes/jwkunit.h"

namespace jwk {

bool JwkHeaderProbe::Probe(const std::filesystem::path& path) {
  return probes::ReadHeaderMemo(path, kHeaderRecordCount, memo_);
}

}  // namespace jwk
