#pragma once

#include <vector>

#include "reliability/failure_analysis.h"

namespace teravo {

// What the charts of an analysis show, the same for the desktop and the CSV tables.
struct ModelCurves {
  GrowthModel model = GrowthModel::GoelOkumoto;
  std::vector<SeriesPoint> mean_value;   // m(t) over [0, time_span]
  std::vector<SeriesPoint> intensity;    // lambda(t) over [0, time_span], per day
  std::vector<SeriesPoint> reliability;  // R(x | T) over missions x in [0, mission_span]
};

struct AnalysisCurves {
  // The cumulative number of failures at each failure time, or at each interval end.
  std::vector<SeriesPoint> observed;
  double holdout_cut = 0;  // days: the holdout fits see the data up to here
  double time_span = 0;    // the end of observation and a stretch of forecast past it
  double mission_span = 0;
  std::vector<ModelCurves> models;  // the converged fits only, in the order of kGrowthModels
};

inline constexpr int kCurvePoints = 201;

// The forecast stretch past the end of observation T: Δt, but at least a quarter of T and
// at most three times T. Missions run to three times the requested mission time.
AnalysisCurves CurvesOf(const FailureData& data, const FailureAnalysis& analysis,
                        const AnalysisOptions& options);

}  // namespace teravo
