#pragma once

#include <vector>

#include "reliability/failure_data.h"

namespace teravo {

// How the Laplace factor reads: below -2 reliability grows, above +2 it falls (at about the
// 5 % level, two-sided); between, the data show no clear trend.
enum class TrendReading { ReliabilityGrows, NoClearTrend, ReliabilityFalls };

TrendReading ReadLaplaceFactor(double u);

struct SeriesPoint {
  double x = 0;  // time, days (or the interval end for counts)
  double y = 0;
};

struct TrendAnalysis {
  // The Laplace factor of all the data. Failure times: the failure-truncated form, where
  // observation ends at the last failure (n-1 earlier times against t_n / 2). Counts: the
  // grouped form, each failure at the middle of its interval; with equal intervals it is
  // Kanoun's grouped Laplace test.
  double laplace_factor = 0;
  TrendReading reading = TrendReading::NoClearTrend;
  // The same factor over the data up to each failure (from the third) or each interval (from
  // the second), for a chart.
  std::vector<SeriesPoint> running_laplace;
  // The running arithmetic mean of the times between failures, days: t_k / k at each failure,
  // or T_j / (failures up to interval j) at each interval with a failure so far.
  std::vector<SeriesPoint> running_mean_time_between_failures;
};

// The data must hold at least two failure times or two intervals with failures.
TrendAnalysis AnalyseTrend(const FailureData& data);

}  // namespace teravo
