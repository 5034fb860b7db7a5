#include "play/series_curves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <stop_token>
#include <utility>
#include <vector>

#include "core/general_error.h"
#include "play/play_driver.h"
#include "results/series_statistics.h"
#include "tests/support/parameter_sets.h"
#include "tests/support/recording_host.h"

namespace teravo {
namespace {

using testing::PrepareDefaultPlay;

constexpr std::int32_t kSteps = 400;

TParameters ShortPlays(void (*set)(TTeravo&)) {
  TTeravo model;
  set(model);
  model.FM = kSteps;
  return model.Parameters();
}

// Each curve that a play window draws, beside the chart it must agree with.
constexpr std::pair<Curve, Chart> kCurvesOfCharts[] = {
    {Curve::WorkingClients, Chart::chNums},
    {Curve::ClientErrors, Chart::chClientErrors},
    {Curve::FailureIntensity, Chart::chErrorsIntensity},
    {Curve::MeanTimeToFailure, Chart::chAvTer},
    {Curve::Failures, Chart::chFailures},
    {Curve::FixedErrors, Chart::chFixedErrors},
};

// The curves and figures of one seed are what the play driver shows for that seed, on every
// parameter set: they are two readings of one play.
TEST(SeriesCurves, ReadWhatThePlayWindowShowsForTheSameSeed) {
  for (const auto& [name, set] : testing::kParameterSets) {
    const TParameters parameters = ShortPlays(set);
    const std::uint32_t seed = 4242;
    CurveRequest request;
    for (std::int32_t i : {0, 1, 57, 200, kSteps}) request.times.push_back(i * parameters.FDT);
    for (const auto& [curve, chart] : kCurvesOfCharts) request.curves.push_back(curve);
    request.keepPlayValues = true;
    request.figures = true;
    const std::uint32_t seeds[] = {seed};
    const SeriesCurves curves = RunSeriesCurves(parameters, seeds, request);

    TTeravo model(std::make_unique<FixedSeedSource>(seed));
    model.Parameters() = parameters;
    testing::RecordingHost host;
    const auto record = Play(model, host, testing::TestContext());
    ASSERT_EQ(curves.plays, 1) << name;
    for (std::size_t c = 0; c < std::size(kCurvesOfCharts); ++c) {
      const ChartSeries& chart = record->Series(kCurvesOfCharts[c].second);
      for (std::size_t j = 0; j < request.times.size(); ++j) {
        const int step = static_cast<int>(curves.steps[j]);
        EXPECT_EQ(curves.curves[c].plays[0][j], chart.YValue(step))
            << name << " " << ChartName(kCurvesOfCharts[c].second) << " at step " << step;
        EXPECT_EQ(curves.curves[c].mean[j], chart.YValue(step));
      }
    }
    PlayRecord figures(',');
    SetFigures(figures, curves.figures[0]);
    for (const ResultField& row : ResultFields()) {
      EXPECT_EQ(figures.Text(row.field), record->Text(row.field)) << name << " " << row.name;
    }
  }
}

TEST(SeriesCurves, MeansAndBandsAreThoseOfThePlaysWhateverTheThreads) {
  const TParameters parameters = ShortPlays(testing::SetServerUp);
  CurveRequest request;
  request.times = {0, 0.1, 0.2, 0.4};
  request.curves = {Curve::Failures, Curve::Availability, Curve::ErrorsLeft};
  request.keepPlayValues = true;
  const auto seeds = ConsecutiveSeeds(4294967290u, 9);  // wraps past 2^32 - 1
  ASSERT_EQ(seeds.back(), 2u);

  const auto onThreads = [&](int threads) {
    CurveOptions options;
    options.threads = threads;
    return RunSeriesCurves(parameters, seeds, request, options);
  };
  const SeriesCurves first = onThreads(1);
  for (int threads : {2, 3}) {
    const SeriesCurves other = onThreads(threads);
    for (std::size_t c = 0; c < request.curves.size(); ++c) {
      EXPECT_EQ(other.curves[c].plays, first.curves[c].plays) << threads;
      EXPECT_EQ(other.curves[c].mean, first.curves[c].mean) << threads;
      EXPECT_EQ(other.curves[c].low, first.curves[c].low) << threads;
    }
  }
  for (std::size_t c = 0; c < request.curves.size(); ++c) {
    for (std::size_t j = 0; j < request.times.size(); ++j) {
      std::vector<double> values;
      long double sum = 0;
      for (const auto& play : first.curves[c].plays) {
        values.push_back(play[j]);
        sum += play[j];
      }
      std::sort(values.begin(), values.end());
      EXPECT_EQ(first.curves[c].mean[j], static_cast<double>(sum / values.size()));
      EXPECT_EQ(first.curves[c].low[j], static_cast<double>(QuantileOfSorted(values, 0.05L)));
      EXPECT_EQ(first.curves[c].high[j], static_cast<double>(QuantileOfSorted(values, 0.95L)));
      EXPECT_LE(first.curves[c].low[j], first.curves[c].high[j]);
    }
  }
  // Availability is a share, and failures never go back.
  for (const auto& play : first.curves[1].plays) {
    for (double kg : play) EXPECT_TRUE(kg >= 0 && kg <= 1) << kg;
  }
  for (const auto& play : first.curves[0].plays)
    EXPECT_TRUE(std::is_sorted(play.begin(), play.end()));
}

TEST(SeriesCurves, RefusesTimesOutsideThePlayOrOutOfOrder) {
  const TParameters parameters = ShortPlays(testing::SetDefaults);
  const double end = kSteps * parameters.FDT;
  const std::uint32_t seeds[] = {1};
  for (const std::vector<double>& times : std::vector<std::vector<double>>{
           {-0.001}, {end * 1.01}, {0.2, 0.1}, {std::numeric_limits<double>::quiet_NaN()}}) {
    CurveRequest request;
    request.times = times;
    request.curves = {Curve::Failures};
    EXPECT_THROW(RunSeriesCurves(parameters, seeds, request), GeneralError) << times[0];
  }
  CurveRequest atTheEnd;
  atTheEnd.times = {0, end};
  atTheEnd.curves = {Curve::Failures};
  EXPECT_EQ(RunSeriesCurves(parameters, seeds, atTheEnd).steps.back(), kSteps);
}

TEST(SeriesCurves, AStopKeepsThePlaysFinishedInOrder) {
  const TParameters parameters = ShortPlays(testing::SetDefaults);
  CurveRequest request;
  request.times = {0.2};
  request.curves = {Curve::WorkingClients};
  request.keepPlayValues = true;
  std::stop_source stop;
  CurveOptions options;
  options.threads = 1;
  options.stop = stop.get_token();
  options.progress = [&stop](int done, int) {
    if (done == 3) stop.request_stop();
  };
  const auto seeds = ConsecutiveSeeds(10, 8);
  const SeriesCurves stopped = RunSeriesCurves(parameters, seeds, request, options);
  EXPECT_TRUE(stopped.stopped);
  ASSERT_EQ(stopped.plays, 3);
  const SeriesCurves whole = RunSeriesCurves(parameters, seeds, request);
  for (int k = 0; k < stopped.plays; ++k) {
    EXPECT_EQ(stopped.curves[0].plays[static_cast<std::size_t>(k)],
              whole.curves[0].plays[static_cast<std::size_t>(k)]);
  }
}

// With figures a play fails where the play driver would: here its moment overflows a double.
TEST(SeriesCurves, APlayThatFailsFailsTheSeriesAsThePlayDriverWould) {
  TTeravo model;
  PrepareDefaultPlay(model, 3);
  model.FDT = 0.9e308;
  model.FYk = 1e-320;  // no requests: only the moment can overflow
  CurveRequest request;
  request.figures = true;
  const auto seeds = ConsecutiveSeeds(1, 3);
  EXPECT_THROW(RunSeriesCurves(model.Parameters(), seeds, request), GeneralError);
  testing::RecordingHost host;
  model.SetSeedSource(std::make_unique<FixedSeedSource>(1));
  EXPECT_THROW(Play(model, host, testing::TestContext()), GeneralError);
}

}  // namespace
}  // namespace teravo
