// The bitmap file codec: hand-made files of every header version, depth and compression
// decode to the pixels they describe; broken files raise EInvalidGraphic; our files are
// read by ImageMagick and ImageMagick's files are read by us.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "PictureTestTools.h"
#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/Stream.h"

using namespace picturetest;

namespace {

constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;

// BGR(A) colour-table entries.
std::vector<uint8_t> Quad(uint8_t r, uint8_t g, uint8_t b) {
  return {b, g, r, 0};
}
std::vector<uint8_t> Triple(uint8_t r, uint8_t g, uint8_t b) {
  return {b, g, r};
}

// BITMAPINFOHEADER (or a longer version: its extra fields follow in Extra).
TBytes InfoHeader(uint32_t size, int32_t width, int32_t height, int bitCount, uint32_t compression,
                  uint32_t clrUsed = 0) {
  TBytes h;
  h.U32(size).I32(width).I32(height).U16(1).U16(bitCount).U32(compression).U32(0).I32(2835).I32(2835);
  h.U32(clrUsed).U32(0);
  return h;
}

// Masks (and, for V4 and V5, zeroed colour-space fields) up to the header size.
TBytes WithMasks(TBytes header, uint32_t size, std::vector<uint32_t> masks) {
  for (uint32_t m : masks) header.U32(m);
  header.PadTo(size);
  return header;
}

// A file: header, the parts given in order, the bits; bfOffBits points at the bits unless given.
std::vector<uint8_t> BmpFile(const std::vector<std::vector<uint8_t>>& parts, const std::vector<uint8_t>& bits,
                             int64_t bitsOffset = -1) {
  TBytes file;
  file.Raw({'B', 'M'}).U32(0).U32(0).U32(0);
  for (const auto& part : parts) file.Append(part);
  const uint32_t offset =
      bitsOffset >= 0 ? static_cast<uint32_t>(bitsOffset) : static_cast<uint32_t>(file.Size());
  file.Append(bits);
  file.Put32(2, static_cast<uint32_t>(file.Size()));
  file.Put32(10, offset);
  return file.Data();
}

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

std::vector<uint8_t> Palette16() {
  std::vector<uint8_t> p;
  for (int i = 0; i < 16; ++i) {
    auto e = Quad(static_cast<uint8_t>(i * 16), static_cast<uint8_t>(i * 10), static_cast<uint8_t>(i));
    p.insert(p.end(), e.begin(), e.end());
  }
  return p;
}
TColor Palette16Color(int i) {
  return RGB(i * 16, i * 10, i);
}

const TColor Red = RGB(255, 0, 0), Green = RGB(0, 255, 0), Blue = RGB(0, 0, 255), White = RGB(255, 255, 255),
             Black = RGB(0, 0, 0), Yellow = RGB(255, 255, 0);

struct TBmpFixture {
  std::string Name;
  std::vector<uint8_t> File;
  int Width;
  int Height;
  std::vector<TColor> Pixels;  // top row first
  TPixelFormat Format;
  bool Monochrome;
};

// Test names show the fixture's name rather than its bytes.
void PrintTo(const TBmpFixture& fixture, std::ostream* os) {
  *os << fixture.Name;
}

std::vector<TBmpFixture> Fixtures() {
  std::vector<TBmpFixture> f;
  {
    TBytes core;
    core.U32(12).U16(3).U16(2).U16(1).U16(1);
    f.push_back(
        {"Core1Bit",
         BmpFile({core.Data(), Triple(0, 0, 255), Triple(255, 255, 0)}, {0x20, 0, 0, 0, 0xA0, 0, 0, 0}),
         3,
         2,
         {Yellow, Blue, Yellow, Blue, Blue, Yellow},
         pf1bit,
         false});
  }
  f.push_back(
      {"Info4BitFullPalette",
       BmpFile({InfoHeader(40, 3, 2, 4, BI_RGB).Data(), Palette16()}, {0x20, 0xE0, 0, 0, 0xF1, 0x80, 0, 0}),
       3,
       2,
       {Palette16Color(15), Palette16Color(1), Palette16Color(8), Palette16Color(2), Palette16Color(0),
        Palette16Color(14)},
       pf4bit,
       false});
  f.push_back(
      {"Info8BitClrUsed3",
       BmpFile({InfoHeader(40, 3, 2, 8, BI_RGB, 3).Data(), Quad(255, 0, 0), Quad(0, 255, 0), Quad(0, 0, 255)},
               {0, 1, 2, 0, 2, 1, 0, 0}),
       3,
       2,
       {Blue, Green, Red, Red, Green, Blue},
       pf8bit,
       false});
  // A full table announced, but the bits start after two entries.
  f.push_back({"Info8BitShortPaletteByOffset",
               BmpFile({InfoHeader(40, 3, 2, 8, BI_RGB).Data(), Quad(255, 255, 255), Quad(255, 0, 0)},
                       {0, 1, 1, 0, 1, 0, 1, 0}),
               3,
               2,
               {Red, White, Red, White, Red, Red},
               pf8bit,
               false});
  f.push_back({"Info16Bit555",
               BmpFile({InfoHeader(40, 3, 2, 16, BI_RGB).Data()},
                       {0xFF, 0x7F, 0x00, 0x00, 0x10, 0x42, 0, 0, 0x00, 0xFC, 0xE0, 0x03, 0x1F, 0x00, 0, 0}),
               3,
               2,
               {Red, Green, Blue, White, Black, RGB(132, 132, 132)},
               pf15bit,
               false});
  f.push_back({"Info16Bit565Bitfields",
               BmpFile({InfoHeader(40, 3, 2, 16, BI_BITFIELDS).Data(),
                        TBytes().U32(0xF800).U32(0x07E0).U32(0x001F).Data()},
                       {0xFF, 0xFF, 0x00, 0x00, 0x10, 0x84, 0, 0, 0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0}),
               3,
               2,
               {Red, Green, Blue, White, Black, RGB(132, 130, 132)},
               pf16bit,
               false});
  f.push_back(
      {"Info24BitTopDown",
       BmpFile({InfoHeader(40, 3, -2, 24, BI_RGB).Data()},
               {30, 20, 10, 60, 50, 40, 90, 80, 70, 0, 0, 0, 255, 255, 255, 0, 0, 0, 3, 2, 1, 0, 0, 0}),
       3,
       2,
       {RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90), White, Black, RGB(1, 2, 3)},
       pf24bit,
       false});
  f.push_back({"Info32BitAlphaIgnored",
               BmpFile({InfoHeader(40, 2, 2, 32, BI_RGB).Data()},
                       {0, 0, 0, 0x11, 255, 255, 255, 0x80, 0, 0, 255, 0, 255, 0, 0, 0xFF}),
               2,
               2,
               {Red, Blue, Black, White},
               pf32bit,
               false});
  // V3 header with the channels in an unusual order and an alpha mask.
  f.push_back({"V3Header32BitBitfields",
               BmpFile({WithMasks(InfoHeader(56, 2, 1, 32, BI_BITFIELDS), 56,
                                  {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF})
                            .Data()},
                       {0x80, 0xFF, 0x00, 0x00, 0x80, 0x10, 0x20, 0x30}),
               2,
               1,
               {Red, RGB(0x10, 0x20, 0x30)},
               pf32bit,
               false});
  f.push_back(
      {"V2Header16Bit444",
       BmpFile({WithMasks(InfoHeader(52, 2, 1, 16, BI_BITFIELDS), 52, {0x0F00, 0x00F0, 0x000F}).Data()},
               {0x00, 0x0F, 0x80, 0x00}),
       2,
       1,
       {Red, RGB(0, 136, 0)},
       pf15bit,
       false});
  f.push_back(
      {"V4Header24Bit",
       BmpFile({WithMasks(InfoHeader(108, 1, 2, 24, BI_RGB), 108, {}).Data()}, {0, 0, 255, 0, 0, 255, 0, 0}),
       1,
       2,
       {Green, Red},
       pf24bit,
       false});
  f.push_back({"V5Header1BitBlackWhite",
               BmpFile({WithMasks(InfoHeader(124, 9, 1, 1, BI_RGB, 2), 124, {}).Data(), Quad(0, 0, 0),
                        Quad(255, 255, 255)},
                       {0xAA, 0x80, 0, 0}),
               9,
               1,
               {White, Black, White, Black, White, Black, White, Black, White},
               pf1bit,
               true});
  {
    TBytes os2;
    os2.U32(64).I32(2).I32(1).U16(1).U16(8).U32(BI_RGB).U32(0).I32(0).I32(0).U32(2).PadTo(64);
    f.push_back({"Os2Header8Bit",
                 BmpFile({os2.Data(), Quad(0, 0, 0), Quad(255, 255, 0)}, {1, 0, 0, 0}),
                 2,
                 1,
                 {Yellow, Black},
                 pf8bit,
                 false});
  }
  const std::vector<uint8_t> rlePalette =
      Concat({Quad(255, 255, 255), Quad(255, 0, 0), Quad(0, 255, 0), Quad(0, 0, 255)});
  // Runs, an end of line, literal pixels, a jump, a run and the end: skipped pixels take entry 0.
  f.push_back(
      {"Rle8",
       BmpFile({InfoHeader(40, 5, 3, 8, BI_RLE8, 4).Data(), rlePalette},
               {3, 1, 2, 2, 0, 0, 0, 3, 3, 2, 1, 0, 0, 2, 1, 1, 1, 3, 0, 1}),
       5,
       3,
       {White, White, White, White, Blue, Blue, Green, Red, White, White, Red, Red, Red, Green, Green},
       pf8bit,
       false});
  f.push_back(
      {"Rle4",
       BmpFile({InfoHeader(40, 5, 3, 4, BI_RLE4, 4).Data(), rlePalette},
               {5, 0x12, 0, 0, 0, 3, 0x32, 0x10, 0, 2, 1, 1, 1, 0x30, 0, 1}),
       5,
       3,
       {White, White, White, White, Blue, Blue, Green, Red, White, White, Red, Green, Red, Green, Red},
       pf4bit,
       false});
  return f;
}

