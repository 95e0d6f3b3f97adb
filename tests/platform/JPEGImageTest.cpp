// TJPEGImage: compression settings as an independent reader sees them, decoding compared
// with djpeg, kept bytes, scaling, and corrupt data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "PictureTestTools.h"
#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/JPEGImage.h"
#include "platform/RasterCanvas.h"
#include "platform/Stream.h"

using namespace picturetest;

namespace {

// A smooth picture with every channel moving, as photographs do.
std::unique_ptr<TBitmap> GradientBitmap(int width, int height) {
  auto bitmap = std::make_unique<TBitmap>(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      bitmap->SetPixel(
          x, y, RGB(x * 255 / (width - 1), y * 255 / (height - 1), 255 - (x + y) * 255 / (width + height)));
  return bitmap;
}

std::vector<uint8_t> SaveJpeg(TJPEGImage& jpeg) {
  TMemoryStream stream;
  jpeg.SaveToStream(&stream);
  return std::vector<uint8_t>(stream.Memory(), stream.Memory() + stream.Size());
}

void LoadJpeg(TJPEGImage& jpeg, const std::vector<uint8_t>& bytes) {
  TMemoryStream stream;
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream.SetPosition(0);
  jpeg.LoadFromStream(&stream);
}

int ChannelDifference(TColor a, TColor b) {
  return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                   std::abs(GetBValue(a) - GetBValue(b))});
}

// What identify says about a JPEG file: colour space, interlace, estimated quality.
std::vector<std::string> Identify(const std::string& file) {
  TCommandResult r = RunCommand("identify -format '%[colorspace] %[interlace] %Q' '" + file + "'");
  std::istringstream words(r.Output);
  std::vector<std::string> result;
  for (std::string w; words >> w;) result.push_back(w);
  return result;
}

TRgbRaster Djpeg(const std::string& file, std::string* magic = nullptr) {
  return ParsePnm(RunCommand("djpeg -pnm '" + file + "' 2>/dev/null").Output, magic);
}

bool HaveReaders() {
  return HaveTool("identify") && HaveTool("convert") && HaveTool("djpeg");
}

}  // namespace

TEST(JPEGImage, DefaultsAreDelphis) {
  TJPEGImage jpeg;
  EXPECT_EQ(90, jpeg.CompressionQuality());
  EXPECT_FALSE(jpeg.Grayscale());
  EXPECT_FALSE(jpeg.ProgressiveEncoding());
  EXPECT_EQ(jpBestQuality, jpeg.Performance());
  EXPECT_EQ(jsFullSize, jpeg.Scale());
  EXPECT_TRUE(jpeg.Empty());
  EXPECT_EQ(nullptr, jpeg.Bitmap());
  EXPECT_TRUE(SaveJpeg(jpeg).empty());
  jpeg.SetCompressionQuality(0);
  EXPECT_EQ(1, jpeg.CompressionQuality());
  jpeg.SetCompressionQuality(500);
  EXPECT_EQ(100, jpeg.CompressionQuality());
}

TEST(JPEGImage, SettingsReachTheFileAsIdentifyAndDjpegSeeThem) {
  if (!HaveReaders()) GTEST_SKIP() << "ImageMagick or djpeg is not installed";
  TScratchDir dir;
  auto bitmap = GradientBitmap(64, 48);
  struct TCase {
    int Quality;
    bool Grayscale;
    bool Progressive;
    const char* Colorspace;
    const char* Interlace;
    const char* PnmMagic;
  };
  for (const TCase& c :
       {TCase{50, true, true, "Gray", "JPEG", "P5"}, TCase{90, false, false, "sRGB", "None", "P6"},
        TCase{75, false, true, "sRGB", "JPEG", "P6"}, TCase{20, true, false, "Gray", "None", "P5"}}) {
    TJPEGImage jpeg;
    jpeg.Assign(bitmap.get());
    if (c.Quality != 90) jpeg.SetCompressionQuality(c.Quality);
    jpeg.SetGrayscale(c.Grayscale);
    jpeg.SetProgressiveEncoding(c.Progressive);
    const std::string file = dir.File("q" + std::to_string(c.Quality) + ".jpg");
    jpeg.SaveToFile(file);
    const std::vector<std::string> info = Identify(file);
    ASSERT_EQ(3u, info.size()) << file;
    EXPECT_EQ(c.Colorspace, info[0]) << file;
    EXPECT_EQ(c.Interlace, info[1]) << file;
    EXPECT_NEAR(c.Quality, std::stoi(info[2]), 1) << file;
    std::string magic;
    const TRgbRaster raster = Djpeg(file, &magic);
    EXPECT_EQ(c.PnmMagic, magic) << file;
    EXPECT_EQ(64, raster.Width);
    EXPECT_EQ(48, raster.Height);
  }
}

