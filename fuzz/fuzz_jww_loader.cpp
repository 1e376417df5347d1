// Loads arbitrary bytes as a JWW drawing. Besides crashes and sanitizer
// reports, a drawing that loads must save, and what was saved must load; and
// a drawing object that held every earlier input (as a batch reuses one for
// file after file) must load it exactly as a new one does.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>

#include "drawing/jww_loader.h"
#include "drawing/jww_writer.h"
#include "fuzz/scratch_folder.h"

namespace {

const fuzzing::ScratchFolder scratch;
jww::Drawing reused;

// Whether the load succeeded, and then the saved bytes.
std::pair<bool, std::string> LoadAndSave(jww::Drawing& d, const std::uint8_t* data,
                                         std::size_t size) {
  d.imageOptions.tempFolder = scratch.path();
  std::pair<bool, std::string> result;
  result.first = jww::LoadJwwFromMemory(d, data, size).ok();
  if (result.first && !jww::SaveJwwToMemory(d, d.header.version, result.second).ok) std::abort();
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  jww::Drawing d;
  const auto [loaded, saved] = LoadAndSave(d, data, size);
  d.DeleteImageFiles();
  if (loaded) {
    jww::Drawing again;
    again.imageOptions.tempFolder = scratch.path();
    if (!jww::LoadJwwFromMemory(again, saved.data(), saved.size()).ok()) std::abort();
    again.DeleteImageFiles();
  }
  if (LoadAndSave(reused, data, size) != std::pair{loaded, saved}) std::abort();
  reused.DeleteImageFiles();
  reused.Free();
  return 0;
}
