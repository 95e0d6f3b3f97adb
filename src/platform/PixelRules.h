#pragma once
// Internal: the per-pixel rules of the platform's raster devices, independent of any pixel
// store: the 16 pen mix modes, the raster operations of bitmap copies, the dash tables of
// styled cosmetic pens and the 8 x 8 hatch patterns. Pixel values are 0x??RRGGBB words (the
// bitwise rules do not care about the channel order); the top byte of a result is 0xFF.
#include <cstdint>

#include "platform/Brush.h"
#include "platform/Canvas.h"
#include "platform/Pen.h"

// The pen mix mode (binary raster operation) applied to one pixel.
uint32_t MixPixel(TPenMode Mode, uint32_t Pen, uint32_t Dest);

// The raster operation of a bitmap copy applied to one pixel.
uint32_t CopyPixel(TCopyMode Mode, uint32_t Source, uint32_t Dest);

// The dash table of a styled cosmetic (one-pixel) pen, as the platform defines it:
//   psDash        18 on, 6 off
//   psDot          3 on, 3 off
//   psDashDot      9 on, 6 off, 3 on, 6 off
//   psDashDotDot   9 on, 3 off, 3 on, 3 off, 3 on, 3 off
// Lengths alternate on and off, starting with on, and count pixels along the line.
struct TDashPattern {
  int Count = 0;
  int Lengths[6] = {};
  int Total = 0;
};

// The dash table of Style, or nullptr for styles drawn without gaps (solid, inside frame).
const TDashPattern* DashPatternOf(TPenStyle Style);

// Whether pixel Index (counted from the start of the figure) of a dashed line is "on".
bool DashOn(const TDashPattern& Pattern, int Index);

// The platform's hatch patterns (one 8 x 8 cell, aligned to the device origin): whether
// device pixel (X, Y) lies on a hatch line of Style. The cells, row by row from the top
// with the leftmost pixel in the high bit:
//   bsHorizontal  00 00 00 FF 00 00 00 00
//   bsVertical    08 08 08 08 08 08 08 08
//   bsFDiagonal   80 40 20 10 08 04 02 01   (\\\)
//   bsBDiagonal   01 02 04 08 10 20 40 80   (///)
//   bsCross       08 08 08 FF 08 08 08 08
//   bsDiagCross   81 42 24 18 18 24 42 81
// Styles without a hatch (solid, clear) answer false.
bool HatchBit(TBrushStyle Style, int X, int Y);

// X mod M for any sign of X (M > 0): device-origin alignment of patterns.
inline int PositiveModulo(int X, int M) {
  const int r = X % M;
  return r < 0 ? r + M : r;
}
