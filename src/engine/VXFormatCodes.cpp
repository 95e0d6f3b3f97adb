#include "engine/VXFormatCodes.h"

#include <cmath>

#include "platform/Conversions.h"
#include "platform/FloatFormat.h"

namespace {

constexpr size_t MaxFontNameLength = 60;
constexpr size_t MaxStateNameLength = 40;
// The largest font size a code may set (points); larger values are ignored.
constexpr double MaxCodeSize = 16384;

// Codes are written with a point, whatever the machine's locale says.
const TFormatSettings& CodeSettings() {
  static const TFormatSettings settings;
  return settings;
}

bool IsFlagOn(const std::string& Value) {
  return Value == "1";
}

bool ReadNumber(const std::string& Value, double& Number) {
  if (!TryStrToFloat(Value, Number, CodeSettings())) return false;
  return std::isfinite(Number);
}

bool ReadSize(const std::string& Value, double& Size) {
  double number = 0;
  if (!ReadNumber(Value, number) || number <= 0 || number > MaxCodeSize) return false;
  Size = number;
  return true;
}

// The pitch an H value names, or -1 when it names none.
int PitchOf(const std::string& Value) {
  if (Value.empty()) return -1;
  switch (Value[0]) {
    case 'D':
      return 0;
    case 'V':
      return 1;
    case 'F':
      return 2;
    default:
      return -1;
  }
}

// The justification a J value names, or -1 when it names none.
int JustifyOf(const std::string& Value) {
  if (Value.empty()) return -1;
  switch (Value[0]) {
    case 'C':
      return pjCenter;
    case 'L':
      return pjLeft;
    case 'R':
      return pjRight;
    case 'B':
      return pjBlock;
    default:
      return -1;
  }
}

char JustifyLetter(TPrintJustify Justify) {
  switch (Justify) {
    case pjCenter:
      return 'C';
    case pjLeft:
      return 'L';
    case pjRight:
      return 'R';
    case pjBlock:
      return 'B';
  }
  return 'L';
}

void PlainFont(TFontRecord& Font) {
  Font.Bold = Font.Italic = Font.Underline = Font.Strikeout = false;
  Font.Subscript = Font.Superscript = false;
  Font.Color = clBlack;
  Font.Pitch = 0;
  Font.Charset = 1;
  Font.Rotation = 0;
  Font.Width = 0;
  Font.Align = 0;
}

void PlainState(TFormatState& State) {
  State.Bold = State.Italic = State.Underline = State.Strikeout = false;
  State.Subscript = State.Superscript = false;
  State.Pitch = 0;
  State.Color = clBlack;
}

// Calls Item (Letter, Value) for every item of Code.
template <typename TItem>
void ForEachItem(const std::string& Code, TItem Item) {
  size_t pos = 0;
  char letter = ' ';
  std::string value;
  for (;;) {
    ReadCodeItem(Code, pos, letter, value);
    if (letter == ' ') return;
    Item(letter, value);
  }
}

}  // namespace

bool operator==(const TFormatState& A, const TFormatState& B) {
  return A.Name == B.Name && A.Size == B.Size && A.Bold == B.Bold && A.Italic == B.Italic &&
         A.Underline == B.Underline && A.Strikeout == B.Strikeout && A.Subscript == B.Subscript &&
         A.Superscript == B.Superscript && A.Pitch == B.Pitch && A.Color == B.Color &&
         A.Justify == B.Justify && A.FirstIndent == B.FirstIndent && A.LeftIndent == B.LeftIndent &&
         A.RightIndent == B.RightIndent;
}

bool HasFormatCodes(const std::string& Text) {
  return Text.find(FormatCodeStart) != std::string::npos;
}

