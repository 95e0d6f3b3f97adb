#include "platform/ShapeRules.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/PixelRules.h"
#include "platform/Rasterizer.h"

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;

bool DrawsOutline(const TPenShape& Pen) {
  return Pen.Style != psClear;
}

// Styled pens keep their dashes only one pixel wide.
const TDashPattern* DashesOf(const TPenShape& Pen) {
  return Pen.Width <= 1 ? DashPatternOf(Pen.Style) : nullptr;
}

// Numbers the pixels of one figure outline for its dash pattern; the count runs on across
// the segments of the figure and starts again with the next figure.
class TDashCounter {
public:
  explicit TDashCounter(const TPenShape& Pen) : FPattern(DashesOf(Pen)) {}
  bool Dashed() const { return FPattern != nullptr; }
  TCoverMark MarkOf(long long Index) const {
    if (!FPattern) return mkOn;
    return DashOn(*FPattern, static_cast<int>(Index % FPattern->Total)) ? mkOn : mkGap;
  }
  long long Base = 0;

private:
  const TDashPattern* FPattern;
};

// The rectangle a figure may touch, given its points and pen, to size the coverages.
TRect Reach(const TRect& Drawable, int Left, int Top, int Right, int Bottom, int PenWidth) {
  const int margin = PenWidth / 2 + 2;
  return IntersectRects(Drawable, TRect{Left - margin, Top - margin, Right + margin, Bottom + margin});
}

TRect PointsReach(const TRect& Drawable, const std::vector<TPoint>& Points, int PenWidth) {
  if (Points.empty()) return TRect{};
  int left = Points[0].X;
  int right = Points[0].X;
  int top = Points[0].Y;
  int bottom = Points[0].Y;
  for (const TPoint& p : Points) {
    left = std::min(left, p.X);
    right = std::max(right, p.X);
    top = std::min(top, p.Y);
    bottom = std::max(bottom, p.Y);
  }
  return Reach(Drawable, left, top, right + 1, bottom + 1, PenWidth);
}

TPointF ToPointF(const TPoint& P) {
  return TPointF{static_cast<double>(P.X), static_cast<double>(P.Y)};
}

TPoint Rounded(const TPointF& P) {
  return TPoint{static_cast<int>(std::lround(P.X)), static_cast<int>(std::lround(P.Y))};
}

// The path of a box figure through the pixel centres of L..R-1 and T..B-1.
TRoundBox PathOf(TBoxFigure Figure, const TRect& Box, int CornerWidth, int CornerHeight) {
  TRoundBox path{static_cast<double>(Box.Left),
                 static_cast<double>(Box.Top),
                 static_cast<double>(Box.Right - 1),
                 static_cast<double>(Box.Bottom - 1),
                 0,
                 0,
                 false};
  if (Figure == bfEllipse) {
    path.RX = (path.X1 - path.X0) / 2;
    path.RY = (path.Y1 - path.Y0) / 2;
  } else if (Figure == bfRoundRect) {
    // A corner ellipse as wide as the box gives the ellipse of that box.
    const int w = std::min(std::abs(CornerWidth), Box.Width());
    const int h = std::min(std::abs(CornerHeight), Box.Height());
    path.RX = std::max(0, w - 1) / 2.0;
    path.RY = std::max(0, h - 1) / 2.0;
    if (path.RX == 0 || path.RY == 0) path.RX = path.RY = 0;
  }
  return path;
}

// psInsideFrame: the path moves inward so that the pen's outer edge meets the box.
TRoundBox InsideFramePath(const TRoundBox& Path, int Width) {
  TRoundBox inner = Path.Grown(-(Width - 1) / 2.0);
  if (!inner.Empty) return inner;
  const TPointF c = Path.Centre();
  return TRoundBox{c.X, c.Y, c.X, c.Y, 0, 0, false};
}

