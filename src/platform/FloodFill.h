#pragma once
// Internal: the region a flood fill paints, found scanline by scanline with an explicit
// stack of seeds (no recursion), so a fill over a whole page cannot overflow the stack.
#include <cstddef>
#include <cstdint>

#include "platform/Coverage.h"
#include "platform/Types.h"

// The pixels of a 32-bit raster: Bits points at pixel (0, 0), rows are Stride pixels apart.
// Only the low 24 bits (the colour) of a pixel count.
struct TPixelRaster {
  const uint32_t* Bits = nullptr;
  std::ptrdiff_t Stride = 0;
  uint32_t At(int X, int Y) const { return Bits[Y * Stride + X] & 0xFFFFFFu; }
};

// The 4-connected pixels reachable from (X, Y), inside Limit, through pixels whose colour
// equals Color (WhileEqual: a surface fill) or differs from it (a border fill). Empty when
// the start pixel itself does not qualify or lies outside Limit.
TCoverage FloodRegion(const TPixelRaster& Raster, const TRect& Limit, int X, int Y, uint32_t Color,
                      bool WhileEqual);