std::vector<uint8_t> SaveBitmap(TBitmap& bitmap) {
  TMemoryStream stream;
  bitmap.SaveToStream(&stream);
  return std::vector<uint8_t>(stream.Memory(), stream.Memory() + stream.Size());
}

void LoadBitmap(TBitmap& bitmap, const std::vector<uint8_t>& bytes) {
  TMemoryStream stream;
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream.SetPosition(0);
  bitmap.LoadFromStream(&stream);
}

// A bitmap whose pixels all differ, of a width that needs row padding.
std::unique_ptr<TBitmap> ColourfulBitmap(int width, int height) {
  auto bitmap = std::make_unique<TBitmap>(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      bitmap->SetPixel(x, y, RGB(x * 37 % 256, y * 53 % 256, (x * y * 11 + 7) % 256));
  return bitmap;
}

uint32_t Field32(const std::vector<uint8_t>& d, size_t at) {
  return d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) | (static_cast<uint32_t>(d[at + 3]) << 24);
}

void ExpectSamePixels(const TBitmap& bitmap, const TRgbRaster& raster, const std::string& what) {
  ASSERT_EQ(raster.Width, bitmap.Width()) << what;
  ASSERT_EQ(raster.Height, bitmap.Height()) << what;
  for (int y = 0; y < raster.Height; ++y)
    for (int x = 0; x < raster.Width; ++x)
      ASSERT_EQ(raster.At(x, y), bitmap.Pixel(x, y)) << what << " at " << x << "," << y;
}

