#include "platform/RasterCanvas.h"

#include <QPainterPath>
#include <QRawFont>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/Bitmap.h"
#include "platform/BitmapImage.h"
#include "platform/FloodFill.h"
#include "platform/FontFile.h"
#include "platform/PixelRules.h"
#include "platform/QtBridge.h"
#include "platform/ShapeRules.h"
#include "platform/TextPlacement.h"
#include "platform/Typeface.h"

namespace {

// The image as the canvas writes it: 32 bits per pixel, alpha always opaque. A canvas
// without a target draws into an empty image, that is nowhere.
QImage& WritableImage(TBitmapImage* Target) {
  thread_local QImage nowhere;
  if (!Target) {
    nowhere = QImage();
    return nowhere;
  }
  QImage& image = Target->Image;
  if (!image.isNull() && image.format() != QImage::Format_RGB32)
    image = image.convertToFormat(QImage::Format_RGB32);
  return image;
}

QRgb* Row(QImage& Image, int Y) {
  return reinterpret_cast<QRgb*>(Image.scanLine(Y));
}

TRect ImageRect(const QImage& Image) {
  return TRect{0, 0, Image.width(), Image.height()};
}

// Where the brush paints: its colour, hatch or pattern bitmap, aligned to the device origin.
class TBrushPaint {
public:
  explicit TBrushPaint(const TCanvas& Canvas) {
    const TBrush* brush = Canvas.Brush();
    FStyle = brush->Style();
    FColor = ColorToQRgb(brush->Color());
    FBack = ColorToQRgb(Canvas.BkColor());
    FOpaqueBack = Canvas.BkMode() == OPAQUE;
    if (TBitmap* pattern = brush->Bitmap(); pattern && !pattern->Empty()) {
      FPattern = pattern->Image()->Image.convertToFormat(QImage::Format_RGB32);
      // A monochrome pattern takes the text colour for black and the background for white.
      FMonochrome = pattern->Monochrome();
      FText = ColorToQRgb(Canvas.TextColor());
    }
  }

  bool Paints() const { return !FPattern.isNull() || FStyle != bsClear; }
  // A single colour everywhere: painted a row at a time.
  bool Solid() const { return FPattern.isNull() && FStyle == bsSolid; }
  QRgb SolidColor() const { return FColor; }

