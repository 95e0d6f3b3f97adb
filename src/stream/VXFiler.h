#pragma once
// TReportFiler: the report engine whose output is a page stream. Report code drives it like
// any other engine; every device-level operation appends a record instead of drawing. The
// finished stream is replayed on a printer or the screen, rendered into other formats, or
// kept as a snapshot file.
//
// Besides encoding records the filer decides where the stream lives (StreamMode), writes
// font, brush and pen state only when it changes (and in full at every page start), stores
// pictures that repeat once (the graphic registry), and back-patches report variables whose
// values are known only after the pages that print them.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/VXBase.h"
#include "stream/VXStreamWriter.h"

class TStream;
class TVXRenderDevice;

class TReportFiler : public TBaseReport {
public:
  explicit TReportFiler(TComponent* AOwner = nullptr);
  ~TReportFiler() override;
  std::string ClassName() const override { return "TReportFiler"; }
  // Also copies StreamMode, FileName and AccuracyMethod of another filer.
  void Assign(TPersistent* Source) override;

  // ===== Properties =====
  TStreamMode StreamMode() const { return FStreamMode; }
  void SetStreamMode(TStreamMode Value) { FStreamMode = Value; }
  // The target file of smMemory and smFile; receives the generated name with smTempFile.
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& Value) { FFileName = Value; }
  TAccuracyMethod AccuracyMethod() const { return FAccuracyMethod; }
  void SetAccuracyMethod(TAccuracyMethod Value) { FAccuracyMethod = Value; }
  // The caller's stream for smUser (not owned).
  TStream* Stream() const { return FStream; }
  void SetStream(TStream* Value) { FStream = Value; }
  // Pages recorded so far in this job (pages outside the selection and aborted pages do
  // not count).
  int PagesWritten() const { return FPagesWritten; }

  // ===== Engine operations =====
  void FontChanged(TObject* Sender) override;
  int OutputKind() override { return 2; }
  void PrintCenter(const std::string& Text, double X) override;
  void PrintLeft(const std::string& Text, double X) override;
  void PrintRight(const std::string& Text, double X) override;
  void PrintBlock(const std::string& Text, double X, double Width) override;
  void SetFrameMode(uint8_t Mode) override;
  void SetBKColor(TColor Color) override;
  void SetScaleX(double Value) override;
  void SetScaleY(double Value) override;
  void SetTextBKMode(TBKMode Mode) override;
  void SetOrientation(TOrientation Value) override;
  void TabRectangle(double X1, double Y1, double X2, double Y2) override;
  void Arc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4) override;
  void BrushCopy(const TRect& DestRect, TBitmap* Bitmap, const TRect& SourceRect, TColor Color) override;
  void Chord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4) override;
  // Refused: a page stream cannot hold another canvas.
  void CopyRect(const TRect& DestRect, TCanvas* SourceCanvas, const TRect& SourceRect) override;
  void Draw(double X, double Y, TGraphic* Graphic) override;
  void DrawFocusRect(const TRect& Rect) override;
  void Ellipse(double X1, double Y1, double X2, double Y2) override;
  void FillRect(const TRect& Rect) override;
  void FloodFill(double X, double Y, TColor Color, TFillStyle FillStyle) override;
  void FrameRect(const TRect& Rect) override;
  void LineTo(double X, double Y) override;
  void MoveTo(double X, double Y) override;
  void Pie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4) override;
  void Polygon(const std::vector<TPoint>& Points) override;
  void Polyline(const std::vector<TPoint>& Points) override;
  void PrintBitmap(double X, double Y, double ScaleX, double ScaleY, TBitmap* Bitmap) override;
  void PrintBitmapRect(double X1, double Y1, double X2, double Y2, TBitmap* Bitmap) override;
  void PrintImageRect(double X1, double Y1, double X2, double Y2, TStream* ImageStream,
                      const std::string& ImageType) override;
  void Rectangle(double X1, double Y1, double X2, double Y2) override;
  void RoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3) override;
  void StretchDraw(const TRect& Rect, TGraphic* Graphic) override;
  void TextRect(const TRect& Rect, double X, double Y, const std::string& Text) override;
  void PrintData(const std::string& Value) override;
  void PrintDataStream(TStream* Stream, int64_t Length) override;
  void PreviewOnly() override;
  void PrinterOnly() override;
  void AllDestinations() override;
  void UnregisterGraphic(int Index) override;
  void RegisterGraphic(int Index) override;
  void ReuseGraphic(int Index) override;
  void BeginJob() override;
  void EndJob() override;
  void NewPage() override;
  void AbortPage() override;
  bool SelectBin(const std::string& Name) override;
  void UpdateLineMetrics() override;
  // Measures without recording anything (format codes in Text change the font only for
  // the measurement).
  double TextWidth(const std::string& Text) override;
  std::string VariableCode(const std::string& Name) override;
  void SetVariable(const std::string& Name, const std::string& Value) override;

