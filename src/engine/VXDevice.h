#pragma once
// Output devices: the interface every report engine asks about the output medium
// (resolution, paper, bins, copies, orientation), text measuring and the document and
// page protocol; the process-wide global device; and the printer-less render device.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Object.h"
#include "platform/Types.h"

class TBitmap;
class TCanvas;
class TStrings;

class TVXBaseDevice : public TObject {
public:
  TVXBaseDevice();
  ~TVXBaseDevice() override;
  std::string ClassName() const override { return "TVXBaseDevice"; }

  // --- Virtual operations in slot order ---
  virtual TCanvas* Canvas() = 0;
  virtual int XDPI();
  virtual int YDPI();
  // Left, top, right and bottom unprintable margins in pixels.
  virtual void GetUnprintableMargins(TRect& Rect);
  // Lists the device owns (names with their codes in Objects), or none.
  virtual TStrings* Bins();
  virtual TStrings* Papers();
  virtual TStrings* Fonts();
  virtual TStrings* Printers();
  virtual int GetOrientation();
  virtual void SetOrientation(int Value);
  virtual int MaxCopies();
  virtual void SetCopies(int Value);
  virtual int GetCopies();
  virtual void SetDuplex(uint8_t Value);
  virtual uint8_t GetDuplex();
  virtual void SetCollate(bool Value);
  virtual bool GetCollate();
  virtual int PageHeight();
  virtual int PageWidth();
  virtual int TextWidth(const std::string& Text);
  virtual void PrintData(const void* Buffer, int Length);
  virtual void BeginDocPage();
  virtual void BeginDoc();
  virtual void EndDoc();
  virtual void AbortDoc();
  virtual void NewPage();
  virtual void NewPageOutput(bool Print);
  virtual bool SelectBin(const std::string& Name, bool Exact);
  virtual bool SelectPaper(const std::string& Name, bool Exact);
  virtual void GetPaperExtents(TPoint& Min, TPoint& Max);
  // Width and Height in tenths of a millimetre; 0 for either means 8.5 by 11 inches.
  virtual bool SetPaperSize(int Code, int Width, int Height);
  virtual bool SupportsBin(int Code);
  virtual bool SupportsPaper(int Code);
  virtual bool SupportsOrientation();
  virtual bool SupportsDuplex();
  virtual bool SupportsCollate();

  // --- Printer services: only a device bound to the system's printers overrides these ---
  // Whether a usable printer stands behind this device.
  virtual bool HasPrinters();
  // The selected printer's device, driver and port names (empty here).
  virtual std::string DeviceName();
  virtual std::string DriverName();
  virtual std::string PortName();
  // The file the next document is printed into instead of the printer port (ignored here).
  virtual void SetOutputFileName(const std::string& Name);

  // --- State ---
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }
  bool Printing() const { return FPrinting; }
  const std::string& BinName() const { return FBinName; }
  const std::string& PaperName() const { return FPaperName; }

protected:
  // Page size in pixels for 8.5 by 11 inches at the device's resolution.
  void ResetPageSize();
  void SetPrinting(bool Value) { FPrinting = Value; }

  std::string FTitle;
  bool FPrinting = false;
  int FCopies = 1;
  // Portrait, as the 8.5 by 11 inch page is.
  int FOrientation = 0;
  uint8_t FDuplex = 0;
  bool FCollate = false;
  int FPageWidth = 0;
  int FPageHeight = 0;
  std::string FBinName;
  std::string FPaperName;
};

// The printer-less device: 600 pixels per inch, a memory canvas, text measured by the
// font metrics manager, and document and page operations that do nothing.
class TVXRenderDevice : public TVXBaseDevice {
public:
  TVXRenderDevice();
  ~TVXRenderDevice() override;
  std::string ClassName() const override { return "TVXRenderDevice"; }

  TCanvas* Canvas() override;
  int XDPI() override;
  int YDPI() override;
  int TextWidth(const std::string& Text) override;

  // A given canvas (not owned) replaces and frees the own bitmap; nullptr goes back to
  // an own bitmap.
  void SetCanvas(TCanvas* Value);

private:
  std::unique_ptr<TBitmap> FBitmap;
  TCanvas* FCanvas = nullptr;
};

// The device serving the whole process, created on first use (the render device when no
// printer device is built in). Never null.
TVXBaseDevice* GlobalDevice();
// Installs another device as the global device; nullptr frees it, so the next
// GlobalDevice() creates a new one.
void SetGlobalDevice(std::unique_ptr<TVXBaseDevice> Device);
