// What only the writer decides: attribute checks, the max draw width clamp,
// display flag 11, reserved words, string filters and rebuilt counts.
#include "drawing/writer_rules.h"

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

TEntAttr WithStyleColour(int style, int colour) {
  TEntAttr a;
  a.penStyle = static_cast<std::uint8_t>(style);
  a.penColour = static_cast<std::uint16_t>(colour);
  return a;
}

int StyleFor(int style, AttrRule rule, std::int32_t v) {
  return AttrForWrite(WithStyleColour(style, 1), rule, v).penStyle;
}
int ColourFor(int colour, AttrRule rule, std::int32_t v) {
  return AttrForWrite(WithStyleColour(1, colour), rule, v).penColour;
}

TEST(AttrRules, PenStylesOfNewerLineTypesMapToOlderOnesBelow420) {
  const int map[] = {1, 4, 3, 6, 8, 8, 2, 5, 7, 6, 6, 8, 8, 17, 17};  // 31..45
  for (int s = 31; s <= 62; ++s) {
    SCOPED_TRACE(s);
    const int old = s <= 45 ? map[s - 31] : 1;
    EXPECT_EQ(StyleFor(s, AttrRule::kLine, 419), old);
    EXPECT_EQ(StyleFor(s, AttrRule::kArc, 419), old);
    EXPECT_EQ(StyleFor(s, AttrRule::kLine, 420), s);
    EXPECT_EQ(StyleFor(s, AttrRule::kArc, 600), s);
  }
}

TEST(AttrRules, PenColoursOfExtendedColoursMapToOlderOnesBelow420) {
  const int map[] = {2, 8, 3, 6, 4, 5, 1, 2, 5, 8, 4, 3, 6, 5, 2, 2};  // 101..116
  for (int c = 101; c <= 356; ++c) {
    SCOPED_TRACE(c);
    const int old = c <= 116 ? map[c - 101] : 2;
    for (AttrRule r : {AttrRule::kLine, AttrRule::kArc, AttrRule::kPoint, AttrRule::kText,
                       AttrRule::kDimension, AttrRule::kSolid}) {
      EXPECT_EQ(ColourFor(c, r, 351), old);
      EXPECT_EQ(ColourFor(c, r, 420), c);
    }
    EXPECT_EQ(ColourFor(c, AttrRule::kBlockInsert, 351), c);
    EXPECT_EQ(ColourFor(c, AttrRule::kBlockDefinition, 351), c);
  }
}

TEST(AttrRules, ValuesOutsideEachRulesSetBecomeTheDefaults) {
  for (int s = 0; s <= 255; ++s) {
    SCOPED_TRACE(s);
    const bool lineStyle = (s >= 1 && s <= 9) || (s >= 11 && s <= 19) || (s >= 31 && s <= 62);
    EXPECT_EQ(StyleFor(s, AttrRule::kLine, 600), lineStyle ? s : 1);
    EXPECT_EQ(StyleFor(s, AttrRule::kPoint, 600), s == 1 || s == 100 ? s : 1);
    EXPECT_EQ(StyleFor(s, AttrRule::kText, 600), s >= 1 && s <= 9 ? s : 1);
    for (AttrRule r : {AttrRule::kDimension, AttrRule::kSolid, AttrRule::kBlockInsert,
                       AttrRule::kBlockDefinition}) {
      EXPECT_EQ(StyleFor(s, r, 600), s);
      EXPECT_EQ(StyleFor(s, r, 300), s);
    }
  }
  for (int c : {0, 9, 10, 11, 100, 101, 356, 357, 65535}) {
    SCOPED_TRACE(c);
    const bool usual = (c >= 1 && c <= 9) || (c >= 101 && c <= 356);
    EXPECT_EQ(ColourFor(c, AttrRule::kText, 600), usual ? c : 2);
    EXPECT_EQ(ColourFor(c, AttrRule::kDimension, 600), usual ? c : 2);
    EXPECT_EQ(ColourFor(c, AttrRule::kSolid, 600), usual || c == 10 ? c : 2);
    EXPECT_EQ(ColourFor(c, AttrRule::kBlockInsert, 600), c);
  }
  TEntAttr a;
  a.layer = 20;
  a.layerGroup = 16;
  a.penWidth = 30001;
  a.group = 77;
  a.flags = 0xABCD;
  const TEntAttr w = AttrForWrite(a, AttrRule::kBlockInsert, 600);
  EXPECT_EQ(w.layer, 0);
  EXPECT_EQ(w.layerGroup, 0);
  EXPECT_EQ(w.penWidth, 0);
  EXPECT_EQ(w.group, 77u);
  EXPECT_EQ(w.flags, 0xABCD);
  a.layer = 15;
  a.layerGroup = 15;
  a.penWidth = 30000;
  const TEntAttr kept = AttrForWrite(a, AttrRule::kLine, 600);
  EXPECT_EQ(kept.layer, 15);
  EXPECT_EQ(kept.layerGroup, 15);
  EXPECT_EQ(kept.penWidth, 30000);
}

