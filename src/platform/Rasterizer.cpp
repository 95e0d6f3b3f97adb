#include "platform/Rasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

// Tolerance for values that should land exactly on a pixel centre but carry rounding noise.
constexpr double Epsilon = 1e-9;

// The first pixel centre at or after Value: the half-open rule on one axis.
// Values are kept inside the int range: figures far outside any device still convert safely.
int FirstCentreAtOrAfter(double Value) {
  constexpr double Far = 1e9;
  return static_cast<int>(std::ceil(std::clamp(Value, -Far, Far) - Epsilon));
}

// The pixels of row Y of Box, [A, B), and the interior part of them, [Lo, Hi) (empty when
// Lo >= Hi): pixels whose four neighbours all lie in the box.
bool RowWithInterior(const TRoundBox& Box, int Y, int& A, int& B, int& Lo, int& Hi) {
  if (!Box.RowSpan(Y, A, B)) return false;
  int a1 = 0;
  int b1 = 0;
  int a2 = 0;
  int b2 = 0;
  Lo = A + 1;
  Hi = B - 1;
  if (Box.RowSpan(Y - 1, a1, b1) && Box.RowSpan(Y + 1, a2, b2)) {
    Lo = std::max({Lo, a1, a2});
    Hi = std::min({Hi, b1, b2});
  } else {
    Hi = Lo;
  }
  return true;
}

struct TEdge {
  double XA;
  double YA;
  double XB;
  double YB;  // YA < YB
  int Winding;
};

std::vector<TEdge> EdgesOf(const std::vector<std::vector<TPointF>>& Contours, double& MinY, double& MaxY) {
  std::vector<TEdge> edges;
  MinY = 0;
  MaxY = 0;
  bool first = true;
  for (const auto& contour : Contours) {
    const size_t n = contour.size();
    for (size_t i = 0; i < n; ++i) {
      const TPointF& a = contour[i];
      const TPointF& b = contour[(i + 1) % n];
      if (first) {
        MinY = MaxY = a.Y;
        first = false;
      }
      MinY = std::min(MinY, a.Y);
      MaxY = std::max(MaxY, a.Y);
      if (a.Y == b.Y) continue;  // horizontal edges cross no sampling row
      if (a.Y < b.Y)
        edges.push_back(TEdge{a.X, a.Y, b.X, b.Y, 1});
      else
        edges.push_back(TEdge{b.X, b.Y, a.X, a.Y, -1});
    }
  }
  return edges;
}

}  // namespace

TRoundBox TRoundBox::Disc(const TPointF& Centre, double Radius) {
  return TRoundBox{
      Centre.X - Radius, Centre.Y - Radius, Centre.X + Radius, Centre.Y + Radius, Radius, Radius, false};
}

TRoundBox TRoundBox::Grown(double By) const {
  TRoundBox b{X0 - By, Y0 - By, X1 + By, Y1 + By, std::max(0.0, RX + By), std::max(0.0, RY + By), Empty};
  if (b.X1 < b.X0 || b.Y1 < b.Y0) b.Empty = true;
  return b;
}

int TRoundBox::TopRow() const {
  return FirstCentreAtOrAfter(Y0);
}

int TRoundBox::BottomRow() const {
  return FirstCentreAtOrAfter(Y1);
}

bool TRoundBox::RowSpan(int Y, int& XL, int& XR) const {
  if (Empty || Y < TopRow() || Y >= BottomRow()) return false;
  const double y = Y;
  const double rx = std::min(RX, (X1 - X0) / 2);
  const double ry = std::min(RY, (Y1 - Y0) / 2);
  double dy = 0;
  if (ry > 0) {
    if (y < Y0 + ry)
      dy = Y0 + ry - y;
    else if (y > Y1 - ry)
      dy = y - (Y1 - ry);
  }
  double inset = 0;
  if (dy > 0 && rx > 0) {
    const double t = std::min(1.0, dy / ry);
    inset = rx - rx * std::sqrt(std::max(0.0, 1 - t * t));
  }
  XL = FirstCentreAtOrAfter(X0 + inset);
  XR = FirstCentreAtOrAfter(X1 - inset);
  return XL < XR;
}

