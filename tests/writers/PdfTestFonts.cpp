// Fonts of the PDF writer: keys, measuring from the font files, the font list and the
// font and descriptor objects.
#include <gtest/gtest.h>

#include <memory>

#include "platform/Font.h"
#include "platform/Stream.h"
#include "writers/LxPdfFonts.h"
#include "writers/LxPdfObjects.h"

namespace {

std::unique_ptr<TFont> NewFont(const std::string& Name, int Size, TFontStyles Style = {}) {
  auto font = std::make_unique<TFont>();
  font->SetName(Name);
  font->SetSize(Size);
  font->SetStyle(Style);
  return font;
}

int WidthOf(const TLxFontInfo& Info, char C) {
  return Info.CharWidth(static_cast<unsigned char>(C));
}

TEST(PdfTestFonts, KeysDropBlanksAndNameBoldAndItalic) {
  const struct {
    const char* Name;
    TFontStyles Style;
    const char* Key;
  } cases[] = {
      {"Times New Roman", {fsBold, fsItalic}, "TimesNewRoman,BoldItalic"},
      {"Courier New", {}, "CourierNew"},
      {"Arial", {fsBold}, "Arial,Bold"},
      {"Arial", {fsItalic, fsUnderline}, "Arial,Italic"},
      {"Arial", {fsUnderline, fsStrikeOut}, "Arial"},
  };
  for (const auto& c : cases) EXPECT_EQ(PdfFontKey(c.Name, c.Style), c.Key) << c.Name;
}

// Liberation Sans and Liberation Mono carry the advance widths of Arial and Courier New,
// which are those of the standard Helvetica and Courier metrics.
TEST(PdfTestFonts, WidthsAreThousandthsFromTheFontFile) {
  const auto arial = CreateFontInfo(*NewFont("Arial", 10), 6, 7);
  const struct {
    char C;
    int Width;
  } helvetica[] = {{' ', 278}, {'0', 556}, {'W', 944}, {'i', 222}, {'m', 833}, {'A', 667}, {'.', 278}};
  for (const auto& c : helvetica) EXPECT_NEAR(WidthOf(*arial, c.C), c.Width, 1) << c.C;

  const auto courier = CreateFontInfo(*NewFont("Courier New", 12), 6, 7);
  for (int code = 32; code < 127; ++code)
    EXPECT_NEAR(courier->CharWidth(static_cast<unsigned char>(code)), 600, 1);
  EXPECT_EQ(arial->FontObject, 6);
  EXPECT_EQ(arial->DescriptorObject, 7);
}

TEST(PdfTestFonts, DescriptorValuesComeFromTheTextMetrics) {
  const auto arial = CreateFontInfo(*NewFont("Arial", 10), 6, 7);
  const auto courier = CreateFontInfo(*NewFont("Courier New", 10), 8, 9);
  const auto times = CreateFontInfo(*NewFont("Times New Roman", 10, {fsItalic}), 10, 11);
  // Whole inches of the 1000-point font: multiples of 72.
  for (const TLxFontInfo* info : {arial.get(), courier.get(), times.get()}) {
    EXPECT_EQ(info->Ascent % 72, 0);
    EXPECT_EQ(info->Descent % 72, 0);
    EXPECT_EQ(info->MaxWidth % 72, 0);
    EXPECT_GT(info->Ascent, 0);
    EXPECT_LE(info->Descent, 0);
    EXPECT_EQ(info->CapHeight, info->Ascent);
    EXPECT_EQ(info->FontBBox.Left, -250);
    EXPECT_EQ(info->FontBBox.Top, info->Ascent);
    EXPECT_EQ(info->FontBBox.Right, info->MaxWidth);
    EXPECT_EQ(info->FontBBox.Bottom, info->Descent);
    EXPECT_EQ(info->StemV, 0);
  }
  // Arial: ascent 0.905 em of 1333 pixels is 1206 pixels, 12 whole inches.
  EXPECT_EQ(arial->Ascent, 864);
  EXPECT_EQ(arial->Flags & 1, 0);
  EXPECT_EQ(courier->Flags & 1, 1);  // fixed pitch
  EXPECT_EQ(times->Flags & 2, 2);    // serif
  EXPECT_EQ(times->Flags & 64, 64);  // italic
  EXPECT_EQ(arial->Flags & 32, 32);  // non-symbolic
  EXPECT_LT(times->ItalicAngle, 0);
  EXPECT_EQ(arial->ItalicAngle, 0);
}

TEST(PdfTestFonts, LineMetricsAreScaledToTheFirstRunsSize) {
  const auto small = CreateFontInfo(*NewFont("Arial", 10), 6, 7);
  const auto large = CreateFontInfo(*NewFont("Arial", 40), 6, 7);
  EXPECT_GE(small->UnderlineSize, 1);
  EXPECT_GT(large->UnderlineSize, small->UnderlineSize);
  EXPECT_GT(large->StrikeoutPosition, small->StrikeoutPosition);
  EXPECT_LT(large->UnderlinePosition, small->UnderlinePosition);
  // The strikeout sits above the baseline, the underline below it.
  EXPECT_GT(small->StrikeoutPosition, 0);
  EXPECT_LT(small->UnderlinePosition, 0);
}

TEST(PdfTestFonts, CharactersBelow32AddNothingAndTheTableIsNotLeft) {
  TLxFontInfo info;  // every width 600
  info.Widths[0] = 250;
  EXPECT_EQ(info.CharWidth(0), 0);
  EXPECT_EQ(info.CharWidth(31), 0);
  EXPECT_EQ(info.CharWidth(32), 250);
  EXPECT_EQ(info.CharWidth(255), 600);
  EXPECT_DOUBLE_EQ(info.TextWidth(std::string("\x01\x02 A\x1F", 5), 10), (250 + 600) * 10 / 1000.0);
  EXPECT_DOUBLE_EQ(info.TextWidth("", 10), 0);
}

TEST(PdfTestFonts, ListFindsKeysWithoutRegardToCaseAndKeepsFirstUseOrder) {
  TMemoryStream out;
  TLxPdfFile file(&out);
  TLxPdfFontList list;
  EXPECT_EQ(list.FontIndex(*NewFont("Times New Roman", 12), file), 0);
  EXPECT_EQ(list.FontIndex(*NewFont("Arial", 10, {fsBold}), file), 1);
  // Another size, colour or decoration of the same face and weight is the same font.
  auto bigger = NewFont("Arial", 20, {fsBold, fsUnderline});
  bigger->SetColor(clRed);
  EXPECT_EQ(list.FontIndex(*bigger, file), 1);
  EXPECT_EQ(list.FontIndex(*NewFont("ARIAL", 10, {fsBold}), file), 1);
  EXPECT_EQ(list.FontIndex(*NewFont("Arial", 10), file), 2);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Key(1), "Arial,Bold");
  EXPECT_EQ(list.IndexOf("arial,bold"), 1);
  // Numbers are taken when a font is first used: font object, then descriptor.
  EXPECT_EQ(list.Info(0).FontObject, 6);
  EXPECT_EQ(list.Info(0).DescriptorObject, 7);
  EXPECT_EQ(list.Info(2).FontObject, 10);
  EXPECT_EQ(file.NextObject(), 11);
  // The underline of the shared key comes from its first (10-point) run.
  EXPECT_EQ(list.Info(1).UnderlineSize, CreateFontInfo(*NewFont("Arial", 10, {fsBold}), 0, 0)->UnderlineSize);
  EXPECT_EQ(list.ResourceEntries(), "/F0 6 0 R\r\n/F1 8 0 R\r\n/F2 10 0 R\r\n");
}

