#include "platform/BmpCodec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "platform/Exceptions.h"

namespace {

// Bounds on what a decoder allocates: each side at most 32768 pixels and the 32-bit raster at
// most 512 MiB, whatever a header claims.
constexpr int64_t MaxSide = 32768;
constexpr int64_t MaxPixels = (int64_t{512} << 20) / 4;
// RLE data can describe large areas in few bytes (runs, jumps, an early end); still, a file
// that claims more than this many pixels per byte present is not a real bitmap.
constexpr int64_t MaxRlePixelsPerByte = 4096;

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr uint32_t BI_ALPHABITFIELDS = 6;

constexpr size_t FileHeaderSize = 14;
constexpr size_t InfoHeaderSize = 40;

[[noreturn]] void InvalidBitmap() {
  throw EInvalidGraphic("Bitmap image is not valid");
}

// Little-endian reads that fail instead of reading past the end.
class TByteReader {
public:
  TByteReader(const uint8_t* Data, size_t Size) : FData(Data), FSize(Size) {}
  size_t Size() const { return FSize; }
  const uint8_t* At(size_t Offset) const { return FData + Offset; }
  bool Has(size_t Offset, uint64_t Count) const { return Offset <= FSize && Count <= FSize - Offset; }
  uint8_t U8(size_t Offset) const {
    Need(Offset, 1);
    return FData[Offset];
  }
  uint16_t U16(size_t Offset) const {
    Need(Offset, 2);
    return static_cast<uint16_t>(FData[Offset] | (FData[Offset + 1] << 8));
  }
  uint32_t U32(size_t Offset) const {
    Need(Offset, 4);
    return static_cast<uint32_t>(FData[Offset]) | (static_cast<uint32_t>(FData[Offset + 1]) << 8) |
           (static_cast<uint32_t>(FData[Offset + 2]) << 16) |
           (static_cast<uint32_t>(FData[Offset + 3]) << 24);
  }
  int32_t I32(size_t Offset) const { return static_cast<int32_t>(U32(Offset)); }

private:
  void Need(size_t Offset, size_t Count) const {
    if (!Has(Offset, Count)) InvalidBitmap();
  }
  const uint8_t* FData;
  size_t FSize;
};

// One colour channel of a bit-field pixel, scaled to 0..255.
class TChannel {
public:
  TChannel() = default;
  explicit TChannel(uint32_t Mask) : FMask(Mask) {
    if (Mask == 0) return;
    FShift = std::countr_zero(Mask);
    FMax = Mask >> FShift;
  }
  uint8_t Get(uint32_t Pixel) const {
    if (FMax == 0) return 0;
    uint64_t value = (Pixel & FMask) >> FShift;
    return static_cast<uint8_t>((value * 255 + FMax / 2) / FMax);
  }
  bool Present() const { return FMax != 0; }

private:
  uint32_t FMask = 0;
  int FShift = 0;
  uint32_t FMax = 0;
};

// Everything the info header (of any version) says, plus where its parts lie in the data.
struct TDibHeader {
  uint32_t HeaderSize = 0;
  int64_t Width = 0;
  int64_t Height = 0;  // always positive; TopDown tells the row order
  bool TopDown = false;
  int BitCount = 0;
  uint32_t Compression = BI_RGB;
  uint32_t ClrUsed = 0;
  int32_t XPelsPerMeter = 0;
  int32_t YPelsPerMeter = 0;
  std::array<uint32_t, 4> Masks{};  // red, green, blue, alpha
  size_t PaletteOffset = 0;         // just behind the header and any separate masks
  size_t PaletteEntrySize = 4;      // 3 for BITMAPCOREHEADER
  uint64_t PaletteCount = 0;        // entries the header announces