  bool PixelAt(int X, int Y, QRgb& Out) const {
    if (!FPattern.isNull()) {
      const QRgb p =
          FPattern.pixel(PositiveModulo(X, FPattern.width()), PositiveModulo(Y, FPattern.height()));
      Out = FMonochrome ? ((p & 0xFFFFFF) == 0 ? FText : FBack) : (p | 0xFF000000u);
      return true;
    }
    switch (FStyle) {
      case bsSolid:
        Out = FColor;
        return true;
      case bsClear:
        return false;
      default:
        if (HatchBit(FStyle, X, Y)) {
          Out = FColor;
          return true;
        }
        Out = FBack;
        return FOpaqueBack;
    }
  }

private:
  TBrushStyle FStyle = bsSolid;
  QRgb FColor = 0;
  QRgb FBack = 0;
  QRgb FText = 0;
  bool FOpaqueBack = false;
  bool FMonochrome = false;
  QImage FPattern;
};

// Sets Count pixels from Start to Color, copying ever larger blocks of what is done.
void FillPixels(QRgb* Start, int Count, QRgb Color) {
  if (Count <= 0) return;
  Start[0] = Color;
  for (int done = 1; done < Count;) {
    const int chunk = std::min(done, Count - done);
    std::memcpy(Start + done, Start, static_cast<size_t>(chunk) * sizeof(QRgb));
    done += chunk;
  }
}

void PaintSolid(QImage& Image, const TCoverage& Area, QRgb Color) {
  Area.ForEachSpan(
      [&](int Y, int X0, int X1, TCoverMark) { FillPixels(Row(Image, Y) + X0, X1 - X0, Color); });
}

void PaintBrush(QImage& Image, const TCoverage& Area, const TBrushPaint& Brush) {
  if (!Brush.Paints()) return;
  if (Brush.Solid()) {
    PaintSolid(Image, Area, Brush.SolidColor());
    return;
  }
  Area.ForEachSpan([&](int Y, int X0, int X1, TCoverMark) {
    QRgb* row = Row(Image, Y);
    for (int x = X0; x < X1; ++x) {
      QRgb color = 0;
      if (Brush.PixelAt(x, Y, color)) row[x] = color;
    }
  });
}

// The pen's pixels through its mix mode; the gaps of a styled pen take the background
// colour through the same mode when the background is opaque.
void PaintPen(QImage& Image, const TCoverage& Outline, const TCanvas& Canvas) {
  const TPenMode mode = Canvas.Pen()->Mode();
  const QRgb pen = ColorToQRgb(Canvas.Pen()->Color());
  const QRgb back = ColorToQRgb(Canvas.BkColor());
  const bool opaque = Canvas.BkMode() == OPAQUE;
  Outline.ForEachSpan([&](int Y, int X0, int X1, TCoverMark Mark) {
    if (Mark == mkGap && !opaque) return;
    const QRgb color = Mark == mkGap ? back : pen;
    QRgb* row = Row(Image, Y);
    for (int x = X0; x < X1; ++x) row[x] = MixPixel(mode, color, row[x]);
  });
}

TPenShape PenShapeOf(const TCanvas& Canvas) {
  return TPenShape{Canvas.Pen()->Style(), Canvas.Pen()->Width()};
}

// One axis of a stretch: the covered pixels and whether they run backwards. A reversed
// rectangle (Right < Left) covers Right + 1 .. Left, as on the platform.
struct TAxis {
  int Start = 0;
  int Count = 0;
  bool Mirrored = false;
};

TAxis AxisOf(int From, int To) {
  if (To >= From) return TAxis{From, To - From, false};
  return TAxis{To + 1, From - To, true};
}

// Source offset of destination offset I: the source pixel under the destination pixel's
// centre (the platform's colour-on-colour stretch, which drops or repeats whole pixels).
int SourceOffset(int I, const TAxis& Dest, const TAxis& Source) {
  const long long j = (2LL * I + 1) * Source.Count / (2LL * Dest.Count);
  const int offset = static_cast<int>(j);
  return Dest.Mirrored != Source.Mirrored ? Source.Count - 1 - offset : offset;
}

// Stretches SourceRect of Source (pixel (0, 0) of Source standing at SourceOrigin) over
// DestRect. Combine(X, Y, SourcePixel, DestPixel&) returns false to leave a pixel alone.
// Source pixels outside the source image, and fully transparent ones of an image with
// alpha, are left out.
template <class TCombine>
void Stretch(QImage& Image, const TRect& Drawable, const TRect& DestRect, const QImage& Source,
             const TPoint& SourceOrigin, const TRect& SourceRect, TCombine&& Combine) {
  const TAxis dx = AxisOf(DestRect.Left, DestRect.Right);
  const TAxis dy = AxisOf(DestRect.Top, DestRect.Bottom);
  const TAxis sx = AxisOf(SourceRect.Left, SourceRect.Right);
  const TAxis sy = AxisOf(SourceRect.Top, SourceRect.Bottom);
  if (dx.Count == 0 || dy.Count == 0 || sx.Count == 0 || sy.Count == 0 || Source.isNull()) return;
  const TRect area =
      IntersectRects(Drawable, TRect{dx.Start, dy.Start, dx.Start + dx.Count, dy.Start + dy.Count});
  if (area.IsEmpty()) return;
  const QImage source = Source.format() == QImage::Format_RGB32 || Source.format() == QImage::Format_ARGB32
                            ? Source
                            : Source.convertToFormat(QImage::Format_RGB32);
  const bool alpha = source.hasAlphaChannel();
  // Source column of every destination column, -1 where the source has no pixel.
  std::vector<int> columns(static_cast<size_t>(area.Width()));
  for (int x = area.Left; x < area.Right; ++x) {
    const int column = sx.Start + SourceOffset(x - dx.Start, dx, sx) - SourceOrigin.X;
    columns[static_cast<size_t>(x - area.Left)] = column >= 0 && column < source.width() ? column : -1;
  }
  for (int y = area.Top; y < area.Bottom; ++y) {
    const int sourceY = sy.Start + SourceOffset(y - dy.Start, dy, sy) - SourceOrigin.Y;
    if (sourceY < 0 || sourceY >= source.height()) continue;
    const QRgb* from = reinterpret_cast<const QRgb*>(source.constScanLine(sourceY));
    QRgb* row = Row(Image, y);
    for (int x = area.Left; x < area.Right; ++x) {
      const int column = columns[static_cast<size_t>(x - area.Left)];
      if (column < 0) continue;
      const QRgb pixel = from[column];
      if (alpha && qAlpha(pixel) == 0) continue;
      QRgb dest = row[x];
      if (Combine(x, y, pixel, dest)) row[x] = dest;
    }
  }
}

// The pixels of SourceRect of any canvas, read one by one; the ones the canvas does not
// answer stay fully transparent.
QImage CanvasPixels(TCanvas* Source, const TRect& SourceRect, TPoint& Origin) {
  const TRect r{std::min(SourceRect.Left, SourceRect.Right), std::min(SourceRect.Top, SourceRect.Bottom),
                std::max(SourceRect.Left, SourceRect.Right) + 1,
                std::max(SourceRect.Top, SourceRect.Bottom) + 1};
  const TRect area = IntersectRects(r, TRect{0, 0, Source->DeviceSize().cx, Source->DeviceSize().cy});
  Origin = TPoint{area.Left, area.Top};
  if (area.IsEmpty()) return QImage();
  QImage pixels(area.Width(), area.Height(), QImage::Format_ARGB32);
  pixels.fill(Qt::transparent);
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x)
      if (const TColor c = Source->Pixels(x, y); c != -1)
        pixels.setPixel(x - area.Left, y - area.Top, ColorToQRgb(c));
  return pixels;
}

