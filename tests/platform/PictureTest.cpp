// TPicture: the picture class chosen by file extension, the format registry, copies and
// change notification.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PictureTestTools.h"
#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/Icon.h"
#include "platform/JPEGImage.h"
#include "platform/Picture.h"
#include "platform/Stream.h"

using namespace picturetest;

namespace {

// Writes a small bitmap, JPEG image and icon into Dir under the given base names.
void WriteSamples(const TScratchDir& dir, const std::vector<std::string>& bmpNames,
                  const std::vector<std::string>& jpegNames, const std::vector<std::string>& iconNames) {
  TBitmap bitmap(5, 4);
  bitmap.SetPixel(1, 1, clRed);
  for (const auto& name : bmpNames) bitmap.SaveToFile(dir.File(name));
  TJPEGImage jpeg;
  jpeg.Assign(&bitmap);
  for (const auto& name : jpegNames) jpeg.SaveToFile(dir.File(name));
  // A 2 x 2 one-bit icon.
  TBytes ico;
  ico.U16(0).U16(1).U16(1).U8(2).U8(2).U8(0).U8(0).U16(1).U16(1).U32(40 + 8 + 8 + 8).U32(22);
  ico.U32(40).I32(2).I32(4).U16(1).U16(1).U32(0).U32(0).I32(0).I32(0).U32(0).U32(0);
  ico.U32(0).U32(0x00FFFFFF).Raw({0x40, 0, 0, 0, 0x80, 0, 0, 0}).Raw({0, 0, 0, 0, 0, 0, 0, 0});
  for (const auto& name : iconNames) WriteFileBytes(dir.File(name), ico.Data());
}

// A picture class of the test's own, registered for ".tst": its file holds its size.
class TTestGraphic : public TGraphic {
public:
  std::string ClassName() const override { return "TTestGraphic"; }
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  void SetWidth(int v) override { FWidth = v; }
  void SetHeight(int v) override { FHeight = v; }
  bool Empty() const override { return FWidth == 0; }
  void LoadFromStream(TStream* stream) override {
    uint8_t size[2] = {0, 0};
    stream->ReadBuffer(size, 2);
    FWidth = size[0];
    FHeight = size[1];
  }
  void SaveToStream(TStream* stream) override {
    uint8_t size[2] = {static_cast<uint8_t>(FWidth), static_cast<uint8_t>(FHeight)};
    stream->WriteBuffer(size, 2);
  }
  void Draw(TCanvas*, const TRect&) override {}
  std::unique_ptr<TGraphic> Clone() const override {
    auto copy = std::make_unique<TTestGraphic>();
    copy->FWidth = FWidth;
    copy->FHeight = FHeight;
    return copy;
  }

private:
  int FWidth = 0, FHeight = 0;
};

std::string ExceptionMessage(const std::function<void()>& action) {
  try {
    action();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "";
}

}  // namespace

TEST(Picture, LoadFromFileChoosesTheClassByExtension) {
  TScratchDir dir;
  WriteSamples(dir, {"a.bmp", "b.dib", "C.BMP"}, {"d.jpg", "e.jpeg", "f.jpe", "G.JPG"}, {"h.ico", "I.Ico"});
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"a.bmp", "TBitmap"},    {"b.dib", "TBitmap"},     {"C.BMP", "TBitmap"},
      {"d.jpg", "TJPEGImage"}, {"e.jpeg", "TJPEGImage"}, {"f.jpe", "TJPEGImage"},
      {"G.JPG", "TJPEGImage"}, {"h.ico", "TIcon"},       {"I.Ico", "TIcon"},
  };
  for (const auto& [name, className] : cases) {
    TPicture picture;
    picture.LoadFromFile(dir.File(name));
    ASSERT_NE(nullptr, picture.Graphic()) << name;
    EXPECT_EQ(className, picture.Graphic()->ClassName()) << name;
    const int expectedWidth = className == "TIcon" ? 2 : 5;
    EXPECT_EQ(expectedWidth, picture.Width()) << name;
  }
}

TEST(Picture, UnknownExtensionsAreRefused) {
  TScratchDir dir;
  std::filesystem::create_directory(dir.File("dir.d"));
  WriteSamples(dir, {"x.xyz", "m.emf", "w.wmf", "noextension", "dir.d/noext"}, {}, {});
  TPicture picture;
  EXPECT_EQ("Unknown picture file extension (.xyz)",
            ExceptionMessage([&] { picture.LoadFromFile(dir.File("x.xyz")); }));
  EXPECT_EQ("Unknown picture file extension (.emf)",
            ExceptionMessage([&] { picture.LoadFromFile(dir.File("m.emf")); }));
  EXPECT_EQ("Unknown picture file extension (.wmf)",
            ExceptionMessage([&] { picture.LoadFromFile(dir.File("w.wmf")); }));
  EXPECT_EQ("Unknown picture file extension (.)",
            ExceptionMessage([&] { picture.LoadFromFile(dir.File("noextension")); }));
  EXPECT_EQ("Unknown picture file extension (.)",
            ExceptionMessage([&] { picture.LoadFromFile(dir.File("dir.d/noext")); }));
  EXPECT_THROW(picture.LoadFromFile(dir.File("x.xyz")), EInvalidGraphic);
  EXPECT_EQ(nullptr, picture.Graphic());
}