// A thin outline in the order the pen travels: counter-clockwise from StartAngle (radians),
// as the platform draws closed figures. Only pixels within Sweep of StartAngle are kept.
std::vector<TPoint> OrderedOutline(const TRoundBox& Outer, const TPointF& Centre, double StartAngle,
                                   double Sweep) {
  struct TEntry {
    double Angle;
    double Distance;
    TPoint Pixel;
  };
  std::vector<TEntry> entries;
  for (const TPoint& p : BoundaryPixels(Outer)) {
    const TPointF pf = ToPointF(p);
    const double a = ScreenAngle(Centre, pf);
    if (!AngleInSweep(a, StartAngle, Sweep)) continue;
    double d = std::fmod(a - StartAngle, TwoPi);
    if (d < 0) d += TwoPi;
    entries.push_back(TEntry{d, std::hypot(pf.X - Centre.X, pf.Y - Centre.Y), p});
  }
  std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) {
    return a.Angle != b.Angle ? a.Angle < b.Angle : a.Distance < b.Distance;
  });
  std::vector<TPoint> pixels;
  pixels.reserve(entries.size());
  for (const TEntry& e : entries) pixels.push_back(e.Pixel);
  return pixels;
}

void AddOrderedPixels(TCoverage& Target, const std::vector<TPoint>& Pixels, TDashCounter& Dashes) {
  for (const TPoint& p : Pixels) Target.AddPixel(p.X, p.Y, Dashes.MarkOf(Dashes.Base++));
}

// One-pixel segment without its last pixel, numbering on for the dashes.
void AddThinSegment(TCoverage& Target, const TPoint& From, const TPoint& To, TDashCounter& Dashes) {
  const long long base = Dashes.Base;
  Dashes.Base += LineSteps(From, To);
  if (!Dashes.Dashed() && From.Y == To.Y) {
    // A solid horizontal line is one span.
    if (From.X < To.X)
      Target.AddSpan(From.Y, From.X, To.X, mkOn);
    else
      Target.AddSpan(From.Y, To.X + 1, From.X + 1, mkOn);
    return;
  }
  WalkLine(From, To, false, Target.Limit(),
           [&](int X, int Y, long long Step) { Target.AddPixel(X, Y, Dashes.MarkOf(base + Step)); });
}

void AddRoundCap(TCoverage& Target, const TPointF& At, double HalfWidth) {
  AddRoundBox(Target, TRoundBox::Disc(At, HalfWidth), mkOn);
}

// A wide pen along Points: segment bodies with round caps and joins.
void AddWidePath(TCoverage& Target, const std::vector<TPointF>& Points, bool Closed, double HalfWidth) {
  const size_t n = Points.size();
  for (size_t i = 0; i < n; ++i) {
    AddRoundCap(Target, Points[i], HalfWidth);
    if (i + 1 < n) AddSegmentBody(Target, Points[i], Points[i + 1], HalfWidth, mkOn);
  }
  if (Closed && n > 2) AddSegmentBody(Target, Points[n - 1], Points[0], HalfWidth, mkOn);
}

// The point of Path's ellipse on the ray from its centre at Angle.
TPointF EllipsePointAt(const TRoundBox& Path, double Angle) {
  const TPointF c = Path.Centre();
  const double rx = std::max(Path.RX, 1e-9);
  const double ry = std::max(Path.RY, 1e-9);
  const double cx = std::cos(Angle);
  const double sy = std::sin(Angle);
  const double t = 1 / std::sqrt((cx / rx) * (cx / rx) + (sy / ry) * (sy / ry));
  return TPointF{c.X + t * cx, c.Y - t * sy};
}

double RayAngle(const TPointF& Centre, const TPoint& Through) {
  const TPointF p = ToPointF(Through);
  if (p.X == Centre.X && p.Y == Centre.Y) return 0;
  return ScreenAngle(Centre, p);
}

// The points A x + B y + C >= 0.
struct THalfPlane {
  double A = 0;
  double B = 0;
  double C = 0;
  // The pixels of row Y inside, [X0, X1); false when none are.
  bool RowSpan(int Y, int& X0, int& X1) const {
    constexpr double Far = 1e9;
    constexpr double Epsilon = 1e-9;
    const double rest = B * Y + C;
    double lo = -Far;
    double hi = Far;
    if (A > 0)
      lo = std::max(lo, -rest / A);
    else if (A < 0)
      hi = std::min(hi, -rest / A);
    else if (rest < 0)
      return false;
    X0 = static_cast<int>(std::ceil(std::clamp(lo, -Far, Far) - Epsilon));
    X1 = static_cast<int>(std::floor(std::clamp(hi, -Far, Far) + Epsilon)) + 1;
    return X0 < X1;
  }
};

