#include "engine/VXLineCollector.h"

#include <cmath>
#include <utility>

namespace {

bool SamePen(const TLineSegment& A, const TLineSegment& B) {
  return A.Color == B.Color && A.Mode == B.Mode && A.Style == B.Style && A.Width == B.Width;
}

// Whether V lies on Segment, its ends widened by the tolerance.
bool Inside(double V, const TLineSegment& Segment) {
  return Segment.Start - V <= TLineCollector::Tolerance && V - Segment.End <= TLineCollector::Tolerance;
}

}  // namespace

void TLineCollector::Add(TLineSegment Piece) {
  // One walk from the newest segment: every segment the piece reaches is absorbed into it.
  // A segment absorbed late may extend the piece over one already passed; those stay
  // separate and are simply drawn over each other.
  for (auto it = FSegments.begin(); it != FSegments.end();) {
    const TLineSegment& segment = *it;
    if (std::fabs(Piece.Pos - segment.Pos) > Tolerance || !SamePen(Piece, segment)) {
      ++it;
      continue;
    }
    const bool startInside = Inside(Piece.Start, segment);
    const bool endInside = Inside(Piece.End, segment);
    if (startInside && endInside) return;  // nothing new
    if (startInside) {
      Piece.Start = segment.Start;
    } else if (endInside) {
      Piece.End = segment.End;
    } else if (!(segment.Start > Piece.Start && segment.End < Piece.End)) {
      ++it;  // apart from the piece
      continue;
    }
    it = FSegments.erase(it);
  }
  FSegments.push_front(Piece);
}

std::list<TLineSegment> TLineCollector::Take() {
  return std::exchange(FSegments, {});
}
