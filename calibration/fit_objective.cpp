#include "calibration/fit_objective.h"

#include <cmath>
#include <limits>
#include <utility>

#include "core/general_error.h"
#include "play/series_curves.h"

namespace teravo {

namespace {

constexpr double kRefused = std::numeric_limits<double>::infinity();

}  // namespace

FitObjective::FitObjective(const TParameters& given, std::vector<FittedEdit> edits,
                           MatchPoints points, MatchedCurve matched,
                           std::vector<std::uint32_t> seeds, int threads, Limits limits,
                           const FitControl& control)
    : given_(given),
      edits_(std::move(edits)),
      points_(std::move(points)),
      matched_(matched),
      seeds_(std::move(seeds)),
      threads_(threads),
      limits_(limits),
      control_(control),
      start_(std::chrono::steady_clock::now()),
      best_(kRefused) {}

std::optional<TParameters> FitObjective::SetAt(std::span<const double> u) const {
  TParameters parameters = given_;
  std::vector<double> values;
  for (std::size_t i = 0; i < edits_.size(); ++i) values.push_back(edits_[i].ValueAt(u[i]));
  if (StoreValues(parameters, edits_, values)) return std::nullopt;
  // The curves up to a time do not depend on how long the play goes on, so the play need
  // only reach the last observed time; the step may have changed with the edits.
  CoverDays(parameters, points_.times.back());
  return parameters;
}

TParameters FitObjective::ParametersAt(std::span<const double> u) const {
  const auto parameters = SetAt(u);
  if (!parameters) Raise("Подобранные значения не принимаются настройками.");
  return *parameters;
}

std::vector<double> FitObjective::Mean(const TParameters& parameters) {
  const Curve curve = matched_ == MatchedCurve::Failures ? Curve::Failures : Curve::FixedErrors;
  CurveOptions options;
  options.threads = threads_;
  options.stop = control_.stop;
  const SeriesCurves curves = RunSeriesCurves(
      parameters, seeds_, CurveRequest{points_.times, {curve}, false, false}, options);
  if (curves.stopped) throw FitInterrupted{};
  plays_ += curves.plays;
  return curves.curves.front().mean;
}

std::vector<double> FitObjective::MeanAt(std::span<const double> u) {
  return Mean(ParametersAt(u));
}

double FitObjective::Distance(std::span<const double> u) {
  if (control_.stop.stop_requested()) throw FitInterrupted{};
  const std::optional<TParameters> parameters = SetAt(u);
  if (!parameters) return kRefused;
  std::vector<double> stored;
  for (const FittedEdit& edit : edits_) stored.push_back(StoredValue(*parameters, *edit.edit));
  if (const auto it = known_.find(stored); it != known_.end()) return it->second;

  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  if (evaluations_ >= limits_.maxEvaluations || seconds >= limits_.maxSeconds) {
    limitReached_ = true;
    throw FitInterrupted{};
  }
  double distance = kRefused;
  if (IsUsable(*parameters)) {
    try {
      distance = PoissonDeviance(points_.counts, Mean(*parameters));
    } catch (const GeneralError&) {
      // A play that cannot run (an error list past its limit) rules the set out.
    }
  }
  ++evaluations_;
  known_.emplace(std::move(stored), distance);
  if (distance < best_) best_ = distance;
  if (control_.progress) control_.progress({evaluations_, plays_, best_});
  return distance;
}

}  // namespace teravo
