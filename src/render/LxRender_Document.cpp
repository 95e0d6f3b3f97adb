// TLxRenderDocument: text runs, blocks and sorting, and the shape and image helpers.
#include "render/LxRender_Document.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/Bitmap.h"
#include "platform/Brush.h"
#include "platform/FloatFormat.h"
#include "platform/MathUtils.h"
#include "platform/Pen.h"
#include "platform/RasterCanvas.h"
#include "platform/Stream.h"
#include "render/LxRender_Utils.h"

namespace {

constexpr double PixelsPerInch = 96.0;

int Pixels(double Inches) {
  return static_cast<int>(Round(Inches * PixelsPerInch));
}

}  // namespace

TLxRenderDocument::TLxRenderDocument(TComponent* AOwner) : TLxRender(AOwner) {}

TLxRenderDocument::~TLxRenderDocument() = default;

void TLxRenderDocument::SetJPEGQuality(TJPEGQualityRange Value) {
  FJPEGQuality = std::clamp(Value, 1, 100);
}

// ===== Text runs =====

std::unique_ptr<TLxTextDetails> TLxRenderDocument::MakeRun(const std::string& Text, uint8_t Alignment,
                                                           double Width) {
  auto run = std::make_unique<TLxTextDetails>();
  run->Text = Text;
  run->Width = Width;
  run->Height = Converter()->FontHeight() * PixelsPerInch;
  run->Alignment = Alignment;
  FillFontAttributes(*run);
  return run;
}

void TLxRenderDocument::AddMeasuredRun(const std::string& Text, double X, double Y, uint8_t Alignment) {
  if (!CurrentPageInRange()) return;
  const double width = TextExtent(Converter()->Font(), Text).cx;
  auto run = MakeRun(Text, Alignment, width);
  run->X = X * PixelsPerInch;
  if (Alignment == 2) run->X -= width / 2;
  if (Alignment == 1) run->X -= width;
  run->Y = Y * PixelsPerInch;
  AddTextRun(std::move(run), X, Y);
}

void TLxRenderDocument::LeftText(const std::string& Text, double X, double Y) {
  AddMeasuredRun(Text, X, Y, 0);
}

void TLxRenderDocument::CenterText(const std::string& Text, double X, double Y) {
  AddMeasuredRun(Text, X, Y, 2);
}

void TLxRenderDocument::RightText(const std::string& Text, double X, double Y) {
  AddMeasuredRun(Text, X, Y, 1);
}

void TLxRenderDocument::PrintSpaces(const std::string& Text, double X, double Y, double Width) {
  if (!CurrentPageInRange()) return;
  auto run = MakeRun(Text, 3, Width * PixelsPerInch);
  run->X = X * PixelsPerInch;
  run->Y = Y * PixelsPerInch;
  AddTextRun(std::move(run), X, Y);
}

void TLxRenderDocument::FillFontAttributes(TLxTextDetails& Run) {
  TFont* font = Converter()->Font();
  Run.Font.Charset = font->Charset();
  Run.Font.Name = font->Name();
  Run.Font.Pitch = static_cast<uint8_t>(font->Pitch());
  Run.Font.Size = std::abs(font->Size());
  Run.Font.Color = font->Color();
  Run.Font.Style = font->Style();
  Run.Angle = ((Converter()->FontRotation() % 360) + 360) % 360;
}

void TLxRenderDocument::AddTextRun(std::unique_ptr<TLxTextDetails> Run, double X, double Y) {
  if (!FTextRuns.empty() && TextPending()) {
    const TLxTextDetails& last = *FTextRuns.back();
    const bool otherAlignment = Run->Alignment != last.Alignment;
    const bool farBelow = Run->Y > last.Y + 1.5 * last.Height;
    const bool otherAnchor = X != LastX();
    if (otherAlignment || farBelow || otherAnchor) FlushText();
  }
  SetLastX(X);
  SetLastY(Y);
  SetTextPending(true);
  FTextRuns.push_back(std::move(Run));
}

void TLxRenderDocument::InsertSorted(const TLxTextDetails& Run, TLxTextRuns& List) {
  auto copy = std::make_unique<TLxTextDetails>(Run);
  size_t at = List.size();
  while (at > 0) {
    const TLxTextDetails& e = *List[at - 1];
    if (copy->Y > e.Y || (copy->Y == e.Y && copy->X >= e.X)) break;
    --at;
  }
  List.insert(List.begin() + static_cast<std::ptrdiff_t>(at), std::move(copy));
}

void TLxRenderDocument::ClearTextRuns() {
  for (size_t i = 0; i < FTextRuns.size(); ++i) ProcessMessages();
  FTextRuns.clear();
}

void TLxRenderDocument::FontChanged() {
  if (CurrentPageInRange() && TextPending()) FlushText();
}

void TLxRenderDocument::BrushChanged() {
  if (CurrentPageInRange() && TextPending()) FlushText();
}

void TLxRenderDocument::PenChanged() {
  if (CurrentPageInRange() && TextPending()) FlushText();
}

void TLxRenderDocument::DocBegin() {
  if (Cancelled()) return;
  TLxRender::DocBegin();
  FTextRuns.clear();
}

