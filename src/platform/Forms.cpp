#include "platform/Forms.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <algorithm>
#include <exception>

#include "platform/AnsiCodePage.h"
#include "platform/Dialogs.h"
#include "platform/FontMetrics.h"
#include "platform/StringList.h"

// --- TApplication ---

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

std::string TApplication::Title() const {
  if (FTitleSet) return FTitle;
  std::string name = ExeName();
  size_t slash = name.find_last_of('/');
  if (slash != std::string::npos) name.erase(0, slash + 1);
  size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return Utf8ToAnsi(name);
}

void TApplication::SetTitle(const std::string& Value) {
  FTitle = Value;
  FTitleSet = true;
}

std::string TApplication::ExeName() const {
  std::string path(4096, '\0');
  ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
  if (length <= 0) return "";
  path.resize(static_cast<size_t>(std::min<ssize_t>(length, static_cast<ssize_t>(path.size()))));
  return path;
}

namespace {

// Qt's event handling belongs to the thread that created the application object.
bool OnToolkitThread() {
  QCoreApplication* app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

}  // namespace

void TApplication::ProcessMessages() {
  if (OnToolkitThread()) QCoreApplication::processEvents(QEventLoop::AllEvents);
  if (OnProcessMessages) OnProcessMessages(this);
}

void TApplication::Run() {
  if (FTerminated || !OnToolkitThread()) return;
  QCoreApplication::exec();
}

void TApplication::Terminate() {
  FTerminated = true;
  if (OnToolkitThread()) QCoreApplication::quit();
}

void TApplication::HandleException(TObject* Sender) {
  std::exception_ptr current = std::current_exception();
  if (!current) return;
  try {
    std::rethrow_exception(current);
  } catch (EAbort&) {
    // The silent abort unwinds without a message.
  } catch (Exception& e) {
    if (OnException)
      OnException(Sender, e);
    else
      ShowException(e);
  } catch (std::exception& e) {
    Exception wrapped(Utf8ToAnsi(e.what()));
    if (OnException)
      OnException(Sender, wrapped);
    else
      ShowException(wrapped);
  } catch (...) {
    Exception wrapped("Unknown exception");
    if (OnException)
      OnException(Sender, wrapped);
    else
      ShowException(wrapped);
  }
}

void TApplication::ShowException(const Exception& E) {
  std::string msg = E.Message();
  if (!msg.empty() && static_cast<unsigned char>(msg.back()) > '.') msg += '.';
  DialogService()->ShowError(msg);
}

// --- TScreen ---

namespace {

TCursorHook& CursorHook() {
  static TCursorHook hook;
  return hook;
}

// The real primary screen, or nullptr when there is none to ask (no application object,
// or one on a platform without a display).
QScreen* RealPrimaryScreen() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return nullptr;
  QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) return nullptr;
  return QGuiApplication::primaryScreen();
}

}  // namespace

TCursorHook SetCursorHook(TCursorHook Hook) {
  TCursorHook previous = std::move(CursorHook());
  CursorHook() = std::move(Hook);
  return previous;
}

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

TScreen::~TScreen() = default;

void TScreen::SetCursor(TCursor Value) {
  FCursor = Value;
  if (CursorHook()) CursorHook()(Value);
}

void TScreen::PushCursor(TCursor Value) {
  FCursorStack.push_back(FCursor);
  SetCursor(Value);
}

void TScreen::PopCursor() {
  if (FCursorStack.empty()) return;
  TCursor previous = FCursorStack.back();
  FCursorStack.pop_back();
  SetCursor(previous);
}

int TScreen::Width() const {
  QScreen* screen = RealPrimaryScreen();
  return screen ? screen->geometry().width() : 1024;
}

int TScreen::Height() const {
  QScreen* screen = RealPrimaryScreen();
  return screen ? screen->geometry().height() : 768;
}

TStrings* TScreen::Fonts() {
  if (!FFonts) {
    FFonts = std::make_unique<TStringList>();
    FFonts->SetDuplicates(dupIgnore);
    FFonts->SetSorted(true);
    for (const std::string& family : EnumFontFamilies()) FFonts->Add(family);
  }
  return FFonts.get();
}

// --- The process-wide objects ---

namespace {
TApplication ApplicationInstance;
TScreen ScreenInstance;
}  // namespace

TApplication* Application = &ApplicationInstance;
TScreen* Screen = &ScreenInstance;
