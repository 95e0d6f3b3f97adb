#include <gtest/gtest.h>

#include <cstdint>
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
  settings.CurrencyString = "\x80";  // €
  settings.CurrencyFormat = 3;       // 1 €
  settings.NegCurrFormat = 8;        // -1 €
  return settings;
}

TEST(FormatTest, IntegersWidthPrecisionAndIndexes) {
  const TFormatSettings fs = Invariant();
  EXPECT_EQ(Format("%.4d", {7}, fs), "0007");
  EXPECT_EQ(Format("%.4d", {12345}, fs), "12345");
  EXPECT_EQ(Format("%.4d", {-7}, fs), "-0007");
  EXPECT_EQ(Format("%5d|%-5d|", {42, 42}, fs), "   42|42   |");
  EXPECT_EQ(Format("%6.3d", {5}, fs), "   005");
  EXPECT_EQ(Format("%.10d %.5d %s", {1234, 0, "n"}, fs), "0000001234 00000 n");
  EXPECT_EQ(Format("%d", {int64_t{-9'000'000'000}}, fs), "-9000000000");
  EXPECT_EQ(Format("%d", {uint64_t{18'000'000'000'000'000'000u}}, fs), "18000000000000000000");
  EXPECT_EQ(Format("%u", {-1}, fs), "4294967295");
  EXPECT_EQ(Format("%x|%X|%.4x", {255, -1, 10}, fs), "FF|FFFFFFFF|000A");
  EXPECT_EQ(Format("%x", {int64_t{-1}}, fs), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(Format("%*d|%-*d|%.*d", {4, 1, 3, 2, 3, 3}, fs), "   1|2  |003");
}

TEST(FormatTest, ArgumentIndexesRestartTheSequence) {
  const TFormatSettings fs = Invariant();
  EXPECT_EQ(Format("%0:s %1:s %0:s", {"a", "b"}, fs), "a b a");
  EXPECT_EQ(Format("%1:s %s %0:s %s", {"x", "y", "z"}, fs), "y z x y");
  EXPECT_EQ(Format("%1:-4s|", {"x", "ab"}, fs), "ab  |");
}

TEST(FormatTest, StringsCharsAndPercent) {
  const TFormatSettings fs = Invariant();
  const std::string name = "Report";
  EXPECT_EQ(Format("%s has %d pages", {name, 3}, fs), "Report has 3 pages");
  EXPECT_EQ(Format("%-5s|", {"ab"}, fs), "ab   |");
  EXPECT_EQ(Format("%5s|", {"ab"}, fs), "   ab|");
  EXPECT_EQ(Format("%.3s|", {"abcdef"}, fs), "abc|");
  EXPECT_EQ(Format("%s%s", {'x', std::string_view("yz")}, fs), "xyz");
  EXPECT_EQ(Format("100%% %s", {"done"}, fs), "100% done");
  EXPECT_EQ(Format("no specifiers", {}, fs), "no specifiers");
  int value = 0;
  EXPECT_EQ(Format("%p", {&value}, fs).size(), 2 * sizeof(void*));
  EXPECT_EQ(Format("%p", {nullptr}, fs), std::string(2 * sizeof(void*), '0'));
}

TEST(FormatTest, FloatsFollowTheSettings) {
  const TFormatSettings fs = Invariant();
  EXPECT_EQ(Format("%1.4f", {3.14159265}, fs), "3.1416");
  EXPECT_EQ(Format("%5.2f|", {3.14159}, fs), " 3.14|");
  EXPECT_EQ(Format("%f", {2.5}, fs), "2.50");
  EXPECT_EQ(Format("%.2f", {0.125}, fs), "0.13");  // half away from zero on the decimal digits
  EXPECT_EQ(Format("%.2f", {2.675}, fs), "2.68");  // 15 significant digits first
  EXPECT_EQ(Format("%.0f", {-0.4}, fs), "0");
  EXPECT_EQ(Format("%e", {1234.5678}, fs), "1.23456780000000E+003");
  EXPECT_EQ(Format("%.3e", {-0.000123456}, fs), "-1.23E-004");
  EXPECT_EQ(Format("%g", {0.5}, fs), "0.5");
  EXPECT_EQ(Format("%n", {1234567.891}, fs), "1,234,567.89");
  EXPECT_EQ(Format("%.0n", {-999.5}, fs), "-1,000");
  EXPECT_EQ(Format("%m", {1234.5}, fs), "$1,234.50");
  EXPECT_EQ(Format("%m", {-1234.5}, fs), "($1,234.50)");
  EXPECT_EQ(Format("%.1f", {1.25f}, fs), "1.3");

  const TFormatSettings comma = DecimalComma();
  EXPECT_EQ(Format("%.2f", {1234.5}, comma), "1234,50");
  EXPECT_EQ(Format("%n", {1234.5}, comma), "1.234,50");
  EXPECT_EQ(Format("%m", {1234.5}, comma), "1.234,50 \x80");
  EXPECT_EQ(Format("%m", {-1234.5}, comma), "-1.234,50 \x80");
}

TEST(FormatTest, MismatchAndMissingArgumentsRaise) {
  const TFormatSettings fs = Invariant();
  struct Case {
    const char* fmt;
    std::vector<TVarRec> args;
    const char* message;
  };
  const Case cases[] = {
      {"%d %d", {1}, "No argument for format '%d %d'"},
      {"%d", {"text"}, "Format '%d' invalid or incompatible with argument"},
      {"%f", {3}, "Format '%f' invalid or incompatible with argument"},
      {"%s", {1.5}, "Format '%s' invalid or incompatible with argument"},
      {"%x", {2.0}, "Format '%x' invalid or incompatible with argument"},
      {"%d", {true}, "Format '%d' invalid or incompatible with argument"},
      {"%k", {1}, "Format '%k' invalid or incompatible with argument"},
      {"abc %", {1}, "Format 'abc %' invalid or incompatible with argument"},
      {"%5:s", {"a"}, "No argument for format '%5:s'"},
  };
  for (const Case& c : cases) {
    try {
      Format(c.fmt, c.args, fs);
      ADD_FAILURE() << "no exception for " << c.fmt;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
}

TEST(FormatTest, GlobalSettingsAreUsedWithoutAnArgument) {
  const TFormatSettings saved = FormatSettings;
  FormatSettings = DecimalComma();
  EXPECT_EQ(Format("%.1f", {2.5}), "2,5");
  EXPECT_EQ(FloatToStr(0.25), "0,25");
  FormatSettings = saved;
}

}  // namespace
