// The filer's records: state written only on change, text with its accuracy method, lines
// with and without merging, shapes in page inches, raw data.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FilerRun.h"
#include "engine/VXDefine.h"

namespace {

TEST(FilerStateTest, EqualColourChangesWriteOneRecord) {
  TFilerRun run;
  const auto pages = run.Run([](TReportFiler& F) {
    F.SetFontColor(clRed);
    F.SetFontColor(clRed);
    F.SetBrush(clBlue, bsSolid, nullptr);
    F.SetBrush(clBlue, bsSolid, nullptr);
    F.SetPen(clGreen, psSolid, 1, pmCopy);
    F.SetPen(clGreen, psSolid, 1, pmCopy);
  });
  const auto body = AfterStateBlock(pages[0]);
  EXPECT_EQ(CodesOf(body), (std::vector<uint8_t>{52, 41, 42, 71}))
      << "brush style was clear, pen colour black";
  EXPECT_EQ(body[0].Integers[0], clRed);
  EXPECT_EQ(body[1].Integers[0], clBlue);
  EXPECT_EQ(body[3].Integers[0], clGreen);
}

TEST(FilerStateTest, AFontNameAloneWritesTheNameAndThenTheHeight) {
  TFilerRun run;
  const auto pages = run.Run([](TReportFiler& F) { F.SetFontName("Courier New"); });
  const auto body = AfterStateBlock(pages[0]);
  ASSERT_EQ(CodesOf(body), (std::vector<uint8_t>{51, 54}));
  EXPECT_EQ(body[0].Text, "Courier New");
  // The reference text in 10-point Courier New: 70 characters of 6 points each.
  EXPECT_NEAR(body[1].Singles[1], 70 * 6.0 / 72.0, 0.05);
  EXPECT_NEAR(body[1].Singles[0], 10.0 / 72.0, 0.002);
}

TEST(FilerStateTest, StyleChangesWriteTheHeightAndScriptsDoNot) {
  TFilerRun run;
  const auto pages = run.Run([](TReportFiler& F) {
    F.SetBold(true);
    F.SetSuperscript(true);
    F.SetFontRotation(90);
    F.SetFontSize(20);
  });
  const auto body = AfterStateBlock(pages[0]);
  ASSERT_EQ(CodesOf(body), (std::vector<uint8_t>{55, 54, 59, 61, 54}));
  EXPECT_EQ(body[3].Integers[0], 90);
  EXPECT_NEAR(body[4].Singles[0], 20.0 / 72.0, 0.002);
}

TEST(FilerStateTest, AStateChangeOnAPageOutsideTheSelectionIsRestatedOnTheNextPage) {
  TFilerRun run;
  run.Filer.SetPageSelection("1,3");
  const auto pages = run.Run([](TReportFiler& F) {
    F.NewPage();
    F.SetFontColor(clRed);
    F.NewPage();
    F.SetFontColor(clRed);
  });
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_TRUE(AfterStateBlock(pages[1]).empty());
  EXPECT_EQ(pages[1][4].Code, 52);
  EXPECT_EQ(pages[1][4].Integers[0], clRed);
}

TEST(FilerStateTest, TextRecordsCarryTheBaselineAndTheScaledPosition) {
  TFilerRun run;
  run.Filer.SetScaleX(50);
  const auto pages = run.Run([](TReportFiler& F) {
    F.SetOriginX(1);
    F.SetYPos(2);
    F.PrintLeft("left", 1.5);
    F.PrintCenter("centre", 3);
    F.PrintRight("right", 4);
  });
  const auto body = AfterStateBlock(pages[0]);
  std::vector<TStreamRecord> texts;
  for (const TStreamRecord& r : body) {
    if (r.Code >= 23 && r.Code <= 25) texts.push_back(r);
  }
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(CodesOf(texts), (std::vector<uint8_t>{24, 23, 25}));
  EXPECT_FLOAT_EQ(texts[0].Singles[0], 2.0f) << "the baseline";
  EXPECT_FLOAT_EQ(texts[0].Singles[1], (1.5f + 1) * 0.5f) << "origin added, then the scale";
  EXPECT_FLOAT_EQ(texts[1].Singles[1], 2.0f);
  EXPECT_FLOAT_EQ(texts[2].Singles[1], 2.5f);
  EXPECT_EQ(texts[2].Text, "right");
}

TEST(FilerStateTest, PositioningRecordsSpacedTextAsABlockOfItsMeasuredWidth) {
  TFilerRun run;
  run.Filer.SetAccuracyMethod(amPositioning);
  double width = 0;
  const auto pages = run.Run([&width](TReportFiler& F) {
    width = F.TextWidth("two words");
    F.PrintLeft("two words", 1);
    F.PrintCenter("two words", 4);
    F.PrintLeft("single", 1);
    F.SetFontRotation(90);
    F.PrintLeft("turned words", 1);
  });
  std::vector<TStreamRecord> texts;
  for (const TStreamRecord& r : AfterStateBlock(pages[0])) {
    if (!TextsOf({r}).empty()) texts.push_back(r);
  }
  ASSERT_EQ(CodesOf(texts), (std::vector<uint8_t>{33, 33, 24, 24}));
  EXPECT_FLOAT_EQ(texts[0].Singles[1], 1.0f);
  EXPECT_NEAR(texts[0].Singles[2], width, 1e-6);
  EXPECT_NEAR(texts[1].Singles[1], 4 - width / 2, 1e-6);
}

TEST(FilerStateTest, TextMovesTheCursorAsACanvasEngineDoes) {
  TFilerRun run;
  double width = 0;
  double afterLeft = 0;
  double afterCenter = 0;
  double afterRight = 0;
  run.Run([&](TReportFiler& F) {
    width = F.TextWidth("Cursor");
    F.PrintLeft("Cursor", 1);
    afterLeft = F.XPos();
    F.PrintCenter("Cursor", 3);
    afterCenter = F.XPos();
    F.PrintRight("Cursor", 5);
    afterRight = F.XPos();
  });
  EXPECT_NEAR(afterLeft, 1 + width, 1e-9);
  EXPECT_NEAR(afterCenter, 3 + width / 2, 1e-9);
  EXPECT_NEAR(afterRight, 5, 1e-9);
}

TEST(FilerStateTest, LongTextIsCutOutsidePlaceholders) {
  TFilerRun run;
  const std::string text = std::string(16380, 'a') + "\xFD$VXCM10" + "tail";
  const auto pages = run.Run([&text](TReportFiler& F) { F.PrintLeft(text, 1); });
  const auto texts = TextsOf(pages[0]);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], std::string(16380, 'a'));
}

