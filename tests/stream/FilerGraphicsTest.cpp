// Pictures in the page stream: the kinds readers know, the graphic registry with its
// references, and the brush pattern.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FilerRun.h"
#include "engine/VXDefine.h"
#include "platform/Bitmap.h"
#include "platform/Icon.h"
#include "platform/JPEGImage.h"
#include "stream/VXStreamReader.h"

namespace {

std::unique_ptr<TBitmap> Picture(int Width, int Height, TColor Color) {
  auto bitmap = std::make_unique<TBitmap>(Width, Height);
  for (int y = 0; y < Height; ++y) {
    for (int x = 0; x < Width; ++x) bitmap->SetPixel(x, y, Color);
  }
  return bitmap;
}

std::vector<TStreamRecord> WithGraphics(const std::vector<TStreamRecord>& Records) {
  std::vector<TStreamRecord> result;
  for (const TStreamRecord& r : Records) {
    if (r.HasGraphic) result.push_back(r);
  }
  return result;
}

TEST(FilerGraphicsTest, PicturesOfOtherClassesAreRecordedAsBitmaps) {
  const auto source = Picture(12, 7, clRed);
  TJPEGImage jpeg;
  jpeg.Assign(source.get());
  TFilerRun run;
  const auto pages = run.Run([&jpeg, &source](TReportFiler& F) {
    F.Draw(1, 1, &jpeg);
    F.StretchDraw(TRect{0, 0, 600, 600}, source.get());
  });
  const auto graphics = WithGraphics(pages[0]);
  ASSERT_EQ(graphics.size(), 2u);
  for (const TStreamRecord& record : graphics) {
    EXPECT_EQ(record.Graphic.Kind, gkBitmap);
    ASSERT_GT(record.Graphic.Size(), 2u);
    EXPECT_EQ((*record.Graphic.Data)[0], 'B');
    EXPECT_EQ((*record.Graphic.Data)[1], 'M');
    const std::unique_ptr<TGraphic> picture = CreateStreamGraphic(record.Graphic);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), 12);
    EXPECT_EQ(picture->Height(), 7);
  }
  // The JPEG drawn into a bitmap keeps its colour (within JPEG's loss).
  const auto bitmap = CreateStreamGraphic(graphics[0].Graphic);
  const TColor pixel = static_cast<TBitmap*>(bitmap.get())->Pixel(6, 3);
  EXPECT_GT(GetRValue(pixel), 200);
  EXPECT_LT(GetGValue(pixel), 60);
}

// A 2 x 2 icon file with one 1-bit image.
void LoadTwoByTwoIcon(TIcon& Icon) {
  TStreamBytes b;
  b.Int16(0).Int16(1).Int16(1);                                             // reserved, icon, one image
  b.Byte(2).Byte(2).Byte(2).Byte(0).Int16(1).Int16(1).Int32(64).Int32(22);  // directory entry
  b.Int32(40).Int32(2).Int32(4).Int16(1).Int16(1);                          // header: twice the height
  for (int i = 0; i < 6; ++i) b.Int32(0);
  b.Int32(0x000000).Int32(0xFFFFFF);  // palette
  b.Int32(0x40).Int32(0x80);          // colour rows
  b.Int32(0).Int32(0);                // mask rows: all opaque
  TMemoryStream stream;
  b.SaveTo(stream);
  Icon.LoadFromStream(&stream);
}

TEST(FilerGraphicsTest, IconsKeepTheirKind) {
  TIcon icon;
  LoadTwoByTwoIcon(icon);
  TFilerRun run;
  const auto pages = run.Run([&icon](TReportFiler& F) { F.Draw(1, 1, &icon); });
  const auto graphics = WithGraphics(pages[0]);
  ASSERT_EQ(graphics.size(), 1u);
  EXPECT_EQ(graphics[0].Graphic.Kind, gkIcon);
  const auto picture = CreateStreamGraphic(graphics[0].Graphic);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Width(), 2);
  TMemoryStream saved;
  icon.SaveToStream(&saved);
  EXPECT_EQ(*graphics[0].Graphic.Data, std::vector<uint8_t>(saved.Memory(), saved.Memory() + saved.Size()));
}

