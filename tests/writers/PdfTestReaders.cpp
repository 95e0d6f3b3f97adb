// PDF files assembled from the writer's building blocks, read back by independent readers:
// qpdf checks the structure, poppler's pdftotext, pdffonts and pdfinfo read text, fonts and
// the information dictionary, pdfimages the pictures.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <regex>

#include "PdfTestTools.h"
#include "platform/AnsiCodePage.h"
#include "platform/Bitmap.h"
#include "platform/Color.h"
#include "platform/Font.h"
#include "platform/RasterCanvas.h"
#include "platform/Stream.h"
#include "writers/LxPdfDocument.h"

namespace {

using pdftest::AddText;
using pdftest::HaveTool;
using pdftest::NewFont;
using pdftest::Quote;
using pdftest::RunCommand;

TLxPdfInfo SampleInfo() {
  TLxPdfInfo info;
  info.Author = "Ada Author";
  info.Keywords = "alpha beta";
  info.Creator = "Vellum Reports";
  info.Title = "Quarterly (draft) report";
  info.CreationDate = EncodeDateTime(2024, 5, 17, 14, 30, 15, 0);
  info.TimeZoneBias = -60;
  return info;
}

void WriteDocument(const std::string& FileName, const std::function<void(TLxPdfDocument&)>& Pages) {
  TFileStream out(FileName, fmCreate);
  TLxPdfDocument doc(&out);
  doc.BeginDocument();
  Pages(doc);
  doc.EndDocument(SampleInfo(), 8.5, 11);
}

void TwoPages(TLxPdfDocument& doc) {
  doc.BeginPage(8.5, 11, {});
  AddText(doc, *NewFont("Arial", 12), "First page top line", 1, 1);
  AddText(doc, *NewFont("Arial", 12), "First page second line", 1, 1.5);
  doc.EndPage();
  doc.BeginPage(8.5, 11, {});
  AddText(doc, *NewFont("Times New Roman", 14, {fsBold}), "Second page", 1, 1);
  AddText(doc, *NewFont("Courier New", 10, {fsItalic}), "Courier italic", 1, 2);
  doc.EndPage();
}

class PdfTestReaders : public ::testing::Test {
protected:
  void SetUp() override {
    if (!HaveTool("qpdf") || !HaveTool("pdftotext") || !HaveTool("pdffonts") || !HaveTool("pdfinfo"))
      GTEST_SKIP() << "qpdf or poppler-utils is not installed";
  }
  TTempDir FDir;
};

TEST_F(PdfTestReaders, QpdfAcceptsATwoPageDocument) {
  const std::string file = FDir.File("two.pdf");
  WriteDocument(file, TwoPages);
  EXPECT_TRUE(pdftest::QpdfAccepts(file));
  // qpdf's own view of the structure: catalog, two pages in order.
  const std::string json = RunCommand("qpdf --show-npages " + Quote(file)).Output;
  EXPECT_EQ(json, "2\n");
}

TEST_F(PdfTestReaders, TextComesOutInReadingOrderPageByPage) {
  const std::string file = FDir.File("two.pdf");
  WriteDocument(file, TwoPages);
  const std::string text = pdftest::PdfToText(file);
  const size_t top = text.find("First page top line");
  const size_t second = text.find("First page second line");
  const size_t formFeed = text.find('\f');
  const size_t page2 = text.find("Second page");
  const size_t courier = text.find("Courier italic");
  ASSERT_NE(top, std::string::npos) << text;
  ASSERT_NE(second, std::string::npos) << text;
  ASSERT_NE(page2, std::string::npos) << text;
  ASSERT_NE(courier, std::string::npos) << text;
  EXPECT_LT(top, second);
  EXPECT_LT(second, formFeed);
  EXPECT_LT(formFeed, page2);
  EXPECT_LT(page2, courier);
}

TEST_F(PdfTestReaders, FontsAreListedByTheirRequestedNames) {
  const std::string file = FDir.File("two.pdf");
  WriteDocument(file, TwoPages);
  const std::string fonts = RunCommand("pdffonts " + Quote(file)).Output;
  for (const char* name : {"Arial ", "TimesNewRoman,Bold ", "CourierNew,Italic "})
    EXPECT_NE(fonts.find(name), std::string::npos) << name << "\n" << fonts;
  EXPECT_NE(fonts.find("TrueType"), std::string::npos);
  EXPECT_NE(fonts.find("WinAnsi"), std::string::npos);
  EXPECT_EQ(fonts.find("Error"), std::string::npos) << fonts;
}

TEST_F(PdfTestReaders, InformationShowsTitleAuthorCreatorAndDate) {
  const std::string file = FDir.File("two.pdf");
  WriteDocument(file, TwoPages);
  const std::string info = RunCommand("TZ=UTC pdfinfo -isodates " + Quote(file)).Output;
  EXPECT_NE(info.find("Title:           Quarterly (draft) report\n"), std::string::npos) << info;
  EXPECT_NE(info.find("Author:          Ada Author\n"), std::string::npos) << info;
  EXPECT_NE(info.find("Creator:         Vellum Reports\n"), std::string::npos) << info;
  EXPECT_NE(info.find("Keywords:        alpha beta\n"), std::string::npos) << info;
  EXPECT_NE(info.find("Producer:        LxVellumRenders V1.0 for Vellum Reports ("), std::string::npos)
      << info;
  EXPECT_NE(info.find("CreationDate:    2024-05-17T14:30:15+01"), std::string::npos) << info;
  EXPECT_NE(info.find("Pages:           2\n"), std::string::npos) << info;
  EXPECT_NE(info.find("PDF version:     1.3\n"), std::string::npos) << info;
}

TEST_F(PdfTestReaders, SpecialCharactersAndHighBytesSurvive) {
  // Every assigned Windows-1252 byte from 128 to 255 except the two that are blanks to a
  // text extractor (no-break space, soft hyphen).
  std::string high;
  for (int c = 128; c <= 255; ++c) {
    if (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D || c == 0xA0 || c == 0xAD) continue;
    high += static_cast<char>(c);
  }
  const std::string lines[] = {"Brackets (a) ((b)) )c( and \\ back\\slash \\\\ twice",
                               "100% sure % not a comment", high.substr(0, 40), high.substr(40, 40),
                               high.substr(80)};
  const std::string file = FDir.File("chars.pdf");
  WriteDocument(file, [&](TLxPdfDocument& doc) {
    doc.BeginPage(8.5, 11, {});
    double y = 1;
    for (const std::string& line : lines) {
      AddText(doc, *NewFont("Arial", 10), line, 0.5, y);
      y += 0.3;
    }
    doc.EndPage();
  });
  EXPECT_TRUE(pdftest::QpdfAccepts(file));
  const std::string text = pdftest::PdfToText(file, false);
  for (const std::string& line : lines)
    EXPECT_NE(text.find(AnsiToUtf8(line)), std::string::npos) << line << "\n" << text;
}

TEST_F(PdfTestReaders, PagesOfOtherSizesKeepTheirOwnMediaBox) {
  const std::string file = FDir.File("sizes.pdf");
  WriteDocument(file, [](TLxPdfDocument& doc) {
    doc.BeginPage(8.5, 11, {});
    AddText(doc, *NewFont("Arial", 10), "Portrait", 1, 1);
    doc.EndPage();
    doc.BeginPage(11, 8.5, {});
    AddText(doc, *NewFont("Arial", 10), "Landscape", 1, 1);
    doc.EndPage();
    doc.BeginPage(8.27, 11.69, {});
    AddText(doc, *NewFont("Arial", 10), "A4", 1, 1);
    doc.EndPage();
  });
  EXPECT_TRUE(pdftest::QpdfAccepts(file));
  const std::string info = RunCommand("pdfinfo -f 1 -l 3 " + Quote(file)).Output;
  EXPECT_NE(info.find("Page    1 size:  612 x 792 pts"), std::string::npos) << info;
  EXPECT_NE(info.find("Page    2 size:  792 x 612 pts"), std::string::npos) << info;
  EXPECT_NE(info.find("Page    3 size:  595.44 x 841.68 pts"), std::string::npos) << info;
  // The text of the landscape page sits one inch from its own top edge.
  const std::string bbox = RunCommand("pdftotext -f 2 -l 2 -bbox " + Quote(file) + " -").Output;
  std::smatch m;
  ASSERT_TRUE(std::regex_search(
      bbox, m, std::regex(R"re(yMin="([0-9.]+)" xMax="[0-9.]+" yMax="([0-9.]+)\">Landscape)re")))
      << bbox;
  EXPECT_LT(std::stod(m[1]), 72);  // the baseline is 72 points below the top
  EXPECT_GT(std::stod(m[2]), 72);
  EXPECT_LT(std::stod(m[2]), 76);
}

TEST_F(PdfTestReaders, PicturesAreJpegImages) {
  if (!HaveTool("pdfimages")) GTEST_SKIP() << "pdfimages is not installed";
  const std::string file = FDir.File("images.pdf");
  WriteDocument(file, [](TLxPdfDocument& doc) {
    doc.BeginPage(8.5, 11, {});
    TBitmap red(40, 20);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(TRect{0, 0, 40, 20});
    doc.PlaceImage(&red, 1, 1, 40 / 96.0, 20 / 96.0);
    doc.EndPage();
  });
  EXPECT_TRUE(pdftest::QpdfAccepts(file));
  const std::string list = RunCommand("pdfimages -list " + Quote(file)).Output;
  EXPECT_NE(list.find("image      40    20  rgb     3   8  jpeg"), std::string::npos) << list;
}

// The pixels of page 1 rendered by pdftoppm at 72 pixels per inch (one pixel per point).
struct TRendered {
  int Width = 0;
  int Height = 0;
  std::string Pixels;  // RGB
  TColor At(double XInches, double YInches) const {
    const int x = static_cast<int>(XInches * 72), y = static_cast<int>(YInches * 72);
    const size_t i = (static_cast<size_t>(y) * Width + x) * 3;
    return RGB(static_cast<uint8_t>(Pixels[i]), static_cast<uint8_t>(Pixels[i + 1]),
               static_cast<uint8_t>(Pixels[i + 2]));
  }
};

TRendered RenderPage(const std::string& File, const std::string& Prefix) {
  RunCommand("pdftoppm -r 72 -f 1 -l 1 -singlefile " + Quote(File) + " " + Quote(Prefix));
  const std::string ppm = pdftest::ReadFileBytes(Prefix + ".ppm");
  TRendered page;
  int maxValue = 0, consumed = 0;
  if (std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &page.Width, &page.Height, &maxValue, &consumed) == 3)
    page.Pixels = ppm.substr(static_cast<size_t>(consumed) + 1);
  return page;
}

