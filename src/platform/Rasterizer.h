#pragma once
// Internal: scan conversion into a coverage. Continuous coordinates put the centre of pixel
// (i, j) at (i, j). A pixel belongs to an area when its centre lies inside; a centre exactly
// on an edge belongs to the area when the edge is a left or top edge (the half-open "top-left"
// rule of the platform's fills), so areas that share an edge never share a pixel.
#include <functional>
#include <vector>

#include "platform/Coverage.h"
#include "platform/Types.h"

struct TPointF {
  double X = 0;
  double Y = 0;
};

// A box [X0, X1] x [Y0, Y1] with elliptic corners of radii RX, RY: RX = RY = 0 is a plain
// rectangle, RX = half the width and RY = half the height an ellipse.
struct TRoundBox {
  double X0 = 0;
  double Y0 = 0;
  double X1 = 0;
  double Y1 = 0;
  double RX = 0;
  double RY = 0;
  bool Empty = false;

  static TRoundBox Disc(const TPointF& Centre, double Radius);
  TPointF Centre() const { return TPointF{(X0 + X1) / 2, (Y0 + Y1) / 2}; }
  // The box offset outward by By (inward when By is negative); corner radii follow, so a
  // sharp rectangle grown outward gets round corners of radius By (round joins).
  TRoundBox Grown(double By) const;
  // The pixels X0 <= x < X1 of row Y that lie inside; false when the row misses the box.
  bool RowSpan(int Y, int& XL, int& XR) const;
  // The rows the box can touch, [Top, Bottom).
  int TopRow() const;
  int BottomRow() const;
};

// Pixels of Box.
void AddRoundBox(TCoverage& Target, const TRoundBox& Box, TCoverMark Mark);
// Pixels of Outer that are not in Inner.
void AddRing(TCoverage& Target, const TRoundBox& Outer, const TRoundBox& Inner, TCoverMark Mark);
// The pixels of Box that have one of their four neighbours outside it: a thin (8-connected)
// outline, row by row as spans.
void ForEachBoundarySpan(const TRoundBox& Box, int FromRow, int ToRow,
                         const std::function<void(int Y, int X0, int X1)>& Visit);
// The pixels of Box inside that outline.
void AddBoundaryInterior(TCoverage& Target, const TRoundBox& Box, TCoverMark Mark);
// The outline pixel by pixel, over the whole box.
std::vector<TPoint> BoundaryPixels(const TRoundBox& Box);

// Fills closed contours with the alternate (even-odd) or the winding (non-zero) rule. With
// DropoutControl (for glyphs) a part thinner than a pixel that no pixel centre falls into
// still gets the pixel nearest to it, along the rows and along the columns, so thin stems
// and hairlines of small text do not vanish.
void AddPolygonArea(TCoverage& Target, const std::vector<std::vector<TPointF>>& Contours, bool Alternate,
                    TCoverMark Mark, bool DropoutControl = false);
// The body of a wide line from A to B (a rectangle HalfWidth either side); the caller adds
// the round caps and joins as discs.
void AddSegmentBody(TCoverage& Target, const TPointF& A, const TPointF& B, double HalfWidth, TCoverMark Mark);

// Walks the pixels of a one-pixel line from From to To in drawing order: one pixel per step
// of the major axis, the minor coordinate rounded to the nearest pixel and a tie (the line
// passing exactly between two pixels) going to the smaller coordinate, as the platform's
// diamond-exit rule gives. The last pixel is visited only with IncludeLast. Visit(X, Y,
// Step) gets the pixel's step number counted from From (for dash patterns). Steps whose
// pixel cannot fall inside Limit on the major axis are skipped, so a line far longer than
// the device costs only the device's size.
template <class TVisit>
void WalkLine(const TPoint& From, const TPoint& To, bool IncludeLast, const TRect& Limit, TVisit&& Visit);
// The number of pixels a line from From to To has without its last pixel (its major length).
long long LineSteps(const TPoint& From, const TPoint& To);

// The counter-clockwise angle (radians, y axis pointing up on the screen) of P seen from
// Centre, in [0, 2 pi).
double ScreenAngle(const TPointF& Centre, const TPointF& P);
// Whether Angle lies in the counter-clockwise sweep of Sweep radians starting at Start.
bool AngleInSweep(double Angle, double Start, double Sweep);

template <class TVisit>
void WalkLine(const TPoint& From, const TPoint& To, bool IncludeLast, const TRect& Limit, TVisit&& Visit) {
  const long long dx = static_cast<long long>(To.X) - From.X;
  const long long dy = static_cast<long long>(To.Y) - From.Y;
  const long long adx = dx < 0 ? -dx : dx;
  const long long ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx >= ady;
  const long long major = xMajor ? adx : ady;
  const long long minor = xMajor ? ady : adx;
  const int majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
  // The steps whose major coordinate lies inside Limit.
  const long long origin = xMajor ? From.X : From.Y;
  const long long lowEdge = xMajor ? Limit.Left : Limit.Top;
  const long long highEdge = (xMajor ? Limit.Right : Limit.Bottom) - 1;
  long long first = majorStep > 0 ? lowEdge - origin : origin - highEdge;
  long long last = majorStep > 0 ? highEdge - origin : origin - lowEdge;
  if (first < 0) first = 0;
  if (last > (IncludeLast ? major : major - 1)) last = IncludeLast ? major : major - 1;
  if (first > last) return;
  // Offset along the minor axis: step * minor / major rounded to nearest. On a tie the
  // pixel with the smaller coordinate wins, whichever way the line runs. Kept as a quotient
  // and a remainder that advance by minor each step.
  long long quotient = 0;
  long long remainder = 0;
  if (major > 0) {
    quotient = first * minor / major;
    remainder = first * minor % major;
  }
  for (long long i = first; i <= last; ++i) {
    long long offset = quotient;
    if (major > 0 && (2 * remainder > major || (2 * remainder == major && minorStep < 0))) ++offset;
    const long long alongMajor = i * majorStep;
    const long long alongMinor = offset * minorStep;
    Visit(static_cast<int>(From.X + (xMajor ? alongMajor : alongMinor)),
          static_cast<int>(From.Y + (xMajor ? alongMinor : alongMajor)), i);
    remainder += minor;
    if (major > 0 && remainder >= major) {
      quotient += remainder / major;
      remainder %= major;
    }
  }
}
