#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "platform/Graphic.h"

namespace {

// Corners in either order give the same box.
TRect Normalized(int X1, int Y1, int X2, int Y2) {
  return TRect{std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2)};
}

TRect Normalized(const TRect& R) {
  return Normalized(R.Left, R.Top, R.Right, R.Bottom);
}

}  // namespace

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
  FFont->OnChange = [this](TObject* Sender) { FontChanged(Sender); };
  FBrush->OnChange = [this](TObject* Sender) { BrushChanged(Sender); };
  FontChanged(FFont.get());
  BrushChanged(FBrush.get());
}

TCanvas::~TCanvas() = default;

void TCanvas::FontChanged(TObject*) {
  // The logical font is created when text needs it: a run of attribute changes costs one.
  FSelectedFont.reset();
  FTextColor = ColorToRGB(FFont->Color());
}

void TCanvas::BrushChanged(TObject*) {
  // The VCL realises a brush this way: only a solid brush paints a background. The
  // background colour of other brushes differs from the brush colour, so that a hatch
  // brush whose background is later made opaque still shows its lines.
  const TColor color = ColorToRGB(FBrush->Color());
  if (FBrush->Style() == bsSolid) {
    FBkColor = color;
    FBkMode = OPAQUE;
  } else {
    FBkColor = ~color & 0xFFFFFF;
    FBkMode = TRANSPARENT;
  }
}

std::shared_ptr<TLogicalFont> TCanvas::SelectFont(std::shared_ptr<TLogicalFont> Font) {
  std::shared_ptr<TLogicalFont> previous = SelectedFont();
  FSelectedFont = std::move(Font);
  return previous;
}

std::shared_ptr<TLogicalFont> TCanvas::SelectedFont() {
  if (!FSelectedFont) FSelectedFont = FFont->Handle();
  return FSelectedFont;
}

unsigned TCanvas::SetTextAlign(unsigned Align) {
  return std::exchange(FTextAlign, Align);
}

TColor TCanvas::SetTextColor(TColor Color) {
  return std::exchange(FTextColor, ColorToRGB(Color));
}

TColor TCanvas::SetBkColor(TColor Color) {
  return std::exchange(FBkColor, ColorToRGB(Color));
}

int TCanvas::SetBkMode(int Mode) {
  return std::exchange(FBkMode, Mode);
}

TTextMetric TCanvas::GetTextMetrics() {
  return SelectedFont()->TextMetrics();
}

TOutlineTextMetric TCanvas::GetOutlineTextMetrics() {
  return SelectedFont()->OutlineTextMetrics();
}

TRect TCanvas::ClipRect() const {
  if (FHasClip) return FClipRect;
  const TSize size = DeviceSize();
  return TRect{0, 0, size.cx, size.cy};
}

void TCanvas::SetClipRect(const TRect& Rect) {
  const TRect r = Normalized(Rect);
  FHasClip = !r.IsEmpty();
  FClipRect = FHasClip ? r : TRect{};
  ClipChanged();
}

void TCanvas::ClearClipRect() {
  FHasClip = false;
  FClipRect = TRect{};
  ClipChanged();
}

void TCanvas::MoveTo(int X, int Y) {
  FPenPos = TPoint{X, Y};
}

void TCanvas::LineTo(int X, int Y) {
  const TPoint to{X, Y};
  DoLine(FPenPos, to);
  FPenPos = to;
}

void TCanvas::Polyline(const std::vector<TPoint>& Points) {
  if (Points.size() < 2) return;
  DoPolyline(Points);
}

void TCanvas::Polygon(const std::vector<TPoint>& Points) {
  if (Points.size() < 2) return;
  DoPolygon(Points);
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  DoRectangle(Normalized(X1, Y1, X2, Y2));
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  DoEllipse(Normalized(X1, Y1, X2, Y2));
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  DoRoundRect(Normalized(X1, Y1, X2, Y2), std::abs(X3), std::abs(Y3));
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  DoArc(akArc, Normalized(X1, Y1, X2, Y2), TPoint{X3, Y3}, TPoint{X4, Y4});
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  DoArc(akChord, Normalized(X1, Y1, X2, Y2), TPoint{X3, Y3}, TPoint{X4, Y4});
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  DoArc(akPie, Normalized(X1, Y1, X2, Y2), TPoint{X3, Y3}, TPoint{X4, Y4});
}

