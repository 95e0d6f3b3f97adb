#pragma once
// A small raster canvas for tests, with helpers that read its pixels back through the
// bitmap's own image (not through the canvas).
#include <QImage>
#include <functional>
#include <memory>
#include <set>
#include <utility>

#include "platform/BitmapImage.h"
#include "platform/QtBridge.h"
#include "platform/RasterCanvas.h"

class TCanvasSurface {
public:
  explicit TCanvasSurface(int Width = 64, int Height = 64, TColor Background = clWhite) {
    EnsureGuiApplication();
    FImage.Image = QImage(Width, Height, QImage::Format_RGB32);
    FImage.Image.fill(ColorToQRgb(Background));
    FCanvas = std::make_unique<TRasterCanvas>(&FImage);
  }

  TRasterCanvas& Canvas() { return *FCanvas; }
  QImage& Image() { return FImage.Image; }
  int Width() const { return FImage.Image.width(); }
  int Height() const { return FImage.Image.height(); }

  void Clear(TColor Color) { FImage.Image.fill(ColorToQRgb(Color)); }
  TColor At(int X, int Y) const { return QRgbToColor(FImage.Image.pixel(X, Y)); }

  // Every pixel for which Test answers true, as (x, y) pairs.
  std::set<std::pair<int, int>> Where(const std::function<bool(TColor)>& Test) const {
    std::set<std::pair<int, int>> result;
    for (int y = 0; y < Height(); ++y)
      for (int x = 0; x < Width(); ++x)
        if (Test(At(x, y))) result.insert({x, y});
    return result;
  }
  std::set<std::pair<int, int>> WhereColor(TColor Color) const {
    return Where([Color](TColor c) { return c == Color; });
  }
  std::set<std::pair<int, int>> WhereNot(TColor Color) const {
    return Where([Color](TColor c) { return c != Color; });
  }

private:
  TBitmapImage FImage;
  std::unique_ptr<TRasterCanvas> FCanvas;
};

// The pixels of the rectangle Left..Right x Top..Bottom (inclusive bounds).
inline std::set<std::pair<int, int>> Block(int Left, int Top, int Right, int Bottom) {
  std::set<std::pair<int, int>> result;
  for (int y = Top; y <= Bottom; ++y)
    for (int x = Left; x <= Right; ++x) result.insert({x, y});
  return result;
}

inline std::set<std::pair<int, int>> Minus(std::set<std::pair<int, int>> A,
                                           const std::set<std::pair<int, int>>& B) {
  for (const auto& p : B) A.erase(p);
  return A;
}
