#pragma once
// The decimal digits of a double, rounded as the platform's number formatting rounds them:
// at most 15 significant digits (what a double holds reliably), then half away from zero at
// the requested place. Shared by FloatToStrF, FormatFloat and Format.
#include <string>

struct TFloatDecimal {
  bool Negative = false;  // false when the rounded value is zero
  int Exponent = 0;       // value = 0.D1D2D3... * 10^Exponent
  std::string Digits;     // significant digits without trailing zeros; empty for zero

  // The digits before the decimal point ("0" when there are none).
  std::string IntegerDigits() const;
  // Count digits after the decimal point, padded with zeros.
  std::string FractionDigits(int Count) const;
};

// Rounds Value (finite) to at most Precision significant digits and at most Decimals digits
// after the decimal point.
TFloatDecimal FloatToDecimal(double Value, int Precision, int Decimals);
// "NAN", "INF" or "-INF".
std::string NonFiniteText(double Value);
