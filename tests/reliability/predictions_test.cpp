#include "reliability/predictions.h"

#include <gtest/gtest.h>

#include <cmath>

namespace teravo {
namespace {

ModelFit Fitted(GrowthModel model, std::vector<double> parameters, double end) {
  ModelFit fit;
  fit.model = model;
  fit.status = FitStatus::Converged;
  fit.parameters = std::move(parameters);
  fit.end_time = end;
  return fit;
}

// Goel-Okumoto a = 100, b = 0.1, T = 10: 100 e^{-1} failures remain; closed forms below.
TEST(Predict, MatchesGoelOkumotoClosedForms) {
  const double a = 100, b = 0.1, end = 10;
  const double remaining = a * std::exp(-b * end);
  const PredictionRequest request{5, 20, 1.5, 2, 0.5};
  const ModelPrediction p = Predict(Fitted(GrowthModel::GoelOkumoto, {a, b}, end), request);
  EXPECT_NEAR(p.expected_failures_in_horizon, remaining * -std::expm1(-b * 5), 1e-9);
  EXPECT_NEAR(*p.time_to_next_failures, -std::log(1 - 20 / remaining) / b, 1e-9);
  EXPECT_NEAR(p.current_intensity, b * remaining, 1e-12);
  EXPECT_NEAR(*p.time_to_target_intensity, std::log(b * remaining / 1.5) / b, 1e-9);
  const double in_mission = -std::expm1(-b * 2);
  EXPECT_NEAR(p.reliability_now, std::exp(-remaining * in_mission), 1e-12);
  EXPECT_NEAR(*p.test_time_to_target_reliability,
              std::log(a * in_mission / -std::log(0.5)) / b - end, 1e-9);

  // More failures than remain are never reached; a reached target takes no time.
  const ModelPrediction q =
      Predict(Fitted(GrowthModel::GoelOkumoto, {a, b}, end), {5, 40, 10, 2, 1e-9});
  EXPECT_FALSE(q.time_to_next_failures);
  EXPECT_EQ(q.time_to_target_intensity, 0.0);
  EXPECT_EQ(q.test_time_to_target_reliability, 0.0);
}

TEST(Predict, MusaOkumotoReachesAnyNumberOfFailures) {
  // m(T + x) = m(T) + N  <=>  T + x = (e^{theta (m(T) + N)} - 1) / (lambda0 theta).
  const double lambda0 = 20, theta = 0.05, end = 10;
  const double m_end = std::log1p(lambda0 * theta * end) / theta;
  const ModelPrediction p =
      Predict(Fitted(GrowthModel::MusaOkumoto, {lambda0, theta}, end), {1, 500, 1, 1, 0.5});
  EXPECT_NEAR(
      (*p.time_to_next_failures + end) / (std::expm1(theta * (m_end + 500)) / (lambda0 * theta)), 1,
      1e-9);
}

TEST(Predict, DelayedSShapedIntensityTargetIsPastThePeak) {
  // lambda = a b^2 t e^{-bt} peaks at t = 1 / b = 10, after T = 2.
  const ModelFit fit = Fitted(GrowthModel::DelayedSShaped, {100, 0.1}, 2);
  const ModelPrediction p = Predict(fit, {1, 1, 1, 1, 0.5});
  ASSERT_TRUE(p.time_to_target_intensity);
  EXPECT_GT(*p.time_to_target_intensity, 8);
  EXPECT_NEAR(Intensity(fit.model, fit.parameters, 2 + *p.time_to_target_intensity), 1, 1e-9);
}

TEST(Curves, SpanTheRangeEvenly) {
  const ModelFit fit = Fitted(GrowthModel::GoelOkumoto, {100, 0.1}, 10);
  const auto mean = MeanValueCurve(fit, 20, 5);
  ASSERT_EQ(mean.size(), 5u);
  EXPECT_EQ(mean[2].x, 10);
  EXPECT_NEAR(mean[2].y, 100 * -std::expm1(-1.0), 1e-12);
  EXPECT_NEAR(IntensityCurve(fit, 20, 3)[0].y, 10, 1e-12);
  const auto reliability = ReliabilityCurve(fit, 10, 4, 3);
  EXPECT_EQ(reliability.front().y, 1);
  EXPECT_NEAR(reliability.back().y, Reliability(fit.model, fit.parameters, 4, 10), 1e-15);
}

}  // namespace
}  // namespace teravo
