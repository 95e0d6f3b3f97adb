#pragma once
// Internal: the pixel store behind TBitmap, shared with the raster canvas.
#include <QImage>

class TBitmapImage {
public:
  // Always QImage::Format_RGB32; a null image is an empty bitmap.
  QImage Image;
  // Resolution written into the bitmap file header (3780 pixels per metre = 96 dpi); a loaded
  // file keeps its own values so that saving it again gives the same bytes.
  int XPelsPerMeter = 3780;
  int YPelsPerMeter = 3780;
};
