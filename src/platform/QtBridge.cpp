#include "platform/QtBridge.h"

#include <QGuiApplication>
#include <cstdlib>
#include <mutex>

#include "platform/AnsiCodePage.h"

namespace {

bool HasDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

void EnsureGuiApplication() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (QCoreApplication::instance()) return;
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
