#pragma once
// Internal: where a line of text lands on a device, for every canvas. The reference point
// (X, Y) and the alignment flags fix the start of the baseline: TA_LEFT, TA_CENTER, TA_RIGHT
// place the start 0, Width div 2 or Width before X along the baseline; TA_TOP puts the top
// of the text cell (baseline - ascent) at Y, TA_BASELINE the baseline, TA_BOTTOM the bottom of
// the cell (baseline + descent). An escapement (tenths of a degree, counter-clockwise) turns
// the whole line about the reference point, the alignment applying along the turned baseline.
//
// Coordinates here are pixel-corner coordinates: pixel (i, j) covers [i, i + 1) x [j, j + 1),
// so an unturned cell at X = 10 of width 5 covers the pixels 10..14.
#include "platform/Rasterizer.h"

struct TTextFrame {
  TPointF Origin;       // start of the baseline
  TPointF Along{1, 0};  // unit vector along the baseline
  TPointF Down{0, 1};   // unit vector from the baseline toward the descenders
  // The device point Along pixels along the baseline and Below pixels under it.
  TPointF Map(double AlongBy, double Below) const {
    return TPointF{Origin.X + AlongBy * Along.X + Below * Down.X,
                   Origin.Y + AlongBy * Along.Y + Below * Down.Y};
  }
};

TTextFrame PlaceText(int X, int Y, unsigned Align, int Width, int Ascent, int Descent, int Escapement);