  bool IsRle() const { return Compression == BI_RLE8 || Compression == BI_RLE4; }
  bool IsBitfields() const { return Compression == BI_BITFIELDS || Compression == BI_ALPHABITFIELDS; }
  uint64_t Stride() const { return ((static_cast<uint64_t>(Width) * BitCount + 31) / 32) * 4; }
};

void ReadCoreHeader(const TByteReader& r, size_t at, TDibHeader& h) {
  h.Width = r.U16(at + 4);
  h.Height = r.U16(at + 6);
  h.BitCount = r.U16(at + 10);
  h.PaletteEntrySize = 3;
}

// The OS/2 2.x header: the info header's fields as far as its (variable) size reaches.
void ReadOs2Header(const TByteReader& r, size_t at, TDibHeader& h) {
  h.Width = r.I32(at + 4);
  h.Height = r.I32(at + 8);
  h.BitCount = r.U16(at + 14);
  if (h.HeaderSize >= 20) h.Compression = r.U32(at + 16);
  if (h.HeaderSize >= 32) {
    h.XPelsPerMeter = r.I32(at + 24);
    h.YPelsPerMeter = r.I32(at + 28);
  }
  if (h.HeaderSize >= 36) h.ClrUsed = r.U32(at + 32);
  // OS/2 gives 3 and 4 other meanings (Huffman, RLE24), which we do not read.
  if (h.Compression != BI_RGB && !h.IsRle()) InvalidBitmap();
}

void ReadInfoHeader(const TByteReader& r, size_t at, TDibHeader& h) {
  h.Width = r.I32(at + 4);
  h.Height = r.I32(at + 8);
  h.BitCount = r.U16(at + 14);
  h.Compression = r.U32(at + 16);
  h.XPelsPerMeter = r.I32(at + 24);
  h.YPelsPerMeter = r.I32(at + 28);
  h.ClrUsed = r.U32(at + 32);
  if (h.HeaderSize >= 52) {
    for (size_t i = 0; i < 3; ++i) h.Masks[i] = r.U32(at + 40 + 4 * i);
  } else if (h.IsBitfields()) {
    // A plain info header keeps the masks right behind it.
    size_t count = h.Compression == BI_ALPHABITFIELDS ? 4 : 3;
    for (size_t i = 0; i < count; ++i) h.Masks[i] = r.U32(at + 40 + 4 * i);
    h.PaletteOffset += 4 * count;
  }
  if (h.HeaderSize >= 56) h.Masks[3] = r.U32(at + 52);
}

void ValidateHeader(TDibHeader& h) {
  if (h.Height < 0) {
    h.Height = -h.Height;
    h.TopDown = true;
  }
  if (h.Width < 1 || h.Height < 1 || h.Width > MaxSide || h.Height > MaxSide ||
      h.Width * h.Height > MaxPixels)
    InvalidBitmap();
  switch (h.BitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      InvalidBitmap();
  }
  bool ok = h.Compression == BI_RGB || (h.Compression == BI_RLE8 && h.BitCount == 8) ||
            (h.Compression == BI_RLE4 && h.BitCount == 4) ||
            (h.IsBitfields() && (h.BitCount == 16 || h.BitCount == 32));
  // Compressed rows are always stored bottom-up.
  if (!ok || (h.IsRle() && h.TopDown)) InvalidBitmap();
  if (h.BitCount <= 8)
    h.PaletteCount = h.ClrUsed != 0 ? h.ClrUsed : (uint64_t{1} << h.BitCount);
  else
    h.PaletteCount = h.ClrUsed;
}

TDibHeader ReadHeader(const TByteReader& r, size_t at) {
  TDibHeader h;
  h.HeaderSize = r.U32(at);
  if (!r.Has(at, h.HeaderSize)) InvalidBitmap();
  h.PaletteOffset = at + h.HeaderSize;
  switch (h.HeaderSize) {
    case 12:
      ReadCoreHeader(r, at, h);
      break;
    case 16:
    case 64:
      ReadOs2Header(r, at, h);
      break;
    case 40:
    case 52:
    case 56:
    case 108:
    case 124:
      ReadInfoHeader(r, at, h);
      break;
    default:
      InvalidBitmap();
  }
  ValidateHeader(h);
  return h;
}

// The colour table as 256 entries; the entries the file does not give are black.
std::array<QRgb, 256> ReadPalette(const TByteReader& r, const TDibHeader& h, uint64_t Count) {
  std::array<QRgb, 256> palette;
  palette.fill(qRgb(0, 0, 0));
  Count = std::min<uint64_t>(Count, 256);
  for (uint64_t i = 0; i < Count; ++i) {
    size_t at = h.PaletteOffset + i * h.PaletteEntrySize;
    palette[i] = qRgb(r.U8(at + 2), r.U8(at + 1), r.U8(at));
  }
  return palette;
}

bool IsBlackAndWhite(const std::array<QRgb, 256>& Palette, uint64_t Count) {
  if (Count < 2) return false;
  QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
  return (Palette[0] == black && Palette[1] == white) || (Palette[0] == white && Palette[1] == black);
}

struct TPixelDecoder {
  const TDibHeader& Header;
  const std::array<QRgb, 256>& Palette;
  bool KeepAlpha;
  TChannel Red, Green, Blue, Alpha;

