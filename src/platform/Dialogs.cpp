#include "platform/Dialogs.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "platform/AnsiCodePage.h"

const char* const PictureDialogFilter =
    "All (*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf|"
    "JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|"
    "Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf";

TModalResult ModalResultOfButton(TMsgDlgBtn Button) {
  switch (Button) {
    case mbYes:
      return mrYes;
    case mbNo:
      return mrNo;
    case mbOK:
      return mrOk;
    case mbCancel:
      return mrCancel;
    case mbAbort:
      return mrAbort;
    case mbRetry:
      return mrRetry;
    case mbIgnore:
      return mrIgnore;
    case mbAll:
      return mrAll;
    case mbNoToAll:
      return mrNoToAll;
    case mbYesToAll:
      return mrYesToAll;
    case mbHelp:
      return mrNone;
    case mbClose:
      return mrClose;
  }
  return mrNone;
}

bool DefaultMsgDlgButton(TMsgDlgButtons Buttons, TMsgDlgBtn& Button) {
  if (Buttons.Contains(mbOK)) {
    Button = mbOK;
    return true;
  }
  if (Buttons.Contains(mbYes)) {
    Button = mbYes;
    return true;
  }
  for (int b = mbYes; b <= mbClose; ++b) {
    if (Buttons.Contains(static_cast<TMsgDlgBtn>(b))) {
      Button = static_cast<TMsgDlgBtn>(b);
      return true;
    }
  }
  return false;
}

TModalResult DefaultModalResult(TMsgDlgButtons Buttons) {
  TMsgDlgBtn button;
  return DefaultMsgDlgButton(Buttons, button) ? ModalResultOfButton(button) : mrNone;
}

// --- Filters ---

namespace {

std::vector<std::string> Split(const std::string& Text, char Separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t end = Text.find(Separator, start);
    if (end == std::string::npos) {
      parts.push_back(Text.substr(start));
      return parts;
    }
    parts.push_back(Text.substr(start, end - start));
    start = end + 1;
  }
}

std::string Trim(const std::string& Text) {
  size_t first = Text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  size_t last = Text.find_last_not_of(" \t");
  return Text.substr(first, last - first + 1);
}

}  // namespace

std::vector<TDialogFilterEntry> ParseDialogFilter(const std::string& Filter) {
  std::vector<TDialogFilterEntry> entries;
  if (Filter.empty()) return entries;
  std::vector<std::string> parts = Split(Filter, '|');
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    TDialogFilterEntry entry;
    entry.Description = parts[i];
    for (const std::string& pattern : Split(parts[i + 1], ';')) {
      std::string trimmed = Trim(pattern);
      if (!trimmed.empty()) entry.Patterns.push_back(trimmed);
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::string DialogFilterName(const TDialogFilterEntry& Entry) {
  std::string patterns;
  for (const std::string& pattern : Entry.Patterns) {
    if (!patterns.empty()) patterns += ' ';
    patterns += pattern;
  }
  std::string description = Trim(Entry.Description);
  // Descriptions usually repeat their patterns in parentheses; toolkits read the patterns
  // from the last parenthesised group, so that group must be the real list.
  if (!description.empty() && description.back() == ')') {
    size_t open = description.rfind('(');
    if (open != std::string::npos) description = Trim(description.substr(0, open));
  }
  if (description.empty()) return "(" + patterns + ")";
  return description + " (" + patterns + ")";
}

// --- The headless default service ---

namespace {

bool HasDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

// Messages go to standard error as UTF-8 lines; CR LF line breaks become LF.
void WriteMessage(const std::string& Prefix, const std::string& Msg) {
  std::string text;
  for (size_t i = 0; i < Msg.size(); ++i) {
    if (Msg[i] == '\r' && i + 1 < Msg.size() && Msg[i + 1] == '\n') continue;
    text += Msg[i];
  }
  std::string line = Prefix + AnsiToUtf8(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

const char* MessagePrefix(TMsgDlgType DlgType) {
  switch (DlgType) {
    case mtWarning:
      return "Warning: ";
    case mtError:
      return "Error: ";
    case mtInformation:
      return "Information: ";
    case mtConfirmation:
      return "Confirmation: ";
    case mtCustom:
      return "";
  }
  return "";
}

// No window can be shown: messages are written out, questions get their default answer,
// and every dialog counts as cancelled.
class THeadlessDialogService : public TDialogService {
public:
  void ShowError(const std::string& Msg) override { WriteMessage("Error: ", Msg); }
  void ShowMessage(const std::string& Msg) override { WriteMessage("", Msg); }
  TModalResult MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                          int /*HelpCtx*/) override {
    WriteMessage(MessagePrefix(DlgType), Msg);
    return DefaultModalResult(Buttons);
  }
  bool InputQuery(const std::string&, const std::string&, std::string&) override { return false; }
  bool OpenFileDialog(TFileDialogOptions&) override { return false; }
  bool SaveFileDialog(TFileDialogOptions&) override { return false; }
  bool ColorDialog(TColor&) override { return false; }
  bool FontDialog(TFont*) override { return false; }
  bool PictureDialog(std::string&, const std::string& = "") override { return false; }
  bool SelectDirectory(const std::string&, const std::string&, std::string&) override { return false; }
  bool ShellOpen(const std::string& FileOrUrl) override;
};

// xdg-open hands the document to the desktop; without a display there is no desktop to
// hand it to. The program is started detached, so this never waits for it.
bool THeadlessDialogService::ShellOpen(const std::string& FileOrUrl) {
  if (FileOrUrl.empty() || !HasDisplay()) return false;
  QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (program.isEmpty()) return false;
  QProcess process;
  process.setProgram(program);
  process.setArguments(QStringList{QString::fromStdString(FileOrUrl)});
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  return process.startDetached();
}

std::atomic<TDialogService*> CurrentService{nullptr};

}  // namespace

TDialogService* DefaultDialogService() {
  static THeadlessDialogService service;
  return &service;
}

TDialogService* DialogService() {
  TDialogService* service = CurrentService.load();
  return service ? service : DefaultDialogService();
}

TDialogService* SetDialogService(TDialogService* Service) {
  TDialogService* previous = CurrentService.exchange(Service);
  return previous ? previous : DefaultDialogService();
}

void ShowMessage(const std::string& Msg) {
  DialogService()->ShowMessage(Msg);
}

void ShowError(const std::string& Msg) {
  DialogService()->ShowError(Msg);
}

TModalResult MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
  return DialogService()->MessageDlg(Msg, DlgType, Buttons, HelpCtx);
}

bool InputQuery(const std::string& ACaption, const std::string& APrompt, std::string& Value) {
  return DialogService()->InputQuery(ACaption, APrompt, Value);
}

std::string InputBox(const std::string& ACaption, const std::string& APrompt, const std::string& Default) {
  std::string value = Default;
  return InputQuery(ACaption, APrompt, value) ? value : Default;
}

bool SelectDirectory(const std::string& Caption, const std::string& Root, std::string& Directory) {
  return DialogService()->SelectDirectory(Caption, Root, Directory);
}

bool ShellOpen(const std::string& FileOrUrl) {
  return DialogService()->ShellOpen(FileOrUrl);
}
