// A file that appears at its destination only when it is complete: it is
// written under a temporary name in the destination folder and moved into
// place by Commit. Until then, and whenever anything fails, the destination
// is untouched and the temporary file is removed.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace jww {

class PendingFile {
 public:
  explicit PendingFile(std::filesystem::path destination);
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile();  // discards unless committed

  // Creates the temporary file; false (with error()) when it cannot.
  bool Create();
  std::FILE* stream() const { return file_; }
  // Flushes and closes the temporary file, syncing it to disk first when
  // `sync`. Without it the caller makes the data durable another way (a sync
  // of the whole file system, or SyncClosed) before Commit. False (with
  // error()) on failure; the temporary is then gone.
  bool Close(bool sync);
  // Syncs a temporary that was closed without syncing.
  bool SyncClosed();
  // Closes (syncing) the temporary if it is still open, then renames it onto
  // the destination. False (with error()) on any failure; the temporary is
  // then gone.
  bool Commit();
  void Discard();

  const std::filesystem::path& destination() const { return destination_; }
  const std::filesystem::path& temporary() const { return temporary_; }
  const std::string& error() const { return error_; }
  // The system's reason behind error(), when it gave one.
  const std::error_code& systemError() const { return systemError_; }

 private:
  void Fail(const char* what, int error);

  std::filesystem::path destination_;
  std::filesystem::path temporary_;
  std::FILE* file_ = nullptr;
  std::string error_;
  std::error_code systemError_;
};

}  // namespace jww
