#pragma once

#include <cmath>
#include <string>

#include "reliability/failure_data.h"

namespace teravo {

// SYS1 (tests/data/README.md): 136 failure times, CPU seconds, held in days.
inline FailureData Sys1() {
  return ReadFailureFile(std::string(TERAVO_TEST_DATA_DIR) + "/SYS1.csv",
                         {DataLayout::FailureTimes, TimeUnit::Seconds});
}

// NTDS (tests/data/README.md): 26 failure times in days.
inline FailureData Ntds() {
  return ReadFailureFile(std::string(TERAVO_TEST_DATA_DIR) + "/NTDS.csv",
                         {DataLayout::FailureTimes, TimeUnit::Days});
}

// SYS1 grouped into counts per 0.1 day (the last interval ends at the last failure).
inline FailureData Sys1InTenthDayCounts() {
  const FailureData times = Sys1();
  std::vector<double> ends;
  std::vector<std::int64_t> counts;
  for (const double t : times.times) {
    const double end = std::min(std::ceil(t / 0.1) * 0.1, times.LastTime());
    if (ends.empty() || ends.back() < end) {
      ends.push_back(end);
      counts.push_back(0);
    }
    ++counts.back();
  }
  return FailureCountsInDays(ends, counts);
}

}  // namespace teravo
