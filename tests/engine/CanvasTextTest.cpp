// Text placed on a raster canvas by the canvas engines' rules: the vertical reference from
// the cursor and the font (baseline, top, bottom, superscript, subscript), the horizontal
// alignment, the text background, block text, turned text and text with codes.
//
// The expected pictures are drawn straight on a second bitmap with the platform's text output
// at the reference points the rules give, so a test fails when the engine or the text helper
// puts text anywhere else.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "engine/BitmapReport.h"
#include "platform/FontMetrics.h"

namespace {

constexpr int Dpi = 100;

void RunJob(TBitmapReport& report, const std::function<void()>& Body) {
  report.OnPrint = [&Body](TObject*) { Body(); };
  report.Execute();
}

// Pixels that are not Background, as a rectangle with inclusive edges; Empty when none.
struct TInk {
  bool Empty = true;
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
};

TInk InkBox(const TBitmap& Bitmap, const TRect& Area, TColor Background = clWhite) {
  TInk ink;
  for (int y = Area.Top; y < Area.Bottom; ++y) {
    for (int x = Area.Left; x < Area.Right; ++x) {
      if (Bitmap.Pixel(x, y) == Background) continue;
      if (ink.Empty) {
        ink = TInk{false, x, y, x, y};
      } else {
        ink.Left = std::min(ink.Left, x);
        ink.Right = std::max(ink.Right, x);
        ink.Top = std::min(ink.Top, y);
        ink.Bottom = std::max(ink.Bottom, y);
      }
    }
  }
  return ink;
}

TInk InkBox(const TBitmap& Bitmap) {
  return InkBox(Bitmap, TRect{0, 0, Bitmap.Width(), Bitmap.Height()});
}

int CountPixels(const TBitmap& Bitmap, TColor Color) {
  int count = 0;
  for (int y = 0; y < Bitmap.Height(); ++y) {
    for (int x = 0; x < Bitmap.Width(); ++x) count += Bitmap.Pixel(x, y) == Color ? 1 : 0;
  }
  return count;
}

int Differences(const TBitmap& A, const TBitmap& B) {
  int count = 0;
  for (int y = 0; y < A.Height(); ++y) {
    for (int x = 0; x < A.Width(); ++x) count += A.Pixel(x, y) != B.Pixel(x, y) ? 1 : 0;
  }
  return count;
}

// A white page like the report's, on which the expected text is drawn directly.
class TExpected {
public:
  TExpected() : FBitmap(static_cast<int>(8.5 * Dpi), 11 * Dpi) { FBitmap.Canvas()->SetPixelsPerInch(Dpi); }
  TBitmap& Bitmap() { return FBitmap; }
  void Text(const TLogFont& Font, const std::string& Text, int X, int Y, unsigned Align,
            TColor Color = clBlack) {
    TCanvas* canvas = FBitmap.Canvas();
    canvas->SelectFont(CreateFontIndirect(Font));
    canvas->SetTextColor(Color);
    canvas->SetBkMode(TRANSPARENT);
    canvas->SetTextAlign(Align);
    canvas->ExtTextOut(X, Y, 0, nullptr, Text);
  }

private:
  TBitmap FBitmap;
};

TLogFont DeviceLogFont(TBaseReport& report) {
  report.SelectCurrentFont();
  const TLogFont font = report.FontRecord().Handle->LogFont();
  report.DeselectCurrentFont();
  return font;
}

// ===== Vertical placement =====

struct TVerticalCase {
  const char* Name;
  std::function<void(TBaseReport&)> Setup;
  // The reference Y and the alignment the rules give, from the engine's line metrics.
  std::function<int(TBaseReport&)> ReferenceY;
  unsigned Align;
};

class VerticalPlacementTest : public testing::TestWithParam<TVerticalCase> {};

TEST_P(VerticalPlacementTest, TextLandsOnItsReference) {
  const TVerticalCase& c = GetParam();
  TBitmapReport report;
  TExpected expected;
  RunJob(report, [&] {
    report.SetFont("Arial", 24);
    c.Setup(report);
    report.SetLineHeight(0.5);
    report.SetYPos(2);
    report.PrintLeft("Hxg", 1);
    expected.Text(DeviceLogFont(report), "Hxg", report.XInchToDevice(1), c.ReferenceY(report), c.Align);
  });
  EXPECT_FALSE(InkBox(report.Bitmap()).Empty);
  EXPECT_EQ(Differences(report.Bitmap(), expected.Bitmap()), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, VerticalPlacementTest,
    testing::Values(
        TVerticalCase{"Baseline", [](TBaseReport&) {},
                      [](TBaseReport& r) { return r.YUnitsToDevice(r.YPos()) + 1; }, TA_LEFT | TA_BASELINE},
        TVerticalCase{
            "Top", [](TBaseReport& r) { r.SetFontAlign(1); },
            [](TBaseReport& r) { return r.YInchToDevice(r.FontTop() - r.FontRecord().InternalLeading); },
            TA_LEFT | TA_TOP},
        TVerticalCase{"Bottom", [](TBaseReport& r) { r.SetFontAlign(2); },
                      [](TBaseReport& r) { return r.YUnitsToDevice(r.FontBottom()) + 1; },
                      TA_LEFT | TA_BOTTOM},
        TVerticalCase{"Superscript", [](TBaseReport& r) { r.SetSuperscript(true); },
                      [](TBaseReport& r) { return r.YUnitsToDevice((r.LineTop() + r.FontTop()) / 2); },
                      TA_LEFT | TA_TOP},
        TVerticalCase{"Subscript", [](TBaseReport& r) { r.SetSubscript(true); },
                      [](TBaseReport& r) { return r.YUnitsToDevice(r.FontBottom()) + 1; },
                      TA_LEFT | TA_BOTTOM},
        // Superscript wins over the alignment.
        TVerticalCase{"SuperscriptAlignedBottom",
                      [](TBaseReport& r) {
                        r.SetFontAlign(2);
                        r.SetSuperscript(true);
                      },
                      [](TBaseReport& r) { return r.YUnitsToDevice((r.LineTop() + r.FontTop()) / 2); },
                      TA_LEFT | TA_TOP}),
    [](const testing::TestParamInfo<TVerticalCase>& Info) { return std::string(Info.param.Name); });

TEST(CanvasTextTest, BaselineTextSitsOnTheCursorRow) {
  TBitmapReport report;
  RunJob(report, [&] {
    report.SetFont("Arial", 24);
    report.SetYPos(2);
    report.PrintLeft("H", 1);
  });
  const TInk ink = InkBox(report.Bitmap());
  ASSERT_FALSE(ink.Empty);
  // The letter's foot is on row 200, the device row of the cursor.
  EXPECT_EQ(ink.Bottom, 2 * Dpi);
  EXPECT_NEAR(ink.Left, Dpi, 4);
  // A capital of 24 points is about two thirds of a third of an inch tall.
  EXPECT_NEAR(ink.Bottom - ink.Top + 1, 24.0 / 72 * Dpi * 0.716, 2);
}

TEST(CanvasTextTest, ScriptsSitAboveAndBelowTheLine) {
  auto inkOf = [](const std::function<void(TBaseReport&)>& Setup) {
    TBitmapReport report;
    RunJob(report, [&] {
      // The line is set up for the main font; the script comes within the line.
      report.SetFont("Arial", 24);
      report.SetLineHeight(0.5);
      report.SetYPos(2);
      Setup(report);
      report.PrintLeft("x", 1);
    });
    return InkBox(report.Bitmap());
  };
  const TInk normal = inkOf([](TBaseReport&) {});
  const TInk super = inkOf([](TBaseReport& r) { r.SetSuperscript(true); });
  const TInk sub = inkOf([](TBaseReport& r) { r.SetSubscript(true); });
  // Smaller, above the baseline for superscript and reaching below it for subscript.
  EXPECT_LT(super.Bottom - super.Top, normal.Bottom - normal.Top);
  EXPECT_LT(super.Bottom, normal.Bottom - 3);
  EXPECT_GT(sub.Bottom, normal.Bottom);
}

// ===== Horizontal placement and the cursor =====

TEST(CanvasTextTest, CentreAndRightLeaveTheCursorWhereTheRulesSay) {
  TBitmapReport report;
  TExpected expected;
  RunJob(report, [&] {
    report.SetFont("Arial", 12);
    report.SetYPos(1);
    const double width = report.TextWidth("Total");
    report.PrintCenter("Total", 4.25);
    EXPECT_NEAR(report.XPos(), 4.25 + width / 2, 1e-9);
    report.SetYPos(2);
    report.PrintRight("Total", 6);
    EXPECT_NEAR(report.XPos(), 6, 1e-9);
    report.SetYPos(3);
    report.PrintLeft("Total", 1);
    EXPECT_NEAR(report.XPos(), 1 + width, 1e-9);
    report.PrintLeft("", 2);
    EXPECT_NEAR(report.XPos(), 2 + 1.0 / Dpi, 1e-9);  // empty text is one pixel wide
    const TLogFont font = DeviceLogFont(report);
    expected.Text(font, "Total", 425, 101, TA_CENTER | TA_BASELINE);
    expected.Text(font, "Total", 600, 201, TA_RIGHT | TA_BASELINE);
    expected.Text(font, "Total", 100, 301, TA_LEFT | TA_BASELINE);
  });
  EXPECT_EQ(Differences(report.Bitmap(), expected.Bitmap()), 0);
}

TEST(CanvasTextTest, TurnedTextMovesTheCursorAlongItsDirection) {
  TBitmapReport report;
  RunJob(report, [&] {
    report.SetFont("Arial", 20);
    report.SetFontRotation(90);
    report.SetYPos(5);
    const double width = report.TextWidth("UPWARD");
    report.PrintLeft("UPWARD", 2);
    EXPECT_NEAR(report.XPos(), 2, 1e-9);
    EXPECT_NEAR(report.YPos(), 5 - width, 1e-9);
  });
  const TInk ink = InkBox(report.Bitmap());
  ASSERT_FALSE(ink.Empty);
  EXPECT_GT(ink.Bottom - ink.Top, 3 * (ink.Right - ink.Left));
  // It rises from the cursor, the letters' feet on the cursor column.
  EXPECT_LE(ink.Bottom, 5 * Dpi + 1);
  EXPECT_GE(ink.Bottom, 5 * Dpi - 3);
  EXPECT_NEAR(ink.Right, 2 * Dpi, 1);
}

// ===== Background =====

TEST(CanvasTextTest, OpaqueTextFillsItsCell) {
  TBitmapReport report;
  int cellLeft = 0;
  int cellTop = 0;
  TSize extent;
  int cellHeight = 0;
  RunJob(report, [&] {
    report.SetFont("Arial", 20);
    report.SetYPos(2);
    // Transparent first: no background at all.
    report.SetBKColor(clYellow);
    report.PrintLeft("Hi", 1);
    EXPECT_EQ(CountPixels(report.Bitmap(), clYellow), 0);
    report.SetTextBKMode(bkOpaque);
    report.SetYPos(4);
    const int modeBefore = report.Canvas()->BkMode();
    report.PrintLeft("Hi", 1);
    EXPECT_EQ(report.Canvas()->BkMode(), modeBefore);
    report.TextExtent("Hi", extent);
    report.SelectCurrentFont();
    const TTextMetric metrics = report.Canvas()->GetTextMetrics();
    report.DeselectCurrentFont();
    cellLeft = report.XInchToDevice(1);
    cellTop = report.YInchToDevice(4) + 1 - metrics.tmAscent;
    cellHeight = metrics.tmHeight;
  });
  TInk cell;
  for (int y = 0; y < report.Bitmap().Height(); ++y) {
    for (int x = 0; x < report.Bitmap().Width(); ++x) {
      if (report.Bitmap().Pixel(x, y) != clYellow) continue;
      cell = cell.Empty ? TInk{false, x, y, x, y}
                        : TInk{false, std::min(cell.Left, x), std::min(cell.Top, y), std::max(cell.Right, x),
                               std::max(cell.Bottom, y)};
    }
  }
  ASSERT_FALSE(cell.Empty);
  EXPECT_EQ(cell.Left, cellLeft);
  EXPECT_EQ(cell.Right, cellLeft + extent.cx - 1);
  EXPECT_EQ(cell.Top, cellTop);
  EXPECT_EQ(cell.Bottom, cellTop + cellHeight - 1);
}

// ===== Block text =====

TEST(CanvasTextTest, BlockTextWithoutSpacesSpreadsOverTwoGaps) {
  TBitmapReport report;
  TExpected expected;
  RunJob(report, [&] {
    report.SetFont("Arial", 20);
    report.SetYPos(2);
    report.PrintBlock("ABC", 1, 3);
    EXPECT_NEAR(report.XPos(), 4, 1e-9);
    // The rule by hand: spaces between the letters, the extra width shared by two gaps.
    TSize spaced;
    TSize a;
    TSize space;
    TSize b;
    report.TextExtent("A B C", spaced);
    report.TextExtent("A", a);
    report.TextExtent(" ", space);
    report.TextExtent("B", b);
    const double extra = (3.0 * Dpi - spaced.cx) / 2;
    EXPECT_GT(extra, 50);
    const TLogFont font = DeviceLogFont(report);
    expected.Text(font, "A", 100, 201, TA_LEFT | TA_BASELINE);
    expected.Text(font, "B", static_cast<int>(std::lround(a.cx + space.cx + extra + b.cx)) + 100, 201,
                  TA_RIGHT | TA_BASELINE);
    expected.Text(font, "C", 400, 201, TA_RIGHT | TA_BASELINE);
  });
  // Letter by letter, the same columns within a pixel.
  const TRect band{0, 0, report.Bitmap().Width(), report.Bitmap().Height()};
  const TInk all = InkBox(report.Bitmap(), band);
  const TInk want = InkBox(expected.Bitmap(), band);
  EXPECT_NEAR(all.Left, want.Left, 1);
  EXPECT_NEAR(all.Right, want.Right, 1);
  EXPECT_LE(Differences(report.Bitmap(), expected.Bitmap()), 0);
}

TEST(CanvasTextTest, BlockTextEndsAtTheGivenWidth) {
  for (const double width : {2.5, 3.17, 4.0}) {
    TBitmapReport report;
    TExpected expected;
    RunJob(report, [&] {
      report.SetFont("Times New Roman", 14);
      report.SetYPos(2);
      report.PrintBlock("Justified text spreads   evenly ", 1, width);
      const TLogFont font = DeviceLogFont(report);
      expected.Text(font, "Justified", 100, 201, TA_LEFT | TA_BASELINE);
      expected.Text(font, "evenly", report.XInchToDevice(1 + width), 201, TA_RIGHT | TA_BASELINE);
    });
    const TInk got = InkBox(report.Bitmap());
    const TInk last = InkBox(expected.Bitmap(), TRect{report.XInchToDevice(1 + width) - 60, 0, 850, 1100});
    const TInk first = InkBox(expected.Bitmap(), TRect{0, 0, 150, 1100});
    ASSERT_FALSE(got.Empty || last.Empty || first.Empty);
    EXPECT_NEAR(got.Right, last.Right, 1) << width;
    EXPECT_EQ(got.Left, first.Left) << width;
  }
}

TEST(CanvasTextTest, OpaqueBlockTextFillsItsGaps) {
  TBitmapReport report;
  int top = 0;
  int height = 0;
  RunJob(report, [&] {
    report.SetFont("Arial", 16);
    report.SetYPos(2);
    report.SetTextBKMode(bkOpaque);
    report.SetBKColor(clAqua);
    report.PrintBlock("a b c", 1, 5);
    report.SelectCurrentFont();
    const TTextMetric metrics = report.Canvas()->GetTextMetrics();
    report.DeselectCurrentFont();
    top = 201 - metrics.tmAscent;
    height = metrics.tmHeight;
  });
  // Every pixel of the band from X to X + Width is background or ink: no white hole.
  int white = 0;
  for (int y = top; y < top + height; ++y) {
    for (int x = 100; x < 600; ++x) white += report.Bitmap().Pixel(x, y) == clWhite ? 1 : 0;
  }
  EXPECT_EQ(white, 0);
  EXPECT_EQ(report.Bitmap().Pixel(99, top + height / 2), clWhite);
  EXPECT_EQ(report.Bitmap().Pixel(601, top + height / 2), clWhite);
}

// ===== Colour =====

// A printer canvas that shows two colours.
class TTwoColourCanvas : public TRasterCanvas {
public:
  using TRasterCanvas::TRasterCanvas;
  int NumColors() const override { return 2; }
};

TEST(CanvasTextTest, ATwoColourPrinterPrintsColouredTextBlack) {
  for (const int kind : {0, 1}) {
    TBitmapReport report;
    report.Kind = kind;
    TTwoColourCanvas canvas(report.Bitmap().Image());
    canvas.SetPixelsPerInch(Dpi);
    report.Page().UseCanvas(&canvas);
    RunJob(report, [&] {
      report.SetFont("Arial", 30);
      report.SetFontColor(clRed);
      report.SetYPos(2);
      report.PrintLeft("Red", 1);
      report.SetFontColor(clWhite);
      report.SetTextBKMode(bkOpaque);
      report.SetBKColor(clBlue);
      report.SetYPos(4);
      report.PrintLeft("White", 1);
    });
    const int red = CountPixels(report.Bitmap(), clRed);
    const int black = CountPixels(report.Bitmap(), clBlack);
    if (kind == 0) {
      EXPECT_EQ(red, 0);
      EXPECT_GT(black, 0);
    } else {
      EXPECT_GT(red, 0);  // the preview shows colours
      EXPECT_EQ(black, 0);
    }
    // White text stays white, inside its blue cell.
    int whiteInsideBlue = 0;
    const TInk blue = InkBox(report.Bitmap(), TRect{0, 300, 850, 1100});
    ASSERT_FALSE(blue.Empty);
    for (int y = blue.Top; y <= blue.Bottom; ++y) {
      for (int x = blue.Left; x <= blue.Right; ++x)
        whiteInsideBlue += report.Bitmap().Pixel(x, y) == clWhite ? 1 : 0;
    }
    EXPECT_GT(whiteInsideBlue, 0) << kind;
    EXPECT_GT(CountPixels(report.Bitmap(), clBlue), 0);
  }
}

// ===== Codes =====

TEST(CanvasTextTest, CodedTextPrintsRunByRun) {
  TBitmapReport report;
  TExpected expected;
  RunJob(report, [&] {
    report.SetFont("Arial", 20);
    report.SetYPos(2);
    report.PushFont();
    report.SetBold(true);
    const TLogFont bold = DeviceLogFont(report);
    const double boldWidth = report.TextWidth("Bold");
    report.PopFont();
    const TLogFont plain = DeviceLogFont(report);
    const double plainWidth = report.TextWidth(" plain");
    report.PrintLeft(
        "\x01"
        "B1\x04"
        "Bold\x01"
        "B0\x04"
        " plain",
        1);
    EXPECT_NEAR(report.XPos(), 1 + boldWidth + plainWidth, 1e-9);
    EXPECT_FALSE(report.FontRecord().Bold);
    expected.Text(bold, "Bold", 100, 201, TA_LEFT | TA_BASELINE);
    expected.Text(plain, " plain", 100 + static_cast<int>(std::lround(boldWidth * Dpi)), 201,
                  TA_LEFT | TA_BASELINE);
    // Right-aligned coded text ends at X.
    report.SetYPos(4);
    report.PrintRight(
        "\x01"
        "B1\x04"
        "Bold\x01"
        "B0\x04"
        " plain",
        6);
    EXPECT_NEAR(report.XPos(), 6, 1e-9);
    const int start = 600 - static_cast<int>(std::lround((boldWidth + plainWidth) * Dpi));
    expected.Text(bold, "Bold", start, 401, TA_LEFT | TA_BASELINE);
    expected.Text(plain, " plain", start + static_cast<int>(std::lround(boldWidth * Dpi)), 401,
                  TA_LEFT | TA_BASELINE);
  });
  EXPECT_EQ(Differences(report.Bitmap(), expected.Bitmap()), 0);
}

TEST(CanvasTextTest, IgnoredCodesPrintLiterally) {
  TBitmapReport report;
  RunJob(report, [&] {
    report.SetIgnoreFormatCodes(true);
    report.SetYPos(2);
    report.PrintLeft(
        "\x01"
        "B1\x04"
        "x",
        1);
    EXPECT_FALSE(report.FontRecord().Bold);
  });
}

TEST(CanvasTextTest, SuppressedPagesDrawNothing) {
  TBitmapReport report;
  report.SetFirstPage(2);
  RunJob(report, [&] {
    report.SetYPos(2);
    report.PrintLeft("Hidden", 1);
    report.PrintBlock("Hidden too", 1, 3);
  });
  EXPECT_TRUE(InkBox(report.Bitmap()).Empty);
}

}  // namespace
