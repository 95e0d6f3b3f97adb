#pragma once
// Internal: our own reader and writer of device-independent bitmaps, as BMP file images
// (BITMAPFILEHEADER first) and as packed DIBs (info header, colour table, bits), which is
// how metafile records and icon files hold them. Saving is byte-for-byte deterministic,
// since these bytes go into page streams. Only platform sources include this header.
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Bitmap.h"

// What a decoded bitmap looked like in its file.
struct TDibFormat {
  int BitCount = 0;  // 1, 4, 8, 16, 24 or 32
  TPixelFormat PixelFormat = pfDevice;
  // One bit per pixel with a black and a white colour-table entry.
  bool Monochrome = false;
  int XPelsPerMeter = 0;
  int YPelsPerMeter = 0;
};

// Resolution written when none is set: 96 dots per inch.
constexpr int DefaultPelsPerMeter = 3780;

// Reads every common form: BITMAPCOREHEADER, the OS/2 2.x header, BITMAPINFOHEADER and its
// V2, V3, V4 and V5 extensions; 1, 4 and 8 bits with full or short colour tables, 16 bits
// (5-5-5 or bit fields), 24 bits, 32 bits (plain or bit fields, alpha ignored), RLE8 and
// RLE4, bottom-up and top-down rows. The result is QImage::Format_RGB32. Malformed or
// truncated data raises EInvalidGraphic ("Bitmap image is not valid").
QImage DecodeBmpFile(const uint8_t* Data, size_t Size, TDibFormat* Format = nullptr);
QImage DecodeDib(const uint8_t* Data, size_t Size, TDibFormat* Format = nullptr);

// Reads one image of an icon file stored as a packed DIB: the header gives twice the height,
// the colour bits are followed by the 1-bit AND mask. The result is QImage::Format_ARGB32,
// transparent where the mask bit is set, or carrying the alpha channel of a 32-bit image
// whose alpha is not all zero.
QImage DecodeIconDib(const uint8_t* Data, size_t Size);

// Writes a BMP file image: BITMAPFILEHEADER, a 40-byte BITMAPINFOHEADER with a positive
// height (rows bottom-up), 24 bits per pixel, or 1 bit with the colour table black, white
// when Monochrome (biClrUsed 0: the full two-entry table), biSizeImage set.
std::vector<uint8_t> EncodeBmpFile(const QImage& Image, bool Monochrome,
                                   int XPelsPerMeter = DefaultPelsPerMeter,
                                   int YPelsPerMeter = DefaultPelsPerMeter);
// The same without the file header: a packed DIB.
std::vector<uint8_t> EncodeDib(const QImage& Image, bool Monochrome, int XPelsPerMeter = DefaultPelsPerMeter,
                               int YPelsPerMeter = DefaultPelsPerMeter);

// The monochrome rule: a pixel becomes white when its luminance (Qt's qGray weighting,
// (11 R + 16 G + 5 B) / 32) is 128 or more, black otherwise.
inline bool IsWhiteInMonochrome(QRgb Pixel) {
  return qGray(Pixel) >= 128;
}
