// Peak memory of load + save with a large embedded image: a version-700
// drawing with one image of 200 MB against the same drawing without it.
// Images are streamed through small buffers, so both peaks should be within
// a few MB of each other.
//
//   bench_image_memory [--image-mb=N] [--scratch=DIR]
//
// Each load + save runs in a process of its own (bench/child_peak.h).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/child_peak.h"
#include "bench/synthetic_large.h"
#include "drawing/jww_writer.h"

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kDrawingBytes = 2'000'000;  // the drawing around the image
constexpr double kAimMiB = 4.0;                     // "within a few MB"
const char16_t kImageName[] = u"survey-photo.bmp";

// Writes `bytes` of patterned data in 1 MiB pieces (never held whole).
void WriteImageFile(const fs::path& path, std::uint64_t bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot create " + path.string());
  std::vector<unsigned char> piece(1 << 20);
  std::mt19937 random(7);
  std::uint64_t left = bytes;
  while (left > 0) {
    for (auto& b : piece) b = static_cast<unsigned char>(random());
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, piece.size()));
    if (std::fwrite(piece.data(), 1, n, f) != n) {
      std::fclose(f);
      throw std::runtime_error("cannot write " + path.string());
    }
    left -= n;
  }
  if (std::fclose(f) != 0) throw std::runtime_error("cannot write " + path.string());
}

// Saves the drawing twice: with the image (the list entry and a text that
// refers to it) and without it.
void Prepare(const fs::path& dir, std::uint64_t imageBytes) {
  const fs::path image = dir / "image.bin";
  WriteImageFile(image, imageBytes);

  jww::Drawing d = bench::MakeLargeDrawing(700, kDrawingBytes);
  const jww::SaveResult plain = jww::SaveJww(d, dir / "without-image.jww", 700);
  if (!plain) throw std::runtime_error("cannot save the drawing: " + plain.error);

  jww::TEntMoji reference;
  reference.attr.penStyle = 1;
  reference.attr.penColour = 1;
  reference.width = reference.height = 2.5;
  reference.endX = 1000;
  reference.endY = 750;
  reference.fontName = jww::JwwString::fromUtf16(u"MS Gothic");
  reference.text =
      jww::JwwString::fromUtf16(std::u16string(u"^@BM%temp%") + kImageName + u",1000,750,0,0,1,0");
  d.top.texts.push_back(reference);
  d.top.order.push_back(
      jww::TEntRef{jww::kText, static_cast<std::int32_t>(d.top.texts.size() - 1)});
  d.header.entityCount = static_cast<std::int32_t>(d.top.order.size());
  jww::TBindImageType entry;
  entry.name = jww::JwwString::fromUtf16(kImageName);
  entry.size = static_cast<std::uint32_t>(imageBytes);
  entry.tempFile = image;
  d.images.push_back(entry);
  const jww::SaveResult withImage = jww::SaveJww(d, dir / "with-image.jww", 700);
  fs::remove(image);
  if (!withImage) throw std::runtime_error("cannot save the drawing: " + withImage.error);
}

int Run(const char* self, std::uint64_t imageMiB, const std::string& scratchParent) {
  const bench::Scratch scratch(scratchParent, "image-memory");
  const fs::path& dir = scratch.dir;

  const std::uint64_t imageBytes = imageMiB << 20;
  std::printf("preparing a version-700 drawing (%.1f MB) with and without a %llu MiB image in %s\n",
              kDrawingBytes / 1e6, static_cast<unsigned long long>(imageMiB), dir.string().c_str());
  Prepare(dir, imageBytes);
  fs::create_directory(dir / "images");

  struct Case {
    const char* label;
    fs::path in, out;
    bench::Figures figures;
  } cases[] = {{"without image", dir / "without-image.jww", dir / "out-without.jww", {}},
               {"with image", dir / "with-image.jww", dir / "out-with.jww", {}}};
  bool allOk = true;
  for (Case& c : cases) {
    c.figures = bench::MeasureInChild(self, c.in, c.out, dir / "images");
    const std::uint64_t inSize = fs::file_size(c.in);
    std::error_code ec;
    const std::uint64_t outSize = fs::exists(c.out, ec) ? fs::file_size(c.out) : 0;
    const bool intact = c.figures.ok && outSize == inSize;
    allOk = allOk && intact;
    std::printf("%-14s file %9.2f MB  load+save %6.2f s  peak RSS %8.2f MiB  %s\n", c.label,
                inSize / 1e6, c.figures.seconds, c.figures.peakKiB / 1024.0,
                intact ? "output complete" : "OUTPUT MISSING OR WRONG SIZE");
  }
  const bool imagesLeft = !fs::is_empty(dir / "images");
  if (imagesLeft) std::printf("extracted image files were left behind\n");
  const double diffMiB = (cases[1].figures.peakKiB - cases[0].figures.peakKiB) / 1024.0;
  std::printf("peak difference: %+.2f MiB (aim: below %.0f MiB) -> %s\n", diffMiB, kAimMiB,
              diffMiB < kAimMiB ? "aim met" : "aim missed");
  return allOk && !imagesLeft ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  return bench::ChildPeakMain(argc, argv, "bench_image_memory", {"image-mb", 200, 1, 4000}, Run);
}
