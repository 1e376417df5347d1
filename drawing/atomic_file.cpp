#include "drawing/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include "platform/file_error.h"
#include "platform/file_io.h"

namespace jww {

PendingFile::PendingFile(std::filesystem::path destination)
    : destination_(std::move(destination)) {}

PendingFile::~PendingFile() {
  Discard();
}

bool PendingFile::Create() {
  // A short name of our own: the destination's name plus a suffix could
  // pass the file system's limit on a name's length when the destination's
  // own name is near it.
  std::filesystem::path name = ".quillon-";
  name += platform::UniqueSuffix();
  name += ".tmp";
  temporary_ = destination_.parent_path() / name;
  file_ = platform::OpenFile(temporary_, "wb");
  if (!file_) {
    systemError_ = platform::LastFileError();
    error_ = "cannot create a file in the destination folder: " + systemError_.message();
    temporary_.clear();
    return false;
  }
  return true;
}

bool PendingFile::Close(bool sync) {
  if (!file_) return !temporary_.empty();
  bool ok = !sync || platform::SyncFile(file_);
  if (!ok) Fail("cannot write the file to disk: ", errno);
  if (!platform::CloseFile(file_) && ok) {
    ok = false;
    Fail("cannot close the file: ", errno);
  }
  file_ = nullptr;
  if (!ok) Discard();
  return ok;
}

bool PendingFile::SyncClosed() {
  if (file_ || temporary_.empty()) return false;
  std::FILE* f = platform::OpenFile(temporary_, "r+b");
  if (!f) {
    systemError_ = platform::LastFileError();
    error_ = "cannot reopen the file to sync it: " + systemError_.message();
    return false;
  }
  bool ok = platform::SyncFile(f);
  if (!ok) Fail("cannot sync the file: ", errno);
  if (!platform::CloseFile(f) && ok) {
    ok = false;
    Fail("cannot close the file after syncing it: ", errno);
  }
  return ok;
}

bool PendingFile::Commit() {
  if (temporary_.empty()) return false;
  if (file_ && !Close(true)) return false;
  std::error_code ec;
  if (!platform::RenameFile(temporary_, destination_, ec)) {
    systemError_ = ec;
    error_ = "cannot move the file into place: " + ec.message();
    Discard();
    return false;
  }
  temporary_.clear();
  return true;
}

void PendingFile::Fail(const char* what, int error) {
  systemError_ = std::error_code(error, std::generic_category());
  error_ = what + std::string(std::strerror(error));
}

void PendingFile::Discard() {
  if (file_) {
    platform::CloseFile(file_);
    file_ = nullptr;
  }
  if (!temporary_.empty()) {
    std::error_code ec;
    platform::RemoveFile(temporary_, ec);
    temporary_.clear();
  }
}

}  // namespace jww
