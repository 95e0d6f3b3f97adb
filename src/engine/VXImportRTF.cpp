#include "engine/VXImportRTF.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/VXFormatCodes.h"
#include "platform/Stream.h"

namespace {

// Font and colour indices above this are taken for damage and ignored.
constexpr int MaxTableIndex = 32767;
// Numeric parameters saturate here, so that no digit string can overflow.
constexpr int MaxParameter = 1000000000;
// Nested groups beyond this depth share the state of the deepest kept one.
constexpr size_t MaxGroupDepth = 1024;
// Longest control-word name kept (longer names are read in full but match nothing).
constexpr size_t MaxWordLength = 32;
constexpr size_t MaxParameterText = 16;
constexpr size_t MaxStateNameLength = 40;

// Destinations whose groups carry nothing to print.
constexpr std::array<std::string_view, 31> IgnorableWords{
    "author",  "buptim",     "comment",  "creatim",  "doccomm", "footer",  "footerf",  "footerl",
    "footerr", "footnote",   "ftncn",    "ftnsep",   "ftnsepc", "header",  "headerf",  "headerl",
    "headerr", "info",       "keywords", "operator", "pict",    "printim", "private1", "revtim",
    "rxe",     "stylesheet", "subject",  "tc",       "title",   "txe",     "xe"};

enum TTokenKind { tkEnd, tkGroupOpen, tkGroupClose, tkWord, tkSymbol, tkText };

struct TToken {
  TTokenKind Kind = tkEnd;
  std::string Text;  // the word's name, or the text
  std::string ParameterText;
  int Parameter = 0;
  char Symbol = 0;
};

int HexDigit(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

bool IsLower(char C) {
  return C >= 'a' && C <= 'z';
}

bool IsDigit(char C) {
  return C >= '0' && C <= '9';
}

// Splits rich text into groups, control words and symbols, and text.
class TRTFTokenizer {
public:
  explicit TRTFTokenizer(std::string_view Input) : FInput(Input) {}

  TToken Next() {
    if (FPutBack) {
      TToken token = std::move(*FPutBack);
      FPutBack.reset();
      return token;
    }
    for (;;) {
      const char c = Peek();
      if (c == 0) return TToken{};
      if (c == '{' || c == '}') {
        ++FPos;
        TToken token;
        token.Kind = c == '{' ? tkGroupOpen : tkGroupClose;
        return token;
      }
      if (c == '\\') {
        if (auto token = ReadControl()) return std::move(*token);
        continue;
      }
      TToken text = ReadText();
      if (!text.Text.empty()) return text;
    }
  }

  // The next call to Next returns Token again.
  void PutBack(TToken Token) { FPutBack = std::move(Token); }

private:
  // The end of the input, and a zero byte in it, read as character 0.
  char Peek(size_t Ahead = 0) const { return FPos + Ahead < FInput.size() ? FInput[FPos + Ahead] : '\0'; }

  // After a backslash: a control word, a hex character (as text), an escaped character (as
  // text) or a control symbol; nothing for a broken hex character.
  std::optional<TToken> ReadControl() {
    ++FPos;
    while (Peek() == ' ') ++FPos;
    const char c = Peek();
    TToken token;
    if (c == 0) return token;
    if (IsLower(c)) return ReadWord();
    if (c == '\'') {
      ++FPos;
      std::string byte;
      if (ReadHex(byte)) {
        token.Kind = tkText;
        token.Text = byte;
        return token;
      }
      return std::nullopt;
    }
    ++FPos;
    if (c == '\\' || c == '{' || c == '}') {
      token.Kind = tkText;
      token.Text = std::string(1, c);
      return token;
    }
    token.Kind = tkSymbol;
    token.Symbol = c;
    return token;
  }

  TToken ReadWord() {
    TToken token;
    token.Kind = tkWord;
    while (IsLower(Peek())) {
      if (token.Text.size() <= MaxWordLength) token.Text += Peek();
      ++FPos;
    }
    bool negative = false;
    if (Peek() == '-') {
      negative = true;
      token.ParameterText += '-';
      ++FPos;
    }
    long long value = 0;
    while (IsDigit(Peek())) {
      value = std::min<long long>(value * 10 + (Peek() - '0'), MaxParameter);
      if (token.ParameterText.size() <= MaxParameterText) token.ParameterText += Peek();
      ++FPos;
    }
    token.Parameter = static_cast<int>(negative ? -value : value);
    if (Peek() == ' ') ++FPos;
    return token;
  }

  // Up to two hexadecimal digits after \' make one byte; false when there is none.
  bool ReadHex(std::string& Byte) {
    int value = 0;
    int digits = 0;
    while (digits < 2 && HexDigit(Peek()) >= 0) {
      value = value * 16 + HexDigit(Peek());
      ++digits;
      ++FPos;
    }
    if (digits == 0) return false;
    Byte = std::string(1, static_cast<char>(value));
    return true;
  }

  // Printable characters up to the next brace, control word or symbol; control characters
  // (line breaks among them) are dropped.
  TToken ReadText() {
    TToken token;
    token.Kind = tkText;
    for (;;) {
      const char c = Peek();
      if (c == 0 || c == '{' || c == '}') break;
      if (c == '\\') {
        const char next = Peek(1);
        if (next == '\\' || next == '{' || next == '}') {
          token.Text += next;
          FPos += 2;
          continue;
        }
        if (next == '\'') {
          FPos += 2;
          std::string byte;
          if (ReadHex(byte)) token.Text += byte;
          continue;
        }
        break;
      }
      if (static_cast<unsigned char>(c) >= 32) token.Text += c;
      ++FPos;
    }
    return token;
  }

  std::string_view FInput;
  size_t FPos = 0;
  std::optional<TToken> FPutBack;
};

bool IsIgnorable(const TToken& Token) {
  if (Token.Kind == tkSymbol) return Token.Symbol == '*';
  if (Token.Kind != tkWord) return false;
  return std::find(IgnorableWords.begin(), IgnorableWords.end(), Token.Text) != IgnorableWords.end();
}

// A table index from a parameter, or -1 when the parameter is no sane index.
int TableIndex(int Parameter) {
  return Parameter < 0 || Parameter > MaxTableIndex ? -1 : Parameter;
}

class TRTFImporter {
public:
  TRTFImporter(std::string_view Input, TStream* Stream) : FTokens(Input), FStream(Stream) {}

  void Run() {
    for (TToken token = FTokens.Next(); token.Kind != tkEnd; token = FTokens.Next()) {
      switch (token.Kind) {
        case tkGroupOpen:
          OpenGroup();
          break;
        case tkGroupClose:
          CloseGroup();
          break;
        case tkWord:
          Word(token);
          break;
        case tkText:
          Emit(token.Text);
          break;
        default:
          break;  // control symbols carry nothing we keep
      }
    }
  }

private:
  // The group's first token decides: an ignorable destination is skipped whole, anything
  // else opens a group with a copy of the state.
  void OpenGroup() {
    TToken first = FTokens.Next();
    if (IsIgnorable(first)) {
      SkipGroup();
      return;
    }
    if (FStates.size() < MaxGroupDepth) {
      FStates.push_back(FState);
    } else {
      ++FUnkeptGroups;
    }
    FTokens.PutBack(std::move(first));
  }

  void CloseGroup() {
    if (FUnkeptGroups > 0) {
      --FUnkeptGroups;
      return;
    }
    if (FStates.empty()) return;  // a closing brace too many
    FState = std::move(FStates.back());
    FStates.pop_back();
  }

  // Everything up to the brace that closes the group just opened.
  void SkipGroup() {
    size_t depth = 1;
    while (depth > 0) {
      const TToken token = FTokens.Next();
      if (token.Kind == tkEnd) return;
      if (token.Kind == tkGroupOpen) ++depth;
      if (token.Kind == tkGroupClose) --depth;
    }
  }

  // Calls Item for every token up to the brace that closes the current group, and closes
  // that group; ignorable groups inside are skipped. Item also sees the closing braces of
  // groups inside the table.
  template <typename TItem>
  void ReadTable(TItem Item) {
    size_t depth = 0;
    for (;;) {
      TToken token = FTokens.Next();
      if (token.Kind == tkEnd) return;
      if (token.Kind == tkGroupOpen) {
        TToken first = FTokens.Next();
        if (IsIgnorable(first)) {
          SkipGroup();
          continue;
        }
        FTokens.PutBack(std::move(first));
        ++depth;
        continue;
      }
      if (token.Kind == tkGroupClose) {
        if (depth == 0) {
          CloseGroup();
          return;
        }
        --depth;
      }
      Item(token);
    }
  }

  void ReadFontTable() {
    int index = 0;
    std::string name;
    auto commit = [&] {
      if (index >= 0 && !name.empty()) SetFontEntry(index, name);
      name.clear();
    };
    ReadTable([&](const TToken& Token) {
      if (Token.Kind == tkGroupClose) {
        commit();
      } else if (Token.Kind == tkWord && Token.Text == "f") {
        commit();
        index = TableIndex(Token.Parameter);
      } else if (Token.Kind == tkText) {
        // A name ends with a semicolon; it may come in several pieces.
        for (const char c : Token.Text) {
          if (c == ';') {
            commit();
          } else if (name.size() < MaxStateNameLength) {
            name += c;
          }
        }
      }
    });
    commit();
    if (FFonts.empty()) FFonts.push_back("Arial");
    // The table's group is closed by now, so the default font reaches the document's state.
    SelectFont(FDefaultFont);
  }

  void ReadColorTable() {
    int red = 0;
    int green = 0;
    int blue = 0;
    ReadTable([&](const TToken& Token) {
      auto component = [&Token] { return std::clamp(Token.Parameter, 0, 255); };
      if (Token.Kind == tkWord) {
        if (Token.Text == "red") red = component();
        if (Token.Text == "green") green = component();
        if (Token.Text == "blue") blue = component();
      } else if (Token.Kind == tkText) {
        for (const char c : Token.Text) {
          if (c != ';') continue;
          if (FColors.size() <= static_cast<size_t>(MaxTableIndex))
            FColors.push_back(red | green << 8 | blue << 16);
          red = green = blue = 0;
        }
      }
    });
  }

  void SetFontEntry(int Index, const std::string& Name) {
    if (FFonts.size() <= static_cast<size_t>(Index)) FFonts.resize(Index + 1);
    FFonts[Index] = Name;
  }

  // Name := font entry Index: ignored for a damaged index or an empty list; entry 0 when the
  // index lies beyond the list.
  void SelectFont(int Index) {
    if (Index < 0 || FFonts.empty()) return;
    const size_t entry = static_cast<size_t>(Index) < FFonts.size() ? Index : 0;
    FState.Name = FFonts[entry].substr(0, MaxStateNameLength);
  }

  void PlainStyles() {
    FState.Bold = FState.Italic = FState.Underline = FState.Strikeout = false;
    FState.Subscript = FState.Superscript = false;
    FState.Pitch = 0;
    FState.Color = clBlack;
  }

  void Word(const TToken& Token) {
    const std::string& word = Token.Text;
    const int p = Token.Parameter;
    const bool on = Token.ParameterText != "0";
    if (word == "fonttbl") {
      ReadFontTable();
    } else if (word == "colortbl") {
      ReadColorTable();
    } else if (word == "b") {
      FState.Bold = on;
    } else if (word == "i") {
      FState.Italic = on;
    } else if (word == "ul") {
      FState.Underline = on;
    } else if (word == "strike") {
      FState.Strikeout = on;
    } else if (word == "ulnone") {
      FState.Underline = false;
    } else if (word == "sub") {
      FState.Subscript = true;
    } else if (word == "super") {
      FState.Superscript = true;
    } else if (word == "nosupersub") {
      FState.Subscript = FState.Superscript = false;
    } else if (word == "plain") {
      PlainStyles();
      FState.Size = DefaultFormatState().Size;
      SelectFont(0);
    } else if (word == "pntext") {
      PlainStyles();
      SelectFont(0);
    } else if (word == "f") {
      SelectFont(TableIndex(p));
    } else if (word == "fs") {
      if (p > 0) FState.Size = p / 2.0;
    } else if (word == "deff") {
      if (TableIndex(p) >= 0) FDefaultFont = p;
    } else if (word == "cf") {
      const int index = TableIndex(p);
      if (index >= 0) FState.Color = static_cast<size_t>(index) < FColors.size() ? FColors[index] : clBlack;
    } else if (word == "ql") {
      FState.Justify = pjLeft;
    } else if (word == "qc") {
      FState.Justify = pjCenter;
    } else if (word == "qr") {
      FState.Justify = pjRight;
    } else if (word == "qj") {
      FState.Justify = pjBlock;
    } else if (word == "pard") {
      const TFormatState defaults = DefaultFormatState();
      FState.Justify = defaults.Justify;
      FState.FirstIndent = defaults.FirstIndent;
      FState.LeftIndent = defaults.LeftIndent;
      FState.RightIndent = defaults.RightIndent;
    } else if (word == "fi") {
      FState.FirstIndent = p / 1440.0;
    } else if (word == "li") {
      FState.LeftIndent = p / 1440.0;
    } else if (word == "ri") {
      FState.RightIndent = p / 1440.0;
    } else if (word == "par") {
      Emit("\r\n");
    } else if (word == "tab") {
      Emit("\t");
    } else if (word == "bullet") {
      Emit("\x95");
    } else if (word == "endash") {
      Emit("\x96");
    } else if (word == "emdash") {
      Emit("\x97");
    } else if (word == "lquote") {
      Emit("\x91");
    } else if (word == "rquote") {
      Emit("\x92");
    } else if (word == "ldblquote") {
      Emit("\x93");
    } else if (word == "rdblquote") {
      Emit("\x94");
    }
  }

  // A text run, preceded by the shorter of the code that restates the whole state and the
  // code that states what changed since the last run.
  void Emit(const std::string& Run) {
    if (Run.empty()) return;
    std::string full{FormatCodeStart, 'R'};
    StateDifferenceCode(full, DefaultFormatState(), FState);
    std::string incremental;
    if (FFirstRun) incremental = std::string{FormatCodeStart, 'R'};
    StateDifferenceCode(incremental, FEmitted, FState);
    const std::string& code = full.size() < incremental.size() ? full : incremental;
    if (!code.empty()) Write(code + FormatCodeEnd);
    Write(Run);
    FEmitted = FState;
    FFirstRun = false;
  }

  void Write(const std::string& Text) {
    FStream->WriteBuffer(Text.data(), static_cast<int64_t>(Text.size()));
  }

  TRTFTokenizer FTokens;
  TStream* FStream;
  TFormatState FState;
  TFormatState FEmitted;
  bool FFirstRun = true;
  std::vector<TFormatState> FStates;
  size_t FUnkeptGroups = 0;
  std::vector<std::string> FFonts;
  std::vector<TColor> FColors;
  int FDefaultFont = 0;
};

}  // namespace

void ImportRTF(const std::string& RichText, int Length, TStream* Stream) {
  if (Stream == nullptr || Length <= 0) return;
  const size_t length = std::min(RichText.size(), static_cast<size_t>(Length));
  TRTFImporter(std::string_view(RichText.data(), length), Stream).Run();
}
