#pragma once

#include <cmath>
#include <cstdint>

namespace teravo {

// Round to the nearest integer, a tie going to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Throws GeneralError(kInvalidOperation) for NaN, infinity or a value outside int64.
std::int64_t RoundTiesEven(long double value);

// As RoundTiesEven, then throws GeneralError(kRangeCheck) when the result does not fit
// a 32-bit signed integer.
std::int32_t RoundToInt32(long double value);

// Checked extended-precision arithmetic: a zero divisor, an overflow to infinity or a NaN
// raise the general error texts instead of producing silent infinities or NaNs.
// Inline for the common case, since a play divides at every step.
long double CheckedDivReport(long double numerator, long double denominator);
inline long double CheckedDiv(long double numerator, long double denominator) {
  const long double quotient = numerator / denominator;
  // A finite quotient is what the checks would let through unchanged.
  if (std::isfinite(quotient)) [[likely]]
    return quotient;
  return CheckedDivReport(numerator, denominator);
}
long double CheckedResult(long double value);  // overflow / invalid check of a finished result
// Rounds to double; a result beyond a double raises kOverflow, a NaN kInvalidOperation.
// Inline for the common case, since the model stores every step's times through it.
double ToDoubleChecked(long double value);
inline double ToDouble(long double value) {
  // Below the midpoint between the largest double and 2^1024 a value rounds to a finite
  // double; at it or beyond, or NaN, it does not. Testing before rounding keeps the value in
  // the x87 registers, which a test of the rounded double would store and reload.
  if (std::fabs(value) < 0x1.fffffffffffff8p+1023L) [[likely]]
    return static_cast<double>(value);
  return ToDoubleChecked(value);
}

// Stores an extended-precision result in a double field: rounds to the nearest double, ties
// to even, with no range check (ToDouble is the checked form).
inline double RoundToDouble(long double value) {
  return static_cast<double>(value);
}

}  // namespace teravo