// Saves `d` in `v` and loads the file back.
Drawing SaveAndLoad(Drawing& d, std::int32_t v, std::string* bytes = nullptr) {
  std::string out;
  EXPECT_TRUE(SaveJwwToMemory(d, v, out).ok);
  Drawing back;
  back.imageOptions.extract = false;  // image names and sizes are enough here
  EXPECT_TRUE(LoadJwwFromMemory(back, out.data(), out.size()).ok());
  if (bytes) *bytes = out;
  return back;
}

TEST(AttrRules, RulesApplyInTheFileOnlyWithEachEmbeddedRecordsOwnClass) {
  for (std::int32_t v : {351, 420}) {
    SCOPED_TRACE(v);
    Drawing d = EmptyDrawing(v);
    TEntSen line = synthetic::MakeLine(v, 1);
    line.attr.penStyle = 35;
    line.attr.layer = 20;
    synthetic::Add(d.top, line);
    TEntSen zero = synthetic::MakeLine(v, 2);
    zero.attr.penStyle = 0;
    synthetic::Add(d.top, zero);
    TEntMoji text = synthetic::MakeText(v, 3, synthetic::Text(v, "t"));
    text.attr.penColour = 103;
    synthetic::Add(d.top, text);
    TEntTen point = synthetic::MakePoint(v, 4, false);
    point.attr.penStyle = 7;
    synthetic::Add(d.top, point);
    TEntSolid solid = synthetic::MakeSolid(v, 5, true);
    synthetic::Add(d.top, solid);
    TEntBlock insert = synthetic::MakeBlockInsert(v, 6, 1);
    insert.attr.penStyle = 0;
    insert.attr.penColour = 0;
    synthetic::Add(d.top, insert);
    TEntSunpo dim = synthetic::MakeDimension(v, 7);
    dim.attr.penStyle = 200;     // dimension: style unchecked
    dim.attr.penColour = 0;      // colour checked
    dim.line.attr.penStyle = 0;  // as a line
    dim.valueText.attr.penStyle = 12;
    dim.valueText.attr.penColour = 104;
    synthetic::Add(d.top, dim);
    synthetic::UpdateCounts(d);
    const Drawing before = d;

    Drawing back = SaveAndLoad(d, v);
    EXPECT_EQ(FirstDifference(before, d), "") << "the save changed the tables";
    EXPECT_EQ(FirstDifference(AsWritten(d, v), back), "");
    EXPECT_EQ(back.top.lines[0].attr.penStyle, v >= 420 ? 35 : 8);
    EXPECT_EQ(back.top.lines[0].attr.layer, 0);
    EXPECT_EQ(back.top.lines[1].attr.penStyle, 1);
    EXPECT_EQ(back.top.texts[0].attr.penColour, v >= 420 ? 103 : 3);
    EXPECT_EQ(back.top.points[0].attr.penStyle, 1);
    EXPECT_EQ(back.top.solids[0].attr.penColour, 10);
    EXPECT_EQ(back.top.solids[0].rgbColour, solid.rgbColour);
    EXPECT_EQ(back.top.blockInserts[0].attr.penStyle, 0);
    EXPECT_EQ(back.top.blockInserts[0].attr.penColour, 0);
    EXPECT_EQ(back.top.dimensions[0].attr.penStyle, 200);
    EXPECT_EQ(back.top.dimensions[0].attr.penColour, 2);
    EXPECT_EQ(back.top.dimensions[0].line.attr.penStyle, 1);
    EXPECT_EQ(back.top.dimensions[0].valueText.attr.penStyle, 1);
    EXPECT_EQ(back.top.dimensions[0].valueText.attr.penColour, v >= 420 ? 104 : 6);
  }
}

