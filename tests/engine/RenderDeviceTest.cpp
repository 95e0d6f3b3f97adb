// The render device, the base device and the font metrics manager against the font files.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>

#include "engine/VXDefine.h"
#include "engine/VXDevice.h"
#include "engine/VXFontManager.h"
#include "platform/Canvas.h"
#include "platform/Font.h"
#include "platform/FontMetrics.h"

namespace {

std::unique_ptr<TFont> MakeFont(const std::string& Name, int Size, TFontStyles Style = {},
                                TFontPitch Pitch = fpDefault) {
  auto font = std::make_unique<TFont>();
  font->SetPixelsPerInch(600);
  font->SetName(Name);
  font->SetSize(Size);
  font->SetStyle(Style);
  font->SetPitch(Pitch);
  return font;
}

TEST(RenderDeviceTest, ResolutionPageAndPaperSize) {
  TVXRenderDevice device;
  EXPECT_EQ(device.XDPI(), 600);
  EXPECT_EQ(device.YDPI(), 600);
  EXPECT_EQ(device.PageWidth(), 5100);
  EXPECT_EQ(device.PageHeight(), 6600);
  EXPECT_EQ(device.GetOrientation(), 0);  // portrait, as the 8.5 by 11 inch page is
  EXPECT_TRUE(device.Printing());
  EXPECT_TRUE(device.SetPaperSize(0, 2100, 2970));
  EXPECT_EQ(device.PageWidth(), 4961);
  EXPECT_EQ(device.PageHeight(), 7016);
  EXPECT_TRUE(device.SetPaperSize(9, 0, 2970));  // a size missing: back to 8.5 by 11
  EXPECT_EQ(device.PageWidth(), 5100);
  EXPECT_EQ(device.PageHeight(), 6600);
  EXPECT_FALSE(device.HasPrinters());
  EXPECT_NE(device.Canvas(), nullptr);
}

TEST(RenderDeviceTest, GivenCanvasReplacesTheOwnBitmap) {
  TVXRenderDevice device;
  TVXRenderDevice other;
  TCanvas* given = other.Canvas();
  device.SetCanvas(given);
  EXPECT_EQ(device.Canvas(), given);
  device.SetCanvas(nullptr);
  EXPECT_NE(device.Canvas(), nullptr);
  EXPECT_NE(device.Canvas(), given);
}

TEST(RenderDeviceTest, BaseDeviceDefaults) {
  class TPlainDevice : public TVXBaseDevice {
  public:
    TCanvas* Canvas() override { return nullptr; }
  } device;
  EXPECT_EQ(device.XDPI(), 96);
  EXPECT_EQ(device.PageWidth(), 816);
  EXPECT_EQ(device.PageHeight(), 1056);
  EXPECT_EQ(device.GetOrientation(), 0);
  EXPECT_EQ(device.MaxCopies(), 1);
  EXPECT_TRUE(device.SelectBin("Tray 2", false));
  EXPECT_EQ(device.BinName(), "Tray 2");
  EXPECT_EQ(device.TextWidth("abc"), 0);
  EXPECT_FALSE(device.Printing());
}

TEST(RenderDeviceTest, GlobalDeviceIsCreatedOnFirstUseAndReplaceable) {
  TVXBaseDevice* first = GlobalDevice();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GlobalDevice(), first);
  EXPECT_EQ(first->ClassName(), "TVXRenderDevice");
  auto replacement = std::make_unique<TVXRenderDevice>();
  TVXBaseDevice* raw = replacement.get();
  SetGlobalDevice(std::move(replacement));
  EXPECT_EQ(GlobalDevice(), raw);
  SetGlobalDevice(nullptr);
  EXPECT_NE(GlobalDevice(), nullptr);
}

