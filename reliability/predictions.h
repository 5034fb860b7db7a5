#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "reliability/failure_data.h"
#include "reliability/model_fit.h"
#include "reliability/trend.h"

namespace teravo {

// What a user asks of a fitted model; times in days, intensities per day.
struct PredictionRequest {
  double horizon = 7;               // Δt: failures expected in the next Δt
  double next_failures = 1;         // N: time until N more failures
  double target_intensity = 0.1;    // time until the intensity falls to this
  double mission_time = 1;          // x of the reliability R(x | t)
  double target_reliability = 0.9;  // test time until R(mission | t) reaches this
};

// DataError (Russian text) unless every time, count and intensity is positive and finite and
// the target reliability lies in (0, 1).
void CheckRequest(const PredictionRequest& request);

// A request in the scale of the data, as a first offer to the user: Δt a tenth of the
// observed span, the mission a hundredth of it, the target intensity a tenth of the mean
// intensity observed, each rounded to one significant digit; one more failure and a
// reliability of 0.9.
PredictionRequest RequestScaledTo(const FailureData& data);

// Shown where a prediction has no finite value.
inline constexpr std::string_view kNotReached = "не достигается";

// Predictions from the end of observation T; an empty value is never reached (kNotReached).
struct ModelPrediction {
  double expected_failures_in_horizon = 0;         // m(T + Δt) - m(T)
  std::optional<double> time_to_next_failures;     // x with m(T + x) - m(T) = N
  double current_intensity = 0;                    // lambda(T)
  std::optional<double> time_to_target_intensity;  // first x >= 0 with lambda(T + x) <= target
  double reliability_now = 0;                      // R(mission | T)
  std::optional<double> test_time_to_target_reliability;  // first x >= 0: R(mission | T + x)
                                                          // >= target
};

// Needs a fit with its parameters (check its status first).
ModelPrediction Predict(const ModelFit& fit, const PredictionRequest& request);

// R(x | t) = exp(-(m(t + x) - m(t))): no failure in the x days after t.
double Reliability(GrowthModel model, std::span<const double> parameters, double x, double t);

// Curves for charts: `points` evenly spaced values of x from 0 to `to` inclusive.
std::vector<SeriesPoint> MeanValueCurve(const ModelFit& fit, double to, int points);
std::vector<SeriesPoint> IntensityCurve(const ModelFit& fit, double to, int points);
// R(x | t) over mission times x from 0 to `to`, at time t.
std::vector<SeriesPoint> ReliabilityCurve(const ModelFit& fit, double t, double to, int points);

}  // namespace teravo
