#pragma once

#include <optional>
#include <vector>

#include "reliability/failure_data.h"
#include "reliability/model_fit.h"

namespace teravo {

// The data observed up to `cut` days: failure times up to it (observation ending at `cut`),
// or the intervals that end by it.
FailureData DataUpTo(const FailureData& data, double cut);

// A fit on the first share of the time span, judged on the rest.
struct HoldoutFit {
  double cut_time = 0;      // share * the last time, days
  int held_out_points = 0;  // failure times (or intervals) after the cut
  // Empty when the part before the cut holds fewer than kMinFailures failures or nothing is
  // held out.
  std::optional<ModelFit> fit;
  // Predictive sum of squared errors over the held-out points: sum (m(t_i) - i)^2 with i the
  // failure's number in all the data (counts: the cumulative count at each interval end).
  // Empty unless the fit converged.
  std::optional<double> psse;
};

HoldoutFit FitHoldout(GrowthModel model, const FailureData& data, double share,
                      const FitLimits& limits);

// Models in order, best first: by AIC over the converged fits on all the data, and by PSSE
// over the holdout fits that have one. `fits` and `holdouts` are in the order of
// kGrowthModels or any other; each ranking lists only models that qualify.
struct ModelRanking {
  std::vector<GrowthModel> by_aic;
  std::vector<GrowthModel> by_psse;
};

ModelRanking RankModels(const std::vector<ModelFit>& fits, const std::vector<HoldoutFit>& holdouts);

}  // namespace teravo
