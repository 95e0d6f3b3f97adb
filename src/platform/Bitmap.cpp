#include "platform/Bitmap.h"

#include <algorithm>
#include <cstring>

#include "platform/BitmapImage.h"
#include "platform/BmpCodec.h"
#include "platform/Canvas.h"
#include "platform/JPEGImage.h"
#include "platform/QtBridge.h"
#include "platform/RasterCanvas.h"
#include "platform/Stream.h"

namespace {

// The largest raster a bitmap may hold: 32768 pixels a side and 512 MiB.
constexpr int64_t MaxSide = 32768;
constexpr int64_t MaxPixels = (int64_t{512} << 20) / 4;
// A bitmap file larger than this cannot hold a raster within those bounds.
constexpr int64_t MaxFileBytes = int64_t{1} << 30;

constexpr QRgb White = 0xFFFFFFFFu;
constexpr QRgb Black = 0xFF000000u;

QImage WhiteImage(int Width, int Height) {
  if (Width > MaxSide || Height > MaxSide || int64_t{Width} * Height > MaxPixels)
    throw EOutOfMemory("Out of system resources");
  EnsureGuiApplication();
  QImage image(Width, Height, QImage::Format_RGB32);
  if (image.isNull()) throw EOutOfMemory("Out of system resources");
  image.fill(White);
  return image;
}

QRgb MonochromePixel(QRgb Pixel) {
  return IsWhiteInMonochrome(Pixel) ? White : Black;
}

std::vector<uint8_t> ReadRest(TStream* Stream) {
  const int64_t count = Stream->Size() - Stream->Position();
  if (count <= 0) return {};
  if (count > MaxFileBytes) throw EInvalidGraphic("Bitmap image is not valid");
  std::vector<uint8_t> data(static_cast<size_t>(count));
  Stream->ReadBuffer(data.data(), count);
  return data;
}

}  // namespace

TBitmap::TBitmap() : FImage(std::make_unique<TBitmapImage>()) {}

TBitmap::TBitmap(int AWidth, int AHeight) : TBitmap() {
  Resize(AWidth, AHeight);
}

// Out of line: the canvas type is complete only here.
TBitmap::~TBitmap() = default;

std::unique_ptr<TGraphic> TBitmap::Clone() const {
  auto copy = std::make_unique<TBitmap>();
  copy->AssignBitmap(*this);
  copy->SetModified(false);
  return copy;
}

void TBitmap::Assign(TPersistent* Source) {
  if (!Source) {
    Resize(0, 0);
    return;
  }
  if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
    if (bitmap != this) AssignBitmap(*bitmap);
    return;
  }
  if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
    AssignGraphic(graphic);
    return;
  }
  TGraphic::Assign(Source);
}

void TBitmap::AssignBitmap(const TBitmap& Source) {
  // QImage shares pixels until either side writes: a deep copy in effect.
  FImage->Image = Source.FImage->Image;
  FImage->XPelsPerMeter = Source.FImage->XPelsPerMeter;
  FImage->YPelsPerMeter = Source.FImage->YPelsPerMeter;
  FWidth = Source.FWidth;
  FHeight = Source.FHeight;
  FTransparentMode = Source.FTransparentMode;
  FTransparentColor = Source.FTransparentColor;
  FMonochrome = Source.FMonochrome;
  FPixelFormat = Source.FPixelFormat;
  if (Transparent() != Source.Transparent()) TGraphic::SetTransparent(Source.Transparent());
  Changed();
}

void TBitmap::AssignGraphic(TGraphic* Source) {
  // A JPEG image already is a raster: take its pixels rather than drawing them.
  if (auto* jpeg = dynamic_cast<TJPEGImage*>(Source)) {
    if (TBitmap* decoded = jpeg->Bitmap()) {
      AssignBitmap(*decoded);
      return;
    }
  }
  FImage->Image = QImage();
  FImage->XPelsPerMeter = DefaultPelsPerMeter;
  FImage->YPelsPerMeter = DefaultPelsPerMeter;
  FWidth = FHeight = 0;
  FMonochrome = false;
  FPixelFormat = pfDevice;
  Resize(Source->Width(), Source->Height());
  if (Empty()) {
    Changed();
    return;
  }
  // The picture drawn on white at its own size, whatever copy mode the canvas was left in.
  TCanvas* canvas = Canvas();
  TCopyMode mode = canvas->CopyMode();
  canvas->SetCopyMode(cmSrcCopy);
  Source->Draw(canvas, Rect(0, 0, Width(), Height()));
  canvas->SetCopyMode(mode);
  Changed();
}

int TBitmap::Width() const {
  return FImage->Image.isNull() ? FWidth : FImage->Image.width();
}

int TBitmap::Height() const {
  return FImage->Image.isNull() ? FHeight : FImage->Image.height();
}

void TBitmap::SetWidth(int Value) {
  Resize(Value, Height());
}

void TBitmap::SetHeight(int Value) {
  Resize(Width(), Value);
}

void TBitmap::SetSize(int AWidth, int AHeight) {
  Resize(AWidth, AHeight);
}

