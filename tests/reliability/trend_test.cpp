#include "reliability/trend.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/reliability/failure_samples.h"

namespace teravo {
namespace {

TEST(Trend, ReadsTheLaplaceFactorAtPlusMinusTwo) {
  const std::pair<double, TrendReading> cases[] = {{-2.01, TrendReading::ReliabilityGrows},
                                                   {-2, TrendReading::NoClearTrend},
                                                   {1.9, TrendReading::NoClearTrend},
                                                   {2.01, TrendReading::ReliabilityFalls}};
  for (const auto& [u, reading] : cases) EXPECT_EQ(ReadLaplaceFactor(u), reading) << u;
}

TEST(Trend, FailureTruncatedFactorOnTimes) {
  // Three earlier times averaging 2 against 10 / 2, sd 10 / sqrt(36): u = -3 / (10 / 6).
  const TrendAnalysis trend = AnalyseTrend(FailureTimesInDays({1, 2, 3, 10}));
  EXPECT_NEAR(trend.laplace_factor, -1.8, 1e-12);
  ASSERT_EQ(trend.running_laplace.size(), 2u);
  EXPECT_NEAR(trend.running_laplace[0].y, (1.5 - 1.5) / 3, 1e-12);
  EXPECT_EQ(trend.running_mean_time_between_failures.back().y, 2.5);
}

TEST(Trend, GroupedFactorIsKanounsOnEqualIntervals) {
  // Kanoun: (sum (i-1) n_i - (k-1)/2 sum n_i) / sqrt((k^2-1)/12 sum n_i) = -6.5 / sqrt(13.75).
  const TrendAnalysis trend = AnalyseTrend(FailureCountsInDays({2, 4, 6, 8}, {5, 3, 2, 1}));
  EXPECT_NEAR(trend.laplace_factor, -6.5 / std::sqrt(13.75), 1e-12);
  EXPECT_EQ(trend.running_laplace.size(), 3u);
  EXPECT_EQ(trend.running_mean_time_between_failures.back().y, 8.0 / 11);
}

TEST(Trend, Sys1ShowsReliabilityGrowth) {
  const TrendAnalysis trend = AnalyseTrend(Sys1());
  EXPECT_EQ(trend.reading, TrendReading::ReliabilityGrows);
  EXPECT_EQ(trend.running_laplace.size(), 134u);
}

}  // namespace
}  // namespace teravo
