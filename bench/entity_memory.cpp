// Memory and time of load + save for drawings of many tiny entities (points):
// 1 million against 10 million by default. The load's tables hold each
// entity once and grow by doubling, so the peak per entity should stay the
// same whatever their number, and the time grow with it.
//
//   bench_entity_memory [--entities=N] [--scratch=DIR]
//
// Each load + save runs in a process of its own (bench/child_peak.h). The
// two drawings need about 40 bytes per entity on disk each, and the parent
// about 70 bytes per entity in memory while it writes them.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "bench/child_peak.h"
#include "bench/synthetic_large.h"
#include "drawing/jww_writer.h"

namespace fs = std::filesystem;

namespace {

// A small drawing's header and tables with `points` points in place of its
// entities.
std::uint64_t WritePoints(const fs::path& path, std::uint64_t points) {
  jww::Drawing d = bench::MakeLargeDrawing(600, 64 << 10);
  d.top.clear();
  d.top.points.resize(points);
  d.top.order.resize(points);
  for (std::uint64_t i = 0; i < points; ++i) {
    jww::TEntTen& p = d.top.points[i];
    p.attr.penStyle = 1;
    p.attr.penColour = static_cast<std::uint16_t>(1 + i % 9);
    p.x = static_cast<double>(i % 10007);
    p.y = static_cast<double>(i / 10007);
    d.top.order[i] = jww::TEntRef{jww::kPoint, static_cast<std::int32_t>(i)};
  }
  d.header.entityCount = static_cast<std::int32_t>(points);
  const jww::SaveResult saved = jww::SaveJww(d, path, 600);
  if (!saved) throw std::runtime_error("cannot write " + path.string() + ": " + saved.error);
  return fs::file_size(path);
}

int Run(const char* self, std::uint64_t entities, const std::string& scratchParent) {
  const bench::Scratch scratch(scratchParent, "entity-memory");
  const fs::path& dir = scratch.dir;
  fs::create_directory(dir / "images");

  const std::uint64_t sizes[] = {entities / 10, entities};
  double perEntity[2] = {}, seconds[2] = {};
  bool allOk = true;
  for (int k = 0; k < 2; ++k) {
    const fs::path in = dir / "points.jww", out = dir / "out.jww";
    const std::uint64_t inSize = WritePoints(in, sizes[k]);
    const bench::Figures f = bench::MeasureInChild(self, in, out, dir / "images");
    std::error_code ec;
    const bool intact = f.ok && fs::exists(out, ec) && fs::file_size(out) == inSize;
    allOk = allOk && intact;
    perEntity[k] = f.peakKiB * 1024.0 / static_cast<double>(sizes[k]);
    seconds[k] = f.seconds;
    std::printf(
        "%11llu points  file %8.1f MB  load+save %6.2f s  peak RSS %8.1f MiB"
        "  (%5.1f bytes per entity)  %s\n",
        static_cast<unsigned long long>(sizes[k]), inSize / 1e6, f.seconds, f.peakKiB / 1024.0,
        perEntity[k], intact ? "output complete" : "OUTPUT MISSING OR WRONG SIZE");
    fs::remove(in, ec);
    fs::remove(out, ec);
  }
  // Tables grow by doubling: at the last growth the old and the new table
  // are both held, so the peak lies between one and about two and a half
  // times the entries, by where the count falls between two powers of two.
  const double held = sizeof(jww::TEntTen) + sizeof(jww::TEntRef);
  const double ratio = perEntity[1] / held;
  const bool memoryMet = ratio <= 2.5;
  std::printf(
      "an entity's table entries: %.0f bytes; peak per entity at %llu: %.2fx that"
      " (aim: at most 2.5x) -> %s\n",
      held, static_cast<unsigned long long>(entities), ratio, memoryMet ? "aim met" : "aim missed");
  std::printf("time per entity: %.0f ns at %llu, %.0f ns at %llu\n", seconds[0] * 1e9 / sizes[0],
              static_cast<unsigned long long>(sizes[0]), seconds[1] * 1e9 / sizes[1],
              static_cast<unsigned long long>(sizes[1]));
  allOk = allOk && memoryMet;
  return allOk ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  return bench::ChildPeakMain(argc, argv, "bench_entity_memory",
                              {"entities", 10'000'000, 1000, 100'000'000}, Run);
}