class BmpFixtureDecode : public testing::TestWithParam<TBmpFixture> {};

}  // namespace

TEST_P(BmpFixtureDecode, GivesTheDescribedPixels) {
  const TBmpFixture& fixture = GetParam();
  TBitmap bitmap;
  LoadBitmap(bitmap, fixture.File);
  ASSERT_EQ(fixture.Width, bitmap.Width());
  ASSERT_EQ(fixture.Height, bitmap.Height());
  for (int y = 0; y < fixture.Height; ++y)
    for (int x = 0; x < fixture.Width; ++x)
      EXPECT_EQ(fixture.Pixels[y * fixture.Width + x], bitmap.Pixel(x, y)) << "pixel " << x << "," << y;
  EXPECT_EQ(fixture.Format, bitmap.PixelFormat());
  EXPECT_EQ(fixture.Monochrome, bitmap.Monochrome());
}

INSTANTIATE_TEST_SUITE_P(BmpCodec, BmpFixtureDecode, testing::ValuesIn(Fixtures()),
                         [](const testing::TestParamInfo<TBmpFixture>& info) { return info.param.Name; });

TEST(BmpCodec, ColourIndexBeyondTheTableIsBlack) {
  TBitmap bitmap;
  LoadBitmap(bitmap, BmpFile({InfoHeader(40, 3, 1, 8, BI_RGB, 2).Data(), Quad(255, 0, 0), Quad(0, 255, 0)},
                             {1, 2, 255, 0}));
  EXPECT_EQ(Green, bitmap.Pixel(0, 0));
  EXPECT_EQ(Black, bitmap.Pixel(1, 0));
  EXPECT_EQ(Black, bitmap.Pixel(2, 0));
}

