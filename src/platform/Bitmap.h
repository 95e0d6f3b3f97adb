#pragma once
// TBitmap: a 32-bit RGB raster with a canvas, saved and loaded as a device-independent
// bitmap file image (these bytes go into page streams, so saving is deterministic).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Color.h"
#include "platform/Graphic.h"

class TRasterCanvas;
class TBitmapImage;  // the pixel store (internal)
class QImage;
struct TDibFormat;

enum TTransparentMode { tmAuto, tmFixed };
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

class TBitmap : public TGraphic {
public:
  TBitmap();
  // A white bitmap of the given size.
  TBitmap(int AWidth, int AHeight);
  ~TBitmap() override;
  std::string ClassName() const override { return "TBitmap"; }
  // From a TBitmap: a deep copy (pixels, transparency, monochrome, pixel format). From any
  // other picture: a bitmap of its size, white, with the picture drawn on it. nullptr empties.
  void Assign(TPersistent* Source) override;
  std::unique_ptr<TGraphic> Clone() const override;

  int Width() const override;
  int Height() const override;
  // Growing fills the new area with white; the kept area keeps its pixels.
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  void SetSize(int AWidth, int AHeight);
  // A bitmap whose width or height is 0.
  bool Empty() const override;

  // The canvas drawing on this bitmap (created on first use, 96 pixels per inch). It stays
  // valid across size changes and assignments.
  TRasterCanvas* Canvas();

  // Transparency: with tmAuto the colour of the bottom-left pixel.
  TColor TransparentColor() const;
  // Switches to tmFixed (clDefault switches back to tmAuto).
  void SetTransparentColor(TColor Value);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);

  // Monochrome: 1 bit per pixel (black and white) when saved; setting it converts the pixels:
  // a pixel becomes white when its luminance ((11 R + 16 G + 5 B) / 32) is 128 or more,
  // black otherwise. Whatever is drawn on a monochrome bitmap later is converted by the
  // same rule when the bitmap is read, drawn or saved.
  bool Monochrome() const { return FMonochrome; }
  void SetMonochrome(bool Value);
  // pf1bit for a monochrome bitmap; after loading, the depth of the file; pfDevice for a new
  // bitmap. pf1bit makes the bitmap monochrome, any other value makes it colour. Colour
  // bitmaps are saved with 24 bits per pixel whatever this says.
  TPixelFormat PixelFormat() const;
  void SetPixelFormat(TPixelFormat Value);

  // A bitmap file image (BITMAPFILEHEADER, info header, colour table, bits). Loading reads
  // to the end of the stream; no bytes at all give an empty bitmap, and an empty bitmap
  // saves no bytes. Invalid data raises EInvalidGraphic.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  // The same without the file header (a packed DIB, as metafile records hold bitmaps).
  void LoadFromDIB(const uint8_t* Data, size_t Size);
  std::vector<uint8_t> SaveToDIB();

  // Stretches the whole bitmap into Rect with the canvas's copy mode, leaving out the
  // transparent colour when Transparent is set.
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

  // Pixel colour (-1, the platform's CLR_INVALID, outside the bitmap); setting outside the bitmap does
  // nothing.
  TColor Pixel(int X, int Y) const;
  void SetPixel(int X, int Y, TColor Color);
  TBitmapImage* Image() const { return FImage.get(); }

private:
  void Resize(int AWidth, int AHeight);
  void MakeMonochromePixels();
  // Takes a decoded image and its file's settings as this bitmap's content.
  void AdoptDecoded(QImage Image, const TDibFormat& Format);
  void AssignBitmap(const TBitmap& Source);
  void AssignGraphic(TGraphic* Source);

  // Never replaced: the canvas keeps a pointer to it.
  std::unique_ptr<TBitmapImage> FImage;
  std::unique_ptr<TRasterCanvas> FCanvas;
  // The size asked for while the raster is null (a 0 x 10 bitmap keeps its height of 10).
  int FWidth = 0;
  int FHeight = 0;
  TTransparentMode FTransparentMode = tmAuto;
  TColor FTransparentColor = clDefault;
  bool FMonochrome = false;
  TPixelFormat FPixelFormat = pfDevice;
};