void TLxRenderDocument::DocEnd() {
  ClearTextRuns();
  TLxRender::DocEnd();
}

std::string TLxRenderDocument::EncodeText(const std::string& Text) {
  return Text;
}

std::string TLxRenderDocument::FormatNumber(double Value) {
  // Adding 0 turns the -0 of ceil(-0.5) into 0.
  return IntToStr(static_cast<int64_t>(std::ceil(Value)) + 0);
}

void TLxRenderDocument::FlushText() {}

// ===== Shapes as bitmaps =====

std::unique_ptr<TBitmap> TLxRenderDocument::ShapeBitmap(double X1, double Y1, double X2, double Y2,
                                                        bool Filled) {
  auto bitmap = std::make_unique<TBitmap>(Pixels(std::abs(X2 - X1)), Pixels(std::abs(Y2 - Y1)));
  TCanvas* canvas = bitmap->Canvas();
  canvas->SetPen(Converter()->Pen());
  if (Filled) canvas->SetBrush(Converter()->Brush());
  bitmap->SetTransparent(true);
  return bitmap;
}

std::unique_ptr<TBitmap> TLxRenderDocument::ArcBitmap(double X1, double Y1, double X2, double Y2, double X3,
                                                      double Y3, double X4, double Y4) {
  auto bitmap = ShapeBitmap(X1, Y1, X2, Y2, false);
  bitmap->Canvas()->Arc(0, 0, bitmap->Width(), bitmap->Height(), Pixels(X3 - X1), Pixels(Y3 - Y1),
                        Pixels(X4 - X1), Pixels(Y4 - Y1));
  return bitmap;
}

std::unique_ptr<TBitmap> TLxRenderDocument::ChordBitmap(double X1, double Y1, double X2, double Y2, double X3,
                                                        double Y3, double X4, double Y4) {
  auto bitmap = ShapeBitmap(X1, Y1, X2, Y2, true);
  bitmap->Canvas()->Chord(0, 0, bitmap->Width(), bitmap->Height(), Pixels(X3 - X1), Pixels(Y3 - Y1),
                          Pixels(X4 - X1), Pixels(Y4 - Y1));
  return bitmap;
}

std::unique_ptr<TBitmap> TLxRenderDocument::PieBitmap(double X1, double Y1, double X2, double Y2, double X3,
                                                      double Y3, double X4, double Y4) {
  auto bitmap = ShapeBitmap(X1, Y1, X2, Y2, true);
  bitmap->Canvas()->Pie(0, 0, bitmap->Width(), bitmap->Height(), Pixels(X3 - X1), Pixels(Y3 - Y1),
                        Pixels(X4 - X1), Pixels(Y4 - Y1));
  return bitmap;
}

std::unique_ptr<TBitmap> TLxRenderDocument::EllipseBitmap(double X1, double Y1, double X2, double Y2) {
  auto bitmap = ShapeBitmap(X1, Y1, X2, Y2, true);
  bitmap->Canvas()->Ellipse(0, 0, bitmap->Width(), bitmap->Height());
  return bitmap;
}

std::unique_ptr<TBitmap> TLxRenderDocument::RoundRectBitmap(double X1, double Y1, double X2, double Y2,
                                                            double X3, double Y3) {
  auto bitmap = ShapeBitmap(X1, Y1, X2, Y2, true);
  bitmap->Canvas()->RoundRect(0, 0, bitmap->Width(), bitmap->Height(), Pixels(X3), Pixels(Y3));
  return bitmap;
}

std::unique_ptr<TBitmap> TLxRenderDocument::LineBitmap(double X0, double Y0, double X, double Y) {
  auto bitmap = ShapeBitmap(X0, Y0, X, Y, false);
  const int width = bitmap->Width();
  const int height = bitmap->Height();
  // From the corner nearest (X0, Y0) to the opposite one.
  const int startX = X >= X0 ? 0 : width;
  const int startY = Y >= Y0 ? 0 : height;
  bitmap->Canvas()->MoveTo(startX, startY);
  bitmap->Canvas()->LineTo(width - startX, height - startY);
  return bitmap;
}

// ===== Images =====

std::unique_ptr<TMemoryStream> TLxRenderDocument::EncodeJPEGStream(TBitmap* Bitmap,
                                                                   TJPEGQualityRange Quality) {
  TJPEGImage jpeg;
  jpeg.SetCompressionQuality(std::clamp(Quality, 1, 100));
  jpeg.SetProgressiveEncoding(false);
  jpeg.Assign(Bitmap);
  auto stream = std::make_unique<TMemoryStream>();
  jpeg.SaveToStream(stream.get());
  stream->SetPosition(0);
  return stream;
}

std::string TLxRenderDocument::SaveImageFile(TBitmap* Bitmap, TLxImageFormat Format,
                                             const std::string& BaseName, TJPEGQualityRange Quality) {
  if (Format == ifBMP) {
    const std::string name = BaseName + ".bmp";
    Bitmap->SaveToFile(name);
    return name;
  }
  // GIF files are written as JPEG files as well.
  const std::string name = BaseName + ".jpg";
  EncodeJPEGStream(Bitmap, Format == ifGIF ? 90 : Quality)->SaveToFile(name);
  return name;
}
