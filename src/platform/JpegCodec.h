#pragma once
// Internal: JPEG encoding and decoding over libjpeg (libjpeg-turbo). Errors come back as
// EJPEG; libjpeg's own error exits never cross C++ frames. Only platform sources include this.
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/JPEGImage.h"

struct TJpegHeader {
  int Width = 0;  // full size
  int Height = 0;
  int Components = 0;
  bool Grayscale = false;
  bool Progressive = false;
};

struct TJpegDecodeOptions {
  bool Grayscale = false;
  TJPEGScale Scale = jsFullSize;
  TJPEGPerformance Performance = jpBestQuality;
};

struct TJpegEncodeOptions {
  int Quality = 90;  // 1..100
  bool Grayscale = false;
  bool Progressive = false;
  // Pixels are first made black or white by the monochrome rule (a monochrome bitmap).
  bool Monochrome = false;
};

// Raises the EJPEG for an image too large to decode.
[[noreturn]] void RaiseJpegTooBig();

// Reads the header only; raises EJPEG when it is not a JPEG image or is too large.
TJpegHeader ReadJpegHeader(const uint8_t* Data, size_t Size);
// Decodes into a QImage::Format_RGB32 image.
QImage DecodeJpeg(const uint8_t* Data, size_t Size, const TJpegDecodeOptions& Options);
// Encodes a Format_RGB32 (or any) image; baseline unless Progressive, default JFIF header.
std::vector<uint8_t> EncodeJpeg(const QImage& Image, const TJpegEncodeOptions& Options);
