// TBaseReport: construction, copying settings, units and device conversions, page and
// device metrics, margins and section.
#include "engine/VXBase.h"

#include <cmath>

#include "engine/VXDevice.h"
#include "platform/StringList.h"

TBaseReport::TBaseReport(TComponent* AOwner)
    : TVXBaseComponent(AOwner),
      FMacroStrings(std::make_unique<TStringList>()),
      FStatusText(std::make_unique<TStringList>()) {
  FTitle = Trans("PagePress Report");
  FStatusFormat = Trans("Printing page %p");
  FLineAscent = FFont.Ascent;
  FLineDescent = FFont.Descent;
  AddPageHook(1, &TBaseReport::FlushLinesHook, this);
  ResetPageMetrics();
  ClearColumns();
}

TBaseReport::~TBaseReport() {
  DetachCanvasFont();
  SetStatusLabel(nullptr);
}

void TBaseReport::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TBaseReport*>(Source);
  if (source == nullptr) {
    TVXBaseComponent::Assign(Source);
    return;
  }
  SetFirstPage(source->FirstPage());
  SetLastPage(source->LastPage());
  SetPageSelection(source->PageSelection());
  SetStatusLabel(source->StatusLabel());
  SetStatusFormat(source->StatusFormat());
  SetStatusText(source->StatusText());
  FLineHeightMethod = source->FLineHeightMethod;
  FLineHeight = source->FLineHeight;
  FLinesPerInch = source->FLinesPerInch;
  // The unit comes first: the margins are given in the source's unit.
  FUnits = source->FUnits;
  FUnitsFactor = source->FUnitsFactor;
  SetMarginLeft(source->MarginLeft());
  SetMarginRight(source->MarginRight());
  SetMarginTop(source->MarginTop());
  SetMarginBottom(source->MarginBottom());
  SetTabShade(source->TabShade());
  SetShadeColor(source->ShadeColor());
  SetTitle(source->Title());
  FTextBKMode = source->FTextBKMode;
  SetCopies(source->Copies());
  SetOrientation(source->Orientation());
  SetScaleX(source->ScaleX());
  SetScaleY(source->ScaleY());
  SetMacroStrings(source->MacroStrings());
  OnPrint = source->OnPrint;
  OnPrintPage = source->OnPrintPage;
  OnBeforePrint = source->OnBeforePrint;
  OnAfterPrint = source->OnAfterPrint;
  OnNewPage = source->OnNewPage;
  OnNewColumn = source->OnNewColumn;
  OnPrintHeader = source->OnPrintHeader;
  OnPrintFooter = source->OnPrintFooter;
}

// ===== Units and device conversions =====

void TBaseReport::SetUnits(TPrintUnits Value) {
  FUnits = Value;
  if (Value != unUser) FUnitsFactor = UnitsFactorOf(Value);
}

void TBaseReport::SetUnitsFactor(double Value) {
  if (Value <= 0) return;
  FUnitsFactor = Value;
  FUnits = UnitsOfFactor(Value);
}

void TBaseReport::SetScaleX(double Value) {
  // A scale is a divisor of the reverse conversions: 0 or less would break them.
  if (Value > 0) FScaleX = Value;
}

void TBaseReport::SetScaleY(double Value) {
  if (Value > 0) FScaleY = Value;
}

int TBaseReport::XInchToDevice(double X) const {
  const double pixels = ((X + FOriginX) * FScaleX * FZoomPercent / 10000.0 - FUnprintableLeft) * FDeviceXDPI;
  return static_cast<int>(std::nearbyint(pixels)) + FDevicePixelOffsetX;
}

int TBaseReport::YInchToDevice(double Y) const {
  const double pixels = ((Y + FOriginY) * FScaleY * FZoomPercent / 10000.0 - FUnprintableTop) * FDeviceYDPI;
  return static_cast<int>(std::nearbyint(pixels)) + FDevicePixelOffsetY;
}

double TBaseReport::XDeviceToInch(int P) const {
  return (static_cast<double>(P - FDevicePixelOffsetX) / FDeviceXDPI + FUnprintableLeft) * 10000.0 /
             (FScaleX * FZoomPercent) -
         FOriginX;
}

double TBaseReport::YDeviceToInch(int P) const {
  return (static_cast<double>(P - FDevicePixelOffsetY) / FDeviceYDPI + FUnprintableTop) * 10000.0 /
             (FScaleY * FZoomPercent) -
         FOriginY;
}

TRect TBaseReport::CreateRect(double X1, double Y1, double X2, double Y2) const {
  return TRect{XUnitsToDevice(X1), YUnitsToDevice(Y1), XUnitsToDevice(X2), YUnitsToDevice(Y2)};
}

// ===== Device and page =====

TVXBaseDevice* TBaseReport::Device() const {
  return FDevice != nullptr ? FDevice : GlobalDevice();
}

bool TBaseReport::NoPrinters() const {
  return FDevice != nullptr || !GlobalDevice()->HasPrinters();
}

double TBaseReport::PageWidthInch() const {
  if (NoPrinters()) return FRenderPageWidth;
  return static_cast<double>(Device()->PageWidth()) / FDeviceXDPI + FUnprintableLeft + FUnprintableRight;
}

