#include "app/memo_lookup.h"

#include "common/ascii_case.h"
#include "common/func.h"
#include "conversion/path_text.h"
#include "drawing/jww_probe.h"
#include "drawing/jww_text.h"
#include "platform/cp932.h"

namespace unit1 {

namespace {

// A memo field without the blanks that pad it, ASCII or full-width.
std::string_view Unpadded(std::string_view text) {
  constexpr std::string_view kWideBlank = "\u3000";
  for (bool trimmed = true; trimmed;) {
    trimmed = false;
    for (std::string_view blank : {std::string_view(" "), kWideBlank}) {
      while (text.starts_with(blank)) text.remove_prefix(blank.size()), trimmed = true;
      while (text.ends_with(blank)) text.remove_suffix(blank.size()), trimmed = true;
    }
  }
  return text;
}

// The two fields of a JWC or JWK header as the list shows them: each
// without its padding, a blank between them when both hold text.
std::string HeaderMemoText(const probes::HeaderMemo& memo) {
  const std::string first = platform::Cp932ToUtf8(func::DisplayFilter(memo.field1));
  const std::string second = platform::Cp932ToUtf8(func::DisplayFilter(memo.field2));
  std::string text(Unpadded(first));
  const std::string_view more = Unpadded(second);
  if (!text.empty() && !more.empty()) text += ' ';
  return text.append(more);
}

}  // namespace

std::string MemoLookup::JwwMemo(const std::filesystem::path& file) {
  if (!jww::ProbeJwwMemo(drawing_, file)) return {};
  return jww::DisplayText(drawing_.header.memo);
}

std::string MemoLookup::JwcMemo(const std::filesystem::path& file) {
  if (!jwc_.Probe(file)) return {};
  return HeaderMemoText(jwc_.memo());
}

std::string MemoLookup::Memo(const std::filesystem::path& file) {
  const std::string ext = func::UpperExtension(unit_val::PathText(file.filename()));
  if (ext == ".JWC") return JwcMemo(file);
  if (ext == ".JWK") return jwk_.Probe(file) ? HeaderMemoText(jwk_.memo()) : "";
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
