#pragma once
// TFontRecord: the engine's current font, copied whole onto the font stack and into the
// font slots.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Color.h"

class TLogicalFont;

struct TFontRecord {
  std::string Name = "Arial";  // at most 60 characters
  TColor Color = clBlack;
  uint8_t Pitch = 0;              // 0 default, 1 variable, 2 fixed
  double Size = 10.0;             // points: Height × 72
  double Height = 10.0 / 72.0;    // inches, including the vertical scale
  double Width = 0.0;             // inches; 0 is the font's natural width
  double Ascent = 10.0 / 144.0;   // inches; Height ÷ 2 until measured
  double Descent = 10.0 / 144.0;  // inches; Height ÷ 2 until measured
  double InternalLeading = 0.0;   // inches
  bool Bold = false;
  bool Underline = false;
  bool Italic = false;
  bool Strikeout = false;
  bool Subscript = false;
  bool Superscript = false;
  int Rotation = 0;   // degrees, counter-clockwise, -359..359
  uint8_t Align = 0;  // 0 baseline, 1 top, 2 bottom
  std::shared_ptr<TLogicalFont> Handle;
  uint8_t Charset = 1;  // the platform's default character set
};

// Whether two records make the same device font: colour, width and alignment do not take
// part, and names compare exactly.
inline bool SameDeviceFont(const TFontRecord& A, const TFontRecord& B) {
  return A.Name == B.Name && A.Pitch == B.Pitch && A.Height == B.Height && A.Bold == B.Bold &&
         A.Underline == B.Underline && A.Italic == B.Italic && A.Strikeout == B.Strikeout &&
         A.Rotation == B.Rotation && A.Superscript == B.Superscript && A.Subscript == B.Subscript &&
         A.Charset == B.Charset;
}
