#pragma once
// TLxRenderText: a report as a plain text file. Every text run of a page is laid onto a grid
// of fixed-width character cells (the size of "W" in 10-point Courier New on the screen), one
// text line per grid row; pages are written as lines ending in CR LF. Graphics are not
// output. The writer puts all pages into one file or each page into its own file, can close
// the vertical gaps to a fixed number of blank lines, and can end each page with a dashed line
// and a form-feed line.
#include <memory>
#include <string>
#include <vector>

#include "render/LxRender_Document.h"

// Blank lines between two distinct text rows: none kept as on the page (lsActual), or 0 to 5.
enum TTextLineSpacing { lsActual, lsNoBlank, lsOneBlank, lsTwoBlank, lsThreeBlank, lsFourBlank, lsFiveBlank };

class TLxRenderText : public TLxRenderDocument {
public:
  explicit TLxRenderText(TComponent* AOwner = nullptr);
  ~TLxRenderText() override;
  std::string ClassName() const override { return "TLxRenderText"; }

  // ===== Published properties =====
  TTextLineSpacing LineSpacing() const { return FLineSpacing; }
  void SetLineSpacing(TTextLineSpacing Value) { FLineSpacing = Value; }
  // End every page with a line holding the form-feed character alone.
  bool PageBreaks() const { return FPageBreaks; }
  void SetPageBreaks(bool Value) { FPageBreaks = Value; }
  // End every page with a line of "-" as wide as the page.
  bool PageEndLines() const { return FPageEndLines; }
  void SetPageEndLines(bool Value) { FPageEndLines = Value; }
  // Each page into its own file: report.txt, report0002.txt, report0003.txt...
  bool SeparateFilePerPage() const { return FSeparateFilePerPage; }
  void SetSeparateFilePerPage(bool Value) { FSeparateFilePerPage = Value; }

  // The character cell in pixels (0 until first measured; then kept for the render's life).
  double CellWidth() const { return FCellWidth; }
  double CellHeight() const { return FCellHeight; }

  // ===== Overrides =====
  void Arc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4) override;
  void Chord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4) override;
  void Ellipse(double X1, double Y1, double X2, double Y2) override;
  void LineTo(double X, double Y) override;
  void Pie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4) override;
  void PrintBitmapRect(TBitmap* Bitmap, double X1, double Y1, double X2, double Y2) override;
  void PrintBitmap(TBitmap* Bitmap, double X, double Y, double ScaleX, double ScaleY) override;
  void StretchDraw(const TRect& Rect, TGraphic* Graphic) override;
  void Draw(TGraphic* Graphic, double X, double Y) override;
  void Rectangle(double X1, double Y1, double X2, double Y2) override;
  void FillRect(const TRect& Rect) override;
  void TextRect(const TRect& Rect, double X, double Y, const std::string& Text) override;
  void RoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3) override;
  void DocBegin() override;
  void DocEnd() override;
  void PageBegin() override;
  void PageEnd() override;
  void PrintRender(TStream* Stream, const std::string& OutputFileName) override;
  void FlushText() override;

private:
  // Measures the cell once; Charset and Pitch from the first run being placed.
  void MeasureCell(TFontCharset Charset, TFontPitch Pitch);
  void MeasureCell();
  // Pictures and shapes are not output, but they end a text block.
  void GraphicOperation();
  int BlankLinesBetweenRows() const;
  std::string BlankLine() const;
  void PlaceText(int Line, int Column, const std::string& Text);
  void LayOutPage();
  void WritePage();

  TTextLineSpacing FLineSpacing = lsOneBlank;
  bool FPageBreaks = true;
  bool FPageEndLines = true;
  bool FSeparateFilePerPage = false;
  double FCellWidth = 0;
  double FCellHeight = 0;
  // The runs of the current page ordered by Y then X, each X replaced by its column.
  TLxTextRuns FPageRuns;
  std::vector<std::string> FPageLines;
};
