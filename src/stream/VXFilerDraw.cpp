// TReportFiler: drawing operations as records, pictures and the graphic registry.
#include <algorithm>
#include <climits>

#include "platform/Bitmap.h"
#include "platform/Forms.h"
#include "platform/Icon.h"
#include "platform/Stream.h"
#include "stream/VXFiler.h"
#include "stream/VXFilerScope.h"

namespace {

// Raw data goes into the stream in blocks of this size.
constexpr int64_t DataBlockSize = 4096;

uint8_t GraphicKind(const TGraphic* Graphic) {
  if (dynamic_cast<const TBitmap*>(Graphic) != nullptr) return gkBitmap;
  if (dynamic_cast<const TIcon*>(Graphic) != nullptr) return gkIcon;
  if (Graphic->ClassName() == "TMetafile") return gkMetafile;
  // Readers know only the three kinds: everything else is recorded as a bitmap.
  return gkBitmap;
}

std::vector<uint8_t> GraphicBytes(TGraphic* Graphic, uint8_t Kind) {
  TMemoryStream data;
  const bool native = Kind != gkBitmap || dynamic_cast<TBitmap*>(Graphic) != nullptr;
  if (native) {
    Graphic->SaveToStream(&data);
  } else {
    TBitmap bitmap;
    bitmap.Assign(Graphic);
    bitmap.SaveToStream(&data);
  }
  const auto* bytes = data.Memory();
  return std::vector<uint8_t>(bytes, bytes + data.Size());
}

}  // namespace

// ===== Recording =====

bool TReportFiler::CanRecord() {
  return Printing() && FPageOpen && !FMeasuring && !OutputSuppressed();
}

bool TReportFiler::Recording() {
  CheckPrinting();
  return CanRecord();
}

void TReportFiler::Recorded() {
  Application->ProcessMessages();
}

double TReportFiler::StreamX(double X) {
  return (XUnitsToInch(X) + XUnitsToInch(OriginX())) * ScaleX() / 100.0;
}

double TReportFiler::StreamY(double Y) {
  return (YUnitsToInch(Y) + YUnitsToInch(OriginY())) * ScaleY() / 100.0;
}

double TReportFiler::InchStreamX(double X) {
  return (X + XUnitsToInch(OriginX())) * ScaleX() / 100.0;
}

void TReportFiler::WriteUnitPoint(double X, double Y) {
  FWriter->WritePoint(StreamX(X), StreamY(Y));
}

void TReportFiler::WriteDeviceRect(const TRect& Rect) {
  WriteUnitPoint(XDeviceToUnits(Rect.Left), YDeviceToUnits(Rect.Top));
  WriteUnitPoint(XDeviceToUnits(Rect.Right), YDeviceToUnits(Rect.Bottom));
}

void TReportFiler::WriteShape(uint8_t Code, const std::vector<double>& Coordinates) {
  if (!Recording()) return;
  FWriter->WriteByte(Code);
  for (size_t i = 0; i + 1 < Coordinates.size(); i += 2) WriteUnitPoint(Coordinates[i], Coordinates[i + 1]);
  Recorded();
}

// ===== Shapes =====

void TReportFiler::Arc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                       double Y4) {
  WriteShape(pcArc, {X1, Y1, X2, Y2, X3, Y3, X4, Y4});
}

void TReportFiler::Chord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                         double Y4) {
  WriteShape(pcChord, {X1, Y1, X2, Y2, X3, Y3, X4, Y4});
}

void TReportFiler::Pie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                       double Y4) {
  WriteShape(pcPie, {X1, Y1, X2, Y2, X3, Y3, X4, Y4});
}

void TReportFiler::Ellipse(double X1, double Y1, double X2, double Y2) {
  WriteShape(pcEllipse, {X1, Y1, X2, Y2});
}

void TReportFiler::Rectangle(double X1, double Y1, double X2, double Y2) {
  WriteShape(pcRectangle, {X1, Y1, X2, Y2});
}

void TReportFiler::TabRectangle(double X1, double Y1, double X2, double Y2) {
  WriteShape(pcTabRectangle, {X1, Y1, X2, Y2});
}

void TReportFiler::RoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3) {
  if (!Recording()) return;
  FWriter->WriteByte(pcRoundRect);
  WriteUnitPoint(X1, Y1);
  WriteUnitPoint(X2, Y2);
  // The corner is a size, not a position: no origin and no scale.
  FWriter->WritePoint(XUnitsToInch(X3), YUnitsToInch(Y3));
  Recorded();
}

