// An output stream onto an open C file (a pending output's temporary), so
// that a writer of streams writes straight into it.
#pragma once

#include <cstdio>
#include <streambuf>
#include <system_error>

namespace cli {

class FileStreamBuffer : public std::streambuf {
 public:
  explicit FileStreamBuffer(std::FILE* file);
  FileStreamBuffer(const FileStreamBuffer&) = delete;
  FileStreamBuffer& operator=(const FileStreamBuffer&) = delete;

  // The system's error of the first write that failed; nothing is written
  // after it.
  const std::error_code& error() const { return error_; }

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  bool Flush();

  std::FILE* file_;
  std::error_code error_;
  char buffer_[1 << 16];
};

}  // namespace cli
