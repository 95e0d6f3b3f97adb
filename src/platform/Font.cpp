#include "platform/Font.h"

#include "platform/FontMetrics.h"
#include "platform/MathUtils.h"

TFont::TFont() = default;

TFont::~TFont() = default;

void TFont::Assign(TPersistent* Source) {
  auto* font = dynamic_cast<TFont*>(Source);
  if (!font) {
    TPersistent::Assign(Source);
    return;
  }
  if (font == this) return;
  // Between devices of different resolution the point size is what carries over.
  const int height =
      font->FPixelsPerInch == FPixelsPerInch ? font->FHeight : -MulDiv(font->Size(), FPixelsPerInch, 72);
  const bool same = FName == font->FName && FHeight == height && FColor == font->FColor &&
                    FStyle == font->FStyle && FPitch == font->FPitch && FCharset == font->FCharset;
  if (same) return;
  FName = font->FName;
  FHeight = height;
  FColor = font->FColor;
  FStyle = font->FStyle;
  FPitch = font->FPitch;
  FCharset = font->FCharset;
  Change();
}

void TFont::SetName(const std::string& Value) {
  if (FName == Value) return;
  FName = Value;
  Change();
}

// Delphi's rule for every Height: a positive (cell) height reads as a negative size, and
// setting a negative size gives a positive height back, so the two round-trip.
int TFont::Size() const {
  return -MulDiv(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(int Value) {
  SetHeight(-MulDiv(Value, FPixelsPerInch, 72));
}

void TFont::SetHeight(int Value) {
  if (FHeight == Value) return;
  FHeight = Value;
  Change();
}

void TFont::SetPixelsPerInch(int Value) {
  // The logical font depends on Height alone, which stays: nothing to announce.
  if (Value > 0) FPixelsPerInch = Value;
}

void TFont::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  Change();
}

void TFont::SetStyle(TFontStyles Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Change();
}

void TFont::SetPitch(TFontPitch Value) {
  if (FPitch == Value) return;
  FPitch = Value;
  Change();
}

void TFont::SetCharset(TFontCharset Value) {
  if (FCharset == Value) return;
  FCharset = Value;
  Change();
}

std::shared_ptr<TLogicalFont> TFont::Handle() {
  if (!FHandle) FHandle = CreateFontIndirect(LogFont());
  return FHandle;
}

TLogFont TFont::LogFont() const {
  TLogFont lf;
  lf.lfHeight = FHeight;
  lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = FStyle.Contains(fsItalic);
  lf.lfUnderline = FStyle.Contains(fsUnderline);
  lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
  lf.lfCharSet = FCharset;
  lf.lfPitchAndFamily = FPitch == fpFixed      ? FIXED_PITCH
                        : FPitch == fpVariable ? VARIABLE_PITCH
                                               : DEFAULT_PITCH;
  lf.lfFaceName = FName;
  return lf;
}

void TFont::Change() {
  // The colour is not part of the logical font, but dropping the handle is cheap (the
  // logical fonts themselves are cached).
  FHandle.reset();
  Changed();
}
