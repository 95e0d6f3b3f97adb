// TBaseReport: the job and page cycle, its events, page listeners, page selection,
// destinations, aborting and the printer settings passed to the device.
#include <exception>

#include "engine/VXBase.h"
#include "engine/VXDevice.h"
#include "platform/Conversions.h"
#include "platform/StringUtils.h"

// ===== Events =====

void TBaseReport::DoPrint() {
  if (OnPrint) OnPrint(this);
}

bool TBaseReport::DoPrintPage() {
  if (!OnPrintPage) return false;
  return OnPrintPage(this, FCurrentPage);
}

void TBaseReport::DoBeforePrint() {
  if (!OnBeforePrint) return;
  OnBeforePrint(this);
  // The handler may have asked for another orientation.
  if (!(FOrientation == poDefault && FRequestedOrientation == poDefault)) ApplyOrientation();
}

void TBaseReport::DoAfterPrint() {
  if (OnAfterPrint) OnAfterPrint(this);
}

void TBaseReport::DoNewPage() {
  if (OnNewPage) OnNewPage(this);
}

void TBaseReport::DoNewColumn() {
  if (OnNewColumn) OnNewColumn(this);
}

void TBaseReport::DoPrintHeader() {
  if (OnPrintHeader) OnPrintHeader(this);
}

void TBaseReport::DoPrintFooter() {
  if (OnPrintFooter) OnPrintFooter(this);
}

void TBaseReport::DoEndOfSection() {
  if (OnEndOfSection) OnEndOfSection(this);
}

int TBaseReport::OutputKind() {
  return 0;
}

// ===== The job =====

void TBaseReport::Execute() {
  ApplyOrientation();
  try {
    BeginJob();
  } catch (...) {
    // A job that started before the failure is ended, so the engine is idle again.
    if (FPrinting) EndJob();
    throw;
  }
  // An engine that could not start a job (no printer for a printer engine) stops here.
  if (!FPrinting) return;
  try {
    if (OnPrint || !OnPrintPage) {
      DoPrint();
    } else {
      while (DoPrintPage() && !FAborted) NewPage();
    }
  } catch (...) {
    EndJob();
    throw;
  }
  EndJob();
}

void TBaseReport::BeginJobSequence(const std::function<void()>& BeginDocument,
                                   const std::function<void()>& StartFirstPage) {
  CheckNotPrinting();
  FReportDateTime = Now();
  FAborted = false;
  FCurrentPage = 0;
  DoBeforePrint();
  BeginDocument();
  AttachCanvasFont();
  ResetPageMetrics();
  FPrinting = true;
  // Tab stops the report defined before the job survive the state reset.
  const bool pushed = PushTabs();
  ResetState();
  if (pushed) PopTabs();
  FCurrentPage = 1;
  FSkipPage = !(PageInRange(1) && !FAborted);
  if (!FSkipPage) StartFirstPage();
  UpdateStatus();
  if (!FAborted) {
    FirePageHooks(0);
    DoNewPage();
    DoPrintHeader();
  }
}

void TBaseReport::NewPage() {
  ApplyOrientation();
  CheckPrinting();
  ++FCurrentPage;
  UpdateStatus();
  FSkipPage = !(PageInRange(FCurrentPage) && !FAborted);
  FOriginX = 0;
  FOriginY = 0;
  ResetTabs();
  // The device page may have turned: right and bottom follow it.
  RecomputeMarginBottom();
  RecomputeMarginRight();
  ResetSection();
  Home();
}

void TBaseReport::NewPageSequence(const std::function<void()>& ClosePage,
                                  const std::function<void()>& OpenPage) {
  CheckPrinting();
  DoPrintFooter();
  FirePageHooks(1);
  ClosePage();
  TBaseReport::NewPage();
  OpenPage();
  FirePageHooks(0);
  DoNewPage();
  if (FColumns > 1) DoNewColumn();
  DoPrintHeader();
}

