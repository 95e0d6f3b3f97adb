#include <gtest/gtest.h>

#include "platform/CanvasSurface.h"
#include "platform/FontMetrics.h"

namespace {

TEST(Canvas, DeviceStateSettersReturnThePreviousValue) {
  TCanvasSurface s(8, 8);
  TCanvas& c = s.Canvas();
  EXPECT_EQ(c.SetTextAlign(TA_BASELINE | TA_RIGHT), TA_LEFT | TA_TOP);
  EXPECT_EQ(c.SetTextAlign(TA_TOP), TA_BASELINE | TA_RIGHT);
  EXPECT_EQ(c.SetTextColor(clRed), ColorToRGB(clWindowText));
  EXPECT_EQ(c.SetTextColor(clBlue), clRed);
  EXPECT_EQ(c.SetBkColor(clYellow), clWhite);
  EXPECT_EQ(c.SetBkColor(clAqua), clYellow);
  EXPECT_EQ(c.SetBkMode(TRANSPARENT), OPAQUE);
  EXPECT_EQ(c.SetBkMode(OPAQUE), TRANSPARENT);
  // System colours arrive resolved.
  c.SetBkColor(clBtnFace);
  EXPECT_EQ(c.BkColor(), ColorToRGB(clBtnFace));
}

TEST(Canvas, BrushChangesSetTheBackgroundAsTheVclDoes) {
  TCanvasSurface s(8, 8);
  TCanvas& c = s.Canvas();
  c.SetBkMode(TRANSPARENT);
  c.Brush()->SetColor(clLime);
  EXPECT_EQ(c.BkMode(), OPAQUE);
  EXPECT_EQ(c.BkColor(), clLime);
  c.Brush()->SetStyle(bsClear);
  EXPECT_EQ(c.BkMode(), TRANSPARENT);
  c.Brush()->SetStyle(bsCross);
  EXPECT_EQ(c.BkMode(), TRANSPARENT);
  EXPECT_NE(c.BkColor(), clLime);  // a hatch drawn opaque later still shows its lines
}

TEST(Canvas, FontChangesSetTheTextColourAndSelectTheFontAgain) {
  TCanvasSurface s(8, 8);
  TCanvas& c = s.Canvas();
  c.Font()->SetName("Arial");
  c.Font()->SetSize(10);
  const std::shared_ptr<TLogicalFont> first = c.SelectedFont();
  EXPECT_EQ(first->LogFont().lfHeight, c.Font()->Height());
  c.SetTextColor(clBlue);
  c.Font()->SetColor(clRed);
  EXPECT_EQ(c.TextColor(), clRed);
  c.Font()->SetSize(20);
  EXPECT_NE(c.SelectedFont(), first);
  EXPECT_EQ(c.SelectedFont()->LogFont().lfHeight, c.Font()->Height());
}

TEST(Canvas, SelectFontOverridesUntilTheCanvasFontChanges) {
  TCanvasSurface s(8, 8);
  TCanvas& c = s.Canvas();
  c.Font()->SetName("Arial");
  c.Font()->SetSize(10);
  const std::shared_ptr<TLogicalFont> own = c.SelectedFont();
  TLogFont lf = own->LogFont();
  lf.lfHeight = -40;
  const std::shared_ptr<TLogicalFont> big = CreateFontIndirect(lf);
  EXPECT_EQ(c.SelectFont(big), own);
  EXPECT_EQ(c.SelectedFont(), big);
  EXPECT_EQ(c.GetTextMetrics().tmHeight, big->TextMetrics().tmHeight);
  EXPECT_EQ(c.TextExtent("Wide"), big->TextExtent("Wide"));
  EXPECT_EQ(c.SelectFont(own), big);
  c.SelectFont(big);
  c.Font()->SetStyle({fsBold});
  EXPECT_NE(c.SelectedFont(), big);
  EXPECT_TRUE(c.SelectedFont()->LogFont().lfWeight >= FW_BOLD);
}

TEST(Canvas, SelectingNoFontGoesBackToTheCanvasFont) {
  TCanvasSurface s(8, 8);
  TCanvas& c = s.Canvas();
  c.Font()->SetName("Arial");
  c.Font()->SetSize(10);
  TLogFont lf = c.SelectedFont()->LogFont();
  lf.lfHeight = -33;
  const std::shared_ptr<TLogicalFont> big = CreateFontIndirect(lf);
  c.SelectFont(big);
  EXPECT_EQ(c.SelectFont(nullptr), big);
  ASSERT_NE(c.SelectedFont(), nullptr);
  EXPECT_EQ(c.SelectedFont()->LogFont().lfHeight, c.Font()->Height());
  EXPECT_EQ(c.GetTextMetrics().tmHeight, c.Font()->Handle()->TextMetrics().tmHeight);
}

TEST(Canvas, TextExtentIsTheSumOfCharacterWidths) {
  TCanvasSurface s(8, 8);
  TCanvas& c = s.Canvas();
  c.Font()->SetName("Times New Roman");
  c.Font()->SetSize(12);
  const std::shared_ptr<TLogicalFont> font = c.SelectedFont();
  int sum = 0;
  for (char ch : std::string("Quick fox")) sum += font->CharWidth(static_cast<uint8_t>(ch));
  EXPECT_EQ(c.TextWidth("Quick fox"), sum);
  EXPECT_EQ(c.TextHeight("Quick fox"), c.GetTextMetrics().tmHeight);
  EXPECT_EQ(c.TextExtent(""), (TSize{0, 0}));
}

TEST(Canvas, ResolutionReachesTheFont) {
  TCanvasSurface s(8, 8);
  TRasterCanvas& c = s.Canvas();
  EXPECT_EQ(c.PixelsPerInchX(), 96);
  EXPECT_EQ(c.Font()->PixelsPerInch(), 96);
  c.SetPixelsPerInch(300);
  EXPECT_EQ(c.PixelsPerInchY(), 300);
  EXPECT_EQ(c.Font()->PixelsPerInch(), 300);
  c.Font()->SetSize(12);
  EXPECT_EQ(c.Font()->Height(), -50);
}

TEST(Canvas, MoveToAndLineToKeepThePenPosition) {
  TCanvasSurface s(16, 16);
  TCanvas& c = s.Canvas();
  c.MoveTo(3, 4);
  EXPECT_EQ(c.PenPos(), Point(3, 4));
  c.LineTo(9, 4);
  c.LineTo(9, 12);
  EXPECT_EQ(c.PenPos(), Point(9, 12));
  EXPECT_EQ(s.At(9, 4), clBlack);   // the corner is drawn by the second line
  EXPECT_EQ(s.At(9, 12), clWhite);  // the end is not
  c.SetPenPos(Point(1, 1));
  c.LineTo(1, 3);
  EXPECT_EQ(s.At(1, 1), clBlack);
}

}  // namespace