TEST(JPEGImage, DecodedPixelsMatchTheSourceWithinTolerance) {
  auto bitmap = GradientBitmap(40, 24);
  TJPEGImage written;
  written.Assign(bitmap.get());
  written.SetCompressionQuality(95);
  TJPEGImage read;
  LoadJpeg(read, SaveJpeg(written));
  TBitmap* decoded = read.Bitmap();
  ASSERT_NE(nullptr, decoded);
  ASSERT_EQ(40, decoded->Width());
  ASSERT_EQ(24, decoded->Height());
  long total = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 40; ++x) {
      const int d = ChannelDifference(bitmap->Pixel(x, y), decoded->Pixel(x, y));
      EXPECT_LE(d, 16) << x << "," << y;
      total += d;
    }
  EXPECT_LT(total / (40.0 * 24.0), 3.0);
}

TEST(JPEGImage, DecodingAgreesWithDjpeg) {
  if (!HaveReaders()) GTEST_SKIP() << "ImageMagick or djpeg is not installed";
  TScratchDir dir;
  const std::vector<std::pair<std::string, std::string>> variants = {
      {"baseline", "-quality 85"},
      {"progressive", "-quality 70 -interlace JPEG"},
      {"gray", "-colorspace Gray -quality 80"},
      {"full-chroma", "-quality 92 -sampling-factor 1x1"},
      {"odd-size", "-quality 60 -resize 37x23!"},
  };
  for (const auto& [name, options] : variants) {
    const std::string file = dir.File(name + ".jpg");
    ASSERT_EQ(
        0,
        std::system(
            ("convert -size 48x32 gradient:orange-navy -swirl 90 " + options + " '" + file + "'").c_str()));
    TJPEGImage jpeg;
    jpeg.LoadFromFile(file);
    const TRgbRaster reference = Djpeg(file);
    ASSERT_EQ(reference.Width, jpeg.Width()) << name;
    ASSERT_EQ(reference.Height, jpeg.Height()) << name;
    TBitmap* decoded = jpeg.Bitmap();
    ASSERT_NE(nullptr, decoded);
    for (int y = 0; y < reference.Height; ++y)
      for (int x = 0; x < reference.Width; ++x)
        ASSERT_LE(ChannelDifference(reference.At(x, y), decoded->Pixel(x, y)), 1)
            << name << " " << x << "," << y;
  }
}

TEST(JPEGImage, LoadedBytesAreKeptAndDescribed) {
  if (!HaveReaders()) GTEST_SKIP() << "ImageMagick or djpeg is not installed";
  TScratchDir dir;
  const std::string file = dir.File("in.jpg");
  ASSERT_EQ(
      0, std::system(("convert -size 41x31 gradient:red-blue -quality 77 -interlace JPEG -colorspace Gray '" +
                      file + "'")
                         .c_str()));
  TJPEGImage jpeg;
  jpeg.LoadFromFile(file);
  EXPECT_EQ(41, jpeg.Width());
  EXPECT_EQ(31, jpeg.Height());
  EXPECT_TRUE(jpeg.ProgressiveEncoding());
  EXPECT_TRUE(jpeg.Grayscale());
  // Settings meant for compression leave loaded bytes alone.
  jpeg.SetCompressionQuality(10);
  EXPECT_EQ(ReadFileBytes(file), SaveJpeg(jpeg));
  // Compress makes new bytes from the pixels, now at quality 10.
  jpeg.Compress();
  const std::string again = dir.File("again.jpg");
  jpeg.SaveToFile(again);
  EXPECT_NE(ReadFileBytes(file), ReadFileBytes(again));
  const std::vector<std::string> info = Identify(again);
  ASSERT_EQ(3u, info.size());
  EXPECT_NEAR(10, std::stoi(info[2]), 1);
}

