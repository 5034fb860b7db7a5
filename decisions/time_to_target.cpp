#include "decisions/time_to_target.h"

#include <algorithm>
#include <boost/math/distributions/binomial.hpp>
#include <cmath>

#include "core/general_error.h"

namespace teravo {

namespace {

// The rank (1-based) of the smallest order statistic whose share reaches `probability`.
std::int64_t RankOf(double probability, std::int64_t plays) {
  // A product such as 0.9 * 100 may land a hair above the whole number it stands for.
  const long double product = static_cast<long double>(probability) * plays;
  const auto rank = static_cast<std::int64_t>(std::ceil(product - 1e-9L * plays));
  return std::clamp<std::int64_t>(rank, 1, plays);
}

// The time of rank r among the plays, the censored ones last; none when censored.
std::optional<double> OrderStatistic(const TimeToTarget& times, std::int64_t rank) {
  if (rank < 1 || rank > static_cast<std::int64_t>(times.reachedTimes.size())) return std::nullopt;
  return times.reachedTimes[static_cast<std::size_t>(rank - 1)];
}

}  // namespace

std::vector<std::optional<double>> FirstTimes(const std::vector<std::vector<double>>& plays,
                                              const std::vector<double>& times,
                                              const Target& target) {
  std::vector<std::optional<double>> first;
  first.reserve(plays.size());
  for (const std::vector<double>& values : plays) {
    std::optional<double> at;
    if (target.holding == TargetHolding::FirstReach) {
      const auto it = std::find_if(values.begin(), values.end(),
                                   [&target](double value) { return Meets(target, value); });
      if (it != values.end()) at = times[static_cast<std::size_t>(it - values.begin())];
    } else {
      // Back from the end while the target holds.
      std::size_t from = values.size();
      while (from > 0 && Meets(target, values[from - 1])) --from;
      if (from < values.size()) at = times[from];
    }
    first.push_back(at);
  }
  return first;
}

QuantileAnswer QuantileOf(const TimeToTarget& times, double probability) {
  QuantileAnswer answer;
  answer.probability = probability;
  const std::int64_t n = times.plays;
  if (n == 0) return answer;
  answer.time = OrderStatistic(times, RankOf(probability, n));
  // The count of plays below the true quantile is binomial (n, p): T(l) lies below it unless
  // fewer than l do, T(u) above it unless u or more do.
  const boost::math::binomial_distribution<long double> count(static_cast<long double>(n),
                                                              std::min(probability, 1.0));
  const long double tail = (1 - static_cast<long double>(times.confidence)) / 2;
  const auto below = [&count, n](std::int64_t k) -> long double {  // P(count <= k)
    if (k < 0) return 0;
    if (k >= n) return 1;
    return boost::math::cdf(count, static_cast<long double>(k));
  };
  std::int64_t low = 0;  // 0: no order statistic is low enough; the play's start bounds it
  while (low < n && below(low) <= tail) ++low;
  std::int64_t high = low == 0 ? 1 : low;
  while (high <= n && below(high - 1) < 1 - tail) ++high;
  answer.low = low == 0 ? std::optional<double>(0) : OrderStatistic(times, low);
  answer.high = high <= n ? OrderStatistic(times, high) : std::nullopt;
  answer.coverage = static_cast<double>(below(high - 1) - below(low - 1));
  return answer;
}

TimeToTarget DescribeTimes(const std::vector<std::optional<double>>& firstTimes, double playEnd,
                           double probability, double confidence) {
  if (!(probability > 0 && probability <= 1) || !(confidence > 0 && confidence < 1)) {
    Raise("Вероятность должна лежать в (0; 1], доверие интервала — в (0; 1).");
  }
  TimeToTarget times;
  times.plays = static_cast<std::int32_t>(firstTimes.size());
  times.playEnd = playEnd;
  times.confidence = confidence;
  for (const auto& time : firstTimes) {
    if (time) times.reachedTimes.push_back(*time);
  }
  std::sort(times.reachedTimes.begin(), times.reachedTimes.end());
  times.answer = QuantileOf(times, probability);
  for (double p : kTableProbabilities) times.quantiles.push_back(QuantileOf(times, p));
  return times;
}

double ShareReachedBy(const TimeToTarget& times, double time) {
  if (times.plays == 0) return 0;
  const auto reached =
      std::upper_bound(times.reachedTimes.begin(), times.reachedTimes.end(), time) -
      times.reachedTimes.begin();
  return static_cast<double>(reached) / times.plays;
}

std::int32_t ReachedBy(const std::vector<std::optional<double>>& firstTimes, double time) {
  return static_cast<std::int32_t>(std::count_if(
      firstTimes.begin(), firstTimes.end(), [time](const auto& t) { return t && *t <= time; }));
}

}  // namespace teravo
