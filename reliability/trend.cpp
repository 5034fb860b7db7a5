#include "reliability/trend.h"

#include <cmath>

namespace teravo {
namespace {

// Failure-truncated Laplace factor of the first k times (k >= 3): the mean of the first
// k-1 times against half the k-th, in units of its standard deviation under a constant rate.
double TimesLaplace(double sum_before, int k, double last) {
  const double m = k - 1;
  return (sum_before / m - last / 2) / (last * std::sqrt(1 / (12 * m)));
}

// Grouped Laplace factor: under a constant rate each failure falls in interval j with
// probability (its length) / T, and scores the interval's middle c_j; the score's mean is
// T / 2 and its variance sum p_j c_j^2 - (T / 2)^2.
class GroupedLaplace {
 public:
  void Add(double start, double end, std::int64_t count) {
    const double middle = (start + end) / 2;
    weighted_middle_squares_ += (end - start) * middle * middle;
    failure_score_ += static_cast<double>(count) * middle;
    failures_ += static_cast<double>(count);
    end_ = end;
  }
  double Factor() const {
    const double variance = weighted_middle_squares_ / end_ - end_ * end_ / 4;
    if (failures_ == 0 || variance <= 0) return 0;
    return (failure_score_ - failures_ * end_ / 2) / std::sqrt(failures_ * variance);
  }

 private:
  double weighted_middle_squares_ = 0;
  double failure_score_ = 0;
  double failures_ = 0;
  double end_ = 0;
};

}  // namespace

TrendReading ReadLaplaceFactor(double u) {
  if (u < -2) return TrendReading::ReliabilityGrows;
  if (u > 2) return TrendReading::ReliabilityFalls;
  return TrendReading::NoClearTrend;
}

TrendAnalysis AnalyseTrend(const FailureData& data) {
  TrendAnalysis trend;
  if (data.IsCounts()) {
    GroupedLaplace laplace;
    double start = 0;
    std::int64_t failures = 0;
    for (std::size_t j = 0; j < data.interval_ends.size(); ++j) {
      const double end = data.interval_ends[j];
      laplace.Add(start, end, data.counts[j]);
      failures += data.counts[j];
      start = end;
      if (j > 0) trend.running_laplace.push_back({end, laplace.Factor()});
      if (failures > 0) {
        trend.running_mean_time_between_failures.push_back(
            {end, end / static_cast<double>(failures)});
      }
    }
    trend.laplace_factor = laplace.Factor();
  } else {
    double sum_before = 0;
    for (std::size_t i = 0; i < data.times.size(); ++i) {
      const double t = data.times[i];
      const int k = static_cast<int>(i) + 1;
      if (k >= 3) trend.running_laplace.push_back({t, TimesLaplace(sum_before, k, t)});
      trend.running_mean_time_between_failures.push_back({t, t / k});
      sum_before += t;
    }
    if (!trend.running_laplace.empty()) trend.laplace_factor = trend.running_laplace.back().y;
  }
  trend.reading = ReadLaplaceFactor(trend.laplace_factor);
  return trend;
}

}  // namespace teravo
