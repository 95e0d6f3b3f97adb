#include "platform/FrameBox.h"

#include <algorithm>

#include "platform/Canvas.h"

TFrameInset FrameModeInset(TPenStyle Style, int PenWidth, uint8_t FrameMode) {
  if (Style == psClear) return {0, 0};
  if (Style == psInsideFrame || FrameMode == 1) return {0, 1};
  // A pen of width W is centred on the figure's path, W div 2 pixels outside it.
  const int outside = PenWidth / 2;
  if (FrameMode == 0) return {outside, PenWidth - outside};
  // Outside: mode 0 mirrored, its inset and shrink swapped and negated. An even-width pen
  // reaches one pixel further to the left and top of its path than to the right and bottom,
  // which this keeps in step with: the frame touches the box from outside on all four sides.
  return {-(PenWidth - outside), -outside};
}

TRect FrameModeBox(int X1, int Y1, int X2, int Y2, TPenStyle Style, int PenWidth, uint8_t FrameMode) {
  const TFrameInset inset = FrameModeInset(Style, PenWidth, FrameMode);
  const int left = std::min(X1, X2);
  const int top = std::min(Y1, Y2);
  const int right = std::max(X1, X2);
  const int bottom = std::max(Y1, Y2);
  return TRect{left + inset.Inset, top + inset.Inset, right - inset.Shrink + 2, bottom - inset.Shrink + 2};
}

void DrawFrameBox(TCanvas* Canvas, TFrameFigure Figure, int X1, int Y1, int X2, int Y2, uint8_t FrameMode) {
  const TPen* pen = Canvas->Pen();
  const TRect box = FrameModeBox(X1, Y1, X2, Y2, pen->Style(), pen->Width(), FrameMode);
  if (Figure == ffEllipse) {
    Canvas->Ellipse(box);
  } else {
    Canvas->Rectangle(box);
  }
}

void DrawTabRectangle(TCanvas* Canvas, int X1, int Y1, int X2, int Y2) {
  Canvas->Rectangle(X1, Y1, X2 + 1, Y2 + 1);
}
