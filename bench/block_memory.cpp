// Peak memory of a load against its file's size, for the drawings that ask
// the most memory per byte of file: nothing but block definitions, empty
// (32 bytes each in the file, a few hundred in the tables) or of one point
// each, against an ordinary drawing of the same size. A load may hold at
// most kLoadMemoryPerFileByte times its file (and kLoadMemoryFloor), so the
// first two must fail as out of memory (the empty ones at once, by their
// count) and the ordinary one load as before.
//
//   bench_block_memory [--definitions=N] [--scratch=DIR]
//
// Each load + save runs in a process of its own (bench/child_peak.h). The
// default of 13 million definitions makes a file of about 416 MB.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "bench/child_peak.h"
#include "bench/synthetic_large.h"
#include "drawing/jww_loader.h"
#include "drawing/jww_writer.h"

namespace fs = std::filesystem;

namespace {

// The file of `count` definitions, pieced together from the bytes of
// drawings with none, one and two of them.
std::uint64_t WriteDefinitions(const fs::path& path, std::uint32_t count, bool point) {
  jww::TEntBlockDef def;
  if (point) {
    jww::TEntTen& p = def.entities.points.emplace_back();
    p.attr.penStyle = 1;
    p.attr.penColour = 1;
    def.entities.order.push_back(jww::TEntRef{jww::kPoint, 0});
    def.entityCount = 1;
  }
  std::string saved[3];
  for (std::size_t n = 0; n < 3; ++n) {
    jww::Drawing d = bench::MakeLargeDrawing(600, 64 << 10);
    d.top.clear();
    d.header.entityCount = 0;
    d.blockDefs.assign(n, def);
    d.header.blockDefinitionCount = static_cast<std::int32_t>(n);
    if (!jww::SaveJwwToMemory(d, 600, saved[n])) throw std::runtime_error("cannot build a drawing");
  }
  const std::size_t prefix = saved[0].size() - 2;  // up to the definitions' count
  std::string head = saved[0].substr(0, prefix) + "\xFF\xFF";
  for (int shift = 0; shift < 32; shift += 8) head += static_cast<char>(count >> shift);
  head += saved[1].substr(prefix + 2);
  const std::string next = saved[2].substr(saved[1].size());
  std::string piece;
  for (int i = 0; i < 4096; ++i) piece += next;

  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot create " + path.string());
  bool ok = std::fwrite(head.data(), 1, head.size(), f) == head.size();
  for (std::uint32_t left = count - 1; ok && left > 0;) {
    const std::uint32_t n = std::min<std::uint32_t>(left, 4096);
    ok = std::fwrite(piece.data(), next.size(), n, f) == n;
    left -= n;
  }
  if (std::fclose(f) != 0 || !ok) throw std::runtime_error("cannot write " + path.string());
  return fs::file_size(path);
}

double Report(const char* what, std::uint64_t fileBytes, const bench::Figures& f) {
  const double ratio = f.peakKiB * 1024.0 / static_cast<double>(fileBytes);
  std::printf("%-26s file %8.1f MB  %6.2f s  peak RSS %8.1f MiB = %5.2f x the file  %s\n", what,
              fileBytes / 1e6, f.seconds, f.peakKiB / 1024.0, ratio,
              f.ok ? "loaded and saved" : "refused");
  return ratio;
}

int Run(const char* self, std::uint64_t definitions, const std::string& scratchParent) {
  const bench::Scratch scratch(scratchParent, "block-memory");
  const fs::path& dir = scratch.dir;
  fs::create_directory(dir / "images");
  const fs::path in = dir / "in.jww", out = dir / "out.jww";
  std::error_code ec;

  const std::uint64_t hostileBytes =
      WriteDefinitions(in, static_cast<std::uint32_t>(definitions), false);
  const bench::Figures hostile = bench::MeasureInChild(self, in, out, dir / "images");
  double hostileRatio = Report("empty block definitions", hostileBytes, hostile);
  fs::remove(in, ec);
  fs::remove(out, ec);

  // Of about the same size: their count fits, the tables as they grow do not.
  const std::uint64_t pointBytes =
      WriteDefinitions(in, static_cast<std::uint32_t>(definitions * 32 / 69), true);
  const bench::Figures points = bench::MeasureInChild(self, in, out, dir / "images");
  hostileRatio = std::max(hostileRatio, Report("one-point definitions", pointBytes, points));
  fs::remove(in, ec);
  fs::remove(out, ec);

  const std::uint64_t plainBytes = bench::WriteLargeDrawing(in, 600, hostileBytes);
  const bench::Figures plain = bench::MeasureInChild(self, in, out, dir / "images");
  Report("ordinary drawing", plainBytes, plain);

  const double bound = static_cast<double>(jww::kLoadMemoryPerFileByte) +
                       static_cast<double>(jww::kLoadMemoryFloor) / hostileBytes;
  const bool met = !hostile.ok && !points.ok && hostileRatio <= bound + 1 && plain.ok;
  std::printf(
      "aim: both kinds of definitions refused within %.1f x their file (the load's %llu x and "
      "%llu MB, and the process), the ordinary drawing loaded -> %s\n",
      bound + 1, static_cast<unsigned long long>(jww::kLoadMemoryPerFileByte),
      static_cast<unsigned long long>(jww::kLoadMemoryFloor >> 20), met ? "aim met" : "aim missed");
  return met ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  return bench::ChildPeakMain(argc, argv, "bench_block_memory",
                              {"definitions", 13'000'000, 1000, 100'000'000}, Run);
}
