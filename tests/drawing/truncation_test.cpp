// Every prefix of a drawing: the loader and the memo probe fail cleanly, a
// cut inside an image's data included.
#include <gtest/gtest.h>

#include "drawing/jww_loader.h"
#include "drawing/jww_probe.h"
#include "drawing/jww_writer.h"
#include "tests/drawing/file_map.h"
#include "tests/support/paths.h"
#include "tests/support/synthetic.h"

namespace {

using namespace jww;
using namespace drawing_test;

constexpr bool kSanitized =
#if defined(__SANITIZE_ADDRESS__)
    true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    true;
#else
    false;
#endif
#else
    false;
#endif

// Every length in release builds. Under the sanitizers, which make each load
// many times slower, every length near a section start and a stride between.
std::vector<std::size_t> PrefixLengths(std::size_t size, const FileMap& map) {
  std::vector<bool> take(size, !kSanitized);
  for (std::size_t i = 0; i < size; i += 41) take[i] = true;
  for (const auto& [name, start] : map.sections) {
    const std::size_t from = start > 48 ? start - 48 : 0;
    for (std::size_t i = from; i < std::min<std::size_t>(size, start + 48); ++i) take[i] = true;
  }
  std::vector<std::size_t> out;
  for (std::size_t i = 0; i < size; ++i) {
    if (take[i]) out.push_back(i);
  }
  return out;
}

std::size_t FilesIn(const std::filesystem::path& dir) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++n;
  return n;
}

// `bytes` is a whole drawing; `mapped` the drawing it holds, for the map.
void ExpectEveryPrefixFails(const std::string& bytes, Drawing& mapped) {
  const FileMap map = MapFile(mapped, mapped.header.version);
  ASSERT_EQ(map.size, bytes.size());
  testing_support::ScratchDir temp;
  // Each prefix ends where its allocation ends, so that reading one byte too
  // far is a sanitizer report.
  std::vector<char> buffer(bytes.size());
  for (std::size_t n : PrefixLengths(bytes.size(), map)) {
    char* prefix = buffer.data() + buffer.size() - n;
    std::copy(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n), prefix);
    Drawing d;
    d.imageOptions.tempFolder = temp.path();
    const LoadResult r = LoadJwwFromMemory(d, prefix, n);
    ASSERT_FALSE(r.ok()) << "prefix " << n << " loaded";
    ASSERT_FALSE(r.error.empty());
    d.DeleteImageFiles();
  }
  EXPECT_EQ(FilesIn(temp.path()), 0u);

  // Through files too, which the loader reads in buffered pieces.
  const std::filesystem::path file = temp / "prefix.jww";
  const std::filesystem::path tempFolder = temp / "images";
  std::filesystem::create_directory(tempFolder);
  for (std::size_t n = 0; n < bytes.size(); n += kSanitized ? 997 : 211) {
    testing_support::WriteFileBytes(file, bytes.substr(0, n));
    Drawing d;
    d.imageOptions.tempFolder = tempFolder;
    ASSERT_FALSE(LoadJww(d, file).ok()) << "prefix " << n;
    d.DeleteImageFiles();
  }
  EXPECT_EQ(FilesIn(tempFolder), 0u);

  // The memo probe reads up to the end of group 15.
  const std::uint64_t probeEnd =
      map.SectionStart(mapped.header.version >= 420 ? "header group 16" : "header group 17");
  for (std::size_t n = 0; n <= probeEnd + 8; ++n) {
    testing_support::WriteFileBytes(file, bytes.substr(0, n));
    Drawing d;
    ASSERT_EQ(ProbeJwwMemo(d, file), n >= probeEnd) << "prefix " << n;
  }
}

void ExpectEveryPrefixOfSampleFails(const char* relative) {
  const std::filesystem::path path = testing_support::SamplesDir() / relative;
  const std::string bytes = testing_support::ReadFileBytes(path);
  Drawing d;
  ASSERT_TRUE(LoadJwwFromMemory(d, bytes.data(), bytes.size()).ok());
  ExpectEveryPrefixFails(bytes, d);
}

TEST(Truncation, EveryPrefixOfAVersion600Sample) {
  QUILLON_REQUIRE_SAMPLES();
  ExpectEveryPrefixOfSampleFails("Test4.jww");
}

TEST(Truncation, EveryPrefixOfAVersion700SampleWithBlocks) {
  QUILLON_REQUIRE_SAMPLES();
  ExpectEveryPrefixOfSampleFails("v700-blocks/2blocks.jww");
}

TEST(Truncation, EveryPrefixOfASyntheticDrawingWithImages) {
  testing_support::ScratchDir source;
  Drawing d = synthetic::MakeFullDrawing(700);
  synthetic::AddImage(d, source.path(), synthetic::Text(700, "one.bmp"), 3000, 1);
  synthetic::AddImage(d, source.path(), synthetic::Text(700, "two.png"), 1, 2);
  synthetic::AddImage(d, source.path(), synthetic::Text(700, "three.jpg"), 4100, 3);
  std::string bytes;
  ASSERT_TRUE(SaveJwwToMemory(d, 700, bytes).ok);
  ExpectEveryPrefixFails(bytes, d);
}

}  // namespace
