// The engine against a device that has a printer behind it: page size from the printable
// area and unprintable margins, and the settings passed on to the device.
#include <gtest/gtest.h>

#include "engine/RecordingReport.h"

namespace {

// A printer-like device: 300 pixels per inch, unprintable margins, and it notes what the
// engine asks of it.
class TFakePrinterDevice : public TVXRenderDevice {
public:
  int XDPI() override { return 300; }
  int YDPI() override { return 300; }
  void GetUnprintableMargins(TRect& Rect) override { Rect = TRect{30, 60, 45, 90}; }
  bool HasPrinters() override { return true; }
  std::string DeviceName() override { return "Fake Printer"; }
  std::string DriverName() override { return "fake"; }
  std::string PortName() override { return "LPT9:"; }
  void SetOutputFileName(const std::string& Name) override { OutputFileName = Name; }
  bool SetPaperSize(int Code, int Width, int Height) override {
    PaperRequest = {Code, Width, Height};
    return TVXRenderDevice::SetPaperSize(Code, Width, Height);
  }
  void Init() { ResetPageSize(); }

  std::string OutputFileName;
  std::vector<int> PaperRequest;
};

class PrinterSettingsTest : public ::testing::Test {
protected:
  void SetUp() override {
    auto device = std::make_unique<TFakePrinterDevice>();
    device->Init();
    Printer = device.get();
    SetGlobalDevice(std::move(device));
    Report = std::make_unique<TRecordingReport>();
    Report->SetDevice(nullptr);  // use the global device, as a printer engine does
    Report->ResetPageMetrics();
  }
  void TearDown() override {
    Report.reset();
    SetGlobalDevice(nullptr);
  }

  TFakePrinterDevice* Printer = nullptr;
  std::unique_ptr<TRecordingReport> Report;
};

TEST_F(PrinterSettingsTest, PageIsThePrintableAreaPlusTheUnprintableMargins) {
  EXPECT_FALSE(Report->NoPrinters());
  EXPECT_EQ(Report->DeviceXDPI(), 300);
  EXPECT_DOUBLE_EQ(Report->UnprintableLeft(), 0.1);
  EXPECT_DOUBLE_EQ(Report->UnprintableTop(), 0.2);
  EXPECT_DOUBLE_EQ(Report->UnprintableRight(), 0.15);
  EXPECT_DOUBLE_EQ(Report->UnprintableBottom(), 0.3);
  EXPECT_DOUBLE_EQ(Report->PageWidth(), 8.5 + 0.25);
  EXPECT_DOUBLE_EQ(Report->PageHeight(), 11 + 0.5);
  // Device pixel 0 lies at the unprintable offset of the physical page.
  EXPECT_EQ(Report->XInchToDevice(1), 270);
  EXPECT_EQ(Report->YInchToDevice(1), 240);
  Report->SetMarginRight(1);
  EXPECT_DOUBLE_EQ(Report->SectionRight(), 7.75);
}

TEST_F(PrinterSettingsTest, PaperSizeGoesToTheDeviceInTenthsOfAMillimetre) {
  Report->SetUnits(unMM);
  EXPECT_TRUE(Report->SetPaperSize(0, 210, 297));
  EXPECT_EQ(Printer->PaperRequest, (std::vector<int>{0, 2100, 2970}));
  EXPECT_NEAR(Report->PageWidth(), 2480.0 / 300 * 25.4 + 0.25 * 25.4, 1e-9);
  Report->SetPaperSize(9, 0, 0);
  EXPECT_EQ(Printer->PaperRequest, (std::vector<int>{9, 0, 0}));
}

TEST_F(PrinterSettingsTest, OrientationCopiesAndOutputFileReachTheDevice) {
  Report->SetOrientation(poLandScape);
  EXPECT_EQ(Printer->GetOrientation(), 1);
  Report->SetOrientation(poDefault);  // leaves the device alone
  EXPECT_EQ(Printer->GetOrientation(), 1);
  EXPECT_EQ(Report->Orientation(), poDefault);
  Report->SetCopies(3);
  Report->SetCopies(0);  // not passed on
  EXPECT_EQ(Printer->GetCopies(), 3);
  EXPECT_EQ(Report->Copies(), 0);
  Report->SetOutputFileName("report.prn");
  EXPECT_EQ(Printer->OutputFileName, "report.prn");
  EXPECT_EQ(Report->OutputFileName(), "report.prn");
}

TEST_F(PrinterSettingsTest, DeviceNamesComeFromThePrinter) {
  EXPECT_EQ(Report->MacroValue(13), "Fake Printer");
  EXPECT_EQ(Report->MacroValue(14), "fake");
  EXPECT_EQ(Report->FormatStatus("%d on %t"), "Fake Printer on LPT9:");
  Report->Kind = 1;  // the preview names itself
  EXPECT_EQ(Report->DeviceName(), "Preview");
}

TEST_F(PrinterSettingsTest, BeforePrintHandlerMayTurnThePage) {
  Report->OnBeforePrint = [this](TObject*) { Report->SetOrientation(poLandScape); };
  Report->OnPrint = [this](TObject*) { EXPECT_EQ(Report->Orientation(), poLandScape); };
  Report->Execute();
  EXPECT_EQ(Printer->GetOrientation(), 1);
}

}  // namespace