  TPixelDecoder(const TDibHeader& h, const std::array<QRgb, 256>& palette, bool keepAlpha)
      : Header(h), Palette(palette), KeepAlpha(keepAlpha) {
    if (h.IsBitfields()) {
      Red = TChannel(h.Masks[0]);
      Green = TChannel(h.Masks[1]);
      Blue = TChannel(h.Masks[2]);
      Alpha = TChannel(h.Masks[3]);
    } else if (h.BitCount == 16) {
      Red = TChannel(0x7C00);
      Green = TChannel(0x03E0);
      Blue = TChannel(0x001F);
    }
  }

  QRgb FromBitfields(uint32_t px) const {
    // Without an alpha mask an icon image has no alpha, so its AND mask decides.
    int a = !KeepAlpha ? 255 : (Alpha.Present() ? Alpha.Get(px) : 0);
    return qRgba(Red.Get(px), Green.Get(px), Blue.Get(px), a);
  }

  void DecodeRow(const uint8_t* src, QRgb* dst) const {
    const int64_t width = Header.Width;
    switch (Header.BitCount) {
      case 1:
      case 4:
      case 8: {
        const int bits = Header.BitCount;
        const int perByte = 8 / bits;
        const int mask = (1 << bits) - 1;
        for (int64_t x = 0; x < width; ++x) {
          int shift = 8 - bits * (1 + static_cast<int>(x % perByte));
          dst[x] = Palette[(src[x / perByte] >> shift) & mask];
        }
        break;
      }
      case 16:
        for (int64_t x = 0; x < width; ++x) dst[x] = FromBitfields(src[2 * x] | (src[2 * x + 1] << 8));
        break;
      case 24:
        for (int64_t x = 0; x < width; ++x) dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
        break;
      case 32:
        for (int64_t x = 0; x < width; ++x) {
          const uint8_t* p = src + 4 * x;
          if (Header.IsBitfields()) {
            dst[x] = FromBitfields(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                   (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24));
          } else {
            dst[x] = qRgba(p[2], p[1], p[0], KeepAlpha ? p[3] : 255);
          }
        }
        break;
    }
  }
};

QImage NewImage(int64_t Width, int64_t Height, QImage::Format Format) {
  QImage image(static_cast<int>(Width), static_cast<int>(Height), Format);
  if (image.isNull()) throw EOutOfMemory("Out of system resources");
  return image;
}

QRgb* ScanLine(QImage& Image, const TDibHeader& h, int64_t FileRow) {
  int64_t y = h.TopDown ? FileRow : h.Height - 1 - FileRow;
  return reinterpret_cast<QRgb*>(Image.scanLine(static_cast<int>(y)));
}

void DecodeUncompressed(const TByteReader& r, size_t BitsOffset, const TDibHeader& h,
                        const TPixelDecoder& decoder, QImage& Image) {
  const uint64_t stride = h.Stride();
  if (!r.Has(BitsOffset, stride * static_cast<uint64_t>(h.Height))) InvalidBitmap();
  for (int64_t row = 0; row < h.Height; ++row)
    decoder.DecodeRow(r.At(BitsOffset + row * stride), ScanLine(Image, h, row));
}

// RLE8 and RLE4: (count, value) runs and escapes (end of line, end of bitmap, jump,
// literal pixels). Pixels the data skips keep colour-table entry 0. Data that stops in the
// middle of a command is truncated; data that simply ends without the end marker is accepted.
void DecodeRle(const TByteReader& r, size_t at, const TDibHeader& h, const std::array<QRgb, 256>& palette,
               QImage& Image) {
  const bool rle4 = h.Compression == BI_RLE4;
  const size_t end = r.Size();
  if (static_cast<uint64_t>(h.Width) * static_cast<uint64_t>(h.Height) >
      static_cast<uint64_t>(end - std::min(at, end) + 1) * MaxRlePixelsPerByte)
    InvalidBitmap();
  Image.fill(palette[0]);
  int64_t x = 0, y = 0;  // y counts rows from the bottom
  auto put = [&](uint8_t index) {
    if (x < h.Width && y < h.Height) ScanLine(Image, h, y)[x] = palette[index];
    ++x;
  };
  while (y < h.Height) {
    if (at == end) return;
    if (!r.Has(at, 2)) InvalidBitmap();
    const uint8_t count = r.U8(at), value = r.U8(at + 1);
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(rle4 ? ((i % 2 == 0) ? value >> 4 : value & 0x0F) : value);
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of bitmap
        return;
      case 2:  // jump right and up
        x += r.U8(at);
        y += r.U8(at + 1);
        at += 2;
        break;
      default: {  // literal pixels, padded to a 16-bit boundary
        const size_t bytes = rle4 ? (value + 1u) / 2 : value;
        if (!r.Has(at, bytes)) InvalidBitmap();
        for (size_t i = 0; i < size_t{value}; ++i) {
          const uint8_t b = r.U8(at + (rle4 ? i / 2 : i));
          put(rle4 ? ((i % 2 == 0) ? b >> 4 : b & 0x0F) : b);
        }
        at = std::min(end, at + ((bytes + 1) & ~size_t{1}));
        break;
      }
    }
  }
}

