// Tab stops: defining and querying them, the walk, printing into cells, shading and box
// lines, ruling, the tab stack and the tab slots.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "engine/RecordingReport.h"

namespace {

using TLog = std::vector<std::string>;
constexpr double Tolerance = 1e-9;
constexpr int Own = -32768;  // "the cell's own setting"

// Runs Body in a job whose current line runs from 1 in to 1 1/6 in (600 to 700 device
// pixels); the log keeps what Body and the page end drew.
TLog InJob(TRecordingReport& report, const std::function<void()>& Body) {
  report.OnPrint = [&](TObject*) {
    report.SetLineHeight(1.0 / 6.0);
    report.SetLineTop(1.0);
    report.Log.clear();
    Body();
    report.Log.push_back("BodyEnd");
  };
  report.Execute();
  return report.Log;
}

// Three cells: 1..2 in (left, margin 0.1), 2..3 in (right, margin 0.1), 3..4 in (centre).
void ThreeCells(TBaseReport& report) {
  report.SetTab(1, pjLeft, 1, 10, blNone, 0);
  report.SetTab(Own, pjRight, 1, 10, blNone, 0);
  report.SetTab(Own, pjCenter, 1, 10, blNone, 0);
}

// ===== Defining and querying =====

TEST(TabDefinitionTest, NegativePositionContinuesAtThePreviousRightEdge) {
  TRecordingReport report;
  report.SetTab(0.5, pjLeft, 1.5, 5, blLeftRight, 0);
  report.SetTab(Own, pjLeft, 1.5, 5, blLeftRight, 0);
  ASSERT_NE(report.GetTab(2), nullptr);
  EXPECT_NEAR(report.GetTab(2)->Left, 2.0, Tolerance);
  EXPECT_NEAR(report.TabStart(2), 2.05, Tolerance);
  EXPECT_NEAR(report.TabEnd(2), 3.45, Tolerance);
  EXPECT_NEAR(report.TabWidth(2), 1.4, Tolerance);
  EXPECT_NEAR(report.TabStart(1), 0.55, Tolerance);
  EXPECT_TRUE(report.GetTab(2)->BoxLeft);
  EXPECT_TRUE(report.GetTab(2)->BoxRight);
  EXPECT_FALSE(report.GetTab(2)->BoxTop);
  EXPECT_FALSE(report.GetTab(2)->BoxBottom);
}

TEST(TabDefinitionTest, FirstNegativePositionStartsAtTheLeftMarginNotTheSection) {
  TRecordingReport report;
  report.SetMarginLeft(0.75);
  report.SetSectionLeft(2);
  report.SetTab(Own, pjLeft, 1, 0, blNone, 0);
  EXPECT_NEAR(report.GetTab(1)->Left, 0.75, Tolerance);
}

TEST(TabDefinitionTest, WidthZeroKeepsNoMarginBoxOrShade) {
  TRecordingReport report;
  report.SetTab(1.25, pjRight, 0, 10, blAll, 50);
  const TTab* tab = report.GetTab(1);
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(tab->Left, 1.25);
  EXPECT_EQ(tab->Justify, pjRight);
  EXPECT_EQ(tab->Width, 0);
  EXPECT_EQ(tab->Margin, 0);
  EXPECT_FALSE(tab->BoxLeft || tab->BoxRight || tab->BoxTop || tab->BoxBottom);
  EXPECT_EQ(tab->Shade, 0);
  EXPECT_EQ(report.TabWidth(1), 0);
}

TEST(TabDefinitionTest, PositionsFollowTheUnitButMarginsStayHundredthsOfAnInch) {
  TRecordingReport report;
  report.SetUnits(unMM);
  report.SetTab(25.4, pjLeft, 50.8, 10, blTopBottom, 30);
  const TTab* tab = report.GetTab(1);
  EXPECT_NEAR(tab->Left, 1.0, Tolerance);
  EXPECT_NEAR(tab->Width, 2.0, Tolerance);
  EXPECT_NEAR(tab->Margin, 0.1, Tolerance);
  EXPECT_EQ(tab->Shade, 30);
  EXPECT_TRUE(tab->BoxTop && tab->BoxBottom);
  EXPECT_NEAR(report.TabStart(1), 27.94, 1e-9);
  EXPECT_NEAR(report.TabEnd(1), 73.66, 1e-9);
  EXPECT_NEAR(report.TabWidth(1), 45.72, 1e-9);
}

TEST(TabDefinitionTest, MissingTabsAnswerNothing) {
  TRecordingReport report;
  EXPECT_EQ(report.GetTab(0), nullptr);
  EXPECT_EQ(report.GetTab(1), nullptr);
  report.SetTab(1, pjLeft, 1, 10, blNone, 0);
  EXPECT_EQ(report.GetTab(0), nullptr);  // the walk has not begun
  EXPECT_EQ(report.GetTab(2), nullptr);
  EXPECT_EQ(report.GetTab(-1), nullptr);
  EXPECT_EQ(report.TabStart(2), 0);
  EXPECT_EQ(report.TabEnd(2), 0);
  EXPECT_EQ(report.TabWidth(0), 0);
}

TEST(TabDefinitionTest, TabShadeIsClampedToPercent) {
  TRecordingReport report;
  const std::vector<std::pair<int, int>> cases{{150, 100}, {-5, 0}, {37, 37}, {100, 100}, {0, 0}};
  for (const auto& [given, stored] : cases) {
    report.SetTabShade(given);
    EXPECT_EQ(report.TabShade(), stored) << given;
  }
}

// ===== The walk and printing into cells =====

TEST(TabWalkTest, PiecesLandInTheCellsAfterTheFirst) {
  TRecordingReport report;
  ThreeCells(report);
  const TLog log = InJob(report, [&] { report.Print("A\tB\tC"); });
  EXPECT_EQ(log, (TLog{"PrintLeft(A,0)", "PrintLeft(B,1.1)", "PrintRight(C,2.9)", "BodyEnd", "EndDoc"}));
}

TEST(TabWalkTest, WithOneCellTheWalkRunsOffAndTextFollowsAtTheCursor) {
  TRecordingReport report;
  report.SetTab(1, pjLeft, 1, 10, blNone, 0);
  double widthOfB = 0;
  const TLog log = InJob(report, [&] {
    widthOfB = report.TextWidth("B");
    report.SetXPos(0.25);
    report.Print("A\tB\tC");
    EXPECT_EQ(report.GetTab(0), nullptr);
    report.Tab();  // stays off the end
    EXPECT_EQ(report.GetTab(0), nullptr);
    report.NewLine();  // restarts the walk
    report.Tab();
    EXPECT_EQ(report.GetTab(0), report.GetTab(1));
  });
  // C follows B where the cursor was left.
  const std::string c = Format("PrintLeft(C,%g)", {1.1 + widthOfB});
  EXPECT_GT(widthOfB, 0);
  EXPECT_EQ(log, (TLog{"PrintLeft(A,0.25)", "PrintLeft(B,1.1)", c, "BodyEnd", "EndDoc"}));
}

TEST(TabWalkTest, TabJustifyForcesOneJustificationUntilSetBackToFour) {
  TRecordingReport report;
  ThreeCells(report);
  const TLog log = InJob(report, [&] {
    report.TabJustify = pjCenter;
    report.Print("\tB\tC\tD");
    report.NewLine();
    report.TabJustify = pjBlock;
    report.Print("\tB");
    report.NewLine();
    report.TabJustify = 4;
    report.Print("\tB\tC\tD");
  });
  EXPECT_EQ(log,
            (TLog{"PrintCenter(B,1.5)", "PrintCenter(C,2.5)", "PrintCenter(D,3.5)", "PrintBlock(B,1.1,0.8)",
                  "PrintLeft(B,1.1)", "PrintRight(C,2.9)", "PrintCenter(D,3.5)", "BodyEnd", "EndDoc"}));
}

TEST(TabWalkTest, CellsMoveWithTheColumn) {
  TRecordingReport report;
  report.SetTab(0.5, pjLeft, 1.5, 10, blNone, 20);
  const TLog log = InJob(report, [&] {
    report.SetColumns(2, 0);  // 4.25 in wide on the 8.5 in page
    report.SetColumnNum(2);
    report.SetLineTop(1.0);
    report.Print("\tB");
  });
  EXPECT_EQ(log, (TLog{"TabRectangle(2850,600,3750,700) brush:CCCCCC pen:clear", "PrintLeft(B,4.85)",
                       "BodyEnd", "EndDoc"}));
  EXPECT_NEAR(report.TabStart(1), 0.6, Tolerance);  // without the column offset
}

TEST(TabWalkTest, PrintTabClipsToTheCellAndPrintsNothingAfterTheEnd) {
  TRecordingReport report;
  report.SetTab(1, pjLeft, 1, 10, blNone, 0);
  const std::string longText(200, 'W');
  const TLog log = InJob(report, [&] {
    report.PrintTab("Hi");
    report.NewLine();
    report.PrintTab(longText);
    report.PrintTab("Lost");
  });
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[0], "PrintLeft(Hi,1.1)");
  // The long text is cut to what fits 0.8 in.
  const std::string prefix = "PrintLeft(W";
  ASSERT_TRUE(log[1].starts_with(prefix)) << log[1];
  const size_t ws = log[1].find(',') - std::string("PrintLeft(").size();
  EXPECT_GT(ws, 0u);
  EXPECT_LT(ws, longText.size());
  EXPECT_TRUE(log[1].ends_with(",1.1)"));
  // After the walk ran off the end no text reaches the device.
  for (size_t i = 2; i < log.size(); ++i) EXPECT_EQ(log[i].find("Lost"), std::string::npos) << log[i];
}

