// The PDF document layer: object numbering and write order, the page tree, resources,
// background, images, information dictionary, cross-reference table and trailer. Files are
// assembled directly from the building blocks and read back with qpdf and poppler.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>

#include "PdfTestTools.h"
#include "platform/Bitmap.h"
#include "platform/Brush.h"
#include "platform/Font.h"
#include "platform/RasterCanvas.h"
#include "platform/Stream.h"
#include "writers/LxPdfDocument.h"

namespace {

using pdftest::CountOf;
using pdftest::AddText;
using pdftest::HaveTool;
using pdftest::NewFont;
using pdftest::RunCommand;

TLxPdfInfo SampleInfo() {
  TLxPdfInfo info;
  info.Author = "Ada (the author)";
  info.Keywords = "pdf, test";
  info.Creator = "Vellum Reports";
  info.Title = "Title with ( and \\ inside";
  info.CreationDate = EncodeDateTime(2024, 5, 17, 14, 30, 15, 0);
  info.TimeZoneBias = -60;
  return info;
}

std::unique_ptr<TBitmap> SolidBitmap(int Width, int Height, TColor Color) {
  auto bitmap = std::make_unique<TBitmap>(Width, Height);
  bitmap->Canvas()->Brush()->SetColor(Color);
  bitmap->Canvas()->FillRect(TRect{0, 0, Width, Height});
  return bitmap;
}

// Two letter pages: Arial on the first, Times New Roman bold on the second.
void WriteTwoPages(TStream* Out, TLxPdfDocument* Keep = nullptr) {
  TLxPdfDocument local(Out);
  TLxPdfDocument& doc = Keep ? *Keep : local;
  doc.BeginDocument();
  doc.BeginPage(8.5, 11, {});
  AddText(doc, *NewFont("Arial", 12), "First page", 1, 1);
  doc.EndPage();
  doc.BeginPage(8.5, 11, {});
  AddText(doc, *NewFont("Times New Roman", 14, {fsBold}), "Second page", 1, 1);
  AddText(doc, *NewFont("Arial", 10), "Arial again", 1, 2);
  doc.EndPage();
  doc.EndDocument(SampleInfo(), 8.5, 11);
}

std::string WriteFile(const std::string& FileName, const std::function<void(TLxPdfDocument&)>& Body) {
  {
    TFileStream out(FileName, fmCreate);
    TLxPdfDocument doc(&out);
    Body(doc);
  }
  return pdftest::ReadFileBytes(FileName);
}

TEST(PdfTestDocument, ObjectsAreNumberedAndWrittenInTheFixedOrder) {
  TMemoryStream out;
  TLxPdfDocument doc(&out);
  WriteTwoPages(&out, &doc);
  std::vector<int> order;
  for (const auto& entry : doc.File().XrefEntries()) order.push_back(entry.second);
  // Catalog; page 1 (page, contents, length) with its font numbered 9 and 10 on first use;
  // page 2 with Times bold as 14 and 15; then page tree, resources, procedure set, the
  // fonts in list order and the information dictionary last.
  EXPECT_EQ(order, (std::vector<int>{1, 6, 7, 8, 11, 12, 13, 2, 5, 4, 9, 10, 14, 15, 3}));
  EXPECT_EQ(doc.NextObject(), 15);
  EXPECT_EQ(doc.Kids(), " 6 0 R 11 0 R");

  const std::string bytes(reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size()));
  EXPECT_EQ(
      bytes.rfind("%PDF-1.3\r\n%\xE2\xE3\xCF\xD3\r\n1 0 obj\r\n<<\r\n/Type /Catalog\r\n/Pages 2 0 R\r\n>>"
                  "\r\nendobj\r\n6 0 obj\r\n",
                  0),
      0u);
  // Every recorded offset points at its object.
  for (const auto& [offset, number] : doc.File().XrefEntries())
    EXPECT_EQ(bytes.compare(static_cast<size_t>(offset), std::to_string(number).size() + 6,
                            std::to_string(number) + " 0 obj"),
              0)
        << number;
  EXPECT_NE(bytes.find("2 0 obj\r\n<<\r\n/Type /Pages\r\n/Count 2\r\n/MediaBox [0 0 612.0000 792.0000]\r\n"
                       "/Kids [6 0 R 11 0 R]\r\n/Resources 5 0 R\r\n>>\r\nendobj\r\n"),
            std::string::npos);
  EXPECT_NE(bytes.find("5 0 obj\r\n<<\r\n/Font <<\r\n/F0 9 0 R\r\n/F1 14 0 R\r\n>>\r\n/ProcSet 4 0 R\r\n>>"),
            std::string::npos);
  EXPECT_NE(bytes.find("4 0 obj\r\n[/PDF /Text /ImageC]\r\nendobj\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("/BaseFont /TimesNewRoman,Bold\r\n"), std::string::npos);
  // Each page names its own media box.
  EXPECT_NE(
      bytes.find("6 0 obj\r\n<<\r\n/Type /Page\r\n/Parent 2 0 R\r\n/Contents 7 0 R\r\n"
                 "/MediaBox [0 0 612.0000 792.0000]\r\n>>\r\nendobj\r\n7 0 obj\r\n<< /Length 8 0 R >>\r\n"
                 "stream\r\n"),
      std::string::npos);
}

TEST(PdfTestDocument, LengthObjectsCountTheContentBytes) {
  TMemoryStream out;
  WriteTwoPages(&out);
  const std::string bytes(reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size()));
  const size_t streamStart = bytes.find("stream\r\n", bytes.find("7 0 obj")) + 8;
  const size_t streamEnd = bytes.find("\r\nendstream", streamStart);
  const std::string length = std::to_string(streamEnd - streamStart);
  EXPECT_NE(bytes.find("endobj\r\n8 0 obj\r\n" + length + "\r\nendobj\r\n"), std::string::npos);
}

TEST(PdfTestDocument, CrossReferenceTableListsObjectsByNumber) {
  TMemoryStream out;
  TLxPdfDocument doc(&out);
  WriteTwoPages(&out, &doc);
  const std::string bytes(reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size()));
  const size_t xref = bytes.rfind("\r\nxref\r\n") + 2;
  ASSERT_NE(xref, std::string::npos);
  EXPECT_EQ(bytes.substr(xref, 32), "xref\r\n0 16\r\n0000000000 65535 f\r\n");
  std::map<int, int64_t> offsets;
  for (const auto& [offset, number] : doc.File().XrefEntries()) offsets[number] = offset;
  size_t at = xref + 12 + 20;
  for (int n = 1; n <= 15; ++n, at += 20) {
    char expected[24];
    std::snprintf(expected, sizeof expected, "%.10lld 00000 n\r\n", static_cast<long long>(offsets[n]));
    EXPECT_EQ(bytes.substr(at, 20), expected) << n;
  }
  EXPECT_EQ(bytes.substr(at),
            "trailer\r\n<<\r\n/Root 1 0 R\r\n/Info 3 0 R\r\n/Size 16\r\n>>\r\nstartxref\r\n" +
                std::to_string(xref) + "\r\n%%EOF");
}

