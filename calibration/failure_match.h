#pragma once

#include <span>
#include <vector>

#include "reliability/failure_data.h"

namespace teravo {

// Where the simulation is held against the data: times in days, ascending and distinct, and
// the failures observed by each (cumulative).
struct MatchPoints {
  std::vector<double> times;
  std::vector<double> counts;
};

// Failure times give the i-th failure at t_i (failures at one time count once, at the
// highest number); counts give the cumulative count at each interval end. Long data keep at
// most `most` points, evenly by number, the last always among them.
MatchPoints MatchPointsOf(const FailureData& data, int most);

// The name the output gives the distance below.
inline constexpr const char* kDistanceName = "девиация Пуассона приращений накопленного числа";

// Poisson deviance of the increments of two cumulative curves read at the same times, from
// zero at time zero: 2 * sum (o ln(o / e) - (o - e)). An expected increment below a small
// floor counts as the floor: a mean over a few plays may not grow between two times at which
// failures were seen.
double PoissonDeviance(std::span<const double> observed, std::span<const double> expected);

}  // namespace teravo
