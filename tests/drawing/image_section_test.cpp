// The image section of version-700 drawings: reading entries into temp files
// of our own, and the writer rebuilding the section from the texts.
#include <gtest/gtest.h>

#include "drawing/jww_loader.h"
#include "drawing/jww_writer.h"
#include "tests/drawing/as_written.h"
#include "tests/drawing/drawing_diff.h"
#include "tests/drawing/jww_bytes.h"
#include "tests/support/paths.h"
#include "tests/support/synthetic.h"

namespace {

using namespace jww;
using namespace drawing_test;

std::size_t FilesIn(const std::filesystem::path& dir) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++n;
  return n;
}

// A version-700 file without entities whose image section is `images`.
std::string WithImageSection(const Bytes& images) {
  Drawing d = EmptyDrawing(700);
  return Bytes().raw(HeaderBytes(d, 700)).u16(0).u16(0).raw(images.data()).data();
}

class ImageSection : public ::testing::Test {
 protected:
  LoadResult Load(const std::string& bytes) {
    d.imageOptions.tempFolder = temp.path();
    return LoadJwwFromMemory(d, bytes.data(), bytes.size());
  }
  testing_support::ScratchDir temp;
  Drawing d;
};

TEST_F(ImageSection, EntriesWithoutNameOrSizeCarryNoDataAndGetNoFile) {
  const std::string data = synthetic::ImageBytes(5, 3000);
  Bytes images;
  images.u32(4);
  images.str("").u32(10);         // no name: no data follows
  images.str("zero.bmp").u32(0);  // no size: no data follows
  images.str("a.bmp").u32(5).raw("12345");
  images.str("last.bmp").u32(3000).raw(data);
  const LoadResult r = Load(WithImageSection(images));
  ASSERT_TRUE(r.ok()) << r.error;
  ASSERT_EQ(d.images.size(), 4u);
  EXPECT_EQ(d.images[0].size, 10u);
  EXPECT_TRUE(d.images[0].tempFile.empty());
  EXPECT_EQ(d.images[1].name, JwwString::narrow("zero.bmp"));
  EXPECT_TRUE(d.images[1].tempFile.empty());
  EXPECT_EQ(testing_support::ReadFileBytes(d.images[2].tempFile), "12345");
  EXPECT_EQ(testing_support::ReadFileBytes(d.images[3].tempFile), data);
  EXPECT_EQ(FilesIn(temp.path()), 2u);
  d.DeleteImageFiles();
  EXPECT_EQ(FilesIn(temp.path()), 0u);
}

TEST_F(ImageSection, EntriesWithoutDataAreNotCarriedIntoASavedFile) {
  // The writer rebuilds the section from the texts and the temp files: an
  // entry with no name cannot be referred to, one of size 0 has no file.
  Drawing source = EmptyDrawing(700);
  for (const char* text : {"^@BM%temp%zero.bmp,1", "^@BM%temp%a.bmp,1"}) {
    synthetic::Add(source.top, synthetic::MakeText(700, 1, synthetic::Text(700, text)));
  }
  synthetic::UpdateCounts(source);
  std::string bytes;
  ASSERT_TRUE(SaveJwwToMemory(source, 700, bytes).ok);
  bytes.resize(bytes.size() - 4);
  Bytes images;
  images.u32(3).str("").u32(10).str("zero.bmp").u32(0).str("a.bmp").u32(3).raw("abc");
  bytes += images.data();
  ASSERT_TRUE(Load(bytes).ok());
  ASSERT_EQ(d.images.size(), 3u);
  std::string again;
  ASSERT_TRUE(SaveJwwToMemory(d, 700, again).ok);
  EXPECT_EQ(again.substr(again.size() - 17), Bytes().u32(1).str("a.bmp").u32(3).raw("abc").data());
}

TEST_F(ImageSection, ZeroOrNegativeCountEndsTheFile) {
  EXPECT_TRUE(Load(WithImageSection(Bytes().u32(0))).ok());
  EXPECT_TRUE(d.images.empty());
  EXPECT_TRUE(Load(WithImageSection(Bytes().u32(0xFFFFFFFBu))).ok());
  EXPECT_TRUE(d.images.empty());
  EXPECT_FALSE(Load(WithImageSection(Bytes().u16(0))).ok());  // count cut short
}

TEST_F(ImageSection, CutInsideTheLastImageFailsAsCutShort) {
  const std::string data = synthetic::ImageBytes(1, 5000);
  Bytes images;
  images.u32(2).str("first.bmp").u32(4).raw("abcd").str("second.bmp").u32(5000).raw(data);
  const std::string full = WithImageSection(images);
  for (std::size_t keep : {0, 1, 2047, 2048, 2049, 4999}) {
    SCOPED_TRACE(keep);
    const LoadResult r = Load(full.substr(0, full.size() - data.size() + keep));
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.failure, LoadFailure::kImageCutShort);
    EXPECT_NE(r.error.find("the embedded image 2 of 2 is cut short by the end of the file (" +
                           std::to_string(keep) + " of 5000 bytes)"),
              std::string::npos)
        << r.error;
    d.DeleteImageFiles();
  }
  ASSERT_TRUE(Load(full).ok());
  EXPECT_EQ(testing_support::ReadFileBytes(d.images[1].tempFile), data);
  d.DeleteImageFiles();
  // Cut inside the first image's data: its name then takes the rest, and the
  // next field is missing.
  EXPECT_FALSE(Load(full.substr(0, full.size() - data.size() - 10 - 2)).ok());
  d.DeleteImageFiles();
  EXPECT_EQ(FilesIn(temp.path()), 0u);
}

