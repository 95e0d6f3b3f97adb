#include <gtest/gtest.h>

#include <string>

#include "platform/SysUtils.h"

namespace {

TEST(ConversionsTest, StrToIntAcceptsTheIntegerSyntax) {
  struct Case {
    const char* text;
    int value;
  };
  const Case cases[] = {{"0", 0},
                        {"42", 42},
                        {"-42", -42},
                        {"+7", 7},
                        {"  12", 12},
                        {"$FF", 255},
                        {"0x1a", 26},
                        {"$FFFFFFFF", -1},
                        {"-$10", -16},
                        {"2147483647", 2147483647},
                        {"-2147483648", -2147483647 - 1}};
  for (const Case& c : cases) EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
}

TEST(ConversionsTest, StrToIntRejectsEverythingElse) {
  for (const char* text :
       {"", " ", "12 ", "1.5", "abc", "2147483648", "-2147483649", "$", "$1FFFFFFFF", "1e3", "--1"}) {
    int value = 99;
    EXPECT_FALSE(TryStrToInt(text, value)) << text;
    EXPECT_EQ(value, 99);
    EXPECT_EQ(StrToIntDef(text, -5), -5);
  }
  try {
    StrToInt("x1");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'x1' is not a valid integer value");
  }
}

TEST(ConversionsTest, Int64Range) {
  EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
  EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
  EXPECT_EQ(StrToInt64Def("x", 3), 3);
}

TEST(ConversionsTest, StrToFloatUsesTheDecimalSeparator) {
  const TFormatSettings dot = TFormatSettings::Create();
  TFormatSettings comma = dot;
  comma.DecimalSeparator = ',';
  EXPECT_DOUBLE_EQ(StrToFloat("1.5", dot), 1.5);
  EXPECT_DOUBLE_EQ(StrToFloat(" -1.25E+2 ", dot), -125.0);
  EXPECT_DOUBLE_EQ(StrToFloat(".5", dot), 0.5);
  EXPECT_DOUBLE_EQ(StrToFloat("5.", dot), 5.0);
  EXPECT_DOUBLE_EQ(StrToFloat("1,5", comma), 1.5);
  EXPECT_DOUBLE_EQ(StrToFloat("1e-400", dot), 0.0);
  double value = 7;
  for (const char* text : {"", "1,5", "1.2.3", "e5", "1e", "1e+", "abc", "1 000", "1e999", "."}) {
    EXPECT_FALSE(TryStrToFloat(text, value, dot)) << text;
    EXPECT_EQ(value, 7);
  }
  EXPECT_FALSE(TryStrToFloat("1.5", value, comma));
  EXPECT_DOUBLE_EQ(StrToFloatDef("bad", 2.5, dot), 2.5);
  try {
    StrToFloat("1;2", dot);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'1;2' is not a valid floating point value");
  }
}

TEST(ConversionsTest, FloatTextRoundTrips) {
  const TFormatSettings fs = TFormatSettings::Create();
  for (double value : {0.1, -123.456, 1e-10, 6.02214076e23, 1.0 / 7.0}) {
    double back = StrToFloat(FloatToStr(value, fs), fs);
    EXPECT_NEAR(back, value, std::abs(value) * 1e-14) << value;
  }
}

TEST(ConversionsTest, BoolToStr) {
  EXPECT_EQ(BoolToStr(true), "-1");
  EXPECT_EQ(BoolToStr(false, true), "False");
}

}  // namespace
