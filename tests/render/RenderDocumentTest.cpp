// The document model: text runs from the four text operations, the block rule, sorting,
// number formatting, shapes drawn into bitmaps and image files (checked with ImageMagick's
// identify and libjpeg's djpeg).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "RenderTestSupport.h"
#include "platform/Bitmap.h"
#include "platform/FontMetrics.h"
#include "platform/RasterCanvas.h"
#include "render/LxRender_Document.h"
#include "stream/RenderLog.h"

namespace {

// Keeps each block it is asked to flush.
class TBlockRender : public TLxRenderDocument {
public:
  std::vector<std::vector<TLxTextDetails>> Blocks;

  TBlockRender() { SetShowSetupDialog(false); }
  void FlushText() override {
    std::vector<TLxTextDetails> block;
    for (const auto& run : TextRuns()) block.push_back(*run);
    Blocks.push_back(block);
    ClearTextRuns();
    SetTextPending(false);
  }
  void PageEnd() override {
    if (CurrentPageInRange() && TextPending()) FlushText();
    TLxRenderDocument::PageEnd();
  }
  void PrintRender(TStream* Stream, const std::string& OutputFileName) override {
    TLxRenderDocument::PrintRender(Stream, OutputFileName);
    if (!Cancelled()) RunConverter(Stream);
  }
  std::vector<size_t> Sizes() const {
    std::vector<size_t> sizes;
    for (const auto& block : Blocks) sizes.push_back(block.size());
    return sizes;
  }
};

// A page in a 0.167-inch Arial font (12 points) with the given records after it.
std::vector<std::vector<TLxTextDetails>> BlocksOf(const std::function<void(TStreamBytes&)>& Records,
                                                  TBlockRender* Render = nullptr) {
  TPagedStream paged;
  TStreamBytes& page = paged.AddPage();
  page.Byte(51).ShortString("Arial").Byte(54).Single(0.167f).Single(0);
  Records(page);
  TMemoryStream stream;
  paged.SaveTo(stream);
  TBlockRender own;
  TBlockRender& render = Render ? *Render : own;
  render.PrintRender(&stream, "unused.doc");
  return render.Blocks;
}

TStreamBytes& Text(TStreamBytes& Page, uint8_t Code, const std::string& Text, float X, float Y) {
  return Page.Byte(Code).Single(Y).ShortString(Text).Single(X);
}

TEST(RenderDocumentTest, ABlockEndsAtAnotherAnchorAnotherAlignmentAGapOrAFontChange) {
  const struct {
    const char* Case;
    std::function<void(TStreamBytes&)> Records;
    std::vector<size_t> Sizes;
  } cases[] = {
      {"lines 0.2 in apart",
       [](TStreamBytes& P) { Text(Text(Text(P, 24, "a", 1, 1.0f), 24, "b", 1, 1.2f), 24, "c", 1, 1.4f); },
       {3}},
      {"a gap of 0.3 in",
       [](TStreamBytes& P) { Text(Text(Text(P, 24, "a", 1, 1.0f), 24, "b", 1, 1.2f), 24, "c", 1, 1.5f); },
       {2, 1}},
      {"another X on the line", [](TStreamBytes& P) { Text(Text(P, 24, "a", 1, 1), 24, "b", 3, 1); }, {1, 1}},
      {"another alignment", [](TStreamBytes& P) { Text(Text(P, 24, "a", 1, 1), 23, "b", 1, 1.2f); }, {1, 1}},
      {"a line above", [](TStreamBytes& P) { Text(Text(P, 24, "a", 1, 2), 24, "b", 1, 1.5f); }, {2}},
      {"a font change",
       [](TStreamBytes& P) { Text(Text(P, 24, "a", 1, 1).Byte(55).Byte(1), 24, "b", 1, 1.2f); },
       {1, 1}},
      {"a line drawn between",
       [](TStreamBytes& P) {
         Text(Text(P, 24, "a", 1, 1).Byte(11).Single(0.5f).Single(1.1f), 24, "b", 1, 1.2f);
       },
       {1, 1}},
  };
  for (const auto& c : cases) {
    TBlockRender render;
    BlocksOf(c.Records, &render);
    EXPECT_EQ(render.Sizes(), c.Sizes) << c.Case;
  }
}

TEST(RenderDocumentTest, RunsCarryWidthPositionFontAndAlignmentInScreenPixels) {
  const auto blocks = BlocksOf([](TStreamBytes& P) {
    P.Byte(52).Int32(clNavy).Byte(57).Byte(1);
    Text(P, 23, "Centre me", 2, 3);
    Text(P, 25, "Right", 2, 4);
    P.Byte(33).Single(5).ShortString("block text").Single(1).Single(2.5f);
  });
  ASSERT_EQ(blocks.size(), 3u);
  TLogFont logFont;
  logFont.lfFaceName = "Arial";
  logFont.lfHeight = -16;  // 12 points at 96 pixels per inch
  logFont.lfItalic = true;
  const double centreWidth = CreateFontIndirect(logFont)->TextExtent("Centre me").cx;
  const TLxTextDetails& centre = blocks[0][0];
  EXPECT_EQ(centre.Alignment, 2);
  EXPECT_DOUBLE_EQ(centre.Width, centreWidth);
  EXPECT_DOUBLE_EQ(centre.X, 192 - centreWidth / 2);
  EXPECT_NEAR(centre.Y, 288, 1e-4);
  EXPECT_NEAR(centre.Height, 0.167 * 96, 1e-4);
  EXPECT_EQ(centre.Font.Name, "Arial");
  EXPECT_EQ(centre.Font.Size, 12);
  EXPECT_EQ(centre.Font.Color, clNavy);
  EXPECT_EQ(centre.Font.Style, TFontStyles{fsItalic});
  const TLxTextDetails& right = blocks[1][0];
  EXPECT_EQ(right.Alignment, 1);
  EXPECT_DOUBLE_EQ(right.X + right.Width, 192);
  const TLxTextDetails& block = blocks[2][0];
  EXPECT_EQ(block.Alignment, 3);
  EXPECT_DOUBLE_EQ(block.X, 96);
  EXPECT_DOUBLE_EQ(block.Width, 240);
}

TEST(RenderDocumentTest, AnglesAreBroughtIntoZeroTo359) {
  const struct {
    int Rotation;
    int Angle;
  } cases[] = {{-90, 270}, {450, 90}, {0, 0}, {359, 359}, {-360, 0}};
  for (const auto& c : cases) {
    const auto blocks = BlocksOf([&](TStreamBytes& P) { Text(P.Byte(61).Int16(c.Rotation), 24, "t", 1, 1); });
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0][0].Angle, c.Angle) << c.Rotation;
  }
}

