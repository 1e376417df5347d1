#include "conversion/source_check.h"

#include <algorithm>
#include <cctype>

#include "conversion/path_text.h"
#include "drawing/jww_probe.h"

namespace unit_val {

bool HasJwwExtension(const std::filesystem::path& file) {
  const std::string name = PathText(file.filename());
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string ext = name.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return ext == ".JWW";
}

SourceCheck CheckSource(const std::filesystem::path& source) {
  const jww::SignatureCheck check = jww::CheckJwwSignature(source);
  switch (check.signature) {
    case jww::Signature::kJww:
      return {SourceKind::kDrawing, {}};
    case jww::Signature::kOther:
      return {SourceKind::kNotDrawing,
              "not a JWW drawing (no \"JwwData.\" signature)",
              {Reason::kNoSignature, {}}};
    case jww::Signature::kUnreadable:
      break;
  }
  return {SourceKind::kUnreadable, check.error, {Reason::kCannotOpenSource, check.systemError}};
}

}  // namespace unit_val
