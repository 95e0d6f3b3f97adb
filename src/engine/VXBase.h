#pragma once
// TBaseReport: the abstract report engine that report code is written against. It keeps
// everything that does not depend on the destination: units and device conversions, page
// and section geometry, the cursor, lines and columns, the job and page cycle with its
// events and page selection, macros, report variables and the status line. Concrete
// engines (the file engine, the canvas engines) supply the device-level primitives.
//
// All lengths are kept in inches and converted at the boundary: every operation that
// takes or returns a coordinate or length uses the current unit (Units, UnitsFactor).
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/VXDefine.h"
#include "engine/VXFontRecord.h"
#include "engine/VXLineCollector.h"
#include "engine/VXStatusLabel.h"
#include "platform/Brush.h"
#include "platform/Canvas.h"
#include "platform/CanvasText.h"
#include "platform/DateTime.h"
#include "platform/Pen.h"
#include "platform/StringList.h"
#include "platform/Types.h"

class TBaseMemoBuf;
class TBaseReport;
class TBitmap;
class TGraphic;
class TStream;
class TVXBaseDevice;

// The five characters that begin every macro and variable placeholder.
extern const std::string MacroMarker;

// A page listener: a procedure of Owner that receives the engine.
using TPageHookProc = void (*)(TObject* Owner, TBaseReport* Report);

// A tab stop (positions in inches, relative to the current column's left edge).
struct TTab {
  double Left = 0;
  TPrintJustify Justify = pjLeft;
  double Width = 0;  // 0: a plain position without cell, box or shade
  double Margin = 0;
  bool BoxLeft = false;
  bool BoxRight = false;
  bool BoxTop = false;
  bool BoxBottom = false;
  uint8_t Shade = 0;  // 0: TabShade applies
};
// Lists are shared between the current list, the tab stack and the tab slots.
using TTabList = std::vector<TTab>;

class TBaseReport : public TVXBaseComponent {
public:
  explicit TBaseReport(TComponent* AOwner = nullptr);
  ~TBaseReport() override;
  std::string ClassName() const override { return "TBaseReport"; }

