#include "drawing/jww_probe.h"

#include <cerrno>
#include <cstring>

#include "drawing/layout_reader.h"
#include "platform/file_error.h"
#include "platform/file_io.h"

namespace jww {

namespace {

std::string ErrnoText(int error) {
  return error != 0 ? std::strerror(error) : "unknown error";
}

// The probe shows the memo, the header's first string, and no name: every
// later string is read into one scratch string, so a listing allocates
// nothing per name.
class ProbeReader : public LayoutReader {
 public:
  void str(JwwString& s) {
    if (memoRead_) return LayoutReader::str(scratch_);
    LayoutReader::str(s);
    memoRead_ = true;
  }

 private:
  bool memoRead_ = false;
  JwwString scratch_;
};

}  // namespace

bool IsJwwFile(const std::filesystem::path& path) {
  return CheckJwwSignature(path).signature == Signature::kJww;
}

SignatureCheck CheckJwwSignature(const std::filesystem::path& path) {
  errno = 0;
  std::FILE* f = platform::OpenFile(path, "rb");
  if (!f) {
    const std::error_code ec = platform::LastFileError();
    return {Signature::kUnreadable, "cannot open the file: " + ec.message(), ec};
  }
  char buffer[layout::kSignatureBytes + 1] = {};
  bool failed = false;
  const std::size_t got = platform::ReadFile(f, buffer, layout::kSignatureBytes, failed);
  const int error = errno;
  platform::CloseFile(f);
  if (failed)
    return {Signature::kUnreadable, std::string("cannot read the file: ") + ErrnoText(error),
            std::error_code(error, std::generic_category())};
  if (got == layout::kSignatureBytes && std::strcmp(buffer, layout::kSignature) == 0) {
    return {Signature::kJww, {}};
  }
  return {Signature::kOther, {}};
}

bool ProbeJwwMemo(Drawing& d, const std::filesystem::path& path) {
  d.Reset();
  ProbeReader ar;
  if (!ar.Open(path)) return false;
  try {
    layout::FileStart(ar, d.header);
    const std::int32_t v = d.header.version;
    // The groups are read into a header of their own, in the memory of the
    // drawing's emptied tables: the drawing's header takes only the memo
    // and the paper size, and its tables stay empty.
    THeader passed;
    MoveHeaderTables(d.header, passed);
    SizeHeaderTablesThroughGroup15(passed);
    layout::HeaderThroughGroup14(ar, passed, v);
    // For other versions the probe knows no size of group 15 and reads none.
    if (layout::StatesDisplayGroup(v)) layout::HeaderGroup15(ar, passed, v);
    MoveHeaderTables(passed, d.header);
    d.header.memo = std::move(passed.memo);
    d.header.paperSize = passed.paperSize;
    return true;
  } catch (const ArchiveError&) {
    return false;
  }
}

}  // namespace jww
