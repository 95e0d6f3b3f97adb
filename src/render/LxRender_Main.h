#pragma once
// TLxRender: the common base of the render-to-file components (document writers and picture
// renders). The bridge's converter walks a page stream and calls the drawing operations; this
// base adds what every format shares:
//
//   - the entry sequence from a page stream and a file name to the finished files: setup
//     dialog, output file names, opening the output and running the converter;
//   - the page filter (Pages, "1,3,5-12") that every drawing operation consults;
//   - progress (a window the widgets library installs; none when running headless), and
//     aborting: Cancel only requests, and the files this generation created are closed and
//     removed at the next point where no operation runs (at the latest in DocEnd);
//   - the application events, "Open After Generate" and "E-Mail After Generate".
//
// A render never raises to its caller: failures are shown through ShowError, except errors
// of the stream walk, which propagate after the run's files are removed.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/DateTime.h"
#include "platform/Dialogs.h"
#include "platform/StringList.h"
#include "stream/VXRender.h"

class TBitmap;
class TPicture;
class TLxRender;
struct TLxFontAttrib;

// How a background picture is placed on the page.
enum TLxBackgroundDisplayType {
  dtTile,
  dtTopLeft,
  dtTopCenter,
  dtTopRight,
  dtCenterLeft,
  dtCenter,
  dtCenterRight,
  dtBottomLeft,
  dtBottomCenter,
  dtBottomRight
};

// The e-mail request handed to the application's OnEMail handler after a generation. The
// library fills Attachments and SentDate; the handler fills the rest and does the sending.
class TLxEMailInfo : public TObject {
public:
  std::string ClassName() const override { return "TLxEMailInfo"; }

  std::string Host;
  std::string UserID;
  std::string Password;
  const std::unique_ptr<TStringList> Attachments = std::make_unique<TStringList>();
  const std::unique_ptr<TStringList> Body = std::make_unique<TStringList>();
  TDateTime SentDate = 0;
  std::string FromAddress;
  std::string Subject;
  const std::unique_ptr<TStringList> ToList = std::make_unique<TStringList>();
  const std::unique_ptr<TStringList> CCList = std::make_unique<TStringList>();
  const std::unique_ptr<TStringList> BCCList = std::make_unique<TStringList>();
};

using TLxNotifyEvent = std::function<void(TVXRender* Render)>;
// Called again and again for as long as the handler sets Continue (false on entry).
using TLxEMailEvent = std::function<void(TVXRender* Render, TLxEMailInfo* EMailInfo, bool& Continue)>;
// FileName: the proposed full path, which the handler may replace.
using TMakeReportFileNameEvent = std::function<void(TVXRender* Render, std::string& FileName, int PageNo)>;
// Fired only by writers that export images.
using TMakeImageFileNameEvent =
    std::function<void(TVXRender* Render, std::string& FileName, std::string& AltText, int PageNo)>;

// What a render needs of a progress window. The widgets library installs the window
// (render/LxRenderProgressDlg.h); without it a render shows no progress.
class TLxRenderProgress {
public:
  virtual ~TLxRenderProgress() = default;
  virtual void SetTotal(int Value) = 0;
  virtual void SetCurrent(int Value) = 0;
  // Shows the window without making it modal.
  virtual void Show() = 0;
};
// Makes the progress window of Render, or returns nullptr for none.
using TLxRenderProgressHook = std::function<std::unique_ptr<TLxRenderProgress>(TLxRender* Render)>;
// Installs Hook (an empty one removes it) and returns the hook installed before.
TLxRenderProgressHook SetRenderProgressHook(TLxRenderProgressHook Hook);

// Shows the setup dialog of a render and returns mrOk or mrCancel. The widgets library
// installs one per render class; a render whose class has none generates without asking.
using TLxSetupDialogHook = std::function<TModalResult(TLxRender* Render)>;
// Installs Hook for the renders whose ClassName is RenderClass (an empty Hook removes it) and
// returns the hook installed before.
TLxSetupDialogHook SetRenderSetupDialogHook(const std::string& RenderClass, TLxSetupDialogHook Hook);

