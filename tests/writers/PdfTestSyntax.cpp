// The lexical pieces of the PDF writer: numbers, colours, escaped strings and names, dates.
#include <gtest/gtest.h>

#include <clocale>

#include "platform/DateTime.h"
#include "platform/FormatSettings.h"
#include "writers/LxPdfSyntax.h"

namespace {

struct TNumberCase {
  double Value;
  const char* Text;
};

TEST(PdfTestSyntax, NumbersHaveFourDecimalsAndAFullStop) {
  const TNumberCase cases[] = {
      {595.2756, "595.2756"},
      {-12.0, "-12.0000"},
      {0.0, "0.0000"},
      {-0.0, "0.0000"},
      {-0.00001, "0.0000"},
      {0.00005, "0.0001"},
      {1234567.5, "1234567.5000"},
      {792.0, "792.0000"},
      {0.125, "0.1250"},
      {2.0 / 3.0, "0.6667"},
  };
  for (const TNumberCase& c : cases) EXPECT_EQ(PdfNumber(c.Value), c.Text) << c.Value;
}

TEST(PdfTestSyntax, NumbersIgnoreTheMachinesDecimalComma) {
  const TFormatSettings saved = FormatSettings;
  FormatSettings = TFormatSettings::FromLocale("de_DE");
  FormatSettings.DecimalSeparator = ',';
  FormatSettings.ThousandSeparator = '.';
  const std::string number = PdfNumber(1234.5);
  const std::string color = PdfColor(0x0080FF);
  FormatSettings = saved;
  EXPECT_EQ(number, "1234.5000");
  EXPECT_EQ(color, "1.0000 0.5020 0.0000");
}

TEST(PdfTestSyntax, ColoursAreRedGreenBlueFractions) {
  EXPECT_EQ(PdfColor(clWhite), "1.0000 1.0000 1.0000");
  EXPECT_EQ(PdfColor(clBlack), "0.0000 0.0000 0.0000");
  EXPECT_EQ(PdfColor(clRed), "1.0000 0.0000 0.0000");
  EXPECT_EQ(PdfColor(clBlue), "0.0000 0.0000 1.0000");
  EXPECT_EQ(PdfColor(RGB(51, 102, 153)), "0.2000 0.4000 0.6000");
  // A system colour is resolved first.
  EXPECT_EQ(PdfColor(clWindowText), PdfColor(ColorToRGB(clWindowText)));
  EXPECT_EQ(PdfReference(12), "12 0 R");
}

struct TTextCase {
  std::string In;
  std::string Out;
};

TEST(PdfTestSyntax, TextEscapesEverythingThatCouldEndTheString) {
  const TTextCase cases[] = {
      {"plain", "plain"},
      {"a(b)c", "a\\(b\\)c"},
      {"back\\slash", "back\\\\slash"},
      {"\\(", "\\\\\\("},
      {"100%", "100%"},
      {"line\r\nend", "line\\r\\nend"},
      {std::string("nul\0tab\t", 8), "nul\\000tab\\011"},
      {"\x7F", "\\177"},
      {"caf\xE9 \x80 \xFF", "caf\xE9 \x80 \xFF"},
  };
  for (const TTextCase& c : cases) EXPECT_EQ(PdfEscapeText(c.In), c.Out) << c.In;
}

TEST(PdfTestSyntax, NamesEscapeDelimitersAndBytesOutside33To126) {
  const TTextCase cases[] = {
      {"Arial,BoldItalic", "Arial,BoldItalic"},
      {"Times New", "Times#20New"},
      {"A/B", "A#2FB"},
      {"A#B", "A#23B"},
      {"(x)", "#28x#29"},
      {"<[{}]>%", "#3C#5B#7B#7D#5D#3E#25"},
      {"Caf\xE9", "Caf#E9"},
      {"\x7F\x01", "#7F#01"},
  };
  for (const TTextCase& c : cases) EXPECT_EQ(PdfEscapeName(c.In), c.Out) << c.In;
}

TEST(PdfTestSyntax, TimeZoneSuffixFollowsTheStandardBias) {
  const struct {
    int Bias;
    const char* Suffix;
  } cases[] = {
      {-60, "+01'00'"}, {300, "-05'00'"}, {-330, "+05'30'"},
      {210, "-03'30'"}, {0, "+00'00'"},   {-765, "+12'45'"},
  };
  for (const auto& c : cases) EXPECT_EQ(PdfTimeZoneSuffix(c.Bias), c.Suffix) << c.Bias;
}

TEST(PdfTestSyntax, DatesCarryDigitsAndTheSuffix) {
  const TDateTime when = EncodeDateTime(2024, 3, 9, 7, 5, 4, 0);
  EXPECT_EQ(PdfDate(when, -60), "D:20240309070504+01'00'");
  EXPECT_EQ(PdfDate(when, 300), "D:20240309070504-05'00'");
}

}  // namespace
