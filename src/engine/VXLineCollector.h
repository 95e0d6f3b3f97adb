#pragma once
// TLineCollector: the horizontal or the vertical line pieces a page collects. Pieces on the
// same line drawn with the same pen that touch or overlap are merged into one segment, so
// that a grid built from many short pieces is drawn as a few long lines when the page ends:
// no doubly struck joints, and far fewer records in a page stream.
#include <list>

#include "platform/Color.h"
#include "platform/Pen.h"

// One collected piece (units, origin included): Start..End along the varying coordinate
// (Start <= End), Pos across it, and the pen it was drawn with.
struct TLineSegment {
  double Start = 0;
  double End = 0;
  double Pos = 0;
  TColor Color = clBlack;
  TPenMode Mode = pmCopy;
  TPenStyle Style = psSolid;
  int Width = 1;
};

class TLineCollector {
public:
  // Coordinates closer than this (units) count as equal.
  static constexpr double Tolerance = 0.0001;

  // Adds Piece, merging it with the segments of the same pen on the same line that it
  // touches; a piece that lies inside one of them adds nothing.
  void Add(TLineSegment Piece);
  // The segments, the most recently added first.
  const std::list<TLineSegment>& Segments() const { return FSegments; }
  // Hands the segments over and leaves the collector empty.
  std::list<TLineSegment> Take();
  void Clear() { FSegments.clear(); }
  bool Empty() const { return FSegments.empty(); }

private:
  std::list<TLineSegment> FSegments;
};
