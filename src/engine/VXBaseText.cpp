// TBaseReport: the current font record, its attributes, stack and slots, its coupling to the
// canvas font, and the text background.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/VXBase.h"

namespace {

constexpr size_t MaxFontNameLength = 60;
// The largest character height a font is given (pixels): enough for any page.
constexpr double MaxFontPixels = 1 << 20;

// Sets a flag for a scope and puts its old value back, also when the scope fails.
class TFlagScope {
public:
  explicit TFlagScope(bool& Flag) : FFlag(Flag), FOld(Flag) { Flag = true; }
  ~TFlagScope() { FFlag = FOld; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

private:
  bool& FFlag;
  bool FOld;
};

// Pixels from a computed height: at least one, at most MaxFontPixels.
int ClampPixels(double Pixels) {
  if (!(Pixels >= 1)) return 1;  // NaN included
  return static_cast<int>(std::min(std::nearbyint(Pixels), MaxFontPixels));
}

TFontStyles StylesOf(const TFontRecord& Record) {
  TFontStyles styles;
  if (Record.Bold) styles.Include(fsBold);
  if (Record.Italic) styles.Include(fsItalic);
  if (Record.Underline) styles.Include(fsUnderline);
  if (Record.Strikeout) styles.Include(fsStrikeOut);
  return styles;
}

void SetStyle(TFont* Font, TFontStyle Style, bool On) {
  TFontStyles styles = Font->Style();
  if (On) {
    styles.Include(Style);
  } else {
    styles.Exclude(Style);
  }
  Font->SetStyle(styles);
}

}  // namespace

// ===== Canvas font coupling =====

void TBaseReport::FontChanged(TObject* Sender) {
  if (FSavedFontChange) FSavedFontChange(Sender);
  if (FBulkUpdate) return;
  // Changes of the record alone (superscript, rotation, ...) are announced without a font.
  TFont* font = CouplingFont();
  if (Sender == font) ReadFontObject(font);
}

void TBaseReport::ReadFontObject(TFont* Font) {
  const std::string name = Font->Name().substr(0, MaxFontNameLength);
  if (name != FFont.Name) {
    FFont.Name = name;
    FFontDirty = true;
  }
  if (Font->Color() != FFont.Color) {
    FFont.Color = Font->Color();
    FFontDirty = true;
  }
  if (Font->Charset() != FFont.Charset) {
    FFont.Charset = Font->Charset();
    FFontDirty = true;
  }
  if (static_cast<uint8_t>(Font->Pitch()) != FFont.Pitch) {
    FFont.Pitch = static_cast<uint8_t>(Font->Pitch());
    FFontDirty = true;
  }
  const int pixels = std::abs(Font->Height());
  if (pixels != FontPixels(FFont.Height)) {
    FFont.Height = pixels * 100.0 / (FDeviceYDPI * FZoomPercent);
    FFont.Size = FFont.Height * 72.0;
    FFontDirty = true;
  }
  const TFontStyles style = Font->Style();
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
  TCanvas* canvas = Canvas();
  TFont* font = canvas->Font();
  FAttachedFont = font;
  FSavedFontChange = font->OnChange;
  font->SetPixelsPerInch(FDeviceYDPI);
  // The canvas font starts as the record, so that a report changing one attribute of it
  // directly keeps the rest of the record. Nobody is told: the canvas only has to drop its
  // selected font and take the colour, as it does on any change of its font.
  font->OnChange = nullptr;
  WriteFontObject(font, FFont);
  canvas->SelectFont(nullptr);
  canvas->SetTextColor(font->Color());
  font->OnChange = [this](TObject* Sender) { FontChanged(Sender); };
  FBulkUpdate = false;
}

void TBaseReport::DetachCanvasFont() {
  if (FAttachedFont == nullptr) return;
  FAttachedFont->OnChange = FSavedFontChange;
  FAttachedFont = nullptr;
  FSavedFontChange = nullptr;
}

TFont* TBaseReport::CouplingFont() {
  if (FAttachedFont != nullptr) return FAttachedFont;
  if (!FOwnFont) {
    FOwnFont = std::make_unique<TFont>();
    WriteFontObject(FOwnFont.get(), FFont);
  }
  FOwnFont->SetPixelsPerInch(FDeviceYDPI);
  return FOwnFont.get();
}

int TBaseReport::FontPixels(double Height) const {
  return ClampPixels(FDeviceYDPI * Height * FZoomPercent / 100.0);
}

void TBaseReport::WriteFontObject(TFont* Font, const TFontRecord& Record) {
  Font->SetName(Record.Name);
  Font->SetColor(Record.Color);
  Font->SetPitch(static_cast<TFontPitch>(std::min<uint8_t>(Record.Pitch, fpFixed)));
  Font->SetCharset(Record.Charset);
  // A negative height is the character height, which the record's height is.
  Font->SetHeight(-FontPixels(Record.Height));
  Font->SetStyle(StylesOf(Record));
}

void TBaseReport::EditFont(const std::function<void(TFont*)>& Edit) {
  TFont* font = CouplingFont();
  {
    // The canvas font may differ from the record when a job starts: bring it in step first,
    // so that only the edited attribute changes the record.
    TFlagScope bulk(FBulkUpdate);
    WriteFontObject(font, FFont);
  }
  Edit(font);
  // The canvas font announces its own changes; the engine's own font does not.
  if (font != FAttachedFont) FontChanged(font);
}

// ===== Font attributes =====

void TBaseReport::SetFont(const std::string& Name, double Size) {
  if (!(Size > 0)) return;
  TFont* font = CouplingFont();
  {
    TFlagScope bulk(FBulkUpdate);
    font->SetName(Name);
    font->SetColor(clBlack);
    font->SetPitch(fpDefault);
    font->SetCharset(DEFAULT_CHARSET);
    font->SetHeight(-ClampPixels(FDeviceYDPI * Size / 72.0 * FScaleY * FZoomPercent / 10000.0));
    font->SetStyle(TFontStyles{});
  }
  FFont.Superscript = false;
  FFont.Subscript = false;
  FFont.Rotation = 0;
  FFont.Width = 0;
  FFont.Align = 0;
  FFontDirty = true;
  FontChanged(font);
}

void TBaseReport::AssignFont(TFont* Font) {
  if (Font == nullptr) return;
  const double points = std::abs(Font->Height()) * 72.0 / Font->PixelsPerInch();
  TFont* font = CouplingFont();
  {
    TFlagScope bulk(FBulkUpdate);
    font->SetName(Font->Name());
    font->SetColor(Font->Color());
    font->SetPitch(Font->Pitch());
    font->SetCharset(Font->Charset());
    font->SetHeight(-ClampPixels(FDeviceYDPI * points / 72.0 * FScaleY * FZoomPercent / 10000.0));
    font->SetStyle(Font->Style());
  }
  FFont.Superscript = false;
  FFont.Subscript = false;
  FFont.Rotation = 0;
  FFontDirty = true;
  FontChanged(font);
}

void TBaseReport::SetFontName(const std::string& Name) {
  EditFont([&Name](TFont* Font) { Font->SetName(Name); });
}

void TBaseReport::SetFontColor(TColor Color) {
  EditFont([Color](TFont* Font) { Font->SetColor(Color); });
}

void TBaseReport::SetFontPitch(TFontPitch Pitch) {
  EditFont([Pitch](TFont* Font) { Font->SetPitch(Pitch); });
}

void TBaseReport::SetFontCharset(TFontCharset Charset) {
  EditFont([Charset](TFont* Font) { Font->SetCharset(Charset); });
  FFont.Charset = Charset;
  FFontDirty = true;
}

void TBaseReport::SetFontSize(double Points) {
  const int pixels = ClampPixels(FDeviceYDPI * Points / 72.0 * FScaleY * FZoomPercent / 10000.0);
  EditFont([pixels](TFont* Font) { Font->SetHeight(-pixels); });
}

void TBaseReport::SetFontHeight(double Height) {
  const int pixels = ClampPixels(YUnitsToInch(Height) * FDeviceYDPI * FScaleY * FZoomPercent / 10000.0);
  EditFont([pixels](TFont* Font) { Font->SetHeight(-pixels); });
}

void TBaseReport::SetBold(bool On) {
  EditFont([On](TFont* Font) { SetStyle(Font, fsBold, On); });
}

void TBaseReport::SetItalic(bool On) {
  EditFont([On](TFont* Font) { SetStyle(Font, fsItalic, On); });
}

void TBaseReport::SetUnderline(bool On) {
  EditFont([On](TFont* Font) { SetStyle(Font, fsUnderline, On); });
}

void TBaseReport::SetStrikeout(bool On) {
  EditFont([On](TFont* Font) { SetStyle(Font, fsStrikeOut, On); });
}

void TBaseReport::SetSuperscript(bool On) {
  if (On) FFont.Subscript = false;
  FFont.Superscript = On;
  FFontDirty = true;
  FontChanged(nullptr);
}

void TBaseReport::SetSubscript(bool On) {
  if (On) FFont.Superscript = false;
  FFont.Subscript = On;
  FFontDirty = true;
  FontChanged(nullptr);
}

void TBaseReport::SetFontRotation(int Degrees) {
  FFont.Rotation = Degrees % 360;  // the sign stays
  FFontDirty = true;
  FontChanged(nullptr);
}

void TBaseReport::SetFontAlign(uint8_t Align) {
  FFont.Align = Align;
  FontChanged(nullptr);
}

void TBaseReport::SetFontRecord(const TFontRecord& Record) {
  TFont* font = CouplingFont();
  {
    TFlagScope bulk(FBulkUpdate);
    WriteFontObject(font, Record);
  }
  // The record is taken whole, so that a restored font is exactly the one saved (the canvas
  // font carries the height in whole pixels only).
  FFont = Record;
  FFont.Name = Record.Name.substr(0, MaxFontNameLength);
  FFontDirty = true;
  FontChanged(font);
}

// ===== Font stack and slots =====

bool TBaseReport::PushFont() {
  // While tab segments print, codes in one segment go on into the next.
  if (FTabSegments) return true;
  FFontStack.push_back(FFont);
  return true;
}

bool TBaseReport::PopFont() {
  if (FTabSegments) return true;
  if (FFontStack.empty()) return false;
  const TFontRecord top = std::move(FFontStack.back());
  FFontStack.pop_back();
  SetFontRecord(top);
  return true;
}

bool TBaseReport::SaveFont(int Index) {
  if (Index < 1 || Index > 10) return false;
  FFontSlots[Index - 1] = FFont;
  return true;
}

bool TBaseReport::RestoreFont(int Index) {
  if (Index < 1 || Index > 10 || FFontSlots[Index - 1].Name.empty()) return false;
  SetFontRecord(FFontSlots[Index - 1]);
  return true;
}

// ===== Text background =====

void TBaseReport::SetTextBKMode(TBKMode Mode) {
  FTextBKMode = Mode;
}

void TBaseReport::SetBKColor(TColor Color) {
  CheckPrinting();
  Canvas()->SetBkColor(Color);
}

TColor TBaseReport::GetBKColor() {
  CheckPrinting();
  return Canvas()->BkColor();
}

// ===== Operations of the slot table that this engine does not provide =====

void TBaseReport::NotAvailable(const std::string& Operation) {
  RaiseError(Trans("Operation not available in this engine: ") + Operation);
}

double TBaseReport::PrintMemo(TBaseMemoBuf* /*MemoBuf*/, int /*Lines*/, bool /*PrintTabs*/) {
  NotAvailable("PrintMemo");
}
