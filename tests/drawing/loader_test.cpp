// The loader on hand-made files: versions, counts, class tags, block
// definitions, derived header fields, and hostile counts and lengths.
#include <gtest/gtest.h>

#include <limits>

#include "drawing/jww_loader.h"
#include "drawing/jww_writer.h"
#include "tests/drawing/allocation_watch.h"
#include "tests/drawing/drawing_diff.h"
#include "tests/drawing/jww_bytes.h"
#include "tests/support/paths.h"
#include "tests/support/synthetic.h"

namespace {

using namespace jww;
using namespace drawing_test;

constexpr std::int32_t kV = 600;

std::string Header(std::int32_t version = kV) {
  Drawing d = EmptyDrawing(version);
  return HeaderBytes(d, version);
}

LoadResult LoadBytes(Drawing& d, const std::string& bytes) {
  return LoadJwwFromMemory(d, bytes.data(), bytes.size());
}

TEST(LoaderVersions, Version219FailsRightAfterTheVersion) {
  Bytes b;
  b.raw("JwwData.").u32(219);
  Drawing d;
  const LoadResult r = LoadBytes(d, b.data());
  EXPECT_FALSE(r.ok());
  EXPECT_NE(r.error.find("219"), std::string::npos) << r.error;
  EXPECT_EQ(d.header.signature, "JwwData.");
  EXPECT_EQ(d.header.version, 219);
}

TEST(LoaderVersions, Version220WithNothingInItLoadsWithSizedHeaderTables) {
  std::string bytes = Header(220);
  bytes += std::string(4, '\0');
  Drawing d;
  synthetic::Add(d.top, synthetic::MakeLine(220, 1));  // leftovers of an earlier drawing
  ASSERT_TRUE(LoadBytes(d, bytes).ok());
  EXPECT_EQ(d.top.entityCount(), 0u);
  EXPECT_TRUE(d.top.order.empty());
  EXPECT_TRUE(d.blockDefs.empty());
  EXPECT_EQ(d.header.layers.size(), 256u);
  EXPECT_EQ(d.header.extendedColours.size(), 257u);
  EXPECT_EQ(d.header.extendedLineTypes.size(), 33u);
  EXPECT_EQ(d.header.textTypes.size(), 10u);
}

// Jw_cad leaves no bytes after the last section: any there mean damage, found
// once everything before them was read.
TEST(LoaderVersions, BytesAfterTheLastSectionFailTheLoadOnceAllIsRead) {
  Drawing d = synthetic::MakeFullDrawing(kV);
  std::string bytes;
  ASSERT_TRUE(SaveJwwToMemory(d, kV, bytes).ok);
  bytes += "trailing garbage";
  Drawing back;
  const LoadResult r = LoadBytes(back, bytes);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.failure, LoadFailure::kDamaged);
  EXPECT_EQ(FirstDifference(d, back), "");
}

TEST(LoaderVersions, FileAndMemoryLoadsAgreeAndAMissingFileFails) {
  testing_support::ScratchDir dir;
  Drawing d = synthetic::MakeFullDrawing(kV);
  synthetic::AddBulkEntities(d, 300000);  // several read buffers
  ASSERT_TRUE(SaveJww(d, dir / "a.jww", kV).ok);
  Drawing fromFile;
  const LoadResult r = LoadJww(fromFile, dir / "a.jww");
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(FirstDifference(d, fromFile), "");
  EXPECT_FALSE(LoadJww(fromFile, dir / "missing.jww").ok());
  EXPECT_FALSE(LoadJww(fromFile, dir.path()).ok());
}

TEST(LoaderCounts, LongCountFormIsReadForAnyCount) {
  Bytes b;
  b.raw(Header()).u16(0xFFFF).u32(3);
  b.newClass(kV, "CDataSen").line(kV, 1).u16(0x8001).line(kV, 2).u16(0x8001).line(kV, 3);
  b.u16(0);
  Drawing d;
  const LoadResult r = LoadBytes(d, b.data());
  ASSERT_TRUE(r.ok()) << r.error;
  ASSERT_EQ(d.top.lines.size(), 3u);
  EXPECT_EQ(d.header.entityCount, 3);
  EXPECT_EQ(d.top.lines[2].startX, 3.0);
}

