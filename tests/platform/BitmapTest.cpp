// TBitmap: size changes, pixels, transparency, monochrome conversion, assignment, drawing.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "PictureTestTools.h"
#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/RasterCanvas.h"
#include "platform/Stream.h"

using namespace picturetest;

namespace {

TColor PatternColor(int x, int y) {
  return RGB(x * 40 + 10, y * 30 + 20, (x + y) * 7 + 1);
}

std::unique_ptr<TBitmap> PatternBitmap(int width, int height) {
  auto bitmap = std::make_unique<TBitmap>(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bitmap->SetPixel(x, y, PatternColor(x, y));
  return bitmap;
}

// A picture class of the test's own: it fills the left half of where it is drawn.
class THalfFilledGraphic : public TGraphic {
public:
  THalfFilledGraphic(int w, int h, TColor color) : FWidth(w), FHeight(h), FColor(color) {}
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  void SetWidth(int v) override { FWidth = v; }
  void SetHeight(int v) override { FHeight = v; }
  bool Empty() const override { return FWidth == 0 || FHeight == 0; }
  void LoadFromStream(TStream*) override {}
  void SaveToStream(TStream*) override {}
  void Draw(TCanvas* canvas, const TRect& r) override {
    canvas->Brush()->SetColor(FColor);
    canvas->FillRect(Rect(r.Left, r.Top, r.Left + r.Width() / 2, r.Bottom));
  }
  std::unique_ptr<TGraphic> Clone() const override {
    return std::make_unique<THalfFilledGraphic>(FWidth, FHeight, FColor);
  }

private:
  int FWidth, FHeight;
  TColor FColor;
};

}  // namespace

TEST(Bitmap, NewBitmapIsEmpty) {
  TBitmap bitmap;
  EXPECT_EQ(0, bitmap.Width());
  EXPECT_EQ(0, bitmap.Height());
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_EQ(pfDevice, bitmap.PixelFormat());
  EXPECT_FALSE(bitmap.Monochrome());
  EXPECT_FALSE(bitmap.Transparent());
  EXPECT_EQ(tmAuto, bitmap.TransparentMode());
}

TEST(Bitmap, SizedBitmapIsWhite) {
  TBitmap bitmap(3, 2);
  EXPECT_FALSE(bitmap.Empty());
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(clWhite, bitmap.Pixel(x, y));
}

TEST(Bitmap, ResizingKeepsTheKeptAreaAndWhitensTheNewArea) {
  struct TCase {
    int Width, Height;
  };
  for (TCase c : {TCase{6, 3}, TCase{4, 5}, TCase{2, 2}, TCase{7, 1}, TCase{1, 6}, TCase{4, 3}}) {
    auto bitmap = PatternBitmap(4, 3);
    bitmap->SetSize(c.Width, c.Height);
    ASSERT_EQ(c.Width, bitmap->Width());
    ASSERT_EQ(c.Height, bitmap->Height());
    for (int y = 0; y < c.Height; ++y)
      for (int x = 0; x < c.Width; ++x) {
        const TColor expected = (x < 4 && y < 3) ? PatternColor(x, y) : clWhite;
        EXPECT_EQ(expected, bitmap->Pixel(x, y)) << c.Width << "x" << c.Height << " at " << x << "," << y;
      }
  }
}

TEST(Bitmap, WidthAndHeightChangeSeparately) {
  auto bitmap = PatternBitmap(4, 3);
  bitmap->SetWidth(6);
  EXPECT_EQ(6, bitmap->Width());
  EXPECT_EQ(3, bitmap->Height());
  EXPECT_EQ(PatternColor(3, 2), bitmap->Pixel(3, 2));
  EXPECT_EQ(clWhite, bitmap->Pixel(5, 2));
  bitmap->SetHeight(1);
  EXPECT_EQ(6, bitmap->Width());
  EXPECT_EQ(1, bitmap->Height());
  EXPECT_EQ(PatternColor(2, 0), bitmap->Pixel(2, 0));
}

TEST(Bitmap, ZeroWidthIsEmptyButKeepsTheHeight) {
  TBitmap bitmap(5, 4);
  bitmap.SetWidth(0);
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_EQ(0, bitmap.Width());
  EXPECT_EQ(4, bitmap.Height());
  bitmap.SetWidth(3);
  EXPECT_EQ(3, bitmap.Width());
  EXPECT_EQ(4, bitmap.Height());
  EXPECT_EQ(clWhite, bitmap.Pixel(2, 3));
  bitmap.SetSize(-5, 2);
  EXPECT_EQ(0, bitmap.Width());
  EXPECT_TRUE(bitmap.Empty());
}

TEST(Bitmap, AbsurdSizeRaisesOutOfMemory) {
  TBitmap bitmap;
  EXPECT_THROW(bitmap.SetSize(40000, 10), EOutOfMemory);
  EXPECT_THROW(bitmap.SetSize(30000, 30000), EOutOfMemory);
  EXPECT_TRUE(bitmap.Empty());
}

TEST(Bitmap, PixelsInsideAndOutside) {
  TBitmap bitmap(3, 3);
  bitmap.SetPixel(1, 2, RGB(1, 2, 3));
  EXPECT_EQ(RGB(1, 2, 3), bitmap.Pixel(1, 2));
  bitmap.SetPixel(0, 0, clBtnFace);  // a system colour is resolved
  EXPECT_EQ(ColorToRGB(clBtnFace), bitmap.Pixel(0, 0));
  for (auto [x, y] : {std::pair{-1, 0}, std::pair{0, -1}, std::pair{3, 0}, std::pair{0, 3}}) {
    EXPECT_EQ(-1, bitmap.Pixel(x, y));
    bitmap.SetPixel(x, y, clRed);  // ignored
  }
  EXPECT_EQ(-1, TBitmap().Pixel(0, 0));
}

TEST(Bitmap, TransparentColorFollowsTheBottomLeftPixelInAutoMode) {
  auto bitmap = PatternBitmap(4, 3);
  EXPECT_EQ(PatternColor(0, 2), bitmap->TransparentColor());
  bitmap->SetPixel(0, 2, clLime);
  EXPECT_EQ(clLime, bitmap->TransparentColor());

  bitmap->SetTransparentColor(clRed);
  EXPECT_EQ(tmFixed, bitmap->TransparentMode());
  EXPECT_EQ(clRed, bitmap->TransparentColor());

  bitmap->SetTransparentMode(tmAuto);
  EXPECT_EQ(clLime, bitmap->TransparentColor());
  // Fixing the mode keeps the colour of that moment.
  bitmap->SetTransparentMode(tmFixed);
  bitmap->SetPixel(0, 2, clNavy);
  EXPECT_EQ(clLime, bitmap->TransparentColor());
  bitmap->SetTransparentColor(clDefault);
  EXPECT_EQ(tmAuto, bitmap->TransparentMode());
  EXPECT_EQ(clNavy, bitmap->TransparentColor());
}

TEST(Bitmap, MonochromeThresholdsLuminance) {
  struct TCase {
    TColor Color;
    TColor Expected;
  };
  // Luminance (11 R + 16 G + 5 B) / 32; 128 and above is white.
  const std::vector<TCase> cases = {
      {RGB(128, 128, 128), clWhite},
      {RGB(127, 127, 127), clBlack},
      {clRed, clBlack},
      {clLime, clBlack},  // 127.5 rounds down
      {clYellow, clWhite},
      {clBlue, clBlack},
      {clAqua, clWhite},
      {clFuchsia, clBlack},
      {RGB(0, 255, 3), clBlack},
      {RGB(0, 255, 4), clWhite},
      {clWhite, clWhite},
      {clBlack, clBlack},
  };
  TBitmap bitmap(static_cast<int>(cases.size()), 1);
  for (size_t i = 0; i < cases.size(); ++i) bitmap.SetPixel(static_cast<int>(i), 0, cases[i].Color);
  bitmap.SetMonochrome(true);
  EXPECT_EQ(pf1bit, bitmap.PixelFormat());
  for (size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(cases[i].Expected, bitmap.Pixel(static_cast<int>(i), 0)) << "case " << i;
  // Later pixels follow the same rule, whether set directly or drawn.
  bitmap.SetPixel(0, 0, clYellow);
  EXPECT_EQ(clWhite, bitmap.Pixel(0, 0));
  bitmap.Canvas()->Brush()->SetColor(clRed);
  bitmap.Canvas()->FillRect(Rect(0, 0, 2, 1));
  EXPECT_EQ(clBlack, bitmap.Pixel(0, 0));
  EXPECT_EQ(clBlack, bitmap.Pixel(1, 0));
  // Back to colour: the pixels stay black and white, new ones keep their colour.
  bitmap.SetMonochrome(false);
  bitmap.SetPixel(2, 0, clRed);
  EXPECT_EQ(clRed, bitmap.Pixel(2, 0));
  EXPECT_EQ(clWhite, bitmap.Pixel(4, 0));
}

TEST(Bitmap, PixelFormatSelectsMonochrome) {
  auto bitmap = PatternBitmap(3, 1);
  bitmap->SetPixelFormat(pf1bit);
  EXPECT_TRUE(bitmap->Monochrome());
  EXPECT_EQ(pf1bit, bitmap->PixelFormat());
  bitmap->SetPixelFormat(pf24bit);
  EXPECT_FALSE(bitmap->Monochrome());
  EXPECT_EQ(pf24bit, bitmap->PixelFormat());
}

TEST(Bitmap, AssignMakesAnIndependentCopy) {
  auto source = PatternBitmap(4, 3);
  source->SetTransparent(true);
  source->SetTransparentColor(clRed);
  TBitmap copy;
  copy.Assign(source.get());
  source->SetPixel(1, 1, clBlack);
  source->SetSize(1, 1);
  ASSERT_EQ(4, copy.Width());
  ASSERT_EQ(3, copy.Height());
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(PatternColor(x, y), copy.Pixel(x, y));
  EXPECT_TRUE(copy.Transparent());
  EXPECT_EQ(tmFixed, copy.TransparentMode());
  EXPECT_EQ(clRed, copy.TransparentColor());
  // Drawing on the copy leaves the source alone.
  TBitmap second;
  second.Assign(&copy);
  second.Canvas()->Brush()->SetColor(clBlue);
  second.Canvas()->FillRect(Rect(0, 0, 4, 3));
  EXPECT_EQ(PatternColor(2, 2), copy.Pixel(2, 2));
  EXPECT_EQ(clBlue, second.Pixel(2, 2));

  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());
}

TEST(Bitmap, CloneCopiesPixelsAndSettings) {
  auto source = PatternBitmap(2, 2);
  source->SetMonochrome(true);
  std::unique_ptr<TGraphic> clone = source->Clone();
  auto* bitmap = dynamic_cast<TBitmap*>(clone.get());
  ASSERT_NE(nullptr, bitmap);
  EXPECT_TRUE(bitmap->Monochrome());
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(source->Pixel(x, y), bitmap->Pixel(x, y));
}

TEST(Bitmap, AssignFromAnotherGraphicDrawsItOnWhite) {
  THalfFilledGraphic graphic(6, 2, clNavy);
  TBitmap bitmap(1, 1);
  bitmap.SetPixel(0, 0, clRed);
  bitmap.Assign(&graphic);
  ASSERT_EQ(6, bitmap.Width());
  ASSERT_EQ(2, bitmap.Height());
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(x < 3 ? clNavy : clWhite, bitmap.Pixel(x, y)) << x << "," << y;
}

TEST(Bitmap, AssignFromSomethingElseRaisesConvertError) {
  TBitmap bitmap;
  TPersistent other;
  EXPECT_THROW(bitmap.Assign(&other), EConvertError);
}

TEST(Bitmap, DrawStretchesTheWholeBitmap) {
  TBitmap source(2, 2);
  source.SetPixel(0, 0, clRed);
  source.SetPixel(1, 0, clLime);
  source.SetPixel(0, 1, clBlue);
  source.SetPixel(1, 1, clYellow);
  TBitmap target(6, 6);
  target.Canvas()->StretchDraw(Rect(1, 1, 5, 5), &source);
  const TColor quadrant[2][2] = {{clRed, clLime}, {clBlue, clYellow}};
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool inside = x >= 1 && x < 5 && y >= 1 && y < 5;
      const TColor expected = inside ? quadrant[(y - 1) / 2][(x - 1) / 2] : clWhite;
      EXPECT_EQ(expected, target.Pixel(x, y)) << x << "," << y;
    }
}

