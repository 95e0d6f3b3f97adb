#pragma once
// The render bridge: turns a page stream into calls on a render component, an object that
// writes another file format (PDF, HTML, RTF, spreadsheet, plain text, pictures).
//
//   TVXRender        the abstract render: the drawing operations it receives, in a fixed
//                    order with fixed arguments, and its entry in the process-wide registry
//                    that windows and tools use to offer every format.
//   TVXRenderStream  a render that writes to a byte stream, with text-writing helpers.
//   TVXConverter     walks a page stream with the shared page-stream reader, keeps the
//                    current font, brush and pen, expands macro placeholders in texts and
//                    calls the render's operations.
//
// Units: X, Y, widths and heights are inches from the top-left corner of the physical page,
// already scaled by the report's scale; an integer rectangle is in whole points (1/72 in).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/VXDefine.h"
#include "engine/VXFontRecord.h"
#include "platform/DateTime.h"
#include "platform/Format.h"
#include "platform/Types.h"

class TBitmap;
class TBrush;
class TFont;
class TGraphic;
class TPageStreamReader;
class TPen;
class TStream;
class TStrings;
class TVXConverter;
struct TStreamGraphic;
struct TStreamRecord;

class TVXRender : public TVXComponent {
public:
  // Registers the render as "VXRender".
  explicit TVXRender(TComponent* AOwner = nullptr);
  ~TVXRender() override;
  std::string ClassName() const override { return "TVXRender"; }

  // ===== Published properties =====
  // Only active renders are listed by the registry.
  bool Active() const { return FActive; }
  void SetActive(bool Value) { FActive = Value; }
  // The name users see and the registry's key. Setting it moves the render to the end of the
  // registry.
  const std::string& DisplayName() const { return FDisplayName; }
  void SetDisplayName(const std::string& Value);
  // File-dialog pattern of the output files: "*.txt", "*.html;*.htm".
  const std::string& FileExtension() const { return FFileExtension; }
  void SetFileExtension(const std::string& Value) { FFileExtension = Value; }

  // ===== State the converter writes while it runs =====
  TVXConverter* Converter() const { return FConverter; }
  void SetConverter(TVXConverter* Value) { FConverter = Value; }
  // Size of the current page in inches (from each page header of streams of version 2000
  // and later).
  double PageWidth() const { return FPageWidth; }
  void SetPageWidth(double Value) { FPageWidth = Value; }
  double PageHeight() const { return FPageHeight; }
  void SetPageHeight(double Value) { FPageHeight = Value; }
  // Current pen width in inches.
  double PenWidth() const { return FPenWidth; }
  void SetPenWidth(double Value) { FPenWidth = Value; }
  // 0 pen inside the box, 1 centred on the edge, 2 outside the box.
  uint8_t FrameMode() const { return FFrameMode; }
  void SetFrameMode(uint8_t Value) { FFrameMode = Value; }
  // Set when the stream walk failed: the render must not present its output as finished.
  bool Failed() const { return FFailed; }
  void SetFailed(bool Value) { FFailed = Value; }