TEST(LoaderClassTags, HighBitAndLongReferencesResolveByClassIndex) {
  // Line class 1, line 2, text class 3, text 4, then the text class in the
  // 0x7FFF form with the high bit set, then the line class by 0x8001.
  Bytes b;
  b.raw(Header()).u16(4);
  b.newClass(kV, "CDataSen").line(kV, 1);
  b.newClass(kV, "CDataMoji").text(kV, "first");
  b.u16(0x7FFF).u32(0x80000003u).text(kV, "second");
  b.u16(0x8001).line(kV, 5);
  b.u16(0);
  Drawing d;
  const LoadResult r = LoadBytes(d, b.data());
  ASSERT_TRUE(r.ok()) << r.error;
  const std::vector<TEntRef> order = {{kLine, 0}, {kText, 0}, {kText, 1}, {kLine, 1}};
  EXPECT_EQ(d.top.order, order);
  EXPECT_EQ(d.top.texts[1].text, JwwString::narrow("second"));
  EXPECT_EQ(d.top.lines[1].startX, 5.0);
}

TEST(LoaderClassTags, SecondTextClassReplacesTheFirstForReferences) {
  Bytes b;
  b.raw(Header()).u16(4);
  b.newClass(kV, "CDataMoji").text(kV, "a");  // class 1, object 2
  b.newClass(kV, "CDataMoji").text(kV, "b");  // class 3, object 4
  b.u16(0x8003).text(kV, "c");                // object 5
  const std::uint64_t staleTag = b.size();
  b.u16(0x8001).text(kV, "d");
  b.u16(0);
  Drawing d;
  const LoadResult r = LoadBytes(d, b.data());
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(d.top.texts.size(), 3u);
  EXPECT_NE(r.error.find("at byte " + std::to_string(staleTag)), std::string::npos) << r.error;
}

TEST(LoaderClassTags, UnknownClassesAndUnresolvableTagsFailAtTheirOffset) {
  struct Case {
    const char* what;
    Bytes tag;
  };
  std::vector<Case> cases;
  cases.push_back({"unknown class name", Bytes().newClass(kV, "CDataXyz")});
  cases.push_back({"name in another letter case", Bytes().newClass(kV, "cdatasen")});
  cases.push_back({"reference to index 0", Bytes().u16(0x8000)});
  cases.push_back({"reference to an index never seen", Bytes().u16(0x8009)});
  cases.push_back({"object reference (no high bit)", Bytes().u16(0x0001)});
  cases.push_back({"long reference to index 0", Bytes().u16(0x7FFF).u32(0x80000000u)});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes b;
    b.raw(Header()).u16(2);
    b.newClass(kV, "CDataSen").line(kV, 1);
    const std::uint64_t at = b.size();
    b.raw(c.tag.data()).line(kV, 2).u16(0);
    Drawing d;
    const LoadResult r = LoadBytes(d, b.data());
    EXPECT_FALSE(r.ok());
    EXPECT_NE(r.error.find("at byte " + std::to_string(at)), std::string::npos) << r.error;
  }
}

TEST(LoaderBlockDefinitions, ClassIsNotCheckedButTakesAnIndexAndEntitiesStayInside) {
  Bytes b;
  b.raw(Header()).u16(1);
  b.newClass(kV, "CDataSen").line(kV, 1);  // class 1, object 2
  b.u16(1);
  b.newClass(kV, "Anything");  // class 3
  b.attr(kV, 7, 700).u32(5).u32(1);
  b.u32(0xFFFFFFFFu).raw("ABCDEFGH");         // extended time and its 8 bytes
  b.str("block").u16(3);                      // definition is object 4
  b.u16(0x8001).line(kV, 2);                  // object 5
  b.newClass(kV, "CDataMoji").text(kV, "x");  // class 6, object 7
  b.u16(0x8006).text(kV, "y");
  Drawing d;
  const LoadResult r = LoadBytes(d, b.data());
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(d.top.lines.size(), 1u);
  EXPECT_TRUE(d.top.texts.empty());
  ASSERT_EQ(d.blockDefs.size(), 1u);
  const TEntBlockDef& def = d.blockDefs[0];
  EXPECT_EQ(def.number, 5u);
  EXPECT_EQ(def.time, 0xFFFFFFFFu);
  EXPECT_EQ(std::string(def.extendedTime.begin(), def.extendedTime.end()), "ABCDEFGH");
  EXPECT_EQ(def.name, JwwString::narrow("block"));
  EXPECT_EQ(def.entityCount, 3);
  EXPECT_EQ(def.entities.lines.size(), 1u);
  EXPECT_EQ(def.entities.texts.size(), 2u);
  EXPECT_EQ(d.header.blockDefinitionCount, 1);

  // Written back with its 8 bytes.
  std::string again;
  ASSERT_TRUE(SaveJwwToMemory(d, kV, again).ok);
  EXPECT_NE(again.find(std::string("\xFF\xFF\xFF\xFF") + "ABCDEFGH"), std::string::npos);
}