class TLxRender : public TVXRenderStream {
public:
  explicit TLxRender(TComponent* AOwner = nullptr);
  ~TLxRender() override;
  std::string ClassName() const override { return "TLxRender"; }

  // ===== Published properties =====
  bool EMailAfterGenerate() const { return FEMailAfterGenerate; }
  void SetEMailAfterGenerate(bool Value) { FEMailAfterGenerate = Value; }
  bool OpenAfterGenerate() const { return FOpenAfterGenerate; }
  void SetOpenAfterGenerate(bool Value) { FOpenAfterGenerate = Value; }
  // Page numbers and ranges separated by commas ("1,3,5-12", "-3", "7-"); empty: all pages.
  // A value that breaks the syntax is refused through ShowError and Pages keeps its value.
  const std::string& Pages() const { return FPages; }
  void SetPages(const std::string& Value);
  bool ShowProgress() const { return FShowProgress; }
  void SetShowProgress(bool Value) { FShowProgress = Value; }
  bool ShowSetupDialog() const { return FShowSetupDialog; }
  void SetShowSetupDialog(bool Value) { FShowSetupDialog = Value; }
  // "1.0 [" and the engine's version "]"; assignments are ignored.
  const std::string& Version() const { return FLibraryVersion; }
  void SetVersion(const std::string& Value);

  // ===== Events =====
  TLxNotifyEvent OnDocBegin;
  // After the writer finished and closed its files; not after a cancelled or failed run.
  TLxNotifyEvent OnDocEnd;
  // For each page that passes the page filter.
  TLxNotifyEvent OnPageBegin;
  TLxNotifyEvent OnPageEnd;
  TMakeReportFileNameEvent OnMakeReportFileName;
  // Sender is the render.
  TDecodeImageEvent OnDecodeImage;
  TLxEMailEvent OnEMail;

  // ===== State =====
  TColor BackgroundColor() const { return FBackgroundColor; }
  void SetBackgroundColor(TColor Value) { FBackgroundColor = Value; }
  TPicture* BackgroundImage() const { return FBackgroundImage.get(); }
  // Keeps a copy.
  void SetBackgroundImage(TPicture* Value);
  TLxBackgroundDisplayType BackgroundImageDisplayType() const { return FBackgroundImageDisplayType; }
  void SetBackgroundImageDisplayType(TLxBackgroundDisplayType Value) { FBackgroundImageDisplayType = Value; }
  // The name given to PrintRender.
  const std::string& OutputFileName() const { return FOutputFileName; }
  // Full paths of the output files of the current (or last) generation, in page order.
  TStringList* OutputFiles() const { return FOutputFiles.get(); }
  // The setup dialog was cancelled, or the generation was aborted or failed: every page is
  // then outside the filter.
  bool Cancelled() const { return FCancelled; }
  // A block of text runs is collected and not yet written.
  bool TextPending() const { return FTextPending; }
  void SetTextPending(bool Value) { FTextPending = Value; }
  // Ordinal (from 1) of the current page among the pages that pass the filter.
  int RenderedPageNo() const { return FRenderedPageNo; }
  int PagesInRange() const { return FPagesInRange; }
  // Inches: the point of the last MoveTo, or the anchor of the last text run collected.
  double LastX() const { return FLastX; }
  double LastY() const { return FLastY; }
  void SetLastX(double Value) { FLastX = Value; }
  void SetLastY(double Value) { FLastY = Value; }
  // The request of the last generation that e-mailed (nullptr before).
  TLxEMailInfo* EMailInfo() const { return FEMailInfo.get(); }
  // The files the running generation created (or truncated), in the order it created them.
  // Only these are removed when the generation is aborted; the list is emptied when a
  // generation ends.
  const std::vector<std::string>& CreatedFiles() const { return FCreatedFiles; }

  // ===== Overrides of the bridge =====
  void MoveTo(double X, double Y) override;
  void PrintImageRect(TStream* ImageStream, const std::string& ImageType, double X1, double Y1, double X2,
                      double Y2) override;
  void DocBegin() override;
  void DocEnd() override;
  void PageBegin() override;
  void PageEnd() override;
  // Steps common to every writer: output names (setup dialog first when ShowSetupDialog).
  // Writers call it first, return when Cancelled, then open their output and run the
  // converter (OpenOutputFile, RunConverter).
  void PrintRender(TStream* Stream, const std::string& OutputFileName) override;
  void GenerationFailed() override;
  void BetweenOperations() override;