TEST(BmpCodec, BareDibDecodesLikeTheFile) {
  for (const TBmpFixture& fixture : Fixtures()) {
    // Short colour tables: only a file says where its bits start.
    if (fixture.Name == "Info8BitShortPaletteByOffset") continue;
    TBitmap fromFile, fromDib;
    LoadBitmap(fromFile, fixture.File);
    ASSERT_NO_THROW(fromDib.LoadFromDIB(fixture.File.data() + 14, fixture.File.size() - 14)) << fixture.Name;
    ASSERT_EQ(fromFile.Width(), fromDib.Width()) << fixture.Name;
    for (int y = 0; y < fromFile.Height(); ++y)
      for (int x = 0; x < fromFile.Width(); ++x)
        EXPECT_EQ(fromFile.Pixel(x, y), fromDib.Pixel(x, y)) << fixture.Name << " " << x << "," << y;
  }
}

TEST(BmpCodec, EveryTruncationRaisesInvalidGraphic) {
  for (const TBmpFixture& fixture : Fixtures()) {
    // RLE data may end early without its end marker: the remaining pixels keep entry 0. Only a
    // command cut in half is damage there, so those files are cut inside the header only.
    const bool rle = fixture.Name.rfind("Rle", 0) == 0;
    const size_t bitsOffset = Field32(fixture.File, 10);
    const size_t limit = rle ? bitsOffset : fixture.File.size();
    for (size_t length = 1; length < limit; ++length) {
      std::vector<uint8_t> cut(fixture.File.begin(), fixture.File.begin() + length);
      TBitmap bitmap;
      EXPECT_THROW(LoadBitmap(bitmap, cut), EInvalidGraphic) << fixture.Name << " cut to " << length;
    }
  }
}

TEST(BmpCodec, MalformedHeadersRaiseInvalidGraphic) {
  const std::vector<uint8_t> valid = Fixtures()[2].File;  // 8 bits, three colours
  struct TDamage {
    const char* Name;
    std::function<void(std::vector<uint8_t>&)> Apply;
  };
  const std::vector<TDamage> damages = {
      {"magic", [](auto& d) { d[0] = 'X'; }},
      {"header size 20", [](auto& d) { d[14] = 20; }},
      {"width 0", [](auto& d) { d[18] = 0; }},
      {"height 0", [](auto& d) { d[22] = 0; }},
      {"bit count 7", [](auto& d) { d[28] = 7; }},
      {"RLE4 at 8 bits", [](auto& d) { d[30] = BI_RLE4; }},
      {"bit fields at 8 bits", [](auto& d) { d[30] = BI_BITFIELDS; }},
      {"JPEG compression", [](auto& d) { d[30] = 4; }},
      {"bits offset past the end", [](auto& d) { d[10] = 0xF0; }},
      {"bits offset inside the header", [](auto& d) { d[10] = 20; }},
      {"width beyond 32768",
       [](auto& d) {
         d[18] = 0x01;
         d[19] = 0x80;
         d[20] = 0;
       }},
      {"height -40000 (top-down)",
       [](auto& d) {
         d[22] = 0xC0;
         d[23] = 0x63;
         d[24] = 0xFF;
         d[25] = 0xFF;
       }},
      {"8000 x 8000 pixels, few bytes",
       [](auto& d) {
         d[18] = 0x40;
         d[19] = 0x1F;
         d[22] = 0x40;
         d[23] = 0x1F;
       }},
  };
  for (const TDamage& damage : damages) {
    std::vector<uint8_t> bytes = valid;
    damage.Apply(bytes);
    TBitmap bitmap;
    EXPECT_THROW(LoadBitmap(bitmap, bytes), EInvalidGraphic) << damage.Name;
  }
}

