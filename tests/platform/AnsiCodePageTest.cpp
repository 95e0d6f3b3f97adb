#include <gtest/gtest.h>

#include <string>

#include "platform/AnsiCodePage.h"

namespace {

TEST(AnsiCodePageTest, CodePageIs1252) {
  EXPECT_EQ(GetACP(), 1252u);
}

TEST(AnsiCodePageTest, HighControlRangeMapsToTypographicCharacters) {
  const char32_t expected[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                 0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
  for (int i = 0; i < 32; ++i) {
    EXPECT_EQ(AnsiCharToUnicode(static_cast<uint8_t>(0x80 + i)), expected[i]) << i;
    EXPECT_EQ(UnicodeToAnsiChar(expected[i]), 0x80 + i) << i;
  }
  EXPECT_EQ(AnsiCharToUnicode('A'), U'A');
  EXPECT_EQ(AnsiCharToUnicode(0xE9), U'\u00E9');
  EXPECT_EQ(UnicodeToAnsiChar(0x0100), -1);
}

TEST(AnsiCodePageTest, EveryByteRoundTripsThroughUtf8) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
}

TEST(AnsiCodePageTest, KnownConversions) {
  EXPECT_EQ(AnsiToUtf8("\x80"), "\xE2\x82\xAC");    // €
  EXPECT_EQ(AnsiToUtf8("caf\xE9"), "caf\xC3\xA9");  // é
  EXPECT_EQ(AnsiToUtf8("\x93q\x94"), "\xE2\x80\x9Cq\xE2\x80\x9D");
  EXPECT_EQ(Utf8ToAnsi("\xE2\x82\xAC 5"), "\x80 5");
  EXPECT_EQ(Utf8ToAnsi("\xC3\xA9t\xC3\xA9"), "\xE9t\xE9");
  EXPECT_EQ(Utf8ToAnsi("\xE2\x84\xA2"), "\x99");  // ™
}

TEST(AnsiCodePageTest, UnmappableAndInvalidInputBecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToAnsi("\xE4\xB8\xAD"), "?");  // a CJK character
  EXPECT_EQ(Utf8ToAnsi("a\xF0\x9F\x98\x80"
                       "b"),
            "a?b");  // an emoji
  EXPECT_EQ(Utf8ToAnsi("\xFF"
                       "x"),
            "?x");                               // not UTF-8
  EXPECT_EQ(Utf8ToAnsi("\xC3"), "?");            // truncated
  EXPECT_EQ(Utf8ToAnsi("\xC0\xAF"), "??");       // overlong
  EXPECT_EQ(Utf8ToAnsi("\xED\xA0\x80"), "???");  // surrogate
}

}  // namespace
