#include "reliability/failure_analysis.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/reliability/failure_samples.h"

namespace teravo {
namespace {

TEST(FailureAnalysis, FitsRanksAndPredictsSys1) {
  const FailureData data = Sys1();
  const FailureAnalysis analysis = AnalyseFailureData(data, {});
  ASSERT_EQ(analysis.fits.size(), kGrowthModels.size());
  EXPECT_EQ(analysis.trend.reading, TrendReading::ReliabilityGrows);
  for (std::size_t i = 0; i < kGrowthModels.size(); ++i) {
    EXPECT_EQ(analysis.fits[i].status, FitStatus::Converged) << i;
    EXPECT_TRUE(analysis.predictions[i]) << i;
    EXPECT_NEAR(analysis.holdouts[i].cut_time, 0.7 * data.LastTime(), 1e-12);
  }
  // Goel-Okumoto's holdout error, recomputed from its fit on the first 70 %.
  const HoldoutFit& holdout = analysis.holdouts[0];
  ASSERT_TRUE(holdout.psse);
  double psse = 0;
  const int kept = 136 - holdout.held_out_points;
  for (int i = kept; i < 136; ++i) {
    const double error =
        MeanValue(GrowthModel::GoelOkumoto, holdout.fit->parameters, data.times[i]) - (i + 1);
    psse += error * error;
  }
  EXPECT_NEAR(*holdout.psse, psse, 1e-9 * psse);
  EXPECT_EQ(analysis.ranking.by_aic.size(), 4u);
  EXPECT_EQ(analysis.ranking.by_psse.size(), 4u);
  for (std::size_t i = 1; i < analysis.ranking.by_aic.size(); ++i) {
    EXPECT_LE(analysis.fits[static_cast<int>(analysis.ranking.by_aic[i - 1])].aic,
              analysis.fits[static_cast<int>(analysis.ranking.by_aic[i])].aic);
  }
}

TEST(FailureAnalysis, GivesNoPredictionForAFitThatFailed) {
  std::vector<double> times;
  for (int i = 1; i <= 40; ++i) times.push_back(i);
  const FailureAnalysis analysis = AnalyseFailureData(FailureTimesInDays(times), {});
  EXPECT_NE(analysis.fits[0].status, FitStatus::Converged);
  EXPECT_FALSE(analysis.predictions[0]);
  EXPECT_FALSE(analysis.holdouts[0].psse);
  for (const GrowthModel model : analysis.ranking.by_aic) {
    EXPECT_NE(model, GrowthModel::GoelOkumoto);
  }
}

TEST(FailureAnalysis, RefusesOptionsOutOfRange) {
  AnalysisOptions options;
  options.holdout_share = 1;
  EXPECT_THROW(AnalyseFailureData(Sys1(), options), DataError);
  options = {};
  options.prediction.target_reliability = 1;
  EXPECT_THROW(AnalyseFailureData(Sys1(), options), DataError);
  EXPECT_THROW(AnalyseFailureData(FailureTimesInDays({1, 2, 3}), {}), DataError);
}

}  // namespace
}  // namespace teravo
