// TBaseReport: the device font of the current record (built once per distinct font and kept
// in the job's font cache), its metrics, and measuring text.
#include <algorithm>
#include <cmath>

#include "engine/VXBase.h"
#include "engine/VXDevice.h"
#include "engine/VXFontManager.h"
#include "engine/VXFontSelection.h"
#include "engine/VXFormatCodes.h"
#include "platform/FontMetrics.h"

namespace {

// Superscript and subscript print this many times smaller.
constexpr double ScriptDivisor = 1.667;
// Device fonts kept per job at most; the least recently used goes first.
constexpr size_t MaxCachedFonts = 256;
constexpr double MaxFontPixels = 1 << 20;
// The implicit tab stops inside text with codes: every half unit.
constexpr double DefaultTabWidth = 0.5;

int ClampPixels(double Pixels) {
  if (!(Pixels >= 1)) return 1;
  return static_cast<int>(std::min(std::nearbyint(Pixels), MaxFontPixels));
}

bool IsScript(const TFontRecord& Font) {
  return Font.Superscript || Font.Subscript;
}

double DeviceHeight(const TFontRecord& Font) {
  return IsScript(Font) ? Font.Height / ScriptDivisor : Font.Height;
}

// The charset for a record that asks for the default one: the charset all faces of the
// name share, when they share one.
uint8_t DeviceCharset(const TFontRecord& Font) {
  if (Font.Charset != DEFAULT_CHARSET) return Font.Charset;
  const std::vector<TFontFace> faces = EnumFontFaces(Font.Name);
  if (faces.empty()) return DEFAULT_CHARSET;
  const uint8_t first = faces.front().CharSet;
  const bool same = std::all_of(faces.begin(), faces.end(),
                                [first](const TFontFace& Face) { return Face.CharSet == first; });
  return same ? first : DEFAULT_CHARSET;
}

}  // namespace

std::shared_ptr<TLogicalFont> TBaseReport::CreateDeviceFont() {
  TLogFont lf;
  lf.lfHeight = -ClampPixels(FZoomPercent / 100.0 * FDeviceYDPI * DeviceHeight(FFont));
  const double width = std::nearbyint(FDeviceXDPI * FFont.Width * FZoomPercent / 100.0);
  lf.lfWidth = width > 0 ? ClampPixels(width) : 0;
  lf.lfEscapement = FFont.Rotation * 10;
  lf.lfOrientation = 0;
  lf.lfWeight = FFont.Bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = FFont.Italic;
  lf.lfUnderline = FFont.Underline;
  lf.lfStrikeOut = FFont.Strikeout;
  lf.lfPitchAndFamily = FFont.Pitch == 1 ? VARIABLE_PITCH : FFont.Pitch == 2 ? FIXED_PITCH : DEFAULT_PITCH;
  lf.lfFaceName = FFont.Name;
  lf.lfCharSet = DeviceCharset(FFont);
  return CreateFontIndirect(lf);
}

void TBaseReport::SelectCurrentFont() {
  TCanvas* canvas = Canvas();
  if (FFontDirty) {
    FFont.Handle.reset();
    FFontDirty = false;
  }
  if (!FFont.Handle) {
    auto hit = std::find_if(FFontCache.begin(), FFontCache.end(),
                            [this](const TFontRecord& Entry) { return SameDeviceFont(Entry, FFont); });
    if (hit != FFontCache.end()) {
      FFont.Handle = hit->Handle;
      FFont.Ascent = hit->Ascent;
      FFont.Descent = hit->Descent;
      FFont.InternalLeading = hit->InternalLeading;
      std::rotate(FFontCache.begin(), hit, hit + 1);
    }
  }
  const bool build = !FFont.Handle;
  if (build) FFont.Handle = CreateDeviceFont();
  std::shared_ptr<TLogicalFont> previous = canvas->SelectFont(FFont.Handle);
  if (FFontSelections++ == 0) FPreviousFont = std::move(previous);
  if (build) {
    const TTextMetric metrics = canvas->GetTextMetrics();
    const double divisor = FDeviceYDPI * FScaleY * FZoomPercent;
    const double factor = IsScript(FFont) ? 0.5 : 1.0;
    FFont.Ascent = metrics.tmAscent * 10000.0 / divisor * factor;
    FFont.Descent = metrics.tmDescent * 10000.0 / divisor * factor;
    FFont.InternalLeading = metrics.tmInternalLeading * 10000.0 / divisor * factor;
    FFontCache.insert(FFontCache.begin(), FFont);
    if (FFontCache.size() > MaxCachedFonts) FFontCache.pop_back();
  }
  TColor color = ColorToRGB(FFont.Color);
  // A black-and-white printer would dither coloured text: it prints black instead.
  if (OutputKind() == 0 && canvas->NumColors() == 2 && color != clWhite) color = clBlack;
  canvas->SetTextColor(color);
}

