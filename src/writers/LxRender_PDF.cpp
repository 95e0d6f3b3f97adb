// TLxRenderPDF: the render operations mapped onto the PDF document.
#include "writers/LxRender_PDF.h"

#include <cmath>

#include "engine/VXDefine.h"
#include "platform/Bitmap.h"
#include "platform/Brush.h"
#include "platform/Font.h"
#include "platform/Graphic.h"
#include "platform/MathUtils.h"
#include "platform/Pen.h"
#include "platform/Picture.h"
#include "platform/Stream.h"
#include "render/LxRender_Utils.h"
#include "writers/LxPdfImages.h"
#include "writers/LxPdfSyntax.h"

namespace {

constexpr double ScreenPixelsPerInch = 96.0;
// StretchDraw renders its picture at this resolution.
constexpr double StretchPixelsPerInch = 400.0;

int RoundPixels(double Value) {
  return static_cast<int>(Round(Value));
}

}  // namespace

TLxRenderPDF::TLxRenderPDF(TComponent* AOwner) : TLxRenderDocument(AOwner) {
  SetDisplayName("Adobe Acrobat Document (*.pdf)");
  SetFileExtension("*.pdf");
}

TLxRenderPDF::~TLxRenderPDF() = default;

void TLxRenderPDF::SetExportImageFormat(TLxImageFormat Value) {
  if (Value != ifJPG) {
    ShowError(Trans("The PDF export supports only the JPEG image format"));
    return;
  }
  TLxRenderDocument::SetExportImageFormat(Value);
}

std::string TLxRenderPDF::EncodeText(const std::string& Text) {
  return PdfEscapeText(Text);
}

std::string TLxRenderPDF::FormatNumber(double Value) {
  return PdfNumber(Value);
}

// ===== Generation =====

void TLxRenderPDF::PrintRender(TStream* Stream, const std::string& OutputFileName) {
  TStream* callerStream = OutputStream();
  TLxRenderDocument::PrintRender(Stream, OutputFileName);
  if (Cancelled()) return;
  if (callerStream) {
    FCallerStream = callerStream;
    FMemoryOutput = std::make_unique<TMemoryStream>();
    OutputToStream(FMemoryOutput.get());
  } else if (!OpenOutputFile(OutputFiles()->Strings(0))) {
    return;
  }
  RunConverter(Stream);
}

void TLxRenderPDF::DocBegin() {
  if (Cancelled()) return;
  TLxRenderDocument::DocBegin();
  if (Cancelled() || !OutputStream()) return;  // an OnDocBegin handler may have aborted
  FDocument = std::make_unique<TLxPdfDocument>(OutputStream());
  FDocument->SetEncoding(FEncoding);
  FDocument->SetIncludeImages(IncludeImages());
  FDocument->SetJPEGQuality(JPEGQuality());
  FDocument->SetBackgroundColor(BackgroundColor());
  FDocument->SetBackgroundPicture(BackgroundImage() ? BackgroundImage()->Graphic() : nullptr);
  FDocument->BeginDocument();
}

void TLxRenderPDF::PageBegin() {
  if (!CurrentPageInRange()) return;
  TLxRenderDocument::PageBegin();
  // An OnPageBegin handler may have cancelled the generation.
  if (!FDocument || !CurrentPageInRange()) return;
  FDocument->BeginPage(PageWidth(), PageHeight(), BackgroundBox());
}

void TLxRenderPDF::PageEnd() {
  if (CurrentPageInRange() && FDocument) {
    if (TextPending()) FlushText();
    FDocument->EndPage();
  }
  TLxRenderDocument::PageEnd();
}

void TLxRenderPDF::DocEnd() {
  if (!Cancelled() && FDocument) {
    TLxPdfInfo info;
    info.Author = Author();
    info.Keywords = Keywords();
    info.Creator = Creator();
    info.Title = Converter() ? Converter()->Title() : std::string();
    info.CreationDate = Now();
    info.TimeZoneBias = GetTimeZoneBias();
    FDocument->EndDocument(info, PageWidth(), PageHeight());
    if (FCallerStream && FMemoryOutput) FMemoryOutput->SaveToStream(FCallerStream);
  }
  FDocument.reset();
  TLxRenderDocument::DocEnd();
  FCallerStream = nullptr;
  FMemoryOutput.reset();
}

void TLxRenderPDF::CloseFiles() {
  // The document writes to the output: it goes first, so that nothing reaches a closed file.
  FDocument.reset();
  TLxRenderDocument::CloseFiles();
}

