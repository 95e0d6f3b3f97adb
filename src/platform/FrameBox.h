#pragma once
// The frame-mode box: how the pen frame of a rectangle or an ellipse relates to the box a
// report gives, and the drawing of such figures and of tab-cell shading on a canvas. Every
// canvas engine draws these figures through here, so all of them cover the same pixels.
//
// Frame modes: 0 the frame lies inside the box, 1 it is centred on the box's edge, 2 it lies
// just outside the box. The box's corner pixels are included: a box from (10, 10) to
// (20, 20) spans eleven pixels each way.
#include <cstdint>

#include "platform/Pen.h"
#include "platform/Types.h"

class TCanvas;

enum TFrameFigure { ffRectangle, ffEllipse };

// Inset and shrink of the frame-mode box for a pen: the canvas figure is drawn on
// (x1 + Inset, y1 + Inset, x2 - Shrink + 2, y2 - Shrink + 2), the figure call excluding its
// right and bottom edge as device contexts do.
struct TFrameInset {
  int Inset = 0;
  int Shrink = 0;
  bool operator==(const TFrameInset&) const = default;
};

TFrameInset FrameModeInset(TPenStyle Style, int PenWidth, uint8_t FrameMode);

// The canvas figure's box for the device box with corners (X1, Y1) and (X2, Y2) given in
// any order.
TRect FrameModeBox(int X1, int Y1, int X2, int Y2, TPenStyle Style, int PenWidth, uint8_t FrameMode);

// Draws the figure for the device box with the canvas pen and brush.
void DrawFrameBox(TCanvas* Canvas, TFrameFigure Figure, int X1, int Y1, int X2, int Y2, uint8_t FrameMode);

// Tab-cell shading: the canvas rectangle over (X1, Y1) .. (X2 + 1, Y2 + 1), without frame-mode
// adjustment (cells shaded side by side meet without a gap).
void DrawTabRectangle(TCanvas* Canvas, int X1, int Y1, int X2, int Y2);
