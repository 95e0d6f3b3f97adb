#pragma once
// Rounding and scaling as the platform does them.
#include <cmath>
#include <cstdint>

// Round half to even (the floating-point unit's default mode): 0.5 -> 0, 1.5 -> 2, 2.5 -> 2.
inline int64_t Round(double X) {
  return static_cast<int64_t>(std::nearbyint(X));
}
// Toward zero.
inline int64_t Trunc(double X) {
  return static_cast<int64_t>(std::trunc(X));
}
inline double Frac(double X) {
  return X - std::trunc(X);
}
inline int Ceil(double X) {
  return static_cast<int>(std::ceil(X));
}
inline int Floor(double X) {
  return static_cast<int>(std::floor(X));
}

// Number * Numerator / Denominator with a 64-bit intermediate, rounded half away from zero;
// -1 when Denominator is 0 or the result does not fit in 32 bits.
inline int MulDiv(int Number, int Numerator, int Denominator) {
  if (Denominator == 0) return -1;
  int64_t product = static_cast<int64_t>(Number) * Numerator;
  int64_t divisor = Denominator;
  if (divisor < 0) {
    product = -product;
    divisor = -divisor;
  }
  int64_t half = divisor / 2;
  int64_t result = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
  if (result > INT32_MAX || result < -INT32_MAX) return -1;
  return static_cast<int>(result);
}
