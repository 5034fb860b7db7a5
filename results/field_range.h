#pragma once

#include <cstdint>

#include "results/result_fields.h"

namespace teravo {

// Where a figure's values can lie: every figure counts, lasts or is a share, so none is below
// 0; the availability and the failure probability are at most 1 and the working clients at
// most their number. `clients` 0 leaves the working clients without an upper end.
struct FieldRange {
  long double low = 0;
  long double high;  // infinity when there is no upper end
};
FieldRange RangeOf(Field field, std::int32_t clients);

// The 95 % interval of a mean, mean ± half-width, cut to the figure's range.
struct MeanInterval {
  long double low;
  long double high;
  bool clipped;  // an end was cut
};
MeanInterval IntervalWithin(const FieldRange& range, long double mean, long double halfWidth);

}  // namespace teravo
