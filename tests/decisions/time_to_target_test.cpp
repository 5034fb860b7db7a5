#include "decisions/time_to_target.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace teravo {
namespace {

// P(count <= k) for a binomial (n, p), summed term by term.
long double BinomialBelow(int n, double p, int k) {
  long double sum = 0;
  for (int i = 0; i <= k && i <= n; ++i) {
    const long double logTerm = std::lgamma(n + 1.0L) - std::lgamma(i + 1.0L) -
                                std::lgamma(n - i + 1.0L) +
                                i * std::log(static_cast<long double>(p)) +
                                (n - i) * std::log1p(-static_cast<long double>(p));
    sum += std::exp(logTerm);
  }
  return sum;
}

// Plays 1 ... n reach the target at day k (play k), the rest of `plays` never.
std::vector<std::optional<double>> Reaching(int reached, int plays) {
  std::vector<std::optional<double>> first(static_cast<std::size_t>(plays));
  for (int k = 0; k < reached; ++k) first[static_cast<std::size_t>(k)] = k + 1.0;
  return first;
}

struct IntervalCase {
  int plays;
  int reached;
  double probability;
};

// The interval's ends are the order statistics whose binomial ranks hold the confidence, and
// neither can move inwards without losing it; its coverage is the binomial sum between them.
TEST(TimeToTarget, QuantileIntervalsAreTheNarrowestBinomialRanks) {
  const IntervalCase cases[] = {
      {100, 100, 0.5}, {100, 100, 0.9}, {100, 70, 0.9},    {40, 40, 0.1},
      {20, 15, 0.5},   {5, 5, 0.5},     {1000, 990, 0.95},
  };
  for (const IntervalCase& c : cases) {
    const double playEnd = 2000;
    const TimeToTarget times =
        DescribeTimes(Reaching(c.reached, c.plays), playEnd, c.probability, 0.95);
    const QuantileAnswer& a = times.answer;
    const std::string name = std::to_string(c.plays) + "/" + std::to_string(c.reached) +
                             " p=" + std::to_string(c.probability);
    // The ranks straight from the binomial sums: the highest low rank with at most 2,5 %
    // below it, the lowest high rank with at least 97,5 % below it.
    const auto below = [&c](int k) {
      return k < 0 ? 0.0L : BinomialBelow(c.plays, c.probability, k);
    };
    int low = 0;
    while (low < c.plays && below(low) <= 0.025L) ++low;
    int high = std::max(low, 1);
    while (high <= c.plays && below(high - 1) < 0.975L) ++high;
    const std::optional<double> lowDay = low == 0           ? std::optional<double>(0)
                                         : low <= c.reached ? std::optional<double>(low)
                                                            : std::nullopt;
    const std::optional<double> highDay =
        high <= c.reached ? std::optional<double>(high) : std::nullopt;
    EXPECT_EQ(a.low, lowDay) << name;
    EXPECT_EQ(a.high, highDay) << name;
    EXPECT_NEAR(a.coverage, static_cast<double>(below(high - 1) - below(low - 1)), 1e-9) << name;
    EXPECT_GE(a.coverage, 0.95 - 1e-12) << name;
    // The answer itself: the smallest day by which the share reaches p.
    const int rank = static_cast<int>(std::ceil(c.probability * c.plays - 1e-9));
    if (rank <= c.reached) {
      EXPECT_EQ(a.time, std::optional<double>(rank)) << name;
    } else {
      EXPECT_FALSE(a.time) << name << ": not reached";
    }
  }
}

TEST(TimeToTarget, FirstTimesCountFromThenOnOrTheFirstReach) {
  const std::vector<double> times = {0, 1, 2, 3, 4};
  const std::vector<std::vector<double>> plays = {
      {0.1, 0.9, 0.2, 0.9, 0.95},  // reached at 1, holds from 3
      {0.1, 0.2, 0.3, 0.4, 0.5},   // never: censored
      {0.9, 0.9, 0.9, 0.9, 0.1},   // reached at 0, falls at the end: censored from then on
  };
  const auto once =
      FirstTimes(plays, times, {TargetQuantity::Availability, 0.9, TargetHolding::FirstReach});
  const auto held =
      FirstTimes(plays, times, {TargetQuantity::Availability, 0.9, TargetHolding::FromThenOn});
  EXPECT_EQ(once, (std::vector<std::optional<double>>{1.0, std::nullopt, 0.0}));
  EXPECT_EQ(held, (std::vector<std::optional<double>>{3.0, std::nullopt, std::nullopt}));
  const TimeToTarget described = DescribeTimes(held, 4, 0.5, 0.95);
  EXPECT_EQ(described.Censored(), 2);
  EXPECT_DOUBLE_EQ(ShareReachedBy(described, 3), 1.0 / 3);
  EXPECT_FALSE(described.answer.time) << "only a third reach it";
}

}  // namespace
}  // namespace teravo
