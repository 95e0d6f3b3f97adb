// The render utilities: file names of multi-file output, colour text, fitting and justifying
// text, case-blind replacing, folders, quiet deletion, rotated text geometry and pictures.
#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "platform/Bitmap.h"
#include "platform/Color.h"
#include "platform/Font.h"
#include "platform/RasterCanvas.h"
#include "render/LxRender_Utils.h"

namespace {

TEST(RenderUtilsTest, PageAndImageFileNames) {
  const struct {
    std::string FileName, Extension;
    int Number;
    std::string Expected;
  } pages[] = {
      {"/out/report.txt", "txt", 2, "report0002.txt"},      {"/out/report.txt", ".txt", -1, "report.txt"},
      {"/out/report.txt", "txt", 12345, "report12345.txt"}, {"report", ".html", 7, "report0007.html"},
      {"/out.d/report", "txt", 0, "report0000.txt"},
  };
  for (const auto& c : pages)
    EXPECT_EQ(MakePageFileName(c.FileName, c.Extension, c.Number), c.Expected)
        << c.FileName << " " << c.Number;
  EXPECT_EQ(MakeImageFileName("report.html", "bmp", 1), "report_I0001.bmp");
  EXPECT_EQ(MakeImageFileName("/web/site/index.htm", "jpg", 23), "index_I0023.jpg");
}

TEST(RenderUtilsTest, ColoursAreRedGreenBlueInUpperCaseHex) {
  EXPECT_EQ(ColorToHex(clRed), "FF0000");
  EXPECT_EQ(ColorToHex(RGB(0x12, 0xAB, 0x0C)), "12AB0C");
  EXPECT_EQ(ColorToHex(clBlack), "000000");
  // A system colour is resolved first.
  EXPECT_EQ(ColorToHex(clWindowText), ColorToHex(ColorToRGB(clWindowText)));
  EXPECT_EQ(ColorToHex(clWindowText).size(), 6u);
}

TEST(RenderUtilsTest, ClipTextKeepsTheShareOfCharactersThatFits) {
  EXPECT_EQ(ClipText("abcdefghij", 50, 200), "abc");  // ceil(2.5)
  EXPECT_EQ(ClipText("abcdefghij", 40, 200), "ab");
  EXPECT_EQ(ClipText("abcdefghij", 200, 200), "abcdefghij");
  EXPECT_EQ(ClipText("abcdefghij", 0, 200), "");
}

TEST(RenderUtilsTest, JustifyTextWidensTheGapsUntilTheTextFills) {
  TFont font;
  font.SetName("Courier New");  // every character as wide as the space
  font.SetSize(10);
  const int space = TextExtent(&font, " ").cx;
  ASSERT_GT(space, 0);
  // "a b c" is 5 characters; 9 characters' width needs four more spaces: two per gap.
  EXPECT_EQ(JustifyText("  a b c ", 9 * space, &font), "a   b   c");
  // Seven more: the gaps grow to five spaces each, then the leftmost gives one back.
  EXPECT_EQ(JustifyText("a b c", 12 * space, &font), "a    b     c");
  EXPECT_EQ(JustifyText(" abc ", 20 * space, &font), "abc");
  EXPECT_EQ(JustifyText("a b", 2 * space, &font), "a b");
  EXPECT_EQ(TextExtent(&font, "").cx, 0);
}

TEST(RenderUtilsTest, ReplaceAllIgnoreCaseReplacesEveryCaseOnceFromTheLeft) {
  EXPECT_EQ(ReplaceAllIgnoreCase("a B b", "b", "xyz"), "a xyz xyz");
  EXPECT_EQ(ReplaceAllIgnoreCase("bbb", "b", "bb"), "bbbbbb");
  EXPECT_EQ(ReplaceAllIgnoreCase("Caf\xC9 caf\xE9", "CAF\xE9", "tea"), "tea tea");
  EXPECT_EQ(ReplaceAllIgnoreCase("abc", "", "x"), "abc");
}

TEST(RenderUtilsTest, FoldersResolveAgainstTheBaseAndAreCreated) {
  TTempFolder folder;
  EXPECT_EQ(IncludeTrailingSeparator("/a/b"), "/a/b/");
  EXPECT_EQ(IncludeTrailingSeparator("/a/b/"), "/a/b/");
  EXPECT_EQ(ResolveFolder("", folder.Path()), folder.Path());
  EXPECT_EQ(ResolveFolder("images/small/", folder.Path()), folder.File("images/small/"));
  EXPECT_TRUE(DirectoryExists(folder.File("images/small")));
  EXPECT_EQ(ResolveFolder(folder.File("abs/x.png"), "/elsewhere"), folder.File("abs/"));
  EXPECT_TRUE(DirectoryExists(folder.File("abs")));
}

TEST(RenderUtilsTest, DeleteFileQuietlyNeverFails) {
  TTempFolder folder;
  WriteFileBytes(folder.File("a"), "x");
  DeleteFileQuietly(folder.File("a"));
  EXPECT_FALSE(FileExists(folder.File("a")));
  DeleteFileQuietly(folder.File("a"));
  DeleteFileQuietly(folder.File("no/such/file"));
  DeleteFileQuietly(folder.Path());  // a folder is not a file
  EXPECT_TRUE(DirectoryExists(folder.Path()));
}

TEST(RenderUtilsTest, RotatedTextGeometryTurnsTheBox) {
  TBitmap bitmap(10, 10);
  TCanvas* canvas = bitmap.Canvas();
  canvas->Font()->SetName("Arial");
  canvas->Font()->SetSize(20);
  const TSize extent = canvas->TextExtent("Turn");
  const TLxRotatedGeometry zero = RotatedTextGeometry(canvas, 0, "Turn");
  EXPECT_EQ(zero.Width, extent.cx);
  EXPECT_EQ(zero.Height, extent.cy);
  EXPECT_EQ(zero.Origin, (TPoint{0, 0}));
  const TLxRotatedGeometry quarter = RotatedTextGeometry(canvas, 90, "Turn");
  EXPECT_EQ(quarter.Width, extent.cy);
  EXPECT_EQ(quarter.Height, extent.cx);
  EXPECT_EQ(quarter.Origin, (TPoint{0, extent.cx}));
  const TLxRotatedGeometry half = RotatedTextGeometry(canvas, 180, "Turn");
  EXPECT_EQ(half.Width, extent.cx);
  EXPECT_EQ(half.Origin, (TPoint{extent.cx, extent.cy}));
}

TEST(RenderUtilsTest, DrawRotatedTextSizesTheBitmapAndDrawsInsideIt) {
  TBitmap bitmap;
  bitmap.Canvas()->Font()->SetName("Arial");
  bitmap.Canvas()->Font()->SetSize(20);
  bitmap.Canvas()->Font()->SetColor(clBlack);
  int x = 100;
  int y = 200;
  DrawRotatedText("HHHH", 90, &bitmap, x, y);
  // Turned a quarter: taller than wide, and the origin moved to the bottom-left corner.
  EXPECT_GT(bitmap.Height(), bitmap.Width());
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 200 - bitmap.Height());
  int dark = 0;  // pixels the text covered
  for (int py = 0; py < bitmap.Height(); ++py) {
    for (int px = 0; px < bitmap.Width(); ++px) dark += bitmap.Canvas()->Pixels(px, py) != clWhite;
  }
  EXPECT_GT(dark, 20);
}

TEST(RenderUtilsTest, StretchGraphicCoversTheWholeTarget) {
  TBitmap source(2, 2);
  source.Canvas()->SetPixel(0, 0, clRed);
  source.Canvas()->SetPixel(1, 1, clBlue);
  TBitmap target(10, 10);
  StretchGraphic(&source, &target);
  EXPECT_EQ(target.Canvas()->Pixels(2, 2), clRed);
  EXPECT_EQ(target.Canvas()->Pixels(7, 8), clBlue);
  EXPECT_EQ(target.Canvas()->Pixels(8, 1), clWhite);
}

}  // namespace
