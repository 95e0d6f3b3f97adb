#include "platform/ScriptedDialogService.h"

#include <algorithm>

#include "platform/Exceptions.h"

TScriptedDialogService::TScriptedDialogService() {
  FPrevious = SetDialogService(this);
}

TScriptedDialogService::~TScriptedDialogService() {
  SetDialogService(FPrevious);
}

// --- Answers ---

void TScriptedDialogService::QueueModalResult(TModalResult Result) {
  FModalResults.push_back(Result);
}

void TScriptedDialogService::QueueInput(const std::string& Value) {
  FInputs.push_back(Value);
}

void TScriptedDialogService::QueueFileName(const std::string& FileName, int FilterIndex) {
  FFileNames.push_back(TFileAnswer{FileName, FilterIndex});
}

void TScriptedDialogService::QueueDirectory(const std::string& Directory) {
  FDirectories.push_back(Directory);
}

void TScriptedDialogService::QueueColor(TColor Color) {
  FColors.push_back(Color);
}

void TScriptedDialogService::QueueFont(const std::string& Name, int Size, TFontStyles Style, TColor Color) {
  FFonts.push_back(TFontAnswer{Name, Size, Style, Color});
}

void TScriptedDialogService::QueueBool(bool Accept) {
  FBools.push_back(Accept);
}

int TScriptedDialogService::PendingAnswers() const {
  size_t count = FModalResults.size() + FInputs.size() + FFileNames.size() + FDirectories.size() +
                 FColors.size() + FFonts.size() + FBools.size();
  return static_cast<int>(count);
}

bool TScriptedDialogService::Accept(bool HasValue) {
  if (FBools.empty()) return HasValue;
  bool accept = FBools.front();
  FBools.pop_front();
  return accept;
}

// --- Record ---

int TScriptedDialogService::Count(TDialogKind Kind) const {
  return static_cast<int>(
      std::count_if(FCalls.begin(), FCalls.end(), [Kind](const TDialogCall& c) { return c.Kind == Kind; }));
}

const TDialogCall& TScriptedDialogService::Last() const {
  if (FCalls.empty()) throw EListError("No dialog has been shown");
  return FCalls.back();
}

const TDialogCall& TScriptedDialogService::Last(TDialogKind Kind) const {
  auto it =
      std::find_if(FCalls.rbegin(), FCalls.rend(), [Kind](const TDialogCall& c) { return c.Kind == Kind; });
  if (it == FCalls.rend()) throw EListError("No dialog of that kind has been shown");
  return *it;
}

TDialogCall& TScriptedDialogService::Record(TDialogKind Kind) {
  FCalls.push_back(TDialogCall{});
  FCalls.back().Kind = Kind;
  return FCalls.back();
}

// --- TDialogService ---

void TScriptedDialogService::ShowError(const std::string& Msg) {
  TDialogCall& call = Record(dkShowError);
  call.Text = Msg;
  call.DlgType = mtError;
  call.Buttons = TMsgDlgButtons{mbOK};
  call.Result = mrOk;
}

void TScriptedDialogService::ShowMessage(const std::string& Msg) {
  TDialogCall& call = Record(dkShowMessage);
  call.Text = Msg;
  call.Buttons = TMsgDlgButtons{mbOK};
  call.Result = mrOk;
}

TModalResult TScriptedDialogService::MessageDlg(const std::string& Msg, TMsgDlgType DlgType,
                                                TMsgDlgButtons Buttons, int HelpCtx) {
  TModalResult result = DefaultModalResult(Buttons);
  if (!FModalResults.empty()) {
    result = FModalResults.front();
    FModalResults.pop_front();
  }
  TDialogCall& call = Record(dkMessageDlg);
  call.Text = Msg;
  call.DlgType = DlgType;
  call.Buttons = Buttons;
  call.HelpCtx = HelpCtx;
  call.Result = result;
  call.Accepted = result != mrCancel && result != mrNone;
  return result;
}

bool TScriptedDialogService::InputQuery(const std::string& ACaption, const std::string& APrompt,
                                        std::string& Value) {
  TDialogCall& call = Record(dkInputQuery);
  call.Caption = ACaption;
  call.Text = APrompt;
  call.Value = Value;
  call.Accepted = Accept(!FInputs.empty());
  if (call.Accepted && !FInputs.empty()) {
    Value = FInputs.front();
    FInputs.pop_front();
  }
  return call.Accepted;
}

bool TScriptedDialogService::FileDialog(TDialogKind Kind, TFileDialogOptions& Options) {
  TDialogCall& call = Record(Kind);
  call.Caption = Options.Title;
  call.Filter = Options.Filter;
  call.Value = Options.FileName;
  call.FileDialog = Options;
  call.Accepted = Accept(!FFileNames.empty());
  if (!call.Accepted) return false;
  if (!FFileNames.empty()) {
    TFileAnswer answer = FFileNames.front();
    FFileNames.pop_front();
    Options.FileName = answer.FileName;
    if (answer.FilterIndex > 0) Options.FilterIndex = answer.FilterIndex;
  }
  Options.Files = {Options.FileName};
  return true;
}

bool TScriptedDialogService::OpenFileDialog(TFileDialogOptions& Options) {
  return FileDialog(dkOpenFile, Options);
}

bool TScriptedDialogService::SaveFileDialog(TFileDialogOptions& Options) {
  return FileDialog(dkSaveFile, Options);
}

bool TScriptedDialogService::ColorDialog(TColor& Color) {
  TDialogCall& call = Record(dkColor);
  call.Color = Color;
  call.Accepted = Accept(!FColors.empty());
  if (call.Accepted && !FColors.empty()) {
    Color = FColors.front();
    FColors.pop_front();
  }
  return call.Accepted;
}

bool TScriptedDialogService::FontDialog(TFont* Font) {
  TDialogCall& call = Record(dkFont);
  if (!Font) return false;
  call.Value = Font->Name();
  call.Color = Font->Color();
  call.Accepted = Accept(!FFonts.empty());
  if (call.Accepted && !FFonts.empty()) {
    TFontAnswer answer = FFonts.front();
    FFonts.pop_front();
    Font->SetName(answer.Name);
    Font->SetSize(answer.Size);
    Font->SetStyle(answer.Style);
    Font->SetColor(answer.Color);
  }
  return call.Accepted;
}

bool TScriptedDialogService::PictureDialog(std::string& FileName, const std::string& Filter) {
  TDialogCall& call = Record(dkPicture);
  call.Filter = Filter.empty() ? std::string(PictureDialogFilter) : Filter;
  call.Value = FileName;
  call.Accepted = Accept(!FFileNames.empty());
  if (call.Accepted && !FFileNames.empty()) {
    FileName = FFileNames.front().FileName;
    FFileNames.pop_front();
  }
  return call.Accepted;
}

bool TScriptedDialogService::SelectDirectory(const std::string& Caption, const std::string& Root,
                                             std::string& Directory) {
  TDialogCall& call = Record(dkSelectDirectory);
  call.Caption = Caption;
  call.Root = Root;
  call.Value = Directory;
  call.Accepted = Accept(!FDirectories.empty());
  if (call.Accepted && !FDirectories.empty()) {
    Directory = FDirectories.front();
    FDirectories.pop_front();
  }
  return call.Accepted;
}

bool TScriptedDialogService::ShellOpen(const std::string& FileOrUrl) {
  TDialogCall& call = Record(dkShellOpen);
  call.Text = FileOrUrl;
  call.Accepted = FShellOpenResult;
  return FShellOpenResult;
}
