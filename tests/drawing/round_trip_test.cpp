// Synthetic drawings of every version branch: save, load, compare field by
// field, save again and compare bytes.
#include <gtest/gtest.h>

#include "drawing/jww_loader.h"
#include "drawing/jww_writer.h"
#include "tests/drawing/drawing_diff.h"
#include "tests/drawing/file_map.h"
#include "tests/drawing/jww_bytes.h"
#include "tests/support/paths.h"
#include "tests/support/synthetic.h"

namespace {

using namespace jww;
using namespace drawing_test;

std::string FirstByteDifference(const std::string& a, const std::string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (a[i] != b[i]) return "bytes differ first at offset " + std::to_string(i);
  }
  if (a.size() != b.size()) {
    return "sizes differ: " + std::to_string(a.size()) + " vs " + std::to_string(b.size());
  }
  return "";
}

// Saves `d`, loads the bytes into `back`, expects the same tables and the
// same bytes from a second save. Returns the bytes.
std::string ExpectRoundTrip(Drawing& d, std::int32_t version, Drawing& back) {
  std::string first;
  const SaveResult saved = SaveJwwToMemory(d, version, first);
  EXPECT_TRUE(saved.ok) << saved.error;
  const LoadResult loaded = LoadJwwFromMemory(back, first.data(), first.size());
  EXPECT_TRUE(loaded.ok()) << loaded.error;
  EXPECT_EQ(FirstDifference(d, back), "");
  std::string second;
  EXPECT_TRUE(SaveJwwToMemory(back, version, second).ok);
  EXPECT_EQ(FirstByteDifference(first, second), "");
  return first;
}

class EveryVersion : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(EveryVersion, FullDrawingComesBackFieldForFieldAndSavesToTheSameBytes) {
  const std::int32_t v = GetParam();
  Drawing d = synthetic::MakeFullDrawing(v);
  Drawing back;
  const std::string bytes = ExpectRoundTrip(d, v, back);
  // The measuring walk of the layout accounts for every byte written.
  EXPECT_EQ(drawing_test::MapFile(d, v).size, bytes.size());
  EXPECT_EQ(Le32(bytes, 8), static_cast<std::uint32_t>(v));
  // Block entities stay in their definitions.
  EXPECT_EQ(back.top.order.size(), 16u);
  ASSERT_EQ(back.blockDefs.size(), 3u);
  EXPECT_EQ(back.blockDefs[0].entities.dimensions.size(), 1u);
  EXPECT_EQ(back.blockDefs[1].entities.points.size(), 2u);
  EXPECT_GE(back.blockDefs[1].time, kExtendedTimeFlag);
  EXPECT_TRUE(back.blockDefs[2].entities.order.empty());
}

TEST_P(EveryVersion, HeaderWithEmptyStringsPutsEveryGroupAtItsOffset) {
  const std::int32_t v = GetParam();
  Drawing d = synthetic::MakeHeaderOnly(v);
  d.header.memo = {};
  for (auto& layer : d.header.layers) layer.name = {};
  for (auto& group : d.header.layerGroups) group.name = {};
  for (auto& c : d.header.extendedColours) c.name = {};
  for (auto& t : d.header.extendedLineTypes) t.name = {};
  std::string bytes;
  ASSERT_TRUE(SaveJwwToMemory(d, v, bytes).ok);
  const auto at = drawing_test::OffsetsWithEmptyStrings(v);
  const THeader& h = d.header;
  // The first and the last field of each group, at the offsets of the format.
  EXPECT_EQ(Le32(bytes, at.group[1]), h.paperSize);
  EXPECT_EQ(Le32(bytes, at.group[2] + 15 * 148 + 24 + 8 * 15), h.layers[255].protect);
  EXPECT_EQ(Le32(bytes, at.group[4]), h.dimensionSettings[0]);
  EXPECT_EQ(static_cast<std::int32_t>(Le32(bytes, at.group[4] + 24)), h.maxDrawWidth);
  EXPECT_EQ(LeF64(bytes, at.group[5] + 64), h.scaleMarkOriginY);
  EXPECT_EQ(LeF64(bytes, at.group[8] + 20), h.wallShadowLevel);
  if (v > 230) {
    EXPECT_EQ(LeF64(bytes, at.group[8] + 36), h.skyMapRadius);
  }
  EXPECT_EQ(LeF64(bytes, at.group[9] + 44), h.rangeOriginY);
  if (v > 230) {
    EXPECT_EQ(static_cast<std::int32_t>(Le32(bytes, at.group[10] + 28 * 7 + 24)),
              h.zoomJumps[7].layerGroup);
    EXPECT_EQ(Le32(bytes, at.group[10] + 224 + 28 + 24), h.reservedZooms[1].word);
  } else {
    EXPECT_EQ(LeF64(bytes, at.group[10] + 24 * 3 + 16), h.zoomJumps[3].originY);
  }
  EXPECT_EQ(Le32(bytes, at.group[11] + 92 + 8 * 9), h.pens[9].screenWidth);
  EXPECT_EQ(LeF64(bytes, at.group[12] + 16 * 9 + 8), h.pens[9].printerPointRadius);
  EXPECT_EQ(Le32(bytes, at.group[13] + 16 * 7 + 12), h.lineTypes[7].printerPitch);
  EXPECT_EQ(Le32(bytes, at.group[14] + 100 + 16 * 3 + 12), h.doubleLines[3].printerPitch);
  EXPECT_EQ(Le32(bytes, at.group[15] + 36), h.displayFlags[9]);
  if (v >= 230) {
    EXPECT_EQ(Le32(bytes, at.group[15] + 140), h.solidColour);
  }
  if (v >= 225 && v < 230) {
    EXPECT_EQ(LeF64(bytes, at.group[15] + 128), h.lastCircleRadius);
  }
  if (v >= 223 && v < 225) {
    EXPECT_EQ(LeF64(bytes, at.group[15] + 96), h.eyeValues25D[4]);
  }
  if (v >= 420) {
    EXPECT_EQ(Le32(bytes, at.group[16] + 256 * 8 + 4), h.extendedColours[256].width);
    EXPECT_EQ(LeF64(bytes, at.group[17] - 8), h.extendedLineTypes[32].segments[9]);
  }
  EXPECT_EQ(Le32(bytes, at.group[17] + 28 * 9 + 24), h.textTypes[9].colour);
  EXPECT_EQ(LeF64(bytes, at.group[18] + 92), h.textAnchorShiftY[2]);
  // Then two empty counts (and from 700 an image count of 0) end the file.
  EXPECT_EQ(bytes.size(), at.entityList + (v >= 700 ? 8 : 4));
  EXPECT_EQ(Le32(bytes, at.entityList), 0u);
}