bool TBitmap::Empty() const {
  return Width() == 0 || Height() == 0;
}

void TBitmap::Resize(int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (AWidth == Width() && AHeight == Height()) return;
  if (AWidth == 0 || AHeight == 0) {
    FImage->Image = QImage();
    FWidth = AWidth;
    FHeight = AHeight;
    Changed();
    return;
  }
  QImage image = WhiteImage(AWidth, AHeight);  // may raise: nothing changed yet
  FWidth = AWidth;
  FHeight = AHeight;
  const QImage& old = FImage->Image;
  if (!old.isNull()) {
    const int rows = std::min(old.height(), AHeight);
    const size_t bytes = sizeof(QRgb) * std::min(old.width(), AWidth);
    for (int y = 0; y < rows; ++y) std::memcpy(image.scanLine(y), old.constScanLine(y), bytes);
  }
  FImage->Image = std::move(image);
  Changed();
}

TRasterCanvas* TBitmap::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TRasterCanvas>(FImage.get());
  return FCanvas.get();
}

TColor TBitmap::TransparentColor() const {
  if (FTransparentMode == tmFixed)
    return (FTransparentColor & clSystemColor) ? ColorToRGB(FTransparentColor) : FTransparentColor;
  return Pixel(0, Height() - 1);
}

void TBitmap::SetTransparentColor(TColor Value) {
  FTransparentColor = Value;
  FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (Value == FTransparentMode) return;
  // Fixing the mode fixes the colour seen at that moment.
  SetTransparentColor(Value == tmAuto ? clDefault : TransparentColor());
}

void TBitmap::SetMonochrome(bool Value) {
  if (Value == FMonochrome) return;
  FMonochrome = Value;
  if (Value) MakeMonochromePixels();
  Changed();
}

void TBitmap::MakeMonochromePixels() {
  QImage& image = FImage->Image;
  for (int y = 0; y < image.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) line[x] = MonochromePixel(line[x]);
  }
}

TPixelFormat TBitmap::PixelFormat() const {
  return FMonochrome ? pf1bit : FPixelFormat;
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  FPixelFormat = Value;
  if ((Value == pf1bit) != FMonochrome)
    SetMonochrome(Value == pf1bit);
  else
    Changed();
}

void TBitmap::LoadFromStream(TStream* Stream) {
  std::vector<uint8_t> data = ReadRest(Stream);
  if (data.empty()) {
    Resize(0, 0);
    return;
  }
  TDibFormat format;
  AdoptDecoded(DecodeBmpFile(data.data(), data.size(), &format), format);
}

void TBitmap::SaveToStream(TStream* Stream) {
  if (Empty()) return;
  if (FMonochrome) MakeMonochromePixels();
  std::vector<uint8_t> data =
      EncodeBmpFile(FImage->Image, FMonochrome, FImage->XPelsPerMeter, FImage->YPelsPerMeter);
  Stream->WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
}

void TBitmap::LoadFromDIB(const uint8_t* Data, size_t Size) {
  TDibFormat format;
  AdoptDecoded(DecodeDib(Data, Size, &format), format);
}

void TBitmap::AdoptDecoded(QImage Image, const TDibFormat& Format) {
  FImage->Image = std::move(Image);
  FImage->XPelsPerMeter = Format.XPelsPerMeter > 0 ? Format.XPelsPerMeter : DefaultPelsPerMeter;
  FImage->YPelsPerMeter = Format.YPelsPerMeter > 0 ? Format.YPelsPerMeter : DefaultPelsPerMeter;
  FWidth = FImage->Image.width();
  FHeight = FImage->Image.height();
  FMonochrome = Format.Monochrome;
  FPixelFormat = Format.PixelFormat;
  Changed();
}

std::vector<uint8_t> TBitmap::SaveToDIB() {
  if (Empty()) return {};
  if (FMonochrome) MakeMonochromePixels();
  return EncodeDib(FImage->Image, FMonochrome, FImage->XPelsPerMeter, FImage->YPelsPerMeter);
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty() || !ACanvas) return;
  if (FMonochrome) MakeMonochromePixels();
  ACanvas->StretchBitmap(Rect, this, ::Rect(0, 0, Width(), Height()), ACanvas->CopyMode(),
                         Transparent() ? TransparentColor() : clNone);
}

TColor TBitmap::Pixel(int X, int Y) const {
  const QImage& image = FImage->Image;
  if (X < 0 || Y < 0 || X >= image.width() || Y >= image.height()) return static_cast<TColor>(-1);
  QRgb pixel = reinterpret_cast<const QRgb*>(image.constScanLine(Y))[X];
  return QRgbToColor(FMonochrome ? MonochromePixel(pixel) : pixel);
}

void TBitmap::SetPixel(int X, int Y, TColor Color) {
  QImage& image = FImage->Image;
  if (X < 0 || Y < 0 || X >= image.width() || Y >= image.height()) return;
  QRgb pixel = ColorToQRgb(Color);
  reinterpret_cast<QRgb*>(image.scanLine(Y))[X] = FMonochrome ? MonochromePixel(pixel) : pixel;
  Changed();
}