TEST(RenderDocumentTest, InsertSortedOrdersByYThenXAndKeepsEqualRunsInArrivalOrder) {
  TLxTextRuns list;
  const struct {
    double Y, X;
    const char* Text;
  } runs[] = {{10, 50, "a"}, {5, 70, "b"}, {10, 20, "c"}, {10, 20, "d"}};
  for (const auto& r : runs) {
    TLxTextDetails run;
    run.Y = r.Y;
    run.X = r.X;
    run.Text = r.Text;
    TLxRenderDocument::InsertSorted(run, list);
  }
  std::string order;
  for (const auto& run : list) order += run->Text;
  EXPECT_EQ(order, "bcda");
}

TEST(RenderDocumentTest, FormatNumberRoundsUp) {
  TLxRenderDocument render;
  const struct {
    double Value;
    const char* Text;
  } cases[] = {{3.0, "3"}, {3.0001, "4"}, {12.1, "13"}, {-0.5, "0"}, {-2.5, "-2"}};
  for (const auto& c : cases) EXPECT_EQ(render.FormatNumber(c.Value), c.Text) << c.Value;
  EXPECT_EQ(render.EncodeText("a<b"), "a<b");
}

TEST(RenderDocumentTest, ShapeBitmapsHaveTheBoxSizeAndLinesRunFromTheFirstPoint) {
  TMemoryStream none;
  TLxRenderDocument render;
  TVXConverter converter(&none, &render);
  render.SetConverter(&converter);
  auto ellipse = render.EllipseBitmap(1, 1, 2, 1.5);
  EXPECT_EQ(ellipse->Width(), 96);
  EXPECT_EQ(ellipse->Height(), 48);
  EXPECT_TRUE(ellipse->Transparent());
  EXPECT_EQ(ellipse->Canvas()->Pixels(48, 0), clBlack);  // the outline's top
  const struct {
    double X0, Y0, X, Y;
    TPoint Dark, Light;
  } lines[] = {
      {1, 1, 2, 2, {10, 10}, {10, 85}},  // down to the right
      {2, 2, 1, 1, {10, 10}, {10, 85}},  // the same line the other way
      {1, 2, 2, 1, {10, 86}, {10, 10}},  // up to the right
  };
  for (const auto& l : lines) {
    auto line = render.LineBitmap(l.X0, l.Y0, l.X, l.Y);
    EXPECT_EQ(line->Width(), 96);
    EXPECT_EQ(line->Canvas()->Pixels(l.Dark.X, l.Dark.Y), clBlack) << l.X0 << "," << l.Y0;
    EXPECT_EQ(line->Canvas()->Pixels(l.Light.X, l.Light.Y), clWhite) << l.X0 << "," << l.Y0;
  }
}

