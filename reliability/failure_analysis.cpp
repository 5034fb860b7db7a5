#include "reliability/failure_analysis.h"

namespace teravo {
namespace {

void CheckOptions(const FailureData& data, const AnalysisOptions& options) {
  if (data.FailureCount() < kMinFailures) {
    throw DataError("В данных меньше 5 отказов: для оценки нужно не меньше 5.");
  }
  if (!(options.holdout_share > 0 && options.holdout_share < 1)) {
    throw DataError("Доля данных для проверки прогноза должна быть больше 0 и меньше 1.");
  }
  CheckRequest(options.prediction);
}

}  // namespace

FailureAnalysis AnalyseFailureData(const FailureData& data, const AnalysisOptions& options) {
  CheckOptions(data, options);
  FailureAnalysis analysis;
  analysis.trend = AnalyseTrend(data);
  for (const GrowthModel model : kGrowthModels) {
    ModelFit fit = FitGrowthModel(model, data, options.limits, options.end_time);
    analysis.predictions.push_back(fit.status == FitStatus::Converged
                                       ? std::optional(Predict(fit, options.prediction))
                                       : std::nullopt);
    analysis.fits.push_back(std::move(fit));
    analysis.holdouts.push_back(FitHoldout(model, data, options.holdout_share, options.limits));
  }
  analysis.ranking = RankModels(analysis.fits, analysis.holdouts);
  return analysis;
}

}  // namespace teravo
