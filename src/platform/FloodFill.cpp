#include "platform/FloodFill.h"

#include <vector>

namespace {

// The fill's view of the raster: which pixels may still join the region.
class TFloodState {
public:
  TFloodState(const TPixelRaster& Raster, const TRect& Limit, uint32_t Color, bool WhileEqual)
      : FRaster(Raster),
        FLimit(Limit),
        FColor(Color & 0xFFFFFFu),
        FWhileEqual(WhileEqual),
        FTaken(static_cast<size_t>(Limit.Width()) * static_cast<size_t>(Limit.Height())) {}

  bool Open(int X, int Y) const {
    return !FTaken[Index(X, Y)] && (FRaster.At(X, Y) == FColor) == FWhileEqual;
  }
  void Take(int Y, int X0, int X1) {
    for (int x = X0; x < X1; ++x) FTaken[Index(x, Y)] = 1;
  }

private:
  size_t Index(int X, int Y) const {
    return static_cast<size_t>(Y - FLimit.Top) * static_cast<size_t>(FLimit.Width()) +
           static_cast<size_t>(X - FLimit.Left);
  }
  const TPixelRaster& FRaster;
  TRect FLimit;
  uint32_t FColor;
  bool FWhileEqual;
  std::vector<uint8_t> FTaken;
};

}  // namespace

TCoverage FloodRegion(const TPixelRaster& Raster, const TRect& Limit, int X, int Y, uint32_t Color,
                      bool WhileEqual) {
  TCoverage region(Limit);
  if (Limit.IsEmpty() || !Limit.Contains(TPoint{X, Y})) return region;
  TFloodState state(Raster, Limit, Color, WhileEqual);
  std::vector<TPoint> seeds{TPoint{X, Y}};
  while (!seeds.empty()) {
    const TPoint seed = seeds.back();
    seeds.pop_back();
    if (!state.Open(seed.X, seed.Y)) continue;
    // Grow the run of the seed's row both ways, then look for new runs above and below it.
    int left = seed.X;
    int right = seed.X + 1;
    while (left > Limit.Left && state.Open(left - 1, seed.Y)) --left;
    while (right < Limit.Right && state.Open(right, seed.Y)) ++right;
    state.Take(seed.Y, left, right);
    region.AddSpan(seed.Y, left, right, mkOn);
    for (int y : {seed.Y - 1, seed.Y + 1}) {
      if (y < Limit.Top || y >= Limit.Bottom) continue;
      bool inRun = false;
      for (int x = left; x < right; ++x) {
        const bool open = state.Open(x, y);
        if (open && !inRun) seeds.push_back(TPoint{x, y});
        inRun = open;
      }
    }
  }
  return region;
}
