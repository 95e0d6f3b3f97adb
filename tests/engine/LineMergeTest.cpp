// Line merging: the collector's merge rule, and the engine collecting horizontal and
// vertical pieces during a page and drawing them when the page ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>

#include "engine/RecordingReport.h"
#include "engine/VXLineCollector.h"

namespace {

using TLog = std::vector<std::string>;

TLineSegment Piece(double Start, double End, double Pos = 1, int Width = 1, TColor Color = clBlack) {
  TLineSegment piece;
  piece.Start = Start;
  piece.End = End;
  piece.Pos = Pos;
  piece.Width = Width;
  piece.Color = Color;
  return piece;
}

// The collector's segments as "Start..End@Pos" texts, newest first.
std::vector<std::string> Spans(const TLineCollector& Lines) {
  std::vector<std::string> spans;
  for (const TLineSegment& s : Lines.Segments())
    spans.push_back(Format("%g..%g@%g", {s.Start, s.End, s.Pos}));
  return spans;
}

struct TMergeCase {
  const char* Name;
  std::vector<TLineSegment> Pieces;
  std::vector<std::string> Expected;
};

TEST(LineCollectorTest, MergesTouchingPiecesOfOnePen) {
  const std::vector<TMergeCase> cases{
      {"overlapping", {Piece(1, 3), Piece(2, 5)}, {"1..5@1"}},
      {"end inside", {Piece(3, 5), Piece(1, 4)}, {"1..5@1"}},
      {"inside adds nothing", {Piece(1, 3), Piece(1.00005, 2)}, {"1..3@1"}},
      {"swallows a shorter one", {Piece(2, 3), Piece(1, 5)}, {"1..5@1"}},
      {"touching within the tolerance", {Piece(1, 2), Piece(2.00005, 3)}, {"1..3@1"}},
      {"gap beyond the tolerance", {Piece(1, 2), Piece(2.001, 3)}, {"2.001..3@1", "1..2@1"}},
      {"other line", {Piece(1, 3), Piece(2, 5, 1.001)}, {"2..5@1.001", "1..3@1"}},
      {"same line within the tolerance", {Piece(1, 3), Piece(2, 5, 1.00005)}, {"1..5@1.00005"}},
      {"different widths", {Piece(1, 3, 1, 1), Piece(2, 5, 1, 3)}, {"2..5@1", "1..3@1"}},
      {"different colours", {Piece(1, 3), Piece(2, 5, 1, 1, clRed)}, {"2..5@1", "1..3@1"}},
      {"bridging two", {Piece(1, 2), Piece(3, 4), Piece(1.5, 3.5)}, {"1..4@1"}},
  };
  for (const TMergeCase& c : cases) {
    TLineCollector lines;
    for (const TLineSegment& piece : c.Pieces) lines.Add(piece);
    EXPECT_EQ(Spans(lines), c.Expected) << c.Name;
  }
}

TEST(LineCollectorTest, MergedSegmentKeepsThePen) {
  TLineCollector lines;
  TLineSegment dashed = Piece(1, 3, 1, 2, clBlue);
  dashed.Style = psDash;
  dashed.Mode = pmXor;
  lines.Add(dashed);
  TLineSegment more = dashed;
  more.Start = 2;
  more.End = 6;
  lines.Add(more);
  ASSERT_EQ(lines.Segments().size(), 1u);
  const TLineSegment& merged = lines.Segments().front();
  EXPECT_EQ(merged.Style, psDash);
  EXPECT_EQ(merged.Mode, pmXor);
  EXPECT_EQ(merged.Color, clBlue);
  EXPECT_EQ(merged.Width, 2);
  const auto taken = lines.Take();
  EXPECT_EQ(taken.size(), 1u);
  EXPECT_TRUE(lines.Empty());
}

// Runs Body as the report's only page; the log keeps what came after BeginDoc and the
// first page start.
TLog RunPage(TRecordingReport& report, const std::function<void()>& Body) {
  report.OnPrint = [&](TObject*) {
    report.Log.clear();
    Body();
    report.Log.push_back("BodyEnd");
  };
  report.Execute();
  return report.Log;
}

void Line(TBaseReport& report, double X1, double Y1, double X2, double Y2) {
  report.MoveTo(X1, Y1);
  report.LineTo(X2, Y2);
}

// 600 device pixels per inch (the engine's render device).
TEST(LineMergeTest, OverlappingPiecesBecomeOneLineAtPageEnd) {
  TRecordingReport report;
  const TLog log = RunPage(report, [&] {
    Line(report, 1, 1, 3, 1);
    Line(report, 2, 1, 5, 1);
  });
  const TLog expected{"BodyEnd", "MoveTo(600,600)", "LineTo(3000,600) pen:1 000000", "EndDoc"};
  EXPECT_EQ(log, expected);
}

TEST(LineMergeTest, VerticalPiecesMergeAndComeBeforeHorizontalOnes) {
  TRecordingReport report;
  const TLog log = RunPage(report, [&] {
    Line(report, 1, 1, 2, 1);
    Line(report, 1, 2, 1, 1);  // drawn upwards
    Line(report, 1, 2, 1, 3);
  });
  const TLog expected{"BodyEnd",
                      "MoveTo(600,600)",
                      "LineTo(600,1800) pen:1 000000",
                      "MoveTo(600,600)",
                      "LineTo(1200,600) pen:1 000000",
                      "EndDoc"};
  EXPECT_EQ(log, expected);
}

TEST(LineMergeTest, DifferentWidthsStayTwoLinesEachWithItsPen) {
  TRecordingReport report;
  const TLog log = RunPage(report, [&] {
    Line(report, 1, 1, 3, 1);
    report.SetPen(clBlack, psSolid, 3, pmCopy);
    Line(report, 2, 1, 5, 1);
    report.SetPen(clRed, psSolid, 2, pmCopy);
  });
  const TLog expected{"BodyEnd",
                      "MoveTo(1200,600)",
                      "LineTo(3000,600) pen:3 000000",
                      "MoveTo(600,600)",
                      "LineTo(1800,600) pen:1 000000",
                      "EndDoc"};
  EXPECT_EQ(log, expected);
  // The flush puts back the pen of the moment.
  EXPECT_EQ(report.Canvas()->Pen()->Color(), clRed);
  EXPECT_EQ(report.Canvas()->Pen()->Width(), 2);
}

TEST(LineMergeTest, PieceWithinTheToleranceAddsNothing) {
  TRecordingReport report;
  const TLog log = RunPage(report, [&] {
    Line(report, 1, 1, 3, 1);
    Line(report, 1.00005, 1, 2, 1);
  });
  const TLog expected{"BodyEnd", "MoveTo(600,600)", "LineTo(1800,600) pen:1 000000", "EndDoc"};
  EXPECT_EQ(log, expected);
}

TEST(LineMergeTest, SlopingLineIsDrawnAtOnceAndInOrder) {
  TRecordingReport report;
  const TLog log = RunPage(report, [&] {
    Line(report, 1, 1, 3, 1);
    report.LineTo(4, 2);  // on from the last point
    report.Rectangle(1, 1, 2, 2);
  });
  const TLog expected{"MoveTo(1800,600)",
                      "LineTo(2400,1200) pen:1 000000",
                      "Rectangle(600,600,1201,1201) brush:clear pen:1 000000",
                      "BodyEnd",
                      "MoveTo(600,600)",
                      "LineTo(1800,600) pen:1 000000",
                      "EndDoc"};
  EXPECT_EQ(log, expected);
}

TEST(LineMergeTest, ChangingTheOriginAfterCollectingDoesNotMoveTheLine) {
  TRecordingReport report;
  const TLog log = RunPage(report, [&] {
    report.SetOriginX(1);
    Line(report, 1, 1, 3, 1);  // lands at 2..4 in
    report.SetOriginX(0.5);
    report.SetOriginY(2);
  });
  const TLog expected{"BodyEnd", "MoveTo(1200,600)", "LineTo(2400,600) pen:1 000000", "EndDoc"};
  EXPECT_EQ(log, expected);
}

TEST(LineMergeTest, PiecesAtDifferentOriginsMergeWhereTheyLand) {
  TRecordingReport report;
  const TLog log = RunPage(report, [&] {
    Line(report, 1, 1, 2, 1);
    report.SetOriginX(1);
    Line(report, 1, 1, 2, 1);  // 2..3 in: touches the first piece
  });
  const TLog expected{"BodyEnd", "MoveTo(600,600)", "LineTo(1800,600) pen:1 000000", "EndDoc"};
  EXPECT_EQ(log, expected);
}

TEST(LineMergeTest, EachPageDrawsItsOwnLinesBeforeItCloses) {
  TRecordingReport report;
  report.OnPrintPage = [&](TObject*, int& PageNum) {
    Line(report, PageNum, 1, PageNum + 1, 1);
    return PageNum < 2;
  };
  report.Execute();
  const TLog expected{"BeginDoc:PagePress Report",
                      "StartPage:1",
                      "MoveTo(600,600)",
                      "LineTo(1200,600) pen:1 000000",
                      "EndPage",
                      "StartPage:2",
                      "MoveTo(1200,600)",
                      "LineTo(1800,600) pen:1 000000",
                      "EndDoc"};
  EXPECT_EQ(report.Log, expected);
}

TEST(LineMergeTest, DirectLinesDrawAtOnceAndCollectNothing) {
  TRecordingReport report;
  const TLog log = RunPage(report, [&] {
    report.SetDirectLines(true);
    Line(report, 1, 1, 3, 1);
    report.SetDirectLines(false);
  });
  const TLog expected{"MoveTo(600,600)", "LineTo(1800,600) pen:1 000000", "BodyEnd", "EndDoc"};
  EXPECT_EQ(log, expected);
}

TEST(LineMergeTest, AnAbortedJobDiscardsItsPieces) {
  TRecordingReport report;
  TLog log = RunPage(report, [&] {
    Line(report, 1, 1, 3, 1);
    report.AbortReport();
  });
  EXPECT_EQ(
      std::count_if(log.begin(), log.end(), [](const std::string& e) { return e.starts_with("LineTo"); }), 0);
  // Nothing of the aborted job turns up in the next one.
  log = RunPage(report, [] {});
  const TLog expected{"BodyEnd", "EndDoc"};
  EXPECT_EQ(log, expected);
}

TEST(LineMergeTest, CollectLineReportsWhatItTookAndMovesTheLastPoint) {
  TRecordingReport report;
  RunPage(report, [&] {
    report.MoveTo(1, 1);
    EXPECT_TRUE(report.CollectLine(1, 2));   // upright
    EXPECT_TRUE(report.CollectLine(3, 2));   // level
    EXPECT_FALSE(report.CollectLine(4, 4));  // sloping
    EXPECT_EQ(report.LastLineX(), 4);
    EXPECT_EQ(report.LastLineY(), 4);
    report.SetOriginX(1);
    EXPECT_TRUE(report.CollectLine(3, 5));  // lands at x = 4
    EXPECT_EQ(report.LastLineX(), 4);
    report.SetDirectLines(true);
    EXPECT_FALSE(report.CollectLine(3, 6));
    EXPECT_EQ(report.LastLineY(), 6);
    report.SetDirectLines(false);
    report.ClearPendingLines();
  });
  EXPECT_EQ(report.Log, (TLog{"BodyEnd", "EndDoc"}));
}

}  // namespace
