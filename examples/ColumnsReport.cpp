// Example "columns": a long list in three columns over several pages, with a "Page x of y"
// footer on each page. The page count is not known while the pages are recorded: the footer
// carries macro placeholders that are resolved when the stream is output.
#include "Examples.h"
#include "engine/VXBase.h"
#include "platform/Format.h"

namespace {

constexpr int ItemCount = 400;
const char* const Colours[] = {"red", "orange", "yellow", "green", "blue", "indigo", "violet"};

void PrintHeader(TBaseReport& R) {
  R.ClearColumns();
  R.Home();
  R.SetFontName("Arial");
  R.SetFontSize(14);
  R.SetBold(true);
  R.PrintLn("Numbered colours");
  R.SetBold(false);
  R.SetFontSize(10);
  R.PrintLn("");
  // The columns start below the heading: a new column begins at the section's top.
  R.SetSectionTop(R.LineTop());
  R.SetColumns(3, 0.25);
  R.SetLineNum(1);
}

void PrintFooter(TBaseReport& R) {
  R.SetFontName("Arial");
  R.SetFontSize(9);
  R.SetYPos(R.PageHeight() - 0.5);
  R.PrintCenter("Page " + R.Macro(11) + " of " + R.Macro(10), R.PageWidth() / 2);
}

void PrintBody(TBaseReport& R) {
  for (int i = 1; i <= ItemCount; ++i) {
    R.PrintLn(Format("%.3d  %s", {i, Colours[(i - 1) % 7]}));
  }
}

}  // namespace

void PrepareColumnsReport(TBaseReport& Report) {
  Report.SetTitle("Columns");
  Report.SetMarginLeft(1);
  Report.SetMarginRight(1);
  Report.SetMarginTop(1);
  Report.SetMarginBottom(1);
  Report.OnPrintHeader = [&Report](TObject*) { PrintHeader(Report); };
  Report.OnPrintFooter = [&Report](TObject*) { PrintFooter(Report); };
  // The engine never starts a page by itself: the report does when the last column is full.
  Report.OnEndOfSection = [&Report](TObject*) { Report.NewPage(); };
  Report.OnPrint = [&Report](TObject*) { PrintBody(Report); };
}
