#include "platform/TextPlacement.h"

#include <cmath>
#include <numbers>

#include "platform/Canvas.h"

namespace {

// Cosine and sine of an escapement; quarter turns are exact, so turned text stays on whole
// pixels.
void Turn(int Escapement, double& Cos, double& Sin) {
  const int tenths = ((Escapement % 3600) + 3600) % 3600;
  switch (tenths) {
    case 0:
      Cos = 1;
      Sin = 0;
      return;
    case 900:
      Cos = 0;
      Sin = 1;
      return;
    case 1800:
      Cos = -1;
      Sin = 0;
      return;
    case 2700:
      Cos = 0;
      Sin = -1;
      return;
    default:
      break;
  }
  const double angle = tenths / 10.0 * std::numbers::pi / 180;
  Cos = std::cos(angle);
  Sin = std::sin(angle);
}

}  // namespace

TTextFrame PlaceText(int X, int Y, unsigned Align, int Width, int Ascent, int Descent, int Escapement) {
  double cos = 1;
  double sin = 0;
  Turn(Escapement, cos, sin);
  TTextFrame frame;
  // Counter-clockwise on a screen whose y axis points down.
  frame.Along = TPointF{cos, -sin};
  frame.Down = TPointF{sin, cos};
  double along = 0;
  switch (Align & TA_CENTER) {
    case TA_CENTER:
      along = -(Width / 2);
      break;
    case TA_RIGHT:
      along = -Width;
      break;
    default:
      break;
  }
  double below = 0;
  switch (Align & TA_BASELINE) {
    case TA_BASELINE:
      below = 0;
      break;
    case TA_BOTTOM:
      below = -Descent;
      break;
    default:
      below = Ascent;
      break;
  }
  frame.Origin = TPointF{static_cast<double>(X), static_cast<double>(Y)};
  frame.Origin = frame.Map(along, below);
  return frame;
}