TEST(TabWalkTest, PagesOutsideTheSelectionDoNotAdvance) {
  TRecordingReport report;
  ThreeCells(report);
  report.SetFirstPage(2);
  report.OnPrintPage = [&](TObject*, int& PageNum) {
    report.Tab();
    if (PageNum == 1) {
      EXPECT_EQ(report.GetTab(0), nullptr);
    } else {
      EXPECT_EQ(report.GetTab(0), report.GetTab(1));
    }
    return PageNum < 2;
  };
  report.Execute();
}

TEST(TabWalkTest, TabsOutsideAJobAreRefused) {
  TRecordingReport report;
  ThreeCells(report);
  const std::vector<std::pair<const char*, std::function<void()>>> calls{
      {"Tab", [&] { report.Tab(); }},
      {"PrintTab", [&] { report.PrintTab("x"); }},
      {"RuleTabs", [&] { report.RuleTabs(1); }},
  };
  for (const auto& [name, call] : calls) {
    try {
      call();
      ADD_FAILURE() << name << " raised nothing";
    } catch (const EPagePress& e) {
      EXPECT_EQ(e.Message(), "Invalid method call.  PagePress is not printing.") << name;
    }
  }
}

TEST(TabWalkTest, TabsDefinedBeforeTheJobSurviveItsStart) {
  TRecordingReport report;
  ThreeCells(report);
  InJob(report, [&] {
    ASSERT_NE(report.GetTab(3), nullptr);
    EXPECT_EQ(report.TabJustify, 4);
  });
}