private:
  static constexpr int GraphicSlots = 10;

  // One report variable. Offset follows the stream's convention: positive for a reserved
  // record whose value is still to come, negative (negated) for a record that holds a value,
  // 0 while nothing was written for the name.
  struct TFilerVariable {
    std::string Name;
    int32_t Offset = 0;
    bool Reserved = false;  // the record is a 128-byte reserved record (patched in place)
    bool Pending = false;   // Value is still to be written (it came on a page not recorded)
    std::string Value;      // the last value given
  };

  // The state written last on the current page.
  struct TFilerShadow {
    TColor BrushColor = clBlack;
    TBrushStyle BrushStyle = bsSolid;
    bool BrushBitmap = false;
    std::string FontName;
    TColor FontColor = clBlack;
    uint8_t FontPitch = 0;
    uint8_t FontCharset = 1;
    bool Bold = false;
    bool Underline = false;
    bool Italic = false;
    bool StrikeOut = false;
    bool Superscript = false;
    bool Subscript = false;
    int Rotation = 0;
    uint8_t Align = 0;
    double FontHeight = 0;
    TColor PenColor = clBlack;
    TPenMode PenMode = pmCopy;
    TPenStyle PenStyle = psSolid;
    double PenWidth = 0;
  };

  // Sets Measuring for a scope.
  class TMeasuringScope;

  // ===== Job and pages (VXFiler.cpp) =====
  void ResetJobState();
  void OpenJob();
  void OpenStream();
  void CloseStream(bool Save);
  void WriteStreamHeader();
  void AttachMeasuringDevice();
  // Frees what the job holds; Save: a memory stream is saved to FileName first.
  void ReleaseJob(bool Save);
  void FinishJob();
  void CountPage();
  void WritePageHeader();
  void WriteStateBlock();
  void ClosePage(bool LastPage);
  void DiscardPage();
  void PatchInt16(int64_t Offset, int16_t Value);
  void PatchInt32(int64_t Offset, int32_t Value);
  // An offset as the stream's 32-bit fields hold it; EPagePress when the stream outgrew them.
  static int32_t StreamOffset(int64_t Offset);
  void SetMeasuring(bool Value);

  // ===== State on change (VXFilerState.cpp) =====
  bool CanEmitState();
  void InstallStateHandlers();
  void RemoveStateHandlers();
  void EmitBrushState();
  void EmitFontState();
  void EmitPenState();
  void WriteDestination(uint8_t Code);

  // ===== Records (VXFilerDraw.cpp) =====
  // CheckPrinting, then whether records are written now.
  bool Recording();
  bool CanRecord();
  // What every recording operation does after recording.
  void Recorded();
  bool RecordingGraphic();
  double StreamX(double X);
  double StreamY(double Y);
  double InchStreamX(double X);
  void WriteUnitPoint(double X, double Y);
  void WriteDeviceRect(const TRect& Rect);
  void WriteShape(uint8_t Code, const std::vector<double>& Coordinates);
  void WriteGraphic(TGraphic* Graphic);
  void WritePoints(uint8_t Code, const std::vector<TPoint>& Points);
  void CheckGraphicIndex(int Index, const char* Operation);

  // ===== Text and variables (VXFilerText.cpp) =====
  void PrintText(const std::string& Text, double X, TPrintJustify Justify);
  bool RecordsAsBlock(const std::string& Text);
  TFilerVariable* FindVariable(const std::string& Name);
  void StoreVariable(const std::string& Name, const std::string& Value);
  void WriteVariableRecord(TFilerVariable& Variable);

  // Properties.
  TStreamMode FStreamMode = smMemory;
  std::string FFileName;
  TAccuracyMethod FAccuracyMethod = amAppearance;
  TStream* FStream = nullptr;

  // Job.
  std::unique_ptr<TStream> FOwnStream;
  TStream* FOutput = nullptr;
  std::unique_ptr<TPageStreamWriter> FWriter;
  std::unique_ptr<TVXRenderDevice> FOwnDevice;
  int64_t FPageCountOffset = 0;
  std::vector<int64_t> FPageOffsets;  // headers of the recorded pages
  int64_t FNextPageField = 0;         // 0: none to patch
  bool FPageOpen = false;
  int FPagesWritten = 0;
  bool FForceState = false;
  bool FMeasuring = false;
  bool FEmitting = false;
  uint8_t FDestination = 86;
  TFilerShadow FShadow;
  std::array<int32_t, GraphicSlots> FGraphicSlots{};
  int32_t FLastGraphicOffset = 0;
  int32_t FPendingReuse = 0;
  std::vector<TFilerVariable> FVariables;
  std::vector<TFilerVariable> FPageStartVariables;
  // The canvas brush and pen whose change handlers the filer put in place, and theirs.
  TBrush* FHookedBrush = nullptr;
  TPen* FHookedPen = nullptr;
  TNotifyEvent FSavedBrushChange;
  TNotifyEvent FSavedPenChange;
};
