#include "platform/Icon.h"

#include <QImage>
#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "platform/Bitmap.h"
#include "platform/BitmapImage.h"
#include "platform/BmpCodec.h"
#include "platform/QtBridge.h"
#include "platform/Stream.h"

namespace {

constexpr size_t DirectorySize = 6;
constexpr size_t EntrySize = 16;
constexpr int64_t MaxFileBytes = int64_t{64} << 20;
constexpr int MaxSide = 32768;

[[noreturn]] void InvalidIcon() {
  throw EInvalidGraphic("Icon image is not valid");
}

uint16_t U16(const std::vector<uint8_t>& d, size_t at) {
  return static_cast<uint16_t>(d[at] | (d[at + 1] << 8));
}

uint32_t U32(const std::vector<uint8_t>& d, size_t at) {
  return static_cast<uint32_t>(d[at]) | (static_cast<uint32_t>(d[at + 1]) << 8) |
         (static_cast<uint32_t>(d[at + 2]) << 16) | (static_cast<uint32_t>(d[at + 3]) << 24);
}

struct TIconEntry {
  int Width = 0;  // as the directory says (0 stands for 256)
  int Height = 0;
  int BitCount = 0;
  size_t Offset = 0;
  size_t Size = 0;
};

// Checks the ICONDIR and returns the entry to draw: the largest, then the deepest colour.
TIconEntry ChooseEntry(const std::vector<uint8_t>& data) {
  if (data.size() < DirectorySize || U16(data, 0) != 0 || U16(data, 2) != 1) InvalidIcon();
  const size_t count = U16(data, 4);
  if (count == 0 || DirectorySize + count * EntrySize > data.size()) InvalidIcon();
  TIconEntry best;
  for (size_t i = 0; i < count; ++i) {
    const size_t at = DirectorySize + i * EntrySize;
    TIconEntry entry;
    entry.Width = data[at] == 0 ? 256 : data[at];
    entry.Height = data[at + 1] == 0 ? 256 : data[at + 1];
    entry.BitCount = U16(data, at + 6);
    entry.Size = U32(data, at + 8);
    entry.Offset = U32(data, at + 12);
    if (entry.Size == 0 || entry.Offset > data.size() || entry.Size > data.size() - entry.Offset)
      InvalidIcon();
    const int64_t area = int64_t{entry.Width} * entry.Height, bestArea = int64_t{best.Width} * best.Height;
    if (i == 0 || area > bestArea || (area == bestArea && entry.BitCount > best.BitCount)) best = entry;
  }
  return best;
}

QImage DecodeEntry(const std::vector<uint8_t>& data, const TIconEntry& entry) {
  static const uint8_t PngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  const uint8_t* bytes = data.data() + entry.Offset;
  if (entry.Size >= sizeof(PngSignature) && std::memcmp(bytes, PngSignature, sizeof(PngSignature)) == 0) {
    EnsureGuiApplication();
    QImage image;
    if (!image.loadFromData(bytes, static_cast<int>(entry.Size), "PNG") || image.width() > MaxSide ||
        image.height() > MaxSide)
      InvalidIcon();
    return image.convertToFormat(QImage::Format_ARGB32);
  }
  try {
    return DecodeIconDib(bytes, entry.Size);
  } catch (const EInvalidGraphic&) {
    InvalidIcon();
  }
}

// Blends partly transparent pixels on white; an alpha below one half is transparent.
bool IsTransparent(QRgb pixel) {
  return qAlpha(pixel) < 128;
}

QRgb OnWhite(QRgb pixel) {
  const int a = qAlpha(pixel);
  auto blend = [a](int c) { return (c * a + 255 * (255 - a) + 127) / 255; };
  return qRgb(blend(qRed(pixel)), blend(qGreen(pixel)), blend(qBlue(pixel)));
}

// The first colour from magenta on that no opaque pixel of the image has.
QRgb UnusedColor(const std::unordered_set<QRgb>& used) {
  QRgb key = qRgb(255, 0, 255);
  while (used.count(key)) key = 0xFF000000u | ((key + 1) & 0x00FFFFFFu);
  return key;
}

std::unique_ptr<TBitmap> MakeDrawnImage(const QImage& icon) {
  QImage image(icon.width(), icon.height(), QImage::Format_RGB32);
  if (image.isNull()) throw EOutOfMemory("Out of system resources");
  std::unordered_set<QRgb> used;
  bool anyTransparent = false;
  for (int y = 0; y < icon.height(); ++y) {
    const QRgb* src = reinterpret_cast<const QRgb*>(icon.constScanLine(y));
    QRgb* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < icon.width(); ++x) {
      if (IsTransparent(src[x])) {
        anyTransparent = true;
        dst[x] = 0;  // replaced by the key colour below
      } else {
        dst[x] = OnWhite(src[x]);
        used.insert(dst[x]);
      }
    }
  }
  auto bitmap = std::make_unique<TBitmap>();
  if (anyTransparent) {
    const QRgb key = UnusedColor(used);
    for (int y = 0; y < icon.height(); ++y) {
      const QRgb* src = reinterpret_cast<const QRgb*>(icon.constScanLine(y));
      QRgb* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < icon.width(); ++x)
        if (IsTransparent(src[x])) dst[x] = key;
    }
    bitmap->Image()->Image = std::move(image);
    bitmap->SetTransparentColor(QRgbToColor(key));
    bitmap->SetTransparent(true);
  } else {
    bitmap->Image()->Image = std::move(image);
  }
  return bitmap;
}

}  // namespace

TIcon::TIcon() {
  SetTransparent(true);
  SetModified(false);
}

TIcon::~TIcon() = default;

void TIcon::Assign(TPersistent* Source) {
  if (!Source) {
    FData.clear();
    FImage.reset();
    Changed();
    return;
  }
  if (auto* icon = dynamic_cast<TIcon*>(Source)) {
    if (icon == this) return;
    FData = icon->FData;
    FImage.reset();
    if (icon->FImage) {
      FImage = std::make_unique<TBitmap>();
      FImage->Assign(icon->FImage.get());
    }
    Changed();
    return;
  }
  TGraphic::Assign(Source);
}

std::unique_ptr<TGraphic> TIcon::Clone() const {
  auto copy = std::make_unique<TIcon>();
  copy->Assign(const_cast<TIcon*>(this));  // Assign only reads its source
  copy->SetModified(false);
  return copy;
}

int TIcon::Width() const {
  return FImage ? FImage->Width() : 0;
}

int TIcon::Height() const {
  return FImage ? FImage->Height() : 0;
}

void TIcon::SetWidth(int) {
  throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::SetHeight(int) {
  throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::LoadFromStream(TStream* Stream) {
  const int64_t count = Stream->Size() - Stream->Position();
  std::vector<uint8_t> data;
  if (count > MaxFileBytes) InvalidIcon();
  if (count > 0) {
    data.resize(static_cast<size_t>(count));
    Stream->ReadBuffer(data.data(), count);
  }
  std::unique_ptr<TBitmap> image;
  if (!data.empty()) image = MakeDrawnImage(DecodeEntry(data, ChooseEntry(data)));
  FData = std::move(data);
  FImage = std::move(image);
  Changed();
}

void TIcon::SaveToStream(TStream* Stream) {
  if (!FData.empty()) Stream->WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (FImage && ACanvas) FImage->Draw(ACanvas, Rect);
}
