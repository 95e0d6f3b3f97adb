#include <gtest/gtest.h>

#include <functional>

#include "platform/Exceptions.h"
#include "platform/Font.h"
#include "platform/FontMetrics.h"
#include "platform/Pen.h"

namespace {

int ChangesDuring(TFont& Font, const std::function<void()>& Action) {
  int changes = 0;
  Font.OnChange = [&changes](TObject*) { ++changes; };
  Action();
  Font.OnChange = nullptr;
  return changes;
}

TEST(Font, DelphiDefaults) {
  TFont font;
  EXPECT_EQ(font.Name(), "MS Sans Serif");
  EXPECT_EQ(font.Height(), -11);
  EXPECT_EQ(font.Size(), 8);
  EXPECT_EQ(font.PixelsPerInch(), 96);
  EXPECT_EQ(font.Color(), clWindowText);
  EXPECT_TRUE(font.Style().Empty());
  EXPECT_EQ(font.Pitch(), fpDefault);
  EXPECT_EQ(font.Charset(), DEFAULT_CHARSET);
}

struct TSizeCase {
  int PixelsPerInch;
  int Size;
  int Height;  // -MulDiv(Size, PixelsPerInch, 72), rounded half away from zero
};

class FontSizeHeight : public testing::TestWithParam<TSizeCase> {};

TEST_P(FontSizeHeight, SizeSetsHeightAndReadsBack) {
  TFont font;
  font.SetPixelsPerInch(GetParam().PixelsPerInch);
  font.SetSize(GetParam().Size);
  EXPECT_EQ(font.Height(), GetParam().Height);
  EXPECT_EQ(font.Size(), GetParam().Size);
}

TEST_P(FontSizeHeight, HeightReadsAsSize) {
  TFont font;
  font.SetPixelsPerInch(GetParam().PixelsPerInch);
  font.SetHeight(GetParam().Height);
  EXPECT_EQ(font.Size(), GetParam().Size);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, FontSizeHeight,
                         testing::Values(TSizeCase{96, 7, -9}, TSizeCase{96, 8, -11}, TSizeCase{96, 10, -13},
                                         TSizeCase{96, 11, -15}, TSizeCase{96, 12, -16},
                                         TSizeCase{96, 72, -96}, TSizeCase{600, 7, -58},
                                         TSizeCase{600, 8, -67}, TSizeCase{600, 10, -83},
                                         TSizeCase{600, 12, -100}, TSizeCase{300, 3, -13}));

TEST(Font, CellHeightReadsAsNegativeSizeAndBack) {
  TFont font;
  font.SetHeight(16);
  EXPECT_EQ(font.Size(), -12);
  font.SetSize(-12);
  EXPECT_EQ(font.Height(), 16);
}

TEST(Font, PixelsPerInchKeepsHeightAndSizeFollows) {
  TFont font;
  font.SetSize(10);  // -13 at 96
  EXPECT_EQ(ChangesDuring(font, [&] { font.SetPixelsPerInch(600); }), 0);
  EXPECT_EQ(font.Height(), -13);
  EXPECT_EQ(font.Size(), 2);  // 13 pixels at 600 per inch: 1.56 points
}

TEST(Font, OnChangeFiresOncePerRealChange) {
  TFont font;
  const std::vector<std::pair<const char*, std::function<void()>>> setters = {
      {"Name", [&] { font.SetName("Arial"); }},
      {"Size", [&] { font.SetSize(14); }},
      {"Height", [&] { font.SetHeight(-30); }},
      {"Color", [&] { font.SetColor(clRed); }},
      {"Style",
       [&] {
         font.SetStyle(TFontStyles{fsBold, fsUnderline});
       }},
      {"Pitch", [&] { font.SetPitch(fpFixed); }},
      {"Charset", [&] { font.SetCharset(238); }},
  };
  for (const auto& [name, set] : setters) {
    EXPECT_EQ(ChangesDuring(font, set), 1) << name;
    EXPECT_EQ(ChangesDuring(font, set), 0) << name << " again";
  }
  font.SetHeight(-11);
  EXPECT_EQ(ChangesDuring(font, [&] { font.SetSize(8); }), 0);  // the same height
}

TEST(Font, AssignCopiesDescriptionWithOneChange) {
  TFont source;
  source.SetName("Times New Roman");
  source.SetHeight(-20);
  source.SetColor(clMaroon);
  source.SetStyle(TFontStyles{fsItalic, fsStrikeOut});
  source.SetPitch(fpVariable);
  source.SetCharset(ANSI_CHARSET);
  TFont dest;
  EXPECT_EQ(ChangesDuring(dest, [&] { dest.Assign(&source); }), 1);
  EXPECT_EQ(dest.Name(), "Times New Roman");
  EXPECT_EQ(dest.Height(), -20);
  EXPECT_EQ(dest.Color(), clMaroon);
  EXPECT_EQ(dest.Style(), (TFontStyles{fsItalic, fsStrikeOut}));
  EXPECT_EQ(dest.Pitch(), fpVariable);
  EXPECT_EQ(dest.Charset(), ANSI_CHARSET);
  EXPECT_EQ(ChangesDuring(dest, [&] { dest.Assign(&source); }), 0);
}

TEST(Font, AssignBetweenResolutionsKeepsThePointSize) {
  TFont screen;
  screen.SetSize(10);  // -13 at 96
  TFont printer;
  printer.SetPixelsPerInch(600);
  printer.Assign(&screen);
  EXPECT_EQ(printer.PixelsPerInch(), 600);
  EXPECT_EQ(printer.Size(), 10);
  EXPECT_EQ(printer.Height(), -83);
}

TEST(Font, AssignFromAnUnrelatedClassRaises) {
  TFont font;
  TPen pen;
  EXPECT_THROW(font.Assign(&pen), EConvertError);
}

TEST(Font, LogFontDescribesTheFont) {
  TFont font;
  font.SetName("Courier New");
  font.SetHeight(-25);
  font.SetStyle(TFontStyles{fsBold, fsItalic, fsUnderline, fsStrikeOut});
  font.SetPitch(fpFixed);
  font.SetCharset(204);
  const TLogFont lf = font.LogFont();
  EXPECT_EQ(lf.lfFaceName, "Courier New");
  EXPECT_EQ(lf.lfHeight, -25);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_TRUE(lf.lfStrikeOut);
  EXPECT_EQ(lf.lfPitchAndFamily, FIXED_PITCH);
  EXPECT_EQ(lf.lfCharSet, 204);
  font.SetStyle(TFontStyles{});
  font.SetPitch(fpVariable);
  EXPECT_EQ(font.LogFont().lfWeight, FW_NORMAL);
  EXPECT_FALSE(font.LogFont().lfItalic);
  EXPECT_EQ(font.LogFont().lfPitchAndFamily, VARIABLE_PITCH);
}

TEST(Font, HandleIsCachedUntilTheNextChange) {
  TFont font;
  font.SetName("Arial");
  font.SetHeight(-40);
  std::shared_ptr<TLogicalFont> regular = font.Handle();
  ASSERT_TRUE(regular);
  EXPECT_EQ(font.Handle(), regular);
  EXPECT_EQ(regular->LogFont().lfHeight, -40);
  EXPECT_EQ(regular->LogFont().lfFaceName, "Arial");
  font.SetStyle(TFontStyles{fsBold});
  std::shared_ptr<TLogicalFont> bold = font.Handle();
  EXPECT_NE(bold, regular);
  EXPECT_EQ(bold->TextMetrics().tmWeight, FW_BOLD);
  EXPECT_GT(bold->TextExtent("Hello").cx, regular->TextExtent("Hello").cx);
}

}  // namespace
