#include "core/rounding.h"

#include <cmath>
#include <limits>

#include "core/general_error.h"

namespace teravo {

std::int64_t RoundTiesEven(long double value) {
  if (!std::isfinite(value)) Raise(kInvalidOperation);
  // floorl and the comparison are exact, so the result does not depend on the FPU's current
  // rounding mode (which a library elsewhere in the process might have changed).
  const long double below = std::floor(value);
  const long double fraction = value - below;
  long double rounded = below;
  if (fraction > 0.5L || (fraction == 0.5L && std::fmod(below, 2.0L) != 0)) rounded += 1;
  // Checked after rounding: 2^63 - 0.5 is representable and its tie goes up to 2^63.
  constexpr long double kLimit = 9223372036854775808.0L;  // 2^63
  if (rounded >= kLimit || rounded < -kLimit) Raise(kInvalidOperation);
  return static_cast<std::int64_t>(rounded);
}

std::int32_t RoundToInt32(long double value) {
  const std::int64_t rounded = RoundTiesEven(value);
  if (rounded < std::numeric_limits<std::int32_t>::min() ||
      rounded > std::numeric_limits<std::int32_t>::max()) {
    Raise(kRangeCheck);
  }
  return static_cast<std::int32_t>(rounded);
}

long double CheckedDivReport(long double numerator, long double denominator) {
  if (denominator == 0) {
    if (numerator == 0 || std::isnan(numerator)) Raise(kInvalidOperation);
    Raise(kDivisionByZero);
  }
  return CheckedResult(numerator / denominator);
}

long double CheckedResult(long double value) {
  if (std::isnan(value)) Raise(kInvalidOperation);
  if (std::isinf(value)) Raise(kOverflow);
  return value;
}

double ToDoubleChecked(long double value) {
  const double rounded = static_cast<double>(CheckedResult(value));
  if (std::isinf(rounded)) Raise(kOverflow);
  return rounded;
}

}  // namespace teravo