TEST(Bitmap, TransparentDrawLeavesOutTheTransparentColour) {
  TBitmap source(2, 2);
  source.SetPixel(0, 0, clRed);
  source.SetPixel(1, 0, clBlue);  // bottom-left (0, 1) stays white
  TBitmap target(2, 2);
  target.Canvas()->Brush()->SetColor(clLime);
  target.Canvas()->FillRect(Rect(0, 0, 2, 2));

  target.Canvas()->Draw(0, 0, &source);  // not transparent: everything is copied
  EXPECT_EQ(clWhite, target.Pixel(0, 1));

  target.Canvas()->FillRect(Rect(0, 0, 2, 2));
  source.SetTransparent(true);
  target.Canvas()->Draw(0, 0, &source);
  EXPECT_EQ(clRed, target.Pixel(0, 0));
  EXPECT_EQ(clBlue, target.Pixel(1, 0));
  EXPECT_EQ(clLime, target.Pixel(0, 1));
  EXPECT_EQ(clLime, target.Pixel(1, 1));

  // A fixed transparent colour.
  target.Canvas()->FillRect(Rect(0, 0, 2, 2));
  source.SetTransparentColor(clRed);
  target.Canvas()->Draw(0, 0, &source);
  EXPECT_EQ(clLime, target.Pixel(0, 0));
  EXPECT_EQ(clWhite, target.Pixel(0, 1));
}