TLxPdfBackgroundBox TLxRenderPDF::BackgroundBox() const {
  const double pageWidth = PageWidth() * 72.0;
  const double pageHeight = PageHeight() * 72.0;
  const TPicture* picture = BackgroundImage();
  if (!picture || !picture->Graphic()) return {};
  const TLxBackgroundDisplayType type = BackgroundImageDisplayType();
  if (type == dtTile) return {0, 0, pageWidth, pageHeight};
  TLxPdfBackgroundBox box;
  box.Width = picture->Width() / ScreenPixelsPerInch * 72.0;
  box.Height = picture->Height() / ScreenPixelsPerInch * 72.0;
  switch (type) {
    case dtCenterLeft:
    case dtCenter:
    case dtCenterRight:
      box.Top = (pageHeight - box.Height) / 2;
      break;
    case dtBottomLeft:
    case dtBottomCenter:
    case dtBottomRight:
      box.Top = pageHeight - box.Height;
      break;
    default:
      box.Top = 0;
  }
  switch (type) {
    case dtTopCenter:
    case dtCenter:
    case dtBottomCenter:
      box.Left = (pageWidth - box.Width) / 2;
      break;
    case dtTopRight:
    case dtCenterRight:
    case dtBottomRight:
      box.Left = pageWidth - box.Width;
      break;
    default:
      box.Left = 0;
  }
  return box;
}

// ===== Text =====

int TLxRenderPDF::FontIndexOf(const TLxFontAttrib& Font) {
  const int known = FDocument->Fonts().IndexOf(PdfFontKey(Font.Name, Font.Style));
  if (known >= 0) return known;
  TFont font;
  font.SetName(Font.Name);
  font.SetCharset(Font.Charset);
  font.SetPitch(static_cast<TFontPitch>(Font.Pitch));
  font.SetSize(Font.Size);
  font.SetColor(Font.Color);
  font.SetStyle(Font.Style);
  return FDocument->FontIndex(font);
}

TLxPdfTextRun TLxRenderPDF::PdfRun(const TLxTextDetails& Run, int FontIndex) const {
  TLxPdfTextRun run;
  run.Text = Run.Text;
  run.FontIndex = FontIndex;
  run.FontSize = Run.Font.Size;
  run.Color = Run.Font.Color;
  run.Underline = Run.Font.Style.Contains(fsUnderline);
  run.StrikeOut = Run.Font.Style.Contains(fsStrikeOut);
  run.Alignment = Run.Alignment;
  run.X = Run.X;
  run.Y = Run.Y;
  run.Width = Run.Width;
  run.Angle = Run.Angle;
  return run;
}

void TLxRenderPDF::FlushText() {
  if (FDocument) {
    for (const auto& run : TextRuns()) {
      const int index = FontIndexOf(run->Font);
      FDocument->Content().TextRun(PdfRun(*run, index), FDocument->FontInfo(index));
    }
  }
  ClearTextRuns();
  SetTextPending(false);
}

void TLxRenderPDF::TextRect(const TRect& Rect, double X, double Y, const std::string& Text) {
  if (!StartDrawing()) return;
  // The run carries the measured width of its text, so it keeps its natural spacing; the
  // rectangle only clips it.
  TLxTextDetails run;
  run.Text = Text;
  FillFontAttributes(run);
  run.Alignment = 0;
  run.Width = TextExtent(Converter()->Font(), Text).cx;
  run.Height = Converter()->FontHeight() * ScreenPixelsPerInch;
  run.X = X * ScreenPixelsPerInch;
  run.Y = Y * ScreenPixelsPerInch;
  const int index = FontIndexOf(run.Font);
  FDocument->Content().TextRect(Rect, IncludeLines(), CurrentPen(), CurrentBrush(), PdfRun(run, index),
                                FDocument->FontInfo(index));
}

// ===== Lines and shapes =====

bool TLxRenderPDF::StartDrawing() {
  if (!CurrentPageInRange() || !FDocument) return false;
  if (TextPending()) FlushText();
  return true;
}

TLxPdfPen TLxRenderPDF::CurrentPen() const {
  const TPen* pen = Converter()->Pen();
  // The page stream carries the pen width in inches (the converter's pen keeps the device
  // default of one pixel); in screen pixels it gives the report's own line weight.
  const double width = PenWidth() > 0 ? PenWidth() * ScreenPixelsPerInch : pen->Width();
  return TLxPdfPen{pen->Style(), width, pen->Color()};
}

