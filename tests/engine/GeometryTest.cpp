// Units, device conversions, margins and section, cursor, lines and columns.
#include <gtest/gtest.h>

#include <functional>

#include "engine/RecordingReport.h"

namespace {

constexpr double Tolerance = 1e-9;

// Runs Body inside a job of a fresh engine (the engine stays alive for the checks).
void InJob(TRecordingReport& report, const std::function<void()>& Body) {
  report.OnPrint = [&Body](TObject*) { Body(); };
  report.Execute();
}

TEST(UnitsTest, SettingUnitsSetsTheFactor) {
  TRecordingReport report;
  const std::vector<std::pair<TPrintUnits, double>> table{
      {unMM, 25.4}, {unCM, 2.54}, {unPoint, 72.0}, {unInch, 1.0}};
  for (const auto& [units, factor] : table) {
    report.SetUnits(units);
    EXPECT_EQ(report.Units(), units);
    EXPECT_EQ(report.UnitsFactor(), factor);
  }
  report.SetUnits(unCM);
  report.SetUnits(unUser);
  EXPECT_EQ(report.Units(), unUser);
  EXPECT_EQ(report.UnitsFactor(), 2.54);
}

TEST(UnitsTest, SettingTheFactorPicksTheUnitByExactEquality) {
  TRecordingReport report;
  const std::vector<std::pair<double, TPrintUnits>> table{
      {25.4, unMM}, {25.40001, unUser}, {2.54, unCM}, {72.0, unPoint}, {1.0, unInch}, {10.0, unUser}};
  for (const auto& [factor, units] : table) {
    report.SetUnitsFactor(factor);
    EXPECT_EQ(report.Units(), units) << factor;
    EXPECT_EQ(report.UnitsFactor(), factor);
  }
}

TEST(UnitsTest, FactorOfZeroOrLessIsIgnored) {
  TRecordingReport report;
  report.SetUnits(unMM);
  for (double bad : {0.0, -3.0}) {
    report.SetUnitsFactor(bad);
    EXPECT_EQ(report.Units(), unMM);
    EXPECT_EQ(report.UnitsFactor(), 25.4);
  }
}

TEST(UnitsTest, ConversionsUseTheFactorOnBothAxes) {
  TRecordingReport report;
  report.SetUnits(unMM);
  EXPECT_NEAR(report.XUnitsToInch(50.8), 2.0, Tolerance);
  EXPECT_NEAR(report.YUnitsToInch(25.4), 1.0, Tolerance);
  EXPECT_NEAR(report.XInchToUnits(2.0), 50.8, Tolerance);
  EXPECT_NEAR(report.YInchToUnits(0.5), 12.7, Tolerance);
}

TEST(DeviceConversionTest, RoundsHalvesToEven) {
  TRecordingReport report;
  report.SetDeviceXDPI(1);
  report.SetDeviceYDPI(1);
  // At one pixel per inch every half inch lands exactly on a half pixel.
  const std::vector<std::pair<double, int>> table{{0.5, 0}, {1.5, 2},  {2.5, 2},
                                                  {3.5, 4}, {-0.5, 0}, {-1.5, -2}};
  for (const auto& [inches, pixels] : table) {
    EXPECT_EQ(report.XInchToDevice(inches), pixels) << inches;
    EXPECT_EQ(report.YInchToDevice(inches), pixels) << inches;
  }
}

TEST(DeviceConversionTest, ScaleOriginOffsetsAndZoomTakePart) {
  TRecordingReport report;
  report.SetDeviceXDPI(300);
  report.SetDeviceYDPI(300);
  report.SetScaleX(50);
  EXPECT_EQ(report.XInchToDevice(2), 300);
  report.SetScaleX(100);
  report.SetZoomPercent(200);
  EXPECT_EQ(report.XInchToDevice(1), 600);
  report.SetZoomPercent(100);
  report.SetOriginX(1);
  report.SetDevicePixelOffsetX(7);
  EXPECT_EQ(report.XInchToDevice(1), 607);
  EXPECT_NEAR(report.XDeviceToInch(607), 1.0, Tolerance);
  report.SetOriginY(0.5);
  report.SetScaleY(200);
  EXPECT_EQ(report.YInchToDevice(1), 900);
  EXPECT_NEAR(report.YDeviceToInch(900), 1.0, Tolerance);
  const TRect rect = report.CreateRect(0, 0, 1, 1);
  EXPECT_EQ(rect, (TRect{307, 300, 607, 900}));
}

TEST(DeviceConversionTest, ScaleOfZeroOrLessIsIgnored) {
  TRecordingReport report;
  report.SetScaleX(80);
  report.SetScaleY(120);
  for (double bad : {0.0, -50.0}) {
    report.SetScaleX(bad);
    report.SetScaleY(bad);
  }
  EXPECT_EQ(report.ScaleX(), 80);
  EXPECT_EQ(report.ScaleY(), 120);
  EXPECT_NEAR(report.XDeviceToInch(report.XInchToDevice(2)), 2.0, 0.01);
}

TEST(PageTest, RenderDeviceResolutionAndPaperWithoutPrinter) {
  TRecordingReport report;
  EXPECT_TRUE(report.NoPrinters());
  EXPECT_EQ(report.DeviceXDPI(), 600);
  EXPECT_EQ(report.DeviceYDPI(), 600);
  EXPECT_DOUBLE_EQ(report.PageWidth(), 8.5);
  EXPECT_DOUBLE_EQ(report.PageHeight(), 11.0);
  EXPECT_EQ(report.Orientation(), poPortrait);
}

TEST(PageTest, RenderPaperSizeIsKeptInInches) {
  TRecordingReport report;
  report.SetUnits(unMM);
  EXPECT_TRUE(report.SetPaperSize(0, 210, 297));
  EXPECT_NEAR(report.PageWidth(), 210, 1e-9);
  report.SetUnits(unInch);
  EXPECT_NEAR(report.PageWidth(), 210 / 25.4, 1e-9);
  EXPECT_NEAR(report.PageHeight(), 297 / 25.4, 1e-9);
  EXPECT_TRUE(report.SetPaperSize(0, 0, 5));  // one size zero: unchanged
  EXPECT_NEAR(report.PageHeight(), 297 / 25.4, 1e-9);
}

TEST(MarginTest, MarginsWithoutPrinterFollowTheRenderPage) {
  TRecordingReport report;
  report.SetMarginLeft(0.75);
  report.SetMarginRight(1);
  report.SetMarginTop(0.5);
  report.SetMarginBottom(2);
  EXPECT_DOUBLE_EQ(report.SectionLeft(), 0.75);
  EXPECT_DOUBLE_EQ(report.SectionRight(), 7.5);
  EXPECT_DOUBLE_EQ(report.SectionTop(), 0.5);
  EXPECT_DOUBLE_EQ(report.SectionBottom(), 9.0);
  EXPECT_DOUBLE_EQ(report.MarginRight(), 1);  // the value given, not the position
  // A new paper size moves right and bottom when the page metrics are reset.
  report.SetPaperSize(0, 10, 12);
  report.ResetPageMetrics();
  EXPECT_DOUBLE_EQ(report.SectionRight(), 9.0);
  EXPECT_DOUBLE_EQ(report.SectionBottom(), 10.0);
}

TEST(MarginTest, MillimetreMarginPutsTheSectionAtOneInch) {
  TRecordingReport report;
  report.SetUnits(unMM);
  report.SetMarginLeft(25.4);
  EXPECT_DOUBLE_EQ(report.SectionLeft(), 25.4);
  report.SetUnits(unInch);
  EXPECT_DOUBLE_EQ(report.SectionLeft(), 1.0);
}

TEST(MarginTest, SectionEdgesPushTheCursorInside) {
  TRecordingReport report;
  report.SetXPos(0.5);
  report.SetSectionLeft(1);
  EXPECT_DOUBLE_EQ(report.XPos(), 1);
  report.SetXPos(7);
  report.SetSectionRight(6);
  EXPECT_DOUBLE_EQ(report.XPos(), 6);
  report.SetYPos(0.2);
  report.SetSectionTop(1);
  EXPECT_DOUBLE_EQ(report.YPos(), 1);
  report.SetYPos(10);
  report.SetSectionBottom(9);
  EXPECT_DOUBLE_EQ(report.YPos(), 9);
  report.ResetSection();
  EXPECT_DOUBLE_EQ(report.SectionLeft(), 0);
  EXPECT_DOUBLE_EQ(report.SectionRight(), 8.5);
  EXPECT_DOUBLE_EQ(report.YPos(), 9);  // the cursor is left alone
}

TEST(LineTest, LinePositionsFollowTheMetrics) {
  TRecordingReport report;
  InJob(report, [&] {
    // The line takes the descent measured for the current font (Arial 10 points).
    report.UpdateLineMetrics();
    const double descent = report.FontRecord().Descent;
    const double ascent = report.FontRecord().Ascent;
    EXPECT_GT(descent, 0);
    EXPECT_NE(descent, 10.0 / 144.0);
    report.SetLineTop(1.0);
    EXPECT_NEAR(report.FontBaseline(), 1.0 + 1.0 / 6.0 - descent, Tolerance);
    EXPECT_NEAR(report.LineTop(), 1.0, Tolerance);
    EXPECT_NEAR(report.LineBottom(), 1.0 + 1.0 / 6.0, Tolerance);
    EXPECT_NEAR(report.FontTop(), report.FontBaseline() - ascent, Tolerance);
    report.SetLineMiddle(2.0);
    EXPECT_NEAR(report.FontBaseline(), 2.0 + 1.0 / 12.0 - descent, Tolerance);
    report.SetLineBottom(3.0);
    EXPECT_NEAR(report.LineBottom(), 3.0, Tolerance);
    report.SetLineNum(3);
    EXPECT_NEAR(report.LineBottom(), 0.5, Tolerance);
    report.GotoFooter();
    EXPECT_NEAR(report.LineBottom(), 11.0, Tolerance);
  });
}

TEST(LineTest, LineHeightMethods) {
  TRecordingReport report;
  InJob(report, [&] {
    report.SetLinesPerInch(4);
    EXPECT_NEAR(report.LineHeight(), 0.25, Tolerance);
    report.SetLinesPerInch(0);  // ignored
    report.SetLinesPerInch(-2);
    EXPECT_EQ(report.LinesPerInch(), 4);
    report.SetLineHeightMethod(lhmFont);
    report.UpdateLineMetrics();
    EXPECT_NEAR(report.LineHeight(), 1.2 * 10 / 72, Tolerance);
    report.SetLineHeight(0.3);
    EXPECT_EQ(report.LineHeightMethod(), lhmUser);
    report.SetLinesPerInch(8);  // the user height stays
    EXPECT_NEAR(report.LineHeight(), 0.3, Tolerance);
    report.SetLineHeight(0);
    report.SetLineHeight(-1);
    EXPECT_NEAR(report.LineHeight(), 0.3, Tolerance);
  });
}

TEST(LineTest, AdjustLineKeepsTheLineTop) {
  TRecordingReport report;
  InJob(report, [&] {
    report.SetLinesPerInch(4);
    report.SetLineTop(2.0);
    EXPECT_NEAR(report.LineBottom(), 2.25, Tolerance);
    // The new method takes effect with the next metrics update: AdjustLine re-seats the
    // baseline under the same line top.
    report.SetLineHeightMethod(lhmFont);
    report.AdjustLine();
    EXPECT_NEAR(report.LineTop(), 2.0, Tolerance);
    EXPECT_NEAR(report.LineBottom(), 2.0 + 1.2 * 10 / 72, Tolerance);
  });
}

TEST(ColumnTest, ColumnWidthsAndPositions) {
  TRecordingReport report;
  report.SetMarginLeft(0.5);
  report.SetMarginRight(0.5);
  int newColumns = 0;
  report.OnNewColumn = [&](TObject*) { ++newColumns; };
  InJob(report, [&] {
    report.SetColumns(3, 0.25);
    EXPECT_EQ(newColumns, 1);
    EXPECT_NEAR(report.ColumnWidth(), 7.75 / 3 - 0.25, Tolerance);
    report.SetColumnNum(2);
    EXPECT_NEAR(report.ColumnLeftInch(), 0.5 + 7.75 / 3, Tolerance);
    EXPECT_NEAR(report.XPos(), 0.5 + 7.75 / 3, Tolerance);
    report.SetColumns(0, 0);  // taken as one column
    EXPECT_EQ(report.Columns(), 1);
    EXPECT_NEAR(report.ColumnWidth(), 7.5, Tolerance);
    report.SetColumns(2, 1);
    report.ClearColumns();
    EXPECT_EQ(report.Columns(), 1);
    EXPECT_NEAR(report.ColumnWidth(), 7.5, Tolerance);
    EXPECT_NEAR(report.XPos(), 0.5, Tolerance);
  });
}

TEST(ColumnTest, LinesLeftCountsTheCurrentLine) {
  TRecordingReport report;
  report.SetMarginTop(0.5);
  report.SetMarginBottom(0.5);  // a 10-inch section
  InJob(report, [&] {
    report.SetLinesPerInch(4);
    report.Home();
    EXPECT_EQ(report.LinesLeft(), 40);
    EXPECT_EQ(report.PageLinesLeft(), 40);
    report.SetColumns(2, 0);
    report.Home();
    EXPECT_EQ(report.PageLinesLeft(), 80);
    report.SetLineNum(40);
    EXPECT_EQ(report.LinesLeft(), 1);
    report.SetLineNum(41);
    EXPECT_EQ(report.LinesLeft(), 0);
    EXPECT_EQ(report.PageLinesLeft(), 40);
    report.SetColumnNum(2);
    EXPECT_EQ(report.PageLinesLeft(), 0);
  });
}

TEST(ColumnTest, NewLineMovesIntoTheNextColumnAndPastTheSection) {
  TRecordingReport report;
  report.SetMarginTop(0.5);
  report.SetMarginBottom(0.5);
  std::vector<std::string> events;
  InJob(report, [&] {
    report.SetLinesPerInch(4);
    report.SetColumns(2, 0.5);
    report.OnNewColumn = [&](TObject*) { events.push_back("column"); };
    report.OnEndOfSection = [&](TObject*) { events.push_back("end"); };
    report.SetLineNum(38);
    report.NewLine();  // line 39 of column 1: still room
    EXPECT_EQ(report.LineNum(), 39);
    EXPECT_EQ(report.ColumnNum(), 1);
    EXPECT_TRUE(events.empty());
    report.SetLineNum(40);
    report.NewLine();  // the last line: on to line 1 of column 2
    EXPECT_EQ(report.ColumnNum(), 2);
    EXPECT_EQ(report.LineNum(), 1);
    EXPECT_NEAR(report.XPos(), (8.5 + 0.5) / 2, Tolerance);
    EXPECT_EQ(events, (std::vector<std::string>{"column"}));
    events.clear();
    report.SetLineNum(40);
    report.SetXPos(6);
    report.NewLine();  // last line of the last column: below the section
    EXPECT_EQ(report.ColumnNum(), 2);
    EXPECT_EQ(report.LineNum(), 41);
    EXPECT_NEAR(report.XPos(), (8.5 + 0.5) / 2, Tolerance);
    EXPECT_GT(report.LineBottom(), report.SectionBottom());
    EXPECT_EQ(events, (std::vector<std::string>{"end"}));
  });
}

TEST(CursorTest, PositionStackAndSlots) {
  TRecordingReport report;
  EXPECT_FALSE(report.PopPos());
  report.SetXPos(1);
  report.SetYPos(2);
  EXPECT_TRUE(report.PushPos());
  report.SetXPos(3);
  report.SetYPos(4);
  EXPECT_TRUE(report.SavePos(10));
  EXPECT_FALSE(report.SavePos(11));
  EXPECT_FALSE(report.SavePos(0));
  EXPECT_TRUE(report.PopPos());
  EXPECT_DOUBLE_EQ(report.XPos(), 1);
  EXPECT_DOUBLE_EQ(report.YPos(), 2);
  EXPECT_FALSE(report.PopPos());
  EXPECT_TRUE(report.RestorePos(10));
  EXPECT_DOUBLE_EQ(report.XPos(), 3);
  EXPECT_DOUBLE_EQ(report.YPos(), 4);
  EXPECT_FALSE(report.RestorePos(11));
  EXPECT_TRUE(report.RestorePos(1));  // never saved: 0,0
  EXPECT_DOUBLE_EQ(report.XPos(), 0);
  EXPECT_DOUBLE_EQ(report.YPos(), 0);
}

TEST(CursorTest, AdvanceCursorFollowsTheRotationAndScale) {
  TRecordingReport report;
  report.SetXPos(1);
  report.AdvanceCursor(2);
  EXPECT_NEAR(report.XPos(), 3, Tolerance);
  report.SetScaleX(50);
  report.AdvanceCursor(1);
  EXPECT_NEAR(report.XPos(), 5, Tolerance);
}

TEST(PageTest, EveryPageResetsOriginSectionAndCursor) {
  TRecordingReport report;
  report.SetMarginLeft(1);
  report.SetMarginTop(1);
  InJob(report, [&] {
    report.SetOriginX(2);
    report.SetSectionLeft(3);
    report.SetXPos(5);
    report.NewPage();
    EXPECT_DOUBLE_EQ(report.OriginX(), 0);
    EXPECT_DOUBLE_EQ(report.SectionLeft(), 1);
    EXPECT_DOUBLE_EQ(report.XPos(), 1);
    EXPECT_EQ(report.LineNum(), 1);
    EXPECT_NEAR(report.LineBottom(), 1 + 1.0 / 6.0, Tolerance);
  });
}

TEST(AssignTest, CopiesTheSettingsButNotEverything) {
  TRecordingReport source;
  source.SetUnits(unMM);
  source.SetMarginLeft(20);
  source.SetMarginRight(10);
  source.SetFirstPage(3);
  source.SetLastPage(7);
  source.SetPageSelection("odd");
  source.SetTitle("Copied");
  source.SetScaleX(90);
  source.SetLinesPerInch(8);
  source.SetTabShade(30);
  source.SetStatusFormat("Page %p");
  source.StatusText()->Add("line 0");
  source.MacroStrings()->Add("macro 0");
  int printed = 0;
  source.OnPrint = [&](TObject*) { ++printed; };
  source.OnEndOfSection = [](TObject*) {};

  TRecordingReport target;
  target.Assign(&source);
  EXPECT_EQ(target.Units(), unMM);
  EXPECT_DOUBLE_EQ(target.MarginLeft(), 20);
  EXPECT_NEAR(target.SectionLeft(), 20, 1e-9);
  EXPECT_NEAR(target.SectionRight(), 8.5 * 25.4 - 10, 1e-9);
  EXPECT_EQ(target.FirstPage(), 3);
  EXPECT_EQ(target.LastPage(), 7);
  EXPECT_EQ(target.PageSelection(), "odd");
  EXPECT_EQ(target.Title(), "Copied");
  EXPECT_EQ(target.ScaleX(), 90);
  EXPECT_EQ(target.LinesPerInch(), 8);
  EXPECT_EQ(target.TabShade(), 30);
  EXPECT_EQ(target.StatusFormat(), "Page %p");
  ASSERT_EQ(target.StatusText()->Count(), 1);
  EXPECT_EQ(target.MacroValue(16), "macro 0");
  EXPECT_FALSE(target.OnEndOfSection);
  target.Execute();
  EXPECT_EQ(printed, 1);
}

}  // namespace
