#pragma once
// Internal: the meeting point of the platform layer and Qt. Only platform sources include it.
#include <QColor>
#include <QString>
#include <string>

#include "platform/Color.h"

// Makes sure a Qt GUI application object exists (fonts, images and painting need one).
// Without a display it selects Qt's offscreen platform, so nothing needs DISPLAY or
// QT_QPA_PLATFORM. An application object created by the program itself is used as it is.
void EnsureGuiApplication();

// Windows-1252 text to and from Qt's Unicode strings.
QString AnsiToQString(const std::string& Text);
std::string QStringToAnsi(const QString& Text);
// File names are UTF-8.
inline QString FileNameToQString(const std::string& FileName) { return QString::fromStdString(FileName); }

inline QColor ColorToQColor(TColor Color) {
  TColor c = ColorToRGB(Color);
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}
inline TColor QColorToColor(const QColor& Color) {
  return RGB(static_cast<uint8_t>(Color.red()), static_cast<uint8_t>(Color.green()),
             static_cast<uint8_t>(Color.blue()));
}
inline TColor QRgbToColor(QRgb Value) {
  return RGB(static_cast<uint8_t>(qRed(Value)), static_cast<uint8_t>(qGreen(Value)),
             static_cast<uint8_t>(qBlue(Value)));
}
inline QRgb ColorToQRgb(TColor Color) {
  TColor c = ColorToRGB(Color);
  return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}