TEST(LoaderHeader, WideLineAndDisplayFlag11AreDerivedFromStoredValues) {
  struct Wide {
    std::int32_t stored;
    bool mode;
    std::int32_t level;
  };
  for (const Wide& w :
       {Wide{-450, true, -50}, Wide{-401, true, -1}, Wide{-500, true, -100}, Wide{-250, true, 50},
        Wide{-201, true, 1}, Wide{-300, true, 100}, Wide{-150, true, -100}, Wide{-501, true, -100},
        Wide{-100, false, -100}, Wide{5, false, 5}, Wide{-400, true, -100}, Wide{-200, true, -100},
        Wide{-301, true, -100}}) {
    SCOPED_TRACE(w.stored);
    Drawing d = EmptyDrawing(kV);
    d.header.maxDrawWidth = w.stored;
    std::string bytes;
    ASSERT_TRUE(SaveJwwToMemory(d, kV, bytes).ok);
    Drawing back;
    ASSERT_TRUE(LoadBytes(back, bytes).ok());
    EXPECT_EQ(back.header.maxDrawWidth, w.stored);
    EXPECT_EQ(back.header.wideLineMode, w.mode);
    EXPECT_EQ(back.header.wideLineLevel, w.level);
  }
  struct Flag {
    std::int32_t stored;
    std::int32_t tens, units;
  };
  for (const Flag& f : {Flag{37, 3, 7}, Flag{-13, -1, -3}, Flag{5, 0, 5}, Flag{120, 12, 0},
                        Flag{std::numeric_limits<std::int32_t>::min(), -214748364, -8}}) {
    SCOPED_TRACE(f.stored);
    std::string bytes = Header();
    const std::uint64_t at = OffsetsWithEmptyStrings(kV).group[15] + 40;
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(f.stored >> (8 * i));
    bytes += std::string(4, '\0');
    Drawing d;
    ASSERT_TRUE(LoadBytes(d, bytes).ok());
    EXPECT_EQ(d.header.flag11Tens, f.tens);
    EXPECT_EQ(d.header.flag11Units, f.units);
  }
}

TEST(LoaderHeader, SkyMapIsKeptFrom300Only) {
  for (std::int32_t v : {231, 299, 300}) {
    SCOPED_TRACE(v);
    Drawing d = EmptyDrawing(v);
    d.header.skyMapLevel = 3.5;
    d.header.skyMapRadius = 4.5;
    std::string bytes;
    ASSERT_TRUE(SaveJwwToMemory(d, v, bytes).ok);
    // Written as held in the 44-byte form of group 8.
    const std::uint64_t at = OffsetsWithEmptyStrings(v).group[8];
    EXPECT_EQ(LeF64(bytes, at + 28), 3.5);
    Drawing back;
    ASSERT_TRUE(LoadBytes(back, bytes).ok());
    EXPECT_EQ(back.header.skyMapLevel, v >= 300 ? 3.5 : 0.0);
    EXPECT_EQ(back.header.skyMapRadius, v >= 300 ? 4.5 : 0.0);
  }
}

// Loads `bytes`, expecting a clean failure and no allocation near the size
// the hostile field asks for.
void ExpectCleanFailure(const std::string& bytes, const char* what) {
  SCOPED_TRACE(what);
  testing_support::ScratchDir temp;
  Drawing d;
  d.imageOptions.tempFolder = temp.path();
  ResetLargestAllocation();
  const LoadResult r = LoadBytes(d, bytes);
  const std::size_t largest = LargestAllocation();
  EXPECT_FALSE(r.ok());
  EXPECT_FALSE(r.error.empty());
  // Nothing bigger than the file itself (or a small working buffer).
  if (AllocationWatchActive()) {
    EXPECT_LE(largest, std::max<std::size_t>(1u << 20, bytes.size())) << r.error;
  }
  d.DeleteImageFiles();
}