TEST(BmpCodec, RleEdgeCasesAreBoundedAndChecked) {
  const std::vector<uint8_t> palette = Concat({Quad(255, 255, 255), Quad(255, 0, 0)});
  // Top-down RLE does not exist.
  TBitmap bitmap;
  EXPECT_THROW(LoadBitmap(bitmap, BmpFile({InfoHeader(40, 2, -2, 8, BI_RLE8, 2).Data(), palette}, {0, 1})),
               EInvalidGraphic);
  // A literal run that promises more bytes than there are.
  EXPECT_THROW(
      LoadBitmap(bitmap, BmpFile({InfoHeader(40, 8, 1, 8, BI_RLE8, 2).Data(), palette}, {0, 6, 1, 1})),
      EInvalidGraphic);
  // 10000 x 10000 pixels from a handful of bytes is not a real picture.
  EXPECT_THROW(
      LoadBitmap(bitmap, BmpFile({InfoHeader(40, 10000, 10000, 8, BI_RLE8, 2).Data(), palette}, {0, 1})),
      EInvalidGraphic);
  // Runs past the right edge and jumps past the top are clipped, not written out of bounds.
  LoadBitmap(bitmap,
             BmpFile({InfoHeader(40, 2, 2, 8, BI_RLE8, 2).Data(), palette}, {255, 1, 0, 2, 200, 200, 9, 1}));
  EXPECT_EQ(RGB(255, 0, 0), bitmap.Pixel(0, 1));
  EXPECT_EQ(RGB(255, 0, 0), bitmap.Pixel(1, 1));
  EXPECT_EQ(RGB(255, 255, 255), bitmap.Pixel(0, 0));
}

TEST(BmpCodec, DamagedBytesNeverCrash) {
  // Deterministic byte damage over every fixture: each result is a picture or EInvalidGraphic.
  uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
  for (const TBmpFixture& fixture : Fixtures()) {
    for (int round = 0; round < 300; ++round) {
      std::vector<uint8_t> bytes = fixture.File;
      const int changes = 1 + next() % 4;
      for (int i = 0; i < changes; ++i) bytes[next() % bytes.size()] = static_cast<uint8_t>(next() >> 16);
      TBitmap bitmap;
      try {
        LoadBitmap(bitmap, bytes);
        EXPECT_FALSE(bitmap.Empty());
      } catch (const EInvalidGraphic&) {
      }
    }
  }
}

TEST(BmpCodec, ColourFileLayout) {
  auto owner = ColourfulBitmap(5, 3);
  TBitmap& bitmap = *owner;
  const std::vector<uint8_t> bytes = SaveBitmap(bitmap);
  const size_t stride = 16;  // 5 x 3 bytes padded to 4
  ASSERT_EQ(14 + 40 + stride * 3, bytes.size());
  EXPECT_EQ('B', bytes[0]);
  EXPECT_EQ('M', bytes[1]);
  EXPECT_EQ(bytes.size(), Field32(bytes, 2));
  EXPECT_EQ(0u, Field32(bytes, 6));
  EXPECT_EQ(54u, Field32(bytes, 10));
  EXPECT_EQ(40u, Field32(bytes, 14));
  EXPECT_EQ(5u, Field32(bytes, 18));
  EXPECT_EQ(3u, Field32(bytes, 22));  // positive: bottom-up
  EXPECT_EQ(1u, Field32(bytes, 26) & 0xFFFF);
  EXPECT_EQ(24u, Field32(bytes, 26) >> 16);
  EXPECT_EQ(BI_RGB, Field32(bytes, 30));
  EXPECT_EQ(stride * 3, Field32(bytes, 34));
  EXPECT_EQ(3780u, Field32(bytes, 38));
  EXPECT_EQ(3780u, Field32(bytes, 42));
  EXPECT_EQ(0u, Field32(bytes, 46));
  EXPECT_EQ(0u, Field32(bytes, 50));
  // The first stored row is the bottom one, blue-green-red, then zero padding.
  const TColor bottomLeft = bitmap.Pixel(0, 2);
  EXPECT_EQ(GetBValue(bottomLeft), bytes[54]);
  EXPECT_EQ(GetGValue(bottomLeft), bytes[55]);
  EXPECT_EQ(GetRValue(bottomLeft), bytes[56]);
  EXPECT_EQ(0, bytes[54 + 15]);
}