TEST(FilerGraphicsTest, ARegisteredPictureIsReusedByReference) {
  const auto logo = Picture(20, 10, clGreen);
  TFilerRun run;
  run.Run([&logo](TReportFiler& F) {
    F.PrintBitmap(1, 1, 1, 1, logo.get());
    F.RegisterGraphic(3);
    F.NewPage();
    F.ReuseGraphic(3);
    F.PrintBitmapRect(1, 1, 2, 2, logo.get());
    F.ReuseGraphic(4);  // never registered: the picture is stored again
    F.PrintBitmapRect(1, 1, 2, 2, logo.get());
  });
  // Page 2 on its own, as a preview reaches it.
  TPageStreamReader reader(&run.Stream);
  reader.ReadHeader();
  reader.GotoPage(2);
  const auto second = WithGraphics(ReadPageRecords(reader));
  reader.GotoPage(1);
  const auto first = WithGraphics(ReadPageRecords(reader));
  ASSERT_EQ(first.size(), 1u);
  ASSERT_EQ(second.size(), 2u);
  EXPECT_FALSE(first[0].Graphic.Reference);
  EXPECT_TRUE(second[0].Graphic.Reference);
  EXPECT_EQ(second[0].Graphic.Kind, gkBitmap);
  EXPECT_EQ(second[0].Graphic.DataOffset, first[0].Graphic.DataOffset);
  EXPECT_EQ(*second[0].Graphic.Data, *first[0].Graphic.Data);
  EXPECT_FALSE(second[1].Graphic.Reference);
  EXPECT_EQ(*second[1].Graphic.Data, *first[0].Graphic.Data);
  // Every bitmap record is preceded by its raster mode.
  const auto pages = ReadAllPages(&run.Stream);
  EXPECT_EQ(CountCode(pages[1], pcBitmapMode), 2u);
}

TEST(FilerGraphicsTest, APictureOnAPageLeftOutIsNeverReferred) {
  const auto logo = Picture(4, 4, clRed);
  TFilerRun run;
  run.Filer.SetPageSelection("2");
  run.Run([&logo](TReportFiler& F) {
    F.Draw(1, 1, logo.get());  // page 1 is not recorded
    F.RegisterGraphic(1);
    F.NewPage();
    F.ReuseGraphic(1);
    F.Draw(1, 1, logo.get());
  });
  const auto pages = ReadAllPages(&run.Stream);
  ASSERT_EQ(pages.size(), 1u);
  const auto graphics = WithGraphics(pages[0]);
  ASSERT_EQ(graphics.size(), 1u);
  EXPECT_FALSE(graphics[0].Graphic.Reference);
}

TEST(FilerGraphicsTest, APictureOfAnAbortedPageIsNeverReferred) {
  const auto logo = Picture(4, 4, clRed);
  TFilerRun run;
  run.Run([&logo](TReportFiler& F) {
    F.NewPage();
    F.Draw(1, 1, logo.get());
    F.RegisterGraphic(1);
    F.AbortPage();
    F.NewPage();
    F.ReuseGraphic(1);
    F.Draw(1, 1, logo.get());
  });
  const auto pages = ReadAllPages(&run.Stream);
  ASSERT_EQ(pages.size(), 2u);
  const auto graphics = WithGraphics(pages[1]);
  ASSERT_EQ(graphics.size(), 1u);
  EXPECT_FALSE(graphics[0].Graphic.Reference);
}

TEST(FilerGraphicsTest, RegistryIndicesOutsideOneToTenAreRefused) {
  TFilerRun run;
  run.Run([](TReportFiler& F) {
    const std::vector<std::pair<std::function<void()>, std::string>> calls = {
        {[&F] { F.RegisterGraphic(0); }, "RegisterGraphic: Index must be between 1 and 10"},
        {[&F] { F.ReuseGraphic(11); }, "ReuseGraphic: Index must be between 1 and 10"},
        {[&F] { F.UnregisterGraphic(-1); }, "UnregisterGraphic: Index must be between 1 and 10"}};
    for (const auto& [call, message] : calls) {
      try {
        call();
        ADD_FAILURE() << "no failure for " << message;
      } catch (const EPagePress& e) {
        EXPECT_EQ(e.Message(), message);
      }
    }
  });
}

TEST(FilerGraphicsTest, ABrushPatternTravelsWithTheBrush) {
  const auto pattern = Picture(8, 8, clBlack);
  TFilerRun run;
  const auto pages = run.Run([&pattern](TReportFiler& F) {
    F.SetBrush(clRed, bsSolid, pattern.get());
    F.SetBrush(clRed, bsSolid, nullptr);
  });
  std::vector<int32_t> flags;
  for (const TStreamRecord& r : AfterStateBlock(pages[0])) {
    if (r.Code == pcBrushBitmap) flags.push_back(r.Integers[0]);
  }
  ASSERT_FALSE(flags.empty());
  EXPECT_EQ(flags.front(), 1);
  EXPECT_EQ(flags.back(), 0);
}

}  // namespace
