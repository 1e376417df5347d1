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

// A temp folder of this run, removed when the run ends.
class TempFolder {
 public:
  TempFolder() {
    path_ = std::filesystem::temp_directory_path();
    path_ /= "quillon-fuzz-";
    path_ += platform::UniqueSuffix();
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

const TempFolder temp;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  jww::Drawing d;
  d.imageOptions.tempFolder = temp.path();
  if (jww::LoadJwwFromMemory(d, data, size).ok) {
    std::string saved;
    if (!jww::SaveJwwToMemory(d, d.header.version, saved).ok) std::abort();
    jww::Drawing again;
    again.imageOptions.tempFolder = temp.path();
    if (!jww::LoadJwwFromMemory(again, saved.data(), saved.size()).ok) std::abort();
    again.DeleteImageFiles();
  }
  d.DeleteImageFiles();
  return 0;
}