TEST_F(ImageSection, WithoutExtractionTheBytesAreSkippedAndTheWriterKeepsNone) {
  Drawing source = synthetic::MakeHeaderOnly(700);
  synthetic::AddImage(source, temp.path(), synthetic::Text(700, "pic.bmp"), 70000, 3);
  std::string bytes;
  ASSERT_TRUE(SaveJwwToMemory(source, 700, bytes).ok);
  const std::size_t before = FilesIn(temp.path());

  d.imageOptions.extract = false;
  ASSERT_TRUE(Load(bytes).ok());
  ASSERT_EQ(d.images.size(), 1u);
  EXPECT_TRUE(d.images[0].tempFile.empty());
  EXPECT_EQ(FilesIn(temp.path()), before);
  std::string again;
  ASSERT_TRUE(SaveJwwToMemory(d, 700, again).ok);
  EXPECT_EQ(Le32(again, again.size() - 4), 0u);

  // With both switches off the section is not read at all.
  d.imageOptions.readSection = false;
  const std::string cut = bytes.substr(0, bytes.size() - 70000 - 20);
  EXPECT_TRUE(LoadJwwFromMemory(d, cut.data(), cut.size()).ok());
  EXPECT_TRUE(d.images.empty());
}

TEST_F(ImageSection, MissingTempFolderFailsTheLoadAndLeavesNoFile) {
  const std::string bytes = WithImageSection(Bytes().u32(1).str("a.bmp").u32(3).raw("abc"));
  d.imageOptions.tempFolder = temp / "missing";
  const LoadResult r = LoadJwwFromMemory(d, bytes.data(), bytes.size());
  EXPECT_FALSE(r.ok());
  EXPECT_NE(r.error.find("temp file"), std::string::npos) << r.error;
  EXPECT_EQ(FilesIn(temp.path()), 0u);
}

TEST_F(ImageSection, NoTempFolderFailsTheLoadInsteadOfWritingIntoTheCurrentFolder) {
  const std::string bytes = WithImageSection(Bytes().u32(1).str("a.bmp").u32(3).raw("abc"));
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(temp.path());
  d.imageOptions.tempFolder.clear();
  const LoadResult r = LoadJwwFromMemory(d, bytes.data(), bytes.size());
  std::filesystem::current_path(cwd);
  EXPECT_FALSE(r.ok());
  EXPECT_NE(r.error.find("no temp folder"), std::string::npos) << r.error;
  EXPECT_EQ(FilesIn(temp.path()), 0u);
}

TEST_F(ImageSection, FileLoaderStreamsLargeImagesAcrossItsBuffer) {
  Drawing source = synthetic::MakeFullDrawing(700);
  testing_support::ScratchDir origin;
  synthetic::AddImage(source, origin.path(), synthetic::Text(700, "big.bmp"), 300001, 4);
  synthetic::AddImage(source, origin.path(), synthetic::Text(700, "small.bmp"), 7, 5);
  ASSERT_TRUE(SaveJww(source, temp / "img.jww", 700).ok);
  testing_support::ScratchDir extracted;
  d.imageOptions.tempFolder = extracted.path();
  const LoadResult r = LoadJww(d, temp / "img.jww");
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(FirstDifference(source, d), "");
  EXPECT_EQ(testing_support::ReadFileBytes(d.images[0].tempFile), synthetic::ImageBytes(4, 300001));
  EXPECT_EQ(testing_support::ReadFileBytes(d.images[1].tempFile), synthetic::ImageBytes(5, 7));
}

TEST_F(ImageSection, DeleteImageFilesGoesOnPastAMissingFile) {
  synthetic::AddImage(d, temp.path(), synthetic::Text(700, "a"), 3, 1, false);
  synthetic::AddImage(d, temp.path(), synthetic::Text(700, "b"), 3, 2, false);
  std::filesystem::remove(d.images[0].tempFile);
  d.DeleteImageFiles();
  EXPECT_FALSE(std::filesystem::exists(d.images[1].tempFile));
}

// ---- The writer's choice of images ------------------------------------------