TEST(JPEGImage, AssignedBitmapIsCompressedAgainAfterASettingChanges) {
  auto bitmap = GradientBitmap(32, 32);
  TJPEGImage jpeg;
  jpeg.Assign(bitmap.get());
  EXPECT_EQ(32, jpeg.Width());
  const std::vector<uint8_t> atNinety = SaveJpeg(jpeg);
  EXPECT_EQ(atNinety, SaveJpeg(jpeg));  // compressed once, kept
  jpeg.SetCompressionQuality(30);
  const std::vector<uint8_t> atThirty = SaveJpeg(jpeg);
  EXPECT_LT(atThirty.size(), atNinety.size());
  jpeg.SetCompressionQuality(90);
  EXPECT_EQ(atNinety, SaveJpeg(jpeg));  // deterministic
}

TEST(JPEGImage, ScaleDecodesSmaller) {
  auto bitmap = GradientBitmap(41, 31);
  TJPEGImage source;
  source.Assign(bitmap.get());
  const std::vector<uint8_t> bytes = SaveJpeg(source);
  struct TCase {
    TJPEGScale Scale;
    int Width, Height;
  };
  for (TCase c :
       {TCase{jsFullSize, 41, 31}, TCase{jsHalf, 21, 16}, TCase{jsQuarter, 11, 8}, TCase{jsEighth, 6, 4}}) {
    TJPEGImage jpeg;
    LoadJpeg(jpeg, bytes);
    jpeg.SetScale(c.Scale);
    EXPECT_EQ(c.Width, jpeg.Width());
    EXPECT_EQ(c.Height, jpeg.Height());
    ASSERT_NE(nullptr, jpeg.Bitmap());
    EXPECT_EQ(c.Width, jpeg.Bitmap()->Width());
    EXPECT_EQ(c.Height, jpeg.Bitmap()->Height());
    jpeg.SetPerformance(jpBestSpeed);  // decodes again, same size
    EXPECT_EQ(c.Width, jpeg.Bitmap()->Width());
  }
}

TEST(JPEGImage, GrayscaleDecodesColourAsGrey) {
  auto bitmap = GradientBitmap(16, 16);
  TJPEGImage source;
  source.Assign(bitmap.get());
  TJPEGImage jpeg;
  LoadJpeg(jpeg, SaveJpeg(source));
  EXPECT_FALSE(jpeg.Grayscale());
  EXPECT_NE(GetRValue(jpeg.Bitmap()->Pixel(15, 0)), GetBValue(jpeg.Bitmap()->Pixel(15, 0)));
  jpeg.SetGrayscale(true);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const TColor c = jpeg.Bitmap()->Pixel(x, y);
      ASSERT_EQ(GetRValue(c), GetGValue(c));
      ASSERT_EQ(GetRValue(c), GetBValue(c));
    }
}

TEST(JPEGImage, CmykFilesDecodeToTheirColours) {
  if (!HaveReaders()) GTEST_SKIP() << "ImageMagick or djpeg is not installed";
  TScratchDir dir;
  const std::string file = dir.File("cmyk.jpg");
  ASSERT_EQ(0,
            std::system(("convert -size 16x8 xc:red -colorspace CMYK -quality 95 '" + file + "'").c_str()));
  TJPEGImage jpeg;
  jpeg.LoadFromFile(file);
  ASSERT_NE(nullptr, jpeg.Bitmap());
  EXPECT_LE(ChannelDifference(clRed, jpeg.Bitmap()->Pixel(5, 5)), 6);
}

TEST(JPEGImage, BitmapAssignAndDrawShowTheDecodedPixels) {
  auto bitmap = GradientBitmap(20, 10);
  TJPEGImage source;
  source.Assign(bitmap.get());
  TJPEGImage jpeg;
  LoadJpeg(jpeg, SaveJpeg(source));

  TBitmap assigned;
  assigned.Assign(&jpeg);
  TBitmap drawn(20, 10);
  drawn.Canvas()->Draw(0, 0, &jpeg);
  TBitmap* decoded = jpeg.Bitmap();
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) {
      EXPECT_EQ(decoded->Pixel(x, y), assigned.Pixel(x, y));
      EXPECT_EQ(decoded->Pixel(x, y), drawn.Pixel(x, y));
    }
  // And a picture copied from another JPEG image keeps its bytes.
  TJPEGImage copy;
  copy.Assign(&jpeg);
  EXPECT_EQ(SaveJpeg(jpeg), SaveJpeg(copy));
}