// The part of the plane a pie or chord keeps: one half-plane (a chord), two half-planes
// that must both hold (a pie of at most half a turn) or of which one must hold (a wider
// pie), or everything (a whole turn).
class TArcRegion {
public:
  TArcRegion(TArcFigure Figure, const TPointF& Centre, double Start, double Sweep, const TPointF& S,
             const TPointF& E, const TPointF& Middle) {
    if (Sweep >= TwoPi) return;
    if (Figure == afChord) {
      // The side of the line S-E on which the arc's middle lies.
      const double ex = E.X - S.X;
      const double ey = E.Y - S.Y;
      const double sign = (ex * (Middle.Y - S.Y) - ey * (Middle.X - S.X)) < 0 ? -1 : 1;
      FPlanes.push_back(THalfPlane{-sign * ey, sign * ex, sign * (ey * S.X - ex * S.Y)});
      return;
    }
    // Counter-clockwise of the start ray and clockwise of the end ray (y pointing down).
    const double sx = std::cos(Start);
    const double sy = std::sin(Start);
    const double ex = std::cos(Start + Sweep);
    const double ey = std::sin(Start + Sweep);
    FPlanes.push_back(THalfPlane{-sy, -sx, sy * Centre.X + sx * Centre.Y});
    FPlanes.push_back(THalfPlane{ey, ex, -ey * Centre.X - ex * Centre.Y});
    FUnion = Sweep > std::numbers::pi;
  }

  // Adds the pixels of Source that lie in the region.
  void AddKept(TCoverage& Target, const TCoverage& Source) const {
    Source.ForEachSpan([&](int Y, int X0, int X1, TCoverMark Mark) {
      for (const auto& [a, b] : Allowed(Y)) Target.AddSpan(Y, std::max(X0, a), std::min(X1, b), Mark);
    });
  }

private:
  std::vector<std::pair<int, int>> Allowed(int Y) const {
    constexpr int Far = 1000000000;
    if (FPlanes.empty()) return {{-Far, Far}};
    std::vector<std::pair<int, int>> spans;
    for (const THalfPlane& plane : FPlanes) {
      int x0 = 0;
      int x1 = 0;
      if (plane.RowSpan(Y, x0, x1))
        spans.emplace_back(x0, x1);
      else if (!FUnion)
        return {};
    }
    if (FUnion || spans.size() < 2) return spans;
    const int x0 = std::max(spans[0].first, spans[1].first);
    const int x1 = std::min(spans[0].second, spans[1].second);
    if (x0 >= x1) return {};
    return {{x0, x1}};
  }

  std::vector<THalfPlane> FPlanes;
  bool FUnion = false;
};

}  // namespace

TFigureCoverage BoxFigure(const TRect& Drawable, TBoxFigure Figure, const TRect& Box, int CornerWidth,
                          int CornerHeight, const TPenShape& Pen) {
  const bool hasArea = Box.Width() > 0 && Box.Height() > 0;
  TFigureCoverage result(hasArea ? Reach(Drawable, Box.Left, Box.Top, Box.Right, Box.Bottom, Pen.Width)
                                 : TRect{});
  if (!hasArea) return result;
  TRoundBox path = PathOf(Figure, Box, CornerWidth, CornerHeight);
  if (!DrawsOutline(Pen)) {
    AddRoundBox(result.Fill, path, mkOn);
    return result;
  }
  if (Pen.Width <= 1) {
    const TRoundBox outer = path.Grown(0.5);
    AddRoundBox(result.Fill, path, mkOn);
    AddBoundaryInterior(result.Fill, outer, mkOn);
    if (DashesOf(Pen)) {
      // The outline starts at the top-right corner and runs counter-clockwise.
      const TPointF c = path.Centre();
      TDashCounter dashes(Pen);
      AddOrderedPixels(result.Outline,
                       OrderedOutline(outer, c, ScreenAngle(c, TPointF{path.X1, path.Y0}), TwoPi), dashes);
    } else {
      ForEachBoundarySpan(outer, result.Outline.Limit().Top, result.Outline.Limit().Bottom,
                          [&](int Y, int X0, int X1) { result.Outline.AddSpan(Y, X0, X1, mkOn); });
    }
    return result;
  }
  if (Pen.Style == psInsideFrame) path = InsideFramePath(path, Pen.Width);
  AddRoundBox(result.Fill, path, mkOn);
  AddRing(result.Outline, path.Grown(Pen.Width / 2.0), path.Grown(-Pen.Width / 2.0), mkOn);
  return result;
}

