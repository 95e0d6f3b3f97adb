#pragma once
// The application object and the screen: the process-wide Application (title, executable,
// pending-message processing, exception display) and Screen (cursor, resolution, size, fonts).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Component.h"
#include "platform/Exceptions.h"

class TStrings;
class TStringList;

using TCursor = int16_t;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crSize = -22;

// Called with an exception that reached the application's handler.
using TExceptionEvent = std::function<void(TObject* Sender, Exception& E)>;

class TApplication : public TComponent {
public:
  explicit TApplication(TComponent* AOwner = nullptr);
  std::string ClassName() const override { return "TApplication"; }

  // The application's title (Windows-1252), shown as the caption of message boxes. Until
  // set it is the executable's file name without folder and extension.
  std::string Title() const;
  void SetTitle(const std::string& Value);
  // The full path of the running executable (UTF-8).
  std::string ExeName() const;

  // Handles the window-system events that are waiting, then fires OnProcessMessages. Does
  // nothing but fire the event when no application object of the toolkit exists or when
  // called off the toolkit's thread. Never waits for new events.
  void ProcessMessages();
  // Runs the toolkit's event loop until Terminate (returns at once when none exists).
  void Run();
  // Asks the event loop to end; Terminated reads true from now on.
  void Terminate();
  bool Terminated() const { return FTerminated; }

  // Inside a catch block: hands the exception being handled to OnException when assigned,
  // otherwise shows it (ShowException). EAbort is silent; outside a catch block nothing happens.
  void HandleException(TObject* Sender);
  // Shows the exception's message in an error box. As the platform's exception display does,
  // a period is appended when the last character sorts after '.' (a letter or a digit).
  void ShowException(const Exception& E);

  TExceptionEvent OnException;
  // Fired by every ProcessMessages after the pending events were handled: long operations
  // call ProcessMessages between steps, so a headless program or a test acts here as a user
  // would (for example pressing Cancel).
  TNotifyEvent OnProcessMessages;

private:
  std::string FTitle;
  bool FTitleSet = false;
  bool FTerminated = false;
};

// The desktop: cursor, resolution and size of the primary screen, installed fonts.
class TScreen : public TComponent {
public:
  explicit TScreen(TComponent* AOwner = nullptr);
  ~TScreen() override;
  std::string ClassName() const override { return "TScreen"; }

  // The application-wide cursor; crDefault lets every window show its own.
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  // Shows Value and remembers the cursor it replaces; PopCursor shows that one again.
  void PushCursor(TCursor Value);
  // Restores the cursor of the matching PushCursor; does nothing when none is pushed.
  void PopCursor();
  int CursorDepth() const { return static_cast<int>(FCursorStack.size()); }

  // Logical pixels per inch of the screen. Always 96: layouts measured for the screen stay
  // the same on every desktop, scaled or not, and without a display.
  int PixelsPerInch() const { return 96; }
  // Size of the primary screen in pixels; 1024 by 768 when there is no real display.
  int Width() const;
  int Height() const;
  // The installed font family names with the classic names that stand in for them, sorted
  // without regard to case. Read once, on first use.
  TStrings* Fonts();

private:
  TCursor FCursor = crDefault;
  std::vector<TCursor> FCursorStack;
  std::unique_ptr<TStringList> FFonts;
};

// Shows a cursor on the window system. The widgets library installs one; without it the
// cursor is only remembered. Returns the hook that was installed before.
using TCursorHook = std::function<void(TCursor Cursor)>;
TCursorHook SetCursorHook(TCursorHook Hook);

extern TApplication* Application;
extern TScreen* Screen;
