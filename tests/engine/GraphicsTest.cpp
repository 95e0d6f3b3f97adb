// Pens, brushes, the device canvas and the frame-mode boxes of the engine.
#include <gtest/gtest.h>

#include <functional>

#include "engine/RecordingReport.h"
#include "platform/Bitmap.h"
#include "platform/RasterCanvas.h"

namespace {

using TLog = std::vector<std::string>;

void InJob(TRecordingReport& report, const std::function<void()>& Body) {
  report.OnPrint = [&](TObject*) {
    report.Log.clear();
    Body();
  };
  report.Execute();
}

TEST(PenTest, PenWidthRuleAtThreeHundredDpi) {
  struct TCase {
    int Width;
    int Pixels;
  };
  const std::vector<TCase> cases{
      {-1, 3},      // a hundredth of an inch
      {-10050, 2},  // 0.005 in is 1.5 pixels, rounded to even
      {-10001, 1},  // 0.0001 in rounds to nothing and is raised to one pixel
      {-10000, 30000}, {-10, 30}, {-10150, 4}, {0, 1}, {1, 1}, {7, 7},
  };
  TRecordingReport report;
  InJob(report, [&] {
    report.SetDeviceXDPI(300);
    for (const TCase& c : cases) {
      report.SetPen(clBlue, psDot, c.Width, pmXor);
      const TPen* pen = report.Canvas()->Pen();
      EXPECT_EQ(pen->Width(), c.Pixels) << c.Width;
      EXPECT_EQ(pen->Color(), clBlue);
      EXPECT_EQ(pen->Style(), psDot);
      EXPECT_EQ(pen->Mode(), pmXor);
    }
  });
}

TEST(PenTest, InchWidthsFollowTheScaleAndZoom) {
  TRecordingReport report;
  report.SetDeviceXDPI(300);
  report.SetScaleX(50);
  EXPECT_EQ(report.PenWidthToDevice(-1), 2);  // 1.5 pixels
  EXPECT_EQ(report.PenWidthToDevice(-2), 3);
  report.SetZoomPercent(200);
  EXPECT_EQ(report.PenWidthToDevice(-1), 3);
  EXPECT_EQ(report.PenWidthToDevice(5), 5);  // pixels stay pixels
}

TEST(PenTest, CreatePenKnowsOnlyHundredths) {
  TRecordingReport report;
  report.SetDeviceXDPI(300);
  auto pen = report.CreatePen(clRed, psDash, -1, pmNotCopy);
  EXPECT_EQ(pen->Width(), 3);
  EXPECT_EQ(pen->Color(), clRed);
  EXPECT_EQ(pen->Style(), psDash);
  EXPECT_EQ(pen->Mode(), pmNotCopy);
  EXPECT_EQ(report.CreatePen(clBlack, psSolid, 4, pmCopy)->Width(), 4);
  EXPECT_EQ(report.CreatePen(clBlack, psSolid, -10050, pmCopy)->Width(), 30150);  // 100.5 in
}

TEST(BrushTest, SetBrushSetsColourStyleAndPattern) {
  TRecordingReport report;
  TBitmap pattern(8, 8);
  InJob(report, [&] {
    TBrush* brush = report.Canvas()->Brush();
    report.SetBrush(clRed, bsCross, nullptr);
    EXPECT_EQ(brush->Color(), clRed);
    EXPECT_EQ(brush->Style(), bsCross);
    report.SetBrush(clGreen, bsClear, nullptr);  // the colour does not make it solid
    EXPECT_EQ(brush->Color(), clGreen);
    EXPECT_EQ(brush->Style(), bsClear);
    report.SetBrush(clBlue, bsSolid, &pattern);
    ASSERT_NE(brush->Bitmap(), nullptr);
    EXPECT_EQ(brush->Bitmap()->Width(), 8);
    report.SetBrush(clBlue, bsSolid, nullptr);
    EXPECT_EQ(brush->Bitmap(), nullptr);
  });
}

TEST(PenTest, JobStartsWithAClearBlackBrushAndAThinBlackPen) {
  TRecordingReport report;
  report.Canvas()->Pen()->SetWidth(5);
  report.Canvas()->Brush()->SetColor(clRed);
  InJob(report, [&] {
    EXPECT_EQ(report.Canvas()->Pen()->Width(), 1);
    EXPECT_EQ(report.Canvas()->Brush()->Style(), bsClear);
  });
}

// A device whose document has not begun.
class TIdleDevice : public TVXBaseDevice {
public:
  TCanvas* Canvas() override { return FBitmap.Canvas(); }

private:
  TBitmap FBitmap;
};

TEST(CanvasTest, CanvasOfAnIdleDeviceIsNotYetActive) {
  TRecordingReport report;
  TIdleDevice idle;
  report.SetDevice(&idle);
  try {
    report.Canvas();
    FAIL() << "no error";
  } catch (const EPagePress& e) {
    EXPECT_EQ(e.Message(), "Error!  Canvas not yet active.");
  }
  EXPECT_THROW(report.SetPen(clBlack, psSolid, 1, pmCopy), EPagePress);
  EXPECT_THROW(report.SetBrush(clBlack, bsSolid, nullptr), EPagePress);
  report.SetDevice(report.OwnDevice());
  EXPECT_EQ(report.Canvas(), report.OwnDevice()->Canvas());
}

TEST(FrameModeTest, ThreePixelPenBoxesInEveryMode) {
  // 600 pixels per inch: the box runs from 600 to 1200.
  struct TCase {
    uint8_t Mode;
    TPenStyle Style;
    const char* Expected;
  };
  const std::vector<TCase> cases{
      {0, psSolid, "Rectangle(601,601,1200,1200) brush:clear pen:3 000000"},
      {1, psSolid, "Rectangle(600,600,1201,1201) brush:clear pen:3 000000"},
      {2, psSolid, "Rectangle(598,598,1203,1203) brush:clear pen:3 000000"},
      {0, psClear, "Rectangle(600,600,1202,1202) brush:clear pen:clear"},
      {2, psInsideFrame, "Rectangle(600,600,1201,1201) brush:clear pen:3 000000"},
  };
  for (const TCase& c : cases) {
    TRecordingReport report;
    InJob(report, [&] {
      report.SetFrameMode(c.Mode);
      report.SetPen(clBlack, c.Style, 3, pmCopy);
      report.Rectangle(1, 1, 2, 2);
    });
    EXPECT_EQ(report.FrameMode(), c.Mode);
    EXPECT_EQ(report.Log, (TLog{c.Expected, "EndDoc"})) << int(c.Mode);
  }
}

TEST(FrameModeTest, CornersInAnyOrderGiveTheSameBox) {
  TRecordingReport report;
  InJob(report, [&] {
    report.SetPen(clBlack, psSolid, 3, pmCopy);
    report.SetBrush(clRed, bsSolid, nullptr);
    report.Rectangle(2, 2, 1, 1);
    report.Rectangle(1, 1, 2, 2);
    report.Rectangle(2, 1, 1, 2);
    report.Ellipse(2, 2, 1, 1);
    report.Ellipse(1, 1, 2, 2);
  });
  ASSERT_EQ(report.Log.size(), 6u);
  EXPECT_EQ(report.Log[0], "Rectangle(601,601,1200,1200) brush:0000FF pen:3 000000");
  EXPECT_EQ(report.Log[1], report.Log[0]);
  EXPECT_EQ(report.Log[2], report.Log[0]);
  EXPECT_EQ(report.Log[3], "Ellipse(601,601,1200,1200) brush:0000FF pen:3 000000");
  EXPECT_EQ(report.Log[4], report.Log[3]);
}

TEST(GraphicSlotsTest, DoNothingInTheBaseEngine) {
  TRecordingReport report;
  InJob(report, [&] {
    report.RegisterGraphic(1);
    report.ReuseGraphic(1);
    report.UnregisterGraphic(1);
  });
  EXPECT_EQ(report.Log, TLog{"EndDoc"});
}

}  // namespace
