#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calibration/failure_match.h"
#include "calibration/fit_forecast.h"
#include "calibration/fit_objective.h"
#include "calibration/fit_search.h"
#include "calibration/fit_space.h"
#include "calibration/fit_uncertainty.h"
#include "core/general_error.h"
#include "model/parameters.h"
#include "reliability/failure_analysis.h"

namespace teravo {

// A calibration that cannot start as asked: the Russian text says why.
class CalibrationRefusal : public GeneralError {
 public:
  using GeneralError::GeneralError;
};

struct CalibrationSettings {
  std::vector<FittedEdit> edits;
  MatchedCurve matched = MatchedCurve::Failures;
  std::int32_t plays = 20;  // per evaluation, on the seeds firstSeed, firstSeed + 1, ...
  std::uint32_t firstSeed = 1;
  int threads = 0;
  FitObjective::Limits limits;
  SearchSettings search;
  int maxMatchPoints = 100;
  std::optional<double> holdoutShare = 0.7;  // none: no holdout
  std::optional<double> horizon;  // days past the last observed time; none: half the span
  std::int32_t forecastPlays = 100;
  int forecastPoints = 50;
};

struct EditEstimate {
  std::string name;
  double value = 0;  // as stored in the fitted set: an integer edit holds a whole number
  EditInterval interval;
  bool atSpanEdge = false;  // the best point lies on the edge of the span searched
};

// One fit of the simulation to data.
struct SimulationFit {
  TParameters fitted;  // the given set with the estimates; its play reaches the horizon
  std::vector<double> u;
  std::vector<EditEstimate> estimates;
  std::optional<FitUncertainty> uncertainty;  // none for a holdout fit
  double distance = 0;
  MatchPoints points;
  std::vector<double> fittedMean;  // the matched curve's mean at the match times
  SearchStatus status = SearchStatus::Converged;
  int evaluations = 0;
  std::int64_t plays = 0;
};

// The simulation fitted on the data before the holdout cut, judged on the rest as the
// classic models are.
struct SimulationHoldout {
  double cutTime = 0;
  int heldOutPoints = 0;
  std::optional<SimulationFit> fit;  // none with fewer than kMinFailures failures before the cut
  std::optional<double> psse;        // the same sum as the classic models' PSSE
};

struct Calibration {
  SimulationFit fit;
  FitForecast forecast;
  double horizonEnd = 0;  // days
  std::optional<SimulationHoldout> holdout;
  std::optional<FailureAnalysis> classic;  // the four classic models, for the PSSE table
  bool stopped = false;
};

// Fits the edits of `given` (an accepted set) to the data: the search, the intervals (unless
// `withIntervals` is false), the simulation's mean at the match points. CalibrationRefusal when
// the plays would be refused.
SimulationFit FitSimulation(const TParameters& given, const FailureData& data,
                            const CalibrationSettings& settings, const FitControl& control,
                            bool withIntervals);

// The whole calibration: the fit on all the data, the forecast from it with bands, and the
// holdout beside the classic models'.
Calibration Calibrate(const TParameters& given, const FailureData& data,
                      const CalibrationSettings& settings, const FitControl& control = {});

}  // namespace teravo
