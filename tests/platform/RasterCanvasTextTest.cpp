#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/CanvasSurface.h"
#include "platform/FontMetrics.h"

namespace {

using TPixels = std::set<std::pair<int, int>>;

struct TFontCase {
  const char* Name;
  int Size;
  TFontStyles Style;
};

const std::vector<TFontCase> FontCases = {
    {"Arial", 10, {}},       {"Arial", 17, {fsBold}},   {"Times New Roman", 14, {}},
    {"Courier New", 12, {}}, {"Arial", 12, {fsItalic}},
};

void UseFont(TCanvas& Canvas, const TFontCase& Font, TColor Color = clBlack) {
  Canvas.Font()->SetName(Font.Name);
  Canvas.Font()->SetSize(Font.Size);
  Canvas.Font()->SetStyle(Font.Style);
  Canvas.Font()->SetColor(Color);
  Canvas.Brush()->SetStyle(bsClear);
}

std::string Describe(const TFontCase& Font) {
  return std::string(Font.Name) + " " + std::to_string(Font.Size);
}

// The ink of a text: pixels that are not the white background.
TPixels Ink(const TCanvasSurface& Surface) {
  return Surface.WhereNot(clWhite);
}

TEST(RasterCanvasText, DrawnAdvanceIsTheRunningSumOfCharacterWidths) {
  const std::string text = "Hello, Wave IIIIl1 fjord";
  for (const TFontCase& font : FontCases) {
    TCanvasSurface whole(400, 48);
    UseFont(whole.Canvas(), font);
    whole.Canvas().TextOut(4, 4, text);
    // The same characters one call each, placed by the measured widths.
    TCanvasSurface pieces(400, 48);
    UseFont(pieces.Canvas(), font);
    const std::shared_ptr<TLogicalFont> logical = pieces.Canvas().SelectedFont();
    int x = 4;
    int sum = 0;
    for (char c : text) {
      pieces.Canvas().TextOut(x, 4, std::string(1, c));
      x += logical->CharWidth(static_cast<uint8_t>(c));
      sum += logical->CharWidth(static_cast<uint8_t>(c));
    }
    EXPECT_EQ(whole.Canvas().TextWidth(text), sum) << Describe(font);
    EXPECT_FALSE(Ink(whole).empty()) << Describe(font);
    EXPECT_EQ(Ink(whole), Ink(pieces)) << Describe(font);
  }
}

TEST(RasterCanvasText, TextFollowingAtTheMeasuredWidthDoesNotOverlap) {
  for (const TFontCase& font : FontCases) {
    if (font.Style.Contains(fsItalic)) continue;  // italics lean over their neighbours by design
    for (const std::string& text : {std::string("Hello"), std::string("WAVE"), std::string("mm")}) {
      TCanvasSurface first(300, 48);
      UseFont(first.Canvas(), font);
      const int width = first.Canvas().TextWidth(text);
      first.Canvas().TextOut(10, 4, text);
      TCanvasSurface second(300, 48);
      UseFont(second.Canvas(), font);
      second.Canvas().TextOut(10 + width, 4, text);
      const TPixels a = Ink(first);
      const TPixels b = Ink(second);
      ASSERT_FALSE(a.empty());
      for (const auto& p : a) {
        EXPECT_FALSE(b.count(p)) << Describe(font) << " " << text << " at " << p.first;
        // No ink beyond the advance, give or take a pixel of the last glyph's side bearing.
        EXPECT_LT(p.first, 10 + width + 1) << Describe(font) << " " << text;
        EXPECT_GE(p.first, 10 - 1) << Describe(font) << " " << text;
      }
    }
  }
}

TEST(RasterCanvasText, VerticalAlignmentIsRelativeToTheCell) {
  for (const TFontCase& font : FontCases) {
    TCanvasSurface top(200, 64);
    UseFont(top.Canvas(), font);
    const TTextMetric tm = top.Canvas().GetTextMetrics();
    ASSERT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    top.Canvas().SetTextAlign(TA_TOP);
    top.Canvas().TextOut(5, 10, "Hgy");
    TCanvasSurface baseline(200, 64);
    UseFont(baseline.Canvas(), font);
    baseline.Canvas().SetTextAlign(TA_BASELINE);
    baseline.Canvas().TextOut(5, 10 + tm.tmAscent, "Hgy");
    TCanvasSurface bottom(200, 64);
    UseFont(bottom.Canvas(), font);
    bottom.Canvas().SetTextAlign(TA_BOTTOM);
    bottom.Canvas().TextOut(5, 10 + tm.tmHeight, "Hgy");
    EXPECT_FALSE(Ink(top).empty());
    EXPECT_EQ(Ink(top), Ink(baseline)) << Describe(font);
    EXPECT_EQ(Ink(top), Ink(bottom)) << Describe(font);
    // The ink stays inside the cell.
    for (const auto& p : Ink(top)) {
      EXPECT_GE(p.second, 10) << Describe(font);
      EXPECT_LT(p.second, 10 + tm.tmHeight) << Describe(font);
    }
  }
}

TEST(RasterCanvasText, CapitalsStandOnTheBaseline) {
  for (const TFontCase& font : FontCases) {
    TCanvasSurface s(100, 64);
    UseFont(s.Canvas(), font);
    s.Canvas().SetTextAlign(TA_BASELINE);
    s.Canvas().TextOut(5, 40, "HE");
    int lowest = -1;
    for (const auto& p : Ink(s)) lowest = std::max(lowest, p.second);
    EXPECT_EQ(lowest, 39) << Describe(font);
  }
}

TEST(RasterCanvasText, HorizontalAlignmentMovesTheStart) {
  const std::string text = "Centre 1x";
  TCanvasSurface left(300, 40);
  UseFont(left.Canvas(), FontCases[0]);
  const int width = left.Canvas().TextWidth(text);
  left.Canvas().TextOut(20, 5, text);
  TCanvasSurface right(300, 40);
  UseFont(right.Canvas(), FontCases[0]);
  right.Canvas().SetTextAlign(TA_RIGHT);
  right.Canvas().TextOut(20 + width, 5, text);
  TCanvasSurface centre(300, 40);
  UseFont(centre.Canvas(), FontCases[0]);
  centre.Canvas().SetTextAlign(TA_CENTER);
  centre.Canvas().TextOut(20 + width / 2, 5, text);
  EXPECT_EQ(Ink(left), Ink(right));
  EXPECT_EQ(Ink(left), Ink(centre));
}

TEST(RasterCanvasText, OpaqueBackgroundCoversExtentTimesCellHeight) {
  for (const TFontCase& font : FontCases) {
    TCanvasSurface s(300, 64);
    UseFont(s.Canvas(), font, clRed);
    s.Canvas().SetBkMode(OPAQUE);
    s.Canvas().SetBkColor(clBlue);
    const std::string text = "Box gy";
    const TSize extent = s.Canvas().TextExtent(text);
    s.Canvas().ExtTextOut(7, 9, 0, nullptr, text);
    EXPECT_EQ(extent.cy, s.Canvas().GetTextMetrics().tmHeight);
    // Every pixel of the cell is background or ink, and no background lies outside it.
    const TPixels cell = Block(7, 9, 7 + extent.cx - 1, 9 + extent.cy - 1);
    const TPixels background = s.WhereColor(clBlue);
    EXPECT_TRUE(std::ranges::includes(cell, background)) << Describe(font);
    TPixels painted = background;
    painted.merge(s.WhereColor(clRed));
    EXPECT_TRUE(std::ranges::includes(painted, cell)) << Describe(font);
    EXPECT_GT(background.size(), cell.size() / 2) << Describe(font);
  }
}

TEST(RasterCanvasText, TextOutTakesFontColourAndBrushBackground) {
  TCanvasSurface s(200, 40, clGreen);
  TRasterCanvas& c = s.Canvas();
  c.Font()->SetName("Arial");
  c.Font()->SetSize(12);
  c.Font()->SetColor(clRed);
  c.Brush()->SetColor(clYellow);
  c.TextOut(2, 2, "Ab");
  const TSize extent = c.TextExtent("Ab");
  const TPixels cell = Block(2, 2, 2 + extent.cx - 1, 2 + extent.cy - 1);
  for (const auto& p : cell) {
    const TColor color = s.At(p.first, p.second);
    EXPECT_TRUE(color == clRed || color == clYellow) << p.first << "," << p.second;
  }
  EXPECT_EQ(s.WhereColor(clGreen).size(), static_cast<size_t>(200 * 40) - cell.size());
  EXPECT_FALSE(s.WhereColor(clRed).empty());
  // A clear brush leaves the background alone.
  c.Brush()->SetStyle(bsClear);
  c.TextOut(100, 2, "Ab");
  for (int y = 2; y < 2 + extent.cy; ++y) EXPECT_NE(s.At(100, y), clYellow);
  EXPECT_TRUE(s.WhereColor(clYellow).size() < cell.size());
  EXPECT_EQ(c.PenPos(), Point(100 + extent.cx, 2));
}

TEST(RasterCanvasText, TextRectClipsAndFillsTheRectangle) {
  TCanvasSurface s(200, 40, clGreen);
  TRasterCanvas& c = s.Canvas();
  c.Font()->SetName("Arial");
  c.Font()->SetSize(14);
  c.Brush()->SetColor(clYellow);
  const TRect box = Rect(10, 5, 40, 20);
  c.TextRect(box, 12, 8, "Clipped text runs past the box");
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x) {
      const bool inside = box.Contains(Point(x, y));
      const TColor color = s.At(x, y);
      if (inside)
        EXPECT_TRUE(color == clYellow || color == clBlack) << x << "," << y;
      else
        EXPECT_EQ(color, clGreen) << x << "," << y;
    }
  EXPECT_FALSE(s.WhereColor(clBlack).empty());
  // With a clear brush the rectangle keeps its pixels.
  TCanvasSurface t(200, 40, clGreen);
  t.Canvas().Font()->SetName("Arial");
  t.Canvas().Brush()->SetStyle(bsClear);
  t.Canvas().TextRect(box, 12, 8, "Clipped text runs past the box");
  EXPECT_TRUE(t.WhereColor(clYellow).empty());
  EXPECT_FALSE(t.WhereColor(clBlack).empty());
}

