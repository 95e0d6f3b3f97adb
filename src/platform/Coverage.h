#pragma once
// Internal: a set of device pixels, kept row by row as spans, each pixel marked "on" (the pen
// or the brush) or "gap" (the background between the dashes of a styled pen). A device first
// rasterises a shape into a coverage and then paints it, so every pixel of a figure is
// painted exactly once whatever the mix mode (an XOR outline drawn twice restores the image),
// and the clip applies while the figure is built.
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/Types.h"

enum TCoverMark : uint8_t { mkNone, mkOn, mkGap };

class TCoverage {
public:
  // Pixels outside Limit are dropped as they are added.
  explicit TCoverage(const TRect& Limit);

  const TRect& Limit() const { return FLimit; }
  // Adds the pixels X0 <= x < X1 of row Y.
  void AddSpan(int Y, int X0, int X1, TCoverMark Mark);
  void AddPixel(int X, int Y, TCoverMark Mark) { AddSpan(Y, X, X + 1, Mark); }

  // Calls Paint(Y, X0, X1, Mark) for disjoint spans, rows top to bottom and spans left to
  // right. Where an "on" pixel and a gap pixel were both added, "on" wins.
  void ForEachSpan(const std::function<void(int Y, int X0, int X1, TCoverMark Mark)>& Paint) const;

private:
  struct TSpan {
    int X0;
    int X1;
    TCoverMark Mark;
  };
  static std::vector<TSpan> Resolved(std::vector<TSpan> Row);

  TRect FLimit;
  std::vector<std::vector<TSpan>> FRows;
};

// The intersection of two rectangles (empty when they do not meet).
TRect IntersectRects(const TRect& A, const TRect& B);