// --- Text ---

// Curves are flattened to within this many pixels, so outlines stay true at small sizes.
constexpr double FlattenTolerance = 0.05;

// The contours of a glyph outline as polygons, in the glyph's pixels (x scaled by XScale),
// y pointing down from the baseline.
std::vector<std::vector<TPointF>> GlyphContours(const QPainterPath& Path, double XScale) {
  std::vector<std::vector<TPointF>> contours;
  const auto point = [XScale](const QPainterPath::Element& e) { return TPointF{e.x * XScale, e.y}; };
  for (int i = 0; i < Path.elementCount(); ++i) {
    const QPainterPath::Element e = Path.elementAt(i);
    if (e.isMoveTo() || contours.empty()) {
      contours.emplace_back();
      contours.back().push_back(point(e));
      continue;
    }
    if (e.isLineTo()) {
      contours.back().push_back(point(e));
      continue;
    }
    if (!e.isCurveTo() || i + 2 >= Path.elementCount()) continue;
    // A cubic Bezier: enough uniform steps that the chords stay within the tolerance.
    const TPointF p0 = contours.back().back();
    const TPointF p1 = point(e);
    const TPointF p2 = point(Path.elementAt(i + 1));
    const TPointF p3 = point(Path.elementAt(i + 2));
    i += 2;
    const double bend = std::max(std::hypot(p0.X - 2 * p1.X + p2.X, p0.Y - 2 * p1.Y + p2.Y),
                                 std::hypot(p1.X - 2 * p2.X + p3.X, p1.Y - 2 * p2.Y + p3.Y));
    const int steps =
        std::clamp(static_cast<int>(std::ceil(std::sqrt(0.75 * bend / FlattenTolerance))), 1, 256);
    for (int k = 1; k <= steps; ++k) {
      const double t = static_cast<double>(k) / steps;
      const double u = 1 - t;
      const double a = u * u * u;
      const double b = 3 * u * u * t;
      const double d = 3 * u * t * t;
      const double f = t * t * t;
      contours.back().push_back(
          TPointF{a * p0.X + b * p1.X + d * p2.X + f * p3.X, a * p0.Y + b * p1.Y + d * p2.Y + f * p3.Y});
    }
  }
  return contours;
}

// Adds one glyph's outline, its origin Along pixels along the baseline of Frame. Slant
// leans the glyph (a synthesised italic), Embolden adds a copy one pixel further along (a
// synthesised bold, as the platform does for faces without a bold design).
void AddGlyph(TCoverage& Target, const TFontFile& File, quint32 Glyph, const TTextFrame& Frame, double Along,
              double Slant, bool Embolden) {
  std::vector<std::vector<TPointF>> contours =
      GlyphContours(File.RawFont().pathForGlyph(Glyph), File.HorizontalScale());
  if (contours.empty()) return;
  for (auto& contour : contours)
    for (TPointF& p : contour) {
      const TPointF device = Frame.Map(Along + p.X - p.Y * Slant, p.Y);
      // Corner coordinates to pixel-centre coordinates.
      p = TPointF{device.X - 0.5, device.Y - 0.5};
    }
  AddPolygonArea(Target, contours, false, mkOn, true);
  if (!Embolden) return;
  for (auto& contour : contours)
    for (TPointF& p : contour) {
      p.X += Frame.Along.X;
      p.Y += Frame.Along.Y;
    }
  AddPolygonArea(Target, contours, false, mkOn, true);
}

