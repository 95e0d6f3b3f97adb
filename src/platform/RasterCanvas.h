#pragma once
// TRasterCanvas: the canvas of a bitmap. It draws onto the bitmap's 32-bit pixels with the
// pixel rules of the platform's device contexts, without antialiasing, so a figure covers
// the same pixels on every machine.
#include <string>

#include "platform/Canvas.h"

class TBitmapImage;  // the pixel store (internal)

class TRasterCanvas : public TCanvas {
public:
  // Draws onto Target's image, read again at every call (the bitmap may replace it when
  // resized). Target must outlive the canvas.
  explicit TRasterCanvas(TBitmapImage* Target);
  ~TRasterCanvas() override;
  std::string ClassName() const override { return "TRasterCanvas"; }

  TBitmapImage* Target() const { return FTarget; }
  // The resolution the device reports (96 unless set); the canvas Font follows it.
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value);

  int PixelsPerInchX() const override { return FPixelsPerInch; }
  int PixelsPerInchY() const override { return FPixelsPerInch; }
  TSize DeviceSize() const override;

protected:
  void DoLine(const TPoint& From, const TPoint& To) override;
  void DoPolyline(const std::vector<TPoint>& Points) override;
  void DoPolygon(const std::vector<TPoint>& Points) override;
  void DoRectangle(const TRect& Box) override;
  void DoEllipse(const TRect& Box) override;
  void DoRoundRect(const TRect& Box, int CornerWidth, int CornerHeight) override;
  void DoArc(TArcKind Kind, const TRect& Box, const TPoint& Start, const TPoint& End) override;
  void DoFillRect(const TRect& Rect, bool UseBrush, TColor Color) override;
  void DoInvertFrame(const TRect& Rect) override;
  void DoFloodFill(int X, int Y, TColor Color, TFillStyle FillStyle) override;
  TColor DoGetPixel(int X, int Y) const override;
  void DoSetPixel(int X, int Y, TColor Color) override;
  void DoStretchBitmap(const TRect& DestRect, TBitmap* Bitmap, const TRect& SourceRect, TCopyMode Mode,
                       TColor TransparentColor) override;
  void DoCopyRect(const TRect& DestRect, TCanvas* Source, const TRect& SourceRect, TCopyMode Mode) override;
  void DoBrushCopy(const TRect& DestRect, TBitmap* Bitmap, const TRect& SourceRect, TColor Color) override;
  void DoTextOut(int X, int Y, unsigned Options, const TRect* Clip, const std::string& Text) override;

private:
  TBitmapImage* FTarget;
  int FPixelsPerInch = 96;
};
