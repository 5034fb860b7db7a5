#include "model/random_source.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace teravo {
namespace {

std::uint32_t NextSeed(std::uint32_t seed) {
  return seed * 134775813u + 1u;
}
long double UniformOf(std::uint32_t seed) {
  return std::ldexp(static_cast<long double>(seed), -32);
}

// The seed from which the next draw is exactly 0.
std::uint32_t SeedBeforeZeroDraw() {
  std::uint32_t inverse = 134775813u;  // Newton's iteration for the inverse mod 2^32
  for (int i = 0; i < 5; ++i) inverse *= 2u - 134775813u * inverse;
  return 0u - inverse;
}

TEST(RandomSourceTest, FirstDrawsFromSeedZero) {
  RandomSource r;
  EXPECT_EQ(r.RandomUniform(), std::ldexp(1.0, -32));
  EXPECT_EQ(r.Seed, 1u);
  EXPECT_EQ(r.RandomUniform(), std::ldexp(134775814.0, -32));
  EXPECT_EQ(r.Seed, 134775814u);
  EXPECT_EQ(r.Draws, 2u);
}

TEST(RandomSourceTest, UniformWrapsModulo2To32AndStaysBelowOne) {
  RandomSource r;
  r.Seed = 0xFFFFFFFFu;
  const double draw = r.RandomUniform();
  EXPECT_EQ(r.Seed, NextSeed(0xFFFFFFFFu));
  EXPECT_EQ(draw, static_cast<double>(UniformOf(r.Seed)));
  for (int i = 0; i < 10000; ++i) {
    const double d = r.RandomUniform();
    ASSERT_GE(d, 0.0);
    ASSERT_LT(d, 1.0);
  }
  EXPECT_EQ(r.Draws, 10001u);
}

TEST(RandomSourceTest, ChanceEdges) {
  const std::uint32_t beforeZero = SeedBeforeZeroDraw();
  ASSERT_EQ(NextSeed(beforeZero), 0u);
  struct Case {
    const char* name;
    std::uint32_t seed;
    double p;
    bool expected;
  };
  const double drawFrom7 = static_cast<double>(UniformOf(NextSeed(7)));
  const Case cases[] = {
      {"p 0, draw 0", beforeZero, 0.0, true},
      {"p 0, draw above 0", 7, 0.0, false},
      {"p below 0, draw 0", beforeZero, -0.25, false},
      {"p equal to the draw", 7, drawFrom7, true},
      {"p just below the draw", 7, std::nextafter(drawFrom7, 0.0), false},
      {"p 1", 0xFFFFFFFFu, 1.0, true},
      {"p above 1", 12345, 3.0, true},
  };
  for (const Case& c : cases) {
    RandomSource r;
    r.Seed = c.seed;
    EXPECT_EQ(r.Chance(c.p), c.expected) << c.name;
    EXPECT_EQ(r.Draws, 1u) << c.name;
  }
}

TEST(RandomSourceTest, GaussWithZeroSpreadReturnsTheMeanExactly) {
  RandomSource r;
  r.Seed = 99;
  for (const double mean : {0.0, 0.999999, 0.123456789, -2.5}) {
    EXPECT_EQ(r.RandomGauss(mean, 0), mean);
  }
}

// The polar method draws u before v and repeats the whole pair while s >= 1.
TEST(RandomSourceTest, GaussDrawsUThenVAndRejectsPairsOutsideTheCircle) {
  auto pairAt = [](std::uint32_t seed, long double& u, long double& v, std::uint32_t& after) {
    const std::uint32_t s1 = NextSeed(seed);
    const std::uint32_t s2 = NextSeed(s1);
    u = 2 * UniformOf(s1) - 1;
    v = 2 * UniformOf(s2) - 1;
    after = s2;
    return u * u + v * v;
  };
  // A seed whose first pair is rejected and whose second is taken.
  std::uint32_t seed = 0;
  long double u = 0, v = 0;
  std::uint32_t after = 0;
  for (;; ++seed) {
    if (pairAt(seed, u, v, after) < 1) continue;
    if (pairAt(after, u, v, after) < 1) break;
  }
  const long double s = u * u + v * v;
  const double expected = static_cast<double>(std::sqrt(-2 * std::log(s) / s) * u * 0.25L + 0.5L);

  RandomSource r;
  r.Seed = seed;
  EXPECT_EQ(r.RandomGauss(0.5L, 0.25L), expected);
  EXPECT_EQ(r.Draws, 4u);
  EXPECT_EQ(r.GaussDraws, 1u);  // one value, however many pairs it took
  EXPECT_EQ(r.Seed, after);
  // Swapping u and v gives a different value unless they happen to coincide.
  ASSERT_NE(u, v);
  const double swapped = static_cast<double>(std::sqrt(-2 * std::log(s) / s) * v * 0.25L + 0.5L);
  EXPECT_NE(expected, swapped);
}

TEST(RandomSourceTest, GaussIsNormalInTheLarge) {
  RandomSource r;
  r.Seed = 2024;
  const int n = 200000;
  long double sum = 0, sumSquares = 0;
  for (int i = 0; i < n; ++i) {
    const double x = r.RandomGauss(3, 2);
    sum += x;
    sumSquares += static_cast<long double>(x) * x;
  }
  const long double mean = sum / n;
  const long double variance = sumSquares / n - mean * mean;
  EXPECT_NEAR(static_cast<double>(mean), 3.0, 0.02);
  EXPECT_NEAR(static_cast<double>(std::sqrt(variance)), 2.0, 0.02);
  // About 4/pi draws per value: the pair acceptance rate of the polar method is pi/4.
  EXPECT_NEAR(static_cast<double>(r.Draws) / n, 2 * 4 / 3.14159265358979, 0.02);
}

}  // namespace
}  // namespace teravo
