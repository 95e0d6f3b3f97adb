#include "engine/VXDevice.h"

#include <cmath>

#include "engine/VXFontManager.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/RasterCanvas.h"

// --- TVXBaseDevice ---

TVXBaseDevice::TVXBaseDevice() {
  ResetPageSize();
}

TVXBaseDevice::~TVXBaseDevice() = default;

void TVXBaseDevice::ResetPageSize() {
  FPageWidth = static_cast<int>(std::nearbyint(XDPI() * 8.5));
  FPageHeight = static_cast<int>(std::nearbyint(YDPI() * 11.0));
}

int TVXBaseDevice::XDPI() {
  return 96;
}
int TVXBaseDevice::YDPI() {
  return 96;
}
void TVXBaseDevice::GetUnprintableMargins(TRect& Rect) {
  Rect = TRect{};
}
TStrings* TVXBaseDevice::Bins() {
  return nullptr;
}
TStrings* TVXBaseDevice::Papers() {
  return nullptr;
}
TStrings* TVXBaseDevice::Fonts() {
  return nullptr;
}
TStrings* TVXBaseDevice::Printers() {
  return nullptr;
}
int TVXBaseDevice::GetOrientation() {
  return FOrientation;
}
void TVXBaseDevice::SetOrientation(int Value) {
  FOrientation = Value;
}
int TVXBaseDevice::MaxCopies() {
  return 1;
}
void TVXBaseDevice::SetCopies(int Value) {
  FCopies = Value;
}
int TVXBaseDevice::GetCopies() {
  return FCopies;
}
void TVXBaseDevice::SetDuplex(uint8_t Value) {
  FDuplex = Value;
}
uint8_t TVXBaseDevice::GetDuplex() {
  return FDuplex;
}
void TVXBaseDevice::SetCollate(bool Value) {
  FCollate = Value;
}
bool TVXBaseDevice::GetCollate() {
  return FCollate;
}
int TVXBaseDevice::PageHeight() {
  return FPageHeight;
}
int TVXBaseDevice::PageWidth() {
  return FPageWidth;
}
int TVXBaseDevice::TextWidth(const std::string& /*Text*/) {
  return 0;
}
void TVXBaseDevice::PrintData(const void* /*Buffer*/, int /*Length*/) {}
void TVXBaseDevice::BeginDocPage() {}
void TVXBaseDevice::BeginDoc() {}
void TVXBaseDevice::EndDoc() {}
void TVXBaseDevice::AbortDoc() {}
void TVXBaseDevice::NewPage() {}
void TVXBaseDevice::NewPageOutput(bool /*Print*/) {}

bool TVXBaseDevice::SelectBin(const std::string& Name, bool /*Exact*/) {
  FBinName = Name;
  return true;
}

bool TVXBaseDevice::SelectPaper(const std::string& Name, bool /*Exact*/) {
  FPaperName = Name;
  return true;
}

void TVXBaseDevice::GetPaperExtents(TPoint& /*Min*/, TPoint& /*Max*/) {}

bool TVXBaseDevice::SetPaperSize(int /*Code*/, int Width, int Height) {
  if (Width != 0 && Height != 0) {
    FPageWidth = static_cast<int>(std::nearbyint(XDPI() * static_cast<double>(Width) / 254.0));
    FPageHeight = static_cast<int>(std::nearbyint(YDPI() * static_cast<double>(Height) / 254.0));
  } else {
    ResetPageSize();
  }
  return true;
}

bool TVXBaseDevice::SupportsBin(int /*Code*/) {
  return true;
}
bool TVXBaseDevice::SupportsPaper(int /*Code*/) {
  return true;
}
bool TVXBaseDevice::SupportsOrientation() {
  return true;
}
bool TVXBaseDevice::SupportsDuplex() {
  return true;
}
bool TVXBaseDevice::SupportsCollate() {
  return true;
}
bool TVXBaseDevice::HasPrinters() {
  return false;
}
std::string TVXBaseDevice::DeviceName() {
  return std::string();
}
std::string TVXBaseDevice::DriverName() {
  return std::string();
}
std::string TVXBaseDevice::PortName() {
  return std::string();
}
void TVXBaseDevice::SetOutputFileName(const std::string& /*Name*/) {}

// --- TVXRenderDevice ---

TVXRenderDevice::TVXRenderDevice() : FBitmap(std::make_unique<TBitmap>()) {
  // The base constructor sized the page at its own resolution; this device has 600.
  ResetPageSize();
  SetPrinting(true);
}

TVXRenderDevice::~TVXRenderDevice() = default;

TCanvas* TVXRenderDevice::Canvas() {
  if (FCanvas != nullptr) return FCanvas;
  return FBitmap->Canvas();
}

int TVXRenderDevice::XDPI() {
  return 600;
}
int TVXRenderDevice::YDPI() {
  return 600;
}

int TVXRenderDevice::TextWidth(const std::string& Text) {
  return FontManager()->MeasureText(Canvas()->Font(), Text);
}

void TVXRenderDevice::SetCanvas(TCanvas* Value) {
  FCanvas = Value;
  if (FCanvas != nullptr) {
    FBitmap.reset();
  } else if (!FBitmap) {
    FBitmap = std::make_unique<TBitmap>();
  }
}

// --- The global device ---

namespace {
std::unique_ptr<TVXBaseDevice>& GlobalDeviceSlot() {
  static std::unique_ptr<TVXBaseDevice> device;
  return device;
}
}  // namespace

TVXBaseDevice* GlobalDevice() {
  auto& slot = GlobalDeviceSlot();
  if (!slot) slot = std::make_unique<TVXRenderDevice>();
  return slot.get();
}

void SetGlobalDevice(std::unique_ptr<TVXBaseDevice> Device) {
  GlobalDeviceSlot() = std::move(Device);
}
