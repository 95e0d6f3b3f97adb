#pragma once
// A small canvas engine for the tests: it draws its text on a bitmap through the engine's
// canvas text operations (and so through the platform's text helper), as the canvas engines
// do on a printer page. Shapes and pictures are not drawn.
#include <memory>

#include "engine/VXBase.h"
#include "engine/VXDevice.h"
#include "platform/Bitmap.h"
#include "platform/RasterCanvas.h"

// A device whose page is a white bitmap at a chosen resolution; another canvas may stand in
// for the bitmap's own.
class TBitmapDevice : public TVXBaseDevice {
public:
  explicit TBitmapDevice(int Dpi) : FDpi(Dpi), FBitmap(static_cast<int>(8.5 * Dpi), 11 * Dpi) {
    FBitmap.Canvas()->SetPixelsPerInch(Dpi);
    ResetPageSize();
    SetPrinting(true);
  }
  std::string ClassName() const override { return "TBitmapDevice"; }
  TCanvas* Canvas() override { return FCanvas != nullptr ? FCanvas : FBitmap.Canvas(); }
  int XDPI() override { return FDpi; }
  int YDPI() override { return FDpi; }
  TBitmap& Bitmap() { return FBitmap; }
  // Canvas (not owned) replaces the bitmap's own; nullptr goes back to it.
  void UseCanvas(TCanvas* Canvas) { FCanvas = Canvas; }

private:
  int FDpi;
  TBitmap FBitmap;
  TCanvas* FCanvas = nullptr;
};

class TBitmapReport : public TBaseReport {
public:
  explicit TBitmapReport(int Dpi = 100) : FDevice(Dpi) {
    SetDevice(&FDevice);
    ResetPageMetrics();
  }
  ~TBitmapReport() override { SetDevice(nullptr); }

  TBitmapDevice& Page() { return FDevice; }
  TBitmap& Bitmap() { return FDevice.Bitmap(); }
  // What OutputKind answers (0 printer, 1 preview, 2 file).
  int Kind = 0;
  int OutputKind() override { return Kind; }

  void BeginJob() override {
    BeginJobSequence([] {}, [] {});
  }
  void NewPage() override {
    NewPageSequence([] {}, [this] { LoadDeviceMetrics(); });
  }
  void EndJob() override {
    EndJobSequence([](bool) {});
  }

  void PrintCenter(const std::string& Text, double X) override { CanvasPrintCenter(Text, X); }
  void PrintLeft(const std::string& Text, double X) override { CanvasPrintLeft(Text, X); }
  void PrintRight(const std::string& Text, double X) override { CanvasPrintRight(Text, X); }
  void PrintBlock(const std::string& Text, double X, double Width) override {
    CanvasPrintBlock(Text, X, Width);
  }

  void TabRectangle(double, double, double, double) override {}
  void Arc(double, double, double, double, double, double, double, double) override {}
  void BrushCopy(const TRect&, TBitmap*, const TRect&, TColor) override {}
  void Chord(double, double, double, double, double, double, double, double) override {}
  void CopyRect(const TRect&, TCanvas*, const TRect&) override {}
  void Draw(double, double, TGraphic*) override {}
  void DrawFocusRect(const TRect&) override {}
  void Ellipse(double, double, double, double) override {}
  void FillRect(const TRect&) override {}
  void FloodFill(double, double, TColor, TFillStyle) override {}
  void FrameRect(const TRect&) override {}
  void LineTo(double, double) override {}
  void MoveTo(double, double) override {}
  void Pie(double, double, double, double, double, double, double, double) override {}
  void Polygon(const std::vector<TPoint>&) override {}
  void Polyline(const std::vector<TPoint>&) override {}
  void PrintBitmap(double, double, double, double, TBitmap*) override {}
  void PrintBitmapRect(double, double, double, double, TBitmap*) override {}
  void PrintImageRect(double, double, double, double, TStream*, const std::string&) override {}
  void Rectangle(double, double, double, double) override {}
  void RoundRect(double, double, double, double, double, double) override {}
  void StretchDraw(const TRect&, TGraphic*) override {}
  void TextRect(const TRect&, double, double, const std::string&) override {}
  void PrintData(const std::string&) override {}
  void PrintDataStream(TStream*, int64_t) override {}

private:
  TBitmapDevice FDevice;
};
