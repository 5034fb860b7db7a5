#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace teravo {

// What testing and maintenance cost, and what a failure after the release costs.
struct CostQuestion {
  double perProgrammerDay = 0;  // one programmer's day of testing and maintenance
  double perFailure = 0;        // one failure after the release
  double horizon = 0;           // days from the start: failures after it are not counted
};

// The cost of releasing at time t, in one play:
//   cost(t) = programmers × perProgrammerDay × t + perFailure × (F(horizon) − F(t)),
// F the play's failures so far (the failures chart). Testing until t is paid by the day;
// every failure between the release and the horizon is paid on its own.
struct ReleaseCost {
  std::vector<double> times;  // release times, from the start to the horizon
  std::vector<double> mean;   // the expected cost over the plays
  std::vector<double> low;    // its 5th percentile over the plays
  std::vector<double> high;   // the 95th
  std::size_t best = 0;       // the index of the least expected cost (the earliest of equals)
  std::int32_t plays = 0;
  std::int32_t programmers = 0;
};

// The cost curve from every play's failures (`failures[k][j]` at `times[j]`, ascending); the
// times past the horizon are left out, and the horizon must be one of the times.
ReleaseCost ReleaseCostOf(const std::vector<std::vector<double>>& failures,
                          const std::vector<double>& times, std::int32_t programmers,
                          const CostQuestion& question);

}  // namespace teravo