TEST(Bitmap, DrawUsesTheCanvasCopyMode) {
  TBitmap source(1, 1);
  source.SetPixel(0, 0, RGB(0xF0, 0x0F, 0xFF));
  TBitmap target(1, 1);
  target.SetPixel(0, 0, RGB(0x3C, 0xFF, 0x00));
  target.Canvas()->SetCopyMode(cmSrcAnd);
  target.Canvas()->Draw(0, 0, &source);
  EXPECT_EQ(RGB(0x30, 0x0F, 0x00), target.Pixel(0, 0));
}

TEST(Bitmap, CanvasSurvivesResizingAndAssignment) {
  TBitmap bitmap(2, 2);
  TRasterCanvas* canvas = bitmap.Canvas();
  bitmap.SetSize(5, 4);
  EXPECT_EQ(canvas, bitmap.Canvas());
  canvas->Brush()->SetColor(clPurple);
  canvas->FillRect(Rect(3, 2, 5, 4));
  EXPECT_EQ(clPurple, bitmap.Pixel(4, 3));
  auto other = PatternBitmap(3, 3);
  bitmap.Assign(other.get());
  canvas->FillRect(Rect(0, 0, 1, 1));
  EXPECT_EQ(clPurple, bitmap.Pixel(0, 0));
  EXPECT_EQ(PatternColor(0, 0), other->Pixel(0, 0));
  EXPECT_EQ((TSize{3, 3}), canvas->DeviceSize());
}

