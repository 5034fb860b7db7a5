#include "model/seed_source.h"

#include <thread>
#include <utility>

namespace teravo {

std::uint32_t MillisecondsSinceUtcMidnight(std::chrono::system_clock::time_point t) {
  using namespace std::chrono;
  // floor, not duration_cast: a time before the epoch must still land in its own day.
  const auto ms = floor<milliseconds>(t);
  return static_cast<std::uint32_t>((ms - floor<days>(ms)).count());
}

ClockSeedSource::ClockSeedSource(Clock clock) : clock_(std::move(clock)) {}

std::uint32_t ClockSeedSource::NextSeed() {
  std::uint32_t seed = MillisecondsSinceUtcMidnight(clock_());
  while (hasLast_ && seed == last_) {
    std::this_thread::yield();
    seed = MillisecondsSinceUtcMidnight(clock_());
  }
  hasLast_ = true;
  last_ = seed;
  return seed;
}

}  // namespace teravo
