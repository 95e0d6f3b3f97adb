#pragma once
// A small concrete engine for the tests: it runs the common job and page sequences and
// records every device-level call it receives in Log, where the tests' event handlers
// write too, so that one list shows the order of everything.
#include <memory>
#include <string>
#include <vector>

#include "engine/VXBase.h"
#include "engine/VXDevice.h"
#include "platform/Format.h"

class TRecordingReport : public TBaseReport {
public:
  explicit TRecordingReport(TComponent* AOwner = nullptr) : TBaseReport(AOwner) {
    SetDevice(FOwnDevice.get());
    ResetPageMetrics();
  }
  ~TRecordingReport() override { SetDevice(nullptr); }

  std::vector<std::string> Log;
  // What OutputKind answers (0 printer, 1 preview, 2 file).
  int Kind = 0;
  // When set, BeginJob behaves as a printer engine without a printer: no job starts.
  bool RefuseJob = false;

  // Handlers that only note that they ran.
  TNotifyEvent Note(const std::string& What) {
    return [this, What](TObject*) { Log.push_back(What); };
  }

  int OutputKind() override { return Kind; }

  void BeginJob() override {
    if (RefuseJob) {
      Log.push_back("NoPrinter");
      return;
    }
    BeginJobSequence([this] { Log.push_back("BeginDoc:" + Title()); },
                     [this] { Log.push_back("StartPage:" + IntToStr(CurrentPage())); });
  }

  void NewPage() override {
    NewPageSequence([this] { Log.push_back("EndPage"); },
                    [this] {
                      if (!SkipPage()) Log.push_back("StartPage:" + IntToStr(CurrentPage()));
                      LoadDeviceMetrics();
                    });
  }

  void EndJob() override {
    EndJobSequence([this](bool Aborted) { Log.push_back(Aborted ? "AbortDoc" : "EndDoc"); });
  }

  // --- Device-level primitives: checked, suppressed like a real engine, recorded ---
  void PrintCenter(const std::string& Text, double X) override { Record("PrintCenter", Text, X); }
  void PrintLeft(const std::string& Text, double X) override { Record("PrintLeft", Text, X); }
  void PrintRight(const std::string& Text, double X) override { Record("PrintRight", Text, X); }
  void PrintBlock(const std::string& Text, double X, double /*Width*/) override {
    Record("PrintBlock", Text, X);
  }
  void TabRectangle(double, double, double, double) override { Record("TabRectangle"); }
  void Arc(double, double, double, double, double, double, double, double) override { Record("Arc"); }
  void BrushCopy(const TRect&, TBitmap*, const TRect&, TColor) override { Record("BrushCopy"); }
  void Chord(double, double, double, double, double, double, double, double) override { Record("Chord"); }
  void CopyRect(const TRect&, TCanvas*, const TRect&) override { Record("CopyRect"); }
  void Draw(double, double, TGraphic*) override { Record("Draw"); }
  void DrawFocusRect(const TRect&) override { Record("DrawFocusRect"); }
  void Ellipse(double, double, double, double) override { Record("Ellipse"); }
  void FillRect(const TRect&) override { Record("FillRect"); }
  void FloodFill(double, double, TColor, TFillStyle) override { Record("FloodFill"); }
  void FrameRect(const TRect&) override { Record("FrameRect"); }
  void LineTo(double, double) override { Record("LineTo"); }
  void MoveTo(double, double) override { Record("MoveTo"); }
  void Pie(double, double, double, double, double, double, double, double) override { Record("Pie"); }
  void Polygon(const std::vector<TPoint>&) override { Record("Polygon"); }
  void Polyline(const std::vector<TPoint>&) override { Record("Polyline"); }
  void PrintBitmap(double, double, double, double, TBitmap*) override { Record("PrintBitmap"); }
  void PrintBitmapRect(double, double, double, double, TBitmap*) override { Record("PrintBitmapRect"); }
  void PrintImageRect(double, double, double, double, TStream*, const std::string&) override {
    Record("PrintImageRect");
  }
  void Rectangle(double, double, double, double) override { Record("Rectangle"); }
  void RoundRect(double, double, double, double, double, double) override { Record("RoundRect"); }
  void StretchDraw(const TRect&, TGraphic*) override { Record("StretchDraw"); }
  void TextRect(const TRect&, double, double, const std::string&) override { Record("TextRect"); }
  void PrintData(const std::string&) override { Record("PrintData"); }
  void PrintDataStream(TStream*, int64_t) override { Record("PrintDataStream"); }

  TVXRenderDevice* OwnDevice() { return FOwnDevice.get(); }

private:
  void Record(const std::string& Call, const std::string& Text = "", double X = 0) {
    CheckPrinting();
    if (OutputSuppressed()) return;
    Log.push_back(Text.empty() ? Call : Format("%s(%s,%g)", {Call, Text, X}));
  }

  std::unique_ptr<TVXRenderDevice> FOwnDevice = std::make_unique<TVXRenderDevice>();
};
