#pragma once
// TLxRenderPDF: a report as one PDF 1.3 file. Text is placed as positioned runs in TrueType
// fonts that are named and measured but not embedded; lines and shapes become path
// operators; every picture becomes a JPEG image object; each page can carry a background
// colour and a background picture. Content streams are written as plain text: the
// compression properties are kept and shown, but do not change the bytes written.
//
// The document's objects, their numbering and order are kept by TLxPdfDocument; this class
// maps the render operations and the render's properties onto it.
#include <memory>
#include <string>

#include "render/LxRender_Document.h"
#include "writers/LxPdfContent.h"
#include "writers/LxPdfDocument.h"
#include "writers/LxPdfFonts.h"

class TMemoryStream;

enum TPDFCompressionMethod { cmFastest, cmNormal, cmMaxCompress };

class TLxRenderPDF : public TLxRenderDocument {
public:
  explicit TLxRenderPDF(TComponent* AOwner = nullptr);
  ~TLxRenderPDF() override;
  std::string ClassName() const override { return "TLxRenderPDF"; }

  // ===== Published properties (Author, Keywords, Creator, BackgroundColor, BackgroundImage,
  // BackgroundImageDisplayType, IncludeLines, IncludeNonRectShapes, IncludeImages,
  // ExportImageFormat and JPEGQuality are inherited) =====
  // Shown as "Compress Document"; not consulted when writing.
  bool UseCompression() const { return FUseCompression; }
  void SetUseCompression(bool Value) { FUseCompression = Value; }
  // Shown as "Compression Level"; not consulted when writing.
  TPDFCompressionMethod CompressionMethod() const { return FCompressionMethod; }
  void SetCompressionMethod(TPDFCompressionMethod Value) { FCompressionMethod = Value; }
  // The encoding named in every font object.
  TPDFFontEncoding Encoding() const { return FEncoding; }
  void SetEncoding(TPDFFontEncoding Value) { FEncoding = Value; }
  // Only ifJPG is accepted; any other value is refused through ShowError.
  void SetExportImageFormat(TLxImageFormat Value) override;

  // ===== Render operations =====
  void Arc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4) override;
  void Chord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4) override;
  void Ellipse(double X1, double Y1, double X2, double Y2) override;
  void LineTo(double X, double Y) override;
  void Pie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4) override;
  void PrintBitmapRect(TBitmap* Bitmap, double X1, double Y1, double X2, double Y2) override;
  void PrintBitmap(TBitmap* Bitmap, double X, double Y, double ScaleX, double ScaleY) override;
  void StretchDraw(const TRect& Rect, TGraphic* Graphic) override;
  void Draw(TGraphic* Graphic, double X, double Y) override;
  void Rectangle(double X1, double Y1, double X2, double Y2) override;
  void FillRect(const TRect& Rect) override;
  void TextRect(const TRect& Rect, double X, double Y, const std::string& Text) override;
  void RoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3) override;
  void DocBegin() override;
  void DocEnd() override;
  void PageBegin() override;
  void PageEnd() override;
  // Writes into a file under the first output name, or, when the caller gave an output
  // stream (OutputToStream) before, into memory that is copied to that stream at the end.
  void PrintRender(TStream* Stream, const std::string& OutputFileName) override;

  // ===== Document model hooks =====
  // Escaped for a PDF string: backslash and parentheses (and control bytes).
  std::string EncodeText(const std::string& Text) override;
  // Four decimals with a full stop.
  std::string FormatNumber(double Value) override;
  // Writes every pending run into the page content.
  void FlushText() override;

  // Where the background picture goes on a page of the current size (points from the
  // top-left corner).
  TLxPdfBackgroundBox BackgroundBox() const;

protected:
  void CloseFiles() override;

private:
  // True when a drawing operation may write: page in range and a document open; pending
  // text is written first so that text and graphics keep the recorded order.
  bool StartDrawing();
  TLxPdfPen CurrentPen() const;
  TLxPdfBrush CurrentBrush() const;
  // The font list position of a run's font (measured when first used).
  int FontIndexOf(const TLxFontAttrib& Font);
  TLxPdfTextRun PdfRun(const TLxTextDetails& Run, int FontIndex) const;
  void PlacePicture(TGraphic* Graphic, int Width, int Height, double X, double Y, double PixelsPerInch);

  bool FUseCompression = true;
  TPDFCompressionMethod FCompressionMethod = cmMaxCompress;
  TPDFFontEncoding FEncoding = feWinAnsiEncoding;

  std::unique_ptr<TLxPdfDocument> FDocument;
  // The caller's stream, and the memory the document goes to until it is copied there.
  TStream* FCallerStream = nullptr;
  std::unique_ptr<TMemoryStream> FMemoryOutput;
};