TEST(AttrRules, JunkAttributesEverywhereComeBackAsTheRulesSay) {
  for (std::int32_t v : {230, 351, 419, 420, 700}) {
    SCOPED_TRACE(v);
    Drawing d = synthetic::MakeFullDrawing(v);
    unsigned k = 1;
    auto junk = [&k](TEntAttr& a) {
      a.penStyle = static_cast<std::uint8_t>(k * 37);
      a.penColour = static_cast<std::uint16_t>(k * 53 % 400);
      a.layer = static_cast<std::uint16_t>(k * 7 % 40);
      a.layerGroup = static_cast<std::uint16_t>(k * 11 % 40);
      ++k;
    };
    for (auto* t : {&d.top, &d.blockDefs[0].entities, &d.blockDefs[1].entities}) {
      for (auto& e : t->lines) junk(e.attr);
      for (auto& e : t->arcs) junk(e.attr);
      for (auto& e : t->texts) junk(e.attr);
      for (auto& e : t->dimensions) {
        junk(e.attr);
        junk(e.line.attr);
        junk(e.valueText.attr);
      }
      for (auto& e : t->blockInserts) junk(e.attr);
    }
    for (auto& def : d.blockDefs) junk(def.attr);
    Drawing back = SaveAndLoad(d, v);
    EXPECT_EQ(FirstDifference(AsWritten(d, v), back), "");
  }
}

TEST(HeaderRules, MaxDrawWidthIsClampedUpTo420) {
  struct Case {
    std::int32_t stored, version, written;
  };
  for (const Case& c :
       {Case{-150, 420, -101}, Case{-150, 600, -150}, Case{-50, 420, -50}, Case{-50, 600, -50},
        Case{-102, 351, -101}, Case{-101, 351, -101}, Case{-450, 421, -450}}) {
    SCOPED_TRACE(std::to_string(c.stored) + " in " + std::to_string(c.version));
    Drawing d = EmptyDrawing(c.version);
    d.header.maxDrawWidth = c.stored;
    std::string bytes;
    SaveAndLoad(d, c.version, &bytes);
    const std::uint64_t at = OffsetsWithEmptyStrings(c.version).group[4] + 24;
    EXPECT_EQ(static_cast<std::int32_t>(Le32(bytes, at)), c.written);
    EXPECT_EQ(d.header.maxDrawWidth, c.stored);
  }
}

TEST(HeaderRules, DisplayFlag11IsRebuiltFromTensAndUnits) {
  struct Case {
    std::int32_t tens, units, version;
    std::uint32_t written;
  };
  for (const Case& c : {Case{2, 5, 600, 25}, Case{2, 5, 420, 5}, Case{0, 3, 700, 13},
                        Case{-1, -3, 600, 10}, Case{-1, -3, 420, static_cast<std::uint32_t>(-3)},
                        Case{0, 0, 599, 0}, Case{9, 9, 700, 99}}) {
    SCOPED_TRACE(std::to_string(c.tens * 10 + c.units) + " in " + std::to_string(c.version));
    Drawing d = EmptyDrawing(c.version);
    d.header.flag11Tens = c.tens;
    d.header.flag11Units = c.units;
    std::string bytes;
    SaveAndLoad(d, c.version, &bytes);
    const std::uint64_t at = OffsetsWithEmptyStrings(c.version).group[15] + 40;
    EXPECT_EQ(Le32(bytes, at), c.written);
  }
}

TEST(HeaderRules, DisplayFlag11WrittenAgainIsUnchanged) {
  for (const std::int32_t version : {420, 600, 700}) {
    for (const std::int32_t stored : {-1, -9, -10, -13, INT32_MIN, 0, 3, 10, 25, INT32_MAX}) {
      SCOPED_TRACE(std::to_string(stored) + " in " + std::to_string(version));
      THeader h;
      SplitDisplayFlag11(h, static_cast<std::uint32_t>(stored));
      const std::uint32_t once = DisplayFlag11ForWrite(h, version);
      SplitDisplayFlag11(h, once);
      EXPECT_EQ(DisplayFlag11ForWrite(h, version), once);
    }
  }
}

