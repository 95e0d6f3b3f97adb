// TBaseReport: text on the device canvas for the engines that draw. The engine finds the
// reference point from the cursor, the line metrics and the font; the platform's text helper
// draws by it. Vertically, first match wins: superscript hangs from midway between the line
// top and the font top; subscript stands on the font bottom; otherwise the font's alignment
// puts the baseline on the cursor, the top of the characters at the font top, or their
// bottom on the font bottom. Baseline and bottom are one pixel lower, as the platform's text
// output has always placed them.
#include "engine/VXBase.h"
#include "engine/VXFontSelection.h"
#include "engine/VXFormatCodes.h"

void TBaseReport::PlaceReference(int& Y, TTextVertical& Vertical) {
  const double fontTop = FYPos - FLineAscent;
  const double fontBottom = FYPos + FLineDescent;
  const double lineTop = fontBottom - FLineHeight;
  if (FFont.Superscript) {
    Y = YInchToDevice((lineTop + fontTop) / 2.0);
    Vertical = tvTop;
  } else if (FFont.Subscript) {
    Y = YInchToDevice(fontBottom) + 1;
    Vertical = tvBottom;
  } else if (FFont.Align == 1) {
    Y = YInchToDevice(fontTop - FFont.InternalLeading);
    Vertical = tvTop;
  } else if (FFont.Align == 2) {
    Y = YInchToDevice(fontBottom) + 1;
    Vertical = tvBottom;
  } else {
    Y = YInchToDevice(FYPos) + 1;
    Vertical = tvBaseline;
  }
}

void TBaseReport::PlaceRun(const std::string& Text, double X, TTextHorizontal Horizontal) {
  if (Text.empty()) return;
  TFontSelection selection(this);
  int y = 0;
  TTextVertical vertical = tvBaseline;
  PlaceReference(y, vertical);
  DrawAlignedText(Canvas(), Text, XInchToDevice(X), y, vertical, Horizontal, FTextBKMode == bkOpaque);
}

void TBaseReport::CanvasPrintRuns(const std::string& Text, double X) {
  double position = X;
  FXPos = X;
  size_t pos = 0;
  std::string plain;
  while (pos < Text.size()) {
    NextFormatSegment(Text, pos, plain);
    if (plain.empty()) continue;
    PlaceRun(plain, position, thLeft);
    const double width = TextWidth(plain);
    FXPos = position;
    AdvanceCursor(width);
    position += XUnitsToInch(width) * 100.0 / FZoomPercent;
  }
}

void TBaseReport::CanvasPrintLeft(const std::string& Text, double X) {
  CheckPrinting();
  if (OutputSuppressed()) return;
  if (!FIgnoreFormatCodes && HasFormatCodes(Text)) {
    CanvasPrintRuns(Text, X);
    return;
  }
  PlaceRun(Text, X, thLeft);
  FXPos = X;
  AdvanceCursor(TextWidth(Text));
}

void TBaseReport::CanvasPrintCenter(const std::string& Text, double X) {
  CheckPrinting();
  if (OutputSuppressed()) return;
  if (!FIgnoreFormatCodes && HasFormatCodes(Text)) {
    const double pixels = TextPixels(Text);
    CanvasPrintRuns(Text, X - pixels / (2.0 * FDeviceXDPI * FZoomPercent / 100.0));
    return;
  }
  PlaceRun(Text, X, thCenter);
  FXPos = X;
  AdvanceCursor(TextWidth(Text) / 2.0);
}

void TBaseReport::CanvasPrintRight(const std::string& Text, double X) {
  CheckPrinting();
  if (OutputSuppressed()) return;
  if (!FIgnoreFormatCodes && HasFormatCodes(Text)) {
    const double pixels = TextPixels(Text);
    CanvasPrintRuns(Text, X - pixels / FDeviceXDPI * 100.0 / FZoomPercent);
  } else {
    PlaceRun(Text, X, thRight);
  }
  FXPos = X;
}

void TBaseReport::CanvasPrintBlock(const std::string& Text, double X, double Width) {
  CheckPrinting();
  if (OutputSuppressed()) return;
  // Runs in several fonts cannot share their gaps: such text prints from X as it is.
  if (!FIgnoreFormatCodes && HasFormatCodes(Text)) {
    CanvasPrintRuns(Text, X);
    return;
  }
  if (!Text.empty()) {
    TFontSelection selection(this);
    TCanvas* canvas = Canvas();
    int y = 0;
    TTextVertical vertical = tvBaseline;
    PlaceReference(y, vertical);
    const double targetPixels = Width * FScaleX * FZoomPercent / 10000.0 * FDeviceXDPI;
    const double extra = (targetPixels - BlockTextWidth(canvas, Text)) / BlockGaps(Text);
    DrawBlockText(canvas, Text, XInchToDevice(X), y, vertical, FTextBKMode == bkOpaque, extra);
  }
  FXPos = X;
  AdvanceCursor(XInchToUnits(Width) * FScaleX * FZoomPercent / 10000.0);
}
