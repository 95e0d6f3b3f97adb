#include <gtest/gtest.h>

#include "platform/Color.h"

namespace {

struct TSystemColorCase {
  TColor System;
  TColor Expected;
};

class ColorToRGBSystem : public testing::TestWithParam<TSystemColorCase> {};

TEST_P(ColorToRGBSystem, ResolvesThroughTheClassicTable) {
  EXPECT_EQ(ColorToRGB(GetParam().System), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(ClassicScheme, ColorToRGBSystem,
                         testing::Values(TSystemColorCase{clBtnFace, RGB(212, 208, 200)},
                                         TSystemColorCase{clWindow, RGB(255, 255, 255)},
                                         TSystemColorCase{clWindowText, RGB(0, 0, 0)},
                                         TSystemColorCase{clHighlight, RGB(10, 36, 106)},
                                         TSystemColorCase{clHighlightText, RGB(255, 255, 255)},
                                         TSystemColorCase{clBtnShadow, RGB(128, 128, 128)},
                                         TSystemColorCase{cl3DDkShadow, RGB(64, 64, 64)},
                                         TSystemColorCase{clInfoBk, RGB(255, 255, 225)},
                                         TSystemColorCase{clActiveCaption, RGB(10, 36, 106)},
                                         TSystemColorCase{clBackground, RGB(58, 110, 165)}));

TEST(ColorToRGB, PlainColoursPassUnchanged) {
  for (TColor c : {clBlack, clRed, clLime, clBlue, clWhite, RGB(1, 2, 3), RGB(250, 128, 7)})
    EXPECT_EQ(ColorToRGB(c), c);
}

TEST(ColorToRGB, ClearsTheTopByteOfPlainValues) {
  EXPECT_EQ(ColorToRGB(0x02123456), 0x00123456);
  EXPECT_EQ(ColorToRGB(clNone), 0x00FFFFFF);
}

TEST(ColorToRGB, SystemIndexPastTheTableIsBlack) {
  EXPECT_EQ(ColorToRGB(clSystemColor | 200), clBlack);
}

TEST(ColorToRGB, OnlyTheLowByteSelectsTheSystemColour) {
  EXPECT_EQ(ColorToRGB(static_cast<TColor>(0x8000FF0F)), ColorToRGB(clBtnFace));
}

TEST(Color, ComponentsRoundTrip) {
  const TColor c = RGB(12, 200, 99);
  EXPECT_EQ(c, 0x63C80C);
  EXPECT_EQ(GetRValue(c), 12);
  EXPECT_EQ(GetGValue(c), 200);
  EXPECT_EQ(GetBValue(c), 99);
}

}  // namespace
