#include "platform/Coverage.h"

#include <algorithm>

TRect IntersectRects(const TRect& A, const TRect& B) {
  TRect r{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
          std::min(A.Bottom, B.Bottom)};
  if (r.IsEmpty()) return TRect{};
  return r;
}

TCoverage::TCoverage(const TRect& Limit) : FLimit(Limit.IsEmpty() ? TRect{} : Limit) {
  FRows.resize(static_cast<size_t>(FLimit.Height()));
}

void TCoverage::AddSpan(int Y, int X0, int X1, TCoverMark Mark) {
  if (Mark == mkNone || Y < FLimit.Top || Y >= FLimit.Bottom) return;
  X0 = std::max(X0, FLimit.Left);
  X1 = std::min(X1, FLimit.Right);
  if (X0 >= X1) return;
  std::vector<TSpan>& row = FRows[static_cast<size_t>(Y - FLimit.Top)];
  // Lines arrive pixel by pixel: extend the last span instead of piling up single pixels.
  if (!row.empty() && row.back().Mark == Mark && row.back().X1 == X0) {
    row.back().X1 = X1;
    return;
  }
  row.push_back(TSpan{X0, X1, Mark});
}

std::vector<TCoverage::TSpan> TCoverage::Resolved(std::vector<TSpan> Row) {
  // Sweep over the span edges counting how many "on" and "gap" spans are open.
  struct TEdge {
    int X;
    int OnDelta;
    int GapDelta;
  };
  std::vector<TEdge> edges;
  edges.reserve(Row.size() * 2);
  for (const TSpan& s : Row) {
    const int on = s.Mark == mkOn ? 1 : 0;
    edges.push_back(TEdge{s.X0, on, 1 - on});
    edges.push_back(TEdge{s.X1, -on, on - 1});
  }
  std::sort(edges.begin(), edges.end(), [](const TEdge& a, const TEdge& b) { return a.X < b.X; });
  std::vector<TSpan> result;
  int on = 0;
  int gap = 0;
  for (size_t i = 0; i < edges.size();) {
    const int x = edges[i].X;
    for (; i < edges.size() && edges[i].X == x; ++i) {
      on += edges[i].OnDelta;
      gap += edges[i].GapDelta;
    }
    if (i == edges.size()) break;
    const TCoverMark mark = on > 0 ? mkOn : (gap > 0 ? mkGap : mkNone);
    const int next = edges[i].X;
    if (mark == mkNone) continue;
    if (!result.empty() && result.back().Mark == mark && result.back().X1 == x)
      result.back().X1 = next;
    else
      result.push_back(TSpan{x, next, mark});
  }
  return result;
}

void TCoverage::ForEachSpan(const std::function<void(int Y, int X0, int X1, TCoverMark Mark)>& Paint) const {
  for (size_t i = 0; i < FRows.size(); ++i) {
    if (FRows[i].empty()) continue;
    const int y = FLimit.Top + static_cast<int>(i);
    for (const TSpan& s : Resolved(FRows[i])) Paint(y, s.X0, s.X1, s.Mark);
  }
}