void TBaseReport::DeselectCurrentFont() {
  if (FFontSelections == 0) return;
  if (--FFontSelections > 0) return;
  TCanvas* canvas = Canvas();
  canvas->SelectFont(std::move(FPreviousFont));
  FPreviousFont.reset();
  canvas->SetTextColor(canvas->Font()->Color());
}

void TBaseReport::RefreshFontMetrics() {
  if (!FPrinting || !FFontDirty) return;
  TFontSelection selection(this);
}

void TBaseReport::ClearFontCache() {
  FFont.Handle.reset();
  FFontCache.clear();
  FPreviousFont.reset();
  FFontSelections = 0;
}

// ===== Measuring =====

void TBaseReport::TextExtent(const std::string& Text, TSize& Size) {
  CheckPrinting();
  Size = TSize{0, 0};
  if (Text.empty()) return;
  TFontSelection selection(this);
  Size = Canvas()->GetTextExtentPoint(Text);
}

double TBaseReport::TextWidth(const std::string& Text) {
  CheckPrinting();
  const double pixels = TextPixels(Text);
  return XInchToUnits(pixels * FScaleX / (FDeviceXDPI * 100.0));
}

int TBaseReport::TextPixels(const std::string& Text) {
  if (!FIgnoreFormatCodes && HasFormatCodes(Text)) return FormattedTextPixels(Text);
  if (Text.empty()) return 1;
  return PlainTextPixels(Text);
}

int TBaseReport::PlainTextPixels(const std::string& Text) {
  // Without a printer the font metrics manager measures, so that layouts do not depend on
  // the machine's screen or printers.
  if (dynamic_cast<TVXRenderDevice*>(Device()) != nullptr) {
    TFont font;
    font.SetPixelsPerInch(FDeviceXDPI);
    font.SetName(FFont.Name);
    font.SetCharset(FFont.Charset);
    font.SetPitch(static_cast<TFontPitch>(std::min<uint8_t>(FFont.Pitch, fpFixed)));
    TFontStyles styles;
    if (FFont.Bold) styles.Include(fsBold);
    if (FFont.Italic) styles.Include(fsItalic);
    font.SetStyle(styles);
    font.SetHeight(-ClampPixels(FDeviceXDPI * DeviceHeight(FFont) * FZoomPercent / 100.0));
    return FontManager()->MeasureText(&font, Text);
  }
  TSize size;
  TextExtent(Text, size);
  return std::max(1, static_cast<int>(size.cx));
}

int TBaseReport::FormattedTextPixels(const std::string& Text) {
  const int tabPixels = ClampPixels(XUnitsToInch(DefaultTabWidth) * FDeviceXDPI);
  PushFont();
  int width = 0;
  try {
    size_t pos = 0;
    std::string plain;
    while (pos < Text.size()) {
      NextFormatSegment(Text, pos, plain);
      if (plain.empty()) continue;
      TFontSelection selection(this);
      size_t start = 0;
      for (;;) {
        const size_t tab = plain.find('\t', start);
        const std::string run =
            plain.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
        // Runs measure as plain text does, so that coded and plain text agree.
        if (!run.empty()) width += PlainTextPixels(run);
        if (tab == std::string::npos) break;
        // To the next tab stop; a width right on a stop stays there.
        width = ((width - 1) / tabPixels + 1) * tabPixels;
        start = tab + 1;
      }
    }
  } catch (...) {
    PopFont();
    throw;
  }
  PopFont();
  return width == 0 ? 1 : width;
}
