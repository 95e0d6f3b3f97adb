#include "platform/QtBridge.h"

#include <QGuiApplication>
#include <cstdlib>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/AnsiCodePage.h"

namespace {

bool HasDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

// Qt warns on standard error when the session has no runtime folder (a console or CI
// run); give it the private folder it would fall back to anyway.
void ProvideRuntimeDir() {
  const char* dir = std::getenv("XDG_RUNTIME_DIR");
  if (dir && *dir) return;
  const std::string path = "/tmp/runtime-" + std::to_string(getuid());
  mkdir(path.c_str(), 0700);
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid()) {
    chmod(path.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", path.c_str(), 0);
  }
}

}  // namespace

void EnsureGuiApplication() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (QCoreApplication::instance()) return;
    ProvideRuntimeDir();
    if (!HasDisplay() && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Qt keeps references to argc and argv for the application's lifetime.
    static int argc = 1;
    static char name[] = "pagepress";
    static char* argv[] = {name, nullptr};
    // Lives until process exit: Qt objects of the caller may outlive any scope we could give it.
    new QGuiApplication(argc, argv);
  });
}

QString AnsiToQString(const std::string& Text) { return QString::fromStdString(AnsiToUtf8(Text)); }

std::string QStringToAnsi(const QString& Text) { return Utf8ToAnsi(Text.toStdString()); }
