#include "calibration/failure_match.h"

#include <algorithm>
#include <cmath>

namespace teravo {

namespace {

// A tenth of a failure: less than any single play's increment over one play of 10, and far
// enough from zero that a missed failure costs a bounded amount.
constexpr double kLeastIncrement = 0.1;

MatchPoints AllPoints(const FailureData& data) {
  MatchPoints all;
  if (data.IsCounts()) {
    double total = 0;
    for (std::size_t i = 0; i < data.counts.size(); ++i) {
      total += static_cast<double>(data.counts[i]);
      all.times.push_back(data.interval_ends[i]);
      all.counts.push_back(total);
    }
    return all;
  }
  for (std::size_t i = 0; i < data.times.size(); ++i) {
    if (!all.times.empty() && all.times.back() == data.times[i]) {
      all.counts.back() = static_cast<double>(i + 1);
      continue;
    }
    all.times.push_back(data.times[i]);
    all.counts.push_back(static_cast<double>(i + 1));
  }
  return all;
}

}  // namespace

MatchPoints MatchPointsOf(const FailureData& data, int most) {
  MatchPoints all = AllPoints(data);
  const std::size_t n = all.times.size();
  if (most < 1 || n <= static_cast<std::size_t>(most)) return all;
  MatchPoints kept;
  const auto m = static_cast<std::size_t>(most);
  for (std::size_t k = 1; k <= m; ++k) {
    const std::size_t i = (k * n + m - 1) / m - 1;  // ceil(k n / m) - 1: the last for k = m
    kept.times.push_back(all.times[i]);
    kept.counts.push_back(all.counts[i]);
  }
  return kept;
}

double PoissonDeviance(std::span<const double> observed, std::span<const double> expected) {
  double deviance = 0;
  double observedBefore = 0;
  double expectedBefore = 0;
  for (std::size_t j = 0; j < observed.size(); ++j) {
    const double o = observed[j] - observedBefore;
    const double e = std::max(expected[j] - expectedBefore, kLeastIncrement);
    deviance += 2 * ((o > 0 ? o * std::log(o / e) : 0) - (o - e));
    observedBefore = observed[j];
    expectedBefore = expected[j];
  }
  return deviance;
}

}  // namespace teravo