TEST(Bitmap, OnChangeFiresForEveryChange) {
  TBitmap bitmap;
  int changes = 0;
  bitmap.OnChange = [&](TObject* sender) {
    EXPECT_EQ(&bitmap, sender);
    ++changes;
  };
  bitmap.SetSize(3, 3);
  EXPECT_EQ(1, changes);
  bitmap.SetSize(3, 3);  // no change
  EXPECT_EQ(1, changes);
  bitmap.SetPixel(0, 0, clRed);
  EXPECT_EQ(2, changes);
  bitmap.SetMonochrome(true);
  EXPECT_EQ(3, changes);
  bitmap.SetTransparent(true);
  EXPECT_EQ(4, changes);
  TMemoryStream stream;
  bitmap.SaveToStream(&stream);
  EXPECT_EQ(4, changes);
  stream.SetPosition(0);
  bitmap.LoadFromStream(&stream);
  EXPECT_EQ(5, changes);
  EXPECT_TRUE(bitmap.Modified());
  bitmap.SetModified(false);
  EXPECT_FALSE(bitmap.Modified());
}

TEST(Bitmap, DibRoundTrip) {
  auto source = PatternBitmap(5, 3);
  const std::vector<uint8_t> dib = source->SaveToDIB();
  ASSERT_EQ(40u + 16u * 3u, dib.size());
  TBitmap loaded;
  loaded.LoadFromDIB(dib.data(), dib.size());
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(PatternColor(x, y), loaded.Pixel(x, y));
  EXPECT_EQ(dib, loaded.SaveToDIB());
  EXPECT_THROW(loaded.LoadFromDIB(dib.data(), 30), EInvalidGraphic);
}

