#pragma once
// Formatted-text codes: formatting carried inside report strings. A code starts with
// character 1 and ends with character 4; its items are separated by character 2, and each
// item is one letter followed by its value (character 3 inside a code is ignored):
//
//   R reset   r plain   N name   Z size (points)   B I U K bold, italic, underline, strikeout
//   S P subscript, superscript   C colour (red in the low byte)   H pitch (D, F, V)
//   J justification (C, L, R, B)   F L G first-line, left and right indent (inches)
//
// Flags are on when their value is exactly "1". Numbers are written in the general decimal
// format with a point as decimal separator, whatever the machine's locale.
//
// Positions in texts are 0-based.
#include <cstddef>
#include <string>

#include "engine/VXDefine.h"
#include "engine/VXFontRecord.h"

constexpr char FormatCodeStart = '\x01';
constexpr char FormatCodeSeparator = '\x02';
constexpr char FormatCodeIgnored = '\x03';
constexpr char FormatCodeEnd = '\x04';

// The paragraph-and-font state that codes describe (memo buffers, rich-text import).
struct TFormatState {
  std::string Name = "Arial";  // at most 40 characters
  double Size = 12;            // points
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool Strikeout = false;
  bool Subscript = false;
  bool Superscript = false;
  uint8_t Pitch = 0;  // 0 default, 1 variable, 2 fixed
  TColor Color = clBlack;
  TPrintJustify Justify = pjLeft;
  double FirstIndent = 0;  // inches
  double LeftIndent = 0;
  double RightIndent = 0;
};

bool operator==(const TFormatState& A, const TFormatState& B);

// Whether Text holds a format code.
bool HasFormatCodes(const std::string& Text);

// From Pos, skips to the next character 1 or 2 and reads the item after it: Letter and the
// Value up to the next 2 or 4 (3s left out). Pos ends on the character that ended the value.
// Letter is a space when no item is left.
void ReadCodeItem(const std::string& Text, size_t& Pos, char& Letter, std::string& Value);

// Reads every item of Code into a font record; J, F, L and G do not concern a font. Sizes
// become heights (inches) multiplied by HeightScale, the engine's vertical scale.
void ApplyFontCodes(TFontRecord& Font, const std::string& Code, double HeightScale = 1.0);

// From Pos: the codes that come before the next plain run (concatenated) and that run. Pos
// ends after the run. False when Pos was already at the end.
bool SplitFormatSegment(const std::string& Text, size_t& Pos, std::string& Codes, std::string& Plain);

// Reads every item of Code into State: R resets the whole state, r the styles, pitch and
// colour only.
void ApplyStateCodes(TFormatState& State, const std::string& Code);
TFormatState DefaultFormatState();
// Appends one item for every field of New that differs from Old, in the order F, L, G, N, Z,
// B, I, U, K, S, P, C, J. The first item of an empty Code is preceded by character 1, every
// other by character 2; no terminator is added.
void StateDifferenceCode(std::string& Code, const TFormatState& Old, const TFormatState& New);
// Character 1, "R", the differences from the defaults, character 4.
std::string FullStateCode(const TFormatState& State);
// The justification Code sets: the first J item decides; an R item sets pjLeft for the rest
// of the scan; Default when neither occurs.
TPrintJustify CodeJustify(const std::string& Code, TPrintJustify Default);
// Number of characters outside codes.
int VisibleLength(const std::string& Text);
// Text without its trailing complete codes.
std::string RemoveTrailingCodes(const std::string& Text);
// Number text as codes write it: general format, up to 15 significant digits.
std::string CodeNumber(double Value);
