#pragma once
// The dialog service: message boxes, input boxes and the common dialogs (file, colour, font,
// picture, folder) plus opening a document with its associated program. Everything that asks
// the user goes through the current service, so a headless program or a test decides what the
// user answers and nothing blocks. The core library's default service has no window: it writes
// messages to standard error and answers every question with its default. The widgets library
// installs a service that shows real dialogs (platform/WidgetDialogService.h).
//
// Message texts are Windows-1252 text that the caller has already translated; file names and
// folders are UTF-8 file-system names.
#include <string>
#include <vector>

#include "platform/Color.h"
#include "platform/Set.h"

class TFont;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp,
  mbClose
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

constexpr TMsgDlgButtons mbYesNo{mbYes, mbNo};
constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
constexpr TMsgDlgButtons mbYesAllNoAllCancel{mbYes, mbYesToAll, mbNo, mbNoToAll, mbCancel};
constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};
constexpr TMsgDlgButtons mbAbortIgnore{mbAbort, mbIgnore};

// The result of a modal dialog: which button closed it.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;
constexpr TModalResult mrClose = 11;

// The modal result a button gives; mbHelp asks for help instead of answering: mrNone.
TModalResult ModalResultOfButton(TMsgDlgBtn Button);
// The button a message box presses when the user just confirms it: OK when present, else
// Yes, else the first button in declaration order. False when Buttons is empty.
bool DefaultMsgDlgButton(TMsgDlgButtons Buttons, TMsgDlgBtn& Button);
// The modal result of the default button; mrNone when there are no buttons.
TModalResult DefaultModalResult(TMsgDlgButtons Buttons);

// Options of the open and save dialogs, in the order of the platform's flags.
enum TOpenOption {
  ofReadOnly,
  ofOverwritePrompt,
  ofHideReadOnly,
  ofNoChangeDir,
  ofShowHelp,
  ofNoValidate,
  ofAllowMultiSelect,
  ofExtensionDifferent,
  ofPathMustExist,
  ofFileMustExist,
  ofCreatePrompt,
  ofShareAware,
  ofNoReadOnlyReturn,
  ofNoTestFileCreate,
  ofNoNetworkButton,
  ofNoLongNames,
  ofOldStyleDialog,
  ofNoDereferenceLinks,
  ofEnableIncludeNotify,
  ofEnableSizing,
  ofDontAddToRecent,
  ofForceShowHidden
};
using TOpenOptions = TSet<TOpenOption>;

// What an open or save dialog shows and what it answers.
struct TFileDialogOptions {
  std::string Title;
  // Pairs of description and patterns, all separated by '|'; patterns of one pair by ';':
  // "Vellum Snapshot Files (*.vsn)|*.vsn|All files (*.*)|*.*".
  std::string Filter;
  int FilterIndex = 1;     // 1-based; in: the preselected pair, out: the pair the user chose
  std::string DefaultExt;  // appended when the user types a name without one ("vsn" or ".vsn")
  std::string InitialDir;
  std::string FileName;            // in: the proposed name, out: the chosen one
  std::vector<std::string> Files;  // out: every chosen file (one unless ofAllowMultiSelect)
  TOpenOptions Options{ofHideReadOnly, ofEnableSizing};
};

// One description-and-patterns pair of a dialog filter.
struct TDialogFilterEntry {
  std::string Description;
  std::vector<std::string> Patterns;
};

// Splits a dialog filter into its pairs. Patterns are trimmed and empty ones dropped. A
// trailing description without patterns (an odd number of parts) is ignored, as the
// platform's dialogs ignore it.
std::vector<TDialogFilterEntry> ParseDialogFilter(const std::string& Filter);
// The name of a filter pair as toolkits list it, "Description (*.a *.b)": a parenthesised
// pattern list that ends the description is replaced by the real patterns, separated by
// blanks; an empty description shows only the patterns.
std::string DialogFilterName(const TDialogFilterEntry& Entry);

// The filter the picture dialog offers when the caller gives none: every picture format the
// platform reads.
extern const char* const PictureDialogFilter;

// The replaceable service behind every message box and common dialog. A service never
// raises: a dialog that cannot be shown counts as cancelled.
class TDialogService {
public:
  virtual ~TDialogService() = default;

  // A modal error box with a single OK button.
  virtual void ShowError(const std::string& Msg) = 0;
  // A modal message box with a single OK button, captioned with the application's title.
  virtual void ShowMessage(const std::string& Msg) = 0;
  // A message box of the given type with the given buttons; returns the modal result of the
  // button that closed it (mrCancel when closed otherwise and Cancel is offered).
  virtual TModalResult MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                  int HelpCtx) = 0;
  // Asks for one line of text; Value is the proposed text and, on true, the answer.
  virtual bool InputQuery(const std::string& ACaption, const std::string& APrompt, std::string& Value) = 0;
  virtual bool OpenFileDialog(TFileDialogOptions& Options) = 0;
  // Asks before replacing an existing file when Options holds ofOverwritePrompt.
  virtual bool SaveFileDialog(TFileDialogOptions& Options) = 0;
  // Color is the preset colour and, on true, the chosen one.
  virtual bool ColorDialog(TColor& Color) = 0;
  // Font is the preset and, on true, receives the chosen name, size, style and colour.
  virtual bool FontDialog(TFont* Font) = 0;
  // Opens a picture file; an empty Filter means PictureDialogFilter.
  virtual bool PictureDialog(std::string& FileName, const std::string& Filter = "") = 0;
  // Browses for a folder below Root (empty: anywhere); Directory is preset and answered.
  virtual bool SelectDirectory(const std::string& Caption, const std::string& Root,
                               std::string& Directory) = 0;
  // Opens a file or web address with the desktop's associated program without waiting
  // for it; false when that could not be started.
  virtual bool ShellOpen(const std::string& FileOrUrl) = 0;
};

// The current service: the installed one, or the core library's headless default.
TDialogService* DialogService();
// Installs Service (nullptr restores the default) and returns the service that was current.
TDialogService* SetDialogService(TDialogService* Service);
// The headless default service of the core library.
TDialogService* DefaultDialogService();

// The usual entry points, each calling the current service.
void ShowMessage(const std::string& Msg);
void ShowError(const std::string& Msg);
TModalResult MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx = 0);
bool InputQuery(const std::string& ACaption, const std::string& APrompt, std::string& Value);
// The answer of an input query, or Default when the user cancels.
std::string InputBox(const std::string& ACaption, const std::string& APrompt, const std::string& Default);
bool SelectDirectory(const std::string& Caption, const std::string& Root, std::string& Directory);
bool ShellOpen(const std::string& FileOrUrl);
