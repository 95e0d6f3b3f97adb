#include <gtest/gtest.h>

#include <string>

#include "platform/SysUtils.h"

namespace {

TEST(StringUtilsTest, TrimRemovesBlanksAndControls) {
  EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
  EXPECT_EQ(TrimLeft("  a "), "a ");
  EXPECT_EQ(TrimRight("  a \x01"), "  a");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");  // the no-break space is a character
}

TEST(StringUtilsTest, CaseConversionAndComparison) {
  EXPECT_EQ(UpperCase("abc\xE9"), "ABC\xE9");  // plain form: ASCII only
  EXPECT_EQ(AnsiUpperCase("abc\xE9\x9A\xFF"), "ABC\xC9\x8A\x9F");
  EXPECT_EQ(AnsiLowerCase("\xC9\x8C\xD7"), "\xE9\x9C\xD7");  // × stays
  EXPECT_EQ(LowerCase("ABC"), "abc");
  EXPECT_TRUE(SameText("Hello", "hELLO"));
  EXPECT_FALSE(SameText("Hello", "Hello!"));
  EXPECT_FALSE(SameText("\xE9", "\xC9"));
  EXPECT_TRUE(AnsiSameText("\xE9t\xE9", "\xC9T\xC9"));
  EXPECT_LT(CompareText("apple", "Banana"), 0);
  EXPECT_GT(CompareStr("apple", "Banana"), 0);
  EXPECT_LT(CompareText("ab", "abc"), 0);
  EXPECT_EQ(CompareText("ABC", "abc"), 0);
}

TEST(StringUtilsTest, StringReplace) {
  EXPECT_EQ(StringReplace("a-b-c", "-", "+", {}), "a+b-c");
  EXPECT_EQ(StringReplace("a-b-c", "-", "+", {rfReplaceAll}), "a+b+c");
  EXPECT_EQ(StringReplace("Cat cAT dog", "cat", "cow", {rfReplaceAll, rfIgnoreCase}), "cow cow dog");
  EXPECT_EQ(StringReplace("aaa", "aa", "b", {rfReplaceAll}), "ba");
  EXPECT_EQ(StringReplace("abc", "", "x", {rfReplaceAll}), "abc");
}

TEST(StringUtilsTest, Quoting) {
  EXPECT_EQ(QuotedStr("it's"), "'it''s'");
  EXPECT_EQ(AnsiQuotedStr("a\"b", '"'), "\"a\"\"b\"");
  size_t pos = 2;
  EXPECT_EQ(AnsiExtractQuotedStr("x \"a\"\"b\" rest", pos, '"'), "a\"b");
  EXPECT_EQ(pos, 8u);
  EXPECT_EQ(AnsiDequotedStr("'x''y'", '\''), "x'y");
  EXPECT_EQ(AnsiDequotedStr("'x' y", '\''), "'x' y");
  EXPECT_EQ(AnsiDequotedStr("'ab''", '\''), "'ab''");
}

TEST(StringUtilsTest, PosCopyStringOfChar) {
  EXPECT_EQ(Pos("lo", "hello"), 4);
  EXPECT_EQ(Pos("z", "hello"), 0);
  EXPECT_EQ(Copy("hello", 2, 3), "ell");
  EXPECT_EQ(Copy("hello", 4, 10), "lo");
  EXPECT_EQ(Copy("hello", 9, 1), "");
  EXPECT_EQ(StringOfChar('-', 3), "---");
}

}  // namespace