// The band between Top and Bottom pixels below the baseline, over the whole advance.
void AddBand(TCoverage& Target, const TTextFrame& Frame, int Width, double Top, double Bottom) {
  std::vector<TPointF> band;
  for (const TPointF& corner :
       {Frame.Map(0, Top), Frame.Map(Width, Top), Frame.Map(Width, Bottom), Frame.Map(0, Bottom)})
    band.push_back(TPointF{corner.X - 0.5, corner.Y - 0.5});
  AddPolygonArea(Target, {band}, false, mkOn);
}

// The rectangle text can touch: its cell with room for overhangs.
TRect TextReach(const TTextFrame& Frame, int Width, const TTextMetric& Metrics) {
  const double margin = Metrics.tmHeight + Metrics.tmMaxCharWidth + 2;
  double left = 1e300;
  double top = 1e300;
  double right = -1e300;
  double bottom = -1e300;
  for (const TPointF& p : {Frame.Map(0, -Metrics.tmAscent), Frame.Map(Width, -Metrics.tmAscent),
                           Frame.Map(Width, Metrics.tmDescent), Frame.Map(0, Metrics.tmDescent)}) {
    left = std::min(left, p.X);
    right = std::max(right, p.X);
    top = std::min(top, p.Y);
    bottom = std::max(bottom, p.Y);
  }
  const auto clamp = [](double v) { return static_cast<int>(std::clamp(v, -1e9, 1e9)); };
  return TRect{clamp(left - margin), clamp(top - margin), clamp(right + margin), clamp(bottom + margin)};
}

}  // namespace

TRasterCanvas::TRasterCanvas(TBitmapImage* Target) : FTarget(Target) {
  EnsureGuiApplication();
  Font()->SetPixelsPerInch(FPixelsPerInch);
}

TRasterCanvas::~TRasterCanvas() = default;

void TRasterCanvas::SetPixelsPerInch(int Value) {
  if (Value <= 0 || Value == FPixelsPerInch) return;
  FPixelsPerInch = Value;
  Font()->SetPixelsPerInch(Value);
}

TSize TRasterCanvas::DeviceSize() const {
  if (!FTarget) return TSize{};
  return TSize{FTarget->Image.width(), FTarget->Image.height()};
}

void TRasterCanvas::DoLine(const TPoint& From, const TPoint& To) {
  DoPolyline({From, To});
}

void TRasterCanvas::DoPolyline(const std::vector<TPoint>& Points) {
  QImage& image = WritableImage(FTarget);
  const TRect drawable = IntersectRects(ClipRect(), ImageRect(image));
  PaintPen(image, PolylineFigure(drawable, Points, PenShapeOf(*this)), *this);
}

void TRasterCanvas::DoPolygon(const std::vector<TPoint>& Points) {
  QImage& image = WritableImage(FTarget);
  const TRect drawable = IntersectRects(ClipRect(), ImageRect(image));
  const TFigureCoverage figure = PolygonFigure(drawable, Points, PenShapeOf(*this));
  PaintBrush(image, figure.Fill, TBrushPaint(*this));
  PaintPen(image, figure.Outline, *this);
}

void TRasterCanvas::DoRectangle(const TRect& Box) {
  DoRoundRect(Box, 0, 0);
}

void TRasterCanvas::DoEllipse(const TRect& Box) {
  QImage& image = WritableImage(FTarget);
  const TRect drawable = IntersectRects(ClipRect(), ImageRect(image));
  const TFigureCoverage figure = BoxFigure(drawable, bfEllipse, Box, 0, 0, PenShapeOf(*this));
  PaintBrush(image, figure.Fill, TBrushPaint(*this));
  PaintPen(image, figure.Outline, *this);
}

