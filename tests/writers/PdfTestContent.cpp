// The page content operators of the PDF writer.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include "PdfTestTools.h"
#include "writers/LxPdfContent.h"
#include "writers/LxPdfFonts.h"

namespace {

TLxPdfPen SolidPen(double Width = 1, TColor Color = clBlack) {
  return TLxPdfPen{psSolid, Width, Color};
}

TLxPdfBrush ClearBrush() {
  return TLxPdfBrush{true, clWhite};
}

// A font whose every character is 500 thousandths wide.
TLxFontInfo HalfEmFont() {
  TLxFontInfo info;
  info.Widths.fill(500);
  info.UnderlineSize = 1;
  info.UnderlinePosition = -2;
  info.StrikeoutSize = 1;
  info.StrikeoutPosition = 3;
  return info;
}

// A left-aligned run at (1 in, 2 in) of a 12-point font (6 points a character) whose width
// equals the font's own width of the text when no width is given.
TLxPdfTextRun MakeRun(const std::string& Text, double WidthPoints = -1) {
  TLxPdfTextRun run;
  run.Text = Text;
  run.FontIndex = 2;
  run.FontSize = 12;
  run.X = 96;
  run.Y = 192;
  const double natural = Text.size() * 6.0;  // points
  run.Width = (WidthPoints < 0 ? natural : WidthPoints) / 72.0 * 96.0;
  return run;
}

TLxPdfContent LetterPage() {
  TLxPdfContent content;
  content.BeginPage(8.5, 11);
  return content;
}

TEST(PdfTestContent, PenPiecesFollowThePenStyle) {
  const struct {
    TPenStyle Style;
    const char* Dash;
  } cases[] = {{psSolid, "[]0"},
               {psDash, "[5 2]0"},
               {psDot, "[2 2]0"},
               {psDashDot, "[5 2 2 2]0"},
               {psDashDotDot, "[5 2 2 2 2 2]0"},
               {psClear, ""},
               {psInsideFrame, ""}};
  for (const auto& c : cases) EXPECT_EQ(TLxPdfContent::DashPiece(c.Style), c.Dash) << c.Style;
  EXPECT_EQ(TLxPdfContent::PenPiece(SolidPen(2, clRed)), "[]0 d\r\n1.5000 w\r\n1.0000 0.0000 0.0000 RG");
  // A clear pen still sets its width and colour, without a dash line.
  EXPECT_EQ(TLxPdfContent::PenPiece({psClear, 1, clBlack}), "0.7500 w\r\n0.0000 0.0000 0.0000 RG");
  EXPECT_EQ(TLxPdfContent::FillPiece({false, clYellow}), "\r\n0 w\r\n1.0000 1.0000 0.0000 rg");
  EXPECT_EQ(TLxPdfContent::FillPiece(ClearBrush()), "");
}

TEST(PdfTestContent, PaintDependsOnPenAndBrush) {
  const TLxPdfPen pen = SolidPen();
  const TLxPdfPen noPen{psClear, 1, clBlack};
  const TLxPdfBrush brush{false, clRed};
  EXPECT_EQ(TLxPdfContent::PaintPiece(pen, brush), "b");
  EXPECT_EQ(TLxPdfContent::PaintPiece(noPen, brush), "f");
  EXPECT_EQ(TLxPdfContent::PaintPiece(pen, ClearBrush()), "h\r\nS");
  EXPECT_EQ(TLxPdfContent::PaintPiece(noPen, ClearBrush()), "");
}

TEST(PdfTestContent, CurvesUseTheShortFormWhenTheSecondControlIsTheEnd) {
  EXPECT_EQ(TLxPdfContent::CurvePiece(1, 2, 3, 4, 5, 6), "1.0000 2.0000 3.0000 4.0000 5.0000 6.0000 c");
  EXPECT_EQ(TLxPdfContent::CurvePiece(1, 2, 5, 6, 5, 6), "1.0000 2.0000 5.0000 6.0000 y");
}

TEST(PdfTestContent, CoordinatesTurnTheTopLeftOriginIntoBottomLeft) {
  TLxPdfContent content = LetterPage();
  EXPECT_DOUBLE_EQ(content.X(1), 72);
  EXPECT_DOUBLE_EQ(content.Y(1), 792 - 72);
  EXPECT_DOUBLE_EQ(content.PageWidthPoints(), 612);
  TLxPdfContent flat;
  flat.BeginPage(8.5, 0);
  EXPECT_DOUBLE_EQ(flat.Y(1), 72);
}

TEST(PdfTestContent, BackgroundFillsThePageAndThePatternFillsItsBox) {
  TLxPdfContent content = LetterPage();
  content.Background(clWhite);
  content.BackgroundPattern(10, 700, 100, 50);
  EXPECT_EQ(content.Bytes(),
            "q\r\n0 w\r\n1.0000 1.0000 1.0000 rg\r\n0.0000 0.0000 612.0000 792.0000 re\r\nf\r\nQ\r\n"
            "/Pattern cs \r\n/P1 scn\r\n10.0000 650.0000 100.0000 50.0000 re\r\nf\r\n");
}

TEST(PdfTestContent, ARunThatFitsItsWidthNeedsNoSpacing) {
  TLxPdfContent content = LetterPage();
  const TLxFontInfo font = HalfEmFont();
  content.TextRun(MakeRun("Hello"), font);
  EXPECT_EQ(content.Bytes(),
            "BT\r\n0.0000 0.0000 0.0000 rg\r\n/F2 12 Tf\r\n72.0000 648.0000 Td (Hello) Tj\r\nET\r\n");
}

TEST(PdfTestContent, SpacingSpreadsTheDifferenceAndReturnsToZero) {
  TLxPdfContent content = LetterPage();
  const TLxFontInfo font = HalfEmFont();
  content.TextRun(MakeRun("abcd", 28), font);  // 4 more points over 4 characters
  content.TextRun(MakeRun("abcd"), font);      // back to its natural width
  content.TextRun(MakeRun("abcd"), font);      // already 0: nothing to say
  content.TextRun(MakeRun("ab", 11), font);    // half a point less per character
  const std::string& bytes = content.Bytes();
  EXPECT_NE(bytes.find("/F2 12 Tf\r\n1.0000 Tc\r\n72.0000 648.0000 Td (abcd) Tj"), std::string::npos);
  EXPECT_NE(bytes.find("/F2 12 Tf\r\n0.0000 Tc\r\n72.0000 648.0000 Td (abcd) Tj"), std::string::npos);
  EXPECT_EQ(pdftest::CountOf(bytes, " Tc\r\n"), 3);
  EXPECT_NE(bytes.find("-0.5000 Tc\r\n"), std::string::npos);
}

TEST(PdfTestContent, ControlCharactersAddNoWidthButCountForTheSpacing) {
  TLxPdfContent content = LetterPage();
  const TLxFontInfo font = HalfEmFont();
  // "A" is 6 points wide; the run is 8 points over two characters: 1 point each.
  content.TextRun(MakeRun(std::string("\x01") + "A", 8), font);
  EXPECT_NE(content.Bytes().find("1.0000 Tc\r\n72.0000 648.0000 Td (\\001A) Tj"), std::string::npos);
}

TEST(PdfTestContent, TextIsEscapedSoItCannotBreakTheStream) {
  TLxPdfContent content = LetterPage();
  content.TextRun(MakeRun("a) Tj (b\\"), HalfEmFont());
  EXPECT_NE(content.Bytes().find("Td (a\\) Tj \\(b\\\\) Tj\r\n"), std::string::npos);
}

TEST(PdfTestContent, RotatedRunsUseATextMatrixAndAVerticalUnderline) {
  TLxPdfContent content = LetterPage();
  TLxPdfTextRun run = MakeRun("abcd");  // 24 points wide
  run.Angle = 90;
  run.Underline = true;
  run.Color = clBlue;
  content.TextRun(run, HalfEmFont());
  EXPECT_EQ(content.Bytes(),
            "BT\r\n0.0000 0.0000 1.0000 rg\r\n/F2 12 Tf\r\n"
            "0.0000 1.0000 -1.0000 0.0000 72.0000 648.0000 Tm (abcd) Tj\r\nET\r\n"
            "0.0000 0.0000 1.0000 RG\r\n1 w\r\n72.0000 646.0000 m\r\n72.0000 670.0000 l\r\nS\r\n");
}

TEST(PdfTestContent, RotationTurnsARightAlignedRunAboutItsRightEnd) {
  TLxPdfContent content = LetterPage();
  TLxPdfTextRun run = MakeRun("abcd");  // 24 points: from 72 to 96
  run.Angle = 90;
  run.Alignment = 1;
  content.TextRun(run, HalfEmFont());
  // The anchor (96, 648) stays; the text now runs upwards to it from 24 points below.
  EXPECT_NE(content.Bytes().find("0.0000 1.0000 -1.0000 0.0000 96.0000 624.0000 Tm"), std::string::npos);
}

TEST(PdfTestContent, UnderlineComesBeforeStrikeoutEachWithItsColour) {
  TLxPdfContent content = LetterPage();
  TLxPdfTextRun run = MakeRun("ab");
  run.Underline = true;
  run.StrikeOut = true;
  run.Color = clRed;
  content.TextRun(run, HalfEmFont());
  EXPECT_NE(
      content.Bytes().find("ET\r\n1.0000 0.0000 0.0000 RG\r\n1 w\r\n72.0000 646.0000 m\r\n84.0000 646.0000 l"
                           "\r\nS\r\n1.0000 0.0000 0.0000 RG\r\n1 w\r\n72.0000 651.0000 m\r\n"
                           "84.0000 651.0000 l\r\nS\r\n"),
      std::string::npos);
}

TEST(PdfTestContent, LinesAndRectangles) {
  TLxPdfContent content = LetterPage();
  content.Line(SolidPen(), ClearBrush(), 1, 1, 2, 1.5);
  EXPECT_EQ(content.Bytes(),
            "q\r\n[]0 d\r\n0.7500 w\r\n0.0000 0.0000 0.0000 RG\r\n72.0000 720.0000 m\r\n"
            "144.0000 684.0000 l\r\nh\r\nS\r\nQ\r\n");
  content.BeginPage(8.5, 11);
  content.Rectangle({psDash, 2, clBlack}, {false, clLime}, 1, 1, 2, 0.5);
  EXPECT_EQ(content.Bytes(),
            "q\r\n[5 2]0 d\r\n1.5000 w\r\n0.0000 0.0000 0.0000 RG\r\n"
            "72.0000 720.0000 144.0000 -36.0000 re\r\n0 w\r\n0.0000 1.0000 0.0000 rg\r\nb\r\nQ\r\n");
}

TEST(PdfTestContent, AnEllipseWithAClearBrushIsOnlyStroked) {
  TLxPdfContent content = LetterPage();
  content.Ellipse(SolidPen(), ClearBrush(), 1, 1, 3, 2);
  const std::string& bytes = content.Bytes();
  EXPECT_EQ(bytes.find("\n0 w\r\n"), std::string::npos);
  EXPECT_EQ(bytes.find(" rg"), std::string::npos);
  EXPECT_EQ(pdftest::CountOf(bytes, " c\r\n"), 4);
  // Starts at the top centre and ends there after four curves.
  EXPECT_NE(bytes.find("RG\r\n144.0000 720.0000 m\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("144.0000 720.0000 c\r\nh\r\nS\r\nQ\r\n"), std::string::npos);
}

TEST(PdfTestContent, AClearPenAndAClearBrushPaintNothing) {
  TLxPdfContent content = LetterPage();
  content.Ellipse({psClear, 1, clBlack}, ClearBrush(), 1, 1, 3, 2);
  EXPECT_NE(content.Bytes().find(" c\r\n\r\nQ\r\n"), std::string::npos);
}

TEST(PdfTestContent, ArcsAreSplitIntoQuarterSegments) {
  const auto curves = [](double X4, double Y4) {
    TLxPdfContent content = LetterPage();
    // Circle of radius 1 in about (2 in, 2 in); the start is due east.
    content.Arc(SolidPen(), 1, 1, 3, 3, 3, 2, X4, Y4);
    return pdftest::CountOf(content.Bytes(), " c\r\n") + pdftest::CountOf(content.Bytes(), " y\r\n");
  };
  const double pi = 3.14159265358979323846;
  EXPECT_EQ(curves(2 + std::cos(100 * pi / 180), 2 - std::sin(100 * pi / 180)), 2);  // 90 + 10
  EXPECT_EQ(curves(2, 1), 1);                                                        // a quarter
  EXPECT_EQ(curves(1, 2), 2);                                                        // a half
  EXPECT_EQ(curves(3, 2), 0);  // start and end on one radius: only the move
}

TEST(PdfTestContent, ArcsRunCounterClockwiseOnTheCircle) {
  TLxPdfContent content = LetterPage();
  content.Arc(SolidPen(), 1, 1, 3, 3, 3, 2, 2, 1);  // east to north
  // Centre (144, 648), radius 72: from (216, 648) to (144, 720).
  EXPECT_NE(content.Bytes().find("216.0000 648.0000 m\r\n"), std::string::npos);
  EXPECT_NE(content.Bytes().find(" 144.0000 720.0000 c\r\nS\r\nQ\r\n"), std::string::npos);
  // Every curve point lies near the circle.
  std::smatch m;
  std::string rest = content.Bytes();
  const std::regex point(R"((-?\d+\.\d{4}) (-?\d+\.\d{4}) c)");
  ASSERT_TRUE(std::regex_search(rest, m, point));
  EXPECT_NEAR(std::hypot(std::stod(m[1]) - 144, std::stod(m[2]) - 648), 72, 0.01);
}

TEST(PdfTestContent, PiesCloseAtTheCentreAndChordsFill) {
  TLxPdfContent content = LetterPage();
  content.Pie(SolidPen(), {false, clRed}, 1, 1, 3, 3, 3, 2, 2, 1);
  EXPECT_NE(
      content.Bytes().find("\r\n0.7500 w\r\n0.0000 0.0000 0.0000 RG\r\n0 w\r\n1.0000 0.0000 0.0000 rg\r\n"
                           "144.0000 648.0000 l\r\nb\r\nQ\r\n"),
      std::string::npos);
  content.BeginPage(8.5, 11);
  content.Chord(SolidPen(), {false, clRed}, 1, 1, 3, 3, 3, 2, 2, 1);
  EXPECT_NE(content.Bytes().find(" c\r\n0 w\r\n1.0000 0.0000 0.0000 rg\r\nb\r\nQ\r\n"), std::string::npos);
}

TEST(PdfTestContent, AClearPenNeverRunsIntoTheSaveOperator) {
  TLxPdfContent content = LetterPage();
  content.Arc({psClear, 1, clBlack}, 1, 1, 3, 3, 3, 2, 2, 1);
  EXPECT_EQ(content.Bytes().rfind("q\r\n0.7500 w", 0), 0u);
}

TEST(PdfTestContent, RoundRectanglesHaveFourCornersAndFourSides) {
  TLxPdfContent content = LetterPage();
  content.RoundRect(SolidPen(), {false, clSilver}, 1, 1, 3, 2, 0.5, 0.25);
  const std::string& bytes = content.Bytes();
  EXPECT_EQ(pdftest::CountOf(bytes, " c\r\n"), 4);
  EXPECT_EQ(pdftest::CountOf(bytes, " l\r\n"), 4);
  // Top edge from x = 1.25 in to 2.75 in at y = 1 in.
  EXPECT_NE(bytes.find("90.0000 720.0000 m\r\n198.0000 720.0000 l\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("0 w\r\n0.7529 0.7529 0.7529 rg\r\nb\r\nQ\r\n"), std::string::npos);
}

TEST(PdfTestContent, TextRectClipsWithTheRectangleOrNot) {
  TLxPdfContent content = LetterPage();
  const TLxFontInfo font = HalfEmFont();
  content.TextRect({72, 72, 144, 96}, true, SolidPen(), ClearBrush(), MakeRun("ab", 20), font);
  EXPECT_EQ(content.Bytes().rfind("q\r\n[]0 d\r\n0.7500 w\r\n0.0000 0.0000 0.0000 RG\r\n"
                                  "72.0000 720.0000 72.0000 -24.0000 re\r\nW n\r\nBT\r\n",
                                  0),
            0u);
  EXPECT_EQ(content.Bytes().substr(content.Bytes().size() - 7), "ET\r\nQ\r\n");
  content.BeginPage(8.5, 11);
  content.TextRect({72, 72, 144, 96}, false, SolidPen(), ClearBrush(), MakeRun("ab", 20), font);
  EXPECT_EQ(content.Bytes().rfind("q\r\nBT\r\n", 0), 0u);
  // The spacing set inside q/Q is gone after Q: the next run sets its own again.
  content.TextRun(MakeRun("ab"), font);
  EXPECT_EQ(pdftest::CountOf(content.Bytes(), " Tc\r\n"), 1);
}

TEST(PdfTestContent, ImagesArePlacedByTheirTopLeftCorner) {
  TLxPdfContent content = LetterPage();
  content.PlaceImage(3, 1, 1, 2, 0.5);
  EXPECT_EQ(content.Bytes(), "q\r\n144.0000 0 0 36.0000 72.0000 684.0000 cm\r\n/Img3 Do\r\nQ\r\n");
}

}  // namespace
