// TReportFiler: properties, the job and page cycle, the stream modes, the stream header and
// the page records with their PrevPage/NextPage chain.
#include "stream/VXFiler.h"

#include <climits>
#include <exception>

#include "engine/VXDevice.h"
#include "platform/FileUtils.h"
#include "platform/Stream.h"
#include "stream/VXFilerScope.h"

namespace {

// The low 16 bits, as the header keeps FirstPage and LastPage.
int16_t Low16(int Value) {
  return static_cast<int16_t>(static_cast<uint16_t>(Value & 0xFFFF));
}

}  // namespace

TReportFiler::TReportFiler(TComponent* AOwner) : TBaseReport(AOwner) {}

TReportFiler::~TReportFiler() {
  // A job left running (the report failed between BeginJob and EndJob outside Execute)
  // must not leave the canvas calling into a destroyed filer, nor the engine holding the
  // font of a canvas that goes with the filer's own device.
  RemoveStateHandlers();
  DetachCanvasFont();
  if (FOwnDevice) SetDevice(nullptr);
}

void TReportFiler::Assign(TPersistent* Source) {
  TBaseReport::Assign(Source);
  if (auto* filer = dynamic_cast<TReportFiler*>(Source)) {
    FStreamMode = filer->FStreamMode;
    FFileName = filer->FFileName;
    FAccuracyMethod = filer->FAccuracyMethod;
  }
}

void TReportFiler::SetMeasuring(bool Value) {
  FMeasuring = Value;
  if (FWriter) FWriter->SetMuted(Value);
}

int32_t TReportFiler::StreamOffset(int64_t Offset) {
  if (Offset > INT32_MAX) RaiseError(Trans("The page stream is too large for its 32-bit offsets."));
  return static_cast<int32_t>(Offset);
}

// ===== The job =====

void TReportFiler::BeginJob() {
  CheckNotPrinting();
  ResetJobState();
  try {
    BeginJobSequence([this] { OpenJob(); },
                     [this] {
                       SetMeasuring(false);
                       CountPage();
                       WritePageHeader();
                     });
  } catch (...) {
    // A job that never started running is taken down here; a running one ends in EndJob.
    if (!Printing()) ReleaseJob(false);
    throw;
  }
  SetMeasuring(false);
}

void TReportFiler::ResetJobState() {
  FDestination = pcAllDestinations;
  FOutput = nullptr;
  FPagesWritten = 0;
  FPageCountOffset = 0;
  FPageOffsets.clear();
  FNextPageField = 0;
  FPageOpen = false;
  FForceState = false;
  FShadow = TFilerShadow();
  FVariables.clear();
  FPageStartVariables.clear();
  FGraphicSlots.fill(0);
  FLastGraphicOffset = 0;
  FPendingReuse = 0;
}

void TReportFiler::OpenJob() {
  OpenStream();
  FWriter = std::make_unique<TPageStreamWriter>(FOutput);
  ResetPageMetrics();
  WriteStreamHeader();
  SetMeasuring(true);
  AttachMeasuringDevice();
  InstallStateHandlers();
}

void TReportFiler::OpenStream() {
  switch (FStreamMode) {
    case smMemory:
      FOwnStream = std::make_unique<TMemoryStream>();
      break;
    case smFile:
      FOwnStream = std::make_unique<TFileStream>(FFileName, fmCreate);
      break;
    case smUser:
      if (FStream == nullptr) RaiseError(Trans("StreamMode is smUser but Stream is nil"));
      FStream->SetPosition(0);
      FOutput = FStream;
      return;
    case smTempFile:
      // The whole folder name is kept, however long it is.
      FFileName = GetTempFileName(GetTempPath(), "VX");
      FOwnStream = std::make_unique<TFileStream>(FFileName, fmCreate);
      break;
  }
  FOutput = FOwnStream.get();
}

void TReportFiler::WriteStreamHeader() {
  TPageStreamWriter& w = *FWriter;
  TVXBaseDevice* device = Device();
  w.WriteByte(StreamSignature);
  w.WriteInt16(StreamVersion);
  w.WriteString(LimitStreamText(Title()));
  FPageCountOffset = w.Position();
  w.WriteInt16(0);
  w.WriteInt16(Low16(FirstPage()));
  w.WriteInt16(Low16(LastPage()));
  w.WriteSingle(static_cast<float>(XUnitsToInch(PageWidth())));
  w.WriteSingle(static_cast<float>(YUnitsToInch(PageHeight())));
  w.WriteSingle(static_cast<float>(UnprintableLeft()));
  w.WriteSingle(static_cast<float>(UnprintableRight()));
  w.WriteSingle(static_cast<float>(UnprintableTop()));
  w.WriteSingle(static_cast<float>(UnprintableBottom()));
  w.WriteByte(static_cast<uint8_t>(device->GetOrientation()));
  // The device interface tells no bin or paper codes: they are those of "no settings".
  w.WriteInt16(StreamNoBin);
  w.WriteByte(device->GetCollate() ? 1 : 0);
  w.WriteByte(device->GetDuplex());
  w.WriteInt16(NoPrinters() ? 1 : Low16(device->GetCopies()));
  w.WriteInt16(1);
  w.WriteInt16(0);
  w.WriteInt16(0);
  w.WriteString(LimitStreamText(OutputFileName()));
}

void TReportFiler::AttachMeasuringDevice() {
  // Without printers the filer measures on a device of its own, so that nothing another
  // engine does to the process-wide device reaches this job.
  if (NoPrinters() && Device() == GlobalDevice()) {
    FOwnDevice = std::make_unique<TVXRenderDevice>();
    SetDevice(FOwnDevice.get());
  }
  SetDeviceXDPI(Device()->XDPI());
  SetDeviceYDPI(Device()->YDPI());
}

