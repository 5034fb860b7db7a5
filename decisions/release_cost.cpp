#include "decisions/release_cost.h"

#include <algorithm>
#include <cmath>

#include "core/general_error.h"
#include "results/series_statistics.h"

namespace teravo {

ReleaseCost ReleaseCostOf(const std::vector<std::vector<double>>& failures,
                          const std::vector<double>& times, std::int32_t programmers,
                          const CostQuestion& question) {
  if (!(question.perProgrammerDay >= 0) || !(question.perFailure >= 0) ||
      !std::isfinite(question.perProgrammerDay) || !std::isfinite(question.perFailure)) {
    Raise("Стоимости дня программиста и отказа должны быть неотрицательными числами.");
  }
  const auto end = std::upper_bound(times.begin(), times.end(), question.horizon);
  if (end == times.begin() || *(end - 1) != question.horizon) {
    Raise("Горизонт должен быть одним из моментов, на которых читаются отказы.");
  }
  ReleaseCost cost;
  cost.times.assign(times.begin(), end);
  cost.plays = static_cast<std::int32_t>(failures.size());
  cost.programmers = programmers;
  const std::size_t horizon = cost.times.size() - 1;
  const std::size_t count = failures.size();
  std::vector<double> costs(count);
  for (std::size_t j = 0; j <= horizon; ++j) {
    const long double testing =
        static_cast<long double>(programmers) * question.perProgrammerDay * cost.times[j];
    long double sum = 0;
    for (std::size_t k = 0; k < count; ++k) {
      const long double after = failures[k][horizon] - failures[k][j];
      costs[k] = static_cast<double>(testing + question.perFailure * after);
      sum += costs[k];
    }
    cost.mean.push_back(count ? static_cast<double>(sum / static_cast<long double>(count)) : 0);
    std::sort(costs.begin(), costs.end());
    cost.low.push_back(count ? static_cast<double>(QuantileOfSorted(costs, 0.05L)) : 0);
    cost.high.push_back(count ? static_cast<double>(QuantileOfSorted(costs, 0.95L)) : 0);
  }
  cost.best = static_cast<std::size_t>(std::min_element(cost.mean.begin(), cost.mean.end()) -
                                       cost.mean.begin());
  return cost;
}

}  // namespace teravo