// ===== Shading and boxes =====

TEST(TabDrawingTest, ShadedBoxedCellDrawsShadeAtOnceAndMergedEdgesAtPageEnd) {
  TRecordingReport report;
  report.SetTab(0.5, pjLeft, 1.5, 5, blAll, 0);
  report.SetTabShade(20);
  const TLog log = InJob(report, [&] {
    report.SetTextBKMode(bkOpaque);
    report.Print("\tCell");
    // The brush, pen and background mode of the report are back.
    EXPECT_EQ(report.Canvas()->Brush()->Style(), bsClear);
    EXPECT_EQ(report.Canvas()->Pen()->Style(), psSolid);
    EXPECT_EQ(report.TextBKMode(), bkOpaque);
  });
  const TLog expected{"TabRectangle(300,600,1200,700) brush:CCCCCC pen:clear",  // 255 * 80 div 100 = 204
                      "PrintLeft(Cell,0.55)", "BodyEnd",
                      // vertical edges, the latest first: right, then left
                      "MoveTo(1200,600)", "LineTo(1200,700) pen:1 000000", "MoveTo(300,600)",
                      "LineTo(300,700) pen:1 000000",
                      // horizontal edges: bottom, then top
                      "MoveTo(300,700)", "LineTo(1200,700) pen:1 000000", "MoveTo(300,600)",
                      "LineTo(1200,600) pen:1 000000", "EndDoc"};
  EXPECT_EQ(log, expected);
}