  // ===== Virtual operations, in slot order =====
  virtual void DoPrint();
  virtual bool DoPrintPage();
  virtual void DoBeforePrint();
  virtual void DoAfterPrint();
  virtual void DoNewPage();
  virtual void DoNewColumn();
  virtual void DoPrintHeader();
  virtual void DoPrintFooter();
  virtual void DoEndOfSection();
  virtual void FontChanged(TObject* Sender);
  virtual void AttachCanvasFont();
  virtual void DetachCanvasFont();
  // 0 printer, 1 preview, 2 file.
  virtual int OutputKind();
  // Device-level text primitives, X and Width in inches.
  virtual void PrintCenter(const std::string& Text, double X) = 0;
  virtual void PrintLeft(const std::string& Text, double X) = 0;
  virtual void PrintRight(const std::string& Text, double X) = 0;
  virtual void PrintBlock(const std::string& Text, double X, double Width) = 0;
  // The device canvas; raises "Error!  Canvas not yet active." while the device is idle.
  virtual TCanvas* Canvas();
  virtual void SetFrameMode(uint8_t Mode);
  virtual void SetBKColor(TColor Color);
  virtual void SetScaleX(double Value);
  virtual void SetScaleY(double Value);
  virtual void SetTextBKMode(TBKMode Mode);
  virtual void SetOrientation(TOrientation Value);
  virtual void TabRectangle(double X1, double Y1, double X2, double Y2) = 0;
  virtual void TextExtent(const std::string& Text, TSize& Size);
  virtual void Arc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                   double Y4) = 0;
  virtual void BrushCopy(const TRect& DestRect, TBitmap* Bitmap, const TRect& SourceRect, TColor Color) = 0;
  virtual void Chord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                     double Y4) = 0;
  virtual void CopyRect(const TRect& DestRect, TCanvas* SourceCanvas, const TRect& SourceRect) = 0;
  virtual void Draw(double X, double Y, TGraphic* Graphic) = 0;
  virtual void DrawFocusRect(const TRect& Rect) = 0;
  virtual void Ellipse(double X1, double Y1, double X2, double Y2) = 0;
  virtual void FillRect(const TRect& Rect) = 0;
  virtual void FloodFill(double X, double Y, TColor Color, TFillStyle FillStyle) = 0;
  virtual void FrameRect(const TRect& Rect) = 0;
  virtual void LineTo(double X, double Y) = 0;
  virtual void MoveTo(double X, double Y) = 0;
  virtual void Pie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                   double Y4) = 0;
  virtual void Polygon(const std::vector<TPoint>& Points) = 0;
  virtual void Polyline(const std::vector<TPoint>& Points) = 0;
  virtual void PrintBitmap(double X, double Y, double ScaleX, double ScaleY, TBitmap* Bitmap) = 0;
  virtual void PrintBitmapRect(double X1, double Y1, double X2, double Y2, TBitmap* Bitmap) = 0;
  virtual void PrintImageRect(double X1, double Y1, double X2, double Y2, TStream* ImageStream,
                              const std::string& ImageType) = 0;
  virtual void Rectangle(double X1, double Y1, double X2, double Y2) = 0;
  virtual void RoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3) = 0;
  virtual void StretchDraw(const TRect& Rect, TGraphic* Graphic) = 0;
  virtual void TextRect(const TRect& Rect, double X, double Y, const std::string& Text) = 0;
  virtual void PrintData(const std::string& Value) = 0;
  // Length 0: from the stream's position to its end.
  virtual void PrintDataStream(TStream* Stream, int64_t Length) = 0;
  virtual void PreviewOnly();
  virtual void PrinterOnly();
  virtual void AllDestinations();
  virtual void UnregisterGraphic(int Index);
  virtual void RegisterGraphic(int Index);
  virtual void ReuseGraphic(int Index);
  virtual void BeginJob() = 0;
  virtual void EndJob() = 0;
  virtual void Execute();
  // The base step of a page turn (page number, selection, origin, section, cursor).
  // Engines override it with the whole sequence (NewPageSequence).
  virtual void NewPage();
  virtual void AfterNewLine();
  virtual void AbortPage();
  virtual bool SelectBin(const std::string& Name);
  virtual void UpdateLineMetrics();
  // -32768 for an argument means: the tab's own setting.
  virtual void Tab(int LeftWidth = -32768, int RightWidth = -32768, int TopWidth = -32768,
                   int BottomWidth = -32768, int Shade = -32768);
  virtual double TextWidth(const std::string& Text);
  virtual double PrintMemo(TBaseMemoBuf* MemoBuf, int Lines, bool PrintTabs);
  virtual void PrintTab(const std::string& Text);
  virtual std::string VariableCode(const std::string& Name);
  virtual void SetVariable(const std::string& Name, const std::string& Value);
  virtual std::string VariableValue(const std::string& Name);
  virtual void SetBrush(TColor Color, TBrushStyle Style, TBitmap* Bitmap);
  virtual void SetFont(const std::string& Name, double Size);
  virtual void SetPen(TColor Color, TPenStyle Style, int Width, TPenMode Mode);

  // ===== Events =====
  TNotifyEvent OnPrint;
  TPrintPageEvent OnPrintPage;
  TNotifyEvent OnBeforePrint;
  TNotifyEvent OnAfterPrint;
  TNotifyEvent OnNewPage;
  TNotifyEvent OnNewColumn;
  TNotifyEvent OnPrintHeader;
  TNotifyEvent OnPrintFooter;
  TNotifyEvent OnEndOfSection;
  TDecodeImageEvent OnDecodeImage;

  // Copies the settings of another engine (see the list in the implementation).
  void Assign(TPersistent* Source) override;

  // ===== Units and device conversions =====
  TPrintUnits Units() const { return FUnits; }
  void SetUnits(TPrintUnits Value);
  double UnitsFactor() const { return FUnitsFactor; }
  // Values of 0 or less are ignored.
  void SetUnitsFactor(double Value);
  double ScaleX() const { return FScaleX; }
  double ScaleY() const { return FScaleY; }
  double ZoomPercent() const { return FZoomPercent; }
  void SetZoomPercent(double Value) { FZoomPercent = Value; }
  int DeviceXDPI() const { return FDeviceXDPI; }
  int DeviceYDPI() const { return FDeviceYDPI; }
  void SetDeviceXDPI(int Value) { FDeviceXDPI = Value; }
  void SetDeviceYDPI(int Value) { FDeviceYDPI = Value; }
  int DevicePixelOffsetX() const { return FDevicePixelOffsetX; }
  int DevicePixelOffsetY() const { return FDevicePixelOffsetY; }
  void SetDevicePixelOffsetX(int Value) { FDevicePixelOffsetX = Value; }
  void SetDevicePixelOffsetY(int Value) { FDevicePixelOffsetY = Value; }
  // Parts of the physical page the device cannot reach (inches).
  double UnprintableLeft() const { return FUnprintableLeft; }
  double UnprintableRight() const { return FUnprintableRight; }
  double UnprintableTop() const { return FUnprintableTop; }
  double UnprintableBottom() const { return FUnprintableBottom; }

  double XUnitsToInch(double Value) const { return Value / FUnitsFactor; }
  double YUnitsToInch(double Value) const { return Value / FUnitsFactor; }
  double XInchToUnits(double Value) const { return Value * FUnitsFactor; }
  double YInchToUnits(double Value) const { return Value * FUnitsFactor; }
  // Rounded to the nearest pixel, halves to even.
  int XInchToDevice(double X) const;
  int YInchToDevice(double Y) const;
  int XUnitsToDevice(double X) const { return XInchToDevice(XUnitsToInch(X)); }
  int YUnitsToDevice(double Y) const { return YInchToDevice(YUnitsToInch(Y)); }
  double XDeviceToInch(int P) const;
  double YDeviceToInch(int P) const;
  double XDeviceToUnits(int P) const { return XInchToUnits(XDeviceToInch(P)); }
  double YDeviceToUnits(int P) const { return YInchToUnits(YDeviceToInch(P)); }
  TRect CreateRect(double X1, double Y1, double X2, double Y2) const;

  // ===== Device and page =====
  // The attached device (not owned), or the global device when none is attached.
  TVXBaseDevice* Device() const;
  void SetDevice(TVXBaseDevice* Value) { FDevice = Value; }
  // True when a device is attached or no usable printer exists.
  bool NoPrinters() const;
  double PageWidth() const;
  double PageHeight() const;
  // Width and Height in units; refused while printing.
  bool SetPaperSize(int PaperSize, double Width, double Height);
  TOrientation Orientation() const { return FOrientation; }
  void ApplyOrientation();
  void LoadDeviceMetrics();
  // Refused while printing: device metrics, the four margins again, the section.
  void ResetPageMetrics();

  // ===== Margins and section =====
  double MarginLeft() const { return FMarginLeft; }
  double MarginRight() const { return FMarginRight; }
  double MarginTop() const { return FMarginTop; }
  double MarginBottom() const { return FMarginBottom; }
  void SetMarginLeft(double Value);
  void SetMarginRight(double Value);
  void SetMarginTop(double Value);
  void SetMarginBottom(double Value);
  double SectionLeft() const { return XInchToUnits(FSectionLeft); }
  double SectionRight() const { return XInchToUnits(FSectionRight); }
  double SectionTop() const { return YInchToUnits(FSectionTop); }
  double SectionBottom() const { return YInchToUnits(FSectionBottom); }
  void SetSectionLeft(double Value);
  void SetSectionRight(double Value);
  void SetSectionTop(double Value);
  void SetSectionBottom(double Value);
  void ResetSection();
  double OriginX() const { return XInchToUnits(FOriginX); }
  double OriginY() const { return YInchToUnits(FOriginY); }
  void SetOriginX(double Value) { FOriginX = XUnitsToInch(Value); }
  void SetOriginY(double Value) { FOriginY = YUnitsToInch(Value); }

  // ===== Cursor and lines =====
  double XPos() const { return XInchToUnits(FXPos); }
  double YPos() const { return YInchToUnits(FYPos); }
  void SetXPos(double Value) { FXPos = XUnitsToInch(Value); }
  void SetYPos(double Value);
  void SetLineTop(double Y);
  void SetLineMiddle(double Y);
  void SetLineBottom(double Y);
  void SetFontBottom(double Y) { SetLineBottom(Y); }
  double FontTop() const { return YInchToUnits(FYPos - FLineAscent); }
  double FontBaseline() const { return YInchToUnits(FYPos); }
  double FontBottom() const { return YInchToUnits(FYPos + FLineDescent); }
  double LineBottom() const { return YInchToUnits(FYPos + FLineDescent); }
  double LineTop() const { return YInchToUnits(FYPos + FLineDescent - FLineHeight); }
  double LineHeight() const { return YInchToUnits(FLineHeight); }
  // Switches to lhmUser; values of 0 or less are ignored.
  void SetLineHeight(double Value);
  TLineHeightMethod LineHeightMethod() const { return FLineHeightMethod; }
  void SetLineHeightMethod(TLineHeightMethod Value);
  int LinesPerInch() const { return FLinesPerInch; }
  void SetLinesPerInch(int Value);
  void AdjustLine();
  void CarriageReturn();
  void LineFeed();
  int LineNum() const { return FLineNum; }
  void SetLineNum(int Value);
  int ColumnNum() const { return FColumnNum; }
  void SetColumnNum(int Value);
  void Home();
  void GotoFooter();
  void NewLine();
  void NextLine() { NewLine(); }
  int LinesLeft() const;
  int PageLinesLeft() const;
  // Moves the cursor by D units along the text direction.
  void AdvanceCursor(double D);
  bool PushPos();
  bool PopPos();
  bool SavePos(int Index);
  bool RestorePos(int Index);

  // ===== Columns =====
  void SetColumns(int Count, double Between);
  void ClearColumns();
  int Columns() const { return FColumns; }
  double ColumnBetween() const { return XInchToUnits(FColumnBetween); }
  // The usable width of one column (units).
  double ColumnWidth() const { return XInchToUnits(FColumnWidth - FColumnBetween); }
  double ColumnLeftInch() const { return FSectionLeft + (FColumnNum - 1) * FColumnWidth; }

  // ===== Job and page control =====
  bool Printing() const { return FPrinting; }
  bool Aborted() const { return FAborted; }
  int CurrentPage() const { return FCurrentPage; }
  void SetCurrentPage(int Value) { FCurrentPage = Value; }
  bool SkipPage() const { return FSkipPage; }
  const std::string& PageSelection() const { return FPageSelection; }
  void SetPageSelection(const std::string& Value) { FPageSelection = Value; }
  int FirstPage() const { return FFirstPage; }
  void SetFirstPage(int Value) { FFirstPage = Value; }
  int LastPage() const { return FLastPage; }
  void SetLastPage(int Value) { FLastPage = Value; }
  TOutputKinds Destinations() const { return FDestinations; }
  void SetDestinations(TOutputKinds Value) { FDestinations = Value; }
  TDateTime ReportDateTime() const { return FReportDateTime; }
  void SetReportDateTime(TDateTime Value) { FReportDateTime = Value; }
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }
  int Copies() const { return FCopies; }
  void SetCopies(int Value);
  const std::string& OutputFileName() const { return FOutputFileName; }
  void SetOutputFileName(const std::string& Value);
  uint8_t Duplex() const;
  void SetDuplex(uint8_t Value);
  bool Collate() const;
  void SetCollate(bool Value);
  int MaxCopies() const;

  void AbortReport();
  void CheckPrinting() const;
  void CheckNotPrinting() const;
  bool OutputSuppressed();
  bool PageInRange(int Page) const;
  // Kind 0: page-start listeners, 1: page-end listeners; other kinds are ignored.
  void AddPageHook(int Kind, TPageHookProc Callback, TObject* Owner);
  void RemovePageHook(int Kind, TPageHookProc Callback, TObject* Owner);
  // Kind as for AddPageHook.
  void FirePageHooks(int Kind);
  // The job-start state: brush, pen, origin, columns, tabs, section, cursor.
  void ResetState();

  // ===== Fonts (the current font record) =====
  const TFontRecord& FontRecord() const { return FFont; }
  TBKMode TextBKMode() const { return FTextBKMode; }
  uint8_t FrameMode() const { return FFrameMode; }
  // Text output: font attributes. They may be used before a job starts; during a job they
  // act on the canvas font, which keeps the record in step (FontChanged).
  void SetFontName(const std::string& Name);
  void SetFontColor(TColor Color);
  void SetFontPitch(TFontPitch Pitch);
  void SetFontCharset(TFontCharset Charset);
  void SetFontSize(double Points);
  double GetFontSize() const { return FFont.Size; }
  // Height in units (character height, without the vertical scale).
  void SetFontHeight(double Height);
  double FontHeight() const { return YInchToUnits(FFont.Height); }
  void SetBold(bool On);
  void SetItalic(bool On);
  void SetUnderline(bool On);
  void SetStrikeout(bool On);
  // Superscript and subscript exclude each other.
  void SetSuperscript(bool On);
  void SetSubscript(bool On);
  // Degrees counter-clockwise, kept modulo 360 with their sign.
  void SetFontRotation(int Degrees);
  // 0 baseline, 1 top, 2 bottom: which part of the text lies on the cursor line.
  void SetFontAlign(uint8_t Align);
  // Name, colour, pitch, charset, size and styles of Font; no subscript, superscript or
  // rotation (the alignment stays).
  void AssignFont(TFont* Font);
  // Makes Record the current font (the device font is rebuilt when next needed).
  void SetFontRecord(const TFontRecord& Record);
  // Text output: the font stack (unbounded) and the ten font slots 1..10.
  bool PushFont();
  bool PopFont();
  bool SaveFont(int Index);
  bool RestoreFont(int Index);
  // Text output: the device font. Select builds (or takes from the cache) the device font of
  // the current record, selects it into the canvas with the record's text colour, and
  // measures its metrics; Deselect puts the canvas's previous font and colour back. Pairs
  // may nest.
  void SelectCurrentFont();
  void DeselectCurrentFont();
  // Measures the metrics again when the font changed since they were measured.
  void RefreshFontMetrics();
  // Text output at the cursor and at positions. Tab characters in Print move through the tab
  // stops; PrintXY takes X and Y in units, PrintJustify X, Margin and Width in inches.
  void Print(const std::string& Text);
  void PrintLn(const std::string& Text);
  void PrintXY(double X, double Y, const std::string& Text);
  void PrintFooter(const std::string& Text, TPrintJustify Justify);
  void PrintJustify(const std::string& Text, TPrintJustify Justify, double X, double Margin, double Width);
  // Text cut at its end until it fits Width (units); text with macros stays whole.
  std::string ClipText(const std::string& Text, double Width);
  TColor GetBKColor();
  // Set: text with formatted-text codes is printed and measured literally.
  bool IgnoreFormatCodes() const { return FIgnoreFormatCodes; }
  void SetIgnoreFormatCodes(bool Value) { FIgnoreFormatCodes = Value; }
  // Text output: formatted-text codes. ApplyFontCodes reads Code into the current font;
  // NextFormatSegment takes from Pos (0-based) the codes before the next plain run, applies
  // them, and returns the run in Plain; Pos ends after the run.
  void ApplyFontCodes(const std::string& Code);
  void NextFormatSegment(const std::string& Text, size_t& Pos, std::string& Plain);

  // ===== Tabs (the state the job and page cycle resets) =====
  void ClearTabs();
  // Restarts the tab walk: no current tab, nothing pending.
  void ResetTabs();
  bool PushTabs();
  bool PopTabs();
  int TabShade() const { return FTabShade; }
  // Clamped to 0..100.
  void SetTabShade(int Value);
  // 0..3 force that justification in every cell; 4 lets each cell use its own.
  uint8_t TabJustify = 4;
  TColor ShadeColor() const { return FShadeColor; }
  void SetShadeColor(TColor Value) { FShadeColor = Value; }
  // Tabs: defining and querying tab stops. Pos and Width in units, Margin in hundredths of
  // an inch; a negative Pos continues at the right edge of the previous stop (the left
  // margin for the first). Width 0 makes a plain position: no margin, box or shade.
  void SetTab(double Pos, TPrintJustify Justify, double Width, double Margin, TBoxLines BoxLines,
              uint8_t Shade);
  // ClearTabs, and empties the ten tab slots.
  void ClearAllTabs();
  // Index 0: the current tab of the walk; otherwise the Index-th stop (from 1). nullptr
  // for none.
  TTab* GetTab(int Index) const;
  // Where the text of a cell starts and ends, and its width (units; 0 for no such tab).
  // The column offset that Tab adds is not included.
  double TabStart(int Index) const;
  double TabEnd(int Index) const;
  double TabWidth(int Index) const;
  // Slots 1..10 share the list with the current one; false for other numbers, and for
  // SaveTabs also when the current list is empty.
  bool SaveTabs(int Index);
  bool RestoreTabs(int Index);
  // A line of pen width Width (as CreatePen takes it) along the top edge of every cell.
  void RuleTabs(int Width);
  // When a cell is pending, prints Text into it (justified by the cell, or by TabJustify
  // when that is 0..3), ends the pending state and returns true. Print calls it for each
  // piece of text.
  bool PrintTabCell(const std::string& Text);

  // ===== Lines (the collector the page end flushes) =====
  // Page-end listener: draws the collected segments (vertical, then horizontal) with their
  // own pens and empties both lists.
  void FlushLines();
  // Empties both segment lists without drawing.
  void ClearPendingLines();
  // Graphics: the line collector. The end point (units) plus the origin is offered for the
  // line from the last point; true when it was collected (a horizontal or vertical piece,
  // and DirectLines not set). The last point becomes the end point in every case.
  bool CollectLine(double X, double Y);
  // The last point of the line collector (units, origin included).
  double LastLineX() const { return FLastLineX; }
  double LastLineY() const { return FLastLineY; }
  // Set: lines are drawn at once and nothing is collected.
  bool DirectLines() const { return FDirectLines; }
  void SetDirectLines(bool Value) { FDirectLines = Value; }
  // Graphics: pens. Width >= 0 is in device pixels; -10000..-1 means -Width hundredths of
  // an inch, below -10000 -(Width + 10000) ten-thousandths, at the current scale and at
  // least one pixel.
  int PenWidthToDevice(int Width) const;
  // A new pen; a negative Width means -Width hundredths of an inch (at least one pixel).
  std::unique_ptr<TPen> CreatePen(TColor Color, TPenStyle Style, int Width, TPenMode Mode) const;
  // Font cache of the job: forgets the current device font.
  void ClearFontCache();

  // ===== Macros, variables and status =====
  std::string Macro(int Code);
  std::string MacroValue(int Code);
  void ExpandMacros(std::string& Text);
  TStrings* MacroStrings() const;
  void SetMacroStrings(TStrings* List);
  int PageCount() const { return FPageCount; }
  void SetPageCount(int Value) { FPageCount = Value; }
  void UpdateStatus();
  std::string DeviceName();
  std::string DriverName();
  std::string PortName();
  TVXStatusLabel* StatusLabel() const { return FStatusLabel; }
  void SetStatusLabel(TVXStatusLabel* Value);
  const std::string& StatusFormat() const { return FStatusFormat; }
  void SetStatusFormat(const std::string& Value) { FStatusFormat = Value; }
  TStrings* StatusText() const;
  void SetStatusText(TStrings* Value);
  int CurrentCopy() const { return FCurrentCopy; }
  void SetCurrentCopy(int Value) { FCurrentCopy = Value; }
  int TotalCopies() const { return FTotalCopies; }
  void SetTotalCopies(int Value) { FTotalCopies = Value; }
  // The status line for Format (UpdateStatus shows it).
  std::string FormatStatus(const std::string& Format);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // The common sequences concrete engines run; the callbacks are the engine's own device
  // steps. BeginJobSequence: BeginDocument after DoBeforePrint, StartFirstPage when page 1
  // is output. NewPageSequence: ClosePage after the page-end listeners, OpenPage after the
  // base step. EndJobSequence: EndDocument (Aborted) after the page-end listeners; Printing
  // ends and OnAfterPrint fires also when a step fails.
  void BeginJobSequence(const std::function<void()>& BeginDocument,
                        const std::function<void()>& StartFirstPage);
  void NewPageSequence(const std::function<void()>& ClosePage, const std::function<void()>& OpenPage);
  void EndJobSequence(const std::function<void(bool Aborted)>& EndDocument);
  void SetPrinting(bool Value) { FPrinting = Value; }

  // The left edge of column N (inches).
  double ColumnLeft(int N) const { return FSectionLeft + (N - 1) * FColumnWidth; }

  // Current font state.
  TFontRecord FFont;
  bool FFontDirty = true;
  bool FBulkUpdate = false;
  // Text output: drawing on the device canvas by the placement rules, for the engines that
  // draw (X and Width in inches). Each checks the job, does nothing for a suppressed page,
  // prints text with formatted-text codes run by run, and leaves XPos at the text's end.
  void CanvasPrintLeft(const std::string& Text, double X);
  void CanvasPrintCenter(const std::string& Text, double X);
  void CanvasPrintRight(const std::string& Text, double X);
  void CanvasPrintBlock(const std::string& Text, double X, double Width);
  // Pixel width of Text as printed in the current font (TextWidth before the conversion).
  int TextPixels(const std::string& Text);
  TBKMode FTextBKMode = bkTransparent;
  uint8_t FFrameMode = 0;
  bool FDirectLines = false;
  // Graphics: MoveTo of the engines stores its point (units) plus the origin here.
  void SetLastLinePoint(double X, double Y);