void TCanvas::FillRect(const TRect& Rect) {
  const TRect r = Normalized(Rect);
  if (!r.IsEmpty()) DoFillRect(r, true, FBrush->Color());
}

void TCanvas::FrameRect(const TRect& Rect) {
  const TRect r = Normalized(Rect);
  if (r.IsEmpty()) return;
  DoFillRect(TRect{r.Left, r.Top, r.Right, r.Top + 1}, true, FBrush->Color());
  if (r.Height() < 2) return;
  DoFillRect(TRect{r.Left, r.Bottom - 1, r.Right, r.Bottom}, true, FBrush->Color());
  if (r.Height() < 3) return;
  DoFillRect(TRect{r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, true, FBrush->Color());
  if (r.Width() < 2) return;
  DoFillRect(TRect{r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1}, true, FBrush->Color());
}

void TCanvas::DrawFocusRect(const TRect& Rect) {
  const TRect r = Normalized(Rect);
  if (!r.IsEmpty()) DoInvertFrame(r);
}

void TCanvas::FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle) {
  DoFloodFill(X, Y, Color, FillStyle);
}

TColor TCanvas::Pixels(int X, int Y) const {
  if (!ClipRect().Contains(TPoint{X, Y})) return -1;
  return DoGetPixel(X, Y);
}

void TCanvas::SetPixel(int X, int Y, TColor Color) {
  if (ClipRect().Contains(TPoint{X, Y})) DoSetPixel(X, Y, Color);
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Graphic->Draw(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
}

void TCanvas::StretchDraw(const TRect& Rect, TGraphic* Graphic) {
  if (Graphic && !Graphic->Empty()) Graphic->Draw(this, Rect);
}

void TCanvas::CopyRect(const TRect& DestRect, TCanvas* Source, const TRect& SourceRect) {
  if (Source) DoCopyRect(DestRect, Source, SourceRect, FCopyMode);
}

void TCanvas::BrushCopy(const TRect& DestRect, TBitmap* Bitmap, const TRect& SourceRect, TColor Color) {
  if (Bitmap) DoBrushCopy(DestRect, Bitmap, SourceRect, Color);
}

void TCanvas::StretchBitmap(const TRect& DestRect, TBitmap* Bitmap, const TRect& SourceRect, TCopyMode Mode,
                            TColor TransparentColor) {
  if (Bitmap) DoStretchBitmap(DestRect, Bitmap, SourceRect, Mode, TransparentColor);
}

void TCanvas::TextOut(int X, int Y, const std::string& Text) {
  ExtTextOut(X, Y, 0, nullptr, Text);
  MoveTo(X + TextWidth(Text), Y);
}

void TCanvas::TextRect(const TRect& Rect, int X, int Y, const std::string& Text) {
  unsigned options = ETO_CLIPPED;
  if (FBrush->Style() != bsClear) options |= ETO_OPAQUE;
  ExtTextOut(X, Y, options, &Rect, Text);
}

TSize TCanvas::TextExtent(const std::string& Text) {
  return GetTextExtentPoint(Text);
}

TSize TCanvas::GetTextExtentPoint(const std::string& Text) {
  return SelectedFont()->TextExtent(Text);
}

void TCanvas::ExtTextOut(int X, int Y, unsigned Options, const TRect* Clip, const std::string& Text) {
  const bool updateCP = (FTextAlign & TA_UPDATECP) != 0;
  if (updateCP) {
    X = FPenPos.X;
    Y = FPenPos.Y;
  }
  DoTextOut(X, Y, Options, Clip, Text);
  if (!updateCP) return;
  // The current position moves to the other end of the text along its baseline; centred
  // text leaves it where it was.
  const unsigned horizontal = FTextAlign & TA_CENTER;
  if (horizontal == TA_CENTER) return;
  const int width = GetTextExtentPoint(Text).cx;
  const double angle = SelectedFont()->LogFont().lfEscapement / 10.0 * std::numbers::pi / 180;
  const double along = horizontal == TA_RIGHT ? -width : width;
  FPenPos.X = X + static_cast<int>(std::lround(along * std::cos(angle)));
  FPenPos.Y = Y - static_cast<int>(std::lround(along * std::sin(angle)));
}