void ReadCodeItem(const std::string& Text, size_t& Pos, char& Letter, std::string& Value) {
  Letter = ' ';
  Value.clear();
  const size_t n = Text.size();
  while (Pos < n) {
    while (Pos < n && Text[Pos] != FormatCodeStart && Text[Pos] != FormatCodeSeparator) ++Pos;
    if (Pos >= n) return;
    ++Pos;
    while (Pos < n && Text[Pos] == FormatCodeIgnored) ++Pos;
    if (Pos >= n) return;
    const char c = Text[Pos];
    // An empty item: look on from the character that ended it.
    if (c == FormatCodeStart || c == FormatCodeSeparator || c == FormatCodeEnd) continue;
    Letter = c;
    ++Pos;
    // A code that lacks its end stops at the start of the next one.
    while (Pos < n && Text[Pos] != FormatCodeSeparator && Text[Pos] != FormatCodeEnd &&
           Text[Pos] != FormatCodeStart) {
      if (Text[Pos] != FormatCodeIgnored) Value += Text[Pos];
      ++Pos;
    }
    return;
  }
}

void ApplyFontCodes(TFontRecord& Font, const std::string& Code, double HeightScale) {
  auto setSize = [&](double Size) {
    Font.Size = Size;
    Font.Height = Size / 72.0 * HeightScale;
  };
  ForEachItem(Code, [&](char Letter, const std::string& Value) {
    double number = 0;
    int integer = 0;
    switch (Letter) {
      case 'R':
        Font.Name = "Arial";
        setSize(12);
        PlainFont(Font);
        break;
      case 'r':
        PlainFont(Font);
        break;
      case 'N':
        Font.Name = Value.substr(0, MaxFontNameLength);
        break;
      case 'Z':
        if (ReadSize(Value, number)) setSize(number);
        break;
      case 'C':
        if (TryStrToInt(Value, integer)) Font.Color = integer;
        break;
      case 'H':
        if (PitchOf(Value) >= 0) Font.Pitch = static_cast<uint8_t>(PitchOf(Value));
        break;
      case 'B':
        Font.Bold = IsFlagOn(Value);
        break;
      case 'I':
        Font.Italic = IsFlagOn(Value);
        break;
      case 'U':
        Font.Underline = IsFlagOn(Value);
        break;
      case 'K':
        Font.Strikeout = IsFlagOn(Value);
        break;
      // A font is never both: switching one on switches the other off.
      case 'S':
        Font.Subscript = IsFlagOn(Value);
        if (Font.Subscript) Font.Superscript = false;
        break;
      case 'P':
        Font.Superscript = IsFlagOn(Value);
        if (Font.Superscript) Font.Subscript = false;
        break;
      default:
        break;  // J, F, L, G and unknown letters
    }
  });
}

bool SplitFormatSegment(const std::string& Text, size_t& Pos, std::string& Codes, std::string& Plain) {
  Codes.clear();
  Plain.clear();
  if (Pos >= Text.size()) return false;
  while (Pos < Text.size() && Text[Pos] == FormatCodeStart) {
    const size_t end = Text.find(FormatCodeEnd, Pos);
    const size_t next = end == std::string::npos ? Text.size() : end + 1;
    Codes.append(Text, Pos, next - Pos);
    Pos = next;
  }
  const size_t start = Pos;
  while (Pos < Text.size() && Text[Pos] != FormatCodeStart) ++Pos;
  Plain.assign(Text, start, Pos - start);
  return true;
}

