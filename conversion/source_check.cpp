#include "conversion/source_check.h"

#include "common/ascii_case.h"
#include "conversion/path_text.h"
#include "drawing/jww_probe.h"

namespace unit_val {

bool HasJwwExtension(const std::filesystem::path& file) {
  return func::UpperExtension(PathText(file.filename())) == ".JWW";
}

SourceCheck CheckSource(const std::filesystem::path& source) {
  const jww::SignatureCheck check = jww::CheckJwwSignature(source);
  switch (check.signature) {
    case jww::Signature::kJww:
      return {SourceKind::kDrawing, {}};
    case jww::Signature::kOther:
      return {SourceKind::kNotDrawing, {Reason::kNoSignature, {}}};
    case jww::Signature::kUnreadable:
      break;
  }
  return {SourceKind::kUnreadable, {Reason::kCannotOpenSource, check.systemError, check.error}};
}

}  // namespace unit_val
