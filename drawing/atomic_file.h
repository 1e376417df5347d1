// A file that appears at its destination only when it is complete: it is
// written under a temporary name in the destination folder and moved into
// place by Commit. Until then, and whenever anything fails, the destination
// is untouched and the temporary file is removed.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

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
  // Flushes, syncs and closes the temporary file, then renames it onto the
  // destination. False (with error()) on any failure; the temporary is gone.
  bool Commit();
  void Discard();

  const std::filesystem::path& destination() const { return destination_; }
  const std::filesystem::path& temporary() const { return temporary_; }
  const std::string& error() const { return error_; }

 private:
  bool CloseStream();

  std::filesystem::path destination_;
  std::filesystem::path temporary_;
  std::FILE* file_ = nullptr;
  std::string error_;
};

}  // namespace jww
