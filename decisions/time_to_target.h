#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "decisions/target.h"

namespace teravo {

// The first time each play meets `target`, read on `times` (ascending, the play's values at
// each in `plays[k][j]`); none for a play that never does within the play: it is censored at
// the play's end, not dropped. With FromThenOn a play must meet the target at every time from
// then to its last.
std::vector<std::optional<double>> FirstTimes(const std::vector<std::vector<double>>& plays,
                                              const std::vector<double>& times,
                                              const Target& target);

// A quantile of the time to target with its distribution-free interval: the order statistics
// whose ranks the binomial distribution of the count below the true quantile gives.
struct QuantileAnswer {
  double probability = 0;
  // The smallest time by which at least that share of the plays reached the target; none:
  // not reached within the play by that share.
  std::optional<double> time;
  // The interval. A low end of 0 stands for the play's start; a missing end for beyond the
  // play (too few plays reached the target, or too few plays to bound it).
  std::optional<double> low = 0.0;
  std::optional<double> high;
  double coverage = 0;  // the interval's own probability, at least the asked confidence
};

struct TimeToTarget {
  std::int32_t plays = 0;
  std::vector<double> reachedTimes;  // of the plays that reached it, ascending
  double playEnd = 0;                // where the others are censored
  double confidence = 0.95;          // of the quantiles' intervals
  QuantileAnswer answer;             // at the probability asked
  std::vector<QuantileAnswer> quantiles;
  std::int32_t Censored() const { return plays - static_cast<std::int32_t>(reachedTimes.size()); }
};

// The probabilities the quantile table shows besides the one asked.
inline constexpr double kTableProbabilities[] = {0.1, 0.25, 0.5, 0.75, 0.9, 0.95};

// Quantiles of the first times over the plays; `probability` in (0, 1], `confidence` in (0, 1).
TimeToTarget DescribeTimes(const std::vector<std::optional<double>>& firstTimes, double playEnd,
                           double probability, double confidence);
QuantileAnswer QuantileOf(const TimeToTarget& times, double probability);

// The share of the plays that reached the target by `time` (the empirical distribution
// function, censored plays counted as not reached).
double ShareReachedBy(const TimeToTarget& times, double time);
std::int32_t ReachedBy(const std::vector<std::optional<double>>& firstTimes, double time);

}  // namespace teravo