void TReportFiler::EndJob() {
  EndJobSequence([this](bool /*Aborted*/) { FinishJob(); });
}

void TReportFiler::FinishJob() {
  std::exception_ptr failure;
  SetMeasuring(false);
  try {
    if (FWriter) {
      ClosePage(true);
      PatchInt16(FPageCountOffset, static_cast<int16_t>(FPagesWritten));
      FWriter->Flush();
    }
  } catch (...) {
    failure = std::current_exception();
  }
  try {
    ReleaseJob(true);
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
  if (failure) std::rethrow_exception(failure);
}

void TReportFiler::ReleaseJob(bool Save) {
  RemoveStateHandlers();
  if (FOwnDevice) {
    SetDevice(nullptr);
    FOwnDevice.reset();
  }
  FPageOpen = false;
  SetMeasuring(false);
  FWriter.reset();
  CloseStream(Save);
}

void TReportFiler::CloseStream(bool Save) {
  // The stream goes whatever happens while saving it.
  std::unique_ptr<TStream> own = std::move(FOwnStream);
  TStream* output = FOutput;
  FOutput = nullptr;
  if (output == nullptr) return;
  if (Save && FStreamMode == smMemory && own) static_cast<TMemoryStream*>(own.get())->SaveToFile(FFileName);
}

// ===== Pages =====

void TReportFiler::NewPage() {
  NewPageSequence(
      [this] {
        ClosePage(false);
        SetMeasuring(true);
      },
      [this] {
        if (!NoPrinters()) LoadDeviceMetrics();
        SetMeasuring(false);
        if (!SkipPage()) {
          CountPage();
          WritePageHeader();
        }
      });
}

void TReportFiler::CountPage() {
  // Page numbers and the page count are 16-bit fields.
  if (FPagesWritten >= INT16_MAX) RaiseError(Trans("Too many pages for a page stream."));
  ++FPagesWritten;
}

void TReportFiler::WritePageHeader() {
  TPageStreamWriter& w = *FWriter;
  const int64_t offset = w.Position();
  FPageStartVariables = FVariables;
  w.WriteByte(pcPageBegin);
  w.WriteInt32(FPageOffsets.empty() ? 0 : StreamOffset(FPageOffsets.back()));
  FPageOffsets.push_back(StreamOffset(offset));
  FNextPageField = offset + 5;
  w.WriteInt32(0);
  w.WriteInt16(static_cast<int16_t>(FPagesWritten));
  w.WritePoint(XUnitsToInch(PageWidth()), YUnitsToInch(PageHeight()));
  FPageOpen = true;
  WriteStateBlock();
}

void TReportFiler::WriteStateBlock() {
  {
    TFilerFlagScope force(FForceState);
    EmitBrushState();
    EmitFontState();
    EmitPenState();
  }
  SetScaleX(ScaleX());
  SetScaleY(ScaleY());
  SetTextBKMode(TextBKMode());
  SetBKColor(GetBKColor());
  for (TFilerVariable& variable : FVariables) WriteVariableRecord(variable);
}

void TReportFiler::ClosePage(bool LastPage) {
  if (FPageOpen) {
    FWriter->WriteByte(pcPageEnd);
    FPageOpen = false;
  }
  if (FNextPageField == 0) return;
  // A page left out is skipped by the chain: the field waits for the next page recorded.
  PatchInt32(FNextPageField, LastPage ? 0 : StreamOffset(FWriter->Position()));
}

void TReportFiler::AbortPage() {
  const bool recorded = Printing() && !SkipPage() && FPageOpen;
  TBaseReport::AbortPage();
  if (recorded) DiscardPage();
}

void TReportFiler::DiscardPage() {
  const int64_t offset = FPageOffsets.back();
  FPageOffsets.pop_back();
  FWriter->Discard();
  FWriter->Seek(offset);
  FOutput->SetSize(offset);
  FWriter->Seek(offset);
  FPageOpen = false;
  --FPagesWritten;
  FNextPageField = FPageOffsets.empty() ? 0 : FPageOffsets.back() + 5;
  // Nothing may refer to the bytes that are gone: pictures of the page are forgotten and
  // variables go back to their records from before the page.
  for (int32_t& slot : FGraphicSlots) {
    if (slot >= offset) slot = 0;
  }
  if (FLastGraphicOffset >= offset) FLastGraphicOffset = 0;
  if (FPendingReuse >= offset) FPendingReuse = 0;
  std::vector<TFilerVariable> current = std::move(FVariables);
  FVariables = FPageStartVariables;
  for (const TFilerVariable& variable : current) {
    const int64_t record = variable.Offset < 0 ? -static_cast<int64_t>(variable.Offset) : variable.Offset;
    const bool survives = !variable.Pending && record != 0 && record < offset;
    if (survives) {
      TFilerVariable* kept = FindVariable(variable.Name);
      if (kept != nullptr) {
        *kept = variable;
      } else {
        FVariables.push_back(variable);
      }
    } else if (variable.Offset < 0 || variable.Pending) {
      // A value given on the page is still the report's value.
      StoreVariable(variable.Name, variable.Value);
    }
  }
}

void TReportFiler::PatchInt16(int64_t Offset, int16_t Value) {
  const int64_t end = FWriter->Position();
  FWriter->Seek(Offset);
  FWriter->WriteInt16(Value);
  FWriter->Seek(end);
}

void TReportFiler::PatchInt32(int64_t Offset, int32_t Value) {
  const int64_t end = FWriter->Position();
  FWriter->Seek(Offset);
  FWriter->WriteInt32(Value);
  FWriter->Seek(end);
}