TLxPdfBrush TLxRenderPDF::CurrentBrush() const {
  const TBrush* brush = Converter()->Brush();
  return TLxPdfBrush{brush->Style() == bsClear, brush->Color()};
}

void TLxRenderPDF::LineTo(double X, double Y) {
  if (!StartDrawing() || !IncludeLines()) return;
  // The bridge sends MoveTo with the start point just before.
  FDocument->Content().Line(CurrentPen(), CurrentBrush(), LastX(), LastY(), X, Y);
}

void TLxRenderPDF::Rectangle(double X1, double Y1, double X2, double Y2) {
  if (!StartDrawing() || !IncludeLines()) return;
  FDocument->Content().Rectangle(CurrentPen(), CurrentBrush(), X1, Y1, X2 - X1, Y2 - Y1);
}

void TLxRenderPDF::FillRect(const TRect& Rect) {
  if (!StartDrawing() || !IncludeLines()) return;
  FDocument->Content().Rectangle(CurrentPen(), CurrentBrush(), Rect.Left / 72.0, Rect.Top / 72.0,
                                 (Rect.Right - Rect.Left) / 72.0, (Rect.Bottom - Rect.Top) / 72.0);
}

void TLxRenderPDF::RoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3) {
  if (!StartDrawing() || !IncludeLines()) return;
  FDocument->Content().RoundRect(CurrentPen(), CurrentBrush(), X1, Y1, X2, Y2, X3, Y3);
}

void TLxRenderPDF::Ellipse(double X1, double Y1, double X2, double Y2) {
  if (!StartDrawing() || !IncludeNonRectShapes()) return;
  FDocument->Content().Ellipse(CurrentPen(), CurrentBrush(), X1, Y1, X2, Y2);
}

void TLxRenderPDF::Arc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                       double Y4) {
  if (!StartDrawing() || !IncludeNonRectShapes()) return;
  FDocument->Content().Arc(CurrentPen(), X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TLxRenderPDF::Chord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                         double Y4) {
  if (!StartDrawing() || !IncludeNonRectShapes()) return;
  FDocument->Content().Chord(CurrentPen(), CurrentBrush(), X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TLxRenderPDF::Pie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                       double Y4) {
  if (!StartDrawing() || !IncludeNonRectShapes()) return;
  FDocument->Content().Pie(CurrentPen(), CurrentBrush(), X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

// ===== Pictures =====

void TLxRenderPDF::PlacePicture(TGraphic* Graphic, int Width, int Height, double X, double Y,
                                double PixelsPerInch) {
  if (!Graphic || Width <= 0 || Height <= 0) return;
  const std::unique_ptr<TBitmap> bitmap = PdfPictureBitmap(Graphic, Width, Height);
  FDocument->PlaceImage(bitmap.get(), X, Y, Width / PixelsPerInch, Height / PixelsPerInch);
}

void TLxRenderPDF::Draw(TGraphic* Graphic, double X, double Y) {
  if (!StartDrawing() || !IncludeImages() || !Graphic) return;
  PlacePicture(Graphic, Graphic->Width(), Graphic->Height(), X, Y, ScreenPixelsPerInch);
}

void TLxRenderPDF::PrintBitmapRect(TBitmap* Bitmap, double X1, double Y1, double X2, double Y2) {
  if (!StartDrawing() || !IncludeImages()) return;
  PlacePicture(Bitmap, RoundPixels(std::abs(X2 - X1) * ScreenPixelsPerInch),
               RoundPixels(std::abs(Y2 - Y1) * ScreenPixelsPerInch), X1, Y1, ScreenPixelsPerInch);
}

void TLxRenderPDF::PrintBitmap(TBitmap* Bitmap, double X, double Y, double ScaleX, double ScaleY) {
  if (!StartDrawing() || !IncludeImages() || !Bitmap) return;
  PlacePicture(Bitmap, RoundPixels(Bitmap->Width() * ScaleX), RoundPixels(Bitmap->Height() * ScaleY), X, Y,
               ScreenPixelsPerInch);
}

void TLxRenderPDF::StretchDraw(const TRect& Rect, TGraphic* Graphic) {
  if (!StartDrawing() || !IncludeImages()) return;
  PlacePicture(Graphic, RoundPixels(std::abs(Rect.Right - Rect.Left) / 72.0 * StretchPixelsPerInch),
               RoundPixels(std::abs(Rect.Bottom - Rect.Top) / 72.0 * StretchPixelsPerInch), Rect.Left / 72.0,
               Rect.Top / 72.0, StretchPixelsPerInch);
}
