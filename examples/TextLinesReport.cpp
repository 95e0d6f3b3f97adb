// Example "lines": text lines in a few fonts.
#include "Examples.h"
#include "engine/VXBase.h"

namespace {

const char* const Paragraph[] = {
    "Reports are composed page by page: a cursor with margins and line spacing,",
    "fonts, tab stops with boxes and shading, lines, shapes and pictures.",
    "Every page is recorded as a page stream, which can be printed, previewed,",
    "kept as a snapshot file, or rendered into other formats such as plain text.",
};

void PrintBody(TBaseReport& R) {
  R.SetFontName("Arial");
  R.SetFontSize(16);
  R.SetBold(true);
  R.PrintLn("PagePress text lines");
  R.SetBold(false);
  R.SetFontSize(10);
  R.PrintLn("");
  R.SetFontName("Times New Roman");
  R.SetFontSize(12);
  for (const char* line : Paragraph) R.PrintLn(line);
  R.PrintLn("");
  R.SetFontName("Courier New");
  R.SetFontSize(10);
  R.PrintLn("Fixed pitch: 0123456789");
  R.PrintLn("");
  R.SetFontName("Arial");
  R.SetItalic(true);
  R.PrintJustify("Centred between the margins", pjCenter, R.MarginLeft(), 0,
                 R.PageWidth() - R.MarginLeft() - R.MarginRight());
  R.NewLine();
  R.SetItalic(false);
  R.PrintJustify("Right-aligned at the right margin", pjRight, R.MarginLeft(), 0,
                 R.PageWidth() - R.MarginLeft() - R.MarginRight());
  R.NewLine();
}

}  // namespace

void PrepareTextLinesReport(TBaseReport& Report) {
  Report.SetTitle("Text lines");
  Report.SetMarginLeft(1);
  Report.SetMarginRight(1);
  Report.SetMarginTop(1);
  Report.SetMarginBottom(1);
  Report.OnPrint = [&Report](TObject*) { PrintBody(Report); };
}
