#pragma once
// The dialog service of programs with windows: real message boxes and common dialogs of the
// widget toolkit, and opening documents through the desktop. Part of the widgets library.
#include <string>

#include "platform/Dialogs.h"

class TWidgetDialogService : public TDialogService {
public:
  // Message boxes are captioned with Application->Title().
  void ShowError(const std::string& Msg) override;
  void ShowMessage(const std::string& Msg) override;
  TModalResult MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                          int HelpCtx) override;
  bool InputQuery(const std::string& ACaption, const std::string& APrompt, std::string& Value) override;
  bool OpenFileDialog(TFileDialogOptions& Options) override;
  bool SaveFileDialog(TFileDialogOptions& Options) override;
  bool ColorDialog(TColor& Color) override;
  // Name, size and style come from the dialog; the toolkit's font dialog offers no colour,
  // so the font keeps its colour.
  bool FontDialog(TFont* Font) override;
  bool PictureDialog(std::string& FileName, const std::string& Filter = "") override;
  bool SelectDirectory(const std::string& Caption, const std::string& Root, std::string& Directory) override;
  bool ShellOpen(const std::string& FileOrUrl) override;
};

// Makes real dialogs the current dialog service and shows Screen's cursor on the window
// system. Creates the widget application object when none exists (offscreen when there is
// no display). The widget application must be the first application object of the process:
// when a plain GUI application object exists already (EnsureGuiApplication made one),
// widgets cannot be shown, nothing is installed and the result is false. Programs with
// windows therefore call this (or create their QApplication) before anything else.
bool InstallWidgetDialogService();
