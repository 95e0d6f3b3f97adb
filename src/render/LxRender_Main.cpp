// TLxRender: the generation sequence, output names, page filter, progress, abort and the
// after-generate actions.
#include "render/LxRender_Main.h"

#include <cmath>
#include <limits>
#include <map>
#include <numbers>

#include "platform/Bitmap.h"
#include "platform/FileUtils.h"
#include "platform/Font.h"
#include "platform/Forms.h"
#include "platform/MathUtils.h"
#include "platform/Picture.h"
#include "platform/RasterCanvas.h"
#include "platform/Stream.h"
#include "platform/StringUtils.h"
#include "render/LxRender_Document.h"
#include "render/LxRender_Utils.h"

namespace {

TLxRenderProgressHook& ProgressHook() {
  static TLxRenderProgressHook hook;
  return hook;
}

std::map<std::string, TLxSetupDialogHook>& SetupDialogHooks() {
  static std::map<std::string, TLxSetupDialogHook> hooks;
  return hooks;
}

bool IsDigit(char C) {
  return C >= '0' && C <= '9';
}

// The syntax of Pages: digits, "," and "-" only; not a lone "-"; no "," first or after
// anything but a digit.
bool ValidPages(const std::string& Value) {
  if (Value == "-") return false;
  for (size_t i = 0; i < Value.size(); ++i) {
    const char c = Value[i];
    if (!IsDigit(c) && c != ',' && c != '-') return false;
    if (c == ',' && (i == 0 || !IsDigit(Value[i - 1]))) return false;
  }
  return true;
}

// One entry of Pages while it is scanned.
struct TPageEntry {
  std::string First;
  std::string Second;
  bool Range = false;

  // Numbers too long for an int select pages beyond any report.
  static int Number(const std::string& Digits, int Empty) {
    if (Digits.empty()) return Empty;
    if (Digits.size() > 9) return std::numeric_limits<int>::max();
    return std::stoi(Digits);
  }

  bool Matches(int PageNo, int PageCount) const {
    if (!Range) return !First.empty() && Number(First, 0) == PageNo;
    return Number(First, 1) <= PageNo && PageNo <= Number(Second, PageCount);
  }
};

}  // namespace

TLxRenderProgressHook SetRenderProgressHook(TLxRenderProgressHook Hook) {
  TLxRenderProgressHook previous = std::move(ProgressHook());
  ProgressHook() = std::move(Hook);
  return previous;
}

TLxSetupDialogHook SetRenderSetupDialogHook(const std::string& RenderClass, TLxSetupDialogHook Hook) {
  auto& hooks = SetupDialogHooks();
  TLxSetupDialogHook previous;
  const auto hit = hooks.find(RenderClass);
  if (hit != hooks.end()) {
    previous = std::move(hit->second);
    hooks.erase(hit);
  }
  if (Hook) hooks[RenderClass] = std::move(Hook);
  return previous;
}

TLxRender::TLxRender(TComponent* AOwner)
    : TVXRenderStream(AOwner),
      FLibraryVersion(std::string("1.0 [") + PagePressVersion + "]"),
      FBackgroundImage(std::make_unique<TPicture>()),
      FOutputFiles(std::make_unique<TStringList>()) {}

TLxRender::~TLxRender() = default;

void TLxRender::SetVersion(const std::string& /*Value*/) {
  // The library's version is its own; stored forms cannot change it.
}

void TLxRender::SetPages(const std::string& Value) {
  const std::string pages = Trim(Value);
  if (!ValidPages(pages)) {
    ShowError(
        Trans("Pages should contain page numbers and/or page ranges\r\n"
              "separated by commas. For example, 1,3,5-12"));
    return;
  }
  FPages = pages;
}

void TLxRender::SetBackgroundImage(TPicture* Value) {
  FBackgroundImage->Assign(Value);
}

// ===== Page filter =====

bool TLxRender::IsPageInRange(int PageNo) const {
  if (FCancelled) return false;
  if (FPages.empty()) return true;
  // Without a converter the report's page count is unknown: an open range has no end.
  const int pageCount = Converter() ? Converter()->PageCount() : std::numeric_limits<int>::max();
  TPageEntry entry;
  for (size_t i = 0; i <= FPages.size(); ++i) {
    const char c = i < FPages.size() ? FPages[i] : ',';
    if (IsDigit(c)) {
      (entry.Range ? entry.Second : entry.First) += c;
    } else if (c == '-') {
      entry.Range = true;
    } else {
      if (entry.Matches(PageNo, pageCount)) return true;
      entry = TPageEntry();
    }
  }
  return false;
}

