// Archive primitives: the string forms Jw_cad writes (single-byte and
// UTF-16, every length prefix), counts and class tags, on both sides.
#include <gtest/gtest.h>

#include "drawing/archive_reader.h"
#include "drawing/archive_writer.h"
#include "drawing/jww_loader.h"
#include "drawing/jww_writer.h"
#include "tests/drawing/jww_bytes.h"
#include "tests/support/paths.h"

namespace {

using namespace jww;
using namespace drawing_test;

struct Read {
  JwwString s;
  std::uint64_t end = 0;  // offset after the string
};

Read ReadString(const std::string& bytes) {
  ArchiveReader ar;
  ar.OpenMemory(bytes.data(), bytes.size());
  Read r;
  ar.str(r.s);
  r.end = ar.offset();
  return r;
}

std::string Written(const JwwString& s) {
  std::string out;
  {
    ArchiveWriter ar(&out);
    ar.str(s);
    ar.Flush();
  }
  return out;
}

TEST(ArchiveStrings, EveryPrefixFormReadsItsLength) {
  struct Case {
    const char* what;
    Bytes prefix;
    std::size_t bytes;
    bool wide;
  };
  const Case cases[] = {
      {"byte 254", Bytes().u8(254), 254, false},
      {"0xFF + word 300", Bytes().u8(0xFF).u16(300), 300, false},
      {"0xFF + word 0", Bytes().u8(0xFF).u16(0), 0, false},
      {"0xFF + word 65533", Bytes().u8(0xFF).u16(65533), 65533, false},
      {"long form for a short length", Bytes().u8(0xFF).u16(0xFFFF).u32(5), 5, false},
      {"0xFF + word for a short length", Bytes().u8(0xFF).u16(5), 5, false},
      {"long form 70000", Bytes().u8(0xFF).u16(0xFFFF).u32(70000), 70000, false},
      {"wide, byte length", Bytes().u8(0xFF).u16(0xFFFE).u8(3), 6, true},
      {"wide, empty", Bytes().u8(0xFF).u16(0xFFFE).u8(0), 0, true},
      {"wide, 0xFF + word", Bytes().u8(0xFF).u16(0xFFFE).u8(0xFF).u16(300), 600, true},
      {"wide, 0xFF + 0xFFFE is a length", Bytes().u8(0xFF).u16(0xFFFE).u8(0xFF).u16(0xFFFE),
       2 * 65534, true},
      {"wide, long form", Bytes().u8(0xFF).u16(0xFFFE).u8(0xFF).u16(0xFFFF).u32(30000), 60000,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string bytes = c.prefix.data();
    std::string body(c.bytes, '\0');
    for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 7);
    bytes += body + "after";
    const Read r = ReadString(bytes);
    EXPECT_EQ(r.s.wide, c.wide);
    EXPECT_EQ(r.s.bytes, body);  // zero bytes included
    EXPECT_EQ(r.end, c.prefix.size() + c.bytes);
  }
}

TEST(ArchiveStrings, AreWrittenInTheirFormWithTheShortestPrefix) {
  // Non-canonical prefixes come back canonical; 65534 and 65535 take the
  // long form, never FF FE or FF FF followed by a word.
  EXPECT_EQ(Written(JwwString::narrow("hello")), "\x05hello");
  EXPECT_EQ(Written(JwwString::fromUtf16(u"hi")), std::string("\xFF\xFE\xFF\x02h\0i\0", 8));
  EXPECT_EQ(Written(JwwString::fromUtf16(u"")), std::string("\xFF\xFE\xFF\x00", 4));
  for (std::size_t n : {65533u, 65534u, 65535u}) {
    SCOPED_TRACE(n);
    const std::string w = Written(JwwString::narrow(std::string(n, 'a')));
    if (n == 65533) {
      EXPECT_EQ(w.substr(0, 3), "\xFF\xFD\xFF");
    } else {
      EXPECT_EQ(w.substr(0, 7),
                Bytes().u8(0xFF).u16(0xFFFF).u32(static_cast<std::uint32_t>(n)).data());
    }
    EXPECT_EQ(ReadString(w).s.bytes.size(), n);
    const std::string wide = Written(JwwString::fromUtf16(std::u16string(n, u'a')));
    EXPECT_EQ(ReadString(wide).s.units(), n);
  }
}

TEST(ArchiveStrings, ShortOrOverlongStringsFailNamingTheOffset) {
  for (const std::string& bytes : {std::string("\x05"
                                               "abc"),
                                   std::string("\xFF\x2C"), std::string("\xFF\xFE\xFF\x02\x41"),
                                   Bytes().u8(0xFF).u16(0xFFFF).u32(4000000000u).raw("x").data()}) {
    try {
      ReadString(bytes);
      ADD_FAILURE() << "read a string the bytes cannot hold";
    } catch (const ArchiveError& e) {
      EXPECT_NE(std::string(e.what()).find("at byte "), std::string::npos);
    }
  }
}

TEST(ArchiveStrings, NonCanonicalPrefixesReadBackAndAreWrittenShortest) {
  Drawing d = EmptyDrawing(600);
  std::string header = HeaderBytes(d, 600);
  // Memo "hello" as 0xFF + word 5, instead of the single length byte.
  std::string bytes = header.substr(0, 12) + Bytes().u8(0xFF).u16(5).raw("hello").data() +
                      header.substr(13) + std::string(4, '\0');
  Drawing back;
  ASSERT_TRUE(LoadJwwFromMemory(back, bytes.data(), bytes.size()).ok());
  EXPECT_EQ(back.header.memo, JwwString::narrow("hello"));
  std::string again;
  ASSERT_TRUE(SaveJwwToMemory(back, 600, again).ok);
  EXPECT_EQ(again.substr(12, 6), "\x05hello");
  EXPECT_EQ(again.size(), bytes.size() - 2);
}

TEST(ArchiveCounts, BothFormsOnBothSides) {
  for (std::uint32_t c : {0u, 1u, 65534u, 65535u, 70000u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(c);
    std::string out;
    {
      ArchiveWriter w(&out);
      w.count(c);
      w.Flush();
    }
    EXPECT_EQ(out.size(), c < 0xFFFF ? 2u : 6u);
    ArchiveReader r;
    r.OpenMemory(out.data(), out.size());
    EXPECT_EQ(r.count(), c);
  }
}

TEST(ArchiveTags, ReferencesTakeTheLongFormFromIndex32767) {
  struct Case {
    std::uint32_t index;
    std::string bytes;
  };
  for (const Case& c : {Case{1, "\x01\x80"}, Case{0x7FFE, "\xFE\xFF"},
                        Case{0x7FFF, Bytes().u16(0x7FFF).u32(0x80007FFFu).data()},
                        Case{100000, Bytes().u16(0x7FFF).u32(0x80000000u + 100000).data()}}) {
    SCOPED_TRACE(c.index);
    std::string out;
    {
      ArchiveWriter w(&out);
      w.classReference(c.index);
      w.Flush();
    }
    EXPECT_EQ(out, c.bytes);
    ArchiveReader r;
    r.OpenMemory(out.data(), out.size());
    const ClassTag tag = r.tag();
    EXPECT_FALSE(tag.isNew);
    EXPECT_EQ(tag.index, c.index);
  }
  const std::string fresh = Bytes().newClass(600, "CDataSen").data();
  ArchiveReader r;
  r.OpenMemory(fresh.data(), fresh.size());
  const ClassTag tag = r.tag();
  EXPECT_TRUE(tag.isNew);
  EXPECT_EQ(tag.name, "CDataSen");
  EXPECT_EQ(r.offset(), fresh.size());
  const std::string low("\x03\x00", 2);
  r.OpenMemory(low.data(), 2);
  EXPECT_LT(r.tag().index, 0);
}

TEST(ArchiveFiles, ReaderKeepsOffsetsAcrossItsBufferAndStopsAtTheEnd) {
  testing_support::ScratchDir dir;
  Bytes b;
  for (int i = 0; i < 40000; ++i) b.u8(static_cast<std::uint8_t>(i)).u16(0xABCD).u32(7);
  b.raw("tail");
  testing_support::WriteFileBytes(dir / "f", b.data());
  ArchiveReader r;
  ASSERT_TRUE(r.Open(dir / "f"));
  EXPECT_EQ(r.size(), b.size());
  for (int i = 0; i < 40000; ++i) {
    std::uint8_t x = 0;
    std::uint16_t y = 0;
    std::uint32_t z = 0;
    r.u8(x);
    r.u16(y);
    r.u32(z);
    ASSERT_EQ(x, static_cast<std::uint8_t>(i));
    ASSERT_EQ(y, 0xABCD);
    ASSERT_EQ(z, 7u);
  }
  EXPECT_EQ(r.offset(), 40000u * 7);
  char rest[16];
  EXPECT_EQ(r.readSome(rest, sizeof rest), 4u);
  EXPECT_EQ(std::string(rest, 4), "tail");
  EXPECT_EQ(r.remaining(), 0u);
  std::uint8_t none = 0;
  EXPECT_THROW(r.u8(none), ArchiveError);
  EXPECT_FALSE(r.Open(dir / "missing"));
}

}  // namespace
