#include <gtest/gtest.h>

#include "probes/jwcunit.h"
#include "tests/probes/probe_files.h"
#include "tests/support/paths.h"

namespace {

using probe_test::HeaderBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;

const std::string kAbc = "ABC" + std::string(29, ' ');
const std::string kDef = "DEF" + std::string(29, '\0');

TEST(JwcHeaderProbe, ShowsBothFieldsWithBlanksKeptAndZerosDropped) {
  ScratchDir dir;
  WriteFileBytes(dir / "a.jwc", HeaderBytes(800, jwc::kSignature, kAbc, kDef));
  jwc::JwcHeaderProbe probe;
  ASSERT_TRUE(probe.Probe(dir / "a.jwc"));
  EXPECT_EQ(probe.memo().field1, kAbc);
  EXPECT_EQ(probe.memo().field2, kDef);  // raw, the zero bytes included
  EXPECT_EQ(probe.memo().Text(), "ABC" + std::string(30, ' ') + "DEF");
}

TEST(JwcHeaderProbe, NeedsAllFourRecords) {
  ScratchDir dir;
  WriteFileBytes(dir / "800.jwc", HeaderBytes(800, "", "memo", ""));
  WriteFileBytes(dir / "799.jwc", HeaderBytes(799, "", "memo", ""));
  jwc::JwcHeaderProbe probe;
  EXPECT_TRUE(probe.Probe(dir / "800.jwc"));  // no signature needed
  EXPECT_EQ(probe.memo().field1.substr(0, 4), "memo");
  // A failed probe leaves nothing of the one before.
  EXPECT_FALSE(probe.Probe(dir / "799.jwc"));
  EXPECT_EQ(probe.memo().field1, "");
  EXPECT_EQ(probe.memo().Text(), " ");
  EXPECT_TRUE(probe.Probe(dir / "800.jwc"));
  EXPECT_FALSE(probe.Probe(dir / "missing.jwc"));
  EXPECT_EQ(probe.memo().field1, "");
  EXPECT_FALSE(probe.Probe(dir.path()));  // a folder
}

TEST(JwcHeaderProbe, LineBreaksVanishAndDoubleByteCharactersStay) {
  ScratchDir dir;
  // "平面" then a line break; a lead byte at the end of field 2 takes nothing.
  const std::string field2 = std::string(31, ' ') + "\x82";
  WriteFileBytes(dir / "j.jwc", HeaderBytes(800, "", "\x95\xbd\x96\xca\r\n", field2));
  jwc::JwcHeaderProbe probe;
  ASSERT_TRUE(probe.Probe(dir / "j.jwc"));
  const std::string text = probe.memo().Text();
  EXPECT_EQ(text.substr(0, 6), "\x95\xbd\x96\xca..");
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_EQ(text.back(), '\x82');
}

TEST(JwcSignature, ExactTwentyCharacters) {
  ScratchDir dir;
  const auto check = [&](const std::string& bytes) {
    WriteFileBytes(dir / "s.jwc", bytes);
    return jwc::IsJwcFile(dir / "s.jwc");
  };
  EXPECT_TRUE(check("jw_cad(c)data......."));
  EXPECT_TRUE(check(HeaderBytes(800, "jw_cad(c)data.......", "", "")));
  EXPECT_FALSE(check("jw_cad(c)data......"));   // 19 bytes
  EXPECT_FALSE(check("jw_cad(c)data......X"));  // six full stops
  EXPECT_FALSE(check(std::string("jw_cad(c)data......\0", 20)));
  EXPECT_FALSE(check("JW_CAD(c)data......."));
  EXPECT_FALSE(check(HeaderBytes(800, "JwwData.", "", "")));
  EXPECT_FALSE(check(""));
  EXPECT_FALSE(jwc::IsJwcFile(dir / "missing.jwc"));
}

}  // namespace
