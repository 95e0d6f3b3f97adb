// The job and page cycle: event order, page counts, failures, aborting.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "engine/RecordingReport.h"

namespace {

using TLog = std::vector<std::string>;

void LogPageStart(TObject* Owner, TBaseReport*) {
  static_cast<TRecordingReport*>(Owner)->Log.push_back("PageStart");
}
void LogPageEnd(TObject* Owner, TBaseReport*) {
  static_cast<TRecordingReport*>(Owner)->Log.push_back("PageEnd");
}

// Every event and listener writes into the engine's log.
void NoteEverything(TRecordingReport& report) {
  report.OnBeforePrint = report.Note("OnBeforePrint");
  report.OnAfterPrint = report.Note("OnAfterPrint");
  report.OnNewPage = report.Note("OnNewPage");
  report.OnNewColumn = report.Note("OnNewColumn");
  report.OnPrintHeader = report.Note("OnPrintHeader");
  report.OnPrintFooter = report.Note("OnPrintFooter");
  report.AddPageHook(0, &LogPageStart, &report);
  report.AddPageHook(1, &LogPageEnd, &report);
}

TEST(JobTest, EventsFireInPageOrderAcrossPages) {
  TRecordingReport report;
  report.SetTitle("Order");
  NoteEverything(report);
  report.OnPrintPage = [&report](TObject* Sender, int& PageNum) {
    EXPECT_EQ(Sender, &report);
    report.Log.push_back("Body:" + IntToStr(PageNum));
    return PageNum < 2;
  };
  report.Execute();
  const TLog expected{"OnBeforePrint", "BeginDoc:Order", "StartPage:1",   "PageStart",     "OnNewPage",
                      "OnPrintHeader", "Body:1",         "OnPrintFooter", "PageEnd",       "EndPage",
                      "StartPage:2",   "PageStart",      "OnNewPage",     "OnPrintHeader", "Body:2",
                      "OnPrintFooter", "PageEnd",        "EndDoc",        "OnAfterPrint"};
  EXPECT_EQ(report.Log, expected);
  EXPECT_FALSE(report.Printing());
}

TEST(JobTest, NewColumnFollowsNewPageWhenColumnsAreSet) {
  TRecordingReport report;
  NoteEverything(report);
  report.OnPrint = [&report](TObject*) {
    report.SetColumns(2, 0.25);
    report.Log.clear();
    report.NewPage();
  };
  report.Execute();
  const TLog expected{"OnPrintFooter", "PageEnd",   "EndPage",     "StartPage:2",
                      "PageStart",     "OnNewPage", "OnNewColumn", "OnPrintHeader",
                      "OnPrintFooter", "PageEnd",   "EndDoc",      "OnAfterPrint"};
  EXPECT_EQ(report.Log, expected);
}

TEST(JobTest, PrintPageReturningTrueThreeTimesGivesFourPages) {
  TRecordingReport report;
  int calls = 0;
  report.OnPrintPage = [&](TObject*, int&) { return ++calls <= 3; };
  report.Execute();
  EXPECT_EQ(calls, 4);
  EXPECT_EQ(report.CurrentPage(), 4);
  EXPECT_EQ(std::count(report.Log.begin(), report.Log.end(), "EndPage"), 3);
  EXPECT_EQ(report.Log.back(), "EndDoc");
}

TEST(JobTest, PrintPageMayRenumberThePage) {
  TRecordingReport report;
  report.OnPrintPage = [](TObject*, int& PageNum) {
    if (PageNum == 1) PageNum = 10;
    return PageNum == 10;
  };
  report.Execute();
  EXPECT_EQ(report.CurrentPage(), 11);
}

TEST(JobTest, OnPrintWinsOverOnPrintPage) {
  TRecordingReport report;
  int printCalls = 0;
  int pageCalls = 0;
  report.OnPrint = [&](TObject*) { ++printCalls; };
  report.OnPrintPage = [&](TObject*, int&) {
    ++pageCalls;
    return false;
  };
  report.Execute();
  EXPECT_EQ(printCalls, 1);
  EXPECT_EQ(pageCalls, 0);
}

TEST(JobTest, ExecuteWithoutHandlersProducesOnePage) {
  TRecordingReport report;
  report.Execute();
  const TLog expected{"BeginDoc:PagePress Report", "StartPage:1", "EndDoc"};
  EXPECT_EQ(report.Log, expected);
}

TEST(JobTest, ReportExceptionLeavesExecuteAfterEndJobAndAfterPrint) {
  TRecordingReport report;
  report.OnAfterPrint = [&report](TObject*) {
    EXPECT_FALSE(report.Printing());
    report.Log.push_back("OnAfterPrint");
  };
  report.OnPrint = [](TObject*) { throw std::runtime_error("report failed"); };
  EXPECT_THROW(report.Execute(), std::runtime_error);
  EXPECT_FALSE(report.Printing());
  ASSERT_GE(report.Log.size(), 2u);
  EXPECT_EQ(report.Log[report.Log.size() - 2], "EndDoc");
  EXPECT_EQ(report.Log.back(), "OnAfterPrint");
  // The engine is idle again and can run the next job.
  report.OnPrint = nullptr;
  report.Log.clear();
  report.Execute();
  EXPECT_EQ(report.Log.back(), "OnAfterPrint");
}

TEST(JobTest, FailingFooterStillEndsTheJob) {
  TRecordingReport report;
  report.OnAfterPrint = report.Note("OnAfterPrint");
  report.OnPrintFooter = [](TObject*) { throw EPagePress("footer"); };
  EXPECT_THROW(report.Execute(), EPagePress);
  EXPECT_FALSE(report.Printing());
  const TLog tail(report.Log.end() - 2, report.Log.end());
  EXPECT_EQ(tail, (TLog{"EndDoc", "OnAfterPrint"}));
}

TEST(JobTest, AbortReportUnwindsSilentlyAndAbortsTheDocument) {
  TRecordingReport report;
  report.OnAfterPrint = report.Note("OnAfterPrint");
  report.OnPrintFooter = report.Note("OnPrintFooter");
  bool reachedAfterAbort = false;
  report.OnPrint = [&](TObject*) {
    report.PrintLeft("before", 1);
    report.AbortReport();
    report.PrintLeft("after", 1);  // the next checked call unwinds
    reachedAfterAbort = true;
  };
  EXPECT_THROW(report.Execute(), EAbort);
  EXPECT_FALSE(reachedAfterAbort);
  EXPECT_FALSE(report.Printing());
  EXPECT_TRUE(report.Aborted());
  const TLog expected{"BeginDoc:PagePress Report", "StartPage:1", "PrintLeft(before,1)", "AbortDoc",
                      "OnAfterPrint"};
  EXPECT_EQ(report.Log, expected);
}

TEST(JobTest, AbortReportStopsThePrintPageLoop) {
  TRecordingReport report;
  int calls = 0;
  report.OnPrintPage = [&](TObject*, int&) {
    if (++calls == 2) report.AbortReport();
    return true;
  };
  report.Execute();  // the loop ends without any checked call after the abort
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(report.Log.back(), "AbortDoc");
}

TEST(JobTest, AbortPageReusesThePageNumber) {
  TRecordingReport report;
  std::vector<int> pages;
  report.OnPrintPage = [&](TObject*, int& PageNum) {
    pages.push_back(PageNum);
    if (pages.size() == 4) report.AbortPage();
    report.PrintLeft("body", 0);
    return pages.size() < 6;
  };
  report.Execute();
  EXPECT_EQ(pages, (std::vector<int>{1, 2, 3, 4, 4, 5}));
  // The aborted page's output is dropped.
  EXPECT_EQ(std::count(report.Log.begin(), report.Log.end(), "PrintLeft(body,0)"), 5);
}

TEST(JobTest, AbortPageTwiceOnOnePageCountsOnce) {
  TRecordingReport report;
  report.OnPrint = [&](TObject*) {
    report.NewPage();
    report.AbortPage();
    report.AbortPage();
    EXPECT_EQ(report.CurrentPage(), 1);
  };
  report.Execute();
}

TEST(JobTest, PagesOutsideTheSelectionFireEventsButDropOutput) {
  TRecordingReport report;
  report.SetFirstPage(2);
  report.SetLastPage(3);
  report.OnPrintHeader = report.Note("OnPrintHeader");
  report.OnPrintPage = [&](TObject*, int& PageNum) {
    report.PrintLeft("page" + IntToStr(PageNum), 0);
    return PageNum < 4;
  };
  report.Execute();
  const TLog expected{"BeginDoc:PagePress Report",
                      "OnPrintHeader",
                      "EndPage",
                      "StartPage:2",
                      "OnPrintHeader",
                      "PrintLeft(page2,0)",
                      "EndPage",
                      "StartPage:3",
                      "OnPrintHeader",
                      "PrintLeft(page3,0)",
                      "EndPage",
                      "OnPrintHeader",
                      "EndDoc"};
  EXPECT_EQ(report.Log, expected);
}

TEST(JobTest, ExecuteStopsWhenBeginJobStartsNoJob) {
  TRecordingReport report;
  report.RefuseJob = true;
  NoteEverything(report);
  bool printed = false;
  report.OnPrint = [&](TObject*) { printed = true; };
  report.Execute();
  EXPECT_FALSE(printed);
  EXPECT_EQ(report.Log, TLog{"NoPrinter"});
}

TEST(JobTest, MisuseOfTheJobStateRaises) {
  TRecordingReport report;
  EXPECT_THROW(report.NewPage(), EPagePress);
  EXPECT_THROW(report.AbortPage(), EPagePress);
  EXPECT_THROW(report.PrintLeft("x", 0), EPagePress);
  try {
    report.CheckPrinting();
    FAIL();
  } catch (const EPagePress& e) {
    EXPECT_EQ(e.Message(), "Invalid method call.  PagePress is not printing.");
  }
  report.OnPrint = [&](TObject*) {
    EXPECT_THROW(report.BeginJob(), EPagePress);
    EXPECT_THROW(report.ResetPageMetrics(), EPagePress);
    EXPECT_THROW(report.SetCopies(2), EPagePress);
    try {
      report.SetPaperSize(0, 8, 10);
      ADD_FAILURE();
    } catch (const EPagePress& e) {
      EXPECT_EQ(e.Message(), "Invalid method call.  PagePress already printing.");
    }
  };
  report.Execute();
}

TEST(JobTest, DestinationsRouteOutputByKind) {
  TRecordingReport report;  // kind 0: printer
  report.OnPrint = [&](TObject*) {
    report.PreviewOnly();
    EXPECT_TRUE(report.OutputSuppressed());
    report.PrintLeft("preview only", 0);
    report.AllDestinations();
    report.PrintLeft("all", 0);
    report.PrinterOnly();
    EXPECT_FALSE(report.OutputSuppressed());
    report.Kind = 1;
    EXPECT_TRUE(report.OutputSuppressed());
    report.Kind = 0;
  };
  report.Execute();
  EXPECT_EQ(std::count(report.Log.begin(), report.Log.end(), "PrintLeft(preview only,0)"), 0);
  EXPECT_EQ(std::count(report.Log.begin(), report.Log.end(), "PrintLeft(all,0)"), 1);
  EXPECT_EQ(report.Destinations(), (TOutputKinds{0, 2, 3, 4}));
}

TEST(JobTest, PageHooksAreAddedAndRemovedByCallbackAndOwner) {
  TRecordingReport report;
  TRecordingReport other;
  report.AddPageHook(2, &LogPageStart, &report);  // no such kind
  report.AddPageHook(0, &LogPageStart, &report);
  report.AddPageHook(0, &LogPageStart, &other);
  report.RemovePageHook(0, &LogPageEnd, &report);  // never added
  report.RemovePageHook(0, &LogPageStart, &other);
  report.OnPrint = [&](TObject*) { report.NewPage(); };
  report.Execute();
  EXPECT_EQ(std::count(report.Log.begin(), report.Log.end(), "PageStart"), 2);
  EXPECT_TRUE(other.Log.empty());
}

TEST(JobTest, ReportDateTimeIsTakenWhenTheJobBegins) {
  TRecordingReport report;
  const TDateTime before = Now();
  report.Execute();
  EXPECT_GE(report.ReportDateTime(), before);
  EXPECT_LE(report.ReportDateTime(), Now());
}

}  // namespace