  // ===== Operations, in slot order (all do nothing here) =====
  virtual void Arc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4);
  // Never sent by the converter.
  virtual void BrushChanged();
  virtual void Chord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4);
  // Text centred on X.
  virtual void CenterText(const std::string& Text, double X, double Y);
  virtual void Ellipse(double X1, double Y1, double X2, double Y2);
  // The render reads the converter's font state.
  virtual void FontChanged();
  // Text starting at X.
  virtual void LeftText(const std::string& Text, double X, double Y);
  virtual void LineTo(double X, double Y);
  // Sent immediately before each LineTo with the previous pen position.
  virtual void MoveTo(double X, double Y);
  virtual void Pie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4);
  // Text ending at X.
  virtual void RightText(const std::string& Text, double X, double Y);
  // Never sent by the converter.
  virtual void PenChanged();
  // ImageStream holds exactly the encoded image, positioned at 0; ImageType names the
  // encoding as stored.
  virtual void PrintImageRect(TStream* ImageStream, const std::string& ImageType, double X1, double Y1,
                              double X2, double Y2);
  virtual void PrintBitmapRect(TBitmap* Bitmap, double X1, double Y1, double X2, double Y2);
  // ScaleX and ScaleY are plain factors.
  virtual void PrintBitmap(TBitmap* Bitmap, double X, double Y, double ScaleX, double ScaleY);
  virtual void StretchDraw(const TRect& Rect, TGraphic* Graphic);
  virtual void Draw(TGraphic* Graphic, double X, double Y);
  // Text justified over Width from X.
  virtual void PrintSpaces(const std::string& Text, double X, double Y, double Width);
  virtual void Rectangle(double X1, double Y1, double X2, double Y2);
  virtual void FillRect(const TRect& Rect);
  virtual void TextRect(const TRect& Rect, double X, double Y, const std::string& Text);
  // X3, Y3: width and height of the corner ellipse.
  virtual void RoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3);
  virtual void DocBegin();
  // After the last page, and when the conversion fails (then Failed is set).
  virtual void DocEnd();
  virtual void PageBegin();
  virtual void PageEnd();
  // The entry point: renders the page stream Stream (positioned at its start) into
  // OutputFileName.
  virtual void PrintRender(TStream* Stream, const std::string& OutputFileName);

  // ===== Bridge hooks =====
  // Called by the converter when the walk fails, before its DocEnd. Sets Failed.
  virtual void GenerationFailed();
  // Called by the converter whenever no operation of this render is running (after each
  // record and after DocBegin, PageBegin and PageEnd): the place to act on requests that
  // arrived while an operation was running, such as a Cancel.
  virtual void BetweenOperations();

  // Bitmap, Graphic and image stream arguments belong to the converter and are destroyed as
  // soon as the call returns; a render copies what it keeps.

private:
  bool FActive = true;
  std::string FDisplayName;
  std::string FFileExtension;
  TVXConverter* FConverter = nullptr;
  double FPageWidth = 8.5;
  double FPageHeight = 11.0;
  double FPenWidth = 0;
  uint8_t FFrameMode = 0;
  bool FFailed = false;
};

// A render that writes its output to a byte stream.
class TVXRenderStream : public TVXRender {
public:
  explicit TVXRenderStream(TComponent* AOwner = nullptr);
  ~TVXRenderStream() override;
  std::string ClassName() const override { return "TVXRenderStream"; }

  // ===== Added operations, in slot order =====
  // Writes the bytes of S to the output stream; nothing for an empty S or without output.
  virtual void Print(const std::string& S);
  virtual void PrintF(const std::string& Fmt, const std::vector<TVarRec>& Args);
  // Print of S, then CR LF.
  virtual void PrintLn(const std::string& S);
  virtual void PrintLnF(const std::string& Fmt, const std::vector<TVarRec>& Args);

  // Creates or truncates FileName (EFCreateError when it cannot), keeps it as the owned
  // stream and writes to it.
  void OutputToFile(const std::string& FileName);
  // Writes to Stream (not owned) from now on.
  void OutputToStream(TStream* Stream);
  // The stream the helpers write to, and the document's main output stream.
  TStream* OutputStream() const { return FOutputStream; }
  TStream* MainStream() const { return FMainStream; }
  // Releases the owned file stream and forgets both streams. Closing twice does nothing.
  void CloseOutput();

private:
  TStream* FOutputStream = nullptr;
  TStream* FMainStream = nullptr;
  std::unique_ptr<TStream> FOwnStream;
};

// ===== Render registry (process-wide, in registration order) =====
void RegisterRender(const std::string& Name, TVXRender* Render);
// Removes the entry holding Render (matched by identity).
void UnregisterRender(const std::string& Name, TVXRender* Render);
// Clears Strings, then adds the display name and render of every active render.
void GetRenderList(TStrings* Strings);
// "Name|Pattern|Name|Pattern..." over the active renders; empty when there are none.
std::string GetRenderFilter();