void TReportFiler::FloodFill(double X, double Y, TColor Color, TFillStyle FillStyle) {
  if (!Recording()) return;
  FWriter->WriteByte(pcFloodFill);
  WriteUnitPoint(X, Y);
  FWriter->WriteInt32(Color);
  FWriter->WriteInt32(static_cast<int32_t>(FillStyle));
  Recorded();
}

void TReportFiler::MoveTo(double X, double Y) {
  if (!Recording()) return;
  if (DirectLines()) {
    FWriter->WriteByte(pcMoveTo);
    WriteUnitPoint(X, Y);
    Recorded();
  }
  SetLastLinePoint(X, Y);
}

void TReportFiler::LineTo(double X, double Y) {
  if (!Recording()) return;
  if (DirectLines()) {
    SetLastLinePoint(X, Y);
  } else {
    const double fromX = LastLineX() - OriginX();
    const double fromY = LastLineY() - OriginY();
    // Level and upright pieces wait for the page end, merged with their neighbours.
    if (CollectLine(X, Y)) return;
    FWriter->WriteByte(pcMoveTo);
    WriteUnitPoint(fromX, fromY);
  }
  FWriter->WriteByte(pcLineTo);
  WriteUnitPoint(X, Y);
  Recorded();
}

// ===== Device rectangles and points =====

void TReportFiler::DrawFocusRect(const TRect& Rect) {
  if (!Recording()) return;
  FWriter->WriteByte(pcDrawFocusRect);
  WriteDeviceRect(Rect);
  Recorded();
}

void TReportFiler::FillRect(const TRect& Rect) {
  if (!Recording()) return;
  FWriter->WriteByte(pcFillRect);
  WriteDeviceRect(Rect);
  Recorded();
}

void TReportFiler::FrameRect(const TRect& Rect) {
  if (!Recording()) return;
  FWriter->WriteByte(pcFrameRect);
  WriteDeviceRect(Rect);
  Recorded();
}

void TReportFiler::WritePoints(uint8_t Code, const std::vector<TPoint>& Points) {
  if (!Recording() || Points.empty()) return;
  // The index of the last point is a 16-bit field.
  if (Points.size() - 1 > static_cast<size_t>(INT16_MAX)) {
    RaiseError(Trans("Too many points for one polygon in a page stream."));
  }
  FWriter->WriteByte(Code);
  FWriter->WriteInt16(static_cast<int16_t>(Points.size() - 1));
  for (const TPoint& point : Points) WriteUnitPoint(XDeviceToUnits(point.X), YDeviceToUnits(point.Y));
  Recorded();
}

void TReportFiler::Polygon(const std::vector<TPoint>& Points) {
  WritePoints(pcPolygon, Points);
}

void TReportFiler::Polyline(const std::vector<TPoint>& Points) {
  WritePoints(pcPolyline, Points);
}

void TReportFiler::CopyRect(const TRect& /*DestRect*/, TCanvas* /*SourceCanvas*/,
                            const TRect& /*SourceRect*/) {
  RaiseError(Trans("CopyRect() not supported in file mode."));
}

// ===== Pictures =====

bool TReportFiler::RecordingGraphic() {
  if (Recording()) return true;
  // The picture is not in the stream: registering "the picture written last" must not
  // pick an older one, and a reuse meant for this picture is used up.
  FLastGraphicOffset = 0;
  FPendingReuse = 0;
  return false;
}

void TReportFiler::WriteGraphic(TGraphic* Graphic) {
  const uint8_t kind = GraphicKind(Graphic);
  if (FPendingReuse != 0) {
    FLastGraphicOffset = FPendingReuse;
    FWriter->WriteGraphicReference(kind, FPendingReuse);
    FPendingReuse = 0;
    return;
  }
  // The Size field follows the kind byte.
  FLastGraphicOffset = StreamOffset(FWriter->WritePosition() + 1);
  FWriter->WriteGraphicData(kind, GraphicBytes(Graphic, kind));
}

void TReportFiler::Draw(double X, double Y, TGraphic* Graphic) {
  if (Graphic == nullptr || !RecordingGraphic()) return;
  FWriter->WriteByte(pcDraw);
  WriteGraphic(Graphic);
  WriteUnitPoint(X, Y);
  Recorded();
}

void TReportFiler::StretchDraw(const TRect& Rect, TGraphic* Graphic) {
  if (Graphic == nullptr || !RecordingGraphic()) return;
  FWriter->WriteByte(pcStretchDraw);
  WriteGraphic(Graphic);
  WriteDeviceRect(Rect);
  Recorded();
}

void TReportFiler::BrushCopy(const TRect& DestRect, TBitmap* Bitmap, const TRect& SourceRect, TColor Color) {
  if (Bitmap == nullptr || !RecordingGraphic()) return;
  FWriter->WriteByte(pcBrushCopy);
  WriteGraphic(Bitmap);
  WriteDeviceRect(DestRect);
  WriteDeviceRect(SourceRect);
  FWriter->WriteInt32(Color);
  Recorded();
}