TEST_F(PdfTestReaders, ShapesArePaintedWhereTheReportPutThem) {
  if (!HaveTool("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
  const std::string file = FDir.File("shapes.pdf");
  const TLxPdfPen pen{psSolid, 1, clBlack};
  const TLxPdfPen noPen{psClear, 1, clBlack};
  WriteDocument(file, [&](TLxPdfDocument& doc) {
    doc.SetBackgroundColor(RGB(255, 255, 200));
    doc.BeginPage(8.5, 11, {});
    doc.Content().Rectangle(pen, {false, clRed}, 1, 1, 2, 1);
    doc.Content().Ellipse(noPen, {false, clBlue}, 4, 1, 6, 2);
    doc.Content().RoundRect(noPen, {false, clLime}, 1, 3, 3, 4, 0.5, 0.5);
    // A pie of the upper-right quarter of the circle about (5, 4).
    doc.Content().Pie(noPen, {false, clFuchsia}, 4, 3, 6, 5, 6, 4, 5, 3);
    doc.Content().Chord(noPen, {false, clNavy}, 1, 5, 3, 7, 3, 6, 1, 6);  // the upper half
    doc.Content().Line({psSolid, 8, clGreen}, {true, clWhite}, 4, 6, 6, 6);
    TBitmap yellow(96, 48);
    yellow.Canvas()->Brush()->SetColor(clYellow);
    yellow.Canvas()->FillRect(TRect{0, 0, 96, 48});
    doc.PlaceImage(&yellow, 1, 8, 1, 0.5);
    doc.EndPage();
  });
  ASSERT_TRUE(pdftest::QpdfAccepts(file));
  const TRendered page = RenderPage(file, FDir.File("shapes"));
  ASSERT_EQ(page.Width, 612);
  ASSERT_EQ(page.Height, 792);
  const TColor background = RGB(255, 255, 200);
  const struct {
    double X, Y;
    TColor Color;
    const char* What;
  } probes[] = {
      {0.2, 0.2, background, "page background"}, {2, 1.5, clRed, "rectangle"},
      {5, 1.5, clBlue, "ellipse centre"},        {4.1, 1.1, background, "outside the ellipse's curve"},
      {2, 3.5, clLime, "rounded rectangle"},     {1.03, 3.03, background, "outside its round corner"},
      {5.5, 3.5, clFuchsia, "pie quarter"},      {4.5, 3.5, background, "beside the pie"},
      {5.5, 4.5, background, "below the pie"},   {2, 5.7, clNavy, "chord's upper half"},
      {2, 6.3, background, "below the chord"},   {5, 6.02, clGreen, "thick line"},
      {1.5, 8.25, clYellow, "picture"},          {2.2, 8.25, background, "beside the picture"},
  };
  for (const auto& p : probes) {
    const TColor c = page.At(p.X, p.Y);
    EXPECT_NEAR(GetRValue(c), GetRValue(p.Color), 24) << p.What;
    EXPECT_NEAR(GetGValue(c), GetGValue(p.Color), 24) << p.What;
    EXPECT_NEAR(GetBValue(c), GetBValue(p.Color), 24) << p.What;
  }
}

}  // namespace