void TBaseReport::EndJobSequence(const std::function<void(bool Aborted)>& EndDocument) {
  std::exception_ptr failure;
  try {
    if (!FAborted) {
      DoPrintFooter();
      FirePageHooks(1);
    }
  } catch (...) {
    failure = std::current_exception();
  }
  try {
    DetachCanvasFont();
    ClearFontCache();
    ClearPendingLines();
    EndDocument(FAborted);
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
  FPrinting = false;
  DoAfterPrint();
  if (failure) std::rethrow_exception(failure);
}

void TBaseReport::AbortReport() {
  FAborted = true;
  FSkipPage = true;
}

void TBaseReport::AbortPage() {
  CheckPrinting();
  if (FSkipPage) return;
  // The page's output is dropped and its number is used again.
  FSkipPage = true;
  --FCurrentPage;
}

void TBaseReport::CheckPrinting() const {
  if (!FPrinting) RaiseError(Trans("Invalid method call.  PagePress is not printing."));
  if (FAborted) Abort();
}

void TBaseReport::CheckNotPrinting() const {
  if (FPrinting) RaiseError(Trans("Invalid method call.  PagePress already printing."));
}

bool TBaseReport::OutputSuppressed() {
  return FSkipPage || !FDestinations.Contains(OutputKind());
}

// ===== Page selection =====

bool TBaseReport::PageInRange(int Page) const {
  if (FPageSelection.empty()) return FFirstPage <= Page && Page <= FLastPage;
  bool result = false;
  std::string token;
  bool rangePending = false;
  int rangeStart = 0;
  auto evaluate = [&]() {
    const std::string item = UpperCase(token);
    if (item.empty()) {
      if (rangePending) result = Page >= rangeStart;  // an open range such as 5-
    } else if (item == "E" || item == "EVEN") {
      result = Page % 2 == 0;
    } else if (item == "R") {
      // Reverse order: a request to the replay engine, no pages of its own.
    } else if (item == "O" || item == "ODD") {
      result = Page % 2 != 0;
    } else if (item == "A" || item == "ALL") {
      result = true;
    } else {
      const int n = StrToInt(item);
      result = rangePending ? rangeStart <= Page && Page <= n : Page == n;
    }
    token.clear();
    rangePending = false;
  };
  // The end of the text ends the last token as a comma does.
  for (size_t i = 0; i <= FPageSelection.size() && !result; ++i) {
    const char c = i < FPageSelection.size() ? FPageSelection[i] : ',';
    if (c == ',') {
      evaluate();
    } else if (c == '-') {
      rangeStart = token.empty() ? 1 : StrToInt(token);
      rangePending = true;
      token.clear();
    } else {
      token += c;
    }
  }
  return result;
}

// ===== Page listeners =====

void TBaseReport::AddPageHook(int Kind, TPageHookProc Callback, TObject* Owner) {
  if (Kind == 0) FPageStartHooks.push_back({Callback, Owner});
  if (Kind == 1) FPageEndHooks.push_back({Callback, Owner});
}

void TBaseReport::RemovePageHook(int Kind, TPageHookProc Callback, TObject* Owner) {
  if (Kind != 0 && Kind != 1) return;
  auto& hooks = Kind == 0 ? FPageStartHooks : FPageEndHooks;
  for (auto it = hooks.begin(); it != hooks.end(); ++it) {
    if (it->Callback == Callback && it->Owner == Owner) {
      hooks.erase(it);
      return;
    }
  }
}

void TBaseReport::FirePageHooks(int Kind) {
  if (Kind != 0 && Kind != 1) return;
  // A copy: a listener may add or remove listeners while they are being called.
  const auto hooks = Kind == 0 ? FPageStartHooks : FPageEndHooks;
  for (const auto& hook : hooks) hook.Callback(hook.Owner, this);
}

void TBaseReport::FlushLinesHook(TObject* Owner, TBaseReport* /*Report*/) {
  static_cast<TBaseReport*>(Owner)->FlushLines();
}

// ===== Job-start state =====

void TBaseReport::ResetState() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(clBlack);
  canvas->Brush()->SetStyle(bsClear);  // after the colour, which turns a clear brush solid
  canvas->Pen()->SetColor(clBlack);
  canvas->Pen()->SetStyle(psSolid);
  canvas->Pen()->SetWidth(1);
  canvas->Pen()->SetMode(pmCopy);
  FOriginX = 0;
  FOriginY = 0;
  ClearColumns();
  ClearTabs();
  ResetSection();
  Home();
  TabJustify = 4;
}

// ===== Destinations =====

void TBaseReport::PreviewOnly() {
  FDestinations = FDestinations - TOutputKinds{0} + TOutputKinds{1};
}

void TBaseReport::PrinterOnly() {
  FDestinations = FDestinations - TOutputKinds{1} + TOutputKinds{0};
}

void TBaseReport::AllDestinations() {
  FDestinations = FDestinations + TOutputKinds{0, 1};
}

// ===== Printer settings =====

void TBaseReport::SetCopies(int Value) {
  CheckNotPrinting();
  if (!NoPrinters() && Value > 0) Device()->SetCopies(Value);
  FCopies = Value;
}

void TBaseReport::SetOutputFileName(const std::string& Value) {
  if (NoPrinters()) return;
  CheckNotPrinting();
  FOutputFileName = Value;
  Device()->SetOutputFileName(Value);
}

bool TBaseReport::SelectBin(const std::string& Name) {
  return Device()->SelectBin(Name, false);
}

uint8_t TBaseReport::Duplex() const {
  return Device()->GetDuplex();
}

void TBaseReport::SetDuplex(uint8_t Value) {
  Device()->SetDuplex(Value);
}

bool TBaseReport::Collate() const {
  return Device()->GetCollate();
}

void TBaseReport::SetCollate(bool Value) {
  Device()->SetCollate(Value);
}

int TBaseReport::MaxCopies() const {
  return Device()->MaxCopies();
}
