// The signature check and the memo probe.
#include <gtest/gtest.h>

#include "drawing/jww_probe.h"
#include "drawing/jww_writer.h"
#include "tests/drawing/jww_bytes.h"
#include "tests/support/paths.h"
#include "tests/support/synthetic.h"

namespace {

using namespace jww;
using namespace drawing_test;
using testing_support::WriteFileBytes;

class Probe : public ::testing::Test {
 protected:
  std::filesystem::path File(const std::string& bytes) {
    const auto path = dir / ("f" + std::to_string(n_++) + ".jww");
    WriteFileBytes(path, bytes);
    return path;
  }
  testing_support::ScratchDir dir;

 private:
  int n_ = 0;
};

TEST_F(Probe, SignatureMustBeExactlyJwwDataInItsFirstEightBytes) {
  EXPECT_TRUE(IsJwwFile(File("JwwData.")));
  EXPECT_TRUE(IsJwwFile(File("JwwData.anything after")));
  EXPECT_FALSE(IsJwwFile(File("jwwdata.")));
  EXPECT_FALSE(IsJwwFile(File("JWWDATA.")));
  EXPECT_FALSE(IsJwwFile(File(std::string("JwwData\0", 8))));
  EXPECT_FALSE(IsJwwFile(File("JwwData")));
  EXPECT_FALSE(IsJwwFile(File("")));
  EXPECT_FALSE(IsJwwFile(dir / "missing.jww"));
  EXPECT_FALSE(IsJwwFile(dir.path()));
}

TEST_F(Probe, MemoIsReadFromAFullFileAndTheDrawingIsReset) {
  Drawing source = synthetic::MakeFullDrawing(600);
  source.header.memo = JwwString::narrow("\x90\x7D\x96\xCA memo");
  std::string bytes;
  ASSERT_TRUE(SaveJwwToMemory(source, 600, bytes).ok);
  Drawing d = synthetic::MakeFullDrawing(700);
  ASSERT_TRUE(ProbeJwwMemo(d, File(bytes)));
  EXPECT_EQ(d.header.memo, source.header.memo);
  EXPECT_EQ(d.header.version, 600);
  EXPECT_EQ(d.header.signature, "JwwData.");
  EXPECT_EQ(d.header.paperSize, source.header.paperSize);
  EXPECT_EQ(d.header.writeLayerGroup, 0u);  // not taken
  EXPECT_TRUE(d.top.order.empty());
  EXPECT_TRUE(d.blockDefs.empty());
}

TEST_F(Probe, EmptyAndWideMemos) {
  Drawing empty = EmptyDrawing(600);
  Drawing d;
  ASSERT_TRUE(ProbeJwwMemo(d, File(HeaderBytes(empty, 600))));
  EXPECT_TRUE(d.header.memo.empty());
  Drawing wide = synthetic::MakeHeaderOnly(700);
  wide.header.memo = JwwString::fromUtf16(u"図面メモ");
  std::string bytes;
  ASSERT_TRUE(SaveJwwToMemory(wide, 700, bytes).ok);
  ASSERT_TRUE(ProbeJwwMemo(d, File(bytes)));
  EXPECT_EQ(d.header.memo, wide.header.memo);
}

TEST_F(Probe, ReadsThroughGroup15AndNoFurther) {
  for (std::int32_t v : {220, 223, 225, 230, 231, 600, 700}) {
    SCOPED_TRACE(v);
    Drawing d = EmptyDrawing(v);
    const std::string header = HeaderBytes(d, v);
    const auto at = OffsetsWithEmptyStrings(v);
    const std::uint64_t end = v >= 420 ? at.group[16] : at.group[17];
    EXPECT_FALSE(ProbeJwwMemo(d, File(header.substr(0, end - 1))));
    EXPECT_TRUE(ProbeJwwMemo(d, File(header.substr(0, end))));
    EXPECT_FALSE(ProbeJwwMemo(d, File(header.substr(0, at.group[15]))));
  }
}

TEST_F(Probe, VersionsBetweenThresholdsOrBelowPassWithoutGroup15) {
  // The probe knows group 15 only for 220, 223, 225 and from 230; the
  // loader and the writer use the next lower form for the others. The
  // probe checks no version, so one older than any drawing is read too.
  for (std::int32_t v : {200, 221, 222, 224, 226, 229}) {
    SCOPED_TRACE(v);
    Drawing d = EmptyDrawing(v);
    const std::string header = HeaderBytes(d, v);
    const auto at = OffsetsWithEmptyStrings(v);
    EXPECT_TRUE(ProbeJwwMemo(d, File(header.substr(0, at.group[15]))));
    EXPECT_FALSE(ProbeJwwMemo(d, File(header.substr(0, at.group[15] - 1))));
  }
}

TEST_F(Probe, SignatureIsNotCheckedAndAMissingFileFails) {
  Drawing source = EmptyDrawing(600);
  source.header.memo = JwwString::narrow("still read");
  std::string bytes = HeaderBytes(source, 600);
  bytes.replace(0, 8, "NotAJww!");
  Drawing d;
  ASSERT_TRUE(ProbeJwwMemo(d, File(bytes)));
  EXPECT_EQ(d.header.memo, JwwString::narrow("still read"));
  EXPECT_EQ(d.header.signature, "NotAJww!");
  EXPECT_FALSE(ProbeJwwMemo(d, dir / "missing.jww"));
  EXPECT_FALSE(ProbeJwwMemo(d, dir.path()));
}

TEST_F(Probe, StringRunningPastTheEndFails) {
  Bytes b;
  b.raw("JwwData.").u32(600).u8(0xFF).u16(0xFFFF).u32(0xFFFFFFF0u).raw(std::string(5000, 'x'));
  Drawing d;
  EXPECT_FALSE(ProbeJwwMemo(d, File(b.data())));
}

}  // namespace
