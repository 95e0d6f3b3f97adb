#include "platform/StringUtils.h"

#include <algorithm>

namespace {

char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}
char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// Windows-1252 letters: besides ASCII, the Latin-1 range (but for the multiplication and
// division signs, and the lower-case letters without a capital: sharp s, y with diaeresis
// that maps to 0x9F) and the pairs Š/š, Œ/œ, Ž/ž.
char AnsiUpper(char c) {
  auto b = static_cast<uint8_t>(c);
  if (b >= 'a' && b <= 'z') return static_cast<char>(b - 32);
  if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<char>(b - 32);
  if (b == 0x9A || b == 0x9C || b == 0x9E) return static_cast<char>(b - 16);
  if (b == 0xFF) return static_cast<char>(0x9F);
  return c;
}

char AnsiLower(char c) {
  auto b = static_cast<uint8_t>(c);
  if (b >= 'A' && b <= 'Z') return static_cast<char>(b + 32);
  if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<char>(b + 32);
  if (b == 0x8A || b == 0x8C || b == 0x8E) return static_cast<char>(b + 16);
  if (b == 0x9F) return static_cast<char>(0xFF);
  return c;
}

template <typename Map>
std::string MapChars(const std::string& S, Map map) {
  std::string out(S);
  std::transform(out.begin(), out.end(), out.begin(), map);
  return out;
}

template <typename Map>
int CompareMapped(const std::string& S1, const std::string& S2, Map map) {
  size_t n = std::min(S1.size(), S2.size());
  for (size_t i = 0; i < n; ++i) {
    int a = static_cast<uint8_t>(map(S1[i]));
    int b = static_cast<uint8_t>(map(S2[i]));
    if (a != b) return a - b;
  }
  return static_cast<int>(S1.size()) - static_cast<int>(S2.size());
}

bool IsBlank(char c) {
  return static_cast<uint8_t>(c) <= ' ';
}

}  // namespace

std::string Trim(const std::string& S) {
  return TrimLeft(TrimRight(S));
}

std::string TrimLeft(const std::string& S) {
  auto first = std::find_if_not(S.begin(), S.end(), IsBlank);
  return std::string(first, S.end());
}

std::string TrimRight(const std::string& S) {
  auto last = std::find_if_not(S.rbegin(), S.rend(), IsBlank);
  return std::string(S.begin(), last.base());
}

std::string UpperCase(const std::string& S) {
  return MapChars(S, AsciiUpper);
}
std::string LowerCase(const std::string& S) {
  return MapChars(S, AsciiLower);
}
std::string AnsiUpperCase(const std::string& S) {
  return MapChars(S, AnsiUpper);
}
std::string AnsiLowerCase(const std::string& S) {
  return MapChars(S, AnsiLower);
}

int CompareStr(const std::string& S1, const std::string& S2) {
  return CompareMapped(S1, S2, [](char c) { return c; });
}
int CompareText(const std::string& S1, const std::string& S2) {
  return CompareMapped(S1, S2, AsciiUpper);
}
bool SameText(const std::string& S1, const std::string& S2) {
  return S1.size() == S2.size() && CompareText(S1, S2) == 0;
}
int AnsiCompareStr(const std::string& S1, const std::string& S2) {
  return CompareStr(S1, S2);
}
int AnsiCompareText(const std::string& S1, const std::string& S2) {
  return CompareMapped(S1, S2, AnsiUpper);
}
bool AnsiSameText(const std::string& S1, const std::string& S2) {
  return S1.size() == S2.size() && AnsiCompareText(S1, S2) == 0;
}

std::string StringReplace(const std::string& S, const std::string& OldPattern, const std::string& NewPattern,
                          TReplaceFlags Flags) {
  if (OldPattern.empty()) return S;
  const bool ignoreCase = Flags.Contains(rfIgnoreCase);
  const std::string haystack = ignoreCase ? AnsiUpperCase(S) : S;
  const std::string needle = ignoreCase ? AnsiUpperCase(OldPattern) : OldPattern;
  std::string out;
  size_t from = 0;
  for (;;) {
    size_t at = haystack.find(needle, from);
    if (at == std::string::npos) break;
    out.append(S, from, at - from);
    out += NewPattern;
    from = at + needle.size();
    if (!Flags.Contains(rfReplaceAll)) break;
  }
  out.append(S, from, std::string::npos);
  return out;
}

std::string QuotedStr(const std::string& S) {
  return AnsiQuotedStr(S, '\'');
}

std::string AnsiQuotedStr(const std::string& S, char Quote) {
  std::string out(1, Quote);
  for (char c : S) {
    out += c;
    if (c == Quote) out += c;
  }
  out += Quote;
  return out;
}

namespace {

// Reads the quoted string at S[Pos]; Closed tells whether its closing quote was there.
std::string ExtractQuoted(const std::string& S, size_t& Pos, char Quote, bool& Closed) {
  Closed = false;
  if (Pos >= S.size() || S[Pos] != Quote) return {};
  std::string out;
  size_t i = Pos + 1;
  while (i < S.size()) {
    if (S[i] == Quote) {
      if (i + 1 < S.size() && S[i + 1] == Quote) {
        out += Quote;
        i += 2;
        continue;
      }
      ++i;
      Closed = true;
      break;
    }
    out += S[i++];
  }
  Pos = i;
  return out;
}

}  // namespace

std::string AnsiExtractQuotedStr(const std::string& S, size_t& Pos, char Quote) {
  bool closed = false;
  return ExtractQuoted(S, Pos, Quote, closed);
}

std::string AnsiDequotedStr(const std::string& S, char Quote) {
  size_t pos = 0;
  bool closed = false;
  std::string inner = ExtractQuoted(S, pos, Quote, closed);
  // Only a string that is quoted as a whole loses its quotes.
  return closed && pos == S.size() ? inner : S;
}

int Pos(const std::string& SubStr, const std::string& S) {
  if (SubStr.empty()) return 0;
  size_t at = S.find(SubStr);
  return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

std::string Copy(const std::string& S, int Index, int Count) {
  if (Index < 1) Index = 1;
  if (Count <= 0 || static_cast<size_t>(Index) > S.size()) return {};
  return S.substr(static_cast<size_t>(Index) - 1, static_cast<size_t>(Count));
}

std::string StringOfChar(char Ch, int Count) {
  return Count > 0 ? std::string(static_cast<size_t>(Count), Ch) : "";
}