void TRasterCanvas::DoRoundRect(const TRect& Box, int CornerWidth, int CornerHeight) {
  QImage& image = WritableImage(FTarget);
  const TRect drawable = IntersectRects(ClipRect(), ImageRect(image));
  const TBoxFigure kind = CornerWidth > 1 && CornerHeight > 1 ? bfRoundRect : bfRectangle;
  const TFigureCoverage figure = BoxFigure(drawable, kind, Box, CornerWidth, CornerHeight, PenShapeOf(*this));
  PaintBrush(image, figure.Fill, TBrushPaint(*this));
  PaintPen(image, figure.Outline, *this);
}

void TRasterCanvas::DoArc(TArcKind Kind, const TRect& Box, const TPoint& Start, const TPoint& End) {
  QImage& image = WritableImage(FTarget);
  const TRect drawable = IntersectRects(ClipRect(), ImageRect(image));
  const TArcFigure figure = Kind == akPie ? afPie : (Kind == akChord ? afChord : afArc);
  const TFigureCoverage coverage = ArcFigure(drawable, figure, Box, Start, End, PenShapeOf(*this));
  if (figure != afArc) PaintBrush(image, coverage.Fill, TBrushPaint(*this));
  PaintPen(image, coverage.Outline, *this);
}

void TRasterCanvas::DoFillRect(const TRect& Rect, bool UseBrush, TColor Color) {
  QImage& image = WritableImage(FTarget);
  TCoverage area(IntersectRects(IntersectRects(ClipRect(), ImageRect(image)), Rect));
  for (int y = area.Limit().Top; y < area.Limit().Bottom; ++y)
    area.AddSpan(y, area.Limit().Left, area.Limit().Right, mkOn);
  if (UseBrush)
    PaintBrush(image, area, TBrushPaint(*this));
  else
    PaintSolid(image, area, ColorToQRgb(Color));
}

void TRasterCanvas::DoInvertFrame(const TRect& Rect) {
  QImage& image = WritableImage(FTarget);
  TCoverage frame(IntersectRects(IntersectRects(ClipRect(), ImageRect(image)), Rect));
  frame.AddSpan(Rect.Top, Rect.Left, Rect.Right, mkOn);
  frame.AddSpan(Rect.Bottom - 1, Rect.Left, Rect.Right, mkOn);
  for (int y = Rect.Top + 1; y < Rect.Bottom - 1; ++y) {
    frame.AddPixel(Rect.Left, y, mkOn);
    frame.AddPixel(Rect.Right - 1, y, mkOn);
  }
  // Every other pixel, on a checkerboard aligned to the device origin.
  frame.ForEachSpan([&](int Y, int X0, int X1, TCoverMark) {
    QRgb* row = Row(image, Y);
    for (int x = X0; x < X1; ++x)
      if (((x + Y) & 1) == 0) row[x] = MixPixel(pmNot, 0, row[x]);
  });
}

void TRasterCanvas::DoFloodFill(int X, int Y, TColor Color, TFillStyle FillStyle) {
  QImage& image = WritableImage(FTarget);
  const TRect drawable = IntersectRects(ClipRect(), ImageRect(image));
  if (drawable.IsEmpty()) return;
  const TPixelRaster raster{reinterpret_cast<const uint32_t*>(image.constBits()), image.bytesPerLine() / 4};
  const TCoverage region = FloodRegion(raster, drawable, X, Y, ColorToQRgb(Color), FillStyle == fsSurface);
  PaintBrush(image, region, TBrushPaint(*this));
}

TColor TRasterCanvas::DoGetPixel(int X, int Y) const {
  if (!FTarget) return -1;
  const QImage& image = FTarget->Image;
  if (X < 0 || Y < 0 || X >= image.width() || Y >= image.height()) return -1;
  return QRgbToColor(image.pixel(X, Y));
}

void TRasterCanvas::DoSetPixel(int X, int Y, TColor Color) {
  QImage& image = WritableImage(FTarget);
  if (X < 0 || Y < 0 || X >= image.width() || Y >= image.height()) return;
  Row(image, Y)[X] = ColorToQRgb(Color);
}

void TRasterCanvas::DoStretchBitmap(const TRect& DestRect, TBitmap* Bitmap, const TRect& SourceRect,
                                    TCopyMode Mode, TColor TransparentColor) {
  if (!Bitmap || Bitmap->Empty()) return;
  QImage& image = WritableImage(FTarget);
  const TRect drawable = IntersectRects(ClipRect(), ImageRect(image));
  // A shallow copy: drawing a bitmap onto its own canvas reads the pixels as they were.
  const QImage source = Bitmap->Image()->Image;
  const bool transparent = TransparentColor != clNone;
  const QRgb skip = ColorToQRgb(TransparentColor) & 0xFFFFFF;
  Stretch(image, drawable, DestRect, source, TPoint{}, SourceRect, [&](int, int, QRgb Source, QRgb& Dest) {
    if (transparent && (Source & 0xFFFFFF) == skip) return false;
    Dest = CopyPixel(Mode, Source, Dest);
    return true;
  });
}

