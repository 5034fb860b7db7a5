#include "calibration/calibration.h"

#include "model/teravo.h"
#include "play/commands.h"
#include "play/series_curves.h"
#include "reliability/model_comparison.h"

namespace teravo {

namespace {

// The best point lies this close to an end of the span searched.
constexpr double kEdge = 1e-3;

// Refuses plays that the program itself would refuse to start.
void RefuseUnplayable(const TParameters& parameters, std::int32_t plays, int threads) {
  TTeravo model;
  static_cast<TParameters&>(model) = parameters;
  if (const CommandOutcome check = CheckBeforeRun(model, plays, false, threads); !check.ran()) {
    throw CalibrationRefusal(check.text);
  }
}

Curve CurveOf(MatchedCurve matched) {
  return matched == MatchedCurve::Failures ? Curve::Failures : Curve::FixedErrors;
}

// The simulation's holdout error, summed exactly as the classic models' is (FitHoldout): over
// every point after the cut, the square of the mean less the failures observed by then.
std::optional<double> HoldoutPsse(const TParameters& fitted, const FailureData& data,
                                  std::size_t kept, double observedBefore, MatchedCurve matched,
                                  std::span<const std::uint32_t> seeds,
                                  const CurveOptions& options) {
  const auto& times = data.IsCounts() ? data.interval_ends : data.times;
  CurveRequest request;
  request.times.assign(times.begin() + static_cast<std::ptrdiff_t>(kept), times.end());
  request.curves = {CurveOf(matched)};
  TParameters parameters = fitted;
  CoverDays(parameters, data.LastTime());
  const SeriesCurves curves = RunSeriesCurves(parameters, seeds, request, options);
  if (curves.stopped) return std::nullopt;
  double observed = observedBefore;
  double psse = 0;
  for (std::size_t i = kept; i < times.size(); ++i) {
    observed += data.IsCounts() ? static_cast<double>(data.counts[i]) : 1.0;
    const double error = curves.curves.front().mean[i - kept] - observed;
    psse += error * error;
  }
  return psse;
}

}  // namespace

SimulationFit FitSimulation(const TParameters& given, const FailureData& data,
                            const CalibrationSettings& settings, const FitControl& control,
                            bool withIntervals) {
  SimulationFit fit;
  fit.points = MatchPointsOf(data, settings.maxMatchPoints);
  TParameters check = given;
  CoverDays(check, fit.points.times.back());
  RefuseUnplayable(check, settings.plays, settings.threads);

  FitObjective objective(given, settings.edits, fit.points, settings.matched,
                         ConsecutiveSeeds(settings.firstSeed, settings.plays), settings.threads,
                         settings.limits, control);
  const SearchResult search = SearchBest(objective, settings.search);
  if (search.u.empty()) {
    throw CalibrationRefusal("Подбор закончился, не разыграв ни одного набора значений.");
  }
  fit.u = search.u;
  fit.distance = search.distance;
  fit.status = search.status;
  fit.fitted = objective.ParametersAt(fit.u);
  const std::vector<FittedEdit>& edits = objective.Edits();
  const std::size_t n = edits.size();
  if (withIntervals && search.status != SearchStatus::Stopped) {
    objective.AllowDesign(DesignEvaluations(n));
    fit.uncertainty = EstimateUncertainty(objective, fit.u, fit.distance);
  }
  for (std::size_t i = 0; i < n; ++i) {
    EditEstimate estimate{std::string(edits[i].Name()),
                          StoredValue(fit.fitted, *edits[i].edit),
                          {},
                          fit.u[i] < kEdge || fit.u[i] > 1 - kEdge};
    if (fit.uncertainty) estimate.interval = fit.uncertainty->intervals[i];
    fit.estimates.push_back(estimate);
  }
  if (!objective.Stopped()) {
    try {
      fit.fittedMean = objective.MeanAt(fit.u);
    } catch (const FitInterrupted&) {
      // A stop during the last series leaves the mean out.
    }
  }
  fit.evaluations = objective.Evaluations();
  fit.plays = objective.Plays();
  if (objective.Stopped()) fit.status = SearchStatus::Stopped;
  return fit;
}

Calibration Calibrate(const TParameters& given, const FailureData& data,
                      const CalibrationSettings& settings, const FitControl& control) {
  Calibration result;
  const double last = data.LastTime();
  result.horizonEnd = last + settings.horizon.value_or(last / 2);
  TParameters check = given;
  CoverDays(check, result.horizonEnd);
  RefuseUnplayable(check, settings.forecastPlays, settings.threads);

  result.fit = FitSimulation(given, data, settings, control, true);
  CoverDays(result.fit.fitted, result.horizonEnd);
  const std::vector<std::uint32_t> forecastSeeds =
      ConsecutiveSeeds(settings.firstSeed, settings.forecastPlays);
  CurveOptions options;
  options.threads = settings.threads;
  options.stop = control.stop;
  if (result.fit.status != SearchStatus::Stopped) {
    result.forecast =
        ForecastFromFit(result.fit.fitted, result.fit.points, settings.matched, result.horizonEnd,
                        settings.forecastPoints, forecastSeeds, options);
  }

  if (settings.holdoutShare && !control.stop.stop_requested()) {
    AnalysisOptions analysis;
    analysis.holdout_share = *settings.holdoutShare;
    result.classic = AnalyseFailureData(data, analysis);
    SimulationHoldout holdout;
    holdout.cutTime = *settings.holdoutShare * last;
    const FailureData part = DataUpTo(data, holdout.cutTime);
    const std::size_t kept = part.IsCounts() ? part.counts.size() : part.times.size();
    const std::size_t all = data.IsCounts() ? data.counts.size() : data.times.size();
    holdout.heldOutPoints = static_cast<int>(all - kept);
    if (part.FailureCount() >= kMinFailures && holdout.heldOutPoints > 0) {
      holdout.fit = FitSimulation(given, part, settings, control, false);
      if (holdout.fit->status != SearchStatus::Stopped) {
        holdout.psse =
            HoldoutPsse(holdout.fit->fitted, data, kept, static_cast<double>(part.FailureCount()),
                        settings.matched, forecastSeeds, options);
      }
    }
    result.holdout = std::move(holdout);
  }
  result.stopped = control.stop.stop_requested();
  return result;
}

}  // namespace teravo
