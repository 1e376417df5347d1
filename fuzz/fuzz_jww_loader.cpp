// Loads arbitrary bytes as a JWW drawing. Besides crashes and sanitizer
// reports, a drawing that loads must save, and what was saved must load.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "drawing/jww_loader.h"
#include "drawing/jww_writer.h"
#include "platform/file_io.h"

namespace {

const std::filesystem::path& TempFolder() {
  static const std::filesystem::path folder = [] {
    std::filesystem::path p = std::filesystem::temp_directory_path();
    p /= "quillon-fuzz-";
    p += platform::UniqueSuffix();
    std::filesystem::create_directories(p);
    return p;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  jww::Drawing d;
  d.imageOptions.tempFolder = TempFolder();
  if (jww::LoadJwwFromMemory(d, data, size).ok) {
    std::string saved;
    if (!jww::SaveJwwToMemory(d, d.header.version, saved).ok) std::abort();
    jww::Drawing again;
    again.imageOptions.tempFolder = TempFolder();
    if (!jww::LoadJwwFromMemory(again, saved.data(), saved.size()).ok) std::abort();
    again.DeleteImageFiles();
  }
  d.DeleteImageFiles();
  return 0;
}