INSTANTIATE_TEST_SUITE_P(Branches, EveryVersion,
                         ::testing::Values(220, 221, 222, 223, 224, 225, 226, 229, 230, 231, 299,
                                           300, 350, 351, 419, 420, 600, 700));

TEST(SyntheticBulk, AddsAboutTheAskedBytes) {
  for (std::int32_t v : {600, 700}) {
    Drawing d = synthetic::MakeHeaderOnly(v);
    std::string header;
    ASSERT_TRUE(SaveJwwToMemory(d, v, header).ok);
    synthetic::AddBulkEntities(d, 3000000, 7);
    Drawing back;
    const std::string bytes = ExpectRoundTrip(d, v, back);
    const double added = static_cast<double>(bytes.size() - header.size());
    EXPECT_NEAR(added / 3000000.0, 1.0, 0.03) << v;
  }
}

TEST(DrawingDiff, NamesTheFirstDifferingField) {
  Drawing a = synthetic::MakeFullDrawing(600);
  Drawing b = a;
  EXPECT_EQ(FirstDifference(a, b), "");
  b.blockDefs[1].entities.points[0].scale = -0.0;
  b.header.layers[255].name.bytes += "x";
  EXPECT_EQ(FirstDifference(a, b).substr(0, 26), "header.layers[255].name: \"");
  b.header.layers = a.header.layers;
  EXPECT_EQ(FirstDifference(a, b).substr(0, 37), "blockDefs[1].entities.points[0].scale");
}

// Sizes of the version-dependent parts of entity bodies, from the bytes.
std::uint64_t WrittenSize(Drawing& d, std::int32_t v) {
  std::string bytes;
  EXPECT_TRUE(SaveJwwToMemory(d, v, bytes).ok);
  return bytes.size();
}