TEST(TabDrawingTest, ShadeComesFromTheArgumentTheCellOrTabShade) {
  struct TCase {
    const char* Name;
    uint8_t CellShade;
    int TabShade;
    int Argument;
    TColor ShadeColor;
    const char* Expected;  // nullptr: no shade
  };
  const std::vector<TCase> cases{
      {"TabShade", 0, 20, Own, clBlack, "brush:CCCCCC"},
      {"cell over TabShade", 50, 20, Own, clBlack, "brush:7F7F7F"},
      {"argument over cell", 50, 20, 100, clBlack, "brush:000000"},
      {"argument zero", 50, 20, 0, clBlack, nullptr},
      {"no shade", 0, 0, Own, clBlack, nullptr},
      {"tinted colour", 50, 0, Own, clRed, "brush:7F7FFF"},
      {"argument above 100", 0, 0, 300, clBlack, "brush:000000"},
  };
  for (const TCase& c : cases) {
    TRecordingReport report;
    report.SetTab(0.5, pjLeft, 1.5, 0, blNone, c.CellShade);
    report.SetTabShade(c.TabShade);
    report.SetShadeColor(c.ShadeColor);
    const TLog log = InJob(report, [&] { report.Tab(Own, Own, Own, Own, c.Argument); });
    if (c.Expected == nullptr) {
      EXPECT_EQ(log, (TLog{"BodyEnd", "EndDoc"})) << c.Name;
    } else {
      EXPECT_EQ(log, (TLog{std::string("TabRectangle(300,600,1200,700) ") + c.Expected + " pen:clear",
                           "BodyEnd", "EndDoc"}))
          << c.Name;
    }
  }
}

TEST(TabDrawingTest, WidthArgumentsDrawEveryEdgeInOrderWithABlackPen) {
  TRecordingReport report;
  report.SetTab(0.5, pjLeft, 1.5, 0, blNone, 0);
  const TLog log = InJob(report, [&] {
    report.SetDirectLines(true);  // shows the order in which the edges are drawn
    report.SetPen(clRed, psDash, 2, pmCopy);
    report.Tab(1, 1, 1, 1, Own);
    EXPECT_EQ(report.Canvas()->Pen()->Color(), clRed);
    EXPECT_EQ(report.Canvas()->Pen()->Style(), psDash);
    EXPECT_EQ(report.Canvas()->Pen()->Width(), 2);
    report.SetDirectLines(false);
  });
  const TLog expected{"MoveTo(300,700)",  "LineTo(300,600) pen:1 000000",
                      "MoveTo(1200,600)", "LineTo(1200,700) pen:1 000000",
                      "MoveTo(300,600)",  "LineTo(1200,600) pen:1 000000",
                      "MoveTo(1200,700)", "LineTo(300,700) pen:1 000000",
                      "BodyEnd",          "EndDoc"};
  EXPECT_EQ(log, expected);
}

TEST(TabDrawingTest, OwnEdgesUseThePenOfTheMomentAndNegativeWidthsHundredths) {
  TRecordingReport report;
  report.SetTab(0.5, pjLeft, 1.5, 0, blLeftRight, 0);
  const TLog log = InJob(report, [&] {
    report.SetDirectLines(true);
    report.SetPen(clRed, psSolid, 2, pmCopy);
    report.Tab(Own, Own, -1, 0, 0);  // the top edge 0.01 in: 6 pixels at 600 per inch
    report.SetDirectLines(false);
  });
  const TLog expected{
      "MoveTo(300,700)", "LineTo(300,600) pen:2 0000FF",  "MoveTo(1200,600)", "LineTo(1200,700) pen:2 0000FF",
      "MoveTo(300,600)", "LineTo(1200,600) pen:6 000000", "BodyEnd",          "EndDoc"};
  EXPECT_EQ(log, expected);
}

TEST(TabDrawingTest, ZeroArgumentsDrawNothingButStillMoveOn) {
  TRecordingReport report;
  report.SetTab(0.5, pjLeft, 1.5, 0, blAll, 50);
  report.SetTab(Own, pjLeft, 1.5, 0, blAll, 50);
  const TLog log = InJob(report, [&] {
    report.Tab(0, 0, 0, 0, 0);
    EXPECT_EQ(report.GetTab(0), report.GetTab(1));
    report.Tab(0, 0, 0, 0, 0);
    EXPECT_EQ(report.GetTab(0), report.GetTab(2));
  });
  EXPECT_EQ(log, (TLog{"BodyEnd", "EndDoc"}));
}

TEST(TabDrawingTest, RuleTabsDrawsTopEdgesOnlyAndRestartsTheWalk) {
  TRecordingReport report;
  report.SetTab(0.5, pjLeft, 1.5, 0, blNone, 0);
  report.SetTab(Own, pjLeft, 1.5, 0, blNone, 0);  // touches the first
  report.SetTab(4, pjLeft, 1, 0, blNone, 0);
  report.SetTabShade(30);
  const TLog log = InJob(report, [&] {
    report.Tab();
    report.RuleTabs(1);
    EXPECT_EQ(report.GetTab(0), nullptr);
    report.Tab();
    EXPECT_EQ(report.GetTab(0), report.GetTab(1));
    report.Log.push_back("Ruled");
  });
  // The shade of the first Tab, nothing but top edges from RuleTabs, merged at page end.
  const TLog expected{"TabRectangle(300,600,1200,700) brush:B2B2B2 pen:clear",
                      "TabRectangle(300,600,1200,700) brush:B2B2B2 pen:clear",
                      "Ruled",
                      "BodyEnd",
                      "MoveTo(2400,600)",
                      "LineTo(3000,600) pen:1 000000",
                      "MoveTo(300,600)",
                      "LineTo(2100,600) pen:1 000000",
                      "EndDoc"};
  EXPECT_EQ(log, expected);
}