class ImageChoice : public ::testing::Test {
 protected:
  ImageChoice() : d(synthetic::MakeHeaderOnly(700)) {}
  void AddUnreferenced(const JwwString& name, unsigned seed) {
    synthetic::AddImage(d, temp.path(), name, 10 + seed, seed, false);
  }
  void AddText(const JwwString& text) {
    synthetic::Add(d.top, synthetic::MakeText(700, 1, text));
    synthetic::UpdateCounts(d);
  }
  // The names of the images the writer keeps, in order.
  std::vector<JwwString> Written() {
    std::string bytes;
    EXPECT_TRUE(SaveJwwToMemory(d, 700, bytes).ok);
    testing_support::ScratchDir out;
    Drawing back;
    back.imageOptions.tempFolder = out.path();
    EXPECT_TRUE(LoadJwwFromMemory(back, bytes.data(), bytes.size()).ok());
    std::vector<JwwString> names;
    for (const auto& image : back.images) names.push_back(image.name);
    back.DeleteImageFiles();
    return names;
  }
  static JwwString W(std::u16string_view s) { return JwwString::fromUtf16(s); }

  testing_support::ScratchDir temp;
  Drawing d;
};

TEST_F(ImageChoice, ImagesNoTextRefersToAreLeftOut) {
  AddUnreferenced(W(u"a.bmp"), 1);
  AddText(W(u"a.bmp"));
  AddText(W(u"^@BM%temp%"));         // too short
  AddText(W(u"^@BM%temp%a.bmp"));    // no comma
  AddText(W(u"^@bm%temp%a.bmp,1"));  // prefix compared exactly
  AddText(W(u"^@BM%temp%,a.bmp"));   // empty key
  EXPECT_TRUE(Written().empty());
}

TEST_F(ImageChoice, KeyMatchesTheFirstNameBeginningWithItInAnyLetterCase) {
  AddUnreferenced(W(u"Other.bmp"), 1);
  AddUnreferenced(W(u"PlanA.bmp"), 2);
  AddUnreferenced(W(u"plana-copy.bmp"), 3);
  AddUnreferenced(W(u"写真.JPG"), 4);
  AddText(W(u"^@BM%temp%pLaNa,100,100"));
  AddText(W(u"^@BM%temp%PLANA.BMP,1,1"));  // the same image again: written once
  AddText(W(u"^@BM%temp%写真.jpg,5"));
  EXPECT_EQ(Written(), (std::vector<JwwString>{W(u"PlanA.bmp"), W(u"写真.JPG")}));
}

TEST_F(ImageChoice, TextsInBlockDefinitionsCountButDimensionValuesDoNot) {
  AddUnreferenced(W(u"inblock.bmp"), 1);
  AddUnreferenced(W(u"dimension.bmp"), 2);
  TEntBlockDef& def = synthetic::AddBlockDefinition(d, 1, false);
  synthetic::Add(def.entities, synthetic::MakeText(700, 2, W(u"^@BM%temp%inblock.bmp,1")));
  TEntSunpo dim = synthetic::MakeDimension(700, 3);
  dim.valueText.text = W(u"^@BM%temp%dimension.bmp,1");
  synthetic::Add(d.top, dim);
  synthetic::UpdateCounts(d);
  EXPECT_EQ(Written(), std::vector<JwwString>{W(u"inblock.bmp")});
}

TEST_F(ImageChoice, CommaInsideADoubleByteCharacterDoesNotEndTheKey) {
  // In a Shift-JIS text the byte after a lead byte belongs to it, so the key
  // here is "AB\x81,CD", not "AB\x81".
  AddUnreferenced(JwwString::narrow("AB\x81XYZ.bmp"), 1);
  AddUnreferenced(JwwString::narrow("AB\x81,CD.bmp"), 2);
  AddText(JwwString::narrow("^@BM%temp%AB\x81,CD,100"));
  EXPECT_EQ(Written(), std::vector<JwwString>{JwwString::narrow("AB\x81,CD.bmp")});
}

TEST_F(ImageChoice, ImageWhoseTempFileVanishedIsLeftOutOfCountAndSection) {
  AddUnreferenced(W(u"gone.bmp"), 1);
  AddUnreferenced(W(u"kept.bmp"), 2);
  AddText(W(u"^@BM%temp%gone.bmp,1"));
  AddText(W(u"^@BM%temp%kept.bmp,1"));
  std::filesystem::remove(d.images[0].tempFile);
  EXPECT_EQ(Written(), std::vector<JwwString>{W(u"kept.bmp")});
}

TEST_F(ImageChoice, ImageSizeIsTakenFromTheTempFile) {
  AddUnreferenced(W(u"grown.bmp"), 1);
  AddText(W(u"^@BM%temp%grown.bmp,1"));
  testing_support::WriteFileBytes(d.images[0].tempFile, "now seven");
  std::string bytes;
  ASSERT_TRUE(SaveJwwToMemory(d, 700, bytes).ok);
  EXPECT_EQ(bytes.substr(bytes.size() - 4 - 9), std::string("\x09\0\0\0", 4) + "now seven");
  const Drawing expected = AsWritten(d, 700);
  ASSERT_EQ(expected.images.size(), 1u);
  EXPECT_EQ(expected.images[0].size, 9u);
}

}  // namespace
