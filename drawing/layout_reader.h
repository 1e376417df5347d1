// The reading direction of the layout's hooks: each hands back the field as
// the file holds it. The loader adds its memory budget and checks; the memo
// probe reads with these as they are.
#pragma once

#include <cstdint>
#include <string>

#include "drawing/archive_reader.h"
#include "drawing/jww_layout.h"

namespace jww {

class LayoutReader : public ArchiveReader {
 public:
  template <class A>
  A& adjustAttr(A& a, AttrRule) {
    return a;
  }
  JwwString& adjustString(JwwString& s) { return s; }
  std::uint32_t& adjustReserved(std::uint32_t& v) { return v; }
  std::int32_t& adjustMaxDrawWidth(std::int32_t& v) { return v; }
  std::int32_t& adjustVersion(std::int32_t& v) { return v; }
  // The signature bytes as they are, without comparing them.
  void signature(std::string& s) {
    char bytesRead[layout::kSignatureBytes];
    bytes(bytesRead, sizeof bytesRead);
    s.assign(bytesRead, sizeof bytesRead);
  }
  void displayFlag11(THeader& h) {
    std::uint32_t stored = 0;
    u32(stored);
    SplitDisplayFlag11(h, stored);
  }
  void keptF64(bool keep, double& v) {
    double scratch = 0;
    f64(keep ? v : scratch);
  }
};

}  // namespace jww