  // ===== Added virtual operations, in slot order =====
  // Shows the format's setup dialog (the one installed for this render's class) and returns
  // mrOk or mrCancel. A render without a dialog answers mrOk at once.
  virtual TModalResult ExecuteSetupDialog();
  // A new EMailInfo whose Attachments are the OutputFiles.
  virtual void CreateEMailInfo();
  // A modal error box with an OK button (through the dialog service).
  virtual void ShowError(const std::string& Msg);
  // Stops the generation: sets Cancelled, so no further page is written, and asks for the
  // files this generation created to be closed and removed. While the converter runs this
  // happens when the current operation has returned (so a writer never loses a file it is
  // writing to); otherwise at once.
  virtual void AbortRender();

  // ===== Non-virtual operations =====
  bool IsPageInRange(int PageNo) const;
  // The extension of OutputFileName with its dot; when that is empty or ".", the one of
  // FileExtension ("*.html;*.htm" gives ".html").
  std::string DefaultExtension() const;
  // Writes the bytes of S to the output file.
  void WriteString(const std::string& S);
  // A bitmap holding Text turned by Angle degrees in the font Font, and (in X, Y, pixels at
  // 96 per inch) where its top-left corner goes for a run of the given alignment (0 left,
  // 1 right, 2 centre), Height and Width. The caller owns the bitmap.
  std::unique_ptr<TBitmap> MakeRotatedTextBitmap(const std::string& Text, int Angle,
                                                 const TLxFontAttrib& Font, int Alignment, double Height,
                                                 double Width, int& X, int& Y);

  // ===== For writers =====
  // Whether the converter's current page passes the filter.
  bool CurrentPageInRange() const;
  // Creates or truncates FileName as the output file and notes it as created by this
  // generation. On failure: AbortRender, the "File could not be created!" message, false.
  bool OpenOutputFile(const std::string& FileName);
  // Creates or truncates a further file (one per page, images): nullptr after AbortRender
  // and the message when it cannot be created.
  std::unique_ptr<TStream> CreateOutputFile(const std::string& FileName);
  // The name of the file of the RenderedPageNo-th page (output folder, base name, the
  // ordinal with at least four digits, DefaultExtension), passed through
  // OnMakeReportFileName with the page's number in the report and appended to OutputFiles.
  std::string AddPageFileName();
  // Runs a converter over Stream for all pages. Errors of the walk propagate after the
  // files of this generation are removed.
  void RunConverter(TStream* Stream);
  // The message shown when an output file cannot be created.
  static std::string FileCreateErrorMessage();
  // Lets the user interface process pending events (a progress window's Cancel acts here).
  static void ProcessMessages();

protected:
  // Closes every file the writer holds; the base closes the output stream. Called before
  // an aborted generation's files are removed, so it must tolerate being called twice.
  virtual void CloseFiles();

private:
  // Closes and removes what an aborted or failed generation created.
  void ReleaseAbortedOutput();
  void FireEMail();
  void NoteCreated(const std::string& FileName);

  bool FEMailAfterGenerate = false;
  bool FOpenAfterGenerate = false;
  std::string FPages;
  bool FShowProgress = true;
  bool FShowSetupDialog = true;
  std::string FLibraryVersion;
  TColor FBackgroundColor = 0xFFFFFF;
  std::unique_ptr<TPicture> FBackgroundImage;
  TLxBackgroundDisplayType FBackgroundImageDisplayType = dtCenter;
  std::string FOutputFileName;
  std::unique_ptr<TStringList> FOutputFiles;
  std::vector<std::string> FCreatedFiles;
  bool FCancelled = false;
  bool FAbortPending = false;
  bool FGenerating = false;
  bool FTextPending = false;
  int FRenderedPageNo = 0;
  int FPagesInRange = 0;
  double FLastX = 0;
  double FLastY = 0;
  std::unique_ptr<TLxEMailInfo> FEMailInfo;
  std::unique_ptr<TLxRenderProgress> FProgress;
};
