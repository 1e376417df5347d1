// Drawings whose bytes go on after the last section: appended bytes, a tail
// zeroed after a crash or a bad copy, a sparse file of zeros. Each fails as
// damaged, naming where the drawing ended and how many bytes are left.
#include <gtest/gtest.h>

#include <random>

#include "drawing/jww_loader.h"
#include "drawing/jww_writer.h"
#include "tests/support/paths.h"
#include "tests/support/synthetic.h"

namespace {

using namespace jww;

std::string Saved(std::int32_t version) {
  Drawing d = synthetic::MakeFullDrawing(version);
  synthetic::AddBulkEntities(d, 40000);
  std::string bytes;
  EXPECT_TRUE(SaveJwwToMemory(d, version, bytes).ok);
  return bytes;
}

LoadResult LoadBytes(const std::string& bytes) {
  Drawing d;
  d.imageOptions.extract = false;
  return LoadJwwFromMemory(d, bytes.data(), bytes.size());
}

void ExpectDamagedWithBytesLeft(const LoadResult& r, std::uint64_t left, std::uint64_t end) {
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.failure, LoadFailure::kDamaged);
  EXPECT_NE(r.error.find(std::to_string(left) + " bytes left"), std::string::npos) << r.error;
  EXPECT_NE(r.error.find("at byte " + std::to_string(end)), std::string::npos) << r.error;
}

TEST(DamagedInput, BytesAfterTheLastSectionFailTheLoad) {
  for (std::int32_t version : {230, 600, 700}) {
    SCOPED_TRACE(version);
    const std::string whole = Saved(version);
    ASSERT_TRUE(LoadBytes(whole).ok());

    ExpectDamagedWithBytesLeft(LoadBytes(whole + '\0'), 1, whole.size());
    std::string random(100000, '\0');
    std::mt19937 gen(static_cast<unsigned>(version));
    for (char& c : random) c = static_cast<char>(gen());
    ExpectDamagedWithBytesLeft(LoadBytes(whole + random), random.size(), whole.size());
  }
}

// Zeros read as empty counts and strings: the header runs on into them, the
// lists come out empty, and the drawing ends long before the file does.
TEST(DamagedInput, AZeroedTailFailsTheLoad) {
  testing_support::ScratchDir temp;
  for (std::int32_t version : {600, 700}) {
    SCOPED_TRACE(version);
    std::string bytes = Saved(version);
    std::fill(bytes.begin() + 8192, bytes.end(), '\0');
    const LoadResult fromMemory = LoadBytes(bytes);
    EXPECT_FALSE(fromMemory.ok());
    EXPECT_EQ(fromMemory.failure, LoadFailure::kDamaged) << fromMemory.error;

    // Through a file, read in buffered pieces.
    const auto file = temp / "zeroed.jww";
    testing_support::WriteFileBytes(file, bytes);
    Drawing d;
    d.imageOptions.tempFolder = temp.path();
    const LoadResult fromFile = LoadJww(d, file);
    EXPECT_FALSE(fromFile.ok());
    EXPECT_EQ(fromFile.error, fromMemory.error);
    d.DeleteImageFiles();
  }
}

TEST(DamagedInput, TheRealDrawingWithAZeroedTailFails) {
  QUILLON_REQUIRE_SAMPLES();
  std::string bytes = testing_support::ReadFileBytes(testing_support::SamplesDir() / "Test6.jww");
  ASSERT_TRUE(LoadBytes(bytes).ok());
  std::fill(bytes.begin() + 8192, bytes.end(), '\0');
  const LoadResult r = LoadBytes(bytes);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.failure, LoadFailure::kDamaged) << r.error;
}

// Only the file's size is compared with where the drawing ended: the zeros
// of a 200 GB sparse file are never read.
TEST(DamagedInput, ASparseFileOfZerosFailsWithoutReadingThem) {
  testing_support::ScratchDir temp;
  const auto file = temp / "sparse.jww";
  testing_support::WriteFileBytes(file, Saved(600).substr(0, 4096));
  constexpr std::uint64_t kSize = std::uint64_t{200} << 30;
#ifdef _WIN32
  GTEST_SKIP() << "a 200 GB file is made sparse only on Linux";
#endif
  std::error_code ec;
  std::filesystem::resize_file(file, kSize, ec);
  if (ec) GTEST_SKIP() << "no sparse file here: " << ec.message();
  Drawing d;
  d.imageOptions.tempFolder = temp.path();
  const LoadResult r = LoadJww(d, file);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.failure, LoadFailure::kDamaged) << r.error;
  EXPECT_NE(r.error.find("bytes left after the last section"), std::string::npos) << r.error;
}

}  // namespace