bool TLxRender::CurrentPageInRange() const {
  return Converter() != nullptr && IsPageInRange(Converter()->CurrentPage());
}

// ===== Names =====

std::string TLxRender::DefaultExtension() const {
  const std::string own = ExtractFileExt(FOutputFileName);
  if (!own.empty() && own != ".") return own;
  const std::string& pattern = FileExtension();
  const size_t dot = pattern.find('.');
  if (dot == std::string::npos) return std::string();
  const size_t end = pattern.find(';', dot);
  return pattern.substr(dot, end == std::string::npos ? std::string::npos : end - dot);
}

std::string TLxRender::AddPageFileName() {
  std::string name = ExtractFilePath(FOutputFileName) +
                     MakePageFileName(FOutputFileName, DefaultExtension(), FRenderedPageNo);
  if (OnMakeReportFileName) OnMakeReportFileName(this, name, Converter() ? Converter()->CurrentPage() : 0);
  FOutputFiles->Add(name);
  return name;
}

std::string TLxRender::FileCreateErrorMessage() {
  return Trans(
      "File could not be created!\r\n\r\n"
      "Possible cause: It could be in use by some other application.\r\n\r\n"
      "Solution: Re-try the failed operation after closing the other application or specify another file "
      "name.");
}

// ===== Files =====

void TLxRender::NoteCreated(const std::string& FileName) {
  for (const std::string& created : FCreatedFiles) {
    if (created == FileName) return;
  }
  FCreatedFiles.push_back(FileName);
}

bool TLxRender::OpenOutputFile(const std::string& FileName) {
  try {
    OutputToFile(FileName);
  } catch (const Exception&) {
    AbortRender();
    ShowError(FileCreateErrorMessage());
    return false;
  }
  NoteCreated(FileName);
  return true;
}

std::unique_ptr<TStream> TLxRender::CreateOutputFile(const std::string& FileName) {
  std::unique_ptr<TStream> file;
  try {
    file = std::make_unique<TFileStream>(FileName, fmCreate);
  } catch (const Exception&) {
    AbortRender();
    ShowError(FileCreateErrorMessage());
    return nullptr;
  }
  NoteCreated(FileName);
  return file;
}

void TLxRender::WriteString(const std::string& S) {
  Print(S);
}

void TLxRender::CloseFiles() {
  CloseOutput();
}

void TLxRender::ReleaseAbortedOutput() {
  FAbortPending = false;
  CloseFiles();
  for (const std::string& file : FCreatedFiles) DeleteFileQuietly(file);
  FCreatedFiles.clear();
}

// ===== Generation =====

void TLxRender::PrintRender(TStream* /*Stream*/, const std::string& OutputFileName) {
  FOutputFiles->Clear();
  FCreatedFiles.clear();
  FAbortPending = false;
  SetFailed(false);
  FCancelled = FShowSetupDialog && ExecuteSetupDialog() == mrCancel;
  if (FCancelled) return;
  FOutputFileName = OutputFileName;
  std::string name = ExtractFilePath(OutputFileName) + ChangeFileExt(ExtractFileName(OutputFileName), "") +
                     DefaultExtension();
  if (OnMakeReportFileName) OnMakeReportFileName(this, name, 1);
  FOutputFiles->Add(name);
}

void TLxRender::RunConverter(TStream* Stream) {
  FGenerating = true;
  try {
    TVXConverter converter(Stream, this);
    converter.Generate(0, 0);
  } catch (...) {
    // Also when the walk failed before the document began (a damaged header).
    FGenerating = false;
    if (!Failed()) GenerationFailed();
    FProgress.reset();
    ReleaseAbortedOutput();
    throw;
  }
  FGenerating = false;
  if (FAbortPending) ReleaseAbortedOutput();
  // The files now belong to the user: aborting later must not touch them.
  FCreatedFiles.clear();
}

void TLxRender::GenerationFailed() {
  TVXRenderStream::GenerationFailed();
  FCancelled = true;
  FAbortPending = true;
}

void TLxRender::AbortRender() {
  FCancelled = true;
  FAbortPending = true;
  // While the converter runs, a writer may be in the middle of writing: the files are
  // released when the operation has returned.
  if (!FGenerating) ReleaseAbortedOutput();
}

