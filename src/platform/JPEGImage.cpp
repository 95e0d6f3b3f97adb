#include "platform/JPEGImage.h"

#include <algorithm>

#include "platform/Bitmap.h"
#include "platform/BitmapImage.h"
#include "platform/JpegCodec.h"
#include "platform/QtBridge.h"
#include "platform/Stream.h"

namespace {

// A JPEG file larger than this cannot hold an image within the decoder's bounds.
constexpr int64_t MaxFileBytes = int64_t{1} << 30;

// libjpeg's output size at 1/Denominator: rounded up.
int ScaledSize(int Size, TJPEGScale Scale) {
  const int denominator = 1 << static_cast<int>(Scale);
  return (Size + denominator - 1) / denominator;
}

}  // namespace

TJPEGImage::TJPEGImage() = default;

TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::Clear() {
  FData.clear();
  FBitmap.reset();
  FDataIsSource = false;
  FDataWidth = FDataHeight = 0;
}

void TJPEGImage::Assign(TPersistent* Source) {
  if (!Source) {
    Clear();
    Changed();
    return;
  }
  if (auto* jpeg = dynamic_cast<TJPEGImage*>(Source)) {
    if (jpeg == this) return;
    FData = jpeg->FData;
    FBitmap.reset();
    if (jpeg->FBitmap) {
      FBitmap = std::make_unique<TBitmap>();
      FBitmap->Assign(jpeg->FBitmap.get());
    }
    FDataIsSource = jpeg->FDataIsSource;
    FDataWidth = jpeg->FDataWidth;
    FDataHeight = jpeg->FDataHeight;
    FCompressionQuality = jpeg->FCompressionQuality;
    FProgressiveEncoding = jpeg->FProgressiveEncoding;
    FGrayscale = jpeg->FGrayscale;
    FPerformance = jpeg->FPerformance;
    FScale = jpeg->FScale;
    Changed();
    return;
  }
  if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
    // A bitmap is copied; any other picture is drawn into one.
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->Assign(graphic);
    Clear();
    if (!bitmap->Empty()) FBitmap = std::move(bitmap);
    Changed();
    return;
  }
  TGraphic::Assign(Source);
}

std::unique_ptr<TGraphic> TJPEGImage::Clone() const {
  auto copy = std::make_unique<TJPEGImage>();
  copy->Assign(const_cast<TJPEGImage*>(this));  // Assign only reads its source
  copy->SetModified(false);
  return copy;
}

int TJPEGImage::Width() const {
  if (FDataIsSource) return ScaledSize(FDataWidth, FScale);
  return FBitmap ? FBitmap->Width() : 0;
}

int TJPEGImage::Height() const {
  if (FDataIsSource) return ScaledSize(FDataHeight, FScale);
  return FBitmap ? FBitmap->Height() : 0;
}

void TJPEGImage::SetWidth(int) {
  throw EInvalidGraphicOperation("Cannot change the size of a JPEG image");
}

void TJPEGImage::SetHeight(int) {
  throw EInvalidGraphicOperation("Cannot change the size of a JPEG image");
}

bool TJPEGImage::Empty() const {
  return FData.empty() && (!FBitmap || FBitmap->Empty());
}

// A compression setting changed: bytes compressed from our bitmap are out of date. Loaded
// bytes stay as they are until Compress is called.
void TJPEGImage::BitmapSettingChanged() {
  if (!FDataIsSource) FData.clear();
  Changed();
}

// A decoding setting changed: pixels decoded from loaded bytes are out of date.
void TJPEGImage::DecodingSettingChanged() {
  if (FDataIsSource) FBitmap.reset();
  Changed();
}

void TJPEGImage::SetCompressionQuality(TJPEGQualityRange Value) {
  Value = std::clamp(Value, 1, 100);
  if (Value == FCompressionQuality) return;
  FCompressionQuality = Value;
  BitmapSettingChanged();
}

void TJPEGImage::SetProgressiveEncoding(bool Value) {
  if (Value == FProgressiveEncoding) return;
  FProgressiveEncoding = Value;
  BitmapSettingChanged();
}

void TJPEGImage::SetGrayscale(bool Value) {
  if (Value == FGrayscale) return;
  FGrayscale = Value;
  // Both: it decides how bytes are decoded and how a bitmap is compressed.
  if (FDataIsSource)
    DecodingSettingChanged();
  else
    BitmapSettingChanged();
}

void TJPEGImage::SetPerformance(TJPEGPerformance Value) {
  if (Value == FPerformance) return;
  FPerformance = Value;
  DecodingSettingChanged();
}

void TJPEGImage::SetScale(TJPEGScale Value) {
  if (Value == FScale) return;
  FScale = Value;
  DecodingSettingChanged();
}

void TJPEGImage::Compress() {
  if (Empty()) return;
  DIBNeeded();
  TJpegEncodeOptions options;
  options.Quality = FCompressionQuality;
  options.Grayscale = FGrayscale;
  options.Progressive = FProgressiveEncoding;
  options.Monochrome = FBitmap->Monochrome();
  FData = EncodeJpeg(FBitmap->Image()->Image, options);
  FDataIsSource = false;
  FDataWidth = FBitmap->Width();
  FDataHeight = FBitmap->Height();
}

void TJPEGImage::DIBNeeded() {
  if (FBitmap || FData.empty()) return;
  TJpegDecodeOptions options;
  options.Grayscale = FGrayscale;
  options.Scale = FScale;
  options.Performance = FPerformance;
  EnsureGuiApplication();
  QImage image = DecodeJpeg(FData.data(), FData.size(), options);
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->Image()->Image = std::move(image);
  bitmap->SetPixelFormat(pf24bit);
  FBitmap = std::move(bitmap);
}

void TJPEGImage::JPEGNeeded() {
  if (FData.empty() && FBitmap && !FBitmap->Empty()) Compress();
}

TBitmap* TJPEGImage::Bitmap() {
  DIBNeeded();
  return FBitmap && !FBitmap->Empty() ? FBitmap.get() : nullptr;
}

void TJPEGImage::LoadFromStream(TStream* Stream) {
  const int64_t count = Stream->Size() - Stream->Position();
  if (count <= 0) {
    Clear();
    Changed();
    return;
  }
  if (count > MaxFileBytes) RaiseJpegTooBig();
  std::vector<uint8_t> data(static_cast<size_t>(count));
  Stream->ReadBuffer(data.data(), count);
  const TJpegHeader header = ReadJpegHeader(data.data(), data.size());
  Clear();
  FData = std::move(data);
  FDataIsSource = true;
  FDataWidth = header.Width;
  FDataHeight = header.Height;
  FGrayscale = header.Grayscale;
  FProgressiveEncoding = header.Progressive;
  Changed();
}

void TJPEGImage::SaveToStream(TStream* Stream) {
  JPEGNeeded();
  if (!FData.empty()) Stream->WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

void TJPEGImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty() || !ACanvas) return;
  if (TBitmap* bitmap = Bitmap()) bitmap->Draw(ACanvas, Rect);
}