std::string RunCommand(const std::string& Command) {
  std::string output;
  FILE* pipe = popen((Command + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[4096];
  size_t count = 0;
  while ((count = fread(buffer, 1, sizeof(buffer), pipe)) > 0) output.append(buffer, count);
  pclose(pipe);
  return output;
}

TEST(RenderDocumentTest, ImageFilesAreJPEGOrBitmapFilesAsAnIndependentReaderSeesThem) {
  if (std::system("command -v identify >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "ImageMagick identify is missing";
  TTempFolder folder;
  TBitmap bitmap(30, 20);
  bitmap.Canvas()->Brush()->SetColor(clRed);
  bitmap.Canvas()->FillRect(TRect{0, 0, 30, 20});
  const struct {
    TLxImageFormat Format;
    const char* Name;
    const char* Identified;
  } cases[] = {
      {ifGIF, "g.jpg", "JPEG 30x20"}, {ifJPG, "j.jpg", "JPEG 30x20"}, {ifBMP, "b.bmp", "BMP3 30x20"}};
  for (const auto& c : cases) {
    const std::string base = folder.File(std::string(c.Name).substr(0, 1));
    EXPECT_EQ(TLxRenderDocument::SaveImageFile(&bitmap, c.Format, base, 50), folder.File(c.Name));
    const std::string identified = RunCommand("identify -format '%m %wx%h' " + folder.File(c.Name));
    EXPECT_EQ(identified.substr(0, std::string(c.Identified).size()), c.Identified) << identified;
  }
  auto jpeg = TLxRenderDocument::EncodeJPEGStream(&bitmap, 80);
  jpeg->SaveToFile(folder.File("stream.jpg"));
  if (std::system("command -v djpeg >/dev/null 2>&1") == 0) {
    // djpeg writes a PPM: "P6", the size, and red pixels.
    const std::string ppm = RunCommand("djpeg -pnm " + folder.File("stream.jpg"));
    ASSERT_GT(ppm.size(), 20u);
    EXPECT_EQ(ppm.substr(0, 2), "P6");
    EXPECT_NE(ppm.find("30 20"), std::string::npos);
    const auto red = static_cast<unsigned char>(ppm[ppm.size() - 3]);
    EXPECT_GT(red, 200);
  }
}

}  // namespace