private:
  void NextLineOrColumn();
  double PageWidthInch() const;
  double PageHeightInch() const;
  void RecomputeMarginRight();
  void RecomputeMarginBottom();
  std::string StatusCode(char Code);
  static void FlushLinesHook(TObject* Owner, TBaseReport* Report);
  // Raises EPagePress for an operation of the slot table this engine does not provide.
  [[noreturn]] static void NotAvailable(const std::string& Operation);

  // Units and scale.
  TPrintUnits FUnits = unInch;
  double FUnitsFactor = 1.0;
  double FScaleX = 100.0;
  double FScaleY = 100.0;
  double FZoomPercent = 100.0;
  int FDeviceXDPI = 300;
  int FDeviceYDPI = 300;
  int FDevicePixelOffsetX = 0;
  int FDevicePixelOffsetY = 0;
  double FUnprintableLeft = 0;
  double FUnprintableRight = 0;
  double FUnprintableTop = 0;
  double FUnprintableBottom = 0;

  // Page and device (inches).
  TVXBaseDevice* FDevice = nullptr;
  double FRenderPageWidth = 8.5;
  double FRenderPageHeight = 11.0;
  TOrientation FOrientation = poPortrait;
  TOrientation FRequestedOrientation = poPortrait;

  // Margins: the values given (units) and the positions (inches from the page's edges).
  double FMarginLeft = 0;
  double FMarginRight = 0;
  double FMarginTop = 0;
  double FMarginBottom = 0;
  double FLeftMarginPos = 0;
  double FRightMarginPos = 0;
  double FTopMarginPos = 0;
  double FBottomMarginPos = 0;
  double FSectionLeft = 0;
  double FSectionRight = 0;
  double FSectionTop = 0;
  double FSectionBottom = 0;
  double FOriginX = 0;
  double FOriginY = 0;

  // Cursor and lines (inches).
  double FXPos = 0;
  double FYPos = 0;
  double FLineAscent = 0;
  double FLineDescent = 0;
  double FLineHeight = 1.0 / 6.0;
  TLineHeightMethod FLineHeightMethod = lhmLinesPerInch;
  int FLinesPerInch = 6;
  int FLineNum = 1;
  int FColumnNum = 1;
  int FColumns = 1;
  double FColumnWidth = 0;
  double FColumnBetween = 0;
  std::vector<std::pair<double, double>> FPosStack;
  std::array<std::pair<double, double>, 10> FPosSlots{};

  // Job.
  bool FPrinting = false;
  bool FAborted = false;
  int FCurrentPage = 0;
  bool FSkipPage = false;
  std::string FPageSelection;
  int FFirstPage = 1;
  int FLastPage = 9999;
  TOutputKinds FDestinations{0, 1, 2, 3, 4};
  TDateTime FReportDateTime = 0;
  std::string FTitle;
  int FCopies = 1;
  std::string FOutputFileName;
  struct TPageHook {
    TPageHookProc Callback;
    TObject* Owner;
  };
  std::vector<TPageHook> FPageStartHooks;
  std::vector<TPageHook> FPageEndHooks;

  // Canvas font coupling.
  TNotifyEvent FSavedFontChange;
  TFont* FAttachedFont = nullptr;

  // Text output.
  // The font the attribute operations act on: the canvas font during a job, else FOwnFont.
  TFont* CouplingFont();
  // Brings the coupling font in step with the record, lets Edit change it, and reads the
  // change back into the record.
  void EditFont(const std::function<void(TFont*)>& Edit);
  void WriteFontObject(TFont* Font, const TFontRecord& Record);
  void ReadFontObject(TFont* Font);
  int FontPixels(double Height) const;
  std::shared_ptr<TLogicalFont> CreateDeviceFont();
  int PlainTextPixels(const std::string& Text);
  int FormattedTextPixels(const std::string& Text);
  void PrintAtCursor(const std::string& Text);
  // Draws one plain run at X (inches) on the canvas by the vertical rules of the font.
  void PlaceRun(const std::string& Text, double X, TTextHorizontal Horizontal);
  void PlaceReference(int& Y, TTextVertical& Vertical);
  void CanvasPrintRuns(const std::string& Text, double X);
  std::unique_ptr<TFont> FOwnFont;
  std::vector<TFontRecord> FFontStack;
  std::array<TFontRecord, 10> FFontSlots;
  std::vector<TFontRecord> FFontCache;  // most recently used first
  std::shared_ptr<TLogicalFont> FPreviousFont;
  int FFontSelections = 0;
  bool FTabSegments = false;
  bool FIgnoreFormatCodes = false;

  // Tabs.
  std::shared_ptr<TTabList> FTabs;
  std::vector<std::shared_ptr<TTabList>> FTabStack;
  int FTabIndex = -1;  // the current tab, -1 for none
  bool FTabRestart = false;
  bool FTabPending = false;
  int FTabShade = 0;
  TColor FShadeColor = clBlack;
  std::array<std::shared_ptr<TTabList>, 10> FTabSlots;

  // Line collector.
  TLineCollector FVerticalLines;
  TLineCollector FHorizontalLines;
  double FLastLineX = 0;
  double FLastLineY = 0;

  // Macros and status.
  std::unique_ptr<TStringList> FMacroStrings;
  int FPageCount = 9999;
  TVXStatusLabel* FStatusLabel = nullptr;
  std::string FStatusFormat;
  std::unique_ptr<TStringList> FStatusText;
  int FCurrentCopy = 1;
  int FTotalCopies = 1;
};
