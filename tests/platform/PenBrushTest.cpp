#include <gtest/gtest.h>

#include <functional>

#include "platform/Bitmap.h"
#include "platform/Brush.h"
#include "platform/Pen.h"

namespace {

// Counts OnChange calls of a graphics object.
template <typename T>
int ChangesDuring(T& Object, const std::function<void()>& Action) {
  int changes = 0;
  Object.OnChange = [&changes](TObject*) { ++changes; };
  Action();
  Object.OnChange = nullptr;
  return changes;
}

TEST(Pen, Defaults) {
  TPen pen;
  EXPECT_EQ(pen.Color(), clBlack);
  EXPECT_EQ(pen.Style(), psSolid);
  EXPECT_EQ(pen.Width(), 1);
  EXPECT_EQ(pen.Mode(), pmCopy);
}

TEST(Pen, WidthBelowOneBecomesOne) {
  TPen pen;
  pen.SetWidth(5);
  for (int w : {0, -3}) {
    pen.SetWidth(w);
    EXPECT_EQ(pen.Width(), 1);
    pen.SetWidth(5);
  }
}

TEST(Pen, OnChangeFiresOncePerRealChange) {
  TPen pen;
  EXPECT_EQ(ChangesDuring(pen, [&] { pen.SetColor(clRed); }), 1);
  EXPECT_EQ(ChangesDuring(pen, [&] { pen.SetColor(clRed); }), 0);
  EXPECT_EQ(ChangesDuring(pen, [&] { pen.SetStyle(psDot); }), 1);
  EXPECT_EQ(ChangesDuring(pen, [&] { pen.SetStyle(psDot); }), 0);
  EXPECT_EQ(ChangesDuring(pen, [&] { pen.SetWidth(3); }), 1);
  EXPECT_EQ(ChangesDuring(pen, [&] { pen.SetWidth(3); }), 0);
  EXPECT_EQ(ChangesDuring(pen, [&] { pen.SetMode(pmXor); }), 1);
  EXPECT_EQ(ChangesDuring(pen, [&] { pen.SetMode(pmXor); }), 0);
  pen.SetWidth(1);
  EXPECT_EQ(ChangesDuring(pen, [&] { pen.SetWidth(0); }), 0);  // 0 means 1: no change
}

TEST(Pen, AssignCopiesEverythingWithOneChange) {
  TPen source;
  source.SetColor(clBlue);
  source.SetStyle(psDashDot);
  source.SetWidth(4);
  source.SetMode(pmNotXor);
  TPen dest;
  EXPECT_EQ(ChangesDuring(dest, [&] { dest.Assign(&source); }), 1);
  EXPECT_EQ(dest.Color(), clBlue);
  EXPECT_EQ(dest.Style(), psDashDot);
  EXPECT_EQ(dest.Width(), 4);
  EXPECT_EQ(dest.Mode(), pmNotXor);
  EXPECT_EQ(ChangesDuring(dest, [&] { dest.Assign(&source); }), 0);
}

TEST(Brush, Defaults) {
  TBrush brush;
  EXPECT_EQ(brush.Color(), clWhite);
  EXPECT_EQ(brush.Style(), bsSolid);
  EXPECT_EQ(brush.Bitmap(), nullptr);
}

TEST(Brush, ColourTurnsAClearBrushSolid) {
  TBrush brush;
  brush.SetStyle(bsClear);
  EXPECT_EQ(ChangesDuring(brush, [&] { brush.SetColor(clWhite); }), 1);  // same colour, new style
  EXPECT_EQ(brush.Style(), bsSolid);
  brush.SetStyle(bsCross);
  brush.SetColor(clRed);
  EXPECT_EQ(brush.Style(), bsCross);  // hatched brushes keep their hatch
}

TEST(Brush, OnChangeFiresOncePerRealChange) {
  TBrush brush;
  EXPECT_EQ(ChangesDuring(brush, [&] { brush.SetColor(clYellow); }), 1);
  EXPECT_EQ(ChangesDuring(brush, [&] { brush.SetColor(clYellow); }), 0);
  EXPECT_EQ(ChangesDuring(brush, [&] { brush.SetStyle(bsDiagCross); }), 1);
  EXPECT_EQ(ChangesDuring(brush, [&] { brush.SetStyle(bsDiagCross); }), 0);
  EXPECT_EQ(ChangesDuring(brush, [&] { brush.SetBitmap(nullptr); }), 0);
}

TEST(Brush, PatternIsACopy) {
  TBitmap pattern(8, 8);
  pattern.SetPixel(2, 3, clRed);
  TBrush brush;
  EXPECT_EQ(ChangesDuring(brush, [&] { brush.SetBitmap(&pattern); }), 1);
  ASSERT_NE(brush.Bitmap(), nullptr);
  EXPECT_NE(brush.Bitmap(), &pattern);
  pattern.SetPixel(2, 3, clBlue);
  EXPECT_EQ(brush.Bitmap()->Width(), 8);
  EXPECT_EQ(brush.Bitmap()->Pixel(2, 3), clRed);
  EXPECT_EQ(ChangesDuring(brush, [&] { brush.SetBitmap(nullptr); }), 1);
  EXPECT_EQ(brush.Bitmap(), nullptr);
}

TEST(Brush, AssignCopiesColourStyleAndPattern) {
  TBitmap pattern(4, 4);
  TBrush source;
  source.SetColor(clGreen);
  source.SetStyle(bsHorizontal);
  source.SetBitmap(&pattern);
  TBrush dest;
  EXPECT_EQ(ChangesDuring(dest, [&] { dest.Assign(&source); }), 1);
  EXPECT_EQ(dest.Color(), clGreen);
  EXPECT_EQ(dest.Style(), bsHorizontal);
  ASSERT_NE(dest.Bitmap(), nullptr);
  EXPECT_NE(dest.Bitmap(), source.Bitmap());
  EXPECT_EQ(dest.Bitmap()->Height(), 4);
}

}  // namespace
