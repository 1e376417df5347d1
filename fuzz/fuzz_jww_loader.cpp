// Loads arbitrary bytes as a JWW drawing. Besides crashes and sanitizer
// reports, a drawing that loads must save, and what was saved must load.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "drawing/jww_loader.h"
#include "drawing/jww_writer.h"
#include "fuzz/scratch_folder.h"

namespace {

const fuzzing::ScratchFolder scratch;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  jww::Drawing d;
  d.imageOptions.tempFolder = scratch.path();
  if (jww::LoadJwwFromMemory(d, data, size).ok) {
    std::string saved;
    if (!jww::SaveJwwToMemory(d, d.header.version, saved).ok) std::abort();
    jww::Drawing again;
    again.imageOptions.tempFolder = scratch.path();
    if (!jww::LoadJwwFromMemory(again, saved.data(), saved.size()).ok) std::abort();
    again.DeleteImageFiles();
  }
  d.DeleteImageFiles();
  return 0;
}