TEST(FontManagerTest, FontKeys) {
  EXPECT_EQ(TVXFontManager::FontKey(MakeFont("Arial", 10).get()), "Arial|1");
  EXPECT_EQ(TVXFontManager::FontKey(MakeFont("Arial", 10, {fsBold, fsItalic}, fpVariable).get()),
            "Arial|1|B|I|V");
  EXPECT_EQ(TVXFontManager::FontKey(MakeFont("Courier New", 10, {fsUnderline}, fpFixed).get()),
            "Courier New|1|F");
}

TEST(FontManagerTest, LetterAInLiberationSansIsTheFontsOwnAdvance) {
  auto font = MakeFont("Liberation Sans", 72);
  auto* handler = dynamic_cast<TVXTrueTypeFontHandler*>(FontManager()->GetHandler(font.get()));
  ASSERT_NE(handler, nullptr);
  // Liberation Sans: "A" advances 1366 of 2048 units; at 600 pixels that is 400.
  EXPECT_EQ(handler->Width('A'), 400);
  // At 72 points and 600 pixels per inch the reference size itself comes back.
  EXPECT_EQ(FontManager()->MeasureText(font.get(), "A"), 400);
  EXPECT_EQ(handler->TextWidth("AA", 300, 72), 400);
  EXPECT_EQ(FontManager()->MeasureText(font.get(), ""), 0);
}

TEST(FontManagerTest, SumOfAdvancesIsScaledOnceAndRoundedHalfToEven) {
  auto font = MakeFont("Liberation Sans", 10);
  auto* handler = dynamic_cast<TVXTrueTypeFontHandler*>(FontManager()->GetHandler(font.get()));
  ASSERT_NE(handler, nullptr);
  const std::string text = "Hello, World";
  double sum = 0;
  for (char c : text) sum += handler->Width(static_cast<uint8_t>(c));
  EXPECT_EQ(handler->TextWidth(text, 600, 10.0), static_cast<int>(std::nearbyint(sum * 10.0 * 600 / 43200)));
  // The table agrees with the platform's own advances at the reference height.
  TLogFont lf;
  lf.lfHeight = -600;
  lf.lfFaceName = "Liberation Sans";
  auto reference = CreateFontIndirect(lf);
  for (int code : {32, 65, 87, 105, 233}) {
    const TABC abc = reference->CharABCWidths(static_cast<uint8_t>(code));
    EXPECT_EQ(handler->Width(static_cast<uint8_t>(code)), abc.abcA + static_cast<int>(abc.abcB) + abc.abcC)
        << code;
  }
}

TEST(FontManagerTest, SizeAndUnderlineShareAHandlerBoldDoesNot) {
  auto small = MakeFont("Liberation Serif", 8);
  auto large = MakeFont("Liberation Serif", 30, {fsUnderline, fsStrikeOut});
  auto bold = MakeFont("Liberation Serif", 8, {fsBold});
  TVXBaseFontHandler* handler = FontManager()->GetHandler(small.get());
  EXPECT_EQ(FontManager()->GetHandler(large.get()), handler);
  TVXBaseFontHandler* boldHandler = FontManager()->GetHandler(bold.get());
  EXPECT_NE(boldHandler, handler);
  auto* regular = dynamic_cast<TVXTrueTypeFontHandler*>(handler);
  auto* heavy = dynamic_cast<TVXTrueTypeFontHandler*>(boldHandler);
  ASSERT_NE(regular, nullptr);
  ASSERT_NE(heavy, nullptr);
  int differences = 0;
  for (int code = 32; code < 256; ++code) differences += regular->Width(code) != heavy->Width(code);
  EXPECT_GT(differences, 0);
}

TEST(FontManagerTest, FixedPitchFacesMeasureByTheLetterA) {
  auto font = MakeFont("Liberation Mono", 12);
  auto* handler = dynamic_cast<TVXNonProportionalFontHandler*>(FontManager()->GetHandler(font.get()));
  ASSERT_NE(handler, nullptr);
  // Liberation Mono advances 1229 of 2048 units: 360 pixels at 600.
  EXPECT_EQ(handler->Width(), 360);
  const int a = FontManager()->MeasureText(font.get(), "A");
  EXPECT_EQ(FontManager()->MeasureText(font.get(), "iiiiiWWWWW"),
            static_cast<int>(std::nearbyint(10.0 * 360 * 12 * 600 / 43200)));
  EXPECT_EQ(FontManager()->MeasureText(font.get(), "AAAAAAAAAA"),
            FontManager()->MeasureText(font.get(), "iiiiiWWWWW"));
  EXPECT_EQ(a, 60);
  EXPECT_EQ(handler->TextWidth("", 600, 12), 0);
}