TEST(BmpCodec, MonochromeFileLayout) {
  TBitmap bitmap(10, 2);
  bitmap.SetPixel(0, 1, clBlack);
  bitmap.SetPixel(9, 1, clBlack);
  bitmap.SetMonochrome(true);
  const std::vector<uint8_t> bytes = SaveBitmap(bitmap);
  ASSERT_EQ(14 + 40 + 8 + 4 * 2, bytes.size());
  EXPECT_EQ(62u, Field32(bytes, 10));
  EXPECT_EQ(1u, Field32(bytes, 26) >> 16);
  EXPECT_EQ(8u, Field32(bytes, 34));
  EXPECT_EQ(0u, Field32(bytes, 46));
  EXPECT_EQ(0x00000000u, Field32(bytes, 54));  // entry 0 black
  EXPECT_EQ(0x00FFFFFFu, Field32(bytes, 58));  // entry 1 white
  // Bottom row: black, eight whites, black; padding bits zero.
  EXPECT_EQ(0x7F, bytes[62]);
  EXPECT_EQ(0x80, bytes[63]);
  EXPECT_EQ(0, bytes[64]);
  EXPECT_EQ(0xFF, bytes[66]);
  EXPECT_EQ(0xC0, bytes[67]);
}

TEST(BmpCodec, SaveLoadSaveIsByteIdentical) {
  for (bool monochrome : {false, true}) {
    for (auto [w, h] : {std::pair{1, 1}, std::pair{5, 3}, std::pair{33, 7}, std::pair{64, 2}}) {
      auto owner = ColourfulBitmap(w, h);
      TBitmap& original = *owner;
      original.SetMonochrome(monochrome);
      const std::vector<uint8_t> first = SaveBitmap(original);
      TBitmap loaded;
      LoadBitmap(loaded, first);
      EXPECT_EQ(monochrome, loaded.Monochrome());
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ASSERT_EQ(original.Pixel(x, y), loaded.Pixel(x, y));
      EXPECT_EQ(first, SaveBitmap(loaded)) << w << "x" << h << " monochrome " << monochrome;
    }
  }
}

TEST(BmpCodec, KeepsTheResolutionOfALoadedFile) {
  TBytes header;
  header.U32(40).I32(1).I32(1).U16(1).U16(24).U32(BI_RGB).U32(4).I32(1234).I32(5678).U32(0).U32(0);
  TBitmap bitmap;
  LoadBitmap(bitmap, BmpFile({header.Data()}, {1, 2, 3, 0}));
  const std::vector<uint8_t> saved = SaveBitmap(bitmap);
  EXPECT_EQ(1234u, Field32(saved, 38));
  EXPECT_EQ(5678u, Field32(saved, 42));
}

TEST(BmpCodec, EmptyBitmapSavesNothingAndNothingLoadsEmpty) {
  TBitmap bitmap;
  EXPECT_TRUE(SaveBitmap(bitmap).empty());
  TBitmap loaded(4, 4);
  LoadBitmap(loaded, {});
  EXPECT_TRUE(loaded.Empty());
}

