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
#include "platform/FrameBox.h"

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
  // The text primitives leave the cursor at the end of the text, as every engine does.
  void PrintCenter(const std::string& Text, double X) override {
    if (!Record("PrintCenter", Text, X)) return;
    SetXPos(XInchToUnits(X));
    AdvanceCursor(TextWidth(Text) / 2);
  }
  void PrintLeft(const std::string& Text, double X) override {
    if (!Record("PrintLeft", Text, X)) return;
    SetXPos(XInchToUnits(X));
    AdvanceCursor(TextWidth(Text));
  }
  void PrintRight(const std::string& Text, double X) override {
    if (Record("PrintRight", Text, X)) SetXPos(XInchToUnits(X));
  }
  void PrintBlock(const std::string& Text, double X, double Width) override {
    if (!Record("PrintBlock", Text, X, Width)) return;
    SetXPos(XInchToUnits(X + Width));
  }
  // Graphics: shapes are recorded with the device box a canvas engine draws and with the
  // pen and brush they are drawn with.
  void TabRectangle(double X1, double Y1, double X2, double Y2) override {
    if (Drawing()) Log.push_back("TabRectangle" + Box(CreateRect(X1, Y1, X2, Y2)) + Tools(true));
  }
  void Arc(double, double, double, double, double, double, double, double) override { Record("Arc"); }
  void BrushCopy(const TRect&, TBitmap*, const TRect&, TColor) override { Record("BrushCopy"); }
  void Chord(double, double, double, double, double, double, double, double) override { Record("Chord"); }
  void CopyRect(const TRect&, TCanvas*, const TRect&) override { Record("CopyRect"); }
  void Draw(double, double, TGraphic*) override { Record("Draw"); }
  void DrawFocusRect(const TRect&) override { Record("DrawFocusRect"); }
  void Ellipse(double X1, double Y1, double X2, double Y2) override {
    RecordFrameBox("Ellipse", X1, Y1, X2, Y2);
  }
  void FillRect(const TRect&) override { Record("FillRect"); }
  void FloodFill(double, double, TColor, TFillStyle) override { Record("FloodFill"); }
  void FrameRect(const TRect&) override { Record("FrameRect"); }
  // Graphics: lines as a canvas engine draws them, horizontal and vertical pieces through
  // the line collector.
  void LineTo(double X, double Y) override {
    if (!Drawing()) return;
    if (!DirectLines()) {
      const double fromX = LastLineX() - OriginX();
      const double fromY = LastLineY() - OriginY();
      if (CollectLine(X, Y)) return;
      Log.push_back("MoveTo" + At(fromX, fromY));
    }
    Log.push_back("LineTo" + At(X, Y) + Tools(false));
  }
  void MoveTo(double X, double Y) override {
    if (!Drawing()) return;
    if (DirectLines()) Log.push_back("MoveTo" + At(X, Y));
    SetLastLinePoint(X, Y);
  }
  void Pie(double, double, double, double, double, double, double, double) override { Record("Pie"); }
  void Polygon(const std::vector<TPoint>&) override { Record("Polygon"); }
  void Polyline(const std::vector<TPoint>&) override { Record("Polyline"); }
  void PrintBitmap(double, double, double, double, TBitmap*) override { Record("PrintBitmap"); }
  void PrintBitmapRect(double, double, double, double, TBitmap*) override { Record("PrintBitmapRect"); }
  void PrintImageRect(double, double, double, double, TStream*, const std::string&) override {
    Record("PrintImageRect");
  }
  void Rectangle(double X1, double Y1, double X2, double Y2) override {
    RecordFrameBox("Rectangle", X1, Y1, X2, Y2);
  }
  void RoundRect(double, double, double, double, double, double) override { Record("RoundRect"); }
  void StretchDraw(const TRect&, TGraphic*) override { Record("StretchDraw"); }
  void TextRect(const TRect&, double, double, const std::string&) override { Record("TextRect"); }
  void PrintData(const std::string&) override { Record("PrintData"); }
  void PrintDataStream(TStream*, int64_t) override { Record("PrintDataStream"); }

  TVXRenderDevice* OwnDevice() { return FOwnDevice.get(); }

private:
  // False when the output is suppressed.
  bool Record(const std::string& Call, const std::string& Text = "", double X = 0, double Width = -1) {
    CheckPrinting();
    if (OutputSuppressed()) return false;
    if (Width >= 0) {
      Log.push_back(Format("%s(%s,%g,%g)", {Call, Text, X, Width}));
    } else {
      Log.push_back(Text.empty() ? Call : Format("%s(%s,%g)", {Call, Text, X}));
    }
    return true;
  }

  // Graphics: what the log shows of a drawing call.
  bool Drawing() {
    CheckPrinting();
    return !OutputSuppressed();
  }
  std::string At(double X, double Y) { return Format("(%d,%d)", {XUnitsToDevice(X), YUnitsToDevice(Y)}); }
  static std::string Box(const TRect& R) {
    return Format("(%d,%d,%d,%d)", {R.Left, R.Top, R.Right, R.Bottom});
  }
  // " pen:<width> <colour>" or " pen:clear", with " brush:..." before it for filled shapes;
  // colours as TColor values in hexadecimal.
  std::string Tools(bool WithBrush) {
    const TPen* pen = Canvas()->Pen();
    const TBrush* brush = Canvas()->Brush();
    std::string text;
    if (WithBrush) {
      text +=
          brush->Style() == bsClear ? " brush:clear" : " brush:" + IntToHex(ColorToRGB(brush->Color()), 6);
    }
    text += pen->Style() == psClear
                ? " pen:clear"
                : Format(" pen:%d %s", {pen->Width(), IntToHex(ColorToRGB(pen->Color()), 6)});
    return text;
  }
  // The canvas figure of a frame-mode box.
  void RecordFrameBox(const std::string& Call, double X1, double Y1, double X2, double Y2) {
    if (!Drawing()) return;
    const TPen* pen = Canvas()->Pen();
    const TRect box = FrameModeBox(XUnitsToDevice(X1), YUnitsToDevice(Y1), XUnitsToDevice(X2),
                                   YUnitsToDevice(Y2), pen->Style(), pen->Width(), FrameMode());
    Log.push_back(Call + Box(box) + Tools(true));
  }

  std::unique_ptr<TVXRenderDevice> FOwnDevice = std::make_unique<TVXRenderDevice>();
};
