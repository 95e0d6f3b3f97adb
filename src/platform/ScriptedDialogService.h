#pragma once
// A dialog service that plays the user from a script: every call is recorded for the caller
// to inspect, and answers come from queues the caller fills beforehand. For tests and
// headless programs. It installs itself for its lifetime:
//
//   TScriptedDialogService dialogs;      // now the current dialog service
//   dialogs.QueueModalResult(mrNo);
//   ... code under test calls MessageDlg ...
//   EXPECT_EQ(dialogs.Count(dkMessageDlg), 1);
//
// Answers when a queue is empty: MessageDlg gives its default button's result, every other
// dialog is cancelled, ShellOpen reports success (nothing is started).
#include <deque>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/Font.h"

enum TDialogKind {
  dkShowError,
  dkShowMessage,
  dkMessageDlg,
  dkInputQuery,
  dkOpenFile,
  dkSaveFile,
  dkColor,
  dkFont,
  dkPicture,
  dkSelectDirectory,
  dkShellOpen
};

// One recorded call: what the dialog was asked to show, and what it answered.
struct TDialogCall {
  TDialogKind Kind = dkShowMessage;
  std::string Caption;  // input query caption, file dialog title, folder browser caption
  std::string Text;     // message, input prompt, or the file or address given to ShellOpen
  TMsgDlgType DlgType = mtCustom;
  TMsgDlgButtons Buttons;
  int HelpCtx = 0;
  std::string Filter;             // file and picture dialogs
  std::string Root;               // folder browser
  std::string Value;              // preset: input text, file name, folder, font name
  TFileDialogOptions FileDialog;  // open and save dialogs: the options as given
  TColor Color = clNone;          // preset of the colour dialog; font colour of the font dialog
  bool Accepted = false;          // the answer: confirmed (true) or cancelled (false)
  TModalResult Result = mrNone;   // the answer of MessageDlg
};

class TScriptedDialogService : public TDialogService {
public:
  TScriptedDialogService();
  ~TScriptedDialogService() override;
  TScriptedDialogService(const TScriptedDialogService&) = delete;
  TScriptedDialogService& operator=(const TScriptedDialogService&) = delete;

  // --- Answers, consumed in order ---
  // The button the next MessageDlg is closed with.
  void QueueModalResult(TModalResult Result);
  // The text the next input query is confirmed with.
  void QueueInput(const std::string& Value);
  // The file the next open, save or picture dialog is confirmed with; FilterIndex 0 keeps
  // the caller's filter index.
  void QueueFileName(const std::string& FileName, int FilterIndex = 0);
  // The folder the next folder browser is confirmed with.
  void QueueDirectory(const std::string& Directory);
  void QueueColor(TColor Color);
  void QueueFont(const std::string& Name, int Size, TFontStyles Style, TColor Color);
  // Confirms (true) or cancels (false) the next dialog of any kind that returns a Boolean.
  // Consulted before the value queues: false cancels without using a queued value; true
  // confirms with the next queued value of that dialog's kind, or with the preset unchanged.
  void QueueBool(bool Accept);
  // What ShellOpen reports (true by default); nothing is ever started.
  void SetShellOpenResult(bool Value) { FShellOpenResult = Value; }
  // Number of queued answers not consumed yet.
  int PendingAnswers() const;

  // --- Record ---
  const std::vector<TDialogCall>& Calls() const { return FCalls; }
  int Count(TDialogKind Kind) const;
  // The most recent call; raises EListError when there is none.
  const TDialogCall& Last() const;
  // The most recent call of a kind; raises EListError when there is none.
  const TDialogCall& Last(TDialogKind Kind) const;
  void ClearCalls() { FCalls.clear(); }

  // --- TDialogService ---
  void ShowError(const std::string& Msg) override;
  void ShowMessage(const std::string& Msg) override;
  TModalResult MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                          int HelpCtx) override;
  bool InputQuery(const std::string& ACaption, const std::string& APrompt, std::string& Value) override;
  bool OpenFileDialog(TFileDialogOptions& Options) override;
  bool SaveFileDialog(TFileDialogOptions& Options) override;
  bool ColorDialog(TColor& Color) override;
  bool FontDialog(TFont* Font) override;
  bool PictureDialog(std::string& FileName, const std::string& Filter = "") override;
  bool SelectDirectory(const std::string& Caption, const std::string& Root, std::string& Directory) override;
  bool ShellOpen(const std::string& FileOrUrl) override;

private:
  struct TFileAnswer {
    std::string FileName;
    int FilterIndex = 0;
  };
  struct TFontAnswer {
    std::string Name;
    int Size = 0;
    TFontStyles Style;
    TColor Color = clBlack;
  };

  // Decides whether the next Boolean dialog is confirmed; HasValue tells whether a value of
  // its kind is queued. Pops the Boolean answer it used.
  bool Accept(bool HasValue);
  bool FileDialog(TDialogKind Kind, TFileDialogOptions& Options);
  TDialogCall& Record(TDialogKind Kind);

  TDialogService* FPrevious = nullptr;
  std::vector<TDialogCall> FCalls;
  std::deque<TModalResult> FModalResults;
  std::deque<std::string> FInputs;
  std::deque<TFileAnswer> FFileNames;
  std::deque<std::string> FDirectories;
  std::deque<TColor> FColors;
  std::deque<TFontAnswer> FFonts;
  std::deque<bool> FBools;
  bool FShellOpenResult = true;
};
