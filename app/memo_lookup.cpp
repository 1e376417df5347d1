#include "app/memo_lookup.h"

#include "common/ascii_case.h"
#include "conversion/path_text.h"
#include "drawing/jww_probe.h"
#include "drawing/jww_text.h"
#include "platform/cp932.h"

namespace unit1 {

std::string MemoLookup::JwwMemo(const std::filesystem::path& file) {
  if (!jww::ProbeJwwMemo(drawing_, file)) return {};
  return jww::DisplayText(drawing_.header.memo);
}

std::string MemoLookup::JwcMemo(const std::filesystem::path& file) {
  if (!jwc_.Probe(file)) return {};
  return platform::Cp932ToUtf8(jwc_.memo().Text());
}

std::string MemoLookup::Memo(const std::filesystem::path& file) {
  const std::string ext = func::UpperExtension(unit_val::PathText(file.filename()));
  if (ext == ".JWC") return JwcMemo(file);
  if (ext == ".JWK") return jwk_.Probe(file) ? platform::Cp932ToUtf8(jwk_.memo().Text()) : "";
  if (ext == ".JWW" || ext == ".JW$") return JwwMemo(file);
  if (ext == ".BAK" || ext.starts_with(".BK")) {
    if (jwc::IsJwcFile(file)) return JwcMemo(file);
    if (jww::IsJwwFile(file)) return JwwMemo(file);
  }
  return {};
}

void MemoLookup::Reset() {
  jwc_.Reset();
  jwk_.Reset();
}

}  // namespace unit1
