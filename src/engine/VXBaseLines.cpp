// TBaseReport: the cursor, line metrics, lines and columns.
#include <cmath>
#include <numbers>

#include "engine/VXBase.h"

void TBaseReport::UpdateLineMetrics() {
  if (!FPrinting) return;
  // A changed font is measured first, so that the line takes its real ascent and descent.
  RefreshFontMetrics();
  FLineAscent = FFont.Ascent;
  FLineDescent = FFont.Descent;
  switch (FLineHeightMethod) {
    case lhmLinesPerInch:
      FLineHeight = 1.0 / FLinesPerInch;
      break;
    case lhmFont:
      FLineHeight = FFont.Size / 60.0;  // 1.2 times the font size, in inches
      break;
    case lhmUser:
      break;
  }
}

void TBaseReport::AfterNewLine() {}

void TBaseReport::SetYPos(double Value) {
  UpdateLineMetrics();
  FYPos = YUnitsToInch(Value);
}

void TBaseReport::SetLineTop(double Y) {
  UpdateLineMetrics();
  FYPos = YUnitsToInch(Y) + FLineHeight - FLineDescent;
}

void TBaseReport::SetLineMiddle(double Y) {
  UpdateLineMetrics();
  FYPos = YUnitsToInch(Y) + FLineHeight / 2.0 - FLineDescent;
}

void TBaseReport::SetLineBottom(double Y) {
  UpdateLineMetrics();
  FYPos = YUnitsToInch(Y) - FLineDescent;
}

void TBaseReport::SetLineHeight(double Value) {
  // A height of 0 or less would divide LinesLeft by zero: keep the current height.
  if (Value <= 0) return;
  FLineHeightMethod = lhmUser;
  FLineHeight = YUnitsToInch(Value);
}

void TBaseReport::SetLineHeightMethod(TLineHeightMethod Value) {
  FLineHeightMethod = Value;
}

void TBaseReport::SetLinesPerInch(int Value) {
  if (Value <= 0) return;
  FLinesPerInch = Value;
  UpdateLineMetrics();
}

void TBaseReport::AdjustLine() {
  if (!FPrinting) return;
  // The top of the line as the old metrics place it stays where it is.
  SetLineTop(LineTop());
}

void TBaseReport::CarriageReturn() {
  FXPos = ColumnLeftInch();
}

void TBaseReport::LineFeed() {
  UpdateLineMetrics();
  ++FLineNum;
  FYPos += FLineHeight;
}

void TBaseReport::SetLineNum(int Value) {
  FLineNum = Value;
  UpdateLineMetrics();
  ResetTabs();
  FXPos = ColumnLeftInch();
  // Line N's bottom lies N line heights below the section top.
  FYPos = Value * FLineHeight + FSectionTop - FLineDescent;
}

void TBaseReport::SetColumnNum(int Value) {
  FColumnNum = Value;
  FXPos = ColumnLeft(Value);
  ResetTabs();
}

void TBaseReport::Home() {
  SetColumnNum(1);
  SetLineNum(1);
}

void TBaseReport::GotoFooter() {
  UpdateLineMetrics();
  FXPos = ColumnLeftInch();
  FYPos = FSectionBottom - FLineDescent;
}

void TBaseReport::NewLine() {
  NextLineOrColumn();
  AfterNewLine();
}

void TBaseReport::NextLineOrColumn() {
  if (FColumnNum >= FColumns || LinesLeft() > 1) {
    CarriageReturn();
    LineFeed();
  } else {
    SetLineNum(1);
    SetColumnNum(FColumnNum + 1);
    DoNewColumn();
  }
  ResetTabs();
  // The engine never starts a page by itself; reports react to OnEndOfSection.
  if (!(FSectionBottom > FYPos + FLineDescent)) DoEndOfSection();
}

int TBaseReport::LinesLeft() const {
  const double lineBottom = FYPos + FLineDescent;
  if (lineBottom > FSectionBottom) return 0;
  return static_cast<int>(std::trunc((FSectionBottom - lineBottom) / FLineHeight)) + 1;
}

int TBaseReport::PageLinesLeft() const {
  const double lineBottom = FYPos + FLineDescent;
  if (lineBottom > FSectionBottom && FColumnNum >= FColumns) return 0;
  int lines = LinesLeft();
  if (FColumnNum < FColumns) {
    lines +=
        (FColumns - FColumnNum) * static_cast<int>(std::trunc((FSectionBottom - FSectionTop) / FLineHeight));
  }
  return lines;
}

void TBaseReport::AdvanceCursor(double D) {
  const double dx = XUnitsToInch(D) * 10000.0 / (FScaleX * FZoomPercent);
  if (FFont.Rotation == 0) {
    FXPos += dx;
    return;
  }
  const double radians = FFont.Rotation * std::numbers::pi / 180.0;
  FXPos += dx * std::cos(radians);
  FYPos -= YUnitsToInch(D) * 10000.0 / (FScaleY * FZoomPercent) * std::sin(radians);
}

bool TBaseReport::PushPos() {
  FPosStack.emplace_back(FXPos, FYPos);
  return true;
}

bool TBaseReport::PopPos() {
  if (FPosStack.empty()) return false;
  FXPos = FPosStack.back().first;
  FYPos = FPosStack.back().second;
  FPosStack.pop_back();
  return true;
}

bool TBaseReport::SavePos(int Index) {
  if (Index < 1 || Index > 10) return false;
  FPosSlots[Index - 1] = {FXPos, FYPos};
  return true;
}

bool TBaseReport::RestorePos(int Index) {
  if (Index < 1 || Index > 10) return false;
  FXPos = FPosSlots[Index - 1].first;
  FYPos = FPosSlots[Index - 1].second;
  return true;
}

void TBaseReport::SetColumns(int Count, double Between) {
  if (Count <= 0) Count = 1;
  FColumnBetween = XUnitsToInch(Between);
  FColumnWidth = (FSectionRight - FSectionLeft + FColumnBetween) / Count;
  FColumns = Count;
  SetColumnNum(1);
  DoNewColumn();
}

void TBaseReport::ClearColumns() {
  FColumnWidth = FSectionRight - FSectionLeft;
  FColumnBetween = 0;
  FColumns = 1;
  SetColumnNum(1);
}
