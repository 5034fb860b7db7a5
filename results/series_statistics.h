#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "results/play_record.h"

namespace teravo {

// How values scatter around their mean: the sample standard deviation and the half-width of
// the 95 % confidence interval of the mean (Student's t with n - 1 degrees of freedom).
// Empty for fewer than two values, which give no interval.
std::optional<PlayRecord::Spread> SpreadOf(std::span<const long double> values);

// The p-th quantile (0 <= p <= 1) of values sorted ascending, interpolated linearly between
// the order statistics (the common "type 7" definition).
long double QuantileOfSorted(std::span<const double> sorted, long double p);

// Sorts the values of the plays at one point of a curve after another. Between neighbouring
// points most plays keep their value or their place, so the values are taken in the order of
// the last point and mostly only checked. The sorted values are those std::sort gives; no
// value may be NaN (a play's points never are).
class PointSorter {
 public:
  explicit PointSorter(std::size_t plays);
  // values[k]: the value of play k. The result lives until the next call.
  std::span<const double> Sort(std::span<const double> values);

 private:
  std::vector<std::size_t> order_;  // the plays, by their value at the last point
  std::vector<double> sorted_;
};

// The spread of every averaged field of `plays` (their texts read back, as the means are) and
// the band between the 5th and 95th percentiles at each point of the four curves over time.
void FormSpreads(const std::vector<std::shared_ptr<PlayRecord>>& plays, PlayRecord& averages);

// The averages of a series: the means of the averaged fields over the plays as their windows
// show them (integer means to the nearest integer, a tie to the even neighbour), the same
// means unrounded, their spreads, and the point-by-point means of the charts with their
// bands. edCurTime is left to the caller.
void FormAverages(const std::vector<std::shared_ptr<PlayRecord>>& plays, PlayRecord& averages);

}  // namespace teravo
