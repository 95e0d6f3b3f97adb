// TIcon: the file bytes are kept, the largest image is drawn with its transparent parts
// left out, broken files raise EInvalidGraphic.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "PictureTestTools.h"
#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/Icon.h"
#include "platform/RasterCanvas.h"
#include "platform/Stream.h"

using namespace picturetest;

namespace {

struct TIconImage {
  int Width, Height, BitCount;
  std::vector<uint8_t> Bytes;  // packed DIB (double height) or PNG
};

std::vector<uint8_t> IconFile(const std::vector<TIconImage>& images, uint16_t type = 1) {
  TBytes file;
  file.U16(0).U16(type).U16(static_cast<unsigned>(images.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
  for (const TIconImage& image : images) {
    file.U8(image.Width & 0xFF).U8(image.Height & 0xFF).U8(0).U8(0).U16(1).U16(image.BitCount);
    file.U32(static_cast<uint32_t>(image.Bytes.size())).U32(offset);
    offset += static_cast<uint32_t>(image.Bytes.size());
  }
  for (const TIconImage& image : images) file.Append(image.Bytes);
  return file.Data();
}

TBytes IconDibHeader(int width, int height, int bitCount) {
  TBytes h;
  h.U32(40).I32(width).I32(2 * height).U16(1).U16(bitCount).U32(0).U32(0).I32(0).I32(0).U32(0).U32(0);
  return h;
}

// 4 x 4, 4 bits: red | blue over green | white; the top-left and bottom-right pixels are
// transparent by the AND mask.
TIconImage FourBitImage() {
  TBytes dib = IconDibHeader(4, 4, 4);
  const std::vector<std::vector<unsigned>> palette = {
      {0, 0, 0}, {255, 0, 0}, {0, 0, 255}, {0, 255, 0}, {255, 255, 255}};
  for (int i = 0; i < 16; ++i) {
    const std::vector<unsigned> c = i < 5 ? palette[i] : std::vector<unsigned>{0, 0, 0};
    dib.U8(c[2]).U8(c[1]).U8(c[0]).U8(0);
  }
  dib.Raw({0x33, 0x44, 0, 0, 0x33, 0x44, 0, 0, 0x11, 0x22, 0, 0, 0x11, 0x22, 0, 0});  // colour, bottom-up
  dib.Raw({0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0, 0, 0});                    // mask, bottom-up
  return {4, 4, 4, dib.Data()};
}

// 2 x 2, 1 bit, all white, nothing transparent.
TIconImage OneBitImage() {
  TBytes dib = IconDibHeader(2, 2, 1);
  dib.U32(0).U32(0x00FFFFFF);
  dib.Raw({0xC0, 0, 0, 0, 0xC0, 0, 0, 0});
  dib.Raw({0, 0, 0, 0, 0, 0, 0, 0});
  return {2, 2, 1, dib.Data()};
}

std::vector<uint8_t> SaveIcon(TIcon& icon) {
  TMemoryStream stream;
  icon.SaveToStream(&stream);
  return std::vector<uint8_t>(stream.Memory(), stream.Memory() + stream.Size());
}

void LoadIcon(TIcon& icon, const std::vector<uint8_t>& bytes) {
  TMemoryStream stream;
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream.SetPosition(0);
  icon.LoadFromStream(&stream);
}

// The icon drawn at its size on a bitmap filled with Background.
std::unique_ptr<TBitmap> DrawnOn(TIcon& icon, TColor background) {
  auto bitmap = std::make_unique<TBitmap>(icon.Width(), icon.Height());
  bitmap->Canvas()->Brush()->SetColor(background);
  bitmap->Canvas()->FillRect(Rect(0, 0, icon.Width(), icon.Height()));
  bitmap->Canvas()->Draw(0, 0, &icon);
  return bitmap;
}

}  // namespace

TEST(Icon, KeepsTheBytesAndDrawsTheLargestImageWithItsMask) {
  const std::vector<uint8_t> file = IconFile({OneBitImage(), FourBitImage()});
  TIcon icon;
  EXPECT_TRUE(icon.Transparent());
  LoadIcon(icon, file);
  EXPECT_FALSE(icon.Empty());
  EXPECT_EQ(4, icon.Width());
  EXPECT_EQ(4, icon.Height());
  EXPECT_EQ(file, SaveIcon(icon));

  auto drawn = DrawnOn(icon, clFuchsia);
  const TColor expected[4][4] = {{clFuchsia, clRed, clBlue, clBlue},
                                 {clRed, clRed, clBlue, clBlue},
                                 {clLime, clLime, clWhite, clWhite},
                                 {clLime, clLime, clWhite, clFuchsia}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(expected[y][x], drawn->Pixel(x, y)) << x << "," << y;
}

TEST(Icon, StretchedDrawKeepsTheMask) {
  TIcon icon;
  LoadIcon(icon, IconFile({FourBitImage()}));
  TBitmap target(8, 8);
  target.Canvas()->Brush()->SetColor(clNavy);
  target.Canvas()->FillRect(Rect(0, 0, 8, 8));
  target.Canvas()->StretchDraw(Rect(0, 0, 8, 8), &icon);
  EXPECT_EQ(clNavy, target.Pixel(0, 0));
  EXPECT_EQ(clNavy, target.Pixel(1, 1));
  EXPECT_EQ(clRed, target.Pixel(2, 0));
  EXPECT_EQ(clNavy, target.Pixel(7, 7));
  EXPECT_EQ(clWhite, target.Pixel(5, 5));
}

TEST(Icon, AssignToBitmapPutsTransparentPartsOnWhite) {
  TIcon icon;
  LoadIcon(icon, IconFile({FourBitImage()}));
  TBitmap bitmap;
  bitmap.Assign(&icon);
  ASSERT_EQ(4, bitmap.Width());
  EXPECT_EQ(clWhite, bitmap.Pixel(0, 0));
  EXPECT_EQ(clRed, bitmap.Pixel(1, 0));
  EXPECT_EQ(clLime, bitmap.Pixel(0, 3));
}

TEST(Icon, AssignAndCloneCopyTheIcon) {
  TIcon icon;
  LoadIcon(icon, IconFile({FourBitImage(), OneBitImage()}));
  TIcon copy;
  copy.Assign(&icon);
  EXPECT_EQ(SaveIcon(icon), SaveIcon(copy));
  EXPECT_EQ(4, copy.Width());
  std::unique_ptr<TGraphic> clone = icon.Clone();
  ASSERT_NE(nullptr, dynamic_cast<TIcon*>(clone.get()));
  EXPECT_EQ(4, clone->Width());
  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());
  EXPECT_EQ(0, copy.Width());
}

TEST(Icon, SizeCannotBeChanged) {
  TIcon icon;
  EXPECT_THROW(icon.SetWidth(16), EInvalidGraphicOperation);
  EXPECT_THROW(icon.SetHeight(16), EInvalidGraphicOperation);
}

TEST(Icon, BrokenFilesRaiseInvalidGraphic) {
  const std::vector<uint8_t> valid = IconFile({OneBitImage(), FourBitImage()});
  for (size_t length = 1; length < valid.size(); ++length) {
    TIcon icon;
    EXPECT_THROW(LoadIcon(icon, std::vector<uint8_t>(valid.begin(), valid.begin() + length)), EInvalidGraphic)
        << "cut to " << length;
  }
  std::vector<std::vector<uint8_t>> broken = {
      IconFile({FourBitImage()}, 2),  // a cursor
      IconFile({}),                   // no image
  };
  std::vector<uint8_t> pastTheEnd = valid;
  pastTheEnd[6 + 14] = 0x10;  // first entry's offset, a megabyte on
  broken.push_back(pastTheEnd);
  std::vector<uint8_t> badDib = valid;
  const size_t drawnImage = valid[6 + 16 + 12] | (valid[6 + 16 + 13] << 8);  // the second, larger image
  badDib[drawnImage + 14] = 7;                                               // bit count 7
  broken.push_back(badDib);
  for (const auto& bytes : broken) {
    TIcon icon;
    EXPECT_THROW(LoadIcon(icon, bytes), EInvalidGraphic);
  }
  // A failed load keeps the icon it had.
  TIcon icon;
  LoadIcon(icon, valid);
  EXPECT_THROW(LoadIcon(icon, broken[0]), EInvalidGraphic);
  EXPECT_EQ(valid, SaveIcon(icon));
}

TEST(Icon, DamagedBytesNeverCrash) {
  const std::vector<uint8_t> valid = IconFile({OneBitImage(), FourBitImage()});
  uint32_t seed = 99;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
  for (int round = 0; round < 500; ++round) {
    std::vector<uint8_t> bytes = valid;
    for (int i = 0, n = 1 + next() % 3; i < n; ++i)
      bytes[next() % bytes.size()] = static_cast<uint8_t>(next() >> 16);
    TIcon icon;
    try {
      LoadIcon(icon, bytes);
      auto drawn = DrawnOn(icon, clBlack);
      EXPECT_EQ(icon.Width(), drawn->Width());
    } catch (const EInvalidGraphic&) {
    }
  }
}

TEST(Icon, ReadsImageMagickIconsWithAlphaAndPng) {
  if (!HaveTool("convert")) GTEST_SKIP() << "ImageMagick is not installed";
  TScratchDir dir;
  // Two sizes in 32-bit form with alpha; the larger is drawn.
  const std::string small = dir.File("small.png"), large = dir.File("large.png"), ico = dir.File("two.ico");
  ASSERT_EQ(
      0, std::system(
             ("convert -size 16x16 xc:none -fill red -draw 'rectangle 4,4 11,11' '" + small + "'").c_str()));
  ASSERT_EQ(
      0, std::system(
             ("convert -size 32x32 xc:none -fill blue -draw 'rectangle 8,8 23,23' '" + large + "'").c_str()));
  ASSERT_EQ(0, std::system(("convert '" + small + "' '" + large + "' '" + ico + "'").c_str()));
  TIcon icon;
  icon.LoadFromFile(ico);
  EXPECT_EQ(32, icon.Width());
  EXPECT_EQ(32, icon.Height());
  EXPECT_EQ(ReadFileBytes(ico), SaveIcon(icon));
  auto drawn = DrawnOn(icon, clLime);
  EXPECT_EQ(clLime, drawn->Pixel(2, 2));
  EXPECT_EQ(clBlue, drawn->Pixel(16, 16));
  EXPECT_EQ(clLime, drawn->Pixel(28, 16));

  // 256 x 256 images are stored as PNG.
  const std::string big = dir.File("big.ico");
  ASSERT_EQ(0, std::system(
                   ("convert -size 256x256 xc:none -fill red -draw 'rectangle 100,100 199,199' '" + big + "'")
                       .c_str()));
  TIcon bigIcon;
  bigIcon.LoadFromFile(big);
  EXPECT_EQ(256, bigIcon.Width());
  auto bigDrawn = DrawnOn(bigIcon, clLime);
  EXPECT_EQ(clLime, bigDrawn->Pixel(50, 50));
  EXPECT_EQ(clRed, bigDrawn->Pixel(150, 150));
}
