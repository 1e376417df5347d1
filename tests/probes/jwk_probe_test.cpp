#include <gtest/gtest.h>

#include "probes/jwkunit.h"
#include "tests/probes/probe_files.h"
#include "tests/support/paths.h"

namespace {

using probe_test::HeaderBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;

TEST(JwkHeaderProbe, NeedsBothRecords) {
  ScratchDir dir;
  WriteFileBytes(dir / "400.jwk",
                 HeaderBytes(400, "", "ABC" + std::string(29, ' '), "DEF" + std::string(29, '\0')));
  WriteFileBytes(dir / "399.jwk", HeaderBytes(399, "", "x", "y"));
  jwk::JwkHeaderProbe probe;
  ASSERT_TRUE(probe.Probe(dir / "400.jwk"));
  EXPECT_EQ(probe.memo().Text(), "ABC" + std::string(30, ' ') + "DEF");
  EXPECT_FALSE(probe.Probe(dir / "399.jwk"));
  EXPECT_EQ(probe.memo().field1, "");
  EXPECT_EQ(probe.memo().field2, "");
  EXPECT_FALSE(probe.Probe(dir / "missing.jwk"));
}

// Any file of 400 bytes passes: a text file shows bytes 41 to 104 without
// its line breaks.
TEST(JwkHeaderProbe, ATextFileShowsItsBytesWithoutLineBreaks) {
  ScratchDir dir;
  std::string lines;
  for (int i = 0; lines.size() < 450; ++i) lines += "line " + std::to_string(i) + "\r\n";
  WriteFileBytes(dir / "notes.jwk", lines);
  jwk::JwkHeaderProbe probe;
  ASSERT_TRUE(probe.Probe(dir / "notes.jwk"));
  EXPECT_EQ(probe.memo().field1, lines.substr(40, 32));
  EXPECT_EQ(probe.memo().field2, lines.substr(72, 32));
  std::string expected;
  for (char c : lines.substr(40, 32) + " " + lines.substr(72, 32)) {
    if (c != '\r' && c != '\n') expected.push_back(c);
  }
  EXPECT_EQ(probe.memo().Text(), expected);
}

TEST(JwkHeaderProbe, ResetEmptiesTheFields) {
  ScratchDir dir;
  WriteFileBytes(dir / "a.jwk", HeaderBytes(400, "", "memo", ""));
  jwk::JwkHeaderProbe probe;
  ASSERT_TRUE(probe.Probe(dir / "a.jwk"));
  ASSERT_EQ(probe.memo().field1.size(), 32u);
  probe.Reset();
  EXPECT_EQ(probe.memo().field1, "");
  EXPECT_EQ(probe.memo().field2, "");
}

}  // namespace
