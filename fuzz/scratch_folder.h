// A folder of one fuzzing process, removed when the process ends: the loader
// extracts images into it, and readers that take a path get each input
// through the one file kept in it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/file_io.h"

namespace fuzzing {

class ScratchFolder {
 public:
  ScratchFolder() {
    path_ = std::filesystem::temp_directory_path();
    path_ /= "quillon-fuzz-";
    path_ += platform::UniqueSuffix();
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // The input file holding exactly these bytes. A failing write would fuzz
  // nothing, so it stops the run.
  std::filesystem::path WriteInput(const std::uint8_t* data, std::size_t size) const {
    const std::filesystem::path input = path_ / "input";
    std::FILE* file = platform::OpenFile(input, "wb");
    if (!file) std::abort();
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written) std::abort();
    return input;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace fuzzing