TEST(JPEGImage, MonochromeBitmapIsCompressedBlackAndWhite) {
  auto bitmap = GradientBitmap(16, 16);
  bitmap->SetMonochrome(true);
  bitmap->Canvas()->Brush()->SetColor(clYellow);  // drawn after: white in monochrome
  bitmap->Canvas()->FillRect(Rect(0, 0, 8, 16));
  TJPEGImage jpeg;
  jpeg.Assign(bitmap.get());
  jpeg.SetCompressionQuality(100);
  TJPEGImage read;
  LoadJpeg(read, SaveJpeg(jpeg));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      EXPECT_LE(ChannelDifference(bitmap->Pixel(x, y), read.Bitmap()->Pixel(x, y)), 40);
  EXPECT_LE(ChannelDifference(clWhite, read.Bitmap()->Pixel(2, 2)), 8);
}

TEST(JPEGImage, SizeCannotBeChanged) {
  TJPEGImage jpeg;
  EXPECT_THROW(jpeg.SetWidth(5), EInvalidGraphicOperation);
  EXPECT_THROW(jpeg.SetHeight(5), EInvalidGraphicOperation);
}

TEST(JPEGImage, CorruptDataRaisesInvalidGraphic) {
  auto bitmap = GradientBitmap(24, 16);
  TJPEGImage source;
  source.Assign(bitmap.get());
  source.SetCompressionQuality(60);
  const std::vector<uint8_t> valid = SaveJpeg(source);

  const std::vector<std::vector<uint8_t>> garbage = {
      {'h', 'e', 'l', 'l', 'o'},
      {0xFF, 0xD8},
      {0xFF, 0xD8, 0xFF, 0xD9},
      {'B', 'M', 0, 0, 0, 0},
  };
  for (const auto& bytes : garbage) {
    TJPEGImage jpeg;
    EXPECT_THROW(LoadJpeg(jpeg, bytes), EInvalidGraphic);
  }
  // Every truncation fails, at loading (header) or at decoding (image data).
  for (size_t length = 1; length < valid.size(); ++length) {
    std::vector<uint8_t> cut(valid.begin(), valid.begin() + length);
    TJPEGImage jpeg;
    EXPECT_THROW(
        {
          LoadJpeg(jpeg, cut);
          jpeg.DIBNeeded();
        },
        EInvalidGraphic)
        << "cut to " << length;
  }
  // A header claiming a huge picture in a few hundred bytes is refused before decoding.
  std::vector<uint8_t> huge = valid;
  for (size_t i = 0; i + 8 < huge.size(); ++i)
    if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {  // SOF0: length, precision, height, width
      huge[i + 5] = 0xF0;
      huge[i + 7] = 0xF0;
      break;
    }
  TJPEGImage jpeg;
  EXPECT_THROW(LoadJpeg(jpeg, huge), EJPEG);
}

TEST(JPEGImage, DamagedBytesNeverCrash) {
  auto bitmap = GradientBitmap(24, 16);
  TJPEGImage source;
  source.Assign(bitmap.get());
  source.SetProgressiveEncoding(true);
  const std::vector<uint8_t> valid = SaveJpeg(source);
  uint32_t seed = 777;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
  for (int round = 0; round < 400; ++round) {
    std::vector<uint8_t> bytes = valid;
    for (int i = 0, n = 1 + next() % 3; i < n; ++i)
      bytes[next() % bytes.size()] = static_cast<uint8_t>(next() >> 16);
    TJPEGImage jpeg;
    try {
      LoadJpeg(jpeg, bytes);
      if (TBitmap* decoded = jpeg.Bitmap()) {
        EXPECT_EQ(jpeg.Width(), decoded->Width());
      }
    } catch (const EInvalidGraphic&) {
    }
  }
}