TEST(PdfTestDocument, InformationDictionaryIsEscapedAndDated) {
  TMemoryStream out;
  WriteTwoPages(&out);
  const std::string bytes(reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size()));
  EXPECT_NE(bytes.find("3 0 obj\r\n<<\r\n/Author (Ada \\(the author\\))\r\n"
                       "/CreationDate (D:20240517143015+01'00')\r\n/Keywords (pdf, test)\r\n"
                       "/Creator (Vellum Reports)\r\n/Title (Title with \\( and \\\\ inside)\r\n"
                       "/Producer (LxVellumRenders V1.0 for Vellum Reports \\("),
            std::string::npos);
  EXPECT_NE(bytes.find("\\))\r\n>>\r\nendobj\r\nxref"), std::string::npos);
}

TEST(PdfTestDocument, ADocumentWithoutTextStillNamesArial) {
  TMemoryStream out;
  TLxPdfDocument doc(&out);
  doc.BeginDocument();
  doc.BeginPage(8.5, 11, {});
  doc.EndPage();
  doc.EndDocument(SampleInfo(), 8.5, 11);
  const std::string bytes(reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size()));
  EXPECT_NE(bytes.find("/Font <<\r\n/F0 9 0 R\r\n>>"), std::string::npos);
  EXPECT_NE(
      bytes.find("9 0 obj\r\n<<\r\n/Type /Font\r\n/Subtype /TrueType\r\n/Name /F0\r\n/BaseFont /Arial\r\n"),
      std::string::npos);
  EXPECT_NE(bytes.find("10 0 obj\r\n<<\r\n/Type /FontDescriptor\r\n/FontName /Arial\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("/Size 11\r\n"), std::string::npos);
}

TEST(PdfTestDocument, ImagesFollowTheirPageAndAreNumberedAcrossTheDocument) {
  TMemoryStream out;
  TLxPdfDocument doc(&out);
  doc.BeginDocument();
  doc.BeginPage(8.5, 11, {});
  doc.PlaceImage(SolidBitmap(40, 20, clRed).get(), 1, 1, 40 / 96.0, 20 / 96.0);
  doc.PlaceImage(SolidBitmap(30, 30, clBlue).get(), 1, 2, 30 / 96.0, 30 / 96.0);
  doc.EndPage();
  doc.BeginPage(8.5, 11, {});
  doc.PlaceImage(SolidBitmap(10, 10, clLime).get(), 1, 1, 10 / 96.0, 10 / 96.0);
  TBitmap empty;
  doc.PlaceImage(&empty, 1, 1, 1, 1);  // nothing to encode: nothing placed
  doc.EndPage();
  doc.EndDocument(SampleInfo(), 8.5, 11);
  std::vector<int> order;
  for (const auto& entry : doc.File().XrefEntries()) order.push_back(entry.second);
  EXPECT_EQ(order, (std::vector<int>{1, 6, 7, 8, 9, 10, 11, 12, 13, 14, 2, 5, 4, 15, 16, 3}));
  const std::string bytes(reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size()));
  EXPECT_NE(bytes.find("9 0 obj\r\n<<\r\n/Type /XObject\r\n/Subtype /Image\r\n/Name /Img0\r\n/Width 40\r\n"
                       "/Height 20\r\n/BitsPerComponent 8\r\n/ColorSpace /DeviceRGB\r\n/Filter /DCTDecode\r\n"
                       "/Length "),
            std::string::npos);
  EXPECT_NE(bytes.find("/Name /Img1\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("14 0 obj\r\n<<\r\n/Type /XObject\r\n/Subtype /Image\r\n/Name /Img2\r\n"),
            std::string::npos);
  EXPECT_NE(bytes.find("/ProcSet 4 0 R\r\n/XObject <<\r\n/Img0 9 0 R\r\n/Img1 10 0 R\r\n/Img2 14 0 R >>"),
            std::string::npos);
  EXPECT_EQ(CountOf(bytes, "/Img2 Do"), 1);
}

TEST(PdfTestDocument, WithoutImagesTheProcedureSetHasNoImageC) {
  TMemoryStream out;
  TLxPdfDocument doc(&out);
  doc.SetIncludeImages(false);
  doc.BeginDocument();
  doc.EndDocument(SampleInfo(), 8.5, 11);
  const std::string bytes(reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size()));
  EXPECT_NE(bytes.find("4 0 obj\r\n[/PDF /Text]\r\nendobj\r\n"), std::string::npos);
}

