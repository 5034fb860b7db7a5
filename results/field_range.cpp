#include "results/field_range.h"

#include <algorithm>
#include <limits>

namespace teravo {

FieldRange RangeOf(Field field, std::int32_t clients) {
  constexpr long double kNoEnd = std::numeric_limits<long double>::infinity();
  switch (field) {
    case Field::edKg:
    case Field::edPer:
      return {0, 1};
    case Field::edWorkClientNum:
      return {0, clients > 0 ? static_cast<long double>(clients) : kNoEnd};
    default:
      return {0, kNoEnd};
  }
}

MeanInterval IntervalWithin(const FieldRange& range, long double mean, long double halfWidth) {
  const long double low = mean - halfWidth;
  const long double high = mean + halfWidth;
  const long double cutLow = std::clamp(low, range.low, range.high);
  const long double cutHigh = std::clamp(high, range.low, range.high);
  return {cutLow, cutHigh, cutLow != low || cutHigh != high};
}

}  // namespace teravo