TEST(EntityBodySizes, FollowVersionAndStoredValues) {
  for (std::int32_t v : {350, 351, 419, 420}) {
    SCOPED_TRACE(v);
    const std::uint64_t attr = v > 350 ? 15 : 13;
    Drawing d = drawing_test::EmptyDrawing(v);
    const std::uint64_t empty = WrittenSize(d, v);
    // A first object brings its class: 0xFFFF, schema, length, name.
    synthetic::Add(d.top, synthetic::MakeLine(v, 1));
    const std::uint64_t oneLine = WrittenSize(d, v);
    EXPECT_EQ(oneLine - empty, 6 + 8 + attr + 32);
    synthetic::Add(d.top, synthetic::MakeLine(v, 2));
    EXPECT_EQ(WrittenSize(d, v) - oneLine, 2 + attr + 32);

    Drawing p = drawing_test::EmptyDrawing(v);
    synthetic::Add(p.top, synthetic::MakePoint(v, 3, false));
    const std::uint64_t plainPoint = WrittenSize(p, v);
    synthetic::Add(p.top, synthetic::MakePoint(v, 4, true));
    EXPECT_EQ(WrittenSize(p, v) - plainPoint, 2 + attr + 20 + 20);
    EXPECT_EQ(plainPoint - empty, 6 + 8 + attr + 20);

    Drawing s = drawing_test::EmptyDrawing(v);
    synthetic::Add(s.top, synthetic::MakeSolid(v, 5, false));
    const std::uint64_t plainSolid = WrittenSize(s, v);
    synthetic::Add(s.top, synthetic::MakeSolid(v, 6, true));
    EXPECT_EQ(plainSolid - empty, 6 + 10 + attr + 64);
    EXPECT_EQ(WrittenSize(s, v) - plainSolid, 2 + attr + 64 + 4);

    // A dimension: own attrs, line, value text; from 420 the extension of a
    // word, two lines and four points (two of them extended here).
    Drawing m = drawing_test::EmptyDrawing(v);
    TEntSunpo dim = synthetic::MakeDimension(v, 7);
    dim.valueText.fontName = {};
    dim.valueText.text = {};
    synthetic::Add(m.top, dim);
    const std::uint64_t text = attr + 32 + 4 + 32 + 1 + 1;
    const std::uint64_t extension = v >= 420 ? 2 + 2 * (attr + 32) + 4 * (attr + 20) + 2 * 20 : 0;
    EXPECT_EQ(WrittenSize(m, v) - empty, 6 + 11 + attr + (attr + 32) + text + extension);
  }
}

TEST(ClassTags, SmallDrawingGetsOneNewTagPerClassAndShortReferences) {
  Drawing d = drawing_test::EmptyDrawing(600);
  synthetic::Add(d.top, synthetic::MakeLine(600, 1));
  synthetic::Add(d.top, synthetic::MakeLine(600, 2));
  synthetic::Add(d.top, synthetic::MakeText(600, 3, synthetic::Text(600, "t")));
  synthetic::Add(d.top, synthetic::MakeArc(600, 4));
  synthetic::Add(d.top, synthetic::MakeArc(600, 5));
  synthetic::UpdateCounts(d);
  std::string bytes;
  ASSERT_TRUE(SaveJwwToMemory(d, 600, bytes).ok);
  std::uint64_t at = drawing_test::OffsetsWithEmptyStrings(600).entityList;
  EXPECT_EQ(Le16(bytes, at), 5);
  at += 2;
  // Line class: index 1; its objects 2 and 3.
  EXPECT_EQ(bytes.substr(at, 6 + 8), std::string("\xFF\xFF\x58\x02\x08\x00", 6) + "CDataSen");
  at += 14 + 47;
  EXPECT_EQ(Le16(bytes, at), 0x8001);
  at += 2 + 47;
  // Text class: index 4, object 5.
  EXPECT_EQ(bytes.substr(at, 6 + 9), std::string("\xFF\xFF\x58\x02\x09\x00", 6) + "CDataMoji");
  const std::uint64_t textBody = 15 + 68 + (1 + 13) + (1 + 1);
  at += 15 + textBody;
  // Arc class: index 6, so the second arc refers to it with 0x8006.
  EXPECT_EQ(bytes.substr(at, 6 + 9), std::string("\xFF\xFF\x58\x02\x09\x00", 6) + "CDataEnko");
  at += 15 + 75;
  EXPECT_EQ(Le16(bytes, at), 0x8006);
}

// `points` points, then two lines, two texts and two block definitions: the
// line class gets index 2 + points.
Drawing PointsThenOthers(std::uint32_t points) {
  Drawing d = synthetic::MakeHeaderOnly(600);
  for (std::uint32_t i = 0; i < points; ++i)
    synthetic::Add(d.top, synthetic::MakePoint(600, i, false));
  synthetic::Add(d.top, synthetic::MakeLine(600, 1));
  synthetic::Add(d.top, synthetic::MakeLine(600, 2));
  synthetic::Add(d.top, synthetic::MakeText(600, 3, synthetic::Text(600, "after")));
  synthetic::Add(d.top, synthetic::MakeText(600, 4, synthetic::Text(600, "points")));
  synthetic::Add(synthetic::AddBlockDefinition(d, 1, false).entities, synthetic::MakeLine(600, 5));
  synthetic::AddBlockDefinition(d, 2, false);
  synthetic::UpdateCounts(d);
  return d;
}

class ManyObjects : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(ManyObjects, ClassReferencesAndCountsTakeTheirLongFormsWhereNeeded) {
  const std::uint32_t points = GetParam();
  Drawing d = PointsThenOthers(points);
  Drawing back;
  const std::string bytes = ExpectRoundTrip(d, 600, back);
  ASSERT_EQ(back.top.lines.size(), 2u);
  EXPECT_EQ(back.top.order[points + 1], (TEntRef{kLine, 1}));
  EXPECT_EQ(back.top.order[points + 3], (TEntRef{kText, 1}));