void TLxRender::BetweenOperations() {
  if (FAbortPending) ReleaseAbortedOutput();
}

void TLxRender::ProcessMessages() {
  Application->ProcessMessages();
}

void TLxRender::DocBegin() {
  if (FCancelled) return;
  if (OnDocBegin) OnDocBegin(this);
  FTextPending = false;
  FRenderedPageNo = 0;
  FPagesInRange = 0;
  const int pageCount = Converter() ? Converter()->PageCount() : 0;
  for (int page = 1; page <= pageCount; ++page) {
    ProcessMessages();
    if (IsPageInRange(page)) ++FPagesInRange;
  }
  if (FShowProgress && ProgressHook()) {
    FProgress = ProgressHook()(this);
    if (FProgress) {
      FProgress->SetTotal(FPagesInRange);
      FProgress->SetCurrent(0);
      FProgress->Show();
    }
  }
}

void TLxRender::PageBegin() {
  if (!CurrentPageInRange()) return;
  ++FRenderedPageNo;
  if (OnPageBegin) OnPageBegin(this);
  if (FShowProgress && FProgress) {
    FProgress->SetTotal(FPagesInRange);
    FProgress->SetCurrent(FRenderedPageNo);
  }
  ProcessMessages();
}

void TLxRender::PageEnd() {
  ProcessMessages();
  if (CurrentPageInRange() && OnPageEnd) OnPageEnd(this);
}

void TLxRender::DocEnd() {
  ProcessMessages();
  FProgress.reset();
  // A cancelled or failed run leaves none of its files behind and is not presented as done.
  if (FAbortPending) ReleaseAbortedOutput();
  if (FCancelled) return;
  CloseFiles();
  if (OnDocEnd) OnDocEnd(this);
  if (FEMailAfterGenerate) FireEMail();
  if (FOpenAfterGenerate && FOutputFiles->Count() > 0) ShellOpen(FOutputFiles->Strings(0));
}

void TLxRender::FireEMail() {
  CreateEMailInfo();
  if (!OnEMail) return;
  bool again = false;
  do {
    again = false;
    OnEMail(this, FEMailInfo.get(), again);
  } while (again);
}

TModalResult TLxRender::ExecuteSetupDialog() {
  const auto hit = SetupDialogHooks().find(ClassName());
  if (hit == SetupDialogHooks().end()) return mrOk;
  ProcessMessages();
  return hit->second(this);
}

void TLxRender::CreateEMailInfo() {
  FEMailInfo = std::make_unique<TLxEMailInfo>();
  FEMailInfo->Attachments->Assign(FOutputFiles.get());
  FEMailInfo->SentDate = Now();
}

void TLxRender::ShowError(const std::string& Msg) {
  ::ShowError(Msg);
}

// ===== Drawing operations every writer shares =====

void TLxRender::MoveTo(double X, double Y) {
  FLastX = X;
  FLastY = Y;
}

void TLxRender::PrintImageRect(TStream* ImageStream, const std::string& ImageType, double X1, double Y1,
                               double X2, double Y2) {
  if (!OnDecodeImage) return;
  TBitmap bitmap;
  OnDecodeImage(this, ImageStream, ImageType, &bitmap);
  PrintBitmapRect(&bitmap, X1, Y1, X2, Y2);
}

std::unique_ptr<TBitmap> TLxRender::MakeRotatedTextBitmap(const std::string& Text, int Angle,
                                                          const TLxFontAttrib& Font, int Alignment,
                                                          double Height, double Width, int& X, int& Y) {
  auto bitmap = std::make_unique<TBitmap>();
  TFont* font = bitmap->Canvas()->Font();
  font->SetName(Font.Name);
  font->SetCharset(Font.Charset);
  font->SetPitch(static_cast<TFontPitch>(Font.Pitch));
  font->SetSize(Font.Size);
  font->SetColor(Font.Color);
  font->SetStyle(Font.Style);
  DrawRotatedText(Text, Angle, bitmap.get(), X, Y);
  const double angle = Angle * std::numbers::pi / 180.0;
  const double cosA = std::cos(angle);
  const double sinA = std::sin(angle);
  const double shift = Alignment == 1 ? Width : Alignment == 2 ? Width / 2 : 0;
  Y = static_cast<int>(Round(Y - Height + shift * sinA + Height * (1 - cosA)));
  X = static_cast<int>(Round((1 - cosA) * shift + X - sinA * Height));
  return bitmap;
}