double TBaseReport::PageHeightInch() const {
  if (NoPrinters()) return FRenderPageHeight;
  return static_cast<double>(Device()->PageHeight()) / FDeviceYDPI + FUnprintableTop + FUnprintableBottom;
}

double TBaseReport::PageWidth() const {
  return XInchToUnits(PageWidthInch());
}

double TBaseReport::PageHeight() const {
  return YInchToUnits(PageHeightInch());
}

bool TBaseReport::SetPaperSize(int PaperSize, double Width, double Height) {
  CheckNotPrinting();
  if (NoPrinters()) {
    // Kept in inches, so that a later change of unit reads the same paper back.
    if (Width != 0 && Height != 0) {
      FRenderPageWidth = XUnitsToInch(Width);
      FRenderPageHeight = YUnitsToInch(Height);
    }
    return true;
  }
  // The device takes tenths of a millimetre.
  const int width = static_cast<int>(std::nearbyint(XUnitsToInch(Width) * 254.0));
  const int height = static_cast<int>(std::nearbyint(YUnitsToInch(Height) * 254.0));
  const bool result = Device()->SetPaperSize(PaperSize, width, height);
  LoadDeviceMetrics();
  return result;
}

void TBaseReport::SetOrientation(TOrientation Value) {
  FRequestedOrientation = Value;
  if (!FPrinting) ApplyOrientation();
}

void TBaseReport::ApplyOrientation() {
  if (!NoPrinters() && FRequestedOrientation != poDefault) {
    Device()->SetOrientation(FRequestedOrientation);
    LoadDeviceMetrics();
  }
  FOrientation = FRequestedOrientation;
}

void TBaseReport::LoadDeviceMetrics() {
  FUnprintableLeft = FUnprintableRight = FUnprintableTop = FUnprintableBottom = 0;
  TVXBaseDevice* device = Device();
  if (NoPrinters()) {
    FDeviceXDPI = device->XDPI();
    FDeviceYDPI = device->YDPI();
    return;
  }
  const int kind = OutputKind();
  if (kind != 0 && kind != 2) return;  // the preview engine sets its own resolution
  FDeviceXDPI = device->XDPI();
  FDeviceYDPI = device->YDPI();
  TRect margins;
  device->GetUnprintableMargins(margins);
  FUnprintableLeft = static_cast<double>(margins.Left) / FDeviceXDPI;
  FUnprintableTop = static_cast<double>(margins.Top) / FDeviceYDPI;
  FUnprintableRight = static_cast<double>(margins.Right) / FDeviceXDPI;
  FUnprintableBottom = static_cast<double>(margins.Bottom) / FDeviceYDPI;
}

void TBaseReport::ResetPageMetrics() {
  CheckNotPrinting();
  LoadDeviceMetrics();
  SetMarginLeft(FMarginLeft);
  SetMarginRight(FMarginRight);
  SetMarginTop(FMarginTop);
  SetMarginBottom(FMarginBottom);
  ResetSection();
}

// ===== Margins and section =====

void TBaseReport::SetMarginLeft(double Value) {
  FMarginLeft = Value;
  FLeftMarginPos = XUnitsToInch(Value);
  SetSectionLeft(XInchToUnits(FLeftMarginPos));
}

void TBaseReport::SetMarginTop(double Value) {
  FMarginTop = Value;
  FTopMarginPos = YUnitsToInch(Value);
  SetSectionTop(YInchToUnits(FTopMarginPos));
}

void TBaseReport::SetMarginRight(double Value) {
  FMarginRight = Value;
  RecomputeMarginRight();
}

void TBaseReport::SetMarginBottom(double Value) {
  FMarginBottom = Value;
  RecomputeMarginBottom();
}

void TBaseReport::RecomputeMarginRight() {
  FRightMarginPos = PageWidthInch() - XUnitsToInch(FMarginRight);
  SetSectionRight(XInchToUnits(FRightMarginPos));
}

void TBaseReport::RecomputeMarginBottom() {
  FBottomMarginPos = PageHeightInch() - YUnitsToInch(FMarginBottom);
  SetSectionBottom(YInchToUnits(FBottomMarginPos));
}

void TBaseReport::SetSectionLeft(double Value) {
  FSectionLeft = XUnitsToInch(Value);
  if (FXPos < FSectionLeft) FXPos = FSectionLeft;
}

void TBaseReport::SetSectionRight(double Value) {
  FSectionRight = XUnitsToInch(Value);
  if (FXPos > FSectionRight) FXPos = FSectionRight;
}

void TBaseReport::SetSectionTop(double Value) {
  FSectionTop = YUnitsToInch(Value);
  if (FYPos < FSectionTop) FYPos = FSectionTop;
}

void TBaseReport::SetSectionBottom(double Value) {
  FSectionBottom = YUnitsToInch(Value);
  if (FYPos > FSectionBottom) FYPos = FSectionBottom;
}

void TBaseReport::ResetSection() {
  FSectionLeft = FLeftMarginPos;
  FSectionRight = FRightMarginPos;
  FSectionTop = FTopMarginPos;
  FSectionBottom = FBottomMarginPos;
}
