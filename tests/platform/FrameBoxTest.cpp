// The frame-mode box of rectangles and ellipses and the tab-cell shading rectangle, drawn
// on a raster canvas and read back from its pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/CanvasSurface.h"
#include "platform/FrameBox.h"

namespace {

using TPixels = std::set<std::pair<int, int>>;

// The square ring Lo..Hi (inclusive) of thickness Width.
TPixels Ring(int Lo, int Hi, int Width) {
  return Minus(Block(Lo, Lo, Hi, Hi), Block(Lo + Width, Lo + Width, Hi - Width, Hi - Width));
}

TEST(FrameModeInsetTest, InsetAndShrinkByPenAndMode) {
  struct TCase {
    TPenStyle Style;
    int Width;
    uint8_t Mode;
    TFrameInset Expected;
  };
  const std::vector<TCase> cases{
      {psSolid, 3, 0, {1, 2}},   {psSolid, 3, 1, {0, 1}},       {psSolid, 3, 2, {-2, -1}},
      {psSolid, 1, 0, {0, 1}},   {psSolid, 1, 2, {-1, 0}},      {psSolid, 4, 0, {2, 2}},
      {psSolid, 4, 2, {-2, -2}}, {psInsideFrame, 3, 0, {0, 1}}, {psInsideFrame, 3, 2, {0, 1}},
      {psClear, 3, 0, {0, 0}},   {psClear, 3, 2, {0, 0}},       {psDash, 1, 1, {0, 1}},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(FrameModeInset(c.Style, c.Width, c.Mode), c.Expected)
        << "style " << c.Style << " width " << c.Width << " mode " << int(c.Mode);
  }
}

TEST(FrameModeBoxTest, ThreePixelPenBoxesAndCornerOrder) {
  EXPECT_EQ(FrameModeBox(10, 10, 20, 20, psSolid, 3, 0), Rect(11, 11, 20, 20));
  EXPECT_EQ(FrameModeBox(10, 10, 20, 20, psSolid, 3, 1), Rect(10, 10, 21, 21));
  EXPECT_EQ(FrameModeBox(10, 10, 20, 20, psSolid, 3, 2), Rect(8, 8, 23, 23));
  EXPECT_EQ(FrameModeBox(10, 10, 20, 20, psClear, 3, 0), Rect(10, 10, 22, 22));
  EXPECT_EQ(FrameModeBox(20, 20, 10, 10, psSolid, 3, 0), FrameModeBox(10, 10, 20, 20, psSolid, 3, 0));
  EXPECT_EQ(FrameModeBox(20, 10, 10, 20, psSolid, 3, 2), FrameModeBox(10, 20, 20, 10, psSolid, 3, 2));
}

// A box from (10, 10) to (20, 20) with a 3-pixel black pen and a red brush.
struct TFrameCase {
  const char* Name;
  TPenStyle Style;
  uint8_t Mode;
  TPixels Pen;
  TPixels Brush;
};

TEST(DrawFrameBoxTest, RectangleWithAThreePixelPenInEveryFrameMode) {
  const std::vector<TFrameCase> cases{
      {"inside", psSolid, 0, Ring(10, 20, 3), Block(13, 13, 17, 17)},
      {"centred", psSolid, 1, Ring(9, 21, 3), Block(12, 12, 18, 18)},
      {"outside", psSolid, 2, Ring(7, 23, 3), Block(10, 10, 20, 20)},
      {"inside frame pen", psInsideFrame, 2, Ring(10, 20, 3), Block(13, 13, 17, 17)},
      {"no pen", psClear, 2, {}, Block(10, 10, 20, 20)},
  };
  for (const TFrameCase& c : cases) {
    TCanvasSurface s(40, 40);
    s.Canvas().Pen()->SetWidth(3);
    s.Canvas().Pen()->SetStyle(c.Style);
    s.Canvas().Brush()->SetColor(clRed);
    DrawFrameBox(&s.Canvas(), ffRectangle, 10, 10, 20, 20, c.Mode);
    EXPECT_EQ(s.WhereColor(clBlack), c.Pen) << c.Name;
    EXPECT_EQ(s.WhereColor(clRed), c.Brush) << c.Name;
    EXPECT_EQ(s.WhereNot(clWhite).size(), c.Pen.size() + c.Brush.size()) << c.Name;
  }
}

// The drawn pixels of row Y (Horizontal) or column Y, as coordinates along it.
std::vector<int> Across(const TCanvasSurface& S, int Y, bool Horizontal) {
  std::vector<int> result;
  for (int i = 0; i < (Horizontal ? S.Width() : S.Height()); ++i) {
    if ((Horizontal ? S.At(i, Y) : S.At(Y, i)) != clWhite) result.push_back(i);
  }
  return result;
}

std::vector<int> Span(int From, int Count) {
  std::vector<int> result;
  for (int i = 0; i < Count; ++i) result.push_back(From + i);
  return result;
}

// Wide pens round their corners, so the frame is read where it crosses the middle row and
// the middle column: exactly W pixels on each side, just inside or just outside the box.
TEST(DrawFrameBoxTest, FrameHugsTheBoxFromInsideOrOutsideOnAllSidesForEveryPenWidth) {
  for (int width = 1; width <= 4; ++width) {
    for (const uint8_t mode : {uint8_t{0}, uint8_t{2}}) {
      TCanvasSurface s(48, 48);
      s.Canvas().Pen()->SetWidth(width);
      s.Canvas().Brush()->SetStyle(bsClear);
      DrawFrameBox(&s.Canvas(), ffRectangle, 15, 15, 30, 30, mode);
      std::vector<int> expected = mode == 0 ? Span(15, width) : Span(15 - width, width);
      const std::vector<int> far = mode == 0 ? Span(31 - width, width) : Span(31, width);
      expected.insert(expected.end(), far.begin(), far.end());
      EXPECT_EQ(Across(s, 22, true), expected) << "row, width " << width << " mode " << int(mode);
      EXPECT_EQ(Across(s, 22, false), expected) << "column, width " << width << " mode " << int(mode);
    }
  }
}

TEST(DrawFrameBoxTest, CornersInAnyOrderDrawTheSameFigure) {
  for (const TFrameFigure figure : {ffRectangle, ffEllipse}) {
    TCanvasSurface a(40, 40);
    TCanvasSurface b(40, 40);
    for (TCanvasSurface* s : {&a, &b}) {
      s->Canvas().Pen()->SetWidth(3);
      s->Canvas().Brush()->SetColor(clBlue);
    }
    DrawFrameBox(&a.Canvas(), figure, 10, 12, 25, 30, 0);
    DrawFrameBox(&b.Canvas(), figure, 25, 30, 10, 12, 0);
    EXPECT_FALSE(a.WhereNot(clWhite).empty());
    EXPECT_EQ(a.WhereNot(clWhite), b.WhereNot(clWhite));
    EXPECT_EQ(a.WhereColor(clBlue), b.WhereColor(clBlue));
  }
}

TEST(DrawFrameBoxTest, EllipseReachesTheEdgesTheFrameModeGives) {
  struct TCase {
    TPenStyle Style;
    uint8_t Mode;
    int Lo;
    int Hi;
  };
  const std::vector<TCase> cases{{psSolid, 0, 10, 20}, {psSolid, 1, 9, 21}, {psSolid, 2, 7, 23}};
  for (const TCase& c : cases) {
    TCanvasSurface s(40, 40);
    s.Canvas().Pen()->SetWidth(3);
    s.Canvas().Pen()->SetStyle(c.Style);
    s.Canvas().Brush()->SetColor(clRed);
    DrawFrameBox(&s.Canvas(), ffEllipse, 10, 10, 20, 20, c.Mode);
    const TPixels drawn = s.WhereNot(clWhite);
    ASSERT_FALSE(drawn.empty());
    int left = 99, right = -1, top = 99, bottom = -1;
    for (const auto& [x, y] : drawn) {
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
    EXPECT_EQ(left, c.Lo) << "mode " << int(c.Mode);
    EXPECT_EQ(top, c.Lo) << "mode " << int(c.Mode);
    EXPECT_EQ(right, c.Hi) << "mode " << int(c.Mode);
    EXPECT_EQ(bottom, c.Hi) << "mode " << int(c.Mode);
  }
}

TEST(DrawTabRectangleTest, NeighbouringCellsMeetWithoutGapOrOverlap) {
  TCanvasSurface s(48, 32);
  s.Canvas().Pen()->SetStyle(psClear);
  s.Canvas().Brush()->SetColor(clRed);
  DrawTabRectangle(&s.Canvas(), 10, 10, 20, 20);
  s.Canvas().Brush()->SetColor(clBlue);
  DrawTabRectangle(&s.Canvas(), 20, 10, 30, 20);
  EXPECT_EQ(s.WhereColor(clRed), Block(10, 10, 19, 19));
  EXPECT_EQ(s.WhereColor(clBlue), Block(20, 10, 29, 19));
  EXPECT_EQ(s.WhereNot(clWhite).size(), 200u);
}

TEST(DrawTabRectangleTest, IgnoresTheFrameModeRulesAndUsesThePenAsItIs) {
  TCanvasSurface s(32, 32);
  s.Canvas().Brush()->SetStyle(bsClear);
  DrawTabRectangle(&s.Canvas(), 10, 10, 20, 20);  // a one-pixel pen outlines 10..20
  EXPECT_EQ(s.WhereColor(clBlack), Ring(10, 20, 1));
}

}  // namespace