void AddRoundBox(TCoverage& Target, const TRoundBox& Box, TCoverMark Mark) {
  const int top = std::max(Box.TopRow(), Target.Limit().Top);
  const int bottom = std::min(Box.BottomRow(), Target.Limit().Bottom);
  for (int y = top; y < bottom; ++y) {
    int xl = 0;
    int xr = 0;
    if (Box.RowSpan(y, xl, xr)) Target.AddSpan(y, xl, xr, Mark);
  }
}

void AddRing(TCoverage& Target, const TRoundBox& Outer, const TRoundBox& Inner, TCoverMark Mark) {
  const int top = std::max(Outer.TopRow(), Target.Limit().Top);
  const int bottom = std::min(Outer.BottomRow(), Target.Limit().Bottom);
  for (int y = top; y < bottom; ++y) {
    int a = 0;
    int b = 0;
    if (!Outer.RowSpan(y, a, b)) continue;
    int c = 0;
    int d = 0;
    if (!Inner.RowSpan(y, c, d)) {
      Target.AddSpan(y, a, b, Mark);
      continue;
    }
    Target.AddSpan(y, a, std::min(b, c), Mark);
    Target.AddSpan(y, std::max(a, d), b, Mark);
  }
}

void ForEachBoundarySpan(const TRoundBox& Box, int FromRow, int ToRow,
                         const std::function<void(int Y, int X0, int X1)>& Visit) {
  const int top = std::max(Box.TopRow(), FromRow);
  const int bottom = std::min(Box.BottomRow(), ToRow);
  for (int y = top; y < bottom; ++y) {
    int a = 0;
    int b = 0;
    int lo = 0;
    int hi = 0;
    if (!RowWithInterior(Box, y, a, b, lo, hi)) continue;
    if (lo >= hi) {
      Visit(y, a, b);
      continue;
    }
    if (a < lo) Visit(y, a, lo);
    if (hi < b) Visit(y, hi, b);
  }
}

void AddBoundaryInterior(TCoverage& Target, const TRoundBox& Box, TCoverMark Mark) {
  const int top = std::max(Box.TopRow(), Target.Limit().Top);
  const int bottom = std::min(Box.BottomRow(), Target.Limit().Bottom);
  for (int y = top; y < bottom; ++y) {
    int a = 0;
    int b = 0;
    int lo = 0;
    int hi = 0;
    if (RowWithInterior(Box, y, a, b, lo, hi) && lo < hi) Target.AddSpan(y, lo, hi, Mark);
  }
}

std::vector<TPoint> BoundaryPixels(const TRoundBox& Box) {
  std::vector<TPoint> pixels;
  ForEachBoundarySpan(Box, Box.TopRow(), Box.BottomRow(), [&pixels](int Y, int X0, int X1) {
    for (int x = X0; x < X1; ++x) pixels.push_back(TPoint{x, Y});
  });
  return pixels;
}

namespace {

// Calls Visit(Row, XA, XB) for every maximal interval [XA, XB) of every row in [Top, Bottom)
// that lies inside the edges.
template <class TVisit>
void ScanInside(std::vector<TEdge> Edges, int Top, int Bottom, bool Alternate, TVisit&& Visit) {
  // Edges enter the active list in the order of their top end.
  std::sort(Edges.begin(), Edges.end(), [](const TEdge& a, const TEdge& b) { return a.YA < b.YA; });
  struct TCrossing {
    double X;
    int Winding;
  };
  std::vector<const TEdge*> active;
  std::vector<TCrossing> crossings;
  size_t next = 0;
  for (int y = Top; y < Bottom; ++y) {
    const double sy = y;
    // Half-open in y: an edge covers the rows YA <= y < YB, so a vertex shared by two
    // edges is counted once.
    while (next < Edges.size() && Edges[next].YA <= sy) active.push_back(&Edges[next++]);
    std::erase_if(active, [sy](const TEdge* e) { return e->YB <= sy; });
    crossings.clear();
    for (const TEdge* e : active) {
      if (sy < e->YA) continue;
      crossings.push_back(TCrossing{e->XA + (sy - e->YA) * (e->XB - e->XA) / (e->YB - e->YA), e->Winding});
    }
    std::sort(crossings.begin(), crossings.end(),
              [](const TCrossing& a, const TCrossing& b) { return a.X < b.X; });
    int winding = 0;
    bool wasInside = false;
    double start = 0;
    for (size_t i = 0; i < crossings.size(); ++i) {
      winding += Alternate ? 1 : crossings[i].Winding;
      const bool inside = Alternate ? (winding % 2) != 0 : winding != 0;
      if (inside && !wasInside) start = crossings[i].X;
      if (!inside && wasInside) Visit(y, start, crossings[i].X);
      wasInside = inside;
    }
  }
}

// The pixel whose centre lies nearest to the middle of [A, B).
int NearestCentre(double A, double B) {
  return FirstCentreAtOrAfter((A + B) / 2 - 0.5);
}

}  // namespace