TEST(Bitmap, FilesRoundTripAndLoadStartsAtTheStreamPosition) {
  TScratchDir dir;
  auto source = PatternBitmap(4, 4);
  source->SaveToFile(dir.File("p.bmp"));
  TBitmap loaded;
  loaded.LoadFromFile(dir.File("p.bmp"));
  EXPECT_EQ(PatternColor(3, 1), loaded.Pixel(3, 1));
  EXPECT_THROW(loaded.LoadFromFile(dir.File("missing.bmp")), EFOpenError);

  // A bitmap stored after other bytes in a stream loads from the current position.
  TMemoryStream stream;
  stream.WriteBuffer("xyz", 3);
  source->SaveToStream(&stream);
  stream.SetPosition(3);
  TBitmap fromStream;
  fromStream.LoadFromStream(&stream);
  EXPECT_EQ(PatternColor(2, 3), fromStream.Pixel(2, 3));
  EXPECT_EQ(stream.Size(), stream.Position());
}

TEST(Bitmap, MonochromeDrawingIsSavedAsOneBit) {
  if (!HaveTool("convert")) GTEST_SKIP() << "ImageMagick is not installed";
  TScratchDir dir;
  TBitmap bitmap(8, 4);
  bitmap.SetMonochrome(true);
  bitmap.Canvas()->Brush()->SetColor(clYellow);  // light: white
  bitmap.Canvas()->FillRect(Rect(0, 0, 4, 4));
  bitmap.Canvas()->Brush()->SetColor(clMaroon);  // dark: black
  bitmap.Canvas()->FillRect(Rect(4, 0, 8, 2));
  bitmap.SaveToFile(dir.File("mono.bmp"));
  const TRgbRaster raster = ReadWithImageMagick(dir.File("mono.bmp"));
  ASSERT_EQ(8, raster.Width);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ((x >= 4 && y < 2) ? clBlack : clWhite, raster.At(x, y)) << x << "," << y;
  TCommandResult info = RunCommand("identify '" + dir.File("mono.bmp") + "'");
  EXPECT_NE(std::string::npos, info.Output.find("1-bit")) << info.Output;
}