TEST(Picture, RegisteredFormatsPlugIn) {
  TScratchDir dir;
  WriteFileBytes(dir.File("s.tst"), {7, 3});
  TPicture picture;
  EXPECT_THROW(picture.LoadFromFile(dir.File("s.tst")), EInvalidGraphic);
  TPicture::RegisterFileFormat(".TST", "Test pictures", [] { return std::make_unique<TTestGraphic>(); });
  picture.LoadFromFile(dir.File("s.tst"));
  EXPECT_EQ("TTestGraphic", picture.Graphic()->ClassName());
  EXPECT_EQ(7, picture.Width());
  EXPECT_EQ(3, picture.Height());
  bool listed = false;
  for (const TPictureFileFormat& format : TPicture::FileFormats())
    listed = listed || (format.Extension == "tst" && format.Description == "Test pictures");
  EXPECT_TRUE(listed);
  // A later registration of an extension replaces the earlier one (here: bmp files as test
  // pictures), and unregistering removes it.
  WriteFileBytes(dir.File("fake.bmp"), {9, 9});
  TPicture::RegisterFileFormat("bmp", "Bitmaps", [] { return std::make_unique<TTestGraphic>(); });
  picture.LoadFromFile(dir.File("fake.bmp"));
  EXPECT_EQ("TTestGraphic", picture.Graphic()->ClassName());
  TPicture::RegisterFileFormat("bmp", "Bitmaps", [] { return std::make_unique<TBitmap>(); });
  TPicture::UnregisterFileFormat("tst");
  EXPECT_THROW(picture.LoadFromFile(dir.File("s.tst")), EInvalidGraphic);
}

TEST(Picture, FailedLoadKeepsThePicture) {
  TScratchDir dir;
  WriteSamples(dir, {"good.bmp"}, {}, {});
  WriteFileBytes(dir.File("bad.bmp"), {'B', 'M', 1, 2, 3});
  TPicture picture;
  picture.LoadFromFile(dir.File("good.bmp"));
  TGraphic* before = picture.Graphic();
  EXPECT_THROW(picture.LoadFromFile(dir.File("bad.bmp")), EInvalidGraphic);
  EXPECT_THROW(picture.LoadFromFile(dir.File("missing.bmp")), EFOpenError);
  EXPECT_EQ(before, picture.Graphic());
  EXPECT_EQ(5, picture.Width());
}

TEST(Picture, SaveToFileWritesTheGraphicsOwnFormat) {
  TScratchDir dir;
  WriteSamples(dir, {}, {"in.jpg"}, {"in.ico"});
  for (const std::string name : {"in.jpg", "in.ico"}) {
    TPicture picture;
    picture.LoadFromFile(dir.File(name));
    picture.SaveToFile(dir.File("out-" + name));
    EXPECT_EQ(ReadFileBytes(dir.File(name)), ReadFileBytes(dir.File("out-" + name))) << name;
  }
  TPicture empty;
  empty.SaveToFile(dir.File("nothing.bmp"));
  EXPECT_FALSE(std::filesystem::exists(dir.File("nothing.bmp")));
}

TEST(Picture, BitmapAndIconReplaceOtherKinds) {
  TScratchDir dir;
  WriteSamples(dir, {}, {}, {"i.ico"});
  TPicture picture;
  EXPECT_EQ(0, picture.Width());
  TBitmap* bitmap = picture.Bitmap();
  ASSERT_NE(nullptr, bitmap);
  EXPECT_TRUE(bitmap->Empty());
  EXPECT_EQ(bitmap, picture.Bitmap());  // already a bitmap: kept
  bitmap->SetSize(3, 2);
  EXPECT_EQ(3, picture.Width());
  EXPECT_EQ(2, picture.Height());
  picture.LoadFromFile(dir.File("i.ico"));
  EXPECT_NE(nullptr, dynamic_cast<TIcon*>(picture.Graphic()));
  EXPECT_TRUE(picture.Bitmap()->Empty());  // the icon gave way to an empty bitmap
  EXPECT_TRUE(picture.Icon()->Empty());
}

TEST(Picture, AssignAndSetGraphicKeepCopies) {
  TBitmap bitmap(4, 4);
  bitmap.SetPixel(0, 0, clRed);
  TPicture picture;
  picture.SetGraphic(&bitmap);
  ASSERT_NE(nullptr, picture.Graphic());
  EXPECT_NE(&bitmap, picture.Graphic());
  bitmap.SetPixel(0, 0, clBlue);
  EXPECT_EQ(clRed, picture.Bitmap()->Pixel(0, 0));

  TPicture other;
  other.Assign(&picture);
  picture.Bitmap()->SetPixel(0, 0, clLime);
  EXPECT_EQ(clRed, other.Bitmap()->Pixel(0, 0));

  other.Assign(&bitmap);
  EXPECT_EQ(clBlue, other.Bitmap()->Pixel(0, 0));

  // A bitmap takes the picture's graphic.
  TBitmap target;
  target.Assign(&picture);
  EXPECT_EQ(clLime, target.Pixel(0, 0));

  other.Assign(nullptr);
  EXPECT_EQ(nullptr, other.Graphic());
  TPersistent unrelated;
  EXPECT_THROW(other.Assign(&unrelated), EConvertError);
}

TEST(Picture, OnChangeFollowsThePictureAndItsGraphic) {
  TScratchDir dir;
  WriteSamples(dir, {"a.bmp"}, {}, {});
  TPicture picture;
  int changes = 0;
  picture.OnChange = [&](TObject* sender) {
    EXPECT_EQ(&picture, sender);
    ++changes;
  };
  picture.LoadFromFile(dir.File("a.bmp"));
  EXPECT_EQ(1, changes);
  picture.Bitmap()->SetPixel(0, 0, clRed);  // a change inside the graphic
  EXPECT_EQ(2, changes);
  TBitmap replacement(2, 2);
  picture.SetGraphic(&replacement);
  EXPECT_EQ(3, changes);
  replacement.SetPixel(0, 0, clRed);  // the original is not the picture's
  EXPECT_EQ(3, changes);
  picture.Icon();
  EXPECT_EQ(4, changes);
}
