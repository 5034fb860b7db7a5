#include "calibration/calibration.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <stop_token>
#include <string>
#include <vector>

#include "calibration/simulated_data.h"
#include "params/settings_edits.h"

namespace teravo {
namespace {

// A small complex whose plays take a few milliseconds: 50 clients over two days, about a
// hundred failures with the errors visibly running out.
TParameters SmallComplex() {
  return ParametersFromTexts({{"edClientsNum", "50"},
                              {"edA", "0.002"},
                              {"edErrorsNum0", "80"},
                              {"edCoeffComplexity", "0.2"},
                              {"edMu", "10"},
                              {"edDT", "0.005"},
                              {"edM", "400"}});
}

// Request intensities far above the complex's own would shorten the step and lengthen every
// play: the request intensity is searched near it.
const std::pair<std::string, std::string> kSpans[] = {{"edYk", "20:500"}};

std::vector<FittedEdit> Edits(const std::vector<std::string>& names) {
  std::vector<std::pair<std::string, std::string>> spans;
  for (const auto& span : kSpans) {
    if (std::find(names.begin(), names.end(), span.first) != names.end()) spans.push_back(span);
  }
  return std::get<std::vector<FittedEdit>>(FittedEditsOf(names, spans, '.'));
}

CalibrationSettings SmallSettings(const std::vector<std::string>& names) {
  CalibrationSettings settings;
  settings.edits = Edits(names);
  settings.plays = 10;
  settings.threads = 2;
  settings.limits.maxEvaluations = 120;
  return settings;
}

const FailureData& SmallData() {
  static const FailureData data = SimulatedFailureData(SmallComplex(), 1001, 2.0);
  return data;
}

TEST(FitSimulation, FindsTheEditsThatMadeTheData) {
  const SimulationFit fit =
      FitSimulation(SmallComplex(), SmallData(), SmallSettings({"edErrorsNum0", "edMu"}), {}, true);
  ASSERT_TRUE(fit.uncertainty);
  const double truth[] = {80, 10};
  for (std::size_t i = 0; i < 2; ++i) {
    const EditEstimate& estimate = fit.estimates[i];
    EXPECT_TRUE(estimate.interval.identified) << estimate.name;
    EXPECT_LE(estimate.interval.low, truth[i]) << estimate.name;
    EXPECT_GE(estimate.interval.high, truth[i]) << estimate.name;
    EXPECT_LE(estimate.interval.low, estimate.value);
    EXPECT_GE(estimate.interval.high, estimate.value);
  }
  EXPECT_EQ(fit.estimates[0].value, fit.fitted.FErrorsNum0);  // the whole number played
  EXPECT_EQ(fit.fittedMean.size(), fit.points.times.size());
}

// A request that misses every error changes nothing, so plays depend on the request
// intensity and the share a request touches almost only through their product.
TEST(FitSimulation, AConfoundedPairIsToldAsItsProduct) {
  const SimulationFit fit =
      FitSimulation(SmallComplex(), SmallData(), SmallSettings({"edYk", "edA"}), {}, true);
  ASSERT_TRUE(fit.uncertainty);
  ASSERT_EQ(fit.uncertainty->combinations.size(), 1u);
  const EditCombination& product = fit.uncertainty->combinations.front();
  EXPECT_TRUE(product.product);
  EXPECT_LT(product.correlation, -0.9);
  EXPECT_FALSE(fit.estimates[0].interval.identified && fit.estimates[1].interval.identified);
  EXPECT_EQ(CombinationText(product, SmallSettings({"edYk", "edA"}).edits),
            "данные определяют только произведение edYk × edA");
  // An end the profile does not reach is the edge of the span searched, never past it.
  const std::vector<FittedEdit> edits = SmallSettings({"edYk", "edA"}).edits;
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_GE(fit.estimates[i].interval.low, edits[i].low) << edits[i].Name();
    EXPECT_LE(fit.estimates[i].interval.high, edits[i].high) << edits[i].Name();
  }
  // The truth's product, 100 × 0.002, lies within the combination's interval.
  EXPECT_LE(product.low, 100 * 0.002);
  EXPECT_GE(product.high, 100 * 0.002);
}

// The same fit on one thread and on two, and the same fit twice: not a digit apart.
TEST(FitSimulation, ThreadsChangeNoDigit) {
  CalibrationSettings settings = SmallSettings({"edErrorsNum0", "edMu"});
  settings.limits.maxEvaluations = 25;
  settings.threads = 1;
  const SimulationFit one = FitSimulation(SmallComplex(), SmallData(), settings, {}, false);
  settings.threads = 2;
  const SimulationFit two = FitSimulation(SmallComplex(), SmallData(), settings, {}, false);
  EXPECT_EQ(one.fitted, two.fitted);
  EXPECT_EQ(one.distance, two.distance);
  EXPECT_EQ(one.fittedMean, two.fittedMean);
  EXPECT_EQ(one.evaluations, two.evaluations);
}

TEST(FitSimulation, ALimitEndsTheSearchUnconvergedWithItsBestPoint) {
  CalibrationSettings settings = SmallSettings({"edErrorsNum0", "edMu"});
  settings.limits.maxEvaluations = 5;
  const SimulationFit fit = FitSimulation(SmallComplex(), SmallData(), settings, {}, false);
  EXPECT_EQ(fit.status, SearchStatus::NotConverged);
  EXPECT_EQ(fit.evaluations, 5);
}

TEST(FitSimulation, AStopKeepsTheBestFitSoFar) {
  std::stop_source stop;
  FitControl control;
  control.stop = stop.get_token();
  double best = 0;
  control.progress = [&](const FitProgress& progress) {
    best = progress.bestDistance;
    if (progress.evaluations == 4) stop.request_stop();
  };
  const SimulationFit fit = FitSimulation(SmallComplex(), SmallData(),
                                          SmallSettings({"edErrorsNum0", "edMu"}), control, true);
  EXPECT_EQ(fit.status, SearchStatus::Stopped);
  EXPECT_EQ(fit.evaluations, 4);
  EXPECT_EQ(fit.distance, best);
  EXPECT_FALSE(fit.uncertainty);
}

TEST(Calibrate, ForecastsPastTheDataAndJudgesTheHoldout) {
  CalibrationSettings settings = SmallSettings({"edErrorsNum0", "edMu"});
  settings.limits.maxEvaluations = 40;
  settings.forecastPlays = 20;
  settings.forecastPoints = 10;
  settings.horizon = 1;
  const Calibration calibration = Calibrate(SmallComplex(), SmallData(), settings);
  EXPECT_DOUBLE_EQ(calibration.horizonEnd, SmallData().LastTime() + 1);
  ASSERT_EQ(calibration.forecast.curves.size(), std::size(kForecastCurves));
  EXPECT_EQ(calibration.forecast.times.size(), 11u);
  EXPECT_DOUBLE_EQ(calibration.forecast.times.back(), calibration.horizonEnd);
  const CurveBand& failures = calibration.forecast.curves.front().band;
  for (std::size_t j = 0; j < failures.mean.size(); ++j) {
    EXPECT_LE(failures.low[j], failures.mean[j]);
    EXPECT_GE(failures.high[j], failures.mean[j]);
  }
  EXPECT_EQ(calibration.forecast.points, static_cast<int>(calibration.fit.points.times.size()));
  EXPECT_GT(calibration.forecast.pointsInBand, 0);
  EXPECT_LE(calibration.forecast.pointsInBand, calibration.forecast.points);
  ASSERT_TRUE(calibration.holdout);
  EXPECT_GT(calibration.holdout->heldOutPoints, 0);
  EXPECT_TRUE(calibration.holdout->psse);
  ASSERT_TRUE(calibration.classic);
  EXPECT_EQ(calibration.classic->holdouts.front().cut_time, calibration.holdout->cutTime);
}

TEST(Calibrate, RefusesPlaysTheProgramWouldRefuse) {
  CalibrationSettings settings = SmallSettings({"edMu"});
  TParameters harmful = SmallComplex();
  harmful.FCoeffComplexity = 0;
  EXPECT_THROW(Calibrate(harmful, SmallData(), settings), CalibrationRefusal);
}

}  // namespace
}  // namespace teravo
