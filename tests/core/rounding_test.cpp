#include "core/rounding.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>
#include <string_view>

#include "core/general_error.h"

namespace teravo {
namespace {

constexpr long double kInf = std::numeric_limits<long double>::infinity();
constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();

template <typename F>
std::string ErrorOf(F&& f) {
  try {
    f();
  } catch (const GeneralError& e) {
    return e.what();
  }
  return "no error";
}

TEST(RoundTiesEven, TiesGoToTheEvenNeighbour) {
  const std::pair<long double, std::int64_t> cases[] = {
      {2.5L, 2},
      {3.5L, 4},
      {-2.5L, -2},
      {-3.5L, -4},
      {0.5L, 0},
      {1.5L, 2},
      {2.4L, 2},
      {2.6L, 3},
      {-0.4L, 0},
      {-2.6L, -3},
      {0.49999999999L, 0},
      {7, 7},
      {9223372036854775806.5L, 9223372036854775806}};
  for (const auto& [value, expected] : cases) EXPECT_EQ(RoundTiesEven(value), expected) << value;
  // Independent of the FPU mode another library may have left behind.
  std::fesetround(FE_UPWARD);
  EXPECT_EQ(RoundTiesEven(2.5L), 2);
  EXPECT_EQ(RoundTiesEven(-3.5L), -4);
  std::fesetround(FE_TONEAREST);
}

TEST(RoundTiesEven, RefusesWhatNoInt64Holds) {
  const std::string_view invalid(kInvalidOperation);
  for (long double v : {kNaN, kInf, -kInf, 9223372036854775808.0L, 9223372036854775807.5L,
                        -9223372036854775809.0L}) {
    EXPECT_EQ(ErrorOf([&] { RoundTiesEven(v); }), invalid) << v;
  }
  EXPECT_EQ(RoundTiesEven(-9223372036854775808.0L), std::numeric_limits<std::int64_t>::min());
}

TEST(RoundToInt32, RangeCheck) {
  EXPECT_EQ(RoundToInt32(2147483647.4L), 2147483647);
  EXPECT_EQ(RoundToInt32(-2147483648.5L), -2147483647 - 1);
  EXPECT_EQ(ErrorOf([] { RoundToInt32(2147483647.5L); }), kRangeCheck);
  EXPECT_EQ(ErrorOf([] { RoundToInt32(-2147483649.0L); }), kRangeCheck);
}

TEST(CheckedArithmetic, RaisesInsteadOfSilentInfinitiesAndNaNs) {
  EXPECT_EQ(CheckedDiv(1, 4), 0.25L);
  EXPECT_EQ(CheckedDiv(1, kInf), 0);
  EXPECT_EQ(ErrorOf([] { CheckedDiv(1, 0); }), kDivisionByZero);
  EXPECT_EQ(ErrorOf([] { CheckedDiv(-1, -0.0L); }), kDivisionByZero);
  EXPECT_EQ(ErrorOf([] { CheckedDiv(0, 0); }), kInvalidOperation);
  EXPECT_EQ(ErrorOf([] { CheckedDiv(kNaN, 0); }), kInvalidOperation);
  EXPECT_EQ(ErrorOf([] { CheckedDiv(kInf, kInf); }), kInvalidOperation);
  EXPECT_EQ(ErrorOf([] { CheckedDiv(1E4000L, 1E-4000L); }), kOverflow);
  EXPECT_EQ(ErrorOf([] { CheckedResult(kInf); }), kOverflow);
  EXPECT_EQ(ErrorOf([] { CheckedResult(kNaN); }), kInvalidOperation);
  EXPECT_EQ(CheckedResult(-3), -3);
}

TEST(CheckedArithmetic, ToDoubleRoundsAndRefusesOverflow) {
  EXPECT_EQ(ToDouble(0.1L), 0.1);
  EXPECT_EQ(ToDouble(std::numeric_limits<double>::max()), std::numeric_limits<double>::max());
  EXPECT_EQ(ToDouble(1E-400L), 0);
  EXPECT_EQ(ErrorOf([] { ToDouble(1E400L); }), kOverflow);
  EXPECT_EQ(ErrorOf([] { ToDouble(-1E309L); }), kOverflow);
  EXPECT_EQ(ErrorOf([] { ToDouble(kNaN); }), kInvalidOperation);
  // Halfway between the largest double and 2^1024 the tie goes to the even 2^1024: overflow.
  // Just below it, the largest double.
  constexpr long double kHalfway = 0x1.fffffffffffff8p+1023L;
  const long double below = std::nextafter(kHalfway, 0.0L);
  EXPECT_EQ(ToDouble(below), std::numeric_limits<double>::max());
  EXPECT_EQ(ToDouble(-below), -std::numeric_limits<double>::max());
  for (const long double v : {kHalfway, -kHalfway, std::numeric_limits<long double>::infinity()}) {
    EXPECT_EQ(ErrorOf([v] { ToDouble(v); }), kOverflow) << static_cast<double>(v);
  }
}

}  // namespace
}  // namespace teravo
