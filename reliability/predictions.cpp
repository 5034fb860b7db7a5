#include "reliability/predictions.h"

#include <cmath>
#include <functional>

namespace teravo {
namespace {

// The first x >= 0 where `reached` holds, for a condition that, once it holds, holds for
// every later x (the intensity and the failures expected in a window fall for good after
// their peak). Doubling finds a bracket, bisection closes it; empty when no finite x does.
std::optional<double> FirstReached(const std::function<bool(double)>& reached, double scale) {
  if (reached(0)) return 0.0;
  double low = 0;
  double high = scale > 0 ? scale : 1;
  while (!reached(high)) {
    low = high;
    high *= 2;
    if (!std::isfinite(high)) return std::nullopt;
  }
  for (int i = 0; i < 200 && high - low > 1e-12 * high; ++i) {
    const double middle = (low + high) / 2;
    (reached(middle) ? high : low) = middle;
  }
  return high;
}

std::vector<SeriesPoint> Curve(double to, int points, const std::function<double(double)>& f) {
  std::vector<SeriesPoint> curve;
  for (int i = 0; i < points; ++i) {
    const double x = points == 1 ? to : to * i / (points - 1);
    curve.push_back({x, f(x)});
  }
  return curve;
}

// One significant digit: 0.1026 -> 0.1, 13.2 -> 10, 0.0468 -> 0.05.
double OneDigit(double value) {
  const double scale = std::pow(10.0, std::floor(std::log10(value)));
  return std::round(value / scale) * scale;
}

}  // namespace

void CheckRequest(const PredictionRequest& p) {
  if (!(p.horizon > 0 && p.next_failures > 0 && p.target_intensity > 0 && p.mission_time > 0) ||
      !std::isfinite(p.horizon + p.next_failures + p.target_intensity + p.mission_time)) {
    throw DataError(
        "Срок прогноза, число отказов, целевая интенсивность и время миссии "
        "должны быть больше нуля.");
  }
  if (!(p.target_reliability > 0 && p.target_reliability < 1)) {
    throw DataError("Целевая надёжность должна быть больше 0 и меньше 1.");
  }
}

PredictionRequest RequestScaledTo(const FailureData& data) {
  PredictionRequest request;
  const double span = data.LastTime();
  const auto failures = static_cast<double>(data.FailureCount());
  if (!(span > 0) || !(failures > 0)) return request;
  request.horizon = OneDigit(span / 10);
  request.mission_time = OneDigit(span / 100);
  request.target_intensity = OneDigit(failures / span / 10);
  return request;
}

double Reliability(GrowthModel model, std::span<const double> parameters, double x, double t) {
  return std::exp(-(MeanValue(model, parameters, t + x) - MeanValue(model, parameters, t)));
}

ModelPrediction Predict(const ModelFit& fit, const PredictionRequest& request) {
  const GrowthModel model = fit.model;
  const auto& p = fit.parameters;
  const double end = fit.end_time;
  const double m_end = MeanValue(model, p, end);
  ModelPrediction prediction;
  prediction.expected_failures_in_horizon = MeanValue(model, p, end + request.horizon) - m_end;

  const auto total = TotalFailures(model, p);
  if (!total || *total - m_end > request.next_failures) {
    prediction.time_to_next_failures = FirstReached(
        [&](double x) { return MeanValue(model, p, end + x) - m_end >= request.next_failures; },
        end);
  }
  prediction.current_intensity = Intensity(model, p, end);
  prediction.time_to_target_intensity = FirstReached(
      [&](double x) { return Intensity(model, p, end + x) <= request.target_intensity; }, end);
  prediction.reliability_now = Reliability(model, p, request.mission_time, end);
  prediction.test_time_to_target_reliability = FirstReached(
      [&](double x) {
        return Reliability(model, p, request.mission_time, end + x) >= request.target_reliability;
      },
      end);
  return prediction;
}

std::vector<SeriesPoint> MeanValueCurve(const ModelFit& fit, double to, int points) {
  return Curve(to, points, [&](double t) { return MeanValue(fit.model, fit.parameters, t); });
}

std::vector<SeriesPoint> IntensityCurve(const ModelFit& fit, double to, int points) {
  return Curve(to, points, [&](double t) { return Intensity(fit.model, fit.parameters, t); });
}

std::vector<SeriesPoint> ReliabilityCurve(const ModelFit& fit, double t, double to, int points) {
  return Curve(to, points, [&](double x) { return Reliability(fit.model, fit.parameters, x, t); });
}

}  // namespace teravo
