#include "calibration/failure_match.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace teravo {
namespace {

TEST(MatchPointsOf, FailureTimesCountOnceAtTheHighestNumberOfATime) {
  const MatchPoints points = MatchPointsOf(FailureTimesInDays({0.5, 1, 1, 2}), 100);
  EXPECT_EQ(points.times, (std::vector<double>{0.5, 1, 2}));
  EXPECT_EQ(points.counts, (std::vector<double>{1, 3, 4}));
}

TEST(MatchPointsOf, CountsAccumulateAtIntervalEnds) {
  const MatchPoints points = MatchPointsOf(FailureCountsInDays({1, 2, 3}, {4, 0, 2}), 100);
  EXPECT_EQ(points.times, (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(points.counts, (std::vector<double>{4, 4, 6}));
}

TEST(MatchPointsOf, LongDataKeepEvenlySpacedPointsAndTheLast) {
  std::vector<double> times;
  for (int i = 1; i <= 250; ++i) times.push_back(i);
  const MatchPoints points = MatchPointsOf(FailureTimesInDays(times), 100);
  ASSERT_EQ(points.times.size(), 100u);
  EXPECT_EQ(points.counts.front(), 3);  // ceil(250 / 100)
  EXPECT_EQ(points.counts.back(), 250);
  for (std::size_t j = 0; j < points.times.size(); ++j) {
    EXPECT_EQ(points.times[j], points.counts[j]);
    if (j > 0) {
      EXPECT_LE(points.counts[j] - points.counts[j - 1], 3);
    }
  }
}

struct DevianceCase {
  std::vector<double> observed;
  std::vector<double> expected;
  double deviance;
};

class PoissonDevianceTest : public testing::TestWithParam<DevianceCase> {};

TEST_P(PoissonDevianceTest, SumsOverIncrements) {
  const DevianceCase& c = GetParam();
  EXPECT_NEAR(PoissonDeviance(c.observed, c.expected), c.deviance, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PoissonDevianceTest,
    testing::Values(
        // A perfect match costs nothing.
        DevianceCase{{2, 5, 9}, {2, 5, 9}, 0},
        // One increment 2 where 1 was expected: 2 (2 ln 2 - 1).
        DevianceCase{{2}, {1}, 2 * (2 * std::log(2.0) - 1)},
        // Increments, not levels: 2 then 0 against 1 then 1 (levels 2, 2 against 1, 2).
        DevianceCase{{2, 2}, {1, 2}, 2 * (2 * std::log(2.0) - 1) + 2},
        // No growth expected where a failure was seen: the floor of a tenth of a failure.
        DevianceCase{{1}, {0}, 2 * (std::log(10.0) - 0.9)}));

}  // namespace
}  // namespace teravo
