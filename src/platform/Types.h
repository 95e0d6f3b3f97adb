#pragma once
// Plain geometry records shared by the canvas, the engine and the renders (device pixels).
#include <cstdint>

struct TPoint {
  int X = 0;
  int Y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TSize {
  int cx = 0;
  int cy = 0;
  bool operator==(const TSize&) const = default;
};

// Right and Bottom are exclusive, as on the platform's device contexts.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(const TPoint& p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  bool operator==(const TRect&) const = default;
};

inline TPoint Point(int X, int Y) { return TPoint{X, Y}; }
inline TRect Rect(int Left, int Top, int Right, int Bottom) { return TRect{Left, Top, Right, Bottom}; }
inline TRect Bounds(int Left, int Top, int Width, int Height) {
  return TRect{Left, Top, Left + Width, Top + Height};
}
