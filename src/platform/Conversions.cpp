#include "platform/Conversions.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "platform/Exceptions.h"

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Leading blanks, a sign, then decimal digits or "$"/"0x" and hexadecimal digits; nothing
// after. Hexadecimal text gives the bits (so "$FFFFFFFF" reads as -1 for a 32-bit value).
bool ParseInteger(const std::string& S, int64_t low, int64_t high, uint64_t hexMask, int64_t& value) {
  size_t i = 0;
  while (i < S.size() && (S[i] == ' ' || S[i] == '\t')) ++i;
  bool negative = false;
  if (i < S.size() && (S[i] == '-' || S[i] == '+')) negative = S[i++] == '-';
  int base = 10;
  if (i < S.size() && S[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < S.size() && S[i] == '0' && (S[i + 1] == 'x' || S[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= S.size()) return false;
  uint64_t magnitude = 0;
  auto result = std::from_chars(S.data() + i, S.data() + S.size(), magnitude, base);
  if (result.ec != std::errc() || result.ptr != S.data() + S.size()) return false;
  if (base == 16) {
    if (magnitude > hexMask) return false;
    // Reinterpret the bits in the target width.
    int64_t bits = hexMask == UINT32_MAX ? static_cast<int32_t>(static_cast<uint32_t>(magnitude))
                                         : static_cast<int64_t>(magnitude);
    value = negative ? -bits : bits;
    return true;
  }
  if (negative) {
    if (magnitude > static_cast<uint64_t>(-(low + 1)) + 1) return false;
    value = static_cast<int64_t>(0 - magnitude);
  } else {
    if (magnitude > static_cast<uint64_t>(high)) return false;
    value = static_cast<int64_t>(magnitude);
  }
  return value >= low && value <= high;
}

// Blanks, sign, digits with at most one decimal separator, optional exponent, blanks.
bool ParseFloat(const std::string& S, char decimalSeparator, double& value) {
  size_t i = 0;
  const size_t n = S.size();
  auto blank = [&](size_t k) { return S[k] == ' ' || S[k] == '\t'; };
  while (i < n && blank(i)) ++i;
  size_t end = n;
  while (end > i && blank(end - 1)) --end;
  std::string plain;  // the number with '.' as separator, for from_chars
  if (i < end && (S[i] == '+' || S[i] == '-')) {
    if (S[i] == '-') plain += '-';
    ++i;
  }
  bool digits = false;
  while (i < end && IsDigit(S[i])) {
    plain += S[i++];
    digits = true;
  }
  if (i < end && S[i] == decimalSeparator) {
    plain += '.';
    ++i;
    while (i < end && IsDigit(S[i])) {
      plain += S[i++];
      digits = true;
    }
  }
  if (!digits) return false;
  if (i < end && (S[i] == 'e' || S[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < end && (S[i] == '+' || S[i] == '-')) plain += S[i++];
    if (i >= end || !IsDigit(S[i])) return false;
    while (i < end && IsDigit(S[i])) plain += S[i++];
  }
  if (i != end) return false;
  auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Underflow reads as zero; overflow is not a value.
    bool tiny = plain.find("e-") != std::string::npos;
    if (!tiny) return false;
    value = 0;
    return true;
  }
  return result.ec == std::errc() && std::isfinite(value);
}

[[noreturn]] void NotInteger(const std::string& S) {
  throw EConvertError("'" + S + "' is not a valid integer value");
}

}  // namespace

bool TryStrToInt(const std::string& S, int& Value) {
  int64_t value = 0;
  if (!ParseInteger(S, INT32_MIN, INT32_MAX, UINT32_MAX, value)) return false;
  Value = static_cast<int>(value);
  return true;
}

int StrToInt(const std::string& S) {
  int value = 0;
  if (!TryStrToInt(S, value)) NotInteger(S);
  return value;
}

int StrToIntDef(const std::string& S, int Default) {
  int value = 0;
  return TryStrToInt(S, value) ? value : Default;
}

bool TryStrToInt64(const std::string& S, int64_t& Value) {
  return ParseInteger(S, INT64_MIN, INT64_MAX, UINT64_MAX, Value);
}

int64_t StrToInt64(const std::string& S) {
  int64_t value = 0;
  if (!TryStrToInt64(S, value)) NotInteger(S);
  return value;
}

int64_t StrToInt64Def(const std::string& S, int64_t Default) {
  int64_t value = 0;
  return TryStrToInt64(S, value) ? value : Default;
}

bool TryStrToFloat(const std::string& S, double& Value, const TFormatSettings& Settings) {
  return ParseFloat(S, Settings.DecimalSeparator, Value);
}

bool TryStrToFloat(const std::string& S, double& Value) {
  return TryStrToFloat(S, Value, FormatSettings);
}

double StrToFloat(const std::string& S, const TFormatSettings& Settings) {
  double value = 0;
  if (!TryStrToFloat(S, value, Settings))
    throw EConvertError("'" + S + "' is not a valid floating point value");
  return value;
}

double StrToFloat(const std::string& S) {
  return StrToFloat(S, FormatSettings);
}

double StrToFloatDef(const std::string& S, double Default, const TFormatSettings& Settings) {
  double value = 0;
  return TryStrToFloat(S, value, Settings) ? value : Default;
}

double StrToFloatDef(const std::string& S, double Default) {
  return StrToFloatDef(S, Default, FormatSettings);
}

std::string BoolToStr(bool B, bool UseBoolStrs) {
  if (UseBoolStrs) return B ? "True" : "False";
  return B ? "-1" : "0";
}