QImage DecodePixels(const TByteReader& r, const TDibHeader& h, size_t BitsOffset, uint64_t PaletteCount,
                    bool KeepAlpha, TDibFormat* Format) {
  const auto palette = ReadPalette(r, h, PaletteCount);
  if (Format) {
    Format->BitCount = h.BitCount;
    Format->Monochrome = h.BitCount == 1 && IsBlackAndWhite(palette, PaletteCount);
    Format->XPelsPerMeter = h.XPelsPerMeter;
    Format->YPelsPerMeter = h.YPelsPerMeter;
    switch (h.BitCount) {
      case 1:
        Format->PixelFormat = pf1bit;
        break;
      case 4:
        Format->PixelFormat = pf4bit;
        break;
      case 8:
        Format->PixelFormat = pf8bit;
        break;
      case 16:
        Format->PixelFormat = h.IsBitfields() && h.Masks[1] == 0x07E0 ? pf16bit : pf15bit;
        break;
      case 24:
        Format->PixelFormat = pf24bit;
        break;
      default:
        Format->PixelFormat = pf32bit;
        break;
    }
  }
  QImage image = NewImage(h.Width, h.Height, KeepAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  if (h.IsRle())
    DecodeRle(r, BitsOffset, h, palette, image);
  else
    DecodeUncompressed(r, BitsOffset, h, TPixelDecoder(h, palette, KeepAlpha), image);
  return image;
}

// Colour-table entries that fit in Room bytes.
uint64_t EntriesThatFit(const TDibHeader& h, uint64_t Room) {
  return std::min<uint64_t>(h.PaletteCount, Room / h.PaletteEntrySize);
}

// --- Writing ---

void Put16(std::vector<uint8_t>& out, size_t at, uint16_t v) {
  out[at] = static_cast<uint8_t>(v);
  out[at + 1] = static_cast<uint8_t>(v >> 8);
}

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// Writes the info header, colour table and bits at Offset of a buffer already sized for them.
void WriteDib(std::vector<uint8_t>& out, size_t at, const QImage& image, bool mono, int xppm, int yppm,
              uint64_t stride, size_t paletteBytes) {
  const int width = image.width(), height = image.height();
  Put32(out, at, InfoHeaderSize);
  Put32(out, at + 4, static_cast<uint32_t>(width));
  Put32(out, at + 8, static_cast<uint32_t>(height));
  Put16(out, at + 12, 1);
  Put16(out, at + 14, mono ? 1 : 24);
  Put32(out, at + 16, BI_RGB);
  Put32(out, at + 20, static_cast<uint32_t>(stride * height));
  Put32(out, at + 24, static_cast<uint32_t>(xppm));
  Put32(out, at + 28, static_cast<uint32_t>(yppm));
  // biClrUsed and biClrImportant stay 0: the full table (two entries for one bit).
  size_t table = at + InfoHeaderSize;
  if (mono) Put32(out, table + 4, 0x00FFFFFF);  // entry 0 black, entry 1 white
  size_t bits = table + paletteBytes;
  for (int row = 0; row < height; ++row) {
    const QRgb* src = reinterpret_cast<const QRgb*>(image.constScanLine(height - 1 - row));
    uint8_t* dst = out.data() + bits + row * stride;
    for (int x = 0; x < width; ++x) {
      if (mono) {
        if (IsWhiteInMonochrome(src[x])) dst[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
      } else {
        dst[3 * x] = static_cast<uint8_t>(qBlue(src[x]));
        dst[3 * x + 1] = static_cast<uint8_t>(qGreen(src[x]));
        dst[3 * x + 2] = static_cast<uint8_t>(qRed(src[x]));
      }
    }
  }
}

std::vector<uint8_t> Encode(const QImage& Source, bool Monochrome, int XPelsPerMeter, int YPelsPerMeter,
                            bool WithFileHeader) {
  if (Source.isNull()) return {};
  QImage converted;
  const QImage* image = &Source;
  if (Source.format() != QImage::Format_RGB32 && Source.format() != QImage::Format_ARGB32) {
    converted = Source.convertToFormat(QImage::Format_RGB32);
    image = &converted;
  }
  const uint64_t stride = ((static_cast<uint64_t>(image->width()) * (Monochrome ? 1 : 24) + 31) / 32) * 4;
  const size_t paletteBytes = Monochrome ? 8 : 0;
  const size_t headerBytes = (WithFileHeader ? FileHeaderSize : 0) + InfoHeaderSize + paletteBytes;
  const uint64_t total = headerBytes + stride * image->height();
  std::vector<uint8_t> out(total, 0);
  if (WithFileHeader) {
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, static_cast<uint32_t>(total));
    Put32(out, 10, static_cast<uint32_t>(headerBytes));
  }
  WriteDib(out, WithFileHeader ? FileHeaderSize : 0, *image, Monochrome, XPelsPerMeter, YPelsPerMeter, stride,
           paletteBytes);
  return out;
}

}  // namespace

