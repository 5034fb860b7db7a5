#include "reliability/model_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

#include "reliability/failure_data.h"
#include "tests/reliability/failure_samples.h"

namespace teravo {
namespace {

// A root of a sign-changing function by plain bisection: the tests' own solver.
double Bisect(const std::function<double(double)>& f, double low, double high) {
  const bool rising = f(low) < 0;
  for (int i = 0; i < 200; ++i) {
    const double middle = (low + high) / 2;
    if ((f(middle) < 0) == rising) {
      low = middle;
    } else {
      high = middle;
    }
  }
  return (low + high) / 2;
}

// Goel-Okumoto on failure times observed to the last one: d/db of the profile likelihood,
// n / b - sum t_i - n T e^{-bT} / (1 - e^{-bT}).
double GoTimesScore(const std::vector<double>& times, double b) {
  const double n = static_cast<double>(times.size());
  const double end = times.back();
  double sum = 0;
  for (const double t : times) sum += t;
  return n / b - sum - n * end * std::exp(-b * end) / -std::expm1(-b * end);
}

// The same on counts: sum k_j (d/db dG_j) / dG_j - N (d/db G(T)) / G(T), G = 1 - e^{-bt}.
double GoCountsScore(const FailureData& data, double b) {
  double score = 0;
  double start = 0;
  double failures = 0;
  for (std::size_t j = 0; j < data.counts.size(); ++j) {
    const double end = data.interval_ends[j];
    const double increment = std::exp(-b * start) - std::exp(-b * end);
    const double slope = end * std::exp(-b * end) - start * std::exp(-b * start);
    score += static_cast<double>(data.counts[j]) * slope / increment;
    failures += static_cast<double>(data.counts[j]);
    start = end;
  }
  return score - failures * start * std::exp(-b * start) / -std::expm1(-b * start);
}

TEST(GoelOkumotoFit, MatchesThePublishedSys1Estimates) {
  const FailureData data = Sys1();
  const ModelFit fit = FitGrowthModel(GrowthModel::GoelOkumoto, data, {});
  ASSERT_EQ(fit.status, FitStatus::Converged);
  const double b_per_second = fit.parameters[1] / 86400;
  EXPECT_NEAR(fit.parameters[0], 142.88, 0.005);
  EXPECT_NEAR(b_per_second, 3.4204e-5, 0.00005e-5);
  EXPECT_NEAR(fit.log_likelihood_in_file_unit, -974.81, 0.005);
  // The unit moves a time likelihood by n ln(days per unit), nothing else.
  EXPECT_NEAR(fit.log_likelihood - fit.log_likelihood_in_file_unit, 136 * std::log(86400.0), 1e-9);

  std::vector<double> seconds;
  for (const double t : data.times) seconds.push_back(t * 86400);
  const double b = Bisect([&](double x) { return GoTimesScore(seconds, x); }, 1e-7, 1e-3);
  EXPECT_NEAR(b_per_second / b, 1, 1e-7);
  EXPECT_NEAR(fit.parameters[0], 136 / -std::expm1(-b * seconds.back()), 1e-5);
}

TEST(GoelOkumotoFit, MatchesThePublishedNtdsEstimates) {
  const ModelFit fit = FitGrowthModel(GrowthModel::GoelOkumoto, Ntds(), {});
  ASSERT_EQ(fit.status, FitStatus::Converged);
  EXPECT_NEAR(fit.parameters[0], 33.99, 0.005);
  EXPECT_NEAR(fit.parameters[1], 0.00579, 0.000005);
}

TEST(GoelOkumotoFit, MatchesAnIndependentSolutionOnGroupedCounts) {
  const FailureData data = Sys1InTenthDayCounts();
  const ModelFit fit = FitGrowthModel(GrowthModel::GoelOkumoto, data, {});
  ASSERT_EQ(fit.status, FitStatus::Converged);
  const double b = Bisect([&](double x) { return GoCountsScore(data, x); }, 1e-3, 1e3);
  EXPECT_NEAR(fit.parameters[1] / b, 1, 1e-7);
  EXPECT_NEAR(fit.parameters[0] * -std::expm1(-b * data.LastTime()), 136, 1e-6);
}

// At every reported optimum the likelihood is flat: d ln L / d ln p_k near zero relative to
// the curvature's scale (the number of failures).
class FitOptimum : public ::testing::TestWithParam<std::tuple<GrowthModel, bool>> {};

TEST_P(FitOptimum, HasANearZeroGradient) {
  const auto [model, counts] = GetParam();
  const FailureData data = counts ? Sys1InTenthDayCounts() : Sys1();
  const ModelFit fit = FitGrowthModel(model, data, {});
  ASSERT_EQ(fit.status, FitStatus::Converged);
  for (std::size_t k = 0; k < fit.parameters.size(); ++k) {
    std::vector<double> up = fit.parameters;
    std::vector<double> down = fit.parameters;
    constexpr double h = 1e-6;
    up[k] *= std::exp(h);
    down[k] *= std::exp(-h);
    const double slope = (LogLikelihood(model, up, data, fit.end_time) -
                          LogLikelihood(model, down, data, fit.end_time)) /
                         (2 * h);
    EXPECT_LT(std::abs(slope) / 136, 1e-4) << "parameter " << k;
    ASSERT_TRUE(fit.estimates[k].lower && fit.estimates[k].upper);
    EXPECT_LT(*fit.estimates[k].lower, fit.parameters[k]);
    EXPECT_GT(*fit.estimates[k].upper, fit.parameters[k]);
  }
  EXPECT_GT(fit.ks_distance, 0);
  EXPECT_LT(fit.ks_distance, 0.3);
}

INSTANTIATE_TEST_SUITE_P(AllModels, FitOptimum,
                         ::testing::Combine(::testing::ValuesIn(kGrowthModels), ::testing::Bool()));

TEST(GoelOkumotoFit, RecoversSimulatedParametersWithinTheIntervals) {
  // Inverse transform of a unit-rate Poisson process through m^-1(s) = -ln(1 - s / a) / b.
  const double a = 300;
  const double b = 0.05;
  const double end = 40;
  std::mt19937_64 random(20240517);
  std::exponential_distribution<double> step(1.0);
  std::vector<double> times;
  for (double s = step(random); s < a * -std::expm1(-b * end); s += step(random)) {
    times.push_back(-std::log1p(-s / a) / b);
  }
  const ModelFit fit = FitGrowthModel(GrowthModel::GoelOkumoto, FailureTimesInDays(times), {}, end);
  ASSERT_EQ(fit.status, FitStatus::Converged);
  EXPECT_LT(*fit.estimates[0].lower, a);
  EXPECT_GT(*fit.estimates[0].upper, a);
  EXPECT_LT(*fit.estimates[1].lower, b);
  EXPECT_GT(*fit.estimates[1].upper, b);
}

TEST(GoelOkumotoFit, SaysSoWhenTheDataShowNoGrowth) {
  // Evenly spaced failures: the likelihood rises without end as b falls to 0.
  std::vector<double> times;
  for (int i = 1; i <= 50; ++i) times.push_back(i);
  const ModelFit fit = FitGrowthModel(GrowthModel::GoelOkumoto, FailureTimesInDays(times), {});
  EXPECT_EQ(fit.status, FitStatus::OnBound);
  EXPECT_EQ(FitStatusText(fit.status), "оценка на границе");
}

TEST(GoelOkumotoFit, ReportsAnExhaustedSearchAsNotConverged) {
  const ModelFit fit = FitGrowthModel(GrowthModel::GoelOkumoto, Sys1(), {40, 5.0});
  EXPECT_EQ(fit.status, FitStatus::NotConverged);
}

}  // namespace
}  // namespace teravo
