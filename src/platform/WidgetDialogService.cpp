#include "platform/WidgetDialogService.h"

#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

#include "platform/Font.h"
#include "platform/Forms.h"
#include "platform/QtBridge.h"

namespace {

// Widgets need a QApplication; without one each dialog falls back to the headless default.
bool HaveWidgets() {
  return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

QWidget* DialogParent() {
  return QApplication::activeWindow();
}

QString Caption() {
  return AnsiToQString(Application->Title());
}

// Message boxes show plain text; CR LF line breaks become single breaks.
QString MessageText(const std::string& Msg) {
  QString text = AnsiToQString(Msg);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

QMessageBox::Icon IconOf(TMsgDlgType DlgType) {
  switch (DlgType) {
    case mtWarning:
      return QMessageBox::Warning;
    case mtError:
      return QMessageBox::Critical;
    case mtInformation:
      return QMessageBox::Information;
    case mtConfirmation:
      return QMessageBox::Question;
    case mtCustom:
      return QMessageBox::NoIcon;
  }
  return QMessageBox::NoIcon;
}

// mbAll has no standard button of its own; it becomes an accepting button labelled "All".
QAbstractButton* AddButton(QMessageBox& Box, TMsgDlgBtn Button) {
  switch (Button) {
    case mbYes:
      return Box.addButton(QMessageBox::Yes);
    case mbNo:
      return Box.addButton(QMessageBox::No);
    case mbOK:
      return Box.addButton(QMessageBox::Ok);
    case mbCancel:
      return Box.addButton(QMessageBox::Cancel);
    case mbAbort:
      return Box.addButton(QMessageBox::Abort);
    case mbRetry:
      return Box.addButton(QMessageBox::Retry);
    case mbIgnore:
      return Box.addButton(QMessageBox::Ignore);
    case mbAll:
      return Box.addButton(QStringLiteral("&All"), QMessageBox::AcceptRole);
    case mbNoToAll:
      return Box.addButton(QMessageBox::NoToAll);
    case mbYesToAll:
      return Box.addButton(QMessageBox::YesToAll);
    case mbHelp:
      return Box.addButton(QMessageBox::Help);
    case mbClose:
      return Box.addButton(QMessageBox::Close);
  }
  return nullptr;
}

// The button that Escape and the window's close box press: Cancel, else No, else OK.
bool EscapeButton(TMsgDlgButtons Buttons, TMsgDlgBtn& Button) {
  for (TMsgDlgBtn candidate : {mbCancel, mbNo, mbOK}) {
    if (Buttons.Contains(candidate)) {
      Button = candidate;
      return true;
    }
  }
  return false;
}

TModalResult ShowMessageBox(const std::string& Msg, QMessageBox::Icon Icon, TMsgDlgButtons Buttons) {
  QMessageBox box(Icon, Caption(), MessageText(Msg), QMessageBox::NoButton, DialogParent());
  box.setTextFormat(Qt::PlainText);
  std::map<QAbstractButton*, TMsgDlgBtn> buttons;
  std::map<TMsgDlgBtn, QAbstractButton*> widgets;
  for (int b = mbYes; b <= mbClose; ++b) {
    TMsgDlgBtn button = static_cast<TMsgDlgBtn>(b);
    if (!Buttons.Contains(button)) continue;
    QAbstractButton* widget = AddButton(box, button);
    buttons[widget] = button;
    widgets[button] = widget;
  }
  TMsgDlgBtn special;
  if (DefaultMsgDlgButton(Buttons, special)) {
    if (auto* push = qobject_cast<QPushButton*>(widgets[special])) box.setDefaultButton(push);
  }
  if (EscapeButton(Buttons, special)) box.setEscapeButton(widgets[special]);
  box.exec();
  auto clicked = buttons.find(box.clickedButton());
  return clicked != buttons.end() ? ModalResultOfButton(clicked->second) : mrCancel;
}

// --- File dialogs ---

QStringList NameFilters(const std::string& Filter) {
  QStringList filters;
  for (const TDialogFilterEntry& entry : ParseDialogFilter(Filter)) {
    filters << AnsiToQString(DialogFilterName(entry));
  }
  return filters;
}

void PresetFileName(QFileDialog& Dialog, const std::string& FileName, const std::string& InitialDir) {
  if (!InitialDir.empty()) Dialog.setDirectory(FileNameToQString(InitialDir));
  if (FileName.empty()) return;
  QFileInfo info(FileNameToQString(FileName));
  if (FileName.find('/') != std::string::npos) Dialog.setDirectory(info.absolutePath());
  Dialog.selectFile(info.fileName());
}

void ApplyFilter(QFileDialog& Dialog, const TFileDialogOptions& Options) {
  QStringList filters = NameFilters(Options.Filter);
  if (filters.isEmpty()) return;
  Dialog.setNameFilters(filters);
  int index = Options.FilterIndex - 1;
  if (index >= 0 && index < filters.size()) Dialog.selectNameFilter(filters[index]);
}

std::string DefaultSuffix(const std::string& DefaultExt) {
  return !DefaultExt.empty() && DefaultExt[0] == '.' ? DefaultExt.substr(1) : DefaultExt;
}

bool RunFileDialog(TFileDialogOptions& Options, QFileDialog::AcceptMode Mode) {
  QFileDialog dialog(DialogParent(), AnsiToQString(Options.Title));
  dialog.setAcceptMode(Mode);
  if (Mode == QFileDialog::AcceptOpen) {
    if (Options.Options.Contains(ofAllowMultiSelect))
      dialog.setFileMode(QFileDialog::ExistingFiles);
    else if (Options.Options.Contains(ofFileMustExist))
      dialog.setFileMode(QFileDialog::ExistingFile);
    else
      dialog.setFileMode(QFileDialog::AnyFile);
  } else {
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !Options.Options.Contains(ofOverwritePrompt));
  }
  if (Options.Options.Contains(ofForceShowHidden)) dialog.setFilter(dialog.filter() | QDir::Hidden);
  if (!Options.DefaultExt.empty())
    dialog.setDefaultSuffix(FileNameToQString(DefaultSuffix(Options.DefaultExt)));
  ApplyFilter(dialog, Options);
  PresetFileName(dialog, Options.FileName, Options.InitialDir);
  if (dialog.exec() != QDialog::Accepted) return false;
  QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return false;
  Options.Files.clear();
  for (const QString& file : files) Options.Files.push_back(file.toStdString());
  Options.FileName = Options.Files.front();
  int chosen = dialog.nameFilters().indexOf(dialog.selectedNameFilter());
  if (chosen >= 0) Options.FilterIndex = chosen + 1;
  return true;
}

// --- Fonts ---

QFont ToQFont(TFont* Font) {
  QFont font(AnsiToQString(Font->Name()));
  font.setPointSize(std::max(1, std::abs(Font->Size())));
  TFontStyles style = Font->Style();
  font.setBold(style.Contains(fsBold));
  font.setItalic(style.Contains(fsItalic));
  font.setUnderline(style.Contains(fsUnderline));
  font.setStrikeOut(style.Contains(fsStrikeOut));
  return font;
}

void FromQFont(const QFont& Source, TFont* Font) {
  Font->SetName(QStringToAnsi(Source.family()));
  double points = Source.pointSizeF();
  if (points <= 0) points = Source.pixelSize() * 72.0 / Screen->PixelsPerInch();
  Font->SetSize(static_cast<int>(std::lround(points)));
  TFontStyles style;
  if (Source.bold()) style.Include(fsBold);
  if (Source.italic()) style.Include(fsItalic);
  if (Source.underline()) style.Include(fsUnderline);
  if (Source.strikeOut()) style.Include(fsStrikeOut);
  Font->SetStyle(style);
}

// --- Cursor ---

Qt::CursorShape CursorShape(TCursor Cursor) {
  switch (Cursor) {
    case crNone:
      return Qt::BlankCursor;
    case crCross:
      return Qt::CrossCursor;
    case crIBeam:
      return Qt::IBeamCursor;
    case crSizeNESW:
      return Qt::SizeBDiagCursor;
    case crSizeNS:
      return Qt::SizeVerCursor;
    case crSizeNWSE:
      return Qt::SizeFDiagCursor;
    case crSizeWE:
      return Qt::SizeHorCursor;
    case crUpArrow:
      return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait:
      return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag:
      return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo:
      return Qt::ForbiddenCursor;
    case crHSplit:
      return Qt::SplitHCursor;
    case crVSplit:
      return Qt::SplitVCursor;
    case crAppStart:
      return Qt::BusyCursor;
    case crHelp:
      return Qt::WhatsThisCursor;
    case crHandPoint:
      return Qt::PointingHandCursor;
    case crSizeAll:
      return Qt::SizeAllCursor;
    default:
      return Qt::ArrowCursor;
  }
}

// The application-wide cursor is Qt's override cursor; crDefault removes it so every
// window shows its own again.
void ApplyCursor(TCursor Cursor) {
  static bool overridden = false;
  if (!HaveWidgets()) return;
  if (Cursor == crDefault) {
    if (overridden) QGuiApplication::restoreOverrideCursor();
    overridden = false;
    return;
  }
  if (overridden)
    QGuiApplication::changeOverrideCursor(QCursor(CursorShape(Cursor)));
  else
    QGuiApplication::setOverrideCursor(QCursor(CursorShape(Cursor)));
  overridden = true;
}

bool HasDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

// --- TWidgetDialogService ---

void TWidgetDialogService::ShowError(const std::string& Msg) {
  if (!HaveWidgets()) return DefaultDialogService()->ShowError(Msg);
  ShowMessageBox(Msg, QMessageBox::Critical, TMsgDlgButtons{mbOK});
}

void TWidgetDialogService::ShowMessage(const std::string& Msg) {
  if (!HaveWidgets()) return DefaultDialogService()->ShowMessage(Msg);
  ShowMessageBox(Msg, QMessageBox::NoIcon, TMsgDlgButtons{mbOK});
}

TModalResult TWidgetDialogService::MessageDlg(const std::string& Msg, TMsgDlgType DlgType,
                                              TMsgDlgButtons Buttons, int HelpCtx) {
  if (!HaveWidgets()) return DefaultDialogService()->MessageDlg(Msg, DlgType, Buttons, HelpCtx);
  return ShowMessageBox(Msg, IconOf(DlgType), Buttons);
}

bool TWidgetDialogService::InputQuery(const std::string& ACaption, const std::string& APrompt,
                                      std::string& Value) {
  if (!HaveWidgets()) return DefaultDialogService()->InputQuery(ACaption, APrompt, Value);
  QInputDialog dialog(DialogParent());
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(AnsiToQString(ACaption));
  dialog.setLabelText(AnsiToQString(APrompt));
  dialog.setTextValue(AnsiToQString(Value));
  if (dialog.exec() != QDialog::Accepted) return false;
  Value = QStringToAnsi(dialog.textValue());
  return true;
}

bool TWidgetDialogService::OpenFileDialog(TFileDialogOptions& Options) {
  if (!HaveWidgets()) return DefaultDialogService()->OpenFileDialog(Options);
  return RunFileDialog(Options, QFileDialog::AcceptOpen);
}

bool TWidgetDialogService::SaveFileDialog(TFileDialogOptions& Options) {
  if (!HaveWidgets()) return DefaultDialogService()->SaveFileDialog(Options);
  return RunFileDialog(Options, QFileDialog::AcceptSave);
}

bool TWidgetDialogService::ColorDialog(TColor& Color) {
  if (!HaveWidgets()) return DefaultDialogService()->ColorDialog(Color);
  QColorDialog dialog(ColorToQColor(Color), DialogParent());
  if (dialog.exec() != QDialog::Accepted) return false;
  Color = QColorToColor(dialog.selectedColor());
  return true;
}

bool TWidgetDialogService::FontDialog(TFont* Font) {
  if (!Font) return false;
  if (!HaveWidgets()) return DefaultDialogService()->FontDialog(Font);
  QFontDialog dialog(ToQFont(Font), DialogParent());
  if (dialog.exec() != QDialog::Accepted) return false;
  FromQFont(dialog.selectedFont(), Font);
  return true;
}

bool TWidgetDialogService::PictureDialog(std::string& FileName, const std::string& Filter) {
  if (!HaveWidgets()) return DefaultDialogService()->PictureDialog(FileName, Filter);
  TFileDialogOptions options;
  options.Filter = Filter.empty() ? std::string(PictureDialogFilter) : Filter;
  options.FileName = FileName;
  options.Options.Include(ofFileMustExist);
  if (!RunFileDialog(options, QFileDialog::AcceptOpen)) return false;
  FileName = options.FileName;
  return true;
}

bool TWidgetDialogService::SelectDirectory(const std::string& Caption, const std::string& Root,
                                           std::string& Directory) {
  if (!HaveWidgets()) return DefaultDialogService()->SelectDirectory(Caption, Root, Directory);
  QFileDialog dialog(DialogParent(), AnsiToQString(Caption));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  const std::string& start = Directory.empty() ? Root : Directory;
  if (!start.empty()) dialog.setDirectory(FileNameToQString(start));
  if (dialog.exec() != QDialog::Accepted) return false;
  QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return false;
  Directory = chosen.front().toStdString();
  return true;
}

bool TWidgetDialogService::ShellOpen(const std::string& FileOrUrl) {
  if (FileOrUrl.empty()) return false;
  if (!HaveWidgets()) return DefaultDialogService()->ShellOpen(FileOrUrl);
  QString target = FileNameToQString(FileOrUrl);
  QFileInfo file(target);
  QUrl url = file.exists() ? QUrl::fromLocalFile(file.absoluteFilePath()) : QUrl::fromUserInput(target);
  return url.isValid() && QDesktopServices::openUrl(url);
}

bool InstallWidgetDialogService() {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) {
    if (!HasDisplay() && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Qt keeps references to argc and argv for the application's lifetime.
    static int argc = 1;
    static char name[] = "pagepress";
    static char* argv[] = {name, nullptr};
    // Lives until process exit, as the application object of a program does.
    new QApplication(argc, argv);
  } else if (!qobject_cast<QApplication*>(app)) {
    return false;
  }
  static TWidgetDialogService service;
  SetDialogService(&service);
  SetCursorHook(ApplyCursor);
  return true;
}
