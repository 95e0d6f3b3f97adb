#include "platform/FloatDecimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kMaxSignificant = 15;

// Adds one unit in the last place of Digits; returns false when the carry ran off the front
// (all nines), leaving Digits "1".
bool RoundUp(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return true;
    }
    digits[i] = '0';
  }
  digits = "1";
  return false;
}

}  // namespace

std::string TFloatDecimal::IntegerDigits() const {
  if (Exponent <= 0) return "0";
  std::string integer = Digits.substr(0, static_cast<size_t>(std::min<int>(Exponent, Digits.size())));
  integer.resize(static_cast<size_t>(Exponent), '0');
  return integer;
}

std::string TFloatDecimal::FractionDigits(int Count) const {
  std::string fraction;
  for (int i = 0; i < Count; ++i) {
    int index = Exponent + i;
    fraction += index >= 0 && index < static_cast<int>(Digits.size()) ? Digits[index] : '0';
  }
  return fraction;
}

TFloatDecimal FloatToDecimal(double Value, int Precision, int Decimals) {
  TFloatDecimal rec;
  if (Value == 0 || !std::isfinite(Value)) return rec;
  // Scientific form with 15 significant digits: "d.dddddddddddddde-05". std::to_chars does
  // not depend on the C locale, which Qt sets from the environment.
  char buffer[48];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(Value), std::chars_format::scientific,
                              kMaxSignificant - 1);
  std::string text(buffer, result.ptr);
  size_t e = text.find('e');
  std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
  int exponent = std::atoi(text.c_str() + e + 1) + 1;

  long keep =
      std::min<long>({std::clamp(Precision, 1, kMaxSignificant), static_cast<long>(exponent) + Decimals});
  if (keep < 0) return rec;
  bool up = keep < static_cast<long>(digits.size()) && digits[static_cast<size_t>(keep)] >= '5';
  digits.resize(static_cast<size_t>(keep));
  if (up && !RoundUp(digits)) ++exponent;
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  if (digits.empty()) return rec;
  rec.Negative = Value < 0;
  rec.Exponent = exponent;
  rec.Digits = digits;
  return rec;
}

std::string NonFiniteText(double Value) {
  if (std::isnan(Value)) return "NAN";
  return Value < 0 ? "-INF" : "INF";
}
