#include "platform/JpegCodec.h"

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <jpeglib.h>
#include <jerror.h>
// clang-format on
#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/BmpCodec.h"

// libjpeg reports a fatal error by calling error_exit, which must not return. We longjmp back
// into the one function that started the libjpeg calls. Each of those Run* functions keeps
// no C++ object with a destructor between its setjmp and the libjpeg calls, and all state that
// changes after setjmp lives in a job record owned by the caller, so the jump skips no
// destructor and leaves no indeterminate local behind.

namespace {

// The largest image we decode: 32768 pixels a side and a 512 MiB raster; and, since a JPEG
// header can claim any size in a few bytes, at most this many pixels per byte of data
// (ordinary images stay far below 100).
constexpr int64_t MaxSide = 32768;
constexpr int64_t MaxPixels = (int64_t{512} << 20) / 4;
constexpr int64_t MaxPixelsPerByte = 1024;

struct TJpegErrorManager {
  jpeg_error_mgr Pub;
  std::jmp_buf Escape;
  int MessageCode;
};

void ErrorExit(j_common_ptr Info) {
  auto* error = reinterpret_cast<TJpegErrorManager*>(Info->err);
  error->MessageCode = Info->err->msg_code;
  std::longjmp(error->Escape, 1);
}

// Warnings about damaged entropy data or a truncated file are errors for us: the picture
// would come out wrong. Harmless irregularities (extra bytes between markers, unknown
// revisions) are ignored.
bool IsCorruptDataWarning(int Code) {
  switch (Code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
      return true;
    default:
      return false;
  }
}

void EmitMessage(j_common_ptr Info, int Level) {
  if (Level >= 0) return;  // trace messages
  if (IsCorruptDataWarning(Info->err->msg_code)) ErrorExit(Info);
  Info->err->num_warnings++;
}

void OutputMessage(j_common_ptr) {}  // nothing goes to stderr

void InstallErrorManager(TJpegErrorManager& Error) {
  jpeg_std_error(&Error.Pub);
  Error.Pub.error_exit = ErrorExit;
  Error.Pub.emit_message = EmitMessage;
  Error.Pub.output_message = OutputMessage;
  Error.MessageCode = 0;
}

[[noreturn]] void RaiseJpegError(int MessageCode) {
  throw EJPEG("JPEG error #" + std::to_string(MessageCode));
}

// --- Decoding ---

struct TDecodeJob {
  jpeg_decompress_struct Info;
  TJpegErrorManager Error;
  const uint8_t* Data;
  size_t Size;
  TJpegDecodeOptions Options;
  TJpegHeader Header;
  int OutputWidth;
  int OutputHeight;
  // Output raster (rows of QRgb), allocated by the caller from the header pass.
  uint8_t* Pixels;
  size_t BytesPerLine;
};

int ScaleDenominator(TJPEGScale Scale) {
  switch (Scale) {
    case jsHalf:
      return 2;
    case jsQuarter:
      return 4;
    case jsEighth:
      return 8;
    default:
      return 1;
  }
}

bool IsCmyk(J_COLOR_SPACE Space) {
  return Space == JCS_CMYK || Space == JCS_YCCK;
}

// Sets the decoding parameters after jpeg_read_header.
void PrepareDecompress(TDecodeJob* job) {
  jpeg_decompress_struct& info = job->Info;
  info.scale_num = 1;
  info.scale_denom = static_cast<unsigned>(ScaleDenominator(job->Options.Scale));
  if (job->Options.Performance == jpBestSpeed) {
    info.dct_method = JDCT_IFAST;
    info.do_fancy_upsampling = FALSE;
  } else {
    info.dct_method = JDCT_ISLOW;
  }
  if (IsCmyk(info.jpeg_color_space))
    info.out_color_space = JCS_CMYK;
  else if (info.jpeg_color_space == JCS_GRAYSCALE || job->Options.Grayscale)
    info.out_color_space = JCS_GRAYSCALE;
  else
    info.out_color_space = JCS_RGB;
  jpeg_calc_output_dimensions(&info);
}

void StartDecompress(TDecodeJob* job) {
  InstallErrorManager(job->Error);
  job->Info.err = &job->Error.Pub;
  jpeg_create_decompress(&job->Info);
  jpeg_mem_src(&job->Info, job->Data, static_cast<unsigned long>(job->Size));
  jpeg_read_header(&job->Info, TRUE);
  PrepareDecompress(job);
}

bool RunReadHeader(TDecodeJob* job) {
  if (setjmp(job->Error.Escape)) {
    jpeg_destroy_decompress(&job->Info);
    return false;
  }
  StartDecompress(job);
  job->Header.Width = static_cast<int>(job->Info.image_width);
  job->Header.Height = static_cast<int>(job->Info.image_height);
  job->Header.Components = job->Info.num_components;
  job->Header.Grayscale = job->Info.jpeg_color_space == JCS_GRAYSCALE;
  job->Header.Progressive = job->Info.progressive_mode != 0;
  job->OutputWidth = static_cast<int>(job->Info.output_width);
  job->OutputHeight = static_cast<int>(job->Info.output_height);
  jpeg_destroy_decompress(&job->Info);
  return true;
}

// One decoded row (RGB, grey or CMYK samples) into QRgb pixels.
void ConvertRow(const jpeg_decompress_struct& info, const JSAMPLE* src, QRgb* dst, bool grayscale) {
  const unsigned width = info.output_width;
  switch (info.out_color_space) {
    case JCS_GRAYSCALE:
      for (unsigned x = 0; x < width; ++x) dst[x] = qRgb(src[x], src[x], src[x]);
      break;
    case JCS_CMYK:
      // Adobe's writers store CMYK inverted (an APP14 marker says so).
      for (unsigned x = 0; x < width; ++x) {
        int c = src[4 * x], m = src[4 * x + 1], y = src[4 * x + 2], k = src[4 * x + 3];
        if (!info.saw_Adobe_marker) {
          c = 255 - c;
          m = 255 - m;
          y = 255 - y;
          k = 255 - k;
        }
        QRgb rgb = qRgb(c * k / 255, m * k / 255, y * k / 255);
        if (grayscale) rgb = qRgb(qGray(rgb), qGray(rgb), qGray(rgb));
        dst[x] = rgb;
      }
      break;
    default:
      for (unsigned x = 0; x < width; ++x) dst[x] = qRgb(src[3 * x], src[3 * x + 1], src[3 * x + 2]);
      break;
  }
}

bool RunDecode(TDecodeJob* job) {
  if (setjmp(job->Error.Escape)) {
    jpeg_destroy_decompress(&job->Info);
    return false;
  }
  StartDecompress(job);
  jpeg_start_decompress(&job->Info);
  // The raster was sized by the header pass; the same data and options give the same size.
  if (static_cast<int>(job->Info.output_width) != job->OutputWidth ||
      static_cast<int>(job->Info.output_height) != job->OutputHeight)
    ERREXIT(&job->Info, JERR_IMAGE_TOO_BIG);
  j_common_ptr common = reinterpret_cast<j_common_ptr>(&job->Info);
  JSAMPARRAY row = (*job->Info.mem->alloc_sarray)(
      common, JPOOL_IMAGE, job->Info.output_width * static_cast<JDIMENSION>(job->Info.output_components), 1);
  while (job->Info.output_scanline < job->Info.output_height) {
    const JDIMENSION y = job->Info.output_scanline;
    jpeg_read_scanlines(&job->Info, row, 1);
    ConvertRow(job->Info, row[0], reinterpret_cast<QRgb*>(job->Pixels + y * job->BytesPerLine),
               job->Options.Grayscale);
  }
  jpeg_finish_decompress(&job->Info);
  jpeg_destroy_decompress(&job->Info);
  return true;
}

void CheckSize(int64_t Width, int64_t Height, size_t DataSize) {
  const int64_t pixels = Width * Height;
  if (Width < 1 || Height < 1 || Width > MaxSide || Height > MaxSide || pixels > MaxPixels ||
      pixels > static_cast<int64_t>(DataSize) * MaxPixelsPerByte)
    RaiseJpegError(JERR_IMAGE_TOO_BIG);
}

// --- Encoding ---

// A growing malloc'd buffer: libjpeg calls it from C code, so it must not throw.
struct TDestination {
  jpeg_destination_mgr Pub;
  unsigned char* Buffer;
  size_t Capacity;
  size_t Used;
};

constexpr size_t InitialDestinationSize = 64 * 1024;

TDestination* DestinationOf(j_compress_ptr Info) {
  return reinterpret_cast<TDestination*>(Info->dest);
}

void InitDestination(j_compress_ptr Info) {
  TDestination* dest = DestinationOf(Info);
  dest->Buffer = static_cast<unsigned char*>(std::malloc(InitialDestinationSize));
  if (!dest->Buffer) ERREXIT1(Info, JERR_OUT_OF_MEMORY, 0);
  dest->Capacity = InitialDestinationSize;
  dest->Pub.next_output_byte = dest->Buffer;
  dest->Pub.free_in_buffer = dest->Capacity;
}

boolean EmptyOutputBuffer(j_compress_ptr Info) {
  TDestination* dest = DestinationOf(Info);
  const size_t capacity = dest->Capacity * 2;
  auto* grown = static_cast<unsigned char*>(std::realloc(dest->Buffer, capacity));
  if (!grown) ERREXIT1(Info, JERR_OUT_OF_MEMORY, 1);
  dest->Buffer = grown;
  dest->Pub.next_output_byte = grown + dest->Capacity;
  dest->Pub.free_in_buffer = capacity - dest->Capacity;
  dest->Capacity = capacity;
  return TRUE;
}

void TermDestination(j_compress_ptr Info) {
  TDestination* dest = DestinationOf(Info);
  dest->Used = dest->Capacity - dest->Pub.free_in_buffer;
}

struct TEncodeJob {
  jpeg_compress_struct Info;
  TJpegErrorManager Error;
  TDestination Destination;
  const uint8_t* Pixels;
  size_t BytesPerLine;
  int Width;
  int Height;
  TJpegEncodeOptions Options;
};

void FillRow(const TEncodeJob* job, int y, JSAMPLE* row) {
  const QRgb* src = reinterpret_cast<const QRgb*>(job->Pixels + static_cast<size_t>(y) * job->BytesPerLine);
  for (int x = 0; x < job->Width; ++x) {
    QRgb pixel = src[x];
    if (job->Options.Monochrome) pixel = IsWhiteInMonochrome(pixel) ? 0xFFFFFFFFu : 0xFF000000u;
    row[3 * x] = static_cast<JSAMPLE>(qRed(pixel));
    row[3 * x + 1] = static_cast<JSAMPLE>(qGreen(pixel));
    row[3 * x + 2] = static_cast<JSAMPLE>(qBlue(pixel));
  }
}

bool RunEncode(TEncodeJob* job) {
  if (setjmp(job->Error.Escape)) {
    jpeg_destroy_compress(&job->Info);
    return false;
  }
  InstallErrorManager(job->Error);
  jpeg_compress_struct& info = job->Info;
  info.err = &job->Error.Pub;
  jpeg_create_compress(&info);
  job->Destination.Pub.init_destination = InitDestination;
  job->Destination.Pub.empty_output_buffer = EmptyOutputBuffer;
  job->Destination.Pub.term_destination = TermDestination;
  info.dest = &job->Destination.Pub;
  info.image_width = static_cast<JDIMENSION>(job->Width);
  info.image_height = static_cast<JDIMENSION>(job->Height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  if (job->Options.Grayscale) jpeg_set_colorspace(&info, JCS_GRAYSCALE);
  jpeg_set_quality(&info, job->Options.Quality, TRUE);
  if (job->Options.Progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                             static_cast<JDIMENSION>(job->Width) * 3, 1);
  while (info.next_scanline < info.image_height) {
    FillRow(job, static_cast<int>(info.next_scanline), row[0]);
    jpeg_write_scanlines(&info, row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

}  // namespace

void RaiseJpegTooBig() {
  RaiseJpegError(JERR_IMAGE_TOO_BIG);
}

TJpegHeader ReadJpegHeader(const uint8_t* Data, size_t Size) {
  auto job = std::make_unique<TDecodeJob>();  // value-initialised: the libjpeg records start zeroed
  job->Data = Data;
  job->Size = Size;
  if (!RunReadHeader(job.get())) RaiseJpegError(job->Error.MessageCode);
  CheckSize(job->Header.Width, job->Header.Height, Size);
  return job->Header;
}

QImage DecodeJpeg(const uint8_t* Data, size_t Size, const TJpegDecodeOptions& Options) {
  auto job = std::make_unique<TDecodeJob>();  // value-initialised: the libjpeg records start zeroed
  job->Data = Data;
  job->Size = Size;
  job->Options = Options;
  if (!RunReadHeader(job.get())) RaiseJpegError(job->Error.MessageCode);
  CheckSize(job->Header.Width, job->Header.Height, Size);

  QImage image(job->OutputWidth, job->OutputHeight, QImage::Format_RGB32);
  if (image.isNull()) throw EOutOfMemory("Out of system resources");
  job->Pixels = image.bits();
  job->BytesPerLine = static_cast<size_t>(image.bytesPerLine());
  if (!RunDecode(job.get())) RaiseJpegError(job->Error.MessageCode);
  return image;
}

std::vector<uint8_t> EncodeJpeg(const QImage& Image, const TJpegEncodeOptions& Options) {
  if (Image.isNull()) return {};
  QImage converted;
  const QImage* source = &Image;
  if (Image.format() != QImage::Format_RGB32 && Image.format() != QImage::Format_ARGB32) {
    converted = Image.convertToFormat(QImage::Format_RGB32);
    source = &converted;
  }
  auto job = std::make_unique<TEncodeJob>();
  job->Pixels = source->constBits();
  job->BytesPerLine = static_cast<size_t>(source->bytesPerLine());
  job->Width = source->width();
  job->Height = source->height();
  job->Options = Options;
  job->Options.Quality = std::clamp(Options.Quality, 1, 100);
  const bool ok = RunEncode(job.get());
  // Owned by the job whatever happened.
  std::unique_ptr<unsigned char, decltype(&std::free)> buffer(job->Destination.Buffer, &std::free);
  if (!ok) RaiseJpegError(job->Error.MessageCode);
  return std::vector<uint8_t>(buffer.get(), buffer.get() + job->Destination.Used);
}