// ===== Stack and slots =====

TEST(TabStoreTest, SlotsShareTheirListsWithTheCurrentOne) {
  TRecordingReport report;
  report.SetTab(1, pjLeft, 1, 0, blNone, 0);
  TTab* first = report.GetTab(1);
  EXPECT_TRUE(report.SaveTabs(1));
  report.ClearTabs();
  EXPECT_EQ(report.GetTab(1), nullptr);
  report.SetTab(2, pjRight, 2, 0, blNone, 0);
  report.SetTab(Own, pjRight, 2, 0, blNone, 0);
  EXPECT_TRUE(report.SaveTabs(10));
  EXPECT_TRUE(report.RestoreTabs(1));
  EXPECT_EQ(report.GetTab(1), first);  // the very same list
  EXPECT_EQ(report.GetTab(2), nullptr);
  EXPECT_TRUE(report.RestoreTabs(10));
  EXPECT_EQ(report.GetTab(2)->Left, 4);
  // Appending to a list that a slot also holds changes what the slot gives back.
  report.SetTab(Own, pjLeft, 1, 0, blNone, 0);
  report.ClearTabs();
  report.RestoreTabs(10);
  EXPECT_NE(report.GetTab(3), nullptr);
}

TEST(TabStoreTest, SlotNumbersAndEmptyListsAreRefused) {
  TRecordingReport report;
  EXPECT_FALSE(report.SaveTabs(1));  // nothing to save
  report.SetTab(1, pjLeft, 1, 0, blNone, 0);
  EXPECT_FALSE(report.SaveTabs(0));
  EXPECT_FALSE(report.SaveTabs(11));
  EXPECT_FALSE(report.RestoreTabs(0));
  EXPECT_FALSE(report.RestoreTabs(11));
  EXPECT_NE(report.GetTab(1), nullptr);  // unchanged by the refusals
  EXPECT_TRUE(report.RestoreTabs(5));    // an empty slot gives an empty list
  EXPECT_EQ(report.GetTab(1), nullptr);
}

TEST(TabStoreTest, ClearAllTabsEmptiesTheSlots) {
  TRecordingReport report;
  report.SetTab(1, pjLeft, 1, 0, blNone, 0);
  report.SaveTabs(3);
  report.ClearAllTabs();
  EXPECT_EQ(report.GetTab(1), nullptr);
  report.RestoreTabs(3);
  EXPECT_EQ(report.GetTab(1), nullptr);
}

TEST(TabStoreTest, PushAndPopKeepListsOnAStack) {
  TRecordingReport report;
  EXPECT_FALSE(report.PushTabs());  // empty list
  EXPECT_FALSE(report.PopTabs());   // empty stack
  report.SetTab(1, pjLeft, 1, 0, blNone, 0);
  TTab* first = report.GetTab(1);
  EXPECT_TRUE(report.PushTabs());
  report.ClearTabs();
  report.SetTab(5, pjLeft, 1, 0, blNone, 0);
  EXPECT_TRUE(report.PushTabs());
  report.ClearTabs();
  EXPECT_TRUE(report.PopTabs());
  EXPECT_EQ(report.GetTab(1)->Left, 5);
  EXPECT_TRUE(report.PopTabs());
  EXPECT_EQ(report.GetTab(1), first);
  EXPECT_FALSE(report.PopTabs());
  EXPECT_EQ(report.GetTab(1), first);
}

TEST(TabStoreTest, RestoringRestartsTheWalk) {
  TRecordingReport report;
  ThreeCells(report);
  report.SaveTabs(2);
  report.PushTabs();
  InJob(report, [&] {
    report.Tab();
    report.Tab();
    EXPECT_EQ(report.GetTab(0), report.GetTab(2));
    report.RestoreTabs(2);
    EXPECT_EQ(report.GetTab(0), nullptr);
    report.Tab();
    EXPECT_EQ(report.GetTab(0), report.GetTab(1));
    report.PopTabs();
    EXPECT_EQ(report.GetTab(0), nullptr);
  });
}

}  // namespace
