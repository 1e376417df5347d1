#include "platform/cp932.h"

#include <gtest/gtest.h>

namespace {

using platform::Cp932ToUtf8;
using platform::Utf16ToUtf8;

constexpr const char* kReplacement = "\xEF\xBF\xBD";

TEST(Cp932ToUtf8, DecodesKanaKanjiAndFullWidthForms) {
  EXPECT_EQ(Cp932ToUtf8("\x95\xbd\x96\xca\x90\x7d"), "平面図");
  EXPECT_EQ(Cp932ToUtf8("\x82\xa0\x83\x41\x81\x40\x82\x60"), "あア　Ａ");
  EXPECT_EQ(Cp932ToUtf8("\xb1\xdf"), "ｱﾟ");  // half-width katakana, single bytes
  // A trail byte in the ASCII range: 表 is 0x95 0x5C.
  EXPECT_EQ(Cp932ToUtf8("\x95\x5c\x8e\xa6"), "表示");
}

TEST(Cp932ToUtf8, AsciiIsKeptAsItIsIncludingBackslashTildeAndZero) {
  const std::string ascii("C:\\dir~ x\0y", 11);
  EXPECT_EQ(Cp932ToUtf8(ascii), ascii);
  EXPECT_EQ(Cp932ToUtf8(""), "");
}

// The Windows extensions that strict Shift-JIS does not know.
TEST(Cp932ToUtf8, DecodesNecAndIbmExtensionsAndTheUserArea) {
  EXPECT_EQ(Cp932ToUtf8("\x87\x40\x87\x54"), "①Ⅰ");    // NEC special characters
  EXPECT_EQ(Cp932ToUtf8("\xfa\x40\xfb\xfc"), "ⅰ髙");   // IBM extensions
  EXPECT_EQ(Cp932ToUtf8("\xed\x40"), "纊");            // NEC-selected IBM extension
  EXPECT_EQ(Cp932ToUtf8("\xf0\x40"), "\xEE\x80\x80");  // user-defined: U+E000
  EXPECT_EQ(Cp932ToUtf8("\x81\x5f\x81\x60"), "＼～");  // full-width, not the JIS forms
}

TEST(Cp932ToUtf8, BytesThatFormNoCharacterBecomeReplacementCharacters) {
  const std::string r = kReplacement;
  EXPECT_EQ(Cp932ToUtf8("\x80"), r);
  EXPECT_EQ(Cp932ToUtf8("\xa0\xfd\xfe\xff"), r + r + r + r);
  // A lead byte at the end, and before a byte that cannot follow it: an ASCII
  // byte after the lead is kept as a character of its own.
  EXPECT_EQ(Cp932ToUtf8("a\x82"), "a" + r);
  EXPECT_EQ(Cp932ToUtf8("\x81\x20z"), r + " z");
  EXPECT_EQ(Cp932ToUtf8("\x82\x0a"), r + "\n");
  // An unassigned double-byte code is one character.
  EXPECT_EQ(Cp932ToUtf8("\x85\x80\x82\xa0"), r + "あ");
  // Decoding goes on after every error.
  EXPECT_EQ(Cp932ToUtf8("\xff\x95\xbd\x80\x96\xca"), r + "平" + r + "面");
}

TEST(Utf16ToUtf8, EncodesEveryRangeAndReplacesUnpairedSurrogates) {
  EXPECT_EQ(Utf16ToUtf8(u"A\u00e9\u5e73\uff71"), "Aé平ｱ");
  EXPECT_EQ(Utf16ToUtf8(u"\U0001F600"), "😀");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\0')), std::string(1, '\0'));
  const std::string r = kReplacement;
  const char16_t high = 0xD83D, low = 0xDE00;
  EXPECT_EQ(Utf16ToUtf8(std::u16string{high}), r);
  EXPECT_EQ(Utf16ToUtf8(std::u16string{low, high}), r + r);
  EXPECT_EQ(Utf16ToUtf8(std::u16string{high, u'x', low}), r + "x" + r);
  EXPECT_EQ(Utf16ToUtf8(std::u16string{high, high, low}), r + "😀");
}

}  // namespace

namespace {

TEST(Utf8ToCp932, EncodesWhatCp932HasAndMarksTheRest) {
  EXPECT_EQ(platform::Utf8ToCp932("Ａマンション平面図ｱ"),
            "\x82\x60\x83\x7d\x83\x93\x83\x56\x83\x87\x83\x93\x95\xbd\x96\xca\x90\x7d\xb1");
  EXPECT_EQ(platform::Utf8ToCp932("①ⅰ＼～"), "\x87\x40\xfa\x40\x81\x5f\x81\x60");
  EXPECT_EQ(platform::Utf8ToCp932("a\\~"), "a\\~");
  EXPECT_EQ(platform::Utf8ToCp932("\xF0\x9F\x98\x80x\xFF"), "?x?");  // an emoji, a stray byte
}

}  // namespace
