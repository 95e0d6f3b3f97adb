// TBaseReport: the device canvas, frame mode, the line collector the page end flushes,
// graphic slots, and the pen and brush operations of the virtual slot table.
#include "engine/VXBase.h"
#include "engine/VXDevice.h"

TCanvas* TBaseReport::Canvas() {
  TVXBaseDevice* device = Device();
  if (!device->Printing()) RaiseError(Trans("Error!  Canvas not yet active."));
  return device->Canvas();
}

void TBaseReport::SetFrameMode(uint8_t Mode) {
  FFrameMode = Mode;
}

void TBaseReport::FlushLines() {
  FVerticalLines.clear();
  FHorizontalLines.clear();
}

void TBaseReport::ClearPendingLines() {
  FVerticalLines.clear();
  FHorizontalLines.clear();
}

// Graphic slots belong to the file engine; here they do nothing.
void TBaseReport::UnregisterGraphic(int /*Index*/) {}
void TBaseReport::RegisterGraphic(int /*Index*/) {}
void TBaseReport::ReuseGraphic(int /*Index*/) {}

void TBaseReport::SetBrush(TColor /*Color*/, TBrushStyle /*Style*/, TBitmap* /*Bitmap*/) {
  NotAvailable("SetBrush");
}

void TBaseReport::SetPen(TColor /*Color*/, TPenStyle /*Style*/, int /*Width*/, TPenMode /*Mode*/) {
  NotAvailable("SetPen");
}
