#pragma once
// TBitmap: a 32-bit RGB raster with a canvas, saved and loaded as a device-independent
// bitmap file image (these bytes go into page streams, so saving is deterministic).
#include <memory>

#include "platform/Color.h"
#include "platform/Graphic.h"

class TRasterCanvas;
class TBitmapImage;  // the pixel store (internal)

enum TTransparentMode { tmAuto, tmFixed };
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

class TBitmap : public TGraphic {
public:
  TBitmap();
  TBitmap(int AWidth, int AHeight);
  ~TBitmap() override;
  std::string ClassName() const override { return "TBitmap"; }
  void Assign(TPersistent* Source) override;

  int Width() const override;
  int Height() const override;
  // Growing fills the new area with white; the kept area keeps its pixels.
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  void SetSize(int AWidth, int AHeight);
  bool Empty() const override;

  // The canvas drawing on this bitmap (created on first use, 96 pixels per inch).
  TRasterCanvas* Canvas();

  // Transparency: with tmAuto the colour of the bottom-left pixel.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor Value);  // switches to tmFixed
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value) { FTransparentMode = Value; }

  // Monochrome: 1 bit per pixel (black and white) when saved; setting it converts the pixels.
  bool Monochrome() const { return FMonochrome; }
  void SetMonochrome(bool Value);
  TPixelFormat PixelFormat() const;
  void SetPixelFormat(TPixelFormat Value);

  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

  TColor Pixel(int X, int Y) const;
  void SetPixel(int X, int Y, TColor Color);
  TBitmapImage* Image() const { return FImage.get(); }

private:
  std::unique_ptr<TBitmapImage> FImage;
  std::unique_ptr<TRasterCanvas> FCanvas;
  TTransparentMode FTransparentMode = tmAuto;
  TColor FTransparentColor = clNone;
  bool FMonochrome = false;
  TPixelFormat FPixelFormat = pfDevice;
};
