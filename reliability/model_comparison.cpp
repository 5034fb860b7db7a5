#include "reliability/model_comparison.h"

#include <algorithm>
#include <utility>

namespace teravo {

FailureData DataUpTo(const FailureData& data, double cut) {
  FailureData part = data;
  part.rows.clear();
  const auto& values = data.IsCounts() ? data.interval_ends : data.times;
  const auto keep = static_cast<std::size_t>(std::upper_bound(values.begin(), values.end(), cut) -
                                             values.begin());
  (data.IsCounts() ? part.interval_ends : part.times).resize(keep);
  if (data.IsCounts()) part.counts.resize(keep);
  part.source_lines.resize(std::min(part.source_lines.size(), keep));
  return part;
}

HoldoutFit FitHoldout(GrowthModel model, const FailureData& data, double share,
                      const FitLimits& limits) {
  HoldoutFit holdout;
  holdout.cut_time = share * data.LastTime();
  const FailureData part = DataUpTo(data, holdout.cut_time);
  const std::size_t kept = data.IsCounts() ? part.counts.size() : part.times.size();
  const std::size_t all = data.IsCounts() ? data.counts.size() : data.times.size();
  holdout.held_out_points = static_cast<int>(all - kept);
  if (part.FailureCount() < kMinFailures || holdout.held_out_points == 0) return holdout;
  // Failure times are observed to the cut itself; counts to the last interval end before it.
  holdout.fit = FitGrowthModel(model, part, limits,
                               data.IsCounts() ? std::nullopt : std::optional(holdout.cut_time));
  if (holdout.fit->status != FitStatus::Converged) return holdout;

  double psse = 0;
  double observed = static_cast<double>(part.FailureCount());
  for (std::size_t i = kept; i < all; ++i) {
    const double t = data.IsCounts() ? data.interval_ends[i] : data.times[i];
    observed += data.IsCounts() ? static_cast<double>(data.counts[i]) : 1.0;
    const double error = MeanValue(model, holdout.fit->parameters, t) - observed;
    psse += error * error;
  }
  holdout.psse = psse;
  return holdout;
}

ModelRanking RankModels(const std::vector<ModelFit>& fits,
                        const std::vector<HoldoutFit>& holdouts) {
  std::vector<std::pair<double, GrowthModel>> aic;
  for (const auto& fit : fits) {
    if (fit.status == FitStatus::Converged) aic.emplace_back(fit.aic, fit.model);
  }
  std::vector<std::pair<double, GrowthModel>> psse;
  for (const auto& holdout : holdouts) {
    if (holdout.psse) psse.emplace_back(*holdout.psse, holdout.fit->model);
  }
  const auto order = [](std::vector<std::pair<double, GrowthModel>> scored) {
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    std::vector<GrowthModel> models;
    for (const auto& [score, model] : scored) models.push_back(model);
    return models;
  };
  return {order(std::move(aic)), order(std::move(psse))};
}

}  // namespace teravo
