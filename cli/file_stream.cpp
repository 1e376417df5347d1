#include "cli/file_stream.h"

#include <cerrno>

#include "platform/file_io.h"

namespace cli {

FileStreamBuffer::FileStreamBuffer(std::FILE* file) : file_(file) {
  setp(buffer_, buffer_ + sizeof buffer_);
}

bool FileStreamBuffer::Flush() {
  const std::size_t n = static_cast<std::size_t>(pptr() - pbase());
  setp(buffer_, buffer_ + sizeof buffer_);
  if (error_) return false;
  errno = 0;
  if (n > 0 && !platform::WriteFile(file_, buffer_, n)) {
    error_ = std::error_code(errno != 0 ? errno : EIO, std::generic_category());
    return false;
  }
  return true;
}

FileStreamBuffer::int_type FileStreamBuffer::overflow(int_type c) {
  if (!Flush()) return traits_type::eof();
  if (!traits_type::eq_int_type(c, traits_type::eof())) {
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
  }
  return traits_type::not_eof(c);
}

int FileStreamBuffer::sync() {
  return Flush() ? 0 : -1;
}

}  // namespace cli