void AddPolygonArea(TCoverage& Target, const std::vector<std::vector<TPointF>>& Contours, bool Alternate,
                    TCoverMark Mark, bool DropoutControl) {
  double minY = 0;
  double maxY = 0;
  const std::vector<TEdge> edges = EdgesOf(Contours, minY, maxY);
  if (edges.empty()) return;
  const int top = std::max(FirstCentreAtOrAfter(minY), Target.Limit().Top);
  const int bottom = std::min(FirstCentreAtOrAfter(maxY) + 1, Target.Limit().Bottom);
  ScanInside(edges, top, bottom, Alternate, [&](int Y, double XA, double XB) {
    const int x0 = FirstCentreAtOrAfter(XA);
    const int x1 = FirstCentreAtOrAfter(XB);
    if (x0 < x1)
      Target.AddSpan(Y, x0, x1, Mark);
    else if (DropoutControl)
      Target.AddPixel(NearestCentre(XA, XB), Y, Mark);
  });
  if (!DropoutControl) return;
  // The same scan down the columns catches parts thinner than a pixel lying across them.
  std::vector<std::vector<TPointF>> turned = Contours;
  for (auto& contour : turned)
    for (TPointF& p : contour) std::swap(p.X, p.Y);
  double minX = 0;
  double maxX = 0;
  const std::vector<TEdge> columns = EdgesOf(turned, minX, maxX);
  const int left = std::max(FirstCentreAtOrAfter(minX), Target.Limit().Left);
  const int right = std::min(FirstCentreAtOrAfter(maxX) + 1, Target.Limit().Right);
  ScanInside(columns, left, right, Alternate, [&](int X, double YA, double YB) {
    if (FirstCentreAtOrAfter(YA) >= FirstCentreAtOrAfter(YB)) Target.AddPixel(X, NearestCentre(YA, YB), Mark);
  });
}

void AddSegmentBody(TCoverage& Target, const TPointF& A, const TPointF& B, double HalfWidth,
                    TCoverMark Mark) {
  const double dx = B.X - A.X;
  const double dy = B.Y - A.Y;
  const double length = std::hypot(dx, dy);
  if (length == 0) return;
  const double nx = -dy / length * HalfWidth;
  const double ny = dx / length * HalfWidth;
  AddPolygonArea(Target,
                 {{TPointF{A.X + nx, A.Y + ny}, TPointF{B.X + nx, B.Y + ny}, TPointF{B.X - nx, B.Y - ny},
                   TPointF{A.X - nx, A.Y - ny}}},
                 false, Mark);
}

long long LineSteps(const TPoint& From, const TPoint& To) {
  return std::max(std::llabs(static_cast<long long>(To.X) - From.X),
                  std::llabs(static_cast<long long>(To.Y) - From.Y));
}

double ScreenAngle(const TPointF& Centre, const TPointF& P) {
  double a = std::atan2(-(P.Y - Centre.Y), P.X - Centre.X);
  if (a < 0) a += 2 * std::numbers::pi;
  return a;
}

bool AngleInSweep(double Angle, double Start, double Sweep) {
  double d = std::fmod(Angle - Start, 2 * std::numbers::pi);
  if (d < 0) d += 2 * std::numbers::pi;
  return d <= Sweep + 1e-12;
}
