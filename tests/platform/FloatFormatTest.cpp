#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "platform/SysUtils.h"

namespace {

TFormatSettings Invariant() {
  return TFormatSettings::Create();
}

TFormatSettings DecimalComma() {
  TFormatSettings settings = TFormatSettings::Create();
  settings.DecimalSeparator = ',';
  settings.ThousandSeparator = '.';
  return settings;
}

TEST(FloatFormatTest, FloatToStrUsesFifteenDigitsAndExponentOnlyWhenNeeded) {
  const TFormatSettings fs = Invariant();
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {0.1 + 0.2, "0.3"},
      {1e15, "1E15"},
      {999999999999999.0, "999999999999999"},
      {123456789012345678.0, "1.23456789012346E17"},
      {0.00001, "1E-5"},
      {0.0001, "0.0001"},
      {0.000123, "0.000123"},
      {0.0000123, "1.23E-5"},
      {-0.5, "-0.5"},
      {0.0, "0"},
      {-0.0, "0"},
      {100.0, "100"},
      {1.0 / 3.0, "0.333333333333333"},
      {2.0 / 3.0, "0.666666666666667"},
      {-1234.5e-30, "-1.2345E-27"},
      {1e300, "1E300"},
  };
  for (const Case& c : cases) EXPECT_EQ(FloatToStr(c.value, fs), c.text) << c.value;
  EXPECT_EQ(FloatToStr(std::numeric_limits<double>::quiet_NaN(), fs), "NAN");
  EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::infinity(), fs), "-INF");
}

TEST(FloatFormatTest, FloatToStrUsesTheDecimalSeparator) {
  EXPECT_EQ(FloatToStr(-1234.5, DecimalComma()), "-1234,5");
  EXPECT_EQ(FloatToStr(1.5e-7, DecimalComma()), "1,5E-7");
}

TEST(FloatFormatTest, FloatToStrFFormats) {
  const TFormatSettings fs = Invariant();
  EXPECT_EQ(FloatToStrF(1234.5678, ffGeneral, 6, 0, fs), "1234.57");
  EXPECT_EQ(FloatToStrF(1234567.0, ffGeneral, 4, 2, fs), "1.235E06");
  EXPECT_EQ(FloatToStrF(1234.5678, ffExponent, 4, 2, fs), "1.235E+03");
  EXPECT_EQ(FloatToStrF(0.0, ffExponent, 3, 0, fs), "0.00E+0");
  EXPECT_EQ(FloatToStrF(-1234.5678, ffFixed, 15, 2, fs), "-1234.57");
  EXPECT_EQ(FloatToStrF(0.5, ffFixed, 15, 0, fs), "1");
  EXPECT_EQ(FloatToStrF(345.6789, ffFixed, 5, 3, fs), "345.680");  // precision first, then zeros
  EXPECT_EQ(FloatToStrF(345.6789, ffNumber, 4, 2, fs), "345.70");
  EXPECT_EQ(FloatToStrF(1234567.891, ffNumber, 15, 1, fs), "1,234,567.9");
  EXPECT_EQ(FloatToStrF(-5.0, ffCurrency, 15, 2, fs), "($5.00)");
  EXPECT_EQ(FloatToStrF(1e20, ffFixed, 15, 2, fs), "1E20");  // more digits than the precision
  EXPECT_EQ(FloatToStrF(123.456, ffNumber, 15, 2, DecimalComma()), "123,46");
}

TEST(FloatFormatTest, FormatFloatPatterns) {
  const TFormatSettings fs = Invariant();
  struct Case {
    const char* pattern;
    double value;
    const char* text;
  };
  // The table of the platform's documentation, and more.
  const Case cases[] = {
      {"", 1234, "1234"},
      {"0", 1234, "1234"},
      {"0", -1234, "-1234"},
      {"0", 0.5, "1"},
      {"0", 0, "0"},
      {"0.00", 1234, "1234.00"},
      {"0.00", 0.5, "0.50"},
      {"0.00", 2.675, "2.68"},
      {"0.00", -0.001, "0.00"},
      {"#.##", 1234, "1234"},
      {"#.##", -1234, "-1234"},
      {"#.##", 0.5, ".5"},
      {"#.##", 0, ""},
      {"#,##0.00", 1234, "1,234.00"},
      {"#,##0.00", -1234, "-1,234.00"},
      {"#,##0.00", 0.5, "0.50"},
      {"#,##0.00", 1234567.891, "1,234,567.89"},
      {"#,##0", 999999.5, "1,000,000"},
      {"#,##0.00;(#,##0.00)", 1234, "1,234.00"},
      {"#,##0.00;(#,##0.00)", -1234, "(1,234.00)"},
      {"#,##0.00;;Zero", 0, "Zero"},
      {"#,##0.00;;Zero", -1234, "-1,234.00"},
      {"#,##0.00;;Zero", 0.001, "Zero"},
      {"0.000E+00", 1234, "1.234E+03"},
      {"0.000E+00", -1234, "-1.234E+03"},
      {"0.000E+00", 0.5, "5.000E-01"},
      {"0.000E+00", 0, "0.000E+00"},
      {"#.###E-0", 1234, "1.234E3"},
      {"#.###E-0", 0.5, "5E-1"},
      {"#.###E-0", 0, "0E0"},
      {"0.###E+00", 12345, "1.235E+04"},
      {"00.00E+00", 1234, "12.34E+02"},
      {"000-000", 123456, "123-456"},
      {"\"Total: \"0.0' EUR'", 12.34, "Total: 12.3 EUR"},
      {"00000", 42, "00042"},
      {"0.0#", 1.5, "1.5"},
      {"0.0#", 1.257, "1.26"},
      {"0;-0;zero;ignored", 0, "zero"},
      {".00", 12.5, "12.50"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatFloat(c.pattern, c.value, fs), c.text) << c.pattern << " " << c.value;
}

TEST(FloatFormatTest, FormatFloatUsesTheSeparators) {
  EXPECT_EQ(FormatFloat("#,##0.00", 1234567.891, DecimalComma()), "1.234.567,89");
  TFormatSettings noGrouping = Invariant();
  noGrouping.ThousandSeparator = '\0';
  EXPECT_EQ(FormatFloat("#,##0", 1234567, noGrouping), "1234567");
}

TEST(FloatFormatTest, IntToStrAndIntToHex) {
  EXPECT_EQ(IntToStr(-42), "-42");
  EXPECT_EQ(IntToStr(int64_t{9'000'000'000}), "9000000000");
  EXPECT_EQ(IntToStr(4'000'000'000u), "4000000000");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
  EXPECT_EQ(IntToHex(int64_t{-2}, 0), "FFFFFFFFFFFFFFFE");
  EXPECT_EQ(IntToHex(uint8_t{0xAB}, 1), "AB");
}

}  // namespace
