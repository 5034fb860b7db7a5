#include "model/seed_source.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

namespace teravo {
namespace {

using namespace std::chrono;

TEST(SeedSourceTest, MillisecondsSinceUtcMidnight) {
  const sys_days day = 2024y / March / 1;
  struct Case {
    const char* name;
    system_clock::time_point t;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {"midnight", day, 0u},
      {"one ms before midnight", day - 1ms, 86399999u},
      {"afternoon", day + 13h + 45min + 10s + 123ms, ((13u * 60 + 45) * 60 + 10) * 1000 + 123},
      {"sub-millisecond part dropped", day + 5ms + 999us, 5u},
      {"before the epoch", sys_days{1969y / December / 31} + 1h, 3600000u},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MillisecondsSinceUtcMidnight(c.t), c.expected) << c.name;
  }
}

// A clock that reads the given milliseconds after midnight, one per call, then stays.
struct FakeClock {
  std::vector<int> readings;
  std::size_t calls = 0;
  ClockSeedSource::Clock Clock() {
    return [this] {
      const int ms = readings[std::min(calls, readings.size() - 1)];
      ++calls;
      return system_clock::time_point(sys_days{2024y / March / 1} + milliseconds(ms));
    };
  }
};

TEST(SeedSourceTest, ClockSeedNeverRepeatsTheLastSeed) {
  FakeClock fake{{5, 5, 5, 6, 6, 9, 9, 9, 86399999, 0}};
  ClockSeedSource source(fake.Clock());
  EXPECT_EQ(source.NextSeed(), 5u);
  EXPECT_EQ(fake.calls, 1u);
  EXPECT_EQ(source.NextSeed(), 6u);  // waits out the two readings of 5
  EXPECT_EQ(fake.calls, 4u);
  EXPECT_EQ(source.NextSeed(), 9u);
  EXPECT_EQ(fake.calls, 6u);
  EXPECT_EQ(source.NextSeed(), 86399999u);
  EXPECT_EQ(fake.calls, 9u);
  EXPECT_EQ(source.NextSeed(), 0u);  // midnight passed
}

TEST(SeedSourceTest, ClockSeedTakesTheFirstReadingAsItIs) {
  FakeClock fake{{0}};
  ClockSeedSource source(fake.Clock());
  EXPECT_EQ(source.NextSeed(), 0u);
  EXPECT_EQ(fake.calls, 1u);
}

TEST(SeedSourceTest, RealClockGivesDistinctSeedsInARow) {
  ClockSeedSource source;
  std::uint32_t last = source.NextSeed();
  for (int i = 0; i < 3; ++i) {
    const std::uint32_t next = source.NextSeed();
    EXPECT_NE(next, last);
    EXPECT_LT(next, 86400000u);
    last = next;
  }
}

TEST(SeedSourceTest, FixedSeedsCountUpAndWrap) {
  FixedSeedSource source(0xFFFFFFFEu);
  EXPECT_EQ(source.NextSeed(), 0xFFFFFFFEu);
  EXPECT_EQ(source.NextSeed(), 0xFFFFFFFFu);
  EXPECT_EQ(source.NextSeed(), 0u);
}

}  // namespace
}  // namespace teravo
