#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "core/general_error.h"
#include "results/chart_series.h"

namespace teravo {
namespace {

struct InsertionCase {
  const char* name;
  std::vector<double> xs;         // added in this order, y = order of addition
  std::vector<double> expectedY;  // y by index afterwards
};

TEST(ChartSeries, KeepsAscendingXWithEqualXInOrderOfAddition) {
  const std::vector<InsertionCase> cases = {
      {"ascending", {0, 1, 2}, {0, 1, 2}},
      {"equal x appended", {1, 1, 1}, {0, 1, 2}},
      {"smaller x inserted before", {2, 3, 1}, {2, 0, 1}},
      {"smaller x after existing equals", {1, 1, 3, 1}, {0, 1, 3, 2}},
      {"smallest goes first", {5, 4, 3}, {2, 1, 0}},
  };
  for (const auto& c : cases) {
    ChartSeries series;
    for (std::size_t i = 0; i < c.xs.size(); ++i) series.AddXY(c.xs[i], static_cast<double>(i));
    ASSERT_EQ(series.Count(), static_cast<int>(c.expectedY.size())) << c.name;
    for (int i = 0; i < series.Count(); ++i) {
      EXPECT_EQ(series.YValue(i), c.expectedY[static_cast<std::size_t>(i)]) << c.name << " " << i;
      if (i > 0) {
        EXPECT_LE(series.XValue(i - 1), series.XValue(i)) << c.name;
      }
    }
  }
}

// A series told to expect steps and counts reads back bit for bit what a plain series does,
// whether the points keep those promises or break them.
TEST(ChartSeries, ExpectingStepsAndCountsReadsBackWhatWasAdded) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* name;
    long double step;
    std::vector<std::pair<double, double>> points;
  };
  const double third = static_cast<double>(1.0L / 3);
  const double twoThirds = static_cast<double>(2 * (1.0L / 3));
  const std::vector<Case> cases = {
      {"steps and counts", 0.5L, {{0, 3}, {0.5, 4}, {1, -2}}},
      {"rounded steps", 1.0L / 3, {{0, 1}, {third, 2}, {twoThirds, 3}}},
      {"a y that is no count", 0.5L, {{0, 3}, {0.5, 0.25}, {1, 2}}},
      {"negative zero", 0.5L, {{0, 1}, {0.5, -0.0}, {1, 0}}},
      {"beyond 32 bits", 1, {{0, 2147483647.0}, {1, 2147483648.0}, {2, -2147483649.0}}},
      {"NaN y", 1, {{0, 1}, {1, kNaN}, {2, 1}}},
      {"an x off the step", 1, {{0, 1}, {1.5, 2}, {2, 3}}},
      {"an x going back", 1, {{0, 1}, {1, 2}, {0.5, 3}, {3, 4}}},
      {"a negative step", -1, {{0, 1}, {-1, 2}, {-2, 3}}},
  };
  const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
  for (const Case& c : cases) {
    ChartSeries compact;
    compact.ExpectSteps(c.step);
    compact.ExpectCounts();
    ChartSeries plain;
    for (const auto& [x, y] : c.points) {
      compact.AddXY(x, y);
      plain.AddXY(x, y);
    }
    ASSERT_EQ(compact.Count(), plain.Count()) << c.name;
    for (int i = 0; i < plain.Count(); ++i) {
      EXPECT_EQ(bits(compact.XValue(i)), bits(plain.XValue(i))) << c.name << " x " << i;
      EXPECT_EQ(bits(compact.YValue(i)), bits(plain.YValue(i))) << c.name << " y " << i;
    }
  }
}

TEST(ChartSeries, IndexOutsideTheSeriesIsAGeneralError) {
  ChartSeries series;
  series.AddXY(0, 1);
  for (const auto& [index, text] : {std::pair{-1, "List index out of bounds (-1)"},
                                    std::pair{1, "List index out of bounds (1)"},
                                    std::pair{5, "List index out of bounds (5)"}}) {
    try {
      series.YValue(index);
      FAIL() << index;
    } catch (const GeneralError& e) {
      EXPECT_STREQ(e.what(), text);
    }
  }
  EXPECT_THROW(series.XValue(1), GeneralError);
  EXPECT_THROW(series.SetYValue(-1, 0), GeneralError);
  EXPECT_THROW(ChartSeries().YValue(0), GeneralError);
}

TEST(ChartSeries, EveryChangeGrowsTheVersionAndClearRefills) {
  ChartSeries series;
  auto v = series.Version();
  series.AddXY(1, 1);
  EXPECT_GT(series.Version(), v);
  v = series.Version();
  series.SetYValue(0, 2);
  EXPECT_GT(series.Version(), v);
  v = series.Version();
  series.Clear();
  EXPECT_GT(series.Version(), v);
  EXPECT_EQ(series.Count(), 0);
  series.AddXY(7, 8);
  ASSERT_EQ(series.Count(), 1);
  EXPECT_EQ(series.XValue(0), 7);
  EXPECT_EQ(series.YValue(0), 8);
}

TEST(ChartSeries, AccumulateAddsByIndexAndAppendsTheRest) {
  ChartSeries target;
  target.AddXY(0, 1);
  ChartSeries source;
  source.AddXY(10, 2);  // its x is not used where the target has the point
  source.AddXY(11, 3);
  AccumulateSeries(source, target);
  ASSERT_EQ(target.Count(), 2);
  EXPECT_EQ(target.XValue(0), 0);
  EXPECT_EQ(target.YValue(0), 3);
  EXPECT_EQ(target.XValue(1), 11);
  EXPECT_EQ(target.YValue(1), 3);

  ScaleSeries(target, 0.5);
  EXPECT_EQ(target.YValue(0), 1.5);
  EXPECT_EQ(target.YValue(1), 1.5);
  EXPECT_EQ(target.XValue(1), 11);
}

}  // namespace
}  // namespace teravo
