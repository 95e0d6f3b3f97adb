#pragma once
// Conversion of numbers to text: FloatToStr, FloatToStrF, FormatFloat, IntToStr, IntToHex.
// Floating-point values are shown with at most 15 significant digits, rounded half away from
// zero on the decimal digits, as the platform does.
#include <concepts>
#include <cstdint>
#include <string>
#include <type_traits>

#include "platform/FormatSettings.h"

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// ffGeneral with 15 digits: the shortest form, without exponent unless the value needs more
// than 15 digits before the point or is below 0.0001 ("0.3", "1E15", "1E-5").
std::string FloatToStr(double Value);
std::string FloatToStr(double Value, const TFormatSettings& Settings);
// Precision: significant digits; Digits: exponent digits (ffGeneral, ffExponent) or decimals
// (ffFixed, ffNumber, ffCurrency).
std::string FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits);
std::string FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits,
                        const TFormatSettings& Settings);
// Pattern syntax: 0 (digit), # (optional digit), . (decimal separator), , (thousand
// separators), E+ E- e+ e- (scientific), "..." and '...' literals, up to three sections
// "positive;negative;zero". An empty pattern gives FloatToStr.
std::string FormatFloat(const std::string& Pattern, double Value);
std::string FormatFloat(const std::string& Pattern, double Value, const TFormatSettings& Settings);

std::string IntToStr(int64_t Value);
std::string UIntToStr(uint64_t Value);
template <std::integral T>
std::string IntToStr(T Value) {
  if constexpr (std::is_signed_v<T>)
    return IntToStr(static_cast<int64_t>(Value));
  else
    return UIntToStr(static_cast<uint64_t>(Value));
}
// Upper-case hexadecimal with at least Digits digits; negative values show their two's
// complement in the width of their type (IntToHex(-1, 2) == "FFFFFFFF").
std::string IntToHex(uint64_t Value, int Digits);
template <std::integral T>
requires(!std::is_same_v<T, bool>) std::string IntToHex(T Value, int Digits) {
  return IntToHex(static_cast<uint64_t>(static_cast<std::make_unsigned_t<T>>(Value)), Digits);
}
