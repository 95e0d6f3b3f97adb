#pragma once
// Internal: the pixel store behind TBitmap, shared with the raster canvas.
#include <QImage>

class TBitmapImage {
public:
  // Always QImage::Format_RGB32; a null image is an empty bitmap.
  QImage Image;
};