void TRasterCanvas::DoCopyRect(const TRect& DestRect, TCanvas* Source, const TRect& SourceRect,
                               TCopyMode Mode) {
  QImage& image = WritableImage(FTarget);
  const TRect drawable = IntersectRects(ClipRect(), ImageRect(image));
  QImage source;
  TPoint origin;
  if (auto* raster = dynamic_cast<TRasterCanvas*>(Source); raster && raster->FTarget)
    source = raster->FTarget->Image;
  else
    source = CanvasPixels(Source, SourceRect, origin);
  Stretch(image, drawable, DestRect, source, origin, SourceRect, [Mode](int, int, QRgb S, QRgb& Dest) {
    Dest = CopyPixel(Mode, S, Dest);
    return true;
  });
}

void TRasterCanvas::DoBrushCopy(const TRect& DestRect, TBitmap* Bitmap, const TRect& SourceRect,
                                TColor Color) {
  if (!Bitmap || Bitmap->Empty()) return;
  QImage& image = WritableImage(FTarget);
  const TRect drawable = IntersectRects(ClipRect(), ImageRect(image));
  const QImage source = Bitmap->Image()->Image;
  const QRgb replaced = ColorToQRgb(Color) & 0xFFFFFF;
  const TBrushPaint brush(*this);
  Stretch(image, drawable, DestRect, source, TPoint{}, SourceRect, [&](int X, int Y, QRgb S, QRgb& Dest) {
    if ((S & 0xFFFFFF) != replaced) {
      Dest = S | 0xFF000000u;
      return true;
    }
    return brush.PixelAt(X, Y, Dest);
  });
}

void TRasterCanvas::DoTextOut(int X, int Y, unsigned Options, const TRect* Clip, const std::string& Text) {
  QImage& image = WritableImage(FTarget);
  TRect drawable = IntersectRects(ClipRect(), ImageRect(image));
  if (Clip && (Options & ETO_OPAQUE)) DoFillRect(*Clip, false, BkColor());
  if (Clip && (Options & ETO_CLIPPED)) drawable = IntersectRects(drawable, *Clip);
  if (Text.empty() || drawable.IsEmpty()) return;

  const std::shared_ptr<TLogicalFont> font = SelectedFont();
  const TTextMetric& metrics = font->TextMetrics();
  const TLogFont& logFont = font->LogFont();
  const int width = font->TextExtent(Text).cx;
  const int descent = metrics.tmHeight - metrics.tmAscent;
  const TTextFrame frame =
      PlaceText(X, Y, TextAlign(), width, metrics.tmAscent, descent, logFont.lfEscapement);
  const TRect reach = IntersectRects(drawable, TextReach(frame, width, metrics));

  if (BkMode() == OPAQUE) {
    TCoverage cell(reach);
    AddBand(cell, frame, width, -metrics.tmAscent, descent);
    PaintSolid(image, cell, ColorToQRgb(BkColor()));
  }

  TCoverage ink(reach);
  if (const TFontFile* file = font->File()) {
    const bool embolden = logFont.lfWeight >= 600 && !file->Typeface().Bold();
    // A face without an italic design leans by about 12 degrees.
    const double slant = logFont.lfItalic && !file->Typeface().Italic() ? 0.21 : 0;
    double along = 0;
    for (const char c : Text) {
      const auto code = static_cast<uint8_t>(c);
      AddGlyph(ink, *file, file->GlyphIndex(code), frame, along, slant, embolden);
      along += font->CharWidth(code);
    }
    if (logFont.lfUnderline)
      AddBand(ink, frame, width, file->UnderlineOffset(), file->UnderlineOffset() + file->UnderlineSize());
    if (logFont.lfStrikeOut)
      AddBand(ink, frame, width, -file->StrikeOutOffset(), -file->StrikeOutOffset() + file->StrikeOutSize());
  }
  PaintSolid(image, ink, ColorToQRgb(TextColor()));
}