TEST(BmpCodec, ImageMagickReadsOurFiles) {
  if (!HaveTool("convert") || !HaveTool("identify")) GTEST_SKIP() << "ImageMagick is not installed";
  TScratchDir dir;
  for (bool monochrome : {false, true}) {
    auto owner = ColourfulBitmap(13, 9);
    TBitmap& bitmap = *owner;
    bitmap.SetMonochrome(monochrome);
    const std::string file = dir.File(monochrome ? "mono.bmp" : "colour.bmp");
    bitmap.SaveToFile(file);
    ExpectSamePixels(bitmap, ReadWithImageMagick(file), file);
    if (monochrome) {
      TCommandResult info = RunCommand("identify '" + file + "'");
      EXPECT_NE(std::string::npos, info.Output.find("1-bit")) << info.Output;
    }
  }
  // One pixel checked the way a person would ask.
  TBitmap bitmap(6, 6);
  bitmap.SetPixel(3, 4, RGB(12, 200, 77));
  bitmap.SaveToFile(dir.File("one.bmp"));
  TCommandResult pixel = RunCommand("convert '" + dir.File("one.bmp") +
                                    "' -format '%[fx:round(255*p{3,4}.r)],%[fx:round(255*p{3,4}.g)],"
                                    "%[fx:round(255*p{3,4}.b)]' info:");
  EXPECT_EQ("12,200,77", pixel.Output);
}

TEST(BmpCodec, ReadsImageMagickFiles) {
  if (!HaveTool("convert") || !HaveTool("identify")) GTEST_SKIP() << "ImageMagick is not installed";
  TScratchDir dir;
  struct TVariant {
    const char* Name;
    const char* Options;  // ImageMagick options, then the output format prefix
  };
  const std::vector<TVariant> variants = {
      {"bmp3-24bit", "BMP3:"},
      {"bmp2-core", "BMP2:"},
      {"v5-24bit", "BMP:"},
      {"palette-4bit", "-type palette BMP3:"},
      {"palette-rle8", "-type palette -compress RLE BMP3:"},
      {"v5-rle8", "-colors 8 -compress RLE BMP:"},
      {"bilevel", "-type bilevel BMP3:"},
      {"rgb565", "-define bmp:subtype=RGB565 BMP:"},
      {"rgb555", "-define bmp:subtype=RGB555 BMP:"},
      {"argb8888", "-alpha set -channel A -evaluate set 50% +channel BMP:"},
  };
  for (const TVariant& variant : variants) {
    const std::string name = variant.Name;
    const std::string file = dir.File(name + ".bmp");
    ASSERT_EQ(0, std::system(("convert -size 19x7 gradient:red-blue " + std::string(variant.Options) + "'" +
                              file + "'")
                                 .c_str()))
        << name;
    TBitmap bitmap;
    bitmap.LoadFromFile(file);
    ExpectSamePixels(bitmap, ReadWithImageMagick(file), name);
  }
}

TEST(BmpCodec, ImageMagickSeesTheFixturesAsDescribed) {
  if (!HaveTool("convert") || !HaveTool("identify")) GTEST_SKIP() << "ImageMagick is not installed";
  TScratchDir dir;
  for (const TBmpFixture& fixture : Fixtures()) {
    // ImageMagick reads the whole announced colour table, ignoring where the bits start; it
    // widens 4-bit fields by shifting (15 becomes 240) where we scale (15 becomes 255); and it
    // reads the OS/2 2.x colour table as 3-byte entries where OS/2 2.x stores 4 (RGB2).
    if (fixture.Name == "Info8BitShortPaletteByOffset" || fixture.Name == "V2Header16Bit444" ||
        fixture.Name == "Os2Header8Bit")
      continue;
    const std::string file = dir.File(fixture.Name + ".bmp");
    WriteFileBytes(file, fixture.File);
    const TRgbRaster raster = ReadWithImageMagick(file);
    ASSERT_EQ(fixture.Width, raster.Width) << fixture.Name;
    ASSERT_EQ(fixture.Height, raster.Height) << fixture.Name;
    for (int y = 0; y < fixture.Height; ++y)
      for (int x = 0; x < fixture.Width; ++x)
        EXPECT_EQ(fixture.Pixels[y * fixture.Width + x], raster.At(x, y))
            << fixture.Name << " " << x << "," << y;
  }
}
