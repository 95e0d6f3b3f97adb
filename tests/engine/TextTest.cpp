// The current font (attributes, stack, slots, the device font and its cache), measuring and
// clipping text, and the text operations down to the device-level primitives they call.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "engine/RecordingReport.h"
#include "engine/VXFontManager.h"
#include "engine/VXFormatCodes.h"
#include "platform/FontMetrics.h"

namespace {

constexpr double Tolerance = 1e-9;

void RunJob(TRecordingReport& report, const std::function<void()>& Body) {
  report.OnPrint = [&Body](TObject*) { Body(); };
  report.Execute();
}

// The device font the engine builds for its current record.
std::shared_ptr<TLogicalFont> DeviceFont(TBaseReport& report) {
  report.SelectCurrentFont();
  std::shared_ptr<TLogicalFont> font = report.FontRecord().Handle;
  report.DeselectCurrentFont();
  return font;
}

// ===== Font attributes =====

TEST(FontAttributeTest, SetFontWithSizeZeroChangesNothing) {
  TRecordingReport report;
  // Before the job the record changes through the engine's own font, during the job through
  // the canvas font: both ways behave alike.
  auto check = [&report] {
    report.SetFont("Arial", 10);
    report.SetBold(true);
    const TFontRecord before = report.FontRecord();
    report.SetFont("Courier New", 0);
    report.SetFont("Courier New", -3);
    EXPECT_EQ(report.FontRecord().Name, "Arial");
    EXPECT_EQ(report.FontRecord().Size, before.Size);
    EXPECT_TRUE(report.FontRecord().Bold);
  };
  check();
  RunJob(report, check);
}

TEST(FontAttributeTest, SetFontClearsStylesRotationAndScripts) {
  TRecordingReport report;
  auto check = [&report] {
    report.SetBold(true);
    report.SetItalic(true);
    report.SetUnderline(true);
    report.SetFontColor(clRed);
    report.SetFontRotation(45);
    report.SetSuperscript(true);
    report.SetFontAlign(2);
    report.SetFont("Courier New", 12);
    const TFontRecord& font = report.FontRecord();
    EXPECT_EQ(font.Name, "Courier New");
    EXPECT_NEAR(font.Size, 12, 1e-9);  // 100 pixels at 600 per inch
    EXPECT_NEAR(font.Height, 12.0 / 72, 1e-12);
    EXPECT_FALSE(font.Bold);
    EXPECT_FALSE(font.Italic);
    EXPECT_FALSE(font.Underline);
    EXPECT_EQ(font.Color, clBlack);
    EXPECT_EQ(font.Rotation, 0);
    EXPECT_FALSE(font.Superscript);
    EXPECT_EQ(font.Align, 0);
  };
  check();
  RunJob(report, check);
}

TEST(FontAttributeTest, SizesAreWholeDevicePixels) {
  TRecordingReport report;
  RunJob(report, [&] {
    // 10.5 points at 600 per inch are 87.5 pixels, rounded to the even 88.
    report.SetFontSize(10.5);
    EXPECT_NEAR(report.GetFontSize(), 88 * 72.0 / 600, 1e-9);
    EXPECT_EQ(report.Canvas()->Font()->Height(), -88);
    report.SetFontHeight(0.25);
    EXPECT_NEAR(report.FontHeight(), 0.25, 1e-12);
    EXPECT_NEAR(report.GetFontSize(), 18, 1e-9);
  });
}

TEST(FontAttributeTest, AnAttributeAtTheStartOfTheJobKeepsTheRestOfTheRecord) {
  TRecordingReport report;
  report.SetFont("Times New Roman", 14);
  RunJob(report, [&] {
    // The canvas font takes the record when the job starts, so a report may change one
    // attribute of it directly.
    TFont* canvasFont = report.Canvas()->Font();
    EXPECT_EQ(canvasFont->Name(), "Times New Roman");
    EXPECT_EQ(canvasFont->Height(), -117);
    canvasFont->SetColor(clRed);
    EXPECT_EQ(report.FontRecord().Color, clRed);
    report.SetBold(true);
    EXPECT_EQ(report.FontRecord().Name, "Times New Roman");
    EXPECT_NEAR(report.GetFontSize(), 14, 0.1);
    EXPECT_TRUE(report.FontRecord().Bold);
    EXPECT_TRUE(report.Canvas()->Font()->Style().Contains(fsBold));
    EXPECT_EQ(report.Canvas()->Font()->Name(), "Times New Roman");
  });
}

TEST(FontAttributeTest, AssignFontTakesTheFaceAndKeepsTheAlignment) {
  TRecordingReport report;
  TFont source;
  source.SetName("Courier New");
  source.SetSize(18);
  source.SetColor(clBlue);
  source.SetStyle({fsItalic, fsStrikeOut});
  report.SetFontAlign(1);
  report.SetSubscript(true);
  report.SetFontRotation(90);
  report.AssignFont(&source);
  const TFontRecord& font = report.FontRecord();
  EXPECT_EQ(font.Name, "Courier New");
  EXPECT_NEAR(font.Size, 18, 0.2);
  EXPECT_EQ(font.Color, clBlue);
  EXPECT_TRUE(font.Italic);
  EXPECT_TRUE(font.Strikeout);
  EXPECT_FALSE(font.Bold);
  EXPECT_FALSE(font.Subscript);
  EXPECT_EQ(font.Rotation, 0);
  EXPECT_EQ(font.Align, 1);
}

TEST(FontAttributeTest, SuperscriptAndSubscriptExcludeEachOther) {
  TRecordingReport report;
  report.SetSubscript(true);
  report.SetSuperscript(true);
  EXPECT_TRUE(report.FontRecord().Superscript);
  EXPECT_FALSE(report.FontRecord().Subscript);
  report.SetSubscript(true);
  EXPECT_TRUE(report.FontRecord().Subscript);
  EXPECT_FALSE(report.FontRecord().Superscript);
  report.SetSubscript(false);
  EXPECT_FALSE(report.FontRecord().Subscript);
  EXPECT_FALSE(report.FontRecord().Superscript);
}

TEST(FontAttributeTest, ScriptFontsAreSmallerWithHalvedMetrics) {
  TRecordingReport report;
  RunJob(report, [&] {
    report.SetFont("Arial", 20);
    const double height = report.FontRecord().Height;
    for (const bool super : {true, false}) {
      report.SetSuperscript(super);
      report.SetSubscript(!super);
      const std::shared_ptr<TLogicalFont> font = DeviceFont(report);
      // The device font is the record's height divided by 1.667; the record keeps its height.
      EXPECT_EQ(font->LogFont().lfHeight, -static_cast<int>(std::nearbyint(600 * height / 1.667)));
      EXPECT_EQ(report.FontRecord().Height, height);
      const TTextMetric& metrics = font->TextMetrics();
      // 600 pixels per inch at 100 % scale and zoom: pixels ÷ 600 inches, then halved.
      EXPECT_NEAR(report.FontRecord().Ascent, metrics.tmAscent / 600.0 / 2, Tolerance);
      EXPECT_NEAR(report.FontRecord().Descent, metrics.tmDescent / 600.0 / 2, Tolerance);
      EXPECT_NEAR(report.FontRecord().InternalLeading, metrics.tmInternalLeading / 600.0 / 2, Tolerance);
    }
    report.SetSubscript(false);
    const std::shared_ptr<TLogicalFont> plain = DeviceFont(report);
    EXPECT_EQ(plain->LogFont().lfHeight, -static_cast<int>(std::nearbyint(600 * height)));
    EXPECT_NEAR(report.FontRecord().Ascent, plain->TextMetrics().tmAscent / 600.0, Tolerance);
  });
}

TEST(FontAttributeTest, RotationIsKeptModulo360WithItsSign) {
  TRecordingReport report;
  const std::vector<std::pair<int, int>> table{{450, 90},   {-30, -30}, {360, 0},
                                               {-400, -40}, {359, 359}, {-719, -359}};
  for (const auto& [degrees, stored] : table) {
    report.SetFontRotation(degrees);
    EXPECT_EQ(report.FontRecord().Rotation, stored) << degrees;
  }
  RunJob(report, [&] {
    report.SetFontRotation(-30);
    EXPECT_EQ(DeviceFont(report)->LogFont().lfEscapement, -300);
  });
}

TEST(FontAttributeTest, TextOutputNeedsAJob) {
  TRecordingReport report;
  EXPECT_THROW(report.TextWidth("x"), EPagePress);
  EXPECT_THROW(report.Print("x"), EPagePress);
  EXPECT_THROW(report.GetBKColor(), EPagePress);
  EXPECT_THROW(report.PrintJustify("x", pjCenter, 1, 0, 2), EPagePress);
}

// ===== Font stack and slots =====

TEST(FontStackTest, PushAndPopRestoreTheFont) {
  TRecordingReport report;
  auto check = [&report] {
    report.SetFont("Arial", 10);
    EXPECT_FALSE(report.PopFont());
    EXPECT_TRUE(report.PushFont());
    report.SetBold(true);
    report.SetFont("Courier New", 14);
    report.SetFontRotation(90);
    EXPECT_TRUE(report.PopFont());
    EXPECT_EQ(report.FontRecord().Name, "Arial");
    EXPECT_NEAR(report.GetFontSize(), 10, 1e-9);
    EXPECT_FALSE(report.FontRecord().Bold);
    EXPECT_EQ(report.FontRecord().Rotation, 0);
    EXPECT_FALSE(report.PopFont());
  };
  check();
  RunJob(report, [&] {
    check();
    // The restored font reaches the canvas font too.
    EXPECT_EQ(report.Canvas()->Font()->Name(), "Arial");
  });
}

TEST(FontStackTest, SlotsHoldFontsByNumber) {
  TRecordingReport report;
  report.SetFont("Courier New", 14);
  report.SetBold(true);
  report.SetSuperscript(true);
  // Before any SaveFont the slots hold the construction font.
  EXPECT_TRUE(report.RestoreFont(3));
  EXPECT_EQ(report.FontRecord().Name, "Arial");
  EXPECT_NEAR(report.GetFontSize(), 10, 1e-9);
  EXPECT_FALSE(report.FontRecord().Bold);
  EXPECT_FALSE(report.FontRecord().Superscript);

  report.SetFont("Courier New", 14);
  report.SetItalic(true);
  report.SetFontAlign(1);
  EXPECT_TRUE(report.SaveFont(10));
  report.SetFont("Arial", 8);
  for (const int bad : {0, 11, -1}) {
    EXPECT_FALSE(report.SaveFont(bad));
    EXPECT_FALSE(report.RestoreFont(bad));
  }
  EXPECT_EQ(report.FontRecord().Name, "Arial");
  EXPECT_TRUE(report.RestoreFont(10));
  EXPECT_EQ(report.FontRecord().Name, "Courier New");
  EXPECT_NEAR(report.GetFontSize(), 117 * 72.0 / 600, 1e-9);  // 14 points in whole pixels
  EXPECT_TRUE(report.FontRecord().Italic);
  EXPECT_EQ(report.FontRecord().Align, 1);
}

// ===== The device font and its cache =====

TEST(FontCacheTest, ColourWidthAndAlignDoNotMakeANewDeviceFont) {
  TRecordingReport report;
  RunJob(report, [&] {
    report.SetFont("Arial", 12);
    const std::shared_ptr<TLogicalFont> first = DeviceFont(report);
    report.SetFontColor(clRed);
    report.SetFontAlign(2);
    TFontRecord wider = report.FontRecord();
    wider.Width = 0.1;
    report.SetFontRecord(wider);
    EXPECT_EQ(DeviceFont(report), first);

    report.SetBold(true);
    const std::shared_ptr<TLogicalFont> bold = DeviceFont(report);
    EXPECT_NE(bold, first);
    EXPECT_EQ(bold->LogFont().lfWeight, FW_BOLD);
    report.SetBold(false);
    EXPECT_EQ(DeviceFont(report), first);  // taken from the cache again

    // Every other attribute makes another device font.
    std::vector<std::function<void()>> changes{
        [&] { report.SetItalic(true); },       [&] { report.SetUnderline(true); },
        [&] { report.SetStrikeout(true); },    [&] { report.SetFontRotation(10); },
        [&] { report.SetSuperscript(true); },  [&] { report.SetSubscript(true); },
        [&] { report.SetFontSize(13); },       [&] { report.SetFontName("Courier New"); },
        [&] { report.SetFontPitch(fpFixed); }, [&] { report.SetFontCharset(ANSI_CHARSET); }};
    for (size_t i = 0; i < changes.size(); ++i) {
      report.SetFont("Arial", 12);
      EXPECT_EQ(DeviceFont(report), first) << i;
      changes[i]();
      EXPECT_NE(DeviceFont(report), first) << i;
    }
  });
}

TEST(FontCacheTest, TheTextColourFollowsTheRecordWhileSelected) {
  TRecordingReport report;
  RunJob(report, [&] {
    TCanvas* canvas = report.Canvas();
    report.SetFontColor(clBlue);
    // Turned, the device font differs from the canvas font's own.
    report.SetFontRotation(30);
    report.SelectCurrentFont();
    EXPECT_EQ(canvas->TextColor(), clBlue);
    EXPECT_EQ(canvas->SelectedFont(), report.FontRecord().Handle);
    // Nested pairs keep the font until the outer one ends.
    report.SelectCurrentFont();
    report.DeselectCurrentFont();
    EXPECT_EQ(canvas->SelectedFont(), report.FontRecord().Handle);
    report.DeselectCurrentFont();
    EXPECT_NE(canvas->SelectedFont(), report.FontRecord().Handle);
    EXPECT_EQ(canvas->TextColor(), ColorToRGB(canvas->Font()->Color()));
  });
}

TEST(FontCacheTest, LineMetricsComeFromTheMeasuredFont) {
  TRecordingReport report;
  RunJob(report, [&] {
    report.SetFont("Arial", 36);
    report.SetLineHeightMethod(lhmFont);
    report.SetLineTop(1);
    const TTextMetric& metrics = DeviceFont(report)->TextMetrics();
    EXPECT_NEAR(report.FontBaseline() - report.FontTop(), metrics.tmAscent / 600.0, Tolerance);
    EXPECT_NEAR(report.FontBottom() - report.FontBaseline(), metrics.tmDescent / 600.0, Tolerance);
    EXPECT_NEAR(report.LineHeight(), 0.6, Tolerance);
  });
}

// ===== Measuring =====

TEST(TextWidthTest, EmptyTextIsOnePixelWide) {
  TRecordingReport report;
  RunJob(report, [&] {
    EXPECT_NEAR(report.TextWidth(""), 1.0 / 600, Tolerance);
    // Only codes: nothing visible, still one pixel.
    EXPECT_NEAR(report.TextWidth("\x01"
                                 "B1\x04"),
                1.0 / 600, Tolerance);
    report.SetUnits(unMM);
    EXPECT_NEAR(report.TextWidth(""), 25.4 / 600, Tolerance);
  });
}

TEST(TextWidthTest, WithoutPrinterTheFontManagerMeasures) {
  TRecordingReport report;
  RunJob(report, [&] {
    report.SetFont("Arial", 12);
    TFont font;
    font.SetPixelsPerInch(600);
    font.SetName("Arial");
    font.SetHeight(-100);
    const int pixels = FontManager()->MeasureText(&font, "Hello");
    EXPECT_GT(pixels, 100);
    EXPECT_NEAR(report.TextWidth("Hello"), pixels / 600.0, Tolerance);
    // ScaleX scales the measured width.
    report.SetScaleX(50);
    EXPECT_NEAR(report.TextWidth("Hello"), pixels / 600.0 / 2, Tolerance);
  });
}

TEST(TextWidthTest, CodesChangeTheFontOnlyWhileMeasuring) {
  TRecordingReport report;
  RunJob(report, [&] {
    report.SetFont("Arial", 12);
    report.PushFont();
    report.SetBold(true);
    const double bold = report.TextWidth("Bold");
    report.PopFont();
    const double expected = bold + report.TextWidth(" text");
    EXPECT_GT(bold, report.TextWidth("Bold"));
    EXPECT_NEAR(report.TextWidth("\x01"
                                 "B1\x04"
                                 "Bold\x01"
                                 "B0\x04"
                                 " text"),
                expected, Tolerance);
    EXPECT_FALSE(report.FontRecord().Bold);
    // Printed literally, the codes are measured as characters.
    report.SetIgnoreFormatCodes(true);
    EXPECT_NE(report.TextWidth("\x01"
                               "B1\x04"
                               "Bold\x01"
                               "B0\x04"
                               " text"),
              expected);
  });
}

TEST(TextWidthTest, TabsInCodedTextMoveToHalfUnitStops) {
  TRecordingReport report;
  RunJob(report, [&] {
    const double b = report.TextWidth("B");
    // 0.5 in at 600 pixels per inch: stops every 300 pixels.
    EXPECT_NEAR(report.TextWidth("\x01"
                                 "r\x04"
                                 "A\tB"),
                0.5 + b, Tolerance);
    EXPECT_NEAR(report.TextWidth("\x01"
                                 "r\x04"
                                 "\tB"),
                0.5 + b, Tolerance);
    // A width right on a stop stays there: a second tab does not move on.
    EXPECT_NEAR(report.TextWidth("\x01"
                                 "r\x04"
                                 "A\t\tB"),
                0.5 + b, Tolerance);
    EXPECT_NEAR(report.TextWidth("\x01"
                                 "r\x04"
                                 "A\tB\tC"),
                1.0 + report.TextWidth("C"), Tolerance);
  });
}

// ===== Clipping =====

TEST(ClipTextTest, CutsAtTheEndUntilTheTextFits) {
  TRecordingReport report;
  RunJob(report, [&] {
    const double hello = report.TextWidth("Hello");
    EXPECT_EQ(report.ClipText("Hello World", hello), "Hello");
    EXPECT_EQ(report.ClipText("Hello World", hello - 1.0 / 600), "Hell");
    EXPECT_EQ(report.ClipText("Hello", 0), "");
    const std::string macro = "Page " + MacroMarker + "M01";
    EXPECT_EQ(report.ClipText(macro, 0), macro);
  });
}

TEST(ClipTextTest, ATrailingCodeGoesWithAtLeastOneVisibleCharacter) {
  TRecordingReport report;
  RunJob(report, [&] {
    const std::string text =
        "ABC\x01"
        "B1\x04";
    // Just too narrow for ABC: the code and C go, what is left fits.
    EXPECT_EQ(report.ClipText(text, report.TextWidth("ABC") - 1.0 / 600), "AB");
    // Wide enough: nothing is cut, not even the code.
    EXPECT_EQ(report.ClipText(text, report.TextWidth("ABC")), text);
    // A code inside the text stays with the characters before it.
    EXPECT_EQ(report.ClipText("A\x01"
                              "B1\x04"
                              "BC",
                              report.TextWidth("A\x01"
                                               "B1\x04"
                                               "B")),
              "A\x01"
              "B1\x04"
              "B");
  });
}

// ===== Printing =====

TEST(PrintJustifyTest, DispatchesToTheDevicePrimitives) {
  struct TCase {
    TPrintJustify Justify;
    std::string Expected;
  };
  // X 1, margin 0.25, width 2.
  const std::vector<TCase> table{{pjCenter, "PrintCenter(T,2)"},
                                 {pjRight, "PrintRight(T,2.75)"},
                                 {pjBlock, "PrintBlock(T,1.25,1.5)"},
                                 {pjLeft, "PrintLeft(T,1.25)"}};
  for (const TCase& c : table) {
    TRecordingReport report;
    RunJob(report, [&] { report.PrintJustify("T", c.Justify, 1, 0.25, 2); });
    ASSERT_EQ(report.Log.size(), 4u);
    EXPECT_EQ(report.Log[2], c.Expected);
  }
}

TEST(PrintJustifyTest, TabSegmentsLandOnImplicitStops) {
  TRecordingReport report;
  RunJob(report, [&] {
    report.Log.clear();
    // A narrower than 0.499 in: B at the first stop, 1.5 in.
    ASSERT_LT(report.TextWidth("A"), 0.499);
    report.PrintJustify("A\tB", pjLeft, 1, 0, 0);
    // A ending between 1.499 and 1.999 in: B at 2.0 in.
    const std::string wide = "WWWWWW";
    ASSERT_GT(report.TextWidth(wide), 0.499);
    ASSERT_LT(report.TextWidth(wide), 0.999);
    report.PrintJustify(wide + "\tB", pjLeft, 1, 0, 0);
    // The stops count from X, not from X + margin; an empty piece only moves on.
    report.PrintJustify("\tC\t", pjLeft, 1, 0.2, 0);
    const std::vector<std::string> expected{"PrintLeft(A,1)", "PrintLeft(B,1.5)", "PrintLeft(WWWWWW,1)",
                                            "PrintLeft(B,2)", "PrintLeft(C,1.5)", "PrintLeft"};
    EXPECT_EQ(report.Log, expected);
    // The empty last piece is one pixel wide, like every empty text.
    EXPECT_NEAR(report.XPos(), 2.0 + 1.0 / 600, Tolerance);
  });
}

TEST(PrintJustifyTest, CodesInOneTabSegmentCarryIntoTheNext) {
  TRecordingReport report;
  RunJob(report, [&] {
    report.PushFont();
    report.SetFontSize(30);
    // While the segments print, font pushes are ignored: measuring the first segment leaves
    // its codes in force, as printing it does.
    report.PrintJustify(
        "\x01"
        "Z30\x04"
        "A\tB",
        pjLeft, 1, 0, 0);
    EXPECT_NEAR(report.GetFontSize(), 30, 1e-9);
    report.PopFont();
    EXPECT_NEAR(report.GetFontSize(), 10, 0.1);
  });
}

TEST(PrintTest, PiecesWithoutTabStopsFollowEachOther) {
  TRecordingReport report;
  RunJob(report, [&] {
    report.SetXPos(1);
    report.Log.clear();
    const double a = report.TextWidth("A");
    report.Print("A\tB");
    ASSERT_EQ(report.Log.size(), 2u);
    EXPECT_EQ(report.Log[0], "PrintLeft(A,1)");
    EXPECT_EQ(report.Log[1], Format("PrintLeft(B,%g)", {1 + a}));
  });
}

TEST(PrintTest, PrintLnXYAndFooter) {
  TRecordingReport report;
  report.SetMarginLeft(0.5);
  report.SetMarginRight(0.5);
  report.SetMarginBottom(1);
  RunJob(report, [&] {
    report.Log.clear();
    report.PrintLn("one");
    EXPECT_EQ(report.LineNum(), 2);
    EXPECT_NEAR(report.XPos(), 0.5, Tolerance);
    report.PrintXY(2, 3, "xy");
    EXPECT_NEAR(report.YPos(), 3, Tolerance);
    report.PrintFooter("foot", pjCenter);
    EXPECT_NEAR(report.LineBottom(), 10, Tolerance);
    report.SetUnits(unMM);
    report.PrintXY(25.4, 50.8, "mm");
    EXPECT_NEAR(report.YPos(), 50.8, Tolerance);
    const std::vector<std::string> expected{"PrintLeft(one,0.5)", "PrintLeft(xy,2)", "PrintCenter(foot,4.25)",
                                            "PrintLeft(mm,1)"};
    EXPECT_EQ(report.Log, expected);
  });
}

TEST(FormatCodeEngineTest, ApplyFontCodesAndSegments) {
  TRecordingReport report;
  RunJob(report, [&] {
    report.SetFont("Arial", 10);
    report.ApplyFontCodes(
        "\x01"
        "NCourier New\x02"
        "Z14\x02"
        "B1\x02"
        "C255\x02"
        "J"
        "R\x04");
    EXPECT_EQ(report.FontRecord().Name, "Courier New");
    EXPECT_NEAR(report.GetFontSize(), 14, 1e-9);
    EXPECT_TRUE(report.FontRecord().Bold);
    EXPECT_EQ(report.FontRecord().Color, clRed);
    // The canvas font follows.
    EXPECT_EQ(report.Canvas()->Font()->Name(), "Courier New");
    EXPECT_TRUE(report.Canvas()->Font()->Style().Contains(fsBold));
    report.ApplyFontCodes("\x01R\x04");
    EXPECT_EQ(report.FontRecord().Name, "Arial");
    EXPECT_NEAR(report.GetFontSize(), 12, 1e-9);
    EXPECT_FALSE(report.FontRecord().Bold);

    const std::string text =
        "\x01"
        "B1\x04\x01"
        "I1\x04"
        "bold italic\x01"
        "r\x04"
        "plain";
    size_t pos = 0;
    std::string plain;
    report.NextFormatSegment(text, pos, plain);
    EXPECT_EQ(plain, "bold italic");
    EXPECT_TRUE(report.FontRecord().Bold);
    EXPECT_TRUE(report.FontRecord().Italic);
    report.NextFormatSegment(text, pos, plain);
    EXPECT_EQ(plain, "plain");
    EXPECT_FALSE(report.FontRecord().Bold);
    EXPECT_EQ(pos, text.size());
  });
}

}  // namespace
