// TBaseReport: tab stops and their walk, cell shading, box lines and ruling, the tab stack
// and the tab slots. Lists are shared by reference between the current list, the stack and
// the slots; a list lives as long as one of them holds it.
#include <algorithm>

#include "engine/VXBase.h"

namespace {

// Tab argument meaning "use the cell's own setting".
constexpr int TabDefault = -32768;

// Keeps the canvas pen and brush of the moment and puts them back.
class TCanvasToolsKeeper {
public:
  explicit TCanvasToolsKeeper(TCanvas* Canvas) : FCanvas(Canvas) {
    FPen.Assign(Canvas->Pen());
    FBrush.Assign(Canvas->Brush());
  }
  void Restore() {
    FCanvas->Brush()->Assign(&FBrush);
    FCanvas->Pen()->Assign(&FPen);
  }

private:
  TCanvas* FCanvas;
  TPen FPen;
  TBrush FBrush;
};

// A cell's box in units, on the current line.
struct TCellBox {
  double Left;
  double Top;
  double Right;
  double Bottom;
};

// Fills the cell with the shade (percent of the shading colour, tinted toward white),
// without outline; the brush, pen and background mode come back afterwards.
void ShadeCell(TBaseReport& Report, const TCellBox& Cell, int Shade) {
  TCanvas* canvas = Report.Canvas();
  TCanvasToolsKeeper keeper(canvas);
  const TBKMode savedMode = Report.TextBKMode();
  auto restore = [&] {
    Report.SetTextBKMode(savedMode);
    keeper.Restore();
  };
  try {
    canvas->Brush()->SetBitmap(nullptr);  // a pattern would win over the solid style
    canvas->Brush()->SetColor(ShadeToColor(Report.ShadeColor(), static_cast<uint8_t>(std::min(Shade, 100))));
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Pen()->SetStyle(psClear);
    Report.SetTextBKMode(bkTransparent);
    Report.TabRectangle(Cell.Left, Cell.Top, Cell.Right, Cell.Bottom);
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

// One edge of a cell box. Width TabDefault: only when the cell asks for the edge, with the
// pen of the caller (StartPen); 0: never; otherwise always, with a black solid pen of that
// width (pixels, or hundredths of an inch when negative).
void DrawCellEdge(TBaseReport& Report, TPen* StartPen, int Width, bool CellEdge, double X1, double Y1,
                  double X2, double Y2) {
  if (Width == 0) return;
  TPen* pen = Report.Canvas()->Pen();
  if (Width == TabDefault) {
    if (!CellEdge) return;
    pen->Assign(StartPen);
  } else {
    pen->Assign(Report.CreatePen(clBlack, psSolid, Width, pmCopy).get());
  }
  Report.MoveTo(X1, Y1);
  Report.LineTo(X2, Y2);
}

// The four edges in their fixed order, each drawn from its first point to its second.
void DrawCellBox(TBaseReport& Report, const TTab& Tab, const TCellBox& Cell, int LeftWidth, int RightWidth,
                 int TopWidth, int BottomWidth) {
  TPen startPen;
  TPen* pen = Report.Canvas()->Pen();
  startPen.Assign(pen);
  try {
    DrawCellEdge(Report, &startPen, LeftWidth, Tab.BoxLeft, Cell.Left, Cell.Bottom, Cell.Left, Cell.Top);
    DrawCellEdge(Report, &startPen, RightWidth, Tab.BoxRight, Cell.Right, Cell.Top, Cell.Right, Cell.Bottom);
    DrawCellEdge(Report, &startPen, TopWidth, Tab.BoxTop, Cell.Left, Cell.Top, Cell.Right, Cell.Top);
    DrawCellEdge(Report, &startPen, BottomWidth, Tab.BoxBottom, Cell.Right, Cell.Bottom, Cell.Left,
                 Cell.Bottom);
  } catch (...) {
    pen->Assign(&startPen);
    throw;
  }
  pen->Assign(&startPen);
}

}  // namespace

// ===== Defining tab stops =====

void TBaseReport::SetTab(double Pos, TPrintJustify Justify, double Width, double Margin, TBoxLines BoxLines,
                         uint8_t Shade) {
  if (!FTabs || FTabs->empty()) {
    FTabs = std::make_shared<TTabList>();
    FTabRestart = true;
  }
  TTab tab;
  if (Pos >= 0) {
    tab.Left = XUnitsToInch(Pos);
  } else if (FTabs->empty()) {
    tab.Left = FLeftMarginPos;  // the margin, not the section edge
  } else {
    tab.Left = FTabs->back().Left + FTabs->back().Width;
  }
  tab.Justify = Justify;
  // A plain position keeps nothing but its place and justification.
  if (Width > 0) {
    tab.Width = XUnitsToInch(Width);
    tab.Margin = Margin / 100.0;
    tab.BoxLeft = (BoxLines & blLeft) != 0;
    tab.BoxRight = (BoxLines & blRight) != 0;
    tab.BoxTop = (BoxLines & blTop) != 0;
    tab.BoxBottom = (BoxLines & blBottom) != 0;
    tab.Shade = Shade;
  }
  FTabs->push_back(tab);
}

void TBaseReport::ClearTabs() {
  FTabs.reset();
  ResetTabs();
}

void TBaseReport::ClearAllTabs() {
  ClearTabs();
  for (auto& slot : FTabSlots) slot.reset();
}

void TBaseReport::SetTabShade(int Value) {
  FTabShade = std::clamp(Value, 0, 100);
}

// ===== Querying tab stops =====

TTab* TBaseReport::GetTab(int Index) const {
  if (!FTabs) return nullptr;
  const int position = Index == 0 ? FTabIndex : Index - 1;
  if (position < 0 || position >= static_cast<int>(FTabs->size())) return nullptr;
  return &(*FTabs)[position];
}

double TBaseReport::TabStart(int Index) const {
  const TTab* tab = GetTab(Index);
  return tab ? XInchToUnits(tab->Left + tab->Margin) : 0;
}

double TBaseReport::TabEnd(int Index) const {
  const TTab* tab = GetTab(Index);
  return tab ? XInchToUnits(tab->Left + tab->Width - tab->Margin) : 0;
}

double TBaseReport::TabWidth(int Index) const {
  const TTab* tab = GetTab(Index);
  return tab ? XInchToUnits(tab->Width - 2 * tab->Margin) : 0;
}

// ===== The walk =====

void TBaseReport::ResetTabs() {
  FTabIndex = -1;
  FTabPending = false;
  FTabRestart = FTabs && !FTabs->empty();
}

void TBaseReport::Tab(int LeftWidth, int RightWidth, int TopWidth, int BottomWidth, int Shade) {
  CheckPrinting();
  if (OutputSuppressed()) return;
  // The next cell; a walk that ran off the end stays there until it is restarted.
  const int count = FTabs ? static_cast<int>(FTabs->size()) : 0;
  if (FTabIndex >= 0) {
    FTabIndex = FTabIndex + 1 < count ? FTabIndex + 1 : -1;
  } else if (count > 0 && FTabRestart) {
    FTabIndex = 0;
    FTabRestart = false;
  }
  if (FTabIndex < 0) {
    FTabPending = false;
    return;
  }
  FTabPending = true;
  const TTab tab = (*FTabs)[FTabIndex];  // a copy: drawing may run report code
  if (tab.Width == 0) return;
  const double columnOffset = (FColumnNum - 1) * FColumnWidth;
  const TCellBox cell{XInchToUnits(columnOffset + tab.Left), LineTop(),
                      XInchToUnits(columnOffset + tab.Left + tab.Width), LineBottom()};
  int shade = Shade;
  if (shade == TabDefault) shade = tab.Shade != 0 ? tab.Shade : FTabShade;
  if (shade > 0) ShadeCell(*this, cell, shade);
  DrawCellBox(*this, tab, cell, LeftWidth, RightWidth, TopWidth, BottomWidth);
}

bool TBaseReport::PrintTabCell(const std::string& Text) {
  const TTab* current = GetTab(0);
  if (!FTabPending || current == nullptr) return false;
  const TTab tab = *current;
  const TPrintJustify justify = TabJustify <= 3 ? static_cast<TPrintJustify>(TabJustify) : tab.Justify;
  // Left text starts at the margin, right text ends at it, centred text is centred on the
  // whole cell and block text fills the cell between the margins.
  PrintJustify(Text, justify, (FColumnNum - 1) * FColumnWidth + tab.Left, tab.Margin, tab.Width);
  FTabPending = false;
  return true;
}

void TBaseReport::PrintTab(const std::string& Text) {
  Tab();
  // Cut to the cell; after the walk ran off the end that is nothing at all.
  Print(ClipText(Text, TabWidth(0)));
}

void TBaseReport::RuleTabs(int Width) {
  CheckPrinting();
  if (OutputSuppressed()) return;
  ResetTabs();
  const size_t count = FTabs ? FTabs->size() : 0;
  for (size_t i = 0; i < count; ++i) Tab(0, 0, Width, 0, 0);
  ResetTabs();
}

// ===== Stack and slots =====

bool TBaseReport::PushTabs() {
  if (!FTabs || FTabs->empty()) return false;
  FTabStack.push_back(FTabs);
  return true;
}

bool TBaseReport::PopTabs() {
  if (FTabStack.empty()) return false;
  FTabs = std::move(FTabStack.back());
  FTabStack.pop_back();
  ResetTabs();
  return true;
}

bool TBaseReport::SaveTabs(int Index) {
  if (Index < 1 || Index > 10 || !FTabs || FTabs->empty()) return false;
  FTabSlots[Index - 1] = FTabs;
  return true;
}

bool TBaseReport::RestoreTabs(int Index) {
  if (Index < 1 || Index > 10) return false;
  FTabs = FTabSlots[Index - 1];
  ResetTabs();
  return true;
}
