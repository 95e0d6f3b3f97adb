// The text helper the canvas engines draw with: reference point and alignment, background
// mode, and block text spread over a width.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/Bitmap.h"
#include "platform/CanvasText.h"
#include "platform/FontMetrics.h"
#include "platform/RasterCanvas.h"

namespace {

std::shared_ptr<TLogicalFont> Arial(int Pixels, int Escapement = 0) {
  TLogFont lf;
  lf.lfHeight = -Pixels;
  lf.lfEscapement = Escapement;
  lf.lfFaceName = "Arial";
  return CreateFontIndirect(lf);
}

// Leftmost and rightmost ink columns in rows Top..Bottom - 1; -1, -1 when there is none.
std::pair<int, int> InkColumns(TBitmap& Bitmap, int Top = 0, int Bottom = -1) {
  if (Bottom < 0) Bottom = Bitmap.Height();
  int left = -1;
  int right = -1;
  for (int y = Top; y < Bottom; ++y) {
    for (int x = 0; x < Bitmap.Width(); ++x) {
      if (Bitmap.Pixel(x, y) == clWhite) continue;
      if (left < 0 || x < left) left = x;
      right = std::max(right, x);
    }
  }
  return {left, right};
}

int Differences(TBitmap& A, TBitmap& B) {
  int count = 0;
  for (int y = 0; y < A.Height(); ++y)
    for (int x = 0; x < A.Width(); ++x) count += A.Pixel(x, y) != B.Pixel(x, y) ? 1 : 0;
  return count;
}

TEST(CanvasTextHelperTest, DrawsAtTheReferenceAndRestoresTheCanvas) {
  struct TCase {
    TTextVertical Vertical;
    TTextHorizontal Horizontal;
    unsigned Align;
  };
  const std::vector<TCase> table{{tvTop, thLeft, TA_TOP | TA_LEFT},
                                 {tvBaseline, thCenter, TA_BASELINE | TA_CENTER},
                                 {tvBottom, thRight, TA_BOTTOM | TA_RIGHT},
                                 {tvBaseline, thLeft, TA_BASELINE | TA_LEFT}};
  for (const TCase& c : table) {
    TBitmap got(200, 100);
    TBitmap want(200, 100);
    const auto font = Arial(30);
    for (TBitmap* bitmap : {&got, &want}) bitmap->Canvas()->SelectFont(font);
    TCanvas* canvas = got.Canvas();
    canvas->SetTextAlign(TA_UPDATECP);
    canvas->SetBkMode(OPAQUE);
    canvas->SetBkColor(clYellow);
    DrawAlignedText(canvas, "Hg", 100, 50, c.Vertical, c.Horizontal, false);
    EXPECT_EQ(canvas->TextAlign(), TA_UPDATECP);
    EXPECT_EQ(canvas->BkMode(), OPAQUE);
    want.Canvas()->SetBkMode(TRANSPARENT);
    want.Canvas()->SetTextAlign(c.Align);
    want.Canvas()->ExtTextOut(100, 50, 0, nullptr, "Hg");
    EXPECT_EQ(Differences(got, want), 0) << c.Align;
    EXPECT_GE(InkColumns(got).first, 0);
  }
}

TEST(CanvasTextHelperTest, OpaqueFillsTheCellWithTheBackground) {
  TBitmap bitmap(200, 100);
  TCanvas* canvas = bitmap.Canvas();
  canvas->SelectFont(Arial(30));
  canvas->SetBkColor(clAqua);
  DrawAlignedText(canvas, "ab", 20, 10, tvTop, thLeft, true);
  const TSize extent = canvas->GetTextExtentPoint("ab");
  EXPECT_EQ(bitmap.Pixel(20, 10), clAqua);
  EXPECT_EQ(bitmap.Pixel(20 + extent.cx - 1, 10 + extent.cy - 1), clAqua);
  EXPECT_EQ(bitmap.Pixel(20 + extent.cx, 10), clWhite);
  EXPECT_EQ(bitmap.Pixel(19, 10), clWhite);
  EXPECT_EQ(bitmap.Pixel(20, 10 + extent.cy), clWhite);
}

TEST(CanvasTextHelperTest, BlockTextLayout) {
  struct TCase {
    std::string Text;
    std::string Block;
    int Gaps;
  };
  const std::vector<TCase> table{
      {"ABC", "A B C", 2},
      {"a b", "a b", 1},
      {"a  b c", "a  b c", 2},
      {"  lead", "  l e a d", 3},
      {"trail  ", "t r a i l  ", 4},
      {"one ", "o n e ", 2},
      {"x", "x", 1},
      {"", "", 1},
      {"a b  ", "a b  ", 1},
  };
  for (const TCase& c : table) {
    EXPECT_EQ(BlockText(c.Text), c.Block) << c.Text;
    EXPECT_EQ(BlockGaps(c.Text), c.Gaps) << c.Text;
  }
  TBitmap bitmap(10, 10);
  bitmap.Canvas()->SelectFont(Arial(20));
  EXPECT_EQ(BlockTextWidth(bitmap.Canvas(), "a b  "), bitmap.Canvas()->GetTextExtentPoint("a b").cx);
  EXPECT_EQ(BlockTextWidth(bitmap.Canvas(), "ABC"), bitmap.Canvas()->GetTextExtentPoint("A B C").cx);
}

TEST(CanvasTextHelperTest, BlockTextEndsWhereTheExtraWidthSays) {
  for (const double extra : {0.0, 7.5, 40.25, -2.0}) {
    TBitmap got(600, 100);
    TBitmap want(600, 100);
    const auto font = Arial(24);
    for (TBitmap* bitmap : {&got, &want}) bitmap->Canvas()->SelectFont(font);
    const std::string text = "left middle  right  ";
    DrawBlockText(got.Canvas(), text, 10, 60, tvBaseline, false, extra);
    // Words by hand: the last one ends at X + width without trailing spaces + 2 × extra.
    TCanvas* canvas = want.Canvas();
    canvas->SetBkMode(TRANSPARENT);
    const double end = 10 + BlockTextWidth(canvas, text) + 2 * extra;
    canvas->SetTextAlign(TA_BASELINE | TA_LEFT);
    canvas->ExtTextOut(10, 60, 0, nullptr, "left");
    canvas->SetTextAlign(TA_BASELINE | TA_RIGHT);
    const double middleEnd = 10 + canvas->GetTextExtentPoint("left middle").cx + extra;
    canvas->ExtTextOut(static_cast<int>(std::lround(middleEnd)), 60, 0, nullptr, "middle");
    canvas->ExtTextOut(static_cast<int>(std::lround(end)), 60, 0, nullptr, "right");
    EXPECT_EQ(Differences(got, want), 0) << extra;
  }
}

TEST(CanvasTextHelperTest, TurnedBlockTextFollowsItsBaseline) {
  TBitmap bitmap(100, 400);
  bitmap.Canvas()->SelectFont(Arial(20, 900));
  DrawBlockText(bitmap.Canvas(), "up we go", 50, 350, tvBaseline, false, 20);
  // Going up from (50, 350): everything lies above the start and close to the column.
  int top = bitmap.Height();
  int bottom = -1;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (bitmap.Pixel(x, y) != clWhite) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  const int width = BlockTextWidth(bitmap.Canvas(), "up we go") + 2 * 20;
  EXPECT_LE(bottom, 350);
  EXPECT_NEAR(top, 350 - width, 3);
  const auto columns = InkColumns(bitmap);
  EXPECT_GE(columns.first, 25);
  EXPECT_LE(columns.second, 60);
}

}  // namespace