void ApplyStateCodes(TFormatState& State, const std::string& Code) {
  ForEachItem(Code, [&](char Letter, const std::string& Value) {
    double number = 0;
    int integer = 0;
    switch (Letter) {
      case 'R':
        State = DefaultFormatState();
        break;
      case 'r':
        PlainState(State);
        break;
      case 'N':
        State.Name = Value.substr(0, MaxStateNameLength);
        break;
      case 'Z':
        if (ReadSize(Value, number)) State.Size = number;
        break;
      case 'B':
        State.Bold = IsFlagOn(Value);
        break;
      case 'I':
        State.Italic = IsFlagOn(Value);
        break;
      case 'U':
        State.Underline = IsFlagOn(Value);
        break;
      case 'K':
        State.Strikeout = IsFlagOn(Value);
        break;
      case 'S':
        State.Subscript = IsFlagOn(Value);
        break;
      case 'P':
        State.Superscript = IsFlagOn(Value);
        break;
      case 'C':
        if (TryStrToInt(Value, integer)) State.Color = integer;
        break;
      case 'H':
        if (PitchOf(Value) >= 0) State.Pitch = static_cast<uint8_t>(PitchOf(Value));
        break;
      case 'J':
        if (JustifyOf(Value) >= 0) State.Justify = static_cast<TPrintJustify>(JustifyOf(Value));
        break;
      case 'F':
        if (ReadNumber(Value, number)) State.FirstIndent = number;
        break;
      case 'L':
        if (ReadNumber(Value, number)) State.LeftIndent = number;
        break;
      case 'G':
        if (ReadNumber(Value, number)) State.RightIndent = number;
        break;
      default:
        break;
    }
  });
}

TFormatState DefaultFormatState() {
  return TFormatState{};
}

void StateDifferenceCode(std::string& Code, const TFormatState& Old, const TFormatState& New) {
  auto add = [&Code](char Letter, const std::string& Value) {
    Code += Code.empty() ? FormatCodeStart : FormatCodeSeparator;
    Code += Letter;
    Code += Value;
  };
  auto flag = [&add](char Letter, bool OldValue, bool NewValue) {
    if (OldValue != NewValue) add(Letter, NewValue ? "1" : "0");
  };
  if (New.FirstIndent != Old.FirstIndent) add('F', CodeNumber(New.FirstIndent));
  if (New.LeftIndent != Old.LeftIndent) add('L', CodeNumber(New.LeftIndent));
  if (New.RightIndent != Old.RightIndent) add('G', CodeNumber(New.RightIndent));
  if (New.Name != Old.Name) add('N', New.Name);
  if (New.Size != Old.Size) add('Z', CodeNumber(New.Size));
  flag('B', Old.Bold, New.Bold);
  flag('I', Old.Italic, New.Italic);
  flag('U', Old.Underline, New.Underline);
  flag('K', Old.Strikeout, New.Strikeout);
  flag('S', Old.Subscript, New.Subscript);
  flag('P', Old.Superscript, New.Superscript);
  if (New.Color != Old.Color) add('C', IntToStr(New.Color));
  if (New.Justify != Old.Justify) add('J', std::string(1, JustifyLetter(New.Justify)));
}

std::string FullStateCode(const TFormatState& State) {
  std::string code{FormatCodeStart, 'R'};
  StateDifferenceCode(code, DefaultFormatState(), State);
  code += FormatCodeEnd;
  return code;
}

TPrintJustify CodeJustify(const std::string& Code, TPrintJustify Default) {
  TPrintJustify result = Default;
  bool decided = false;
  ForEachItem(Code, [&](char Letter, const std::string& Value) {
    if (decided) return;
    if (Letter == 'R') result = pjLeft;
    if (Letter == 'J' && JustifyOf(Value) >= 0) {
      result = static_cast<TPrintJustify>(JustifyOf(Value));
      decided = true;
    }
  });
  return result;
}

int VisibleLength(const std::string& Text) {
  int count = 0;
  bool inCode = false;
  for (const char c : Text) {
    if (c == FormatCodeStart) {
      inCode = true;
    } else if (inCode) {
      if (c == FormatCodeEnd) inCode = false;
    } else {
      ++count;
    }
  }
  return count;
}

std::string RemoveTrailingCodes(const std::string& Text) {
  std::string text = Text;
  while (!text.empty() && text.back() == FormatCodeEnd) {
    const size_t start = text.rfind(FormatCodeStart);
    // Only a code that the final 4 closes: a stray 4 after plain text is text.
    if (start == std::string::npos || text.find(FormatCodeEnd, start) != text.size() - 1) break;
    text.erase(start);
  }
  return text;
}

std::string CodeNumber(double Value) {
  return FloatToStr(Value, CodeSettings());
}