QImage DecodeBmpFile(const uint8_t* Data, size_t Size, TDibFormat* Format) {
  TByteReader r(Data, Size);
  if (!r.Has(0, FileHeaderSize) || Data[0] != 'B' || Data[1] != 'M') InvalidBitmap();
  const uint32_t bitsOffset = r.U32(10);
  TDibHeader h = ReadHeader(r, FileHeaderSize);
  // The colour table lies between the header and the bits; a short table ends where the bits begin.
  if (bitsOffset < h.PaletteOffset) InvalidBitmap();
  uint64_t entries = EntriesThatFit(h, bitsOffset - h.PaletteOffset);
  return DecodePixels(r, h, bitsOffset, entries, false, Format);
}

QImage DecodeDib(const uint8_t* Data, size_t Size, TDibFormat* Format) {
  TByteReader r(Data, Size);
  TDibHeader h = ReadHeader(r, 0);
  const uint64_t tableBytes = h.PaletteCount * h.PaletteEntrySize;
  if (!r.Has(h.PaletteOffset, tableBytes)) InvalidBitmap();
  return DecodePixels(r, h, h.PaletteOffset + tableBytes, h.PaletteCount, false, Format);
}

QImage DecodeIconDib(const uint8_t* Data, size_t Size) {
  TByteReader r(Data, Size);
  TDibHeader h = ReadHeader(r, 0);
  if (h.IsRle() || h.TopDown) InvalidBitmap();
  h.Height /= 2;  // the colour image and the mask share the header's height
  if (h.Height < 1) InvalidBitmap();
  const uint64_t tableBytes = h.PaletteCount * h.PaletteEntrySize;
  if (!r.Has(h.PaletteOffset, tableBytes)) InvalidBitmap();
  const size_t bitsOffset = h.PaletteOffset + tableBytes;
  QImage image = DecodePixels(r, h, bitsOffset, h.PaletteCount, h.BitCount == 32, nullptr);

  bool useAlpha = false;
  if (h.BitCount == 32) {
    for (int y = 0; y < image.height() && !useAlpha; ++y) {
      const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      for (int x = 0; x < image.width(); ++x)
        if (qAlpha(line[x]) != 0) {
          useAlpha = true;
          break;
        }
    }
  }
  if (useAlpha) return image;

  // The AND mask: one bit per pixel, rows bottom-up, set where the icon is transparent. Some
  // 32-bit icons leave it out; they are then drawn opaque.
  const uint64_t maskStride = ((static_cast<uint64_t>(h.Width) + 31) / 32) * 4;
  const size_t maskOffset = bitsOffset + h.Stride() * h.Height;
  const bool hasMask = r.Has(maskOffset, maskStride * h.Height);
  for (int64_t row = 0; row < h.Height; ++row) {
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(h.Height - 1 - row)));
    const uint8_t* mask = hasMask ? r.At(maskOffset + row * maskStride) : nullptr;
    for (int64_t x = 0; x < h.Width; ++x) {
      bool transparent = mask && (mask[x / 8] & (0x80 >> (x % 8)));
      line[x] = transparent ? qRgba(0, 0, 0, 0) : (line[x] | 0xFF000000u);
    }
  }
  return image;
}

std::vector<uint8_t> EncodeBmpFile(const QImage& Image, bool Monochrome, int XPelsPerMeter,
                                   int YPelsPerMeter) {
  return Encode(Image, Monochrome, XPelsPerMeter, YPelsPerMeter, true);
}

std::vector<uint8_t> EncodeDib(const QImage& Image, bool Monochrome, int XPelsPerMeter, int YPelsPerMeter) {
  return Encode(Image, Monochrome, XPelsPerMeter, YPelsPerMeter, false);
}
