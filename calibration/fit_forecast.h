#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "calibration/failure_match.h"
#include "calibration/fit_objective.h"
#include "play/series_curves.h"

namespace teravo {

// The curves a forecast from a fit gives, in this order.
inline constexpr Curve kForecastCurves[] = {Curve::Failures, Curve::FailureIntensity,
                                            Curve::Availability, Curve::WorkingClients,
                                            Curve::ErrorsLeft};

struct ForecastCurve {
  Curve curve;
  CurveBand band;  // mean and 5–95 % band at each time of the forecast
};

struct FitForecast {
  std::vector<double> times;  // evenly from 0 to the horizon's end
  std::vector<ForecastCurve> curves;
  std::int32_t plays = 0;
  // The observed points inside the 5–95 % band of the matched curve.
  int pointsInBand = 0;
  int points = 0;
  bool stopped = false;
};

// Plays the fitted set (its play must reach `end`) on the seeds and reads the forecast
// curves on `gridPoints` + 1 even times to `end`, and the matched curve at the observed
// points for the band's coverage.
FitForecast ForecastFromFit(const TParameters& fitted, const MatchPoints& observed,
                            MatchedCurve matched, double end, int gridPoints,
                            std::span<const std::uint32_t> seeds, const CurveOptions& options);

}  // namespace teravo