TEST(FontManagerTest, TwoThreadsMeasuringANewFontEndWithOneHandler) {
  // A face and style no other test measures, so that both threads find it missing.
  auto fontA = MakeFont("Liberation Mono", 11, {fsBold, fsItalic});
  auto fontB = MakeFont("Liberation Mono", 14, {fsBold, fsItalic, fsUnderline});
  const int before = FontManager()->HandlerCount();
  TVXBaseFontHandler* fromA = nullptr;
  TVXBaseFontHandler* fromB = nullptr;
  std::thread a([&] { fromA = FontManager()->GetHandler(fontA.get()); });
  std::thread b([&] { fromB = FontManager()->GetHandler(fontB.get()); });
  a.join();
  b.join();
  EXPECT_EQ(fromA, fromB);
  EXPECT_EQ(FontManager()->HandlerCount(), before + 1);
}

TEST(RenderDeviceTest, TextWidthAsksTheFontManagerWithTheCanvasFont) {
  TVXRenderDevice device;
  TFont* font = device.Canvas()->Font();
  font->SetPixelsPerInch(600);
  font->SetName("Liberation Sans");
  font->SetSize(72);
  EXPECT_EQ(device.TextWidth("A"), 400);
  EXPECT_EQ(device.TextWidth(""), 0);
}

TEST(DefineTest, VersionIgnoresStoredValues) {
  TVXComponent component;
  EXPECT_EQ(component.Version(), "4.05 (Linux Qt)");
  EXPECT_EQ(component.Version().size() - 4, 11u);
  component.SetVersion("9.99 stored");
  EXPECT_EQ(component.Version(), "4.05 (Linux Qt)");
}

TEST(DefineTest, ShadeToColorTintsTowardWhite) {
  EXPECT_EQ(ShadeToColor(clRed, 0), clWhite);
  EXPECT_EQ(ShadeToColor(clRed, 100), clRed);
  EXPECT_EQ(ShadeToColor(clRed, 200), clRed);
  EXPECT_EQ(ShadeToColor(clRed, 50), RGB(255, 127, 127));
  EXPECT_EQ(ShadeToColor(clBlack, 20), RGB(204, 204, 204));
  // System colours are resolved first.
  EXPECT_EQ(ShadeToColor(clWindowText, 100), ColorToRGB(clWindowText));
}

TEST(DefineTest, EnumerationOrdinalsAreBinding) {
  EXPECT_EQ(unUser, 4);
  EXPECT_EQ(poDefault, 2);
  EXPECT_EQ(pjBlock, 3);
  EXPECT_EQ(smTempFile, 3);
  EXPECT_EQ(rtBothIn, 6);
  EXPECT_EQ(ssAllowPreviewSetup, 8);
  EXPECT_EQ(soNoGenerate, 5);
  EXPECT_EQ(blLeftTop, 5);
  EXPECT_EQ(blNoBottom, 7);
  EXPECT_EQ(blAll, 15);
  EXPECT_EQ(blNoLeft, 14);
  TSystemOptions options{soUseFiler, soShowStatus};
  EXPECT_TRUE(options.Contains(soShowStatus));
  EXPECT_FALSE(options.Contains(soWaitForOK));
}

TEST(DefineTest, RaiseErrorRaisesEPagePress) {
  try {
    RaiseError("message");
    FAIL();
  } catch (const Exception& e) {
    EXPECT_NE(dynamic_cast<const EPagePress*>(&e), nullptr);
    EXPECT_EQ(e.Message(), "message");
  }
}

}  // namespace
