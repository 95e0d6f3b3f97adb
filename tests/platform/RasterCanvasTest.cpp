#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/CanvasSurface.h"

namespace {

using TPixels = std::set<std::pair<int, int>>;

// --- Rectangles ---

TEST(RasterCanvasRectangle, OnePixelPenOutlinesTenToNineteenAndFillsInside) {
  TCanvasSurface s;
  s.Canvas().Brush()->SetColor(clRed);
  s.Canvas().Rectangle(10, 10, 20, 20);
  const TPixels outline = Minus(Block(10, 10, 19, 19), Block(11, 11, 18, 18));
  EXPECT_EQ(s.WhereColor(clBlack), outline);
  EXPECT_EQ(s.WhereColor(clRed), Block(11, 11, 18, 18));
}

TEST(RasterCanvasRectangle, CornersInAnyOrderGiveTheSameBox) {
  TCanvasSurface a;
  TCanvasSurface b;
  a.Canvas().Rectangle(10, 12, 30, 25);
  b.Canvas().Rectangle(30, 25, 10, 12);
  EXPECT_EQ(a.WhereNot(clWhite), b.WhereNot(clWhite));
  EXPECT_FALSE(a.WhereNot(clWhite).empty());
}

TEST(RasterCanvasRectangle, ClearPenFillsOnePixelLessRightAndBottom) {
  TCanvasSurface s;
  s.Canvas().Brush()->SetColor(clRed);
  s.Canvas().Pen()->SetStyle(psClear);
  s.Canvas().Rectangle(10, 10, 20, 20);
  EXPECT_EQ(s.WhereNot(clWhite), Block(10, 10, 18, 18));
  EXPECT_EQ(s.WhereColor(clRed), Block(10, 10, 18, 18));
}

TEST(RasterCanvasRectangle, ThreePixelPenIsCentredOnTheOutline) {
  TCanvasSurface s;
  s.Canvas().Brush()->SetColor(clRed);
  s.Canvas().Pen()->SetWidth(3);
  s.Canvas().Rectangle(10, 10, 20, 20);
  EXPECT_EQ(s.WhereColor(clBlack), Minus(Block(9, 9, 20, 20), Block(12, 12, 17, 17)));
  EXPECT_EQ(s.WhereColor(clRed), Block(12, 12, 17, 17));
}

TEST(RasterCanvasRectangle, InsideFramePenStaysInsideTheBox) {
  for (int width : {2, 3, 4}) {
    TCanvasSurface s;
    s.Canvas().Brush()->SetColor(clRed);
    s.Canvas().Pen()->SetWidth(width);
    s.Canvas().Pen()->SetStyle(psInsideFrame);
    s.Canvas().Rectangle(10, 10, 20, 20);
    // Round joins cut the outer corners of pens wider than 3 pixels.
    if (width <= 3) {
      EXPECT_EQ(s.WhereNot(clWhite), Block(10, 10, 19, 19)) << "width " << width;
    } else {
      EXPECT_TRUE(std::ranges::includes(Block(10, 10, 19, 19), s.WhereNot(clWhite))) << "width " << width;
      EXPECT_EQ(s.At(10, 10), clWhite) << "width " << width;
    }
    // The frame is `width` pixels deep on every side, straight through the middle rows.
    EXPECT_EQ(s.At(10 + width - 1, 15), clBlack) << "width " << width;
    EXPECT_EQ(s.At(10 + width, 15), clRed) << "width " << width;
    EXPECT_EQ(s.At(19 - width + 1, 15), clBlack) << "width " << width;
    EXPECT_EQ(s.At(19 - width, 15), clRed) << "width " << width;
  }
}

TEST(RasterCanvasRectangle, WidePenReachesHalfItsWidthOutside) {
  // Along the middle row: W div 2 pixels left of the left edge, (W - 1) div 2 right of the
  // last pixel (an even pen sits half a pixel towards the top left).
  for (int width = 1; width <= 6; ++width) {
    TCanvasSurface s;
    s.Canvas().Pen()->SetWidth(width);
    s.Canvas().Brush()->SetStyle(bsClear);
    s.Canvas().Rectangle(20, 20, 40, 40);
    int left = 64;
    int right = -1;
    for (int x = 0; x < 64; ++x)
      if (s.At(x, 30) == clBlack) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
    EXPECT_EQ(left, 20 - width / 2) << "width " << width;
    EXPECT_EQ(right, 39 + (width - 1) / 2) << "width " << width;
  }
}

TEST(RasterCanvasRectangle, EmptyBoxDrawsNothing) {
  TCanvasSurface s;
  s.Canvas().Rectangle(10, 10, 10, 30);
  s.Canvas().Ellipse(10, 10, 30, 10);
  EXPECT_TRUE(s.WhereNot(clWhite).empty());
}

// --- Lines ---

TEST(RasterCanvasLine, LeavesOutItsLastPixelAndMovesThePen) {
  TCanvasSurface s;
  s.Canvas().MoveTo(0, 0);
  s.Canvas().LineTo(10, 0);
  EXPECT_EQ(s.WhereNot(clWhite), Block(0, 0, 9, 0));
  EXPECT_EQ(s.Canvas().PenPos(), Point(10, 0));
}

TEST(RasterCanvasLine, PixelsOfStraightAndDiagonalLines) {
  struct TCase {
    TPoint From;
    TPoint To;
    TPixels Expected;
  };
  const std::vector<TCase> cases = {
      {{5, 3}, {5, 9}, Block(5, 3, 5, 8)},
      {{5, 9}, {5, 3}, Block(5, 4, 5, 9)},
      {{9, 2}, {3, 2}, Block(4, 2, 9, 2)},
      {{0, 0}, {4, 4}, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
      {{4, 0}, {0, 4}, {{4, 0}, {3, 1}, {2, 2}, {1, 3}}},
      // A tie (the line passes exactly between two pixels) goes to the smaller coordinate,
      // whichever way the line is drawn.
      {{0, 0}, {4, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
      {{4, 2}, {0, 0}, {{4, 2}, {3, 1}, {2, 1}, {1, 0}}},
      {{0, 0}, {2, 4}, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
  };
  for (const TCase& c : cases) {
    TCanvasSurface s(16, 16);
    s.Canvas().MoveTo(c.From.X, c.From.Y);
    s.Canvas().LineTo(c.To.X, c.To.Y);
    EXPECT_EQ(s.WhereNot(clWhite), c.Expected)
        << c.From.X << "," << c.From.Y << " -> " << c.To.X << "," << c.To.Y;
  }
}

TEST(RasterCanvasLine, PolylineJoinsSegmentsWithoutDoublingAPixel) {
  TCanvasSurface s;
  s.Canvas().Pen()->SetMode(pmXor);
  s.Canvas().Pen()->SetColor(clWhite);
  s.Canvas().Polyline({Point(2, 2), Point(12, 2), Point(12, 12), Point(2, 12)});
  // XOR over white turns drawn pixels black; a pixel drawn twice would turn back to white.
  TPixels expected = Block(2, 2, 11, 2);
  expected.merge(Block(12, 2, 12, 11));
  expected.merge(Block(3, 12, 12, 12));
  EXPECT_EQ(s.WhereColor(clBlack), expected);
}

TEST(RasterCanvasLine, WideLineHasRoundCaps) {
  TCanvasSurface s;
  s.Canvas().Pen()->SetWidth(5);
  s.Canvas().MoveTo(20, 30);
  s.Canvas().LineTo(40, 30);
  // Body 28..32 from x = 20 to 40, caps reaching 2 pixels beyond both ends, rounded.
  EXPECT_EQ(s.At(18, 30), clBlack);
  EXPECT_EQ(s.At(42, 30), clBlack);
  EXPECT_EQ(s.At(17, 30), clWhite);
  EXPECT_EQ(s.At(43, 30), clWhite);
  EXPECT_EQ(s.At(30, 28), clBlack);
  EXPECT_EQ(s.At(30, 32), clBlack);
  EXPECT_EQ(s.At(30, 27), clWhite);
  EXPECT_EQ(s.At(30, 33), clWhite);
  EXPECT_EQ(s.At(18, 28), clWhite);  // the cap's corner is cut away
}

TEST(RasterCanvasLine, DashedPenFollowsTheDashTable) {
  struct TCase {
    TPenStyle Style;
    std::vector<int> Lengths;
  };
  const std::vector<TCase> cases = {
      {psDash, {18, 6}}, {psDot, {3, 3}}, {psDashDot, {9, 6, 3, 6}}, {psDashDotDot, {9, 3, 3, 3, 3, 3}}};
  for (const TCase& c : cases) {
    TCanvasSurface s(64, 4, clGreen);
    s.Canvas().Pen()->SetStyle(c.Style);
    s.Canvas().SetBkMode(TRANSPARENT);
    s.Canvas().MoveTo(0, 1);
    s.Canvas().LineTo(60, 1);
    int x = 0;
    for (size_t i = 0; x < 60; i = (i + 1) % c.Lengths.size()) {
      for (int k = 0; k < c.Lengths[i] && x < 60; ++k, ++x)
        EXPECT_EQ(s.At(x, 1), i % 2 == 0 ? clBlack : clGreen) << "style " << c.Style << " x " << x;
    }
  }
}

TEST(RasterCanvasLine, DashGapsTakeTheBackgroundOnlyWhenOpaque) {
  TCanvasSurface s(40, 4, clGreen);
  s.Canvas().Pen()->SetStyle(psDot);
  s.Canvas().SetBkColor(clBlue);
  s.Canvas().SetBkMode(OPAQUE);
  s.Canvas().MoveTo(0, 1);
  s.Canvas().LineTo(12, 1);
  for (int x = 0; x < 12; ++x) EXPECT_EQ(s.At(x, 1), (x / 3) % 2 == 0 ? clBlack : clBlue) << x;
  s.Canvas().SetBkMode(TRANSPARENT);
  s.Canvas().MoveTo(0, 2);
  s.Canvas().LineTo(12, 2);
  for (int x = 0; x < 12; ++x) EXPECT_EQ(s.At(x, 2), (x / 3) % 2 == 0 ? clBlack : clGreen) << x;
}

TEST(RasterCanvasLine, DashesRunOnAcrossTheSegmentsOfOneFigure) {
  TCanvasSurface s(16, 16);
  s.Canvas().Pen()->SetStyle(psDot);
  s.Canvas().SetBkMode(TRANSPARENT);
  s.Canvas().Polyline({Point(0, 1), Point(4, 1), Point(4, 12)});
  // Pixels 0..3 of the first segment, then (4, 1) is pixel 4 of the figure: in a gap.
  for (int x = 0; x < 3; ++x) EXPECT_EQ(s.At(x, 1), clBlack) << x;
  EXPECT_EQ(s.At(3, 1), clWhite);
  EXPECT_EQ(s.At(4, 1), clWhite);
  EXPECT_EQ(s.At(4, 2), clWhite);  // pixel 5
  EXPECT_EQ(s.At(4, 3), clBlack);  // pixel 6
  EXPECT_EQ(s.At(4, 6), clWhite);  // pixel 9
  // A new figure starts its pattern again.
  s.Canvas().MoveTo(8, 14);
  s.Canvas().LineTo(15, 14);
  EXPECT_EQ(s.At(8, 14), clBlack);
  EXPECT_EQ(s.At(11, 14), clWhite);
}

TEST(RasterCanvasLine, WideStyledPenDrawsSolid) {
  TCanvasSurface s;
  s.Canvas().Pen()->SetStyle(psDot);
  s.Canvas().Pen()->SetWidth(3);
  s.Canvas().MoveTo(10, 10);
  s.Canvas().LineTo(50, 10);
  for (int x = 10; x <= 50; ++x) EXPECT_EQ(s.At(x, 10), clBlack) << x;
}

// --- Mix modes ---

// The platform's binary raster operations are truth tables: code - 1 holds, at bit
// (pen bit * 2 + destination bit), the result bit.
uint32_t TruthTable(int Code, uint32_t Pen, uint32_t Dest) {
  uint32_t result = 0;
  for (int bit = 0; bit < 24; ++bit) {
    const int p = (Pen >> bit) & 1;
    const int d = (Dest >> bit) & 1;
    result |= static_cast<uint32_t>(((Code - 1) >> (p * 2 + d)) & 1) << bit;
  }
  return result;
}

TEST(RasterCanvasMixMode, EveryModeMatchesItsTruthTable) {
  // R2_ codes of the pen modes, in TPenMode order.
  const int codes[16] = {1, 16, 11, 6, 13, 4, 14, 5, 12, 3, 15, 2, 9, 8, 7, 10};
  const TColor dest = RGB(0x0F, 0x33, 0x5A);
  const TColor pen = RGB(0x35, 0xF0, 0x96);
  for (int mode = pmBlack; mode <= pmNotXor; ++mode) {
    TCanvasSurface s(8, 8, dest);
    s.Canvas().Pen()->SetColor(pen);
    s.Canvas().Pen()->SetMode(static_cast<TPenMode>(mode));
    s.Canvas().MoveTo(0, 3);
    s.Canvas().LineTo(5, 3);
    EXPECT_EQ(static_cast<uint32_t>(s.At(2, 3)),
              TruthTable(codes[mode], static_cast<uint32_t>(pen), static_cast<uint32_t>(dest)))
        << "mode " << mode;
    EXPECT_EQ(s.At(2, 4), dest);
  }
}

TEST(RasterCanvasMixMode, XorTwiceRestoresTheImage) {
  TCanvasSurface s;
  s.Canvas().Brush()->SetColor(clTeal);
  s.Canvas().FillRect(Rect(5, 5, 40, 30));
  const QImage before = s.Image().copy();
  s.Canvas().Pen()->SetMode(pmXor);
  s.Canvas().Pen()->SetColor(RGB(200, 100, 50));
  s.Canvas().Brush()->SetStyle(bsClear);
  for (int pass = 0; pass < 2; ++pass) {
    s.Canvas().Ellipse(3, 3, 50, 44);
    s.Canvas().Rectangle(10, 10, 60, 60);
    s.Canvas().Polyline({Point(0, 0), Point(63, 40), Point(0, 63), Point(30, 0)});
    if (pass == 0) {
      EXPECT_NE(s.Image(), before);
    }
  }
  EXPECT_EQ(s.Image(), before);
}

TEST(RasterCanvasMixMode, WideXorOutlinePaintsEveryPixelOnce) {
  TCanvasSurface s;
  s.Canvas().Pen()->SetMode(pmXor);
  s.Canvas().Pen()->SetColor(clWhite);
  s.Canvas().Pen()->SetWidth(7);
  s.Canvas().Brush()->SetStyle(bsClear);
  s.Canvas().Polygon({Point(10, 10), Point(50, 12), Point(30, 50)});
  // Overlapping joints would XOR back to white and leave holes in the outline.
  EXPECT_EQ(s.At(10, 10), clBlack);
  EXPECT_EQ(s.At(50, 12), clBlack);
  EXPECT_EQ(s.At(30, 50), clBlack);
  EXPECT_EQ(s.At(30, 11), clBlack);
}

TEST(RasterCanvasMixMode, NotInvertsAndNopKeeps) {
  TCanvasSurface s(16, 16, RGB(10, 20, 30));
  s.Canvas().Pen()->SetMode(pmNot);
  s.Canvas().MoveTo(0, 5);
  s.Canvas().LineTo(10, 5);
  EXPECT_EQ(s.At(4, 5), RGB(245, 235, 225));
  s.Canvas().Pen()->SetMode(pmNop);
  s.Canvas().MoveTo(0, 6);
  s.Canvas().LineTo(10, 6);
  EXPECT_EQ(s.At(4, 6), RGB(10, 20, 30));
}

TEST(RasterCanvasMixMode, FillsCopyTheBrushAndThePenMixesOverIt) {
  TCanvasSurface s(32, 32, clBlue);
  s.Canvas().Pen()->SetMode(pmXor);
  s.Canvas().Pen()->SetColor(clWhite);
  s.Canvas().Brush()->SetColor(clRed);
  s.Canvas().Rectangle(5, 5, 20, 20);
  EXPECT_EQ(s.At(10, 10), clRed);
  // The brush fills 5..18 under the pen, so the left edge mixes with the brush and the
  // right edge with what was there before.
  EXPECT_EQ(s.At(5, 10), clAqua);
  EXPECT_EQ(s.At(19, 10), clYellow);
}

// --- Brushes ---

TEST(RasterCanvasBrush, HatchIsAlignedToTheDeviceOrigin) {
  for (int style = bsHorizontal; style <= bsDiagCross; ++style) {
    TCanvasSurface whole;
    whole.Canvas().Brush()->SetColor(clBlack);
    whole.Canvas().Brush()->SetStyle(static_cast<TBrushStyle>(style));
    whole.Canvas().FillRect(Rect(0, 0, 64, 64));
    for (int y = 0; y < 56; ++y) {
      for (int x = 0; x < 56; ++x) ASSERT_EQ(whole.At(x, y), whole.At(x + 8, y + 8)) << style;
    }
    // A rectangle elsewhere shows the same cells, not a pattern restarted at its corner.
    TCanvasSurface part;
    part.Canvas().Brush()->SetColor(clBlack);
    part.Canvas().Brush()->SetStyle(static_cast<TBrushStyle>(style));
    part.Canvas().FillRect(Rect(13, 5, 40, 37));
    for (int y = 5; y < 37; ++y) {
      for (int x = 13; x < 40; ++x) ASSERT_EQ(part.At(x, y), whole.At(x, y)) << style;
    }
  }
}

TEST(RasterCanvasBrush, HatchCells) {
  // One 8 x 8 cell of each hatch, '#' on a hatch line.
  const std::vector<std::pair<TBrushStyle, std::vector<std::string>>> cells = {
      {bsHorizontal,
       {"........", "........", "........", "########", "........", "........", "........", "........"}},
      {bsVertical,
       {"....#...", "....#...", "....#...", "....#...", "....#...", "....#...", "....#...", "....#..."}},
      {bsFDiagonal,
       {"#.......", ".#......", "..#.....", "...#....", "....#...", ".....#..", "......#.", ".......#"}},
      {bsBDiagonal,
       {".......#", "......#.", ".....#..", "....#...", "...#....", "..#.....", ".#......", "#......."}},
      {bsCross,
       {"....#...", "....#...", "....#...", "########", "....#...", "....#...", "....#...", "....#..."}},
      {bsDiagCross,
       {"#......#", ".#....#.", "..#..#..", "...##...", "...##...", "..#..#..", ".#....#.", "#......#"}},
  };
  for (const auto& [style, rows] : cells) {
    TCanvasSurface s(16, 16);
    s.Canvas().Brush()->SetColor(clBlack);
    s.Canvas().Brush()->SetStyle(style);
    s.Canvas().FillRect(Rect(0, 0, 16, 16));
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        EXPECT_EQ(s.At(x + 8, y + 8), rows[y][x] == '#' ? clBlack : clWhite) << style << " " << x << "," << y;
  }
}

TEST(RasterCanvasBrush, HatchBackgroundFollowsTheBackgroundMode) {
  TCanvasSurface s(32, 32, clGreen);
  s.Canvas().Brush()->SetColor(clRed);
  s.Canvas().Brush()->SetStyle(bsHorizontal);
  // Choosing a hatch brush makes the background transparent, as the VCL does.
  EXPECT_EQ(s.Canvas().BkMode(), TRANSPARENT);
  s.Canvas().FillRect(Rect(0, 0, 16, 16));
  EXPECT_EQ(s.At(4, 3), clRed);
  EXPECT_EQ(s.At(4, 4), clGreen);
  s.Canvas().SetBkMode(OPAQUE);
  s.Canvas().SetBkColor(clYellow);
  s.Canvas().FillRect(Rect(16, 0, 32, 16));
  EXPECT_EQ(s.At(20, 3), clRed);
  EXPECT_EQ(s.At(20, 4), clYellow);
}

TEST(RasterCanvasBrush, ClearBrushFillsNothing) {
  TCanvasSurface s;
  s.Canvas().Brush()->SetStyle(bsClear);
  s.Canvas().Rectangle(10, 10, 20, 20);
  EXPECT_EQ(s.WhereNot(clWhite), Minus(Block(10, 10, 19, 19), Block(11, 11, 18, 18)));
}

TEST(RasterCanvasBrush, PatternBitmapIsTiledFromTheDeviceOrigin) {
  TBitmap pattern(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      pattern.SetPixel(x, y, RGB(static_cast<uint8_t>(x * 50), static_cast<uint8_t>(y * 90), 7));
  TCanvasSurface s;
  s.Canvas().Brush()->SetBitmap(&pattern);
  s.Canvas().FillRect(Rect(5, 7, 30, 20));
  for (int y = 7; y < 20; ++y) {
    for (int x = 5; x < 30; ++x) ASSERT_EQ(s.At(x, y), pattern.Pixel(x % 3, y % 2)) << x << "," << y;
  }
  EXPECT_EQ(s.At(4, 7), clWhite);
  EXPECT_EQ(s.At(30, 7), clWhite);
}

// --- Frames, focus rectangles, pixels ---

TEST(RasterCanvasFrame, FillRectExcludesRightAndBottom) {
  TCanvasSurface s;
  s.Canvas().Brush()->SetColor(clRed);
  s.Canvas().FillRect(Rect(3, 4, 9, 12));
  EXPECT_EQ(s.WhereNot(clWhite), Block(3, 4, 8, 11));
}

TEST(RasterCanvasFrame, FrameRectIsOnePixelInTheBrushColour) {
  TCanvasSurface s;
  s.Canvas().Brush()->SetColor(clBlue);
  s.Canvas().FrameRect(Rect(3, 4, 9, 12));
  EXPECT_EQ(s.WhereColor(clBlue), Minus(Block(3, 4, 8, 11), Block(4, 5, 7, 10)));
  EXPECT_EQ(s.WhereNot(clWhite).size(), s.WhereColor(clBlue).size());
}

TEST(RasterCanvasFrame, FocusRectInvertsEveryOtherPixelAndUndoesItself) {
  TCanvasSurface s;
  const QImage before = s.Image().copy();
  s.Canvas().DrawFocusRect(Rect(10, 10, 30, 20));
  const TPixels changed = s.WhereNot(clWhite);
  const TPixels frame = Minus(Block(10, 10, 29, 19), Block(11, 11, 28, 18));
  for (const auto& p : changed) {
    EXPECT_TRUE(frame.count(p)) << p.first << "," << p.second;
    EXPECT_EQ(s.At(p.first, p.second), clBlack);
  }
  // Neighbours along the frame alternate.
  for (int x = 10; x < 29; ++x) EXPECT_NE(changed.count({x, 10}), changed.count({x + 1, 10})) << x;
  for (int y = 10; y < 19; ++y) EXPECT_NE(changed.count({10, y}), changed.count({10, y + 1})) << y;
  s.Canvas().DrawFocusRect(Rect(10, 10, 30, 20));
  EXPECT_EQ(s.Image(), before);
}

TEST(RasterCanvasPixels, ReadAndWriteAndOutsideIsInvalid) {
  TCanvasSurface s(16, 16);
  s.Canvas().SetPixel(3, 4, clRed);
  EXPECT_EQ(s.Canvas().Pixels(3, 4), clRed);
  EXPECT_EQ(s.At(3, 4), clRed);
  EXPECT_EQ(s.Canvas().Pixels(5, 5), clWhite);
  for (const TPoint& p : {Point(-1, 0), Point(0, -1), Point(16, 0), Point(0, 16)}) {
    EXPECT_EQ(s.Canvas().Pixels(p.X, p.Y), -1);
    s.Canvas().SetPixel(p.X, p.Y, clRed);  // ignored, no crash
  }
}

// --- Flood fill ---

TEST(RasterCanvasFloodFill, BorderFillStopsAtTheBorderColour) {
  TCanvasSurface s;
  s.Canvas().Brush()->SetStyle(bsClear);
  s.Canvas().Pen()->SetColor(clBlue);
  s.Canvas().Rectangle(10, 10, 30, 30);
  s.Canvas().SetPixel(20, 20, clGreen);  // not the border colour: filled over
  s.Canvas().Brush()->SetColor(clRed);
  s.Canvas().FloodFill(15, 15, clBlue, fsBorder);
  EXPECT_EQ(s.WhereColor(clRed), Block(11, 11, 28, 28));
  EXPECT_EQ(s.WhereColor(clBlue), Minus(Block(10, 10, 29, 29), Block(11, 11, 28, 28)));
}

TEST(RasterCanvasFloodFill, SurfaceFillTakesOnlyConnectedPixelsOfTheColour) {
  TCanvasSurface s;
  s.Canvas().Brush()->SetColor(clYellow);
  s.Canvas().FillRect(Rect(0, 0, 20, 20));
  s.Canvas().FillRect(Rect(40, 40, 50, 50));  // same colour, not connected
  s.Canvas().SetPixel(5, 5, clBlack);
  s.Canvas().Brush()->SetColor(clRed);
  s.Canvas().FloodFill(10, 10, clYellow, fsSurface);
  EXPECT_EQ(s.WhereColor(clRed), Minus(Block(0, 0, 19, 19), {{5, 5}}));
  EXPECT_EQ(s.WhereColor(clYellow), Block(40, 40, 49, 49));
}

TEST(RasterCanvasFloodFill, DiagonalNeighboursDoNotConnect) {
  TCanvasSurface s(8, 8, clBlack);
  s.Canvas().SetPixel(2, 2, clWhite);
  s.Canvas().SetPixel(3, 3, clWhite);
  s.Canvas().Brush()->SetColor(clRed);
  s.Canvas().FloodFill(2, 2, clWhite, fsSurface);
  EXPECT_EQ(s.WhereColor(clRed), (TPixels{{2, 2}}));
}

TEST(RasterCanvasFloodFill, StartingOnTheBorderFillsNothing) {
  TCanvasSurface s(8, 8);
  s.Canvas().Brush()->SetColor(clRed);
  s.Canvas().FloodFill(3, 3, clWhite, fsBorder);
  EXPECT_TRUE(s.WhereNot(clWhite).empty());
}

TEST(RasterCanvasFloodFill, LargeMazeDoesNotExhaustTheStack) {
  // A comb of one-pixel corridors makes a depth-first fill go very deep.
  TCanvasSurface s(700, 700);
  s.Canvas().Pen()->SetColor(clBlack);
  for (int x = 1; x < 700; x += 2) {
    s.Canvas().MoveTo(x, x % 4 == 1 ? 0 : 1);
    s.Canvas().LineTo(x, x % 4 == 1 ? 699 : 700);
  }
  s.Canvas().Brush()->SetColor(clRed);
  s.Canvas().FloodFill(0, 0, clBlack, fsBorder);
  EXPECT_EQ(s.WhereColor(clWhite).size(), 0u);
}

// --- Polygons, ellipses, arcs ---

TEST(RasterCanvasPolygon, AlternateRuleLeavesTheStarsCentreEmpty) {
  TCanvasSurface s;
  s.Canvas().Brush()->SetColor(clRed);
  s.Canvas().Pen()->SetStyle(psClear);
  s.Canvas().Polygon({Point(32, 2), Point(50, 60), Point(2, 22), Point(62, 22), Point(14, 60)});
  EXPECT_EQ(s.At(32, 35), clWhite);  // the pentagon in the middle is crossed twice
  EXPECT_EQ(s.At(32, 10), clRed);    // a point of the star
  EXPECT_EQ(s.At(8, 23), clRed);
}

TEST(RasterCanvasPolygon, SquareFillsItsVerticesAsPixelCentresAndThePenAddsTheEdge) {
  TCanvasSurface s;
  s.Canvas().Brush()->SetColor(clRed);
  s.Canvas().Pen()->SetStyle(psClear);
  s.Canvas().Polygon({Point(10, 10), Point(20, 10), Point(20, 20), Point(10, 20)});
  EXPECT_EQ(s.WhereColor(clRed), Block(10, 10, 19, 19));
  s.Clear(clWhite);
  s.Canvas().Pen()->SetStyle(psSolid);
  s.Canvas().Polygon({Point(10, 10), Point(20, 10), Point(20, 20), Point(10, 20)});
  EXPECT_EQ(s.WhereNot(clWhite), Block(10, 10, 20, 20));
  EXPECT_EQ(s.WhereColor(clRed), Block(11, 11, 19, 19));
}

TEST(RasterCanvasEllipse, StaysInItsBoxAndIsSymmetric) {
  for (const TRect& box : {Rect(10, 10, 30, 30), Rect(5, 8, 50, 21), Rect(20, 4, 27, 60), Rect(3, 3, 4, 4)}) {
    TCanvasSurface s;
    s.Canvas().Brush()->SetColor(clRed);
    s.Canvas().Ellipse(box);
    const TPixels drawn = s.WhereNot(clWhite);
    ASSERT_FALSE(drawn.empty());
    int left = 99, right = -1, top = 99, bottom = -1;
    for (const auto& [x, y] : drawn) {
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
      // Mirror images across both axes of the box.
      EXPECT_TRUE(drawn.count({box.Left + box.Right - 1 - x, y})) << x << "," << y;
      EXPECT_TRUE(drawn.count({x, box.Top + box.Bottom - 1 - y})) << x << "," << y;
    }
    EXPECT_EQ(left, box.Left);
    EXPECT_EQ(right, box.Right - 1);
    EXPECT_EQ(top, box.Top);
    EXPECT_EQ(bottom, box.Bottom - 1);
  }
}

TEST(RasterCanvasEllipse, OutlineIsThinAndClosed) {
  TCanvasSurface s;
  s.Canvas().Brush()->SetStyle(bsClear);
  s.Canvas().Ellipse(4, 6, 60, 50);
  // Closed: a flood fill from the centre does not leak to the corner.
  s.Canvas().Brush()->SetColor(clRed);
  s.Canvas().FloodFill(32, 28, clBlack, fsBorder);
  EXPECT_EQ(s.At(0, 0), clWhite);
  EXPECT_EQ(s.At(32, 28), clRed);
  // Thin: no 2 x 2 block of outline pixels.
  for (int y = 0; y < 63; ++y)
    for (int x = 0; x < 63; ++x)
      EXPECT_FALSE(s.At(x, y) == clBlack && s.At(x + 1, y) == clBlack && s.At(x, y + 1) == clBlack &&
                   s.At(x + 1, y + 1) == clBlack)
          << x << "," << y;
}

TEST(RasterCanvasEllipse, WidePensOnTheOutlineOrInsideTheFrame) {
  for (TPenStyle style : {psSolid, psInsideFrame}) {
    TCanvasSurface s;
    s.Canvas().Brush()->SetColor(clRed);
    s.Canvas().Pen()->SetWidth(5);
    s.Canvas().Pen()->SetStyle(style);
    s.Canvas().Ellipse(12, 12, 52, 42);
    int left = 99, right = -1, top = 99, bottom = -1;
    for (const auto& [x, y] : s.WhereNot(clWhite)) {
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
    const int outside = style == psSolid ? 2 : 0;
    EXPECT_EQ(left, 12 - outside) << style;
    EXPECT_EQ(right, 51 + outside) << style;
    EXPECT_EQ(top, 12 - outside) << style;
    EXPECT_EQ(bottom, 41 + outside) << style;
    // Five pixels of pen across the middle row, then the brush.
    for (int x = left; x < left + 5; ++x) EXPECT_EQ(s.At(x, 26), clBlack) << style << " " << x;
    EXPECT_EQ(s.At(left + 5, 26), clRed) << style;
  }
}

TEST(RasterCanvasEllipse, RoundRectWithFullCornersIsTheEllipse) {
  TCanvasSurface a;
  TCanvasSurface b;
  a.Canvas().RoundRect(6, 9, 50, 40, 44, 31);
  b.Canvas().Ellipse(6, 9, 50, 40);
  EXPECT_EQ(a.Image(), b.Image());
  TCanvasSurface c;
  c.Canvas().RoundRect(6, 9, 50, 40, 10, 10);
  EXPECT_EQ(c.At(6, 25), clBlack);  // straight sides
  EXPECT_EQ(c.At(6, 9), clWhite);   // rounded corner
  EXPECT_EQ(c.At(28, 39), clBlack);
}

TEST(RasterCanvasArc, QuarterFromZeroToNinetyDegreesIsTheUpperRight) {
  TCanvasSurface s;
  s.Canvas().Arc(10, 10, 50, 50, 60, 30, 30, 0);
  const TPixels drawn = s.WhereNot(clWhite);
  ASSERT_GT(drawn.size(), 20u);
  for (const auto& [x, y] : drawn) {
    EXPECT_GE(x, 29) << x << "," << y;
    EXPECT_LE(y, 30) << x << "," << y;
  }
  EXPECT_TRUE(drawn.count({49, 29}) || drawn.count({49, 30}));  // reaches the right end
  EXPECT_TRUE(drawn.count({29, 10}) || drawn.count({30, 10}));  // and the top
}

TEST(RasterCanvasArc, SwappedRaysDrawTheOtherThreeQuarters) {
  TCanvasSurface s;
  s.Canvas().Arc(10, 10, 50, 50, 30, 0, 60, 30);
  EXPECT_EQ(s.At(10, 30), clBlack);                                 // left end
  EXPECT_TRUE(s.At(29, 49) == clBlack || s.At(30, 49) == clBlack);  // bottom
  for (int y = 10; y < 27; ++y)
    for (int x = 33; x < 50; ++x) EXPECT_EQ(s.At(x, y), clWhite) << x << "," << y;
}

TEST(RasterCanvasArc, EqualRaysDrawTheWholeEllipse) {
  TCanvasSurface a;
  TCanvasSurface b;
  a.Canvas().Arc(10, 12, 50, 44, 60, 30, 60, 30);
  b.Canvas().Brush()->SetStyle(bsClear);
  b.Canvas().Ellipse(10, 12, 50, 44);
  EXPECT_EQ(a.Image(), b.Image());
}

TEST(RasterCanvasArc, PieAndChordFillTheirPart) {
  TCanvasSurface pie;
  pie.Canvas().Brush()->SetColor(clRed);
  pie.Canvas().Pie(10, 10, 50, 50, 60, 30, 30, 0);
  EXPECT_EQ(pie.At(40, 20), clRed);
  EXPECT_EQ(pie.At(20, 40), clWhite);
  EXPECT_EQ(pie.At(20, 20), clWhite);
  EXPECT_EQ(pie.At(35, 29), clRed);
  EXPECT_EQ(pie.At(30, 15), clBlack);  // the radius up to the top
  TCanvasSurface chord;
  chord.Canvas().Brush()->SetColor(clRed);
  chord.Canvas().Chord(10, 10, 50, 50, 60, 30, 30, 0);
  EXPECT_EQ(chord.At(43, 17), clRed);
  EXPECT_EQ(chord.At(33, 27), clWhite);  // beyond the chord, inside the quarter
  // The chord runs from (49, 30) to (30, 10).
  bool crossed = false;
  for (int x = 37; x <= 42; ++x) crossed = crossed || chord.At(x, 20) == clBlack;
  EXPECT_TRUE(crossed);
}

// --- Bitmaps ---

TEST(RasterCanvasBitmap, StretchBitmapRepeatsPixels) {
  TBitmap bitmap(2, 2);
  bitmap.SetPixel(0, 0, clRed);
  bitmap.SetPixel(1, 0, clGreen);
  bitmap.SetPixel(0, 1, clBlue);
  bitmap.SetPixel(1, 1, clYellow);
  TCanvasSurface s(16, 16);
  s.Canvas().StretchBitmap(Rect(4, 4, 10, 8), &bitmap, Rect(0, 0, 2, 2), cmSrcCopy);
  for (int y = 4; y < 8; ++y)
    for (int x = 4; x < 10; ++x)
      EXPECT_EQ(s.At(x, y), bitmap.Pixel((x - 4) / 3, (y - 4) / 2)) << x << "," << y;
  EXPECT_EQ(s.WhereNot(clWhite), Block(4, 4, 9, 7));
}

TEST(RasterCanvasBitmap, StretchBitmapShrinksByDroppingPixels) {
  TBitmap bitmap(8, 1);
  for (int x = 0; x < 8; ++x) bitmap.SetPixel(x, 0, RGB(static_cast<uint8_t>(x * 30), 0, 0));
  TCanvasSurface s(16, 4);
  s.Canvas().StretchBitmap(Rect(0, 0, 4, 1), &bitmap, Rect(0, 0, 8, 1), cmSrcCopy);
  // Each destination pixel takes the source pixel under its centre.
  for (int x = 0; x < 4; ++x) EXPECT_EQ(s.At(x, 0), bitmap.Pixel(2 * x + 1, 0)) << x;
}

TEST(RasterCanvasBitmap, AndModeCombinesWithTheDestination) {
  TBitmap bitmap(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      bitmap.SetPixel(x, y, RGB(static_cast<uint8_t>(0xF0 | x), 0x3C, static_cast<uint8_t>(y * 0x41)));
  TCanvasSurface s(8, 8, RGB(0x5A, 0xFF, 0x0F));
  s.Canvas().StretchBitmap(Rect(2, 2, 6, 6), &bitmap, Rect(0, 0, 4, 4), cmSrcAnd);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(s.At(x + 2, y + 2), bitmap.Pixel(x, y) & RGB(0x5A, 0xFF, 0x0F)) << x << "," << y;
  EXPECT_EQ(s.At(1, 1), RGB(0x5A, 0xFF, 0x0F));
}

TEST(RasterCanvasBitmap, ReversedDestinationMirrors) {
  TBitmap bitmap(4, 1);
  for (int x = 0; x < 4; ++x) bitmap.SetPixel(x, 0, RGB(static_cast<uint8_t>(x * 60), 1, 2));
  TCanvasSurface s(16, 4);
  // Right < Left: mirrored, covering Right + 1 .. Left.
  s.Canvas().StretchBitmap(Rect(10, 0, 6, 1), &bitmap, Rect(0, 0, 4, 1), cmSrcCopy);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(s.At(10 - x, 0), bitmap.Pixel(x, 0)) << x;
  EXPECT_EQ(s.At(6, 0), clWhite);
}

TEST(RasterCanvasBitmap, SourcePixelsOutsideTheBitmapLeaveTheDestinationAlone) {
  TBitmap bitmap(2, 2);
  bitmap.Canvas()->Brush()->SetColor(clRed);
  bitmap.Canvas()->FillRect(Rect(0, 0, 2, 2));
  TCanvasSurface s(8, 8, clGreen);
  s.Canvas().StretchBitmap(Rect(0, 0, 4, 4), &bitmap, Rect(-2, -2, 2, 2), cmSrcCopy);
  EXPECT_EQ(s.WhereColor(clRed), Block(2, 2, 3, 3));
  EXPECT_EQ(s.WhereColor(clGreen).size(), 64u - 4u);
}

TEST(RasterCanvasBitmap, TransparentColourIsLeftOut) {
  TBitmap bitmap(2, 1);
  bitmap.SetPixel(0, 0, clFuchsia);
  bitmap.SetPixel(1, 0, clNavy);
  TCanvasSurface s(8, 8, clGreen);
  s.Canvas().StretchBitmap(Rect(0, 0, 2, 1), &bitmap, Rect(0, 0, 2, 1), cmSrcCopy, clFuchsia);
  EXPECT_EQ(s.At(0, 0), clGreen);
  EXPECT_EQ(s.At(1, 0), clNavy);
}

TEST(RasterCanvasBitmap, DrawPlacesAGraphicAtItsNaturalSize) {
  TBitmap bitmap(3, 2);
  bitmap.Canvas()->Brush()->SetColor(clRed);
  bitmap.Canvas()->FillRect(Rect(0, 0, 3, 2));
  TCanvasSurface s(16, 16);
  s.Canvas().Draw(5, 6, &bitmap);
  EXPECT_EQ(s.WhereColor(clRed), Block(5, 6, 7, 7));
  s.Clear(clWhite);
  s.Canvas().StretchDraw(Rect(1, 1, 7, 5), &bitmap);
  EXPECT_EQ(s.WhereColor(clRed), Block(1, 1, 6, 4));
}

TEST(RasterCanvasBitmap, CopyRectUsesTheCopyMode) {
  TCanvasSurface source(16, 16, RGB(0x0F, 0xF0, 0x33));
  TCanvasSurface dest(16, 16, RGB(0xFF, 0x0F, 0x0F));
  dest.Canvas().CopyRect(Rect(0, 0, 4, 4), &source.Canvas(), Rect(0, 0, 4, 4));
  EXPECT_EQ(dest.At(1, 1), RGB(0x0F, 0xF0, 0x33));
  dest.Canvas().SetCopyMode(cmSrcAnd);
  dest.Canvas().CopyRect(Rect(4, 4, 12, 12), &source.Canvas(), Rect(0, 0, 4, 4));
  EXPECT_EQ(dest.At(8, 8), RGB(0x0F, 0x00, 0x03));
  EXPECT_EQ(dest.At(12, 12), RGB(0xFF, 0x0F, 0x0F));
}

TEST(RasterCanvasBitmap, CopyRectWithinOneCanvasReadsThePixelsAsTheyWere) {
  TCanvasSurface s(16, 4);
  for (int x = 0; x < 8; ++x) s.Canvas().SetPixel(x, 0, RGB(static_cast<uint8_t>(x * 20), 0, 0));
  s.Canvas().CopyRect(Rect(2, 0, 10, 1), &s.Canvas(), Rect(0, 0, 8, 1));
  for (int x = 0; x < 8; ++x) EXPECT_EQ(s.At(x + 2, 0), RGB(static_cast<uint8_t>(x * 20), 0, 0)) << x;
}

TEST(RasterCanvasBitmap, BrushCopyReplacesTheColourByTheBrush) {
  TBitmap bitmap(2, 2);
  bitmap.SetPixel(0, 0, clFuchsia);
  bitmap.SetPixel(1, 0, clBlack);
  bitmap.SetPixel(0, 1, clBlack);
  bitmap.SetPixel(1, 1, clFuchsia);
  TCanvasSurface s(8, 8);
  s.Canvas().Brush()->SetColor(clLime);
  s.Canvas().BrushCopy(Rect(0, 0, 2, 2), &bitmap, Rect(0, 0, 2, 2), clFuchsia);
  EXPECT_EQ(s.At(0, 0), clLime);
  EXPECT_EQ(s.At(1, 0), clBlack);
  EXPECT_EQ(s.At(1, 1), clLime);
}

// --- Clipping ---

TEST(RasterCanvasClip, NothingIsDrawnOutsideTheClipRectangle) {
  TCanvasSurface s;
  TRasterCanvas& c = s.Canvas();
  c.SetClipRect(Rect(20, 20, 40, 40));
  c.Brush()->SetColor(clRed);
  c.FillRect(Rect(0, 0, 64, 64));
  c.Pen()->SetWidth(5);
  c.Ellipse(0, 0, 64, 64);
  c.MoveTo(0, 0);
  c.LineTo(63, 63);
  c.Pen()->SetWidth(1);
  c.Polygon({Point(0, 30), Point(63, 25), Point(30, 63)});
  c.Pie(0, 0, 64, 64, 0, 0, 64, 0);
  c.DrawFocusRect(Rect(10, 10, 50, 50));
  c.SetPixel(5, 5, clBlue);
  c.FloodFill(30, 30, clGreen, fsBorder);
  c.TextOut(0, 22, "WWWWWWWWWW");
  TBitmap bitmap(4, 4);
  c.StretchBitmap(Rect(0, 0, 64, 64), &bitmap, Rect(0, 0, 4, 4), cmSrcCopy);
  for (const auto& p : s.WhereNot(clWhite)) {
    EXPECT_GE(p.first, 20);
    EXPECT_LT(p.first, 40);
    EXPECT_GE(p.second, 20);
    EXPECT_LT(p.second, 40);
  }
  EXPECT_EQ(c.Pixels(5, 5), -1);
  c.ClearClipRect();
  c.FillRect(Rect(0, 0, 64, 64));
  EXPECT_EQ(s.At(5, 5), clRed);
}

TEST(RasterCanvasClip, ClipRectAnswersTheDeviceWithoutClipping) {
  TCanvasSurface s(30, 20);
  EXPECT_EQ(s.Canvas().ClipRect(), Rect(0, 0, 30, 20));
  s.Canvas().SetClipRect(Rect(9, 8, 2, 3));
  EXPECT_EQ(s.Canvas().ClipRect(), Rect(2, 3, 9, 8));
  s.Canvas().SetClipRect(Rect(5, 5, 5, 9));  // empty: clips nothing
  EXPECT_EQ(s.Canvas().ClipRect(), Rect(0, 0, 30, 20));
}

TEST(RasterCanvasClip, FiguresFarOutsideTheDeviceAreCheap) {
  TCanvasSurface s;
  s.Canvas().Brush()->SetStyle(bsClear);
  s.Canvas().MoveTo(-2000000000, 10);
  s.Canvas().LineTo(2000000000, 10);
  s.Canvas().Rectangle(-1000000000, -1000000000, 1000000000, 1000000000);
  EXPECT_EQ(s.At(30, 10), clBlack);
  EXPECT_EQ(s.At(30, 30), clWhite);
}

TEST(RasterCanvas, EmptyImageIsHarmless) {
  TBitmapImage empty;
  TRasterCanvas c(&empty);
  EXPECT_EQ(c.DeviceSize(), (TSize{0, 0}));
  c.Rectangle(0, 0, 10, 10);
  c.FillRect(Rect(0, 0, 5, 5));
  c.FloodFill(0, 0, clBlack, fsBorder);
  c.TextOut(0, 0, "x");
  EXPECT_EQ(c.Pixels(0, 0), -1);
}

TEST(RasterCanvas, FollowsTheImageWhenTheBitmapReplacesIt) {
  TBitmap bitmap(4, 4);
  TRasterCanvas* c = bitmap.Canvas();
  bitmap.SetSize(20, 10);
  EXPECT_EQ(c->DeviceSize(), (TSize{20, 10}));
  c->Brush()->SetColor(clRed);
  c->FillRect(Rect(0, 0, 20, 10));
  EXPECT_EQ(bitmap.Pixel(19, 9), clRed);
}

}  // namespace
