// The font record's coupling to the canvas font during a job, and settings that only a
// printer takes.
#include <gtest/gtest.h>

#include "engine/RecordingReport.h"

namespace {

TEST(FontCouplingTest, StartsAsArialTenPoints) {
  TRecordingReport report;
  const TFontRecord& font = report.FontRecord();
  EXPECT_EQ(font.Name, "Arial");
  EXPECT_DOUBLE_EQ(font.Size, 10);
  EXPECT_DOUBLE_EQ(font.Height, 10.0 / 72);
  EXPECT_DOUBLE_EQ(font.Ascent, font.Height / 2);
  EXPECT_DOUBLE_EQ(font.Descent, font.Height / 2);
  EXPECT_EQ(font.Charset, 1);
}

TEST(FontCouplingTest, CanvasFontChangesReachTheRecordOnlyDuringTheJob) {
  TRecordingReport report;
  TFont* canvasFont = report.OwnDevice()->Canvas()->Font();
  int ownHandlerCalls = 0;
  canvasFont->OnChange = [&](TObject*) { ++ownHandlerCalls; };
  report.OnPrint = [&](TObject*) {
    EXPECT_EQ(canvasFont->PixelsPerInch(), 600);
    canvasFont->SetName("Courier New");
    canvasFont->SetHeight(-100);  // 100 pixels at 600 per inch: 12 points
    canvasFont->SetStyle({fsBold, fsUnderline});
    canvasFont->SetColor(clRed);
  };
  report.Execute();
  const TFontRecord& font = report.FontRecord();
  EXPECT_EQ(font.Name, "Courier New");
  EXPECT_NEAR(font.Height, 100.0 / 600, 1e-12);
  EXPECT_NEAR(font.Size, 12, 1e-9);
  EXPECT_TRUE(font.Bold);
  EXPECT_TRUE(font.Underline);
  EXPECT_FALSE(font.Italic);
  EXPECT_EQ(font.Color, clRed);
  // The handler that was installed before the job kept being called, and is back now.
  EXPECT_EQ(ownHandlerCalls, 4);
  canvasFont->SetName("Liberation Serif");
  EXPECT_EQ(ownHandlerCalls, 5);
  EXPECT_EQ(report.FontRecord().Name, "Courier New");
}

TEST(FontCouplingTest, LongFaceNamesAreCutToSixtyCharacters) {
  TRecordingReport report;
  report.OnPrint = [&](TObject*) { report.Canvas()->Font()->SetName(std::string(70, 'F')); };
  report.Execute();
  EXPECT_EQ(report.FontRecord().Name, std::string(60, 'F'));
}

TEST(NoPrinterSettingsTest, OrientationWithoutPrinterIsOnlyRecorded) {
  TRecordingReport report;
  report.SetOrientation(poLandScape);
  EXPECT_EQ(report.Orientation(), poLandScape);
  EXPECT_EQ(report.OwnDevice()->GetOrientation(), 0);
  EXPECT_DOUBLE_EQ(report.PageWidth(), 8.5);
}

TEST(NoPrinterSettingsTest, OrientationRequestedDuringTheJobWaitsForTheNextPage) {
  TRecordingReport report;
  report.OnPrint = [&](TObject*) {
    report.SetOrientation(poLandScape);
    EXPECT_EQ(report.Orientation(), poPortrait);
    report.NewPage();
    EXPECT_EQ(report.Orientation(), poLandScape);
  };
  report.Execute();
}

TEST(NoPrinterSettingsTest, OutputFileNameIsIgnoredWithoutPrinter) {
  TRecordingReport report;
  report.SetOutputFileName("out.prn");
  EXPECT_EQ(report.OutputFileName(), "");
  report.SetCopies(3);
  EXPECT_EQ(report.Copies(), 3);
  EXPECT_EQ(report.OwnDevice()->GetCopies(), 1);
}

}  // namespace
