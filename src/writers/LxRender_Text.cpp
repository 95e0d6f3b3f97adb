// TLxRenderText: runs onto a character grid, pages into lines, lines into one file or one
// file per page.
#include "writers/LxRender_Text.h"

#include <algorithm>
#include <cmath>

#include "platform/MathUtils.h"
#include "platform/Stream.h"
#include "render/LxRender_Utils.h"

namespace {

constexpr double PixelsPerInch = 96.0;
// Damaged streams may place text anywhere: no page holds more lines or wider lines than
// this, so a wild coordinate cannot make the writer build gigabytes of blanks.
constexpr double MaxGridIndex = 10000;

// A grid position (row, column or count) rounded half to even, within the limits above.
int GridIndex(double Value) {
  if (!std::isfinite(Value)) return 0;
  return static_cast<int>(Round(std::clamp(Value, -MaxGridIndex, MaxGridIndex)));
}

}  // namespace

TLxRenderText::TLxRenderText(TComponent* AOwner) : TLxRenderDocument(AOwner) {
  SetDisplayName("Text Document (*.txt)");
  SetFileExtension("*.txt");
}

TLxRenderText::~TLxRenderText() = default;

// ===== The character cell =====

void TLxRenderText::MeasureCell(TFontCharset Charset, TFontPitch Pitch) {
  if (FCellWidth > 0) return;
  TFont font;
  font.SetName("Courier New");
  font.SetSize(10);
  font.SetCharset(Charset);
  font.SetPitch(Pitch);
  const TSize extent = TextExtent(&font, "W");
  // A font that measures nothing would put every run in column 0 of row 0.
  FCellWidth = std::max(1, extent.cx);
  FCellHeight = std::max(1, extent.cy);
}

void TLxRenderText::MeasureCell() {
  MeasureCell(DEFAULT_CHARSET, fpDefault);
}

int TLxRenderText::BlankLinesBetweenRows() const {
  return FLineSpacing == lsActual ? 0 : static_cast<int>(FLineSpacing) - 1;
}

std::string TLxRenderText::BlankLine() const {
  return std::string(static_cast<size_t>(std::max(0, GridIndex(PageWidth() * PixelsPerInch / FCellWidth))),
                     ' ');
}

// ===== Text =====

void TLxRenderText::FlushText() {
  TLxTextRuns& runs = TextRuns();
  if (!runs.empty()) {
    MeasureCell(runs.front()->Font.Charset, static_cast<TFontPitch>(runs.front()->Font.Pitch));
  } else {
    MeasureCell();
  }
  for (const auto& run : runs) {
    const double length = static_cast<double>(run->Text.size());
    double column;
    switch (run->Alignment) {
      case 1:  // right: the text ends where the run ends
        column = GridIndex((run->X + run->Width) / FCellWidth) - length;
        break;
      case 2:  // centre
        column =
            GridIndex((run->X + run->Width / 2) / FCellWidth) - static_cast<double>(run->Text.size() / 2) + 1;
        break;
      default:  // left and justified
        column = GridIndex(run->X / FCellWidth);
        break;
    }
    run->X = column;
    InsertSorted(*run, FPageRuns);
  }
  ClearTextRuns();
  SetTextPending(false);
}

void TLxRenderText::TextRect(const TRect& Rect, double X, double Y, const std::string& Text) {
  if (!CurrentPageInRange()) return;
  if (TextPending()) FlushText();
  MeasureCell();
  TLxTextDetails run;
  run.Text = Text;
  FillFontAttributes(run);
  run.Font.Size = Converter()->Font()->Size();
  run.Angle = Converter()->FontRotation();
  run.Alignment = 0;
  // The rectangle is in points; the text is measured in screen pixels.
  run.Width = (Rect.Right - Rect.Left) * PixelsPerInch / 72.0;
  run.Height = Converter()->FontHeight() * PixelsPerInch;
  const double measured = TextExtent(Converter()->Font(), Text).cx;
  if (run.Width < measured) run.Text = ClipText(Text, run.Width, measured);
  run.X = GridIndex(X * PixelsPerInch / FCellWidth);
  run.Y = Y * PixelsPerInch;
  InsertSorted(run, FPageRuns);
}

// ===== Graphics: not output, but they end a text block =====

void TLxRenderText::GraphicOperation() {
  if (CurrentPageInRange() && TextPending()) FlushText();
}

void TLxRenderText::Arc(double, double, double, double, double, double, double, double) {
  GraphicOperation();
}

void TLxRenderText::Chord(double, double, double, double, double, double, double, double) {
  GraphicOperation();
}