TEST(HeaderRules, ReservedWordsAreWrittenAsZero) {
  Drawing d = EmptyDrawing(600);
  for (std::size_t i = 0; i < 14; ++i) d.header.reservedWords[i] = 0x01010101u * (i + 1);
  d.header.reservedWord = 9572;
  d.header.dimensionSettings[4] = 0x55;
  std::string bytes;
  SaveAndLoad(d, 600, &bytes);
  const auto at = OffsetsWithEmptyStrings(600);
  EXPECT_EQ(bytes.substr(at.group[3], 56), std::string(56, '\0'));
  EXPECT_EQ(Le32(bytes, at.group[4] + 16), 0x55u);
  EXPECT_EQ(Le32(bytes, at.group[4] + 20), 0u);
  EXPECT_EQ(d.header.reservedWord, 9572u);
}

TEST(StringRules, FiltersDropControlCharactersAndMarkersInBothForms) {
  struct Case {
    std::string in, out;
  };
  for (const Case& c : {Case{"", ""}, Case{"\x01\x02\t", " "}, Case{"^m", " "},
                        Case{"a^mb\r\nc", "abc"}, Case{"^^mm", "^m"}, Case{"\x83^m", "\x83^m"},
                        Case{"x\x81\x0A", "x\x81\x0A"}, Case{std::string("a\0b", 3), "ab"}}) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(FilterForWrite(JwwString::narrow(c.in)), JwwString::narrow(c.out));
  }
  EXPECT_EQ(FilterForWrite(JwwString::fromUtf16(u"a^mb\u0001\u0019c")),
            JwwString::fromUtf16(u"abc"));
  EXPECT_EQ(FilterForWrite(JwwString::fromUtf16(u"\u0001\u001F")), JwwString::fromUtf16(u" "));
  // A wide unit whose low byte is a control character is an ordinary
  // character; so is one whose bytes spell "^m" across two units.
  EXPECT_EQ(FilterForWrite(JwwString::fromUtf16(u"\u0101\u5E00\u006D")),
            JwwString::fromUtf16(u"\u0101\u5E00\u006D"));
  EXPECT_EQ(FilterForWrite(JwwString::fromUtf16(u"")), JwwString::fromUtf16(u""));
}

TEST(StringRules, FilterIsSkippedOnlyForStringsItWouldLeaveAsTheyAre) {
  // Every string of up to four characters over the characters that matter:
  // controls, '^', 'm', the edges of the lead byte ranges, and wide units
  // whose low byte alone would be '^' or 'm' (the narrow form keeps the low
  // byte).
  const std::u16string alphabet = {u'^', u'm', u'a', 0x00, 0x01,   0x0A,   0x1F,  0x20,
                                   0x81, 0x9F, 0xE0, 0xFD, 0x305E, 0x306D, 0x0100};
  std::vector<std::u16string> strings = {u""};
  std::size_t from = 0;
  for (std::size_t length = 1; length <= 4; ++length) {
    const std::size_t to = strings.size();
    for (std::size_t i = from; i < to; ++i) {
      for (char16_t c : alphabet) strings.push_back(strings[i] + c);
    }
    from = to;
  }
  for (const std::u16string& units : strings) {
    std::string bytes(units.begin(), units.end());
    for (const JwwString& s : {JwwString::narrow(bytes), JwwString::fromUtf16(units)}) {
      if (!NeedsFilterForWrite(s)) {
        EXPECT_EQ(FilterForWrite(s), s);
      }
    }
  }
  EXPECT_TRUE(NeedsFilterForWrite(JwwString::narrow("a^m")));
  EXPECT_FALSE(NeedsFilterForWrite(JwwString::narrow("plain \x95\x5C")));
}

