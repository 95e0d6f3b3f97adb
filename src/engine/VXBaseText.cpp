// TBaseReport: the current font record and its coupling to the canvas font, the text
// background, and the text operations of the virtual slot table.
#include <cmath>
#include <cstdlib>

#include "engine/VXBase.h"

namespace {

constexpr size_t MaxFontNameLength = 60;

}  // namespace

// ===== Canvas font coupling =====

void TBaseReport::FontChanged(TObject* Sender) {
  if (FSavedFontChange) FSavedFontChange(Sender);
  if (FBulkUpdate || FAttachedFont == nullptr) return;
  TFont* font = FAttachedFont;
  const std::string name = font->Name().substr(0, MaxFontNameLength);
  if (name != FFont.Name) {
    FFont.Name = name;
    FFontDirty = true;
  }
  if (font->Color() != FFont.Color) {
    FFont.Color = font->Color();
    FFontDirty = true;
  }
  if (font->Charset() != FFont.Charset) {
    FFont.Charset = font->Charset();
    FFontDirty = true;
  }
  if (static_cast<uint8_t>(font->Pitch()) != FFont.Pitch) {
    FFont.Pitch = static_cast<uint8_t>(font->Pitch());
    FFontDirty = true;
  }
  const int pixels = std::abs(font->Height());
  const int recordPixels =
      static_cast<int>(std::nearbyint(FDeviceYDPI * FFont.Height * FZoomPercent / 100.0));
  if (pixels != recordPixels) {
    FFont.Height = pixels * 100.0 / (FDeviceYDPI * FZoomPercent);
    FFont.Size = FFont.Height * 72.0;
    FFontDirty = true;
  }
  const TFontStyles style = font->Style();
  auto copyStyle = [this](bool& field, bool value) {
    if (field == value) return;
    field = value;
    FFontDirty = true;
  };
  copyStyle(FFont.Bold, style.Contains(fsBold));
  copyStyle(FFont.Italic, style.Contains(fsItalic));
  copyStyle(FFont.Underline, style.Contains(fsUnderline));
  copyStyle(FFont.Strikeout, style.Contains(fsStrikeOut));
}

void TBaseReport::AttachCanvasFont() {
  TFont* font = Canvas()->Font();
  FAttachedFont = font;
  FSavedFontChange = font->OnChange;
  font->OnChange = [this](TObject* Sender) { FontChanged(Sender); };
  FBulkUpdate = false;
  font->SetPixelsPerInch(FDeviceYDPI);
}

void TBaseReport::DetachCanvasFont() {
  if (FAttachedFont == nullptr) return;
  FAttachedFont->OnChange = FSavedFontChange;
  FAttachedFont = nullptr;
  FSavedFontChange = nullptr;
}

void TBaseReport::ClearFontCache() {
  FFont.Handle.reset();
}

// ===== Text background =====

void TBaseReport::SetTextBKMode(TBKMode Mode) {
  FTextBKMode = Mode;
}

void TBaseReport::SetBKColor(TColor Color) {
  CheckPrinting();
  Canvas()->SetBkColor(Color);
}

// ===== Text operations of the slot table that this engine does not provide =====

void TBaseReport::NotAvailable(const std::string& Operation) {
  RaiseError(Trans("Operation not available in this engine: ") + Operation);
}

void TBaseReport::TextExtent(const std::string& /*Text*/, TSize& /*Size*/) {
  NotAvailable("TextExtent");
}

double TBaseReport::TextWidth(const std::string& /*Text*/) {
  NotAvailable("TextWidth");
}

double TBaseReport::PrintMemo(TBaseMemoBuf* /*MemoBuf*/, int /*Lines*/, bool /*PrintTabs*/) {
  NotAvailable("PrintMemo");
}

void TBaseReport::SetFont(const std::string& /*Name*/, double /*Size*/) {
  NotAvailable("SetFont");
}
