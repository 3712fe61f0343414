#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "imaging_errors.h"

// The filters' numeric conventions. Floating-point work is done in extended
// precision (long double: the 80-bit x87 format on x86-64) unless a value is
// stored as single or double on purpose.
namespace ImagingMath {

// a / b in extended precision; zero divided by zero is an invalid
// operation, anything else divided by zero a division by zero.
inline long double Divide(long double a, long double b) {
  if (b == 0.0L) {
    if (a == 0.0L || std::isnan(a)) throw EInvalidOp();
    throw EZeroDivide();
  }
  return a / b;
}

// Drops the fraction (toward zero). A value outside the 64-bit integer range
// is an invalid operation, as on the floating-point unit.
inline int64_t Trunc(long double x) {
  if (!(x > -9223372036854775808.0L && x < 9223372036854775808.0L)) throw EInvalidOp();
  return static_cast<int64_t>(x);
}

// Nearest integer, ties to even.
inline int64_t Round(long double x) {
  if (!(x > -9223372036854775808.0L && x < 9223372036854775808.0L)) throw EInvalidOp();
  return static_cast<int64_t>(std::nearbyint(x));
}

inline long double Frac(long double x) { return x - static_cast<long double>(Trunc(x)); }

// Clamp-and-round of the tone filters: 255 from 255 up, 0 for anything not
// above 0, otherwise Round.
inline uint8_t Clamp8(double x) {
  if (x >= 255.0) return 255;
  if (!(x > 0.0)) return 0;
  return static_cast<uint8_t>(std::nearbyint(x));
}

// Integer division by a divisor fixed for a whole pass, done as a multiply
// and a shift so the inner loops vectorise. Exact for every numerator up to
// the bound given at construction (floor(n * m / 2^k) with
// m = ceil(2^k / d) and 2^k >= d * 2^N equals floor(n / d) for n < 2^N);
// numerators too large for that fall back to a plain division.
class TExactDivider {
public:
  TExactDivider(uint32_t divisor, uint64_t maxNumerator) : FDivisor(divisor) {
    if (divisor == 0) throw EDivByZero();
    int n = 1;
    while (n < 64 && (uint64_t(1) << n) <= maxNumerator) ++n;
    int l = 0;
    while ((uint64_t(1) << l) < divisor) ++l;
    FPlain = n > 30;
    if (!FPlain) {
      FShift = n + l;
      const unsigned __int128 p = (unsigned __int128)1 << FShift;
      FMultiplier = uint64_t((p + divisor - 1) / divisor);
    }
  }
  bool Plain() const { return FPlain; }
  uint32_t Divisor() const { return FDivisor; }
  uint64_t Multiplier() const { return FMultiplier; }
  int Shift() const { return FShift; }
  uint32_t operator()(uint32_t n) const {
    return FPlain ? n / FDivisor : uint32_t((uint64_t(n) * FMultiplier) >> FShift);
  }

private:
  uint32_t FDivisor;
  uint64_t FMultiplier = 0;
  int FShift = 0;
  bool FPlain = true;
};

}  // namespace ImagingMath