void TLxRenderText::Ellipse(double, double, double, double) {
  GraphicOperation();
}

void TLxRenderText::LineTo(double, double) {
  GraphicOperation();
}

void TLxRenderText::Pie(double, double, double, double, double, double, double, double) {
  GraphicOperation();
}

void TLxRenderText::PrintBitmapRect(TBitmap*, double, double, double, double) {
  GraphicOperation();
}

void TLxRenderText::PrintBitmap(TBitmap*, double, double, double, double) {
  GraphicOperation();
}

void TLxRenderText::StretchDraw(const TRect&, TGraphic*) {
  GraphicOperation();
}

void TLxRenderText::Draw(TGraphic*, double, double) {
  GraphicOperation();
}

void TLxRenderText::Rectangle(double, double, double, double) {
  GraphicOperation();
}

void TLxRenderText::FillRect(const TRect&) {
  GraphicOperation();
}

void TLxRenderText::RoundRect(double, double, double, double, double, double) {
  GraphicOperation();
}

// ===== Document and pages =====

void TLxRenderText::PrintRender(TStream* Stream, const std::string& OutputFileName) {
  TLxRenderDocument::PrintRender(Stream, OutputFileName);
  if (Cancelled()) return;
  // The file is opened when the document begins.
  RunConverter(Stream);
}

void TLxRenderText::DocBegin() {
  if (Cancelled()) return;
  TLxRenderDocument::DocBegin();
  FPageRuns.clear();
  FPageLines.clear();
  if (!FSeparateFilePerPage && !Cancelled()) OpenOutputFile(OutputFiles()->Strings(0));
}

void TLxRenderText::DocEnd() {
  FPageRuns.clear();
  FPageLines.clear();
  CloseFiles();
  TLxRenderDocument::DocEnd();
}

void TLxRenderText::PageBegin() {
  if (!CurrentPageInRange()) return;
  TLxRenderDocument::PageBegin();
  // An OnPageBegin handler may have cancelled the generation.
  if (!CurrentPageInRange()) return;
  FPageLines.clear();
  if (FSeparateFilePerPage && RenderedPageNo() > 1) AddPageFileName();
}

void TLxRenderText::PlaceText(int Line, int Column, const std::string& Text) {
  const size_t line = static_cast<size_t>(std::max(Line, 1));
  const size_t at = static_cast<size_t>(std::max(Column, 1)) - 1;
  while (FPageLines.size() < line) FPageLines.push_back(BlankLine());
  std::string& target = FPageLines[line - 1];
  if (at >= target.size()) {
    target += Text;
    return;
  }
  // Later runs overwrite earlier ones where they overlap.
  target.replace(at, std::min(Text.size(), target.size() - at), Text);
}

void TLxRenderText::LayOutPage() {
  int line = 0;
  int lastRow = -1;
  for (const auto& run : FPageRuns) {
    const int row = GridIndex(run->Y / FCellHeight);
    if (FLineSpacing == lsActual) {
      line = row;
    } else if (row != lastRow) {
      line += BlankLinesBetweenRows() + 1;
      lastRow = row;
    }
    PlaceText(std::min(line, static_cast<int>(MaxGridIndex)), GridIndex(run->X), run->Text);
  }
  if (FLineSpacing == lsActual) {
    const size_t lines =
        static_cast<size_t>(std::max(0, GridIndex(PageHeight() * PixelsPerInch / FCellHeight)));
    while (FPageLines.size() < lines) FPageLines.push_back(BlankLine());
  } else {
    for (int i = 0; i < BlankLinesBetweenRows(); ++i) FPageLines.push_back(BlankLine());
  }
  if (FPageEndLines) FPageLines.push_back(std::string(BlankLine().size(), '-'));
  if (FPageBreaks) FPageLines.push_back("\f");
}

void TLxRenderText::WritePage() {
  std::string text;
  for (const std::string& line : FPageLines) text += line + "\r\n";
  if (!FSeparateFilePerPage) {
    Print(text);
    return;
  }
  const int index = RenderedPageNo() - 1;
  if (index < 0 || index >= OutputFiles()->Count()) return;
  std::unique_ptr<TStream> file = CreateOutputFile(OutputFiles()->Strings(index));
  if (file && !text.empty()) file->WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void TLxRenderText::PageEnd() {
  if (!CurrentPageInRange()) return;
  if (TextPending()) FlushText();
  // A page without text still gets its blank and end lines.
  MeasureCell();
  LayOutPage();
  WritePage();
  FPageRuns.clear();
  TLxRenderDocument::PageEnd();
}
