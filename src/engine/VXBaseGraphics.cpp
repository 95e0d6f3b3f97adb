// TBaseReport: the device canvas, pens and brushes, frame mode, the line collector the
// page end flushes, and graphic slots.
#include <algorithm>
#include <cmath>

#include "engine/VXBase.h"
#include "engine/VXDevice.h"

namespace {

// Pen widths in inches become device pixels at the current scale; a pen never vanishes,
// so widths that round to nothing draw one pixel.
int PenPixels(const TBaseReport& Report, double Inches) {
  const double pixels = Inches * Report.DeviceXDPI() * Report.ScaleX() * Report.ZoomPercent() / 10000.0;
  const int result = static_cast<int>(std::nearbyint(pixels));
  return result == 0 ? 1 : result;
}

// The pen attributes a collected piece keeps.
TLineSegment PieceOf(const TPen* Pen, double Start, double End, double Pos) {
  TLineSegment piece;
  piece.Start = std::min(Start, End);
  piece.End = std::max(Start, End);
  piece.Pos = Pos;
  piece.Color = Pen->Color();
  piece.Mode = Pen->Mode();
  piece.Style = Pen->Style();
  piece.Width = Pen->Width();
  return piece;
}

void UsePenOf(TPen* Pen, const TLineSegment& Segment) {
  Pen->SetColor(Segment.Color);
  Pen->SetMode(Segment.Mode);
  Pen->SetStyle(Segment.Style);
  Pen->SetWidth(Segment.Width);
}

}  // namespace

// ===== Canvas =====

TCanvas* TBaseReport::Canvas() {
  TVXBaseDevice* device = Device();
  if (!device->Printing()) RaiseError(Trans("Error!  Canvas not yet active."));
  return device->Canvas();
}

void TBaseReport::SetFrameMode(uint8_t Mode) {
  FFrameMode = Mode;
}

// ===== Pens and brushes =====

int TBaseReport::PenWidthToDevice(int Width) const {
  if (Width >= 0) return Width;
  // Below -10000 the finer unit: -10050 is 50 ten-thousandths of an inch.
  return PenPixels(*this, Width >= -10000 ? -Width / 100.0 : -(Width + 10000) / 10000.0);
}

std::unique_ptr<TPen> TBaseReport::CreatePen(TColor Color, TPenStyle Style, int Width, TPenMode Mode) const {
  auto pen = std::make_unique<TPen>();
  pen->SetColor(Color);
  pen->SetStyle(Style);
  // Only the hundredths form: the ten-thousandths of SetPen are not known here.
  pen->SetWidth(Width < 0 ? PenPixels(*this, -Width / 100.0) : Width);
  pen->SetMode(Mode);
  return pen;
}

void TBaseReport::SetPen(TColor Color, TPenStyle Style, int Width, TPenMode Mode) {
  TPen* pen = Canvas()->Pen();
  pen->SetColor(Color);
  pen->SetMode(Mode);
  pen->SetWidth(PenWidthToDevice(Width));
  pen->SetStyle(Style);
}

void TBaseReport::SetBrush(TColor Color, TBrushStyle Style, TBitmap* Bitmap) {
  TBrush* brush = Canvas()->Brush();
  // The colour first: giving a colour turns a clear brush solid.
  brush->SetColor(Color);
  brush->SetStyle(Style);
  // Without a bitmap the brush loses its pattern, so the colour and style show.
  brush->SetBitmap(Bitmap);
}

// ===== Line collector =====

void TBaseReport::SetLastLinePoint(double X, double Y) {
  FLastLineX = X + OriginX();
  FLastLineY = Y + OriginY();
}

bool TBaseReport::CollectLine(double X, double Y) {
  X += OriginX();
  Y += OriginY();
  bool collected = false;
  if (!FDirectLines) {
    // Exact comparisons: only truly upright and level lines merge; sloping ones draw at once.
    if (X == FLastLineX) {
      FVerticalLines.Add(PieceOf(Canvas()->Pen(), Y, FLastLineY, X));
      collected = true;
    } else if (Y == FLastLineY) {
      FHorizontalLines.Add(PieceOf(Canvas()->Pen(), X, FLastLineX, Y));
      collected = true;
    }
  }
  FLastLineX = X;
  FLastLineY = Y;
  return collected;
}

void TBaseReport::FlushLines() {
  if (FVerticalLines.Empty() && FHorizontalLines.Empty()) return;
  TPen* pen = Canvas()->Pen();
  TPen saved;
  saved.Assign(pen);
  const bool savedDirect = FDirectLines;
  // The lists are taken first: whatever happens, the page's pieces are drawn at most once.
  const std::list<TLineSegment> vertical = FVerticalLines.Take();
  const std::list<TLineSegment> horizontal = FHorizontalLines.Take();
  try {
    FDirectLines = true;
    // The collected positions include the origin of their time; MoveTo and LineTo add
    // today's, so it is taken off here.
    const double originX = OriginX();
    const double originY = OriginY();
    for (const TLineSegment& segment : vertical) {
      UsePenOf(pen, segment);
      MoveTo(segment.Pos - originX, segment.Start - originY);
      LineTo(segment.Pos - originX, segment.End - originY);
    }
    for (const TLineSegment& segment : horizontal) {
      UsePenOf(pen, segment);
      MoveTo(segment.Start - originX, segment.Pos - originY);
      LineTo(segment.End - originX, segment.Pos - originY);
    }
  } catch (...) {
    FDirectLines = savedDirect;
    pen->Assign(&saved);
    throw;
  }
  FDirectLines = savedDirect;
  pen->Assign(&saved);
}

void TBaseReport::ClearPendingLines() {
  FVerticalLines.Clear();
  FHorizontalLines.Clear();
}

// ===== Graphic slots belong to the file engine; here they do nothing =====

void TBaseReport::UnregisterGraphic(int /*Index*/) {}
void TBaseReport::RegisterGraphic(int /*Index*/) {}
void TBaseReport::ReuseGraphic(int /*Index*/) {}