void TReportFiler::PrintBitmap(double X, double Y, double ScaleX, double ScaleY, TBitmap* Bitmap) {
  if (Bitmap == nullptr || !RecordingGraphic()) return;
  FWriter->WriteByte(pcBitmapMode);
  FWriter->WriteByte(0);
  FWriter->WriteByte(pcPrintBitmap);
  WriteGraphic(Bitmap);
  WriteUnitPoint(X, Y);
  FWriter->WriteSingle(static_cast<float>(ScaleX));
  FWriter->WriteSingle(static_cast<float>(ScaleY));
  Recorded();
}

void TReportFiler::PrintBitmapRect(double X1, double Y1, double X2, double Y2, TBitmap* Bitmap) {
  if (Bitmap == nullptr || !RecordingGraphic()) return;
  FWriter->WriteByte(pcBitmapMode);
  FWriter->WriteByte(0);
  FWriter->WriteByte(pcPrintBitmapRect);
  WriteGraphic(Bitmap);
  WriteUnitPoint(X1, Y1);
  WriteUnitPoint(X2, Y2);
  Recorded();
}

void TReportFiler::PrintImageRect(double X1, double Y1, double X2, double Y2, TStream* ImageStream,
                                  const std::string& ImageType) {
  if (ImageStream == nullptr || !Recording()) return;
  const int64_t length = std::max<int64_t>(0, ImageStream->Size() - ImageStream->Position());
  FWriter->WriteByte(pcBitmapMode);
  FWriter->WriteByte(0);
  FWriter->WriteByte(pcPrintImageRect);
  FWriter->WriteInt32(StreamOffset(length));
  std::vector<uint8_t> block;
  for (int64_t left = length; left > 0;) {
    block.resize(static_cast<size_t>(std::min(left, DataBlockSize)));
    ImageStream->ReadBuffer(block.data(), static_cast<int64_t>(block.size()));
    FWriter->WriteBytes(block.data(), block.size());
    left -= static_cast<int64_t>(block.size());
  }
  FWriter->WriteString(LimitStreamText(ImageType));
  WriteUnitPoint(X1, Y1);
  WriteUnitPoint(X2, Y2);
  Recorded();
}

// ===== Raw data =====

void TReportFiler::PrintData(const std::string& Value) {
  if (!Recording()) return;
  // A string holds at most MaxStreamString bytes: longer data takes several records.
  for (size_t start = 0; start < Value.size(); start += MaxStreamString) {
    FWriter->WriteByte(pcPrintData);
    FWriter->WriteString(Value.substr(start, MaxStreamString));
  }
  Recorded();
}

void TReportFiler::PrintDataStream(TStream* Stream, int64_t Length) {
  if (Stream == nullptr || !Recording()) return;
  // The record holds the count of the bytes that follow it, whatever the caller asked for.
  const int64_t available = std::max<int64_t>(0, Stream->Size() - Stream->Position());
  const int64_t count = Length <= 0 ? available : std::min(Length, available);
  FWriter->WriteByte(pcPrintDataStream);
  FWriter->WriteInt32(StreamOffset(count));
  std::vector<uint8_t> block;
  for (int64_t left = count; left > 0;) {
    block.resize(static_cast<size_t>(std::min(left, DataBlockSize)));
    Stream->ReadBuffer(block.data(), static_cast<int64_t>(block.size()));
    FWriter->WriteBytes(block.data(), block.size());
    left -= static_cast<int64_t>(block.size());
  }
  Recorded();
}

// ===== Graphic registry =====

void TReportFiler::CheckGraphicIndex(int Index, const char* Operation) {
  CheckPrinting();
  if (Index < 1 || Index > GraphicSlots) {
    RaiseError(Trans(std::string(Operation) + ": Index must be between 1 and ") +
               std::to_string(GraphicSlots));
  }
}

void TReportFiler::RegisterGraphic(int Index) {
  CheckGraphicIndex(Index, "RegisterGraphic");
  FGraphicSlots[Index - 1] = FLastGraphicOffset;
}

void TReportFiler::ReuseGraphic(int Index) {
  CheckGraphicIndex(Index, "ReuseGraphic");
  // An empty slot leaves the next picture a data record: a reference to offset 0 could not
  // be read back.
  FPendingReuse = FGraphicSlots[Index - 1];
}

void TReportFiler::UnregisterGraphic(int Index) {
  CheckGraphicIndex(Index, "UnregisterGraphic");
  FGraphicSlots[Index - 1] = 0;
}
