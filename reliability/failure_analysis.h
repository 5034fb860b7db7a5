#pragma once

#include <optional>
#include <vector>

#include "reliability/failure_data.h"
#include "reliability/model_comparison.h"
#include "reliability/model_fit.h"
#include "reliability/predictions.h"
#include "reliability/trend.h"

namespace teravo {

struct AnalysisOptions {
  double holdout_share = 0.7;  // in (0, 1): the share of the time span the holdout fits see
  FitLimits limits;            // for each of the eight fits
  PredictionRequest prediction;
  std::optional<double> end_time;  // failure times: observation past the last failure, days
};

// Everything the runner and the desktop show for one data set. The vectors follow
// kGrowthModels; a prediction is there only for a fit that converged.
struct FailureAnalysis {
  TrendAnalysis trend;
  std::vector<ModelFit> fits;
  std::vector<HoldoutFit> holdouts;
  ModelRanking ranking;
  std::vector<std::optional<ModelPrediction>> predictions;
};

// DataError (Russian text) when the data hold fewer than kMinFailures failures or the options
// are out of range.
FailureAnalysis AnalyseFailureData(const FailureData& data, const AnalysisOptions& options);

}  // namespace teravo