TEST(LoaderHostileInput, HugeCountsAndLengthsFailWithoutHugeAllocations) {
  const std::string header = Header();
  ExpectCleanFailure(Bytes().raw(header).u16(0xFFFF).u32(0xFFFFFFF0u).data(), "entity count");
  ExpectCleanFailure(Bytes().raw(header).u16(0xFFFF).u32(0x7FFFFFF0u).data(), "entity count");
  ExpectCleanFailure(Bytes().raw(header).u16(0).u16(0xFFFF).u32(0x7FFFFFF0u).data(),
                     "block definition count");
  ExpectCleanFailure(Bytes()
                         .raw(header)
                         .u16(0)
                         .u16(1)
                         .newClass(kV, "CDataList")
                         .attr(kV, 1, 1)
                         .u32(1)
                         .u32(0)
                         .u32(0)
                         .str("b")
                         .u16(0xFFFF)
                         .u32(0x7FFFFFF0u)
                         .data(),
                     "block entity count");
  // One text, up to where its font name begins.
  const std::string textUpToFont = Bytes()
                                       .raw(header)
                                       .u16(1)
                                       .newClass(kV, "CDataMoji")
                                       .attr(kV, 1, 1)
                                       .raw(std::string(68, '\0'))
                                       .data();
  ExpectCleanFailure(Bytes().raw(textUpToFont).u8(0xFF).u16(0xFFFF).u32(4000000000u).data(),
                     "string of 4e9 bytes");
  ExpectCleanFailure(
      Bytes().raw(textUpToFont).u8(0xFF).u16(0xFFFE).u8(0xFF).u16(0xFFFF).u32(2000000000u).data(),
      "wide string of 2e9 units");
  ExpectCleanFailure(Bytes().raw("JwwData.").u32(kV).u8(0xFF).u16(0xFFFF).u32(0xFFFFFFFFu).data(),
                     "memo of 4 GB");
  ExpectCleanFailure(Bytes().raw(header).u16(1).u16(0xFFFF).u16(kV).u16(0xFFFF).data(),
                     "class name longer than the file");
  ExpectCleanFailure(Bytes().raw(Header(700)).u16(0).u16(0).u32(0x7FFFFFFFu).data(),
                     "image count 2^31-1");
  ExpectCleanFailure(Bytes()
                         .raw(Header(700))
                         .u16(0)
                         .u16(0)
                         .u32(2)
                         .str("big.bmp")
                         .u32(0xFFFFFFFFu)
                         .raw("xy")
                         .data(),
                     "an image cut short that is not the last");
}

TEST(LoaderHostileInput, CountsTheFileCouldHoldDoNotAllocateMoreThanTheFile) {
  // Each count passes the "enough bytes left" test, but the entries are
  // garbage: the first one fails. Tables grow with what was read.
  const std::string junk(6u << 20, '\xFF');
  ExpectCleanFailure(Bytes().raw(Header(700)).u16(0).u16(0).u32(1000000).raw(junk).data(),
                     "one million images");
  ExpectCleanFailure(Bytes().raw(Header()).u16(0).u16(0xFFFF).u32(190000).raw(junk).data(),
                     "190000 block definitions");
  ExpectCleanFailure(Bytes().raw(Header()).u16(0xFFFF).u32(160000).raw(junk).data(),
                     "160000 entities");
}

TEST(LoaderHostileInput, AllocationWatchSeesLargeRequests) {
  if (!AllocationWatchActive()) GTEST_SKIP() << "operator new belongs to the sanitizer";
  ResetLargestAllocation();
  std::vector<char> big(10u << 20);
  // Kept observable: a compiler may otherwise leave out an unused allocation.
  char* volatile data = big.data();
  (void)data;
  EXPECT_GE(LargestAllocation(), big.size());
}

TEST(LoaderHostileInput, ImageOfFourGigabytesInAShortFileIsNotHeldInMemory) {
  // Cut inside the data of the last image: the load streams what is there,
  // never allocating the stored size, and fails as cut short.
  testing_support::ScratchDir temp;
  const std::string bytes = Bytes()
                                .raw(Header(700))
                                .u16(0)
                                .u16(0)
                                .u32(1)
                                .str("big.bmp")
                                .u32(0xFFFFFFFFu)
                                .raw("abc")
                                .data();
  Drawing d;
  d.imageOptions.tempFolder = temp.path();
  ResetLargestAllocation();
  const LoadResult r = LoadBytes(d, bytes);
  EXPECT_EQ(r.failure, LoadFailure::kImageCutShort) << r.error;
  if (AllocationWatchActive()) {
    EXPECT_LT(LargestAllocation(), 4u << 20);
  }
  d.DeleteImageFiles();
}

}  // namespace
