#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace teravo {

// Where the seed of every play comes from. The program reads the UTC clock; tests and the
// headless runner hand out fixed seeds.
class SeedSource {
 public:
  virtual ~SeedSource() = default;
  virtual std::uint32_t NextSeed() = 0;
  // The first of `count` seeds handed out at once, first ... first + count - 1 (mod 2^32),
  // for the plays of a series. The clock gives its reading; fixed seeds move on by `count`.
  virtual std::uint32_t NextSeeds(std::uint32_t /*count*/) { return NextSeed(); }
};

// Milliseconds since UTC midnight of a point in time (0 ... 86 399 999).
std::uint32_t MillisecondsSinceUtcMidnight(std::chrono::system_clock::time_point t);

// Seeds from the UTC time of day in milliseconds. Two plays started within the same
// millisecond would repeat each other exactly, so it never hands out the seed it handed
// out last: while the clock still reads that millisecond it waits for the next one.
class ClockSeedSource : public SeedSource {
 public:
  using Clock = std::function<std::chrono::system_clock::time_point()>;
  explicit ClockSeedSource(Clock clock = [] { return std::chrono::system_clock::now(); });
  std::uint32_t NextSeed() override;

 private:
  Clock clock_;
  bool hasLast_ = false;
  std::uint32_t last_ = 0;
};

// Seeds first, first + 1, first + 2, ... (mod 2^32): play k of a run gets first + k - 1.
class FixedSeedSource : public SeedSource {
 public:
  explicit FixedSeedSource(std::uint32_t first) : next_(first) {}
  std::uint32_t NextSeed() override { return next_++; }
  std::uint32_t NextSeeds(std::uint32_t count) override {
    const std::uint32_t first = next_;
    next_ += count;
    return first;
  }

 private:
  std::uint32_t next_;
};

}  // namespace teravo
