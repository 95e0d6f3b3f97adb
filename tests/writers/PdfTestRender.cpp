// TLxRenderPDF driven by the converter over page streams recorded with the report filer:
// the whole road from report code to a PDF file, read back by qpdf and poppler.
#include <gtest/gtest.h>

#include <memory>
#include <regex>

#include "PdfTestTools.h"
#include "platform/AnsiCodePage.h"
#include "platform/Bitmap.h"
#include "platform/Brush.h"
#include "platform/FileUtils.h"
#include "platform/Picture.h"
#include "platform/RasterCanvas.h"
#include "platform/ScriptedDialogService.h"
#include "platform/Stream.h"
#include "platform/StringList.h"
#include "stream/VXFiler.h"
#include "writers/LxRender_PDF.h"

namespace {

using pdftest::CountOf;
using pdftest::HaveTool;
using pdftest::Quote;
using pdftest::RunCommand;

// A report recorded into memory.
class TRecorded {
public:
  TMemoryStream Stream;

  explicit TRecorded(const std::string& Title, const std::function<void(TReportFiler&)>& Body) {
    TReportFiler filer;
    filer.SetStreamMode(smUser);
    filer.SetStream(&Stream);
    filer.SetTitle(Title);
    filer.OnPrint = [&filer, &Body](TObject*) { Body(filer); };
    filer.Execute();
    Stream.SetPosition(0);
  }
};

// A PDF render without dialogs or progress.
std::unique_ptr<TLxRenderPDF> QuietRender() {
  auto render = std::make_unique<TLxRenderPDF>();
  render->SetShowSetupDialog(false);
  render->SetShowProgress(false);
  return render;
}

std::unique_ptr<TBitmap> Checkerboard(int Width, int Height, TColor A, TColor B, int Cell) {
  auto bitmap = std::make_unique<TBitmap>(Width, Height);
  for (int y = 0; y < Height; y += Cell)
    for (int x = 0; x < Width; x += Cell) {
      bitmap->Canvas()->Brush()->SetColor(((x / Cell + y / Cell) % 2) ? B : A);
      bitmap->Canvas()->FillRect(TRect{x, y, x + Cell, y + Cell});
    }
  return bitmap;
}

// A rectangle in the report's device pixels, from inches.
TRect DeviceRect(TReportFiler& R, double X1, double Y1, double X2, double Y2) {
  return TRect{R.XUnitsToDevice(X1), R.YUnitsToDevice(Y1), R.XUnitsToDevice(X2), R.YUnitsToDevice(Y2)};
}

void TextLine(TReportFiler& R, double Y, const std::string& Text, double X = 1.0) {
  R.SetYPos(Y);
  R.PrintLeft(Text, X);
}

// Every text alignment, decoration and rotation, and every drawing operation.
void EveryOperation(TReportFiler& R) {
  R.SetFontName("Arial");
  R.SetFontSize(14);
  R.SetBold(true);
  R.SetYPos(1.0);
  R.PrintLeft("Left aligned", 1.0);
  R.PrintCenter("Centred", 4.25);
  R.PrintRight("Right aligned", 7.5);
  R.SetBold(false);
  R.SetFontSize(11);
  R.SetYPos(1.4);
  R.PrintBlock("Block justified words spread over six inches", 1.0, 6.0);
  R.SetFontName("Times New Roman");
  R.SetUnderline(true);
  TextLine(R, 1.8, "Underlined Times New Roman");
  R.SetUnderline(false);
  R.SetStrikeout(true);
  R.SetFontName("Courier New");
  TextLine(R, 2.1, "Struck out Courier New");
  R.SetUnderline(true);
  R.SetFontColor(clRed);
  TextLine(R, 2.4, "Underlined and struck out in red");
  R.SetUnderline(false);
  R.SetStrikeout(false);
  R.SetFontColor(clBlack);
  R.SetFontName("Arial");
  R.SetFontRotation(90);
  TextLine(R, 4.5, "Turned 90 degrees", 7.0);
  R.SetFontRotation(30);
  TextLine(R, 4.5, "Turned 30 degrees", 5.5);
  R.SetFontRotation(0);

  R.SetPen(clBlack, psSolid, 1, pmCopy);
  R.SetBrush(clRed, bsSolid, nullptr);
  R.Rectangle(1.0, 3.0, 2.0, 3.5);
  R.SetBrush(clBlue, bsSolid, nullptr);
  R.Ellipse(2.5, 3.0, 4.0, 3.5);
  R.SetBrush(clLime, bsSolid, nullptr);
  R.RoundRect(1.0, 3.8, 2.5, 4.4, 0.3, 0.3);
  R.SetBrush(clYellow, bsSolid, nullptr);
  R.Pie(3.0, 3.8, 4.0, 4.8, 4.0, 4.3, 3.5, 3.8);
  R.SetBrush(clFuchsia, bsSolid, nullptr);
  R.Chord(1.0, 4.8, 2.0, 5.8, 2.0, 5.3, 1.0, 5.3);
  R.SetBrush(clWhite, bsClear, nullptr);
  R.Arc(2.5, 4.8, 3.5, 5.8, 3.5, 5.3, 2.5, 5.3);
  R.SetPen(clNavy, psDash, 1, pmCopy);
  R.MoveTo(1.0, 6.1);
  R.LineTo(4.0, 6.1);
  R.SetPen(clBlack, psSolid, 1, pmCopy);
  R.SetBrush(clAqua, bsSolid, nullptr);
  R.FillRect(DeviceRect(R, 1.0, 6.5, 2.0, 7.0));
  R.SetBrush(clWhite, bsClear, nullptr);
  R.TextRect(DeviceRect(R, 3.0, 6.5, 4.0, 7.0), 3.0, 6.9, "Clipped text runs past its box");

  const auto picture = Checkerboard(96, 48, clBlack, clYellow, 8);
  R.PrintBitmap(1.0, 7.3, 1.0, 1.0, picture.get());
  R.PrintBitmapRect(2.5, 7.3, 3.5, 7.8, picture.get());
  R.StretchDraw(DeviceRect(R, 4.0, 7.3, 5.0, 7.8), picture.get());
  R.Draw(5.5, 7.3, picture.get());
  R.SetFontName("Arial");
  R.SetFontSize(11);
  TextLine(R, 9.0, "After the pictures");
  R.NewPage();
  TextLine(R, 1.0, "Second page");
}

class PdfTestRender : public ::testing::Test {
protected:
  void SetUp() override {
    if (!HaveTool("qpdf") || !HaveTool("pdftotext") || !HaveTool("pdffonts") || !HaveTool("pdfinfo"))
      GTEST_SKIP() << "qpdf or poppler-utils is not installed";
  }
  // Renders Report into FDir/Name and returns the file's path.
  std::string Render(TRecorded& Report, TLxRenderPDF& PdfRender, const std::string& Name) {
    const std::string file = FDir.File(Name);
    Report.Stream.SetPosition(0);
    PdfRender.PrintRender(&Report.Stream, file);
    return file;
  }
  TTempDir FDir;
  TScriptedDialogService FDialogs;
};

TEST_F(PdfTestRender, EveryOperationGivesACleanFile) {
  TRecorded report("Every operation", EveryOperation);
  auto render = QuietRender();
  render->SetAuthor("Test Author");
  render->SetKeywords("shapes text");
  render->SetBackgroundColor(RGB(255, 250, 230));
  TPicture background;
  background.SetGraphic(Checkerboard(48, 48, RGB(235, 235, 255), RGB(255, 250, 230), 24).get());
  render->SetBackgroundImage(&background);
  render->SetBackgroundImageDisplayType(dtTile);
  const std::string file = Render(report, *render, "every.pdf");
  EXPECT_EQ(FDialogs.Count(dkShowError), 0);
  ASSERT_TRUE(FileExists(file));
  EXPECT_TRUE(pdftest::QpdfAccepts(file));

  const std::string text = pdftest::PdfToText(file);
  // The justified run is stretched by character spacing, so an extractor sees its letters
  // spaced out: compare without blanks.
  std::string packed;
  for (char c : text)
    if (c != ' ') packed += c;
  const std::vector<std::string> order = {"Leftaligned",
                                          "Centred",
                                          "Rightaligned",
                                          "Blockjustifiedwordsspread",
                                          "UnderlinedTimesNewRoman",
                                          "StruckoutCourierNew",
                                          "Underlinedandstruckoutinred",
                                          "Afterthepictures",
                                          "Secondpage"};
  size_t at = 0;
  for (const std::string& piece : order) {
    const size_t found = packed.find(piece, at);
    ASSERT_NE(found, std::string::npos) << piece << "\n" << text;
    at = found + piece.size();
  }
  // The three alignments share one line.
  const std::regex firstLine(R"(Left aligned +Centred +Right aligned\n)");
  EXPECT_TRUE(std::regex_search(text, firstLine)) << text;

  const std::string fonts = RunCommand("pdffonts " + Quote(file)).Output;
  for (const char* name : {"Arial,Bold ", "Arial ", "TimesNewRoman ", "CourierNew "})
    EXPECT_NE(fonts.find(name), std::string::npos) << name << "\n" << fonts;

  const std::string info = RunCommand("pdfinfo " + Quote(file)).Output;
  EXPECT_NE(info.find("Title:           Every operation\n"), std::string::npos) << info;
  EXPECT_NE(info.find("Author:          Test Author\n"), std::string::npos) << info;
  EXPECT_NE(info.find("Creator:         Vellum Reports\n"), std::string::npos) << info;
  EXPECT_NE(info.find("Keywords:        shapes text\n"), std::string::npos) << info;
  EXPECT_NE(info.find("CreationDate:    "), std::string::npos) << info;
  EXPECT_NE(info.find("Pages:           2\n"), std::string::npos) << info;

  // The four pictures and the background picture, written once.
  EXPECT_EQ(CountOf(pdftest::ReadFileBytes(file), "/Subtype /Image"), 5);
  if (HaveTool("pdfimages")) {
    // The four pictures drawn on the page (the background picture inside the pattern is
    // not listed by pdfimages).
    const std::string images = RunCommand("pdfimages -list " + Quote(file)).Output;
    EXPECT_EQ(CountOf(images, " jpeg "), 4) << images;
  }
}

// The pixels of page 1 rendered at 72 pixels per inch.
struct TPage {
  int Width = 0;
  int Height = 0;
  std::string Pixels;
  TColor At(double X, double Y) const {
    const size_t i = (static_cast<size_t>(Y * 72) * Width + static_cast<size_t>(X * 72)) * 3;
    return RGB(static_cast<uint8_t>(Pixels[i]), static_cast<uint8_t>(Pixels[i + 1]),
               static_cast<uint8_t>(Pixels[i + 2]));
  }
};

TPage RenderFirstPage(const std::string& File, const std::string& Prefix) {
  RunCommand("pdftoppm -r 72 -f 1 -l 1 -singlefile " + Quote(File) + " " + Quote(Prefix));
  const std::string ppm = pdftest::ReadFileBytes(Prefix + ".ppm");
  TPage page;
  int maxValue = 0, consumed = 0;
  if (std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &page.Width, &page.Height, &maxValue, &consumed) == 3)
    page.Pixels = ppm.substr(static_cast<size_t>(consumed) + 1);
  return page;
}

