#pragma once
// Internal: which device pixels the platform's figures cover, for any raster device.
//
// A box figure (Rectangle, RoundRect, Ellipse, Arc, Chord, Pie) given by (L, T, R, B) runs its
// path through the centres of the pixels L..R-1 and T..B-1: the right and bottom edges are
// excluded. The brush fills the inside of the path on the half-open rule, so a figure
// without pen (psClear) covers L..R-2, one pixel less on the right and the bottom. A
// one-pixel pen draws the thin outline of the pixels L..R-1 (the outline lies over the fill).
// A wider pen of width W is centred on the path, W div 2 pixels outside it (a 3-pixel pen
// on (10, 10, 20, 20) covers 9..20), with round joins; psInsideFrame first shrinks the path
// so that the whole pen stays inside L..R-1. Styled pens (dash, dot, ...) keep their
// style only one pixel wide; wider they draw solid.
//
// Lines and polylines of a one-pixel pen leave out the last pixel of every segment; wider
// pens draw the segments with round caps and joins. Polygons fill on the alternate rule with
// their vertices on pixel centres.
#include <vector>

#include "platform/Coverage.h"
#include "platform/Pen.h"
#include "platform/Types.h"

struct TPenShape {
  TPenStyle Style = psSolid;
  int Width = 1;
};

// What a figure covers: the brush paints Fill first, the pen paints Outline over it ("gap"
// pixels of a styled pen take the background).
struct TFigureCoverage {
  explicit TFigureCoverage(const TRect& Limit) : Fill(Limit), Outline(Limit) {}
  TCoverage Fill;
  TCoverage Outline;
};

enum TBoxFigure { bfRectangle, bfRoundRect, bfEllipse };
enum TArcFigure { afArc, afChord, afPie };

// Box is normalised (Left <= Right, Top <= Bottom); an empty box covers nothing. Only pixels
// inside Drawable are produced.
TFigureCoverage BoxFigure(const TRect& Drawable, TBoxFigure Figure, const TRect& Box, int CornerWidth,
                          int CornerHeight, const TPenShape& Pen);
// The arc of the ellipse in Box runs counter-clockwise from the ray through Start to the ray
// through End (rays from the ellipse's centre); equal rays give the whole ellipse. A chord
// closes the arc with a straight line, a pie with two radii.
TFigureCoverage ArcFigure(const TRect& Drawable, TArcFigure Figure, const TRect& Box, const TPoint& Start,
                          const TPoint& End, const TPenShape& Pen);
TFigureCoverage PolygonFigure(const TRect& Drawable, const std::vector<TPoint>& Points, const TPenShape& Pen);
// Lines: a polyline of two points is LineTo.
TCoverage PolylineFigure(const TRect& Drawable, const std::vector<TPoint>& Points, const TPenShape& Pen);
