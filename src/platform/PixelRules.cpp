#include "platform/PixelRules.h"

#include <array>

namespace {

constexpr uint32_t OpaqueTop = 0xFF000000u;
constexpr uint32_t ColourBits = 0x00FFFFFFu;

constexpr TDashPattern DashPatterns[] = {
    {2, {18, 6}, 24},             // psDash
    {2, {3, 3}, 6},               // psDot
    {4, {9, 6, 3, 6}, 24},        // psDashDot
    {6, {9, 3, 3, 3, 3, 3}, 24},  // psDashDotDot
};

// Hatch cells, leftmost pixel in the high bit, indexed by TBrushStyle - bsHorizontal.
constexpr std::array<std::array<uint8_t, 8>, 6> HatchCells = {{
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00},  // bsHorizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // bsVertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // bsFDiagonal
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // bsBDiagonal
    {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08},  // bsCross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // bsDiagCross
}};

}  // namespace

uint32_t MixPixel(TPenMode Mode, uint32_t Pen, uint32_t Dest) {
  const uint32_t p = Pen & ColourBits;
  const uint32_t d = Dest & ColourBits;
  uint32_t r = d;
  switch (Mode) {
    case pmBlack:
      r = 0;
      break;
    case pmWhite:
      r = ColourBits;
      break;
    case pmNop:
      r = d;
      break;
    case pmNot:
      r = ~d;
      break;
    case pmCopy:
      r = p;
      break;
    case pmNotCopy:
      r = ~p;
      break;
    case pmMergePenNot:
      r = p | ~d;
      break;
    case pmMaskPenNot:
      r = p & ~d;
      break;
    case pmMergeNotPen:
      r = ~p | d;
      break;
    case pmMaskNotPen:
      r = ~p & d;
      break;
    case pmMerge:
      r = p | d;
      break;
    case pmNotMerge:
      r = ~(p | d);
      break;
    case pmMask:
      r = p & d;
      break;
    case pmNotMask:
      r = ~(p & d);
      break;
    case pmXor:
      r = p ^ d;
      break;
    case pmNotXor:
      r = ~(p ^ d);
      break;
  }
  return (r & ColourBits) | OpaqueTop;
}

uint32_t CopyPixel(TCopyMode Mode, uint32_t Source, uint32_t Dest) {
  const uint32_t s = Source & ColourBits;
  const uint32_t d = Dest & ColourBits;
  uint32_t r = s;
  switch (Mode) {
    case cmSrcCopy:
      r = s;
      break;
    case cmSrcAnd:
      r = s & d;
      break;
    case cmSrcPaint:
      r = s | d;
      break;
    case cmSrcInvert:
      r = s ^ d;
      break;
    case cmBlackness:
      r = 0;
      break;
    case cmWhiteness:
      r = ColourBits;
      break;
  }
  return (r & ColourBits) | OpaqueTop;
}

const TDashPattern* DashPatternOf(TPenStyle Style) {
  switch (Style) {
    case psDash:
      return &DashPatterns[0];
    case psDot:
      return &DashPatterns[1];
    case psDashDot:
      return &DashPatterns[2];
    case psDashDotDot:
      return &DashPatterns[3];
    default:
      return nullptr;
  }
}

bool DashOn(const TDashPattern& Pattern, int Index) {
  int position = PositiveModulo(Index, Pattern.Total);
  for (int i = 0; i < Pattern.Count; ++i) {
    if (position < Pattern.Lengths[i]) return i % 2 == 0;
    position -= Pattern.Lengths[i];
  }
  return false;
}

bool HatchBit(TBrushStyle Style, int X, int Y) {
  if (Style < bsHorizontal || Style > bsDiagCross) return false;
  const uint8_t row = HatchCells[Style - bsHorizontal][PositiveModulo(Y, 8)];
  return (row & (0x80 >> PositiveModulo(X, 8))) != 0;
}