::testing::AssertionResult ColorNear(TColor Actual, TColor Expected) {
  if (std::abs(GetRValue(Actual) - GetRValue(Expected)) <= 30 &&
      std::abs(GetGValue(Actual) - GetGValue(Expected)) <= 30 &&
      std::abs(GetBValue(Actual) - GetBValue(Expected)) <= 30)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << std::hex << "colour " << Actual << " instead of " << Expected;
}

TEST_F(PdfTestRender, ThePageLooksLikeTheReport) {
  if (!HaveTool("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
  TRecorded report("Every operation", EveryOperation);
  auto render = QuietRender();
  const TColor paper = RGB(255, 250, 230);
  render->SetBackgroundColor(paper);
  const std::string file = Render(report, *render, "look.pdf");
  const TPage page = RenderFirstPage(file, FDir.File("look"));
  ASSERT_EQ(page.Width, 612);
  const struct {
    double X, Y;
    TColor Color;
    const char* What;
  } probes[] = {
      {0.3, 0.3, paper, "background colour"},
      {1.5, 3.25, clRed, "rectangle"},
      {3.25, 3.25, clBlue, "ellipse"},
      {2.55, 3.05, paper, "outside the ellipse"},
      {1.75, 4.1, clLime, "rounded rectangle"},
      {3.75, 4.05, clYellow, "pie quarter"},
      {3.25, 4.55, paper, "outside the pie"},
      {1.5, 5.1, clFuchsia, "upper half of the chord"},
      {1.5, 5.6, paper, "below the chord"},
      {1.5, 6.75, clAqua, "filled rectangle"},
      {1.04, 7.34, clBlack, "first cell of the bitmap"},
      {1.12, 7.34, clYellow, "second cell of the bitmap"},
      {2.54, 7.34, clBlack, "stretched bitmap's first cell"},
  };
  for (const auto& p : probes) EXPECT_TRUE(ColorNear(page.At(p.X, p.Y), p.Color)) << p.What;
}

TEST_F(PdfTestRender, APageSelectionNumbersWithoutGaps) {
  TRecorded report("Three pages", [](TReportFiler& R) {
    for (int page = 1; page <= 3; ++page) {
      if (page > 1) R.NewPage();
      R.SetFontName(page == 2 ? "Times New Roman" : "Arial");
      TextLine(R, 1.0, "Page number " + std::to_string(page));
    }
  });
  auto render = QuietRender();
  render->SetPages("2");
  const std::string file = Render(report, *render, "selected.pdf");
  EXPECT_TRUE(pdftest::QpdfAccepts(file));
  const std::string bytes = pdftest::ReadFileBytes(file);
  EXPECT_NE(bytes.find("/Count 1\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("/Kids [6 0 R]\r\n"), std::string::npos);
  // 5 fixed objects, the page's three, its font and descriptor: /Size 11, every one listed.
  EXPECT_NE(bytes.find("/Size 11\r\n"), std::string::npos);
  EXPECT_EQ(CountOf(bytes, " 00000 n\r\n"), 10);
  const std::string text = pdftest::PdfToText(file);
  EXPECT_NE(text.find("Page number 2"), std::string::npos) << text;
  EXPECT_EQ(text.find("Page number 1"), std::string::npos) << text;
}

TEST_F(PdfTestRender, ABackgroundPictureWithoutRenderedPagesLeavesNoDanglingPattern) {
  TRecorded report("One page", [](TReportFiler& R) { TextLine(R, 1.0, "Only page"); });
  auto render = QuietRender();
  TPicture background;
  background.SetGraphic(Checkerboard(48, 48, clSilver, clWhite, 24).get());
  render->SetBackgroundImage(&background);
  render->SetPages("5");
  const std::string file = Render(report, *render, "none.pdf");
  EXPECT_TRUE(pdftest::QpdfAccepts(file));
  const std::string bytes = pdftest::ReadFileBytes(file);
  EXPECT_EQ(bytes.find("/Pattern"), std::string::npos);
  EXPECT_NE(bytes.find("/Count 0\r\n"), std::string::npos);
}

TEST_F(PdfTestRender, BackgroundPictureIsPlacedByItsDisplayType) {
  if (!HaveTool("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
  TRecorded report("Placed", [](TReportFiler& R) { TextLine(R, 1.0, "Background placement"); });
  TPicture background;
  auto red = std::make_unique<TBitmap>(96, 96);
  red->Canvas()->Brush()->SetColor(clRed);
  red->Canvas()->FillRect(TRect{0, 0, 96, 96});
  background.SetGraphic(red.get());
  const struct {
    TLxBackgroundDisplayType Type;
    double X, Y;  // the middle of where the one-inch picture goes on a letter page
  } cases[] = {{dtTopLeft, 0.5, 0.5},    {dtCenter, 4.25, 5.5},     {dtBottomRight, 8.0, 10.5},
               {dtTopCenter, 4.25, 0.5}, {dtCenterRight, 8.0, 5.5}, {dtBottomLeft, 0.5, 10.5}};
  for (const auto& c : cases) {
    auto render = QuietRender();
    render->SetBackgroundImage(&background);
    render->SetBackgroundImageDisplayType(c.Type);
    const std::string name = "placed" + std::to_string(c.Type);
    const std::string file = Render(report, *render, name + ".pdf");
    ASSERT_TRUE(pdftest::QpdfAccepts(file));
    const TPage page = RenderFirstPage(file, FDir.File(name));
    EXPECT_TRUE(ColorNear(page.At(c.X, c.Y), clRed)) << c.Type;
    // A tile repeated would also show one inch further in.
    EXPECT_TRUE(ColorNear(page.At(c.X < 4 ? c.X + 1.5 : c.X - 1.5, c.Y), clWhite)) << c.Type;
  }
}

TEST_F(PdfTestRender, ATiledBackgroundCoversEveryPage) {
  if (!HaveTool("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
  TRecorded report("Tiled", [](TReportFiler& R) {
    TextLine(R, 1.0, "Tiled one");
    R.NewPage();
    TextLine(R, 1.0, "Tiled two");
  });
  TPicture background;
  background.SetGraphic(Checkerboard(96, 96, clBlue, clYellow, 48).get());
  auto render = QuietRender();
  render->SetBackgroundImage(&background);
  render->SetBackgroundImageDisplayType(dtTile);
  const std::string file = Render(report, *render, "tiled.pdf");
  ASSERT_TRUE(pdftest::QpdfAccepts(file));
  const std::string bytes = pdftest::ReadFileBytes(file);
  EXPECT_EQ(CountOf(bytes, "/Subtype /Image"), 1);
  EXPECT_EQ(CountOf(bytes, "/P1 scn"), 2);
  const TPage page = RenderFirstPage(file, FDir.File("tiled"));
  // Tiles start at the top-left corner: blue cells where (column + row) is even.
  EXPECT_TRUE(ColorNear(page.At(0.25, 0.25), clBlue));
  EXPECT_TRUE(ColorNear(page.At(0.75, 0.25), clYellow));
  EXPECT_TRUE(ColorNear(page.At(5.25, 8.75), clYellow));
  EXPECT_TRUE(ColorNear(page.At(5.25, 9.25), clBlue));
}

TEST_F(PdfTestRender, ReportTextWithSpecialCharactersSurvives) {
  std::string high;
  for (int c = 128; c <= 255; ++c) {
    // Unassigned in Windows-1252, or blank to a text extractor (no-break space, soft hyphen).
    if (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D || c == 0xA0 || c == 0xAD) continue;
    high += static_cast<char>(c);
  }
  const std::vector<std::string> lines = {"(parentheses) ((nested)) )reversed(",
                                          "back\\slash and \\\\ double",
                                          "100% and %% percent",
                                          high.substr(0, 40),
                                          high.substr(40, 40),
                                          high.substr(80)};
  TRecorded report("Characters (and \\ escapes)", [&](TReportFiler& R) {
    R.SetFontName("Arial");
    R.SetFontSize(10);
    double y = 1.0;
    for (const std::string& line : lines) {
      TextLine(R, y, line);
      y += 0.3;
    }
  });
  auto render = QuietRender();
  const std::string file = Render(report, *render, "chars.pdf");
  EXPECT_TRUE(pdftest::QpdfAccepts(file));
  const std::string text = pdftest::PdfToText(file, false);
  for (const std::string& line : lines)
    EXPECT_NE(text.find(AnsiToUtf8(line)), std::string::npos) << line << "\n" << text;
  const std::string info = RunCommand("pdfinfo " + Quote(file)).Output;
  EXPECT_NE(info.find("Title:           Characters (and \\ escapes)\n"), std::string::npos) << info;
}

TEST_F(PdfTestRender, OutputCanGoToTheCallersStream) {
  TRecorded report("Streamed", [](TReportFiler& R) { TextLine(R, 1.0, "In memory"); });
  auto render = QuietRender();
  TMemoryStream target;
  render->OutputToStream(&target);
  const std::string unused = FDir.File("unused.pdf");
  Render(report, *render, "unused.pdf");
  EXPECT_FALSE(FileExists(unused));
  const std::string bytes(reinterpret_cast<const char*>(target.Memory()), static_cast<size_t>(target.Size()));
  EXPECT_EQ(bytes.rfind("%PDF-1.3\r\n", 0), 0u);
  EXPECT_EQ(bytes.substr(bytes.size() - 5), "%%EOF");
  pdftest::WriteFileBytes(FDir.File("copy.pdf"), bytes);
  EXPECT_TRUE(pdftest::QpdfAccepts(FDir.File("copy.pdf")));
  EXPECT_NE(pdftest::PdfToText(FDir.File("copy.pdf")).find("In memory"), std::string::npos);
}

TEST_F(PdfTestRender, WithoutImagesNoPictureIsWritten) {
  TRecorded report("No pictures", [](TReportFiler& R) {
    const auto picture = Checkerboard(32, 32, clBlack, clWhite, 8);
    R.PrintBitmap(1, 1, 1, 1, picture.get());
    R.Draw(2, 2, picture.get());
    TextLine(R, 4.0, "Text only");
  });
  auto render = QuietRender();
  render->SetIncludeImages(false);
  const std::string file = Render(report, *render, "noimages.pdf");
  EXPECT_TRUE(pdftest::QpdfAccepts(file));
  const std::string bytes = pdftest::ReadFileBytes(file);
  EXPECT_EQ(bytes.find("/Subtype /Image"), std::string::npos);
  EXPECT_NE(bytes.find("[/PDF /Text]\r\n"), std::string::npos);
}

TEST_F(PdfTestRender, WithoutLinesShapesAndClippingAreLeftOut) {
  TRecorded report("No lines", [](TReportFiler& R) {
    R.Rectangle(1, 1, 2, 2);
    R.Ellipse(3, 1, 4, 2);
    R.TextRect(DeviceRect(R, 1.0, 3.0, 2.0, 3.3), 1.0, 3.2, "Clipped");
  });
  auto render = QuietRender();
  render->SetIncludeLines(false);
  render->SetIncludeNonRectShapes(false);
  const std::string file = Render(report, *render, "nolines.pdf");
  EXPECT_TRUE(pdftest::QpdfAccepts(file));
  const std::string bytes = pdftest::ReadFileBytes(file);
  EXPECT_EQ(bytes.find(" re\r\nW n"), std::string::npos);
  EXPECT_EQ(bytes.find(" c\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("q\r\nBT\r\n"), std::string::npos);  // the clipped text without its path
  EXPECT_EQ(CountOf(bytes, " re\r\n"), 1);                  // only the page background
}

TEST_F(PdfTestRender, OnlyJpegIsAcceptedAsImageFormat) {
  auto render = QuietRender();
  render->SetExportImageFormat(ifGIF);
  EXPECT_EQ(render->ExportImageFormat(), ifJPG);
  ASSERT_EQ(FDialogs.Count(dkShowError), 1);
  EXPECT_EQ(FDialogs.Last(dkShowError).Text, "The PDF export supports only the JPEG image format");
  render->SetExportImageFormat(ifJPG);
  EXPECT_EQ(FDialogs.Count(dkShowError), 1);
}

TEST_F(PdfTestRender, AnOutputThatCannotBeCreatedIsReported) {
  TRecorded report("Nowhere", [](TReportFiler& R) { TextLine(R, 1.0, "Lost"); });
  auto render = QuietRender();
  Render(report, *render, "missing-folder/out.pdf");
  ASSERT_EQ(FDialogs.Count(dkShowError), 1);
  EXPECT_EQ(FDialogs.Last(dkShowError).Text.rfind("File could not be created!", 0), 0u);
  EXPECT_TRUE(render->Cancelled());
}

TEST_F(PdfTestRender, TheRenderIsRegisteredUnderItsDisplayName) {
  const auto render = QuietRender();
  EXPECT_EQ(render->DisplayName(), "Adobe Acrobat Document (*.pdf)");
  EXPECT_EQ(render->FileExtension(), "*.pdf");
  EXPECT_NE(GetRenderFilter().find("Adobe Acrobat Document (*.pdf)|*.pdf"), std::string::npos);
  TStringList list;
  GetRenderList(&list);
  EXPECT_GE(list.IndexOf("Adobe Acrobat Document (*.pdf)"), 0);
  // Defaults.
  EXPECT_EQ(render->Creator(), "Vellum Reports");
  EXPECT_EQ(render->Encoding(), feWinAnsiEncoding);
  EXPECT_EQ(render->CompressionMethod(), cmMaxCompress);
  EXPECT_TRUE(render->UseCompression());
  EXPECT_EQ(render->JPEGQuality(), 100);
  EXPECT_EQ(render->BackgroundImageDisplayType(), dtCenter);
  EXPECT_EQ(render->FormatNumber(-12), "-12.0000");
  EXPECT_EQ(render->EncodeText("a(b)\\"), "a\\(b\\)\\\\");
}

TEST_F(PdfTestRender, OneFontObjectServesEverySizeOfAFace) {
  TRecorded report("Sizes", [](TReportFiler& R) {
    R.SetFontName("Arial");
    R.SetBold(true);
    R.SetFontSize(10);
    TextLine(R, 1.0, "Ten points");
    R.SetFontSize(20);
    TextLine(R, 2.0, "Twenty points");
  });
  auto render = QuietRender();
  const std::string file = Render(report, *render, "sizes.pdf");
  EXPECT_TRUE(pdftest::QpdfAccepts(file));
  const std::string bytes = pdftest::ReadFileBytes(file);
  EXPECT_EQ(CountOf(bytes, "/BaseFont /Arial,Bold\r\n"), 1);
  EXPECT_NE(bytes.find("/F0 10 Tf"), std::string::npos);
  EXPECT_NE(bytes.find("/F0 20 Tf"), std::string::npos);
  // Nobody filled in the author.
  EXPECT_NE(bytes.find("/Author ()\r\n"), std::string::npos);
}

TEST_F(PdfTestRender, CancellingDuringGenerationLeavesNoFile) {
  TRecorded report("Cancelled", [](TReportFiler& R) {
    for (int page = 1; page <= 3; ++page) {
      if (page > 1) R.NewPage();
      TextLine(R, 1.0, "Page " + std::to_string(page));
    }
  });
  auto render = QuietRender();
  int pagesBegun = 0;
  bool ended = false;
  render->OnPageBegin = [&](TVXRender*) {
    if (++pagesBegun == 2) render->AbortRender();
  };
  render->OnDocEnd = [&](TVXRender*) { ended = true; };
  const std::string file = Render(report, *render, "cancelled.pdf");
  EXPECT_EQ(pagesBegun, 2);
  EXPECT_FALSE(ended);
  EXPECT_TRUE(render->Cancelled());
  EXPECT_FALSE(FileExists(file));
  // The render is usable again afterwards.
  render->OnPageBegin = nullptr;
  const std::string again = Render(report, *render, "again.pdf");
  EXPECT_TRUE(ended);
  EXPECT_TRUE(pdftest::QpdfAccepts(again));
}

TEST_F(PdfTestRender, EventsFireForRenderedPagesOnly) {
  TRecorded report("Events", [](TReportFiler& R) {
    for (int page = 1; page <= 4; ++page) {
      if (page > 1) R.NewPage();
      TextLine(R, 1.0, "Page " + std::to_string(page));
    }
  });
  auto render = QuietRender();
  render->SetPages("2-3");
  int begun = 0, ended = 0, docs = 0;
  render->OnPageBegin = [&](TVXRender*) { ++begun; };
  render->OnPageEnd = [&](TVXRender*) { ++ended; };
  render->OnDocEnd = [&](TVXRender*) { ++docs; };
  const std::string file = Render(report, *render, "events.pdf");
  EXPECT_EQ(begun, 2);
  EXPECT_EQ(ended, 2);
  EXPECT_EQ(docs, 1);
  EXPECT_EQ(render->OutputFiles()->Count(), 1);
  EXPECT_EQ(render->OutputFiles()->Strings(0), file);
  EXPECT_TRUE(pdftest::QpdfAccepts(file));
}

}  // namespace