TEST(PdfTestDocument, TheBackgroundPictureIsWrittenOnceAndTiledOnEveryPage) {
  TMemoryStream out;
  TLxPdfDocument doc(&out);
  auto picture = SolidBitmap(96, 48, clYellow);
  doc.SetBackgroundPicture(picture.get());
  doc.SetBackgroundColor(clAqua);
  doc.BeginDocument();
  for (int page = 0; page < 3; ++page) {
    doc.BeginPage(8.5, 11, TLxPdfBackgroundBox{0, 0, 612, 792});
    doc.EndPage();
  }
  doc.EndDocument(SampleInfo(), 8.5, 11);
  const std::string bytes(reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size()));
  // The image object follows the first page's length object, and only that page.
  EXPECT_EQ(CountOf(bytes, "/Subtype /Image"), 1);
  EXPECT_NE(bytes.find("8 0 obj\r\n"), std::string::npos);
  EXPECT_LT(bytes.find("8 0 obj"), bytes.find("9 0 obj\r\n<<\r\n/Type /XObject"));
  EXPECT_EQ(CountOf(bytes,
                    "q\r\n0 w\r\n0.0000 1.0000 1.0000 rg\r\n0.0000 0.0000 612.0000 792.0000 re\r\nf\r\nQ\r\n"
                    "/Pattern cs \r\n/P1 scn\r\n0.0000 0.0000 612.0000 792.0000 re\r\nf\r\n"),
            3);
  // Resources: the pattern first; pattern object with its stream; its resources name the
  // picture /Img0.
  EXPECT_NE(bytes.find("5 0 obj\r\n<<\r\n/Pattern << /P1 16 0 R >>\r\n/Font <<\r\n/F0 17 0 R\r\n"),
            std::string::npos);
  EXPECT_NE(
      bytes.find("16 0 obj\r\n<<\r\n/Type /Pattern\r\n/PatternType 1\r\n/PaintType 1\r\n/Resources 19 0 R\r\n"
                 "/TilingType 1\r\n/BBox [0 0 72.0000 36.0000]\r\n/Matrix [1 0 0 1 0.0000 792.0000]\r\n"
                 "/XStep 72.0000\r\n/YStep 36.0000\r\n/Length 45\r\n>>\r\nstream\r\n"
                 "q\r\n72.0000 0 0 36.0000 0 0  cm\r\n/Img0 Do\r\nQ\r\nendstream\r\nendobj\r\n"
                 "19 0 obj\r\n<<\r\n/ProcSet [/PDF /ImageC]\r\n/XObject\r\n<< /Img0 9 0 R\r\n>>\r\n>>\r\n"
                 "endobj\r\n4 0 obj"),
      std::string::npos);
}

TEST(PdfTestDocument, NoPatternWhenNoPageWasRendered) {
  const TTempDir dir;
  auto picture = SolidBitmap(96, 48, clYellow);
  const std::string bytes = WriteFile(dir.File("empty.pdf"), [&](TLxPdfDocument& doc) {
    doc.SetBackgroundPicture(picture.get());
    doc.BeginDocument();
    doc.EndDocument(SampleInfo(), 8.5, 11);
  });
  EXPECT_EQ(bytes.find("/Pattern"), std::string::npos);
  EXPECT_EQ(bytes.find("/Img0"), std::string::npos);
  EXPECT_NE(bytes.find("/Count 0\r\n"), std::string::npos);
  if (!HaveTool("qpdf")) GTEST_SKIP() << "qpdf is not installed";
  EXPECT_TRUE(pdftest::QpdfAccepts(dir.File("empty.pdf")));
}

}  // namespace