  const std::uint64_t total = points + 4;
  std::uint64_t at = drawing_test::MapFile(d, 600).SectionStart("entity list");
  if (total < 0xFFFF) {
    EXPECT_EQ(Le16(bytes, at), total);
    at += 2;
  } else {
    EXPECT_EQ(Le16(bytes, at), 0xFFFF);
    EXPECT_EQ(Le32(bytes, at + 2), total);
    at += 6;
  }
  // First point: new class (14 bytes) and 35 bytes; every further one a
  // 2-byte reference and 35 bytes. Then the new line class and a line.
  at += 14 + 35 + (points - 1) * 37 + 14 + 47;
  const std::uint32_t lineClass = 2 + points;
  if (lineClass < 0x7FFF) {
    EXPECT_EQ(Le16(bytes, at), 0x8000 + lineClass);
  } else {
    EXPECT_EQ(Le16(bytes, at), 0x7FFF);
    EXPECT_EQ(Le32(bytes, at + 2), 0x80000000u + lineClass);
  }
}

INSTANTIATE_TEST_SUITE_P(AroundTheLimits, ManyObjects,
                         ::testing::Values(32764u, 32765u, 65530u, 65531u, 70000u));

TEST(StringForms, EveryLengthFormRoundTripsInBothEncodings) {
  for (bool wide : {false, true}) {
    for (std::size_t n : {0, 1, 254, 255, 300, 65533, 65534, 65535, 70000}) {
      SCOPED_TRACE(std::to_string(n) + (wide ? " wide" : " narrow"));
      Drawing d = drawing_test::EmptyDrawing(600);
      d.header.memo = synthetic::MakeString(n, wide, static_cast<unsigned>(n));
      d.header.layers[7].name = synthetic::MakeString(n, wide, 3);
      synthetic::Add(d.top, synthetic::MakeText(600, 1, synthetic::MakeString(n, wide, 1)));
      synthetic::UpdateCounts(d);
      Drawing back;
      const std::string bytes = ExpectRoundTrip(d, 600, back);
      drawing_test::Bytes prefix;
      if (wide) prefix.u8(0xFF).u16(0xFFFE);
      if (n < 255) {
        prefix.u8(static_cast<std::uint8_t>(n));
      } else if (n < 0xFFFE) {
        prefix.u8(0xFF).u16(static_cast<std::uint16_t>(n));
      } else {
        prefix.u8(0xFF).u16(0xFFFF).u32(static_cast<std::uint32_t>(n));
      }
      EXPECT_EQ(bytes.substr(12, prefix.size()), prefix.data());
      EXPECT_EQ(bytes.substr(12 + prefix.size(), d.header.memo.bytes.size()), d.header.memo.bytes);
      EXPECT_EQ(back.header.memo.units(), n);
    }
  }
}

TEST(ImagesRoundTrip, PresentImagesComeBackWithTheirBytesUnderNamesOfOurOwn) {
  testing_support::ScratchDir source;
  testing_support::ScratchDir work;
  const std::filesystem::path loadFolder = work / "temp";
  std::filesystem::create_directory(loadFolder);
  Drawing d = synthetic::MakeFullDrawing(700);
  const std::filesystem::path escaped = work / "escaped.bin";
  const std::vector<std::u16string> names = {
      u"photo.bmp", u"..\\escaped.bin",      u"../escaped.bin", std::u16string(escaped.u16string()),
      u"C:foo.jpg", u"a<b>c|d?e*f:g\"h.png", u"写真.jpg",
  };
  unsigned seed = 0;
  for (const auto& name : names) {
    // Sizes around the copy chunks: 0 left over, a few bytes, many chunks.
    const std::uint64_t size = seed == 0 ? 100000 : seed == 1 ? 2048 : 1 + seed * 997;
    synthetic::AddImage(d, source.path(), JwwString::fromUtf16(name), size, seed);
    ++seed;
  }
  Drawing back;
  back.imageOptions.tempFolder = loadFolder;
  ExpectRoundTrip(d, 700, back);
  ASSERT_EQ(back.images.size(), names.size());
  std::size_t files = 0;
  for (std::size_t i = 0; i < back.images.size(); ++i) {
    const TBindImageType& image = back.images[i];
    EXPECT_EQ(image.tempFile.parent_path(), loadFolder);
    EXPECT_EQ(testing_support::ReadFileBytes(image.tempFile),
              synthetic::ImageBytes(static_cast<unsigned>(i), image.size));
  }
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(loadFolder))
    ++files;
  EXPECT_EQ(files, names.size());
  EXPECT_FALSE(std::filesystem::exists(escaped));
  back.DeleteImageFiles();
  EXPECT_TRUE(std::filesystem::is_empty(loadFolder));
}

}  // namespace
