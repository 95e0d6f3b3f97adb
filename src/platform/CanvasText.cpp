#include "platform/CanvasText.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "platform/Canvas.h"

namespace {

// Spaces painted into one gap at most: enough for any page, bounded for absurd widths.
constexpr int MaxGapSpaces = 4096;

unsigned AlignFlags(TTextVertical Vertical, TTextHorizontal Horizontal) {
  unsigned flags = TA_LEFT;
  if (Horizontal == thCenter) flags = TA_CENTER;
  if (Horizontal == thRight) flags = TA_RIGHT;
  switch (Vertical) {
    case tvTop:
      return flags | TA_TOP;
    case tvBaseline:
      return flags | TA_BASELINE;
    case tvBottom:
      return flags | TA_BOTTOM;
  }
  return flags;
}

// Puts the canvas's alignment and background mode back when the drawing is done, also when
// it fails.
class TTextModeKeeper {
public:
  TTextModeKeeper(TCanvas* Canvas, bool Opaque)
      : FCanvas(Canvas),
        FAlign(Canvas->TextAlign()),
        FMode(Canvas->SetBkMode(Opaque ? OPAQUE : TRANSPARENT)) {}
  ~TTextModeKeeper() {
    FCanvas->SetTextAlign(FAlign);
    FCanvas->SetBkMode(FMode);
  }
  TTextModeKeeper(const TTextModeKeeper&) = delete;
  TTextModeKeeper& operator=(const TTextModeKeeper&) = delete;

private:
  TCanvas* FCanvas;
  unsigned FAlign;
  int FMode;
};

void DrawOne(TCanvas* Canvas, const std::string& Text, const TPoint& At, TTextVertical Vertical,
             TTextHorizontal Horizontal) {
  Canvas->SetTextAlign(AlignFlags(Vertical, Horizontal));
  Canvas->ExtTextOut(At.X, At.Y, 0, nullptr, Text);
}

// Device points along the baseline of the selected font, which may be turned.
class TBaseline {
public:
  TBaseline(TCanvas* Canvas, int X, int Y) : FX(X), FY(Y) {
    const int tenths = Canvas->SelectedFont()->LogFont().lfEscapement % 3600;
    if (tenths == 0) return;
    const double angle = tenths / 10.0 * std::numbers::pi / 180.0;
    FCos = std::cos(angle);
    FSin = std::sin(angle);
  }
  // The point Along pixels from the start; counter-clockwise on a y-down device.
  TPoint At(double Along) const {
    return TPoint{FX + static_cast<int>(std::lround(Along * FCos)),
                  FY - static_cast<int>(std::lround(Along * FSin))};
  }

private:
  int FX;
  int FY;
  double FCos = 1;
  double FSin = 0;
};

bool IsSpace(char C) {
  return C == ' ';
}

// A word of block text with the spaces before it (the first word keeps leading spaces in
// its word).
struct TBlockPiece {
  std::string Spaces;
  std::string Word;
};

std::string WithoutTrailingSpaces(const std::string& Text) {
  size_t end = Text.size();
  while (end > 0 && IsSpace(Text[end - 1])) --end;
  return Text.substr(0, end);
}

std::vector<TBlockPiece> SplitBlock(const std::string& Text) {
  const std::string body = WithoutTrailingSpaces(Text);
  std::vector<TBlockPiece> pieces;
  size_t i = 0;
  while (i < body.size()) {
    TBlockPiece piece;
    if (!pieces.empty()) {
      while (i < body.size() && IsSpace(body[i])) piece.Spaces += body[i++];
    } else {
      while (i < body.size() && IsSpace(body[i])) piece.Word += body[i++];
    }
    while (i < body.size() && !IsSpace(body[i])) piece.Word += body[i++];
    pieces.push_back(std::move(piece));
  }
  return pieces;
}

// Gaps as they stand in Text, without spreading.
int CountGaps(const std::string& Text) {
  const std::string body = WithoutTrailingSpaces(Text);
  int gaps = 0;
  for (size_t i = 1; i < body.size(); ++i) {
    if (IsSpace(body[i]) && !IsSpace(body[i - 1])) ++gaps;
  }
  return gaps;
}

int Width(TCanvas* Canvas, const std::string& Text) {
  return Text.empty() ? 0 : Canvas->GetTextExtentPoint(Text).cx;
}

}  // namespace

void DrawAlignedText(TCanvas* Canvas, const std::string& Text, int X, int Y, TTextVertical Vertical,
                     TTextHorizontal Horizontal, bool Opaque) {
  if (Text.empty()) return;
  TTextModeKeeper keeper(Canvas, Opaque);
  DrawOne(Canvas, Text, TPoint{X, Y}, Vertical, Horizontal);
}

std::string BlockText(const std::string& Text) {
  if (CountGaps(Text) > 0) return Text;
  std::string spread;
  for (size_t i = 0; i < Text.size(); ++i) {
    if (i > 0 && !IsSpace(Text[i]) && !IsSpace(Text[i - 1])) spread += ' ';
    spread += Text[i];
  }
  return spread;
}

int BlockGaps(const std::string& Text) {
  return std::max(1, CountGaps(BlockText(Text)));
}

int BlockTextWidth(TCanvas* Canvas, const std::string& Text) {
  return Width(Canvas, WithoutTrailingSpaces(BlockText(Text)));
}

void DrawBlockText(TCanvas* Canvas, const std::string& Text, int X, int Y, TTextVertical Vertical,
                   bool Opaque, double ExtraPerGap) {
  const std::vector<TBlockPiece> pieces = SplitBlock(BlockText(Text));
  if (pieces.empty()) return;
  if (!std::isfinite(ExtraPerGap)) ExtraPerGap = 0;
  TTextModeKeeper keeper(Canvas, Opaque);
  const TBaseline baseline(Canvas, X, Y);
  const int spaceWidth = Width(Canvas, " ");
  DrawOne(Canvas, pieces.front().Word, baseline.At(0), Vertical, thLeft);
  // Positions are kept unrounded, so rounding never adds up along the line.
  double previousEnd = Width(Canvas, pieces.front().Word);
  for (size_t k = 1; k < pieces.size(); ++k) {
    const TBlockPiece& piece = pieces[k];
    const double wordWidth = Width(Canvas, piece.Word);
    const double wordEnd = previousEnd + Width(Canvas, piece.Spaces) + ExtraPerGap + wordWidth;
    const double wordStart = wordEnd - wordWidth;
    if (spaceWidth > 0) {
      const double fit = std::floor((wordStart - previousEnd) / spaceWidth);
      const int count = static_cast<int>(std::clamp(fit, 0.0, static_cast<double>(MaxGapSpaces)));
      if (count > 0) DrawOne(Canvas, std::string(count, ' '), baseline.At(previousEnd), Vertical, thLeft);
      DrawOne(Canvas, " ", baseline.At(wordStart), Vertical, thRight);
    }
    DrawOne(Canvas, piece.Word, baseline.At(wordEnd), Vertical, thRight);
    previousEnd = wordEnd;
  }
}