TEST(FilerStateTest, LongRawDataIsSplitIntoSeveralRecords) {
  TFilerRun run;
  std::string data(40000, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
  const auto pages = run.Run([&data](TReportFiler& F) { F.PrintData(data); });
  std::string joined;
  std::vector<size_t> sizes;
  for (const TStreamRecord& r : pages[0]) {
    if (r.Code != pcPrintData) continue;
    joined += r.Text;
    sizes.push_back(r.Text.size());
  }
  EXPECT_EQ(sizes, (std::vector<size_t>{16383, 16383, 7234}));
  EXPECT_EQ(joined, data);
}

TEST(FilerStateTest, PrintDataStreamRecordsTheByteCountItCopies) {
  TFilerRun run;
  TMemoryStream source;
  source.WriteBuffer("0123456789", 10);
  const auto pages = run.Run([&source](TReportFiler& F) {
    source.SetPosition(4);
    F.PrintDataStream(&source, 0);  // from the position to the end
    source.SetPosition(1);
    F.PrintDataStream(&source, 3);
    source.SetPosition(8);
    F.PrintDataStream(&source, 50);  // more than there is
  });
  std::vector<std::string> blocks;
  for (const TStreamRecord& r : pages[0]) {
    if (r.Code != pcPrintDataStream) continue;
    EXPECT_EQ(r.Integers[0], static_cast<int32_t>(r.Data.size()));
    blocks.emplace_back(r.Data.begin(), r.Data.end());
  }
  EXPECT_EQ(blocks, (std::vector<std::string>{"456789", "123", "89"}));
}

TEST(FilerStateTest, LinesAreMergedUnlessDrawnDirectly) {
  TFilerRun run;
  const auto pages = run.Run([](TReportFiler& F) {
    F.MoveTo(1, 1);
    F.LineTo(2, 1);
    F.LineTo(3, 1);  // continues the level line
    F.LineTo(4, 2);  // sloping: recorded at once
    F.NewPage();
    F.SetDirectLines(true);
    F.MoveTo(1, 1);
    F.LineTo(2, 1);
  });
  const auto first = AfterStateBlock(pages[0]);
  ASSERT_EQ(CodesOf(first), (std::vector<uint8_t>{12, 11, 12, 11}));
  EXPECT_FLOAT_EQ(first[0].Singles[0], 3.0f);
  EXPECT_FLOAT_EQ(first[1].Singles[0], 4.0f);
  EXPECT_FLOAT_EQ(first[2].Singles[0], 1.0f) << "the merged level line comes at the page end";
  EXPECT_FLOAT_EQ(first[3].Singles[0], 3.0f);
  EXPECT_EQ(CodesOf(AfterStateBlock(pages[1])), (std::vector<uint8_t>{12, 11}));
}

TEST(FilerStateTest, ShapesAreRecordedInPageInches) {
  TFilerRun run;
  run.Filer.SetUnits(unCM);
  const auto pages = run.Run([](TReportFiler& F) {
    F.Rectangle(2.54, 2.54, 5.08, 7.62);
    F.RoundRect(0, 0, 2.54, 2.54, 1.27, 2.54);
    F.FillRect(TRect{600, 1200, 1200, 1800});
    F.Polygon({TPoint{600, 600}, TPoint{1200, 600}, TPoint{900, 1200}});
    F.SetFrameMode(1);
  });
  const auto body = AfterStateBlock(pages[0]);
  ASSERT_EQ(CodesOf(body), (std::vector<uint8_t>{18, 20, 8, 14, 35}));
  EXPECT_EQ(body[0].Singles, (std::vector<float>{1, 1, 2, 3}));
  EXPECT_EQ(body[1].Singles, (std::vector<float>{0, 0, 1, 1, 0.5f, 1}));
  EXPECT_EQ(body[2].Singles, (std::vector<float>{1, 2, 2, 3})) << "device pixels at 600 per inch";
  EXPECT_EQ(body[3].Integers[0], 2);
  EXPECT_EQ(body[3].Singles, (std::vector<float>{1, 1, 2, 1, 1.5f, 2}));
  EXPECT_EQ(body[4].Integers[0], 1);
}

TEST(FilerStateTest, APolygonIndexBeyond16BitsIsRefused) {
  TFilerRun run;
  run.Run([](TReportFiler& F) {
    std::vector<TPoint> points(32768, TPoint{1, 1});
    F.Polyline(points);  // index 32767: still fits
    points.push_back(TPoint{2, 2});
    try {
      F.Polygon(points);
      FAIL() << "no failure";
    } catch (const EPagePress& e) {
      EXPECT_EQ(e.Message(), "Too many points for one polygon in a page stream.");
    }
  });
  const auto pages = ReadAllPages(&run.Stream);
  EXPECT_EQ(CountCode(pages[0], pcPolyline), 1u);
  EXPECT_EQ(CountCode(pages[0], pcPolygon), 0u);
}

TEST(FilerStateTest, DestinationMarksAreWrittenWhenTheyChange) {
  TFilerRun run;
  const auto pages = run.Run([](TReportFiler& F) {
    F.AllDestinations();
    F.PreviewOnly();
    F.PreviewOnly();
    F.PrinterOnly();
    F.AllDestinations();
    F.SetOrientation(poLandScape);
    F.SelectBin("Tray 2");
  });
  const auto body = AfterStateBlock(pages[0]);
  EXPECT_EQ(CodesOf(body), (std::vector<uint8_t>{84, 85, 86, 87, 88}));
  EXPECT_EQ(body[4].Text, "Tray 2");
}

TEST(FilerStateTest, CopyRectIsRefused) {
  TFilerRun run;
  run.Run([](TReportFiler& F) {
    try {
      F.CopyRect(TRect{}, nullptr, TRect{});
      FAIL() << "no failure";
    } catch (const EPagePress& e) {
      EXPECT_EQ(e.Message(), "CopyRect() not supported in file mode.");
    }
  });
}

}  // namespace
