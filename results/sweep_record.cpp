#include "results/sweep_record.h"

#include <utility>

#include "core/number_text.h"
#include "core/rounding.h"

namespace teravo {

SweepPoint SweepPointOf(std::int32_t index, std::string value, std::int32_t plays,
                        const PlayRecord& averages) {
  SweepPoint point;
  point.index = index;
  point.value = std::move(value);
  point.plays = plays;
  for (const ResultField& row : ResultFields()) {
    if (!row.averaged) continue;
    const auto at = static_cast<std::size_t>(row.field);
    point.means[at] = averages.DisplayedValue(row.field);
    point.exactMeans[at] = averages.ExactValue(row.field);
    point.spreads[at] = averages.Spreads[at];
  }
  return point;
}

std::string MeanText(Field field, long double mean, char separator) {
  if (ResultFieldOf(field).kind == ValueKind::Integer) return IntToStr(RoundTiesEven(mean));
  return FloatToStr(mean, separator);
}

}  // namespace teravo