// Walks a page stream and drives a render. Lives for one Generate call; owns neither the
// stream nor the render.
class TVXConverter : public TObject {
public:
  // ===== Virtual operations, in slot order =====
  // A new picture made from a graphic record of the stream; nullptr when no picture class
  // reads it (metafiles without a registered metafile class, bytes that are no picture):
  // the drawing call is then left out. Kinds other than bitmap, metafile and icon fail
  // with "Unexpected code found in report file.".
  virtual std::unique_ptr<TGraphic> ReadGraphic(const TStreamGraphic& Record);
  // Loads the record's bytes into Picture.
  virtual void LoadGraphic(TGraphic* Picture, const TStreamGraphic& Record);
  // Each "Render".
  virtual std::string DeviceName();
  virtual std::string DriverName();
  virtual std::string PortName();
  // The value the stream recorded for the report variable Name (opcode 37, indirect records
  // followed); empty when it recorded none.
  virtual std::string VariableValue(const std::string& Name);

  TVXConverter(TStream* Stream, TVXRender* Render);
  ~TVXConverter() override;
  TVXConverter(const TVXConverter&) = delete;
  TVXConverter& operator=(const TVXConverter&) = delete;
  std::string ClassName() const override { return "TVXConverter"; }

  // PageNo 0: every page. PageNo > 0: only that page (a number beyond the stream lands on
  // the last page, one below 1 on the first); a non-zero PageCount then replaces the
  // header's page count. A stream without pages converts no page (DocBegin and DocEnd
  // only). Whatever fails after DocBegin, the render is told (GenerationFailed) and gets
  // its DocEnd before the failure propagates.
  virtual void Generate(int PageNo, int PageCount);

  // ===== State =====
  TStream* Stream() const { return FStream; }
  TVXRender* Render() const { return FRender; }
  int Version() const { return FVersion; }
  const std::string& Title() const { return FTitle; }
  TDateTime StartTime() const { return FStartTime; }
  int FirstPage() const { return FFirstPage; }
  int LastPage() const { return FLastPage; }
  int PageCount() const { return FPageCount; }
  int CurrentPage() const { return FCurrentPage; }
  // Face name, colour, pitch, charset, size in whole points and style.
  TFont* Font() const { return FFont.get(); }
  // Current font height in inches (exact; Font holds it rounded to whole points).
  double FontHeight() const { return FFontRecord.Height; }
  bool Superscript() const { return FFontRecord.Superscript; }
  bool Subscript() const { return FFontRecord.Subscript; }
  // Degrees counter-clockwise.
  int FontRotation() const { return FFontRecord.Rotation; }
  TBrush* Brush() const { return FBrush.get(); }
  TPen* Pen() const { return FPen.get(); }
  // The last point reached by a line or move record.
  double PenX() const { return FPenX; }
  double PenY() const { return FPenY; }

  // Text with every macro and variable placeholder replaced by its value (date and time
  // macros use StartTime, page macros the page read last).
  std::string ExpandMacros(const std::string& Text);
  // The value of macro Code; empty for codes without one.
  std::string MacroValue(int Code);

private:
  void ReadHeader();
  bool HasPages() const;
  void ConvertPages(int PageNo);
  void ConvertPage(bool HeaderRead);
  void TakePageHeader();
  void Dispatch(const TStreamRecord& Record);
  void DispatchShape(const TStreamRecord& Record);
  void DispatchPicture(const TStreamRecord& Record);
  void DispatchText(const TStreamRecord& Record);
  void DispatchFont(const TStreamRecord& Record);
  void DispatchPenAndBrush(const TStreamRecord& Record);
  void SendCodedText(uint8_t Code, const std::string& Text, double X, double Y);
  void SendText(uint8_t Code, const std::string& Text, double X, double Y);
  // Width in inches of Text in the font Font describes.
  static double SegmentWidth(const TFontRecord& Font, const std::string& Text);
  void FontRecordChanged();
  void ApplyBrushBitmap(bool HasBitmap, const TStreamGraphic& Graphic);
  std::unique_ptr<TBitmap> ReadBitmap(const TStreamGraphic& Record);

  TStream* FStream;
  TVXRender* FRender;
  std::unique_ptr<TPageStreamReader> FReader;
  int FVersion = 0;
  std::string FTitle;
  TDateTime FStartTime = 0;
  int FFirstPage = 0;
  int FLastPage = 0;
  int FPageCount = 0;
  int FHeaderPageCount = 0;
  int FCurrentPage = 0;
  double FPenX = 0;
  double FPenY = 0;
  // The font as the records and embedded codes set it; Font follows it.
  TFontRecord FFontRecord;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TBrush> FBrush;
  std::unique_ptr<TPen> FPen;
};
