// TBaseReport: printing text at the cursor and at positions, implicit tab stops, clipping,
// and the formatted-text codes as they reach the current font.
#include <cmath>

#include "engine/VXBase.h"
#include "engine/VXFormatCodes.h"

namespace {

// Implicit tab stops lie every half unit from the start of the text.
constexpr double DefaultTabWidth = 0.5;
// A position this close before a tab stop (inches) counts as already at it.
constexpr double TabStopSlack = 0.001;

// Sets a flag for a scope and clears it afterwards, also when the scope fails.
class TSegmentScope {
public:
  explicit TSegmentScope(bool& Flag) : FFlag(Flag) { Flag = true; }
  ~TSegmentScope() { FFlag = false; }
  TSegmentScope(const TSegmentScope&) = delete;
  TSegmentScope& operator=(const TSegmentScope&) = delete;

private:
  bool& FFlag;
};

}  // namespace

void TBaseReport::Print(const std::string& Text) {
  std::string rest = Text;
  for (size_t tab = rest.find('\t'); tab != std::string::npos; tab = rest.find('\t')) {
    if (tab > 0) PrintAtCursor(rest.substr(0, tab));
    rest.erase(0, tab + 1);
    Tab();
  }
  PrintAtCursor(rest);
}

void TBaseReport::PrintAtCursor(const std::string& Text) {
  if (PrintTabCell(Text)) return;
  PrintJustify(Text, pjLeft, FXPos, 0, 0);
}

void TBaseReport::PrintLn(const std::string& Text) {
  Print(Text);
  NewLine();
}

void TBaseReport::PrintXY(double X, double Y, const std::string& Text) {
  SetYPos(Y);
  PrintJustify(Text, pjLeft, XUnitsToInch(X), 0, 0);
}

void TBaseReport::PrintFooter(const std::string& Text, TPrintJustify Justify) {
  GotoFooter();
  PrintJustify(Text, Justify, FSectionLeft, 0, FSectionRight - FSectionLeft);
}

void TBaseReport::PrintJustify(const std::string& Text, TPrintJustify Justify, double X, double Margin,
                               double Width) {
  switch (Justify) {
    case pjCenter:
      PrintCenter(Text, X + Width / 2);
      return;
    case pjRight:
      PrintRight(Text, X + Width - Margin);
      return;
    case pjBlock:
      PrintBlock(Text, X + Margin, Width - 2 * Margin);
      return;
    case pjLeft:
      break;
  }
  const double tabWidth = XUnitsToInch(DefaultTabWidth);
  double position = X + Margin;
  std::string rest = Text;
  {
    TSegmentScope segments(FTabSegments);
    for (size_t tab = rest.find('\t'); tab != std::string::npos; tab = rest.find('\t')) {
      if (tab > 0) {
        PrintLeft(rest.substr(0, tab), position);
        position = FXPos;
      }
      // Stops are measured from X, not from the margin.
      const double n = std::trunc((position - X + TabStopSlack) / tabWidth) + 1;
      position = X + n * tabWidth;
      rest.erase(0, tab + 1);
    }
  }
  PrintLeft(rest, position);
}

std::string TBaseReport::ClipText(const std::string& Text, double Width) {
  if (Text.find(MacroMarker) != std::string::npos) return Text;
  const bool codes = !FIgnoreFormatCodes && HasFormatCodes(Text);
  std::string text = Text;
  while (!text.empty() && TextWidth(text) > Width) {
    // Codes at the end show nothing: they go before the visible character they follow.
    if (codes) {
      text = RemoveTrailingCodes(text);
      if (text.empty()) break;
    }
    text.pop_back();
  }
  return text;
}

// ===== Formatted-text codes =====

void TBaseReport::ApplyFontCodes(const std::string& Code) {
  TFontRecord font = FFont;
  // Sizes scale with the report, as SetFontSize does.
  ::ApplyFontCodes(font, Code, FScaleY / 100.0);
  SetFontRecord(font);
}

void TBaseReport::NextFormatSegment(const std::string& Text, size_t& Pos, std::string& Plain) {
  std::string codes;
  SplitFormatSegment(Text, Pos, codes, Plain);
  if (!codes.empty()) ApplyFontCodes(codes);
}