TEST(StringRules, NamesAndTextsAreFilteredButMemoAndImageNamesAreNot) {
  testing_support::ScratchDir temp;
  for (std::int32_t v : {600, 700}) {
    SCOPED_TRACE(v);
    const bool wide = v >= 700;
    auto S = [&](const std::string& ascii) {
      return wide ? JwwString::fromUtf16(std::u16string(ascii.begin(), ascii.end()))
                  : JwwString::narrow(ascii);
    };
    Drawing d = EmptyDrawing(v);
    d.header.memo = S("memo\r\n^m");
    d.header.layers[3].name = S("\x01\x02");
    d.header.layers[4].name = S("");
    d.header.layerGroups[15].name = S("g^m1");
    d.header.extendedColours[256].name = S("c\t");
    d.header.extendedLineTypes[0].name = S("\x1F");
    TEntMoji text = synthetic::MakeText(v, 1, S("a^mb\x01"));
    text.fontName = S("f\nf");
    synthetic::Add(d.top, text);
    TEntSunpo dim = synthetic::MakeDimension(v, 2);
    dim.valueText.text = S("1^m0");
    synthetic::Add(d.top, dim);
    synthetic::AddBlockDefinition(d, 1, false).name = S("b\x7^m");
    synthetic::AddImage(d, temp.path(), S("img\x01.bmp"), 4, 1);
    synthetic::UpdateCounts(d);

    Drawing back = SaveAndLoad(d, v);
    EXPECT_EQ(back.header.memo, S("memo\r\n^m"));
    EXPECT_EQ(back.header.layers[3].name, S(" "));
    EXPECT_EQ(back.header.layers[4].name, S(""));
    EXPECT_EQ(back.header.layerGroups[15].name, S("g1"));
    EXPECT_EQ(back.header.extendedColours[256].name, S("c"));
    EXPECT_EQ(back.header.extendedLineTypes[0].name, S(" "));
    EXPECT_EQ(back.top.texts[0].text, S("ab"));
    EXPECT_EQ(back.top.texts[0].fontName, S("ff"));
    EXPECT_EQ(back.top.dimensions[0].valueText.text, S("10"));
    EXPECT_EQ(back.blockDefs[0].name, S("b"));
    if (wide) {
      ASSERT_EQ(back.images.size(), 1u);
      EXPECT_EQ(back.images[0].name, S("img\x01.bmp"));
      back.DeleteImageFiles();
    }
  }
}

TEST(CountRules, CountsAreRebuiltFromTheTablesAndUnknownKindsAreSkipped) {
  Drawing d = synthetic::MakeFullDrawing(600);
  d.header.entityCount = 999;
  d.header.blockDefinitionCount = 0;
  d.blockDefs[0].entityCount = 1;
  d.top.order.insert(d.top.order.begin() + 3, TEntRef{kUnknown, 0});
  d.top.order.push_back(TEntRef{42, 0});
  Drawing back = SaveAndLoad(d, 600);
  EXPECT_EQ(FirstDifference(AsWritten(d, 600), back), "");
  EXPECT_EQ(back.header.entityCount, 16);
  EXPECT_EQ(back.header.blockDefinitionCount, 3);
  EXPECT_EQ(back.blockDefs[0].entityCount, 5);
}

TEST(CountRules, AnOrderListPointingPastItsTableFailsTheSave) {
  Drawing d = synthetic::MakeFullDrawing(600);
  d.blockDefs[1].entities.order.push_back(TEntRef{kSolid, 2});
  std::string bytes;
  const SaveResult r = SaveJwwToMemory(d, 600, bytes);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.error.empty());
  Drawing unsized;
  EXPECT_FALSE(SaveJwwToMemory(unsized, 600, bytes).ok);
}

TEST(ClassRules, SchemaIsTheLow16BitsOfTheVersion) {
  Drawing d = EmptyDrawing(700);
  synthetic::Add(d.top, synthetic::MakeLine(700, 1));
  synthetic::UpdateCounts(d);
  std::string bytes;
  ASSERT_TRUE(SaveJwwToMemory(d, 0x12002BC, bytes).ok);
  EXPECT_EQ(Le32(bytes, 8), 0x12002BCu);
  const std::uint64_t at = OffsetsWithEmptyStrings(700).entityList + 2;
  EXPECT_EQ(Le16(bytes, at), 0xFFFF);
  EXPECT_EQ(Le16(bytes, at + 2), 0x02BC);
}

}  // namespace