TEST(RasterCanvasText, UnderlineAndStrikeOutSpanTheAdvance) {
  // A space in the middle has no ink of its own; only the lines cross it.
  for (TFontStyle style : {fsUnderline, fsStrikeOut}) {
    TCanvasSurface s(200, 48);
    UseFont(s.Canvas(), TFontCase{"Arial", 16, {style}});
    s.Canvas().SetTextAlign(TA_BASELINE);
    const int width = s.Canvas().TextWidth("a  a");
    s.Canvas().TextOut(10, 30, "a  a");
    std::vector<int> fullRows;
    for (int y = 0; y < 48; ++y) {
      bool full = true;
      for (int x = 10; x < 10 + width && full; ++x) full = s.At(x, y) == clBlack;
      if (full) fullRows.push_back(y);
    }
    ASSERT_FALSE(fullRows.empty()) << style;
    for (int y : fullRows) {
      if (style == fsUnderline)
        EXPECT_GE(y, 30);
      else
        EXPECT_LT(y, 30);
      EXPECT_EQ(s.At(10 + width, y), clWhite);
      EXPECT_EQ(s.At(9, y), clWhite);
    }
  }
}

TEST(RasterCanvasText, EscapementTurnsTheTextAboutTheReferencePoint) {
  const int X = 50;
  const int Y = 90;
  TCanvasSurface flat(128, 128);
  UseFont(flat.Canvas(), TFontCase{"Arial", 24, {}});
  flat.Canvas().SetTextAlign(TA_BASELINE);
  flat.Canvas().TextOut(X, Y, "UH!");
  TCanvasSurface turned(128, 128);
  UseFont(turned.Canvas(), TFontCase{"Arial", 24, {}});
  TLogFont lf = turned.Canvas().SelectedFont()->LogFont();
  lf.lfEscapement = 900;
  turned.Canvas().SelectFont(CreateFontIndirect(lf));
  turned.Canvas().SetTextAlign(TA_BASELINE);
  turned.Canvas().TextOut(X, Y, "UH!");
  // A quarter turn counter-clockwise about the corner point (X, Y) takes pixel (x, y) to
  // (X - Y + y, X + Y - 1 - x).
  TPixels expected;
  for (const auto& [x, y] : Ink(flat)) expected.insert({X - Y + y, X + Y - 1 - x});
  const TPixels ink = Ink(turned);
  ASSERT_FALSE(ink.empty());
  size_t differences = 0;
  for (const auto& p : ink) differences += expected.count(p) ? 0 : 1;
  for (const auto& p : expected) differences += ink.count(p) ? 0 : 1;
  // Only pixel centres lying exactly on an outline may fall the other way (the half-open
  // rule is not symmetric under a turn): at most a stem edge here and there.
  EXPECT_LE(differences, ink.size() / 10);
  for (const auto& p : ink) {
    EXPECT_LT(p.first, X + 1);  // above the baseline, which now runs upward through X
    EXPECT_LE(p.second, Y);
  }
}

