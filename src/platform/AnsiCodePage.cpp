#include "platform/AnsiCodePage.h"

#include <array>

namespace {

// Unicode code points of the bytes 0x80..0x9F; the unassigned ones keep their C1 control.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at text[pos]; returns false (consuming one byte) when it is
// malformed, overlong, a surrogate or beyond U+10FFFF.
bool DecodeUtf8(const std::string& text, size_t& pos, char32_t& cp) {
  auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  uint8_t lead = byte(pos);
  int length = lead < 0x80             ? 1
               : (lead & 0xE0) == 0xC0 ? 2
               : (lead & 0xF0) == 0xE0 ? 3
               : (lead & 0xF8) == 0xF0 ? 4
                                       : 0;
  if (length == 0 || pos + length > text.size()) {
    ++pos;
    return false;
  }
  char32_t value = length == 1 ? lead : lead & (0x7F >> length);
  for (int i = 1; i < length; ++i) {
    uint8_t next = byte(pos + i);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return false;
    }
    value = (value << 6) | (next & 0x3F);
  }
  static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < kMinimum[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    ++pos;
    return false;
  }
  pos += length;
  cp = value;
  return true;
}

}  // namespace

uint32_t GetACP() {
  return 1252;
}

char32_t AnsiCharToUnicode(uint8_t Code) {
  if (Code >= 0x80 && Code <= 0x9F) return kHighControls[Code - 0x80];
  return Code;  // ASCII and Latin-1 coincide with Unicode
}

int UnicodeToAnsiChar(char32_t CodePoint) {
  if (CodePoint < 0x80 || (CodePoint >= 0xA0 && CodePoint <= 0xFF)) return static_cast<int>(CodePoint);
  for (size_t i = 0; i < kHighControls.size(); ++i)
    if (kHighControls[i] == CodePoint) return static_cast<int>(0x80 + i);
  return -1;
}

std::string AnsiToUtf8(const std::string& Text) {
  std::string out;
  out.reserve(Text.size() + Text.size() / 4);
  for (char c : Text) AppendUtf8(out, AnsiCharToUnicode(static_cast<uint8_t>(c)));
  return out;
}

std::string Utf8ToAnsi(const std::string& Text) {
  std::string out;
  out.reserve(Text.size());
  size_t pos = 0;
  while (pos < Text.size()) {
    char32_t cp = 0;
    int code = DecodeUtf8(Text, pos, cp) ? UnicodeToAnsiChar(cp) : -1;
    out += code < 0 ? '?' : static_cast<char>(code);
  }
  return out;
}