TFigureCoverage ArcFigure(const TRect& Drawable, TArcFigure Figure, const TRect& Box, const TPoint& Start,
                          const TPoint& End, const TPenShape& Pen) {
  const bool hasArea = Box.Width() > 0 && Box.Height() > 0;
  TFigureCoverage result(hasArea ? Reach(Drawable, Box.Left, Box.Top, Box.Right, Box.Bottom, Pen.Width)
                                 : TRect{});
  if (!hasArea) return result;
  TRoundBox path = PathOf(bfEllipse, Box, 0, 0);
  if (DrawsOutline(Pen) && Pen.Width > 1 && Pen.Style == psInsideFrame)
    path = InsideFramePath(path, Pen.Width);
  const TPointF c = path.Centre();
  const double start = RayAngle(c, Start);
  double sweep = std::fmod(RayAngle(c, End) - start, TwoPi);
  if (sweep < 0) sweep += TwoPi;
  if (sweep == 0) sweep = TwoPi;
  const TPointF s = EllipsePointAt(path, start);
  const TPointF e = EllipsePointAt(path, start + sweep);
  const TArcRegion region(Figure, c, start, sweep, s, e, EllipsePointAt(path, start + sweep / 2));

  if (Figure != afArc) {
    TCoverage area(result.Fill.Limit());
    AddRoundBox(area, path, mkOn);
    if (DrawsOutline(Pen) && Pen.Width <= 1) AddBoundaryInterior(area, path.Grown(0.5), mkOn);
    region.AddKept(result.Fill, area);
  }
  if (!DrawsOutline(Pen)) return result;

  if (Pen.Width <= 1) {
    TDashCounter dashes(Pen);
    AddOrderedPixels(result.Outline, OrderedOutline(path.Grown(0.5), c, start, sweep), dashes);
    const TPoint sp = Rounded(s);
    const TPoint ep = Rounded(e);
    if (Figure == afChord) {
      AddThinSegment(result.Outline, ep, sp, dashes);
    } else if (Figure == afPie) {
      const TPoint cp = Rounded(c);
      AddThinSegment(result.Outline, ep, cp, dashes);
      AddThinSegment(result.Outline, cp, sp, dashes);
    }
    return result;
  }
  const double half = Pen.Width / 2.0;
  TCoverage ring(result.Outline.Limit());
  AddRing(ring, path.Grown(half), path.Grown(-half), mkOn);
  TArcRegion(afPie, c, start, sweep, s, e, c).AddKept(result.Outline, ring);
  if (Figure == afPie)
    AddWidePath(result.Outline, {s, c, e}, false, half);
  else if (Figure == afChord)
    AddWidePath(result.Outline, {s, e}, false, half);
  else {
    AddRoundCap(result.Outline, s, half);
    AddRoundCap(result.Outline, e, half);
  }
  return result;
}

TFigureCoverage PolygonFigure(const TRect& Drawable, const std::vector<TPoint>& Points,
                              const TPenShape& Pen) {
  TFigureCoverage result(PointsReach(Drawable, Points, Pen.Width));
  if (Points.size() < 2) return result;
  std::vector<TPointF> contour;
  contour.reserve(Points.size());
  for (const TPoint& p : Points) contour.push_back(ToPointF(p));
  AddPolygonArea(result.Fill, {contour}, true, mkOn);
  if (!DrawsOutline(Pen)) return result;
  if (Pen.Width <= 1) {
    TDashCounter dashes(Pen);
    for (size_t i = 0; i < Points.size(); ++i)
      AddThinSegment(result.Outline, Points[i], Points[(i + 1) % Points.size()], dashes);
  } else {
    AddWidePath(result.Outline, contour, true, Pen.Width / 2.0);
  }
  return result;
}

TCoverage PolylineFigure(const TRect& Drawable, const std::vector<TPoint>& Points, const TPenShape& Pen) {
  TCoverage result(PointsReach(Drawable, Points, Pen.Width));
  if (Points.empty() || !DrawsOutline(Pen)) return result;
  if (Pen.Width <= 1) {
    TDashCounter dashes(Pen);
    for (size_t i = 0; i + 1 < Points.size(); ++i) AddThinSegment(result, Points[i], Points[i + 1], dashes);
    return result;
  }
  std::vector<TPointF> path;
  path.reserve(Points.size());
  for (const TPoint& p : Points) path.push_back(ToPointF(p));
  AddWidePath(result, path, false, Pen.Width / 2.0);
  return result;
}