TEST(PdfTestFonts, FontAndDescriptorObjectsNameTheEscapedKey) {
  TLxFontInfo info;
  info.DescriptorObject = 9;
  info.Flags = 34;
  info.FontBBox = {-250, 864, 1440, -216};
  const std::string font = PdfFontObjectBody("Odd Name(1)", 3, info, feWinAnsiEncoding);
  EXPECT_NE(font.find("/Name /F3\r\n"), std::string::npos);
  EXPECT_NE(font.find("/BaseFont /Odd#20Name#281#29\r\n"), std::string::npos);
  EXPECT_NE(font.find("/Encoding /WinAnsiEncoding\r\n/FirstChar 32\r\n/LastChar 255\r\n"), std::string::npos);
  EXPECT_NE(font.find("/Widths [600 600 "), std::string::npos);
  EXPECT_EQ(font.substr(font.size() - 24), "]\r\n/FontDescriptor 9 0 R");
  const std::string descriptor = PdfFontDescriptorBody("Odd Name(1)", info);
  EXPECT_EQ(descriptor,
            "/Type /FontDescriptor\r\n/FontName /Odd#20Name#281#29\r\n/Flags 34\r\n"
            "/FontBBox [-250 -216 1440 864]\r\n/Ascent 800\r\n/Descent -200\r\n/CapHeight 700\r\n"
            "/AvgWidth 600\r\n/MaxWidth 600\r\n/StemV 0\r\n/ItalicAngle 0\r\n");
  EXPECT_EQ(PdfEncodingName(feMacRomanEncoding), "MacRomanEncoding");
  EXPECT_EQ(PdfEncodingName(fePDFDocEncoding), "PDFDocEncoding");
}

}  // namespace