TEST(RasterCanvasText, UpdateCurrentPositionContinuesTheLine) {
  TCanvasSurface once(300, 40);
  UseFont(once.Canvas(), FontCases[0]);
  once.Canvas().TextOut(5, 5, "Part one, part two");
  TCanvasSurface twice(300, 40);
  UseFont(twice.Canvas(), FontCases[0]);
  twice.Canvas().SetTextAlign(TA_UPDATECP);
  twice.Canvas().MoveTo(5, 5);
  twice.Canvas().ExtTextOut(0, 0, 0, nullptr, "Part one,");
  EXPECT_EQ(twice.Canvas().PenPos(), Point(5 + twice.Canvas().TextWidth("Part one,"), 5));
  twice.Canvas().ExtTextOut(0, 0, 0, nullptr, " part two");
  EXPECT_EQ(Ink(once), Ink(twice));
  EXPECT_EQ(twice.Canvas().PenPos(), Point(5 + twice.Canvas().TextWidth("Part one, part two"), 5));
  // Right-aligned text runs back from the current position.
  twice.Canvas().SetTextAlign(TA_UPDATECP | TA_RIGHT);
  twice.Canvas().MoveTo(200, 5);
  twice.Canvas().ExtTextOut(0, 0, 0, nullptr, "back");
  EXPECT_EQ(twice.Canvas().PenPos(), Point(200 - twice.Canvas().TextWidth("back"), 5));
}

TEST(RasterCanvasText, OpaqueOptionFillsTheRectangleWithTheBackground) {
  TCanvasSurface s(100, 40, clGreen);
  s.Canvas().SetBkColor(clBlue);
  s.Canvas().SetBkMode(TRANSPARENT);
  const TRect box = Rect(3, 4, 50, 30);
  s.Canvas().ExtTextOut(5, 5, ETO_OPAQUE, &box, "");
  EXPECT_EQ(s.WhereColor(clBlue), Block(3, 4, 49, 29));
}

}  // namespace
