// The memo the file list shows for a file: found by the probe that its
// extension names, passed through the display filter, decoded for display.
#pragma once

#include <filesystem>
#include <string>

#include "drawing/jwwunit.h"
#include "probes/jwcunit.h"
#include "probes/jwkunit.h"

namespace unit1 {

class MemoLookup {
 public:
  // The probes reuse the drawing's header; it must hold no drawing that is
  // being converted.
  explicit MemoLookup(jww::Drawing& drawing) : drawing_(drawing) {}

  // UTF-8; empty for files without a memo and for files a probe cannot read.
  std::string Memo(const std::filesystem::path& file);
  void Reset();

 private:
  std::string JwwMemo(const std::filesystem::path& file);
  std::string JwcMemo(const std::filesystem::path& file);

  jww::Drawing& drawing_;
  jwc::JwcHeaderProbe jwc_;
  jwk::JwkHeaderProbe jwk_;
};

}  // namespace unit1
