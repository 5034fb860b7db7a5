#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/number_text.h"
#include "model/teravo.h"
#include "params/run_description.h"
#include "play/play_driver.h"
#include "tests/support/parameter_sets.h"
#include "tests/support/recording_host.h"

namespace teravo {
namespace {

using testing::PrepareDefaultPlay;
using testing::RecordingHost;

TEST(GistRefreshStep, HundredthOfTheIterationsTiesToEvenAtLeastOne) {
  for (const auto& [m, n] :
       {std::pair{1, 1}, std::pair{50, 1}, std::pair{149, 1}, std::pair{150, 2}, std::pair{250, 2},
        std::pair{350, 4}, std::pair{1049, 10}, std::pair{10000, 100}}) {
    EXPECT_EQ(GistRefreshStep(m), n) << m;
  }
}

ErrorList ErrorsAt(std::initializer_list<double> positions) {
  ErrorList errors;
  for (double p : positions) errors.push_back(std::make_unique<TError>(p));
  return errors;
}

TEST(FillErrorHistogram, BinsAreDecidedByTheExactProduct) {
  ChartSeries series;
  series.AddXY(500, 500);  // a refresh shows only the new points
  // 0.57 as a double lies just below 0.57, so it belongs to bin 56 (drawn at 57).
  FillErrorHistogram(ErrorsAt({0.5, 0.57, 0.0, 0.99999999, 0.5}), series);
  ASSERT_EQ(series.Count(), 100);
  for (int j = 0; j < 100; ++j) {
    EXPECT_EQ(series.XValue(j), j + 1);
    const double expected = j == 50 ? 2 : (j == 56 || j == 0 || j == 99) ? 1 : 0;
    EXPECT_EQ(series.YValue(j), expected) << j;
  }
}

TEST(FillErrorHistogram, NoErrorsStillGivesAHundredZeros) {
  ChartSeries series;
  FillErrorHistogram(ErrorList{}, series);
  ASSERT_EQ(series.Count(), 100);
  for (double y : series.AllPoints().ys) EXPECT_EQ(y, 0);
}

TEST(Play, OpensItsWindowWithTitleDescriptionAndState) {
  TTeravo model;
  PrepareDefaultPlay(model, 10, 777);
  RecordingHost host;
  PlayContext context = testing::TestContext();
  const auto record = Play(model, host, context);
  ASSERT_EQ(host.playWindows.size(), 1u);
  EXPECT_EQ(record, host.playWindows[0]);
  EXPECT_EQ(record->Title, "№1 розыгрыш  08.12.2026 4:39:53");
  EXPECT_EQ(record->Seed, 777u);
  ASSERT_EQ(record->BeginSettings.size(), 3u);
  EXPECT_EQ(record->BeginSettings[0], "Начальные условия розыгрыша:");
  EXPECT_EQ(record->BeginSettings[1], GetParametersText(model, "10", ','));
  EXPECT_EQ(record->BeginSettings[2], "Начальное значение датчика: 777");
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].second, WindowState::Maximised);
  EXPECT_TRUE(model.FShowProgress);

  context.Now = [] { return std::string("09.12.2026"); };
  model.FShowProgress = false;
  const auto second = Play(model, host, context);
  EXPECT_EQ(second->Title, "№2 розыгрыш  09.12.2026");
  EXPECT_EQ(second->Seed, 778u);
  EXPECT_EQ(host.shown[1].second, WindowState::Minimised);
  // Without progress only the end repaints.
  EXPECT_EQ(std::count(host.repaints.begin(), host.repaints.end(), second.get()), 1);
  EXPECT_TRUE(model.FShowProgress);
}

TEST(Play, OneIterationRunsTwoPassesAndRefreshesAtBoth) {
  TTeravo model;
  PrepareDefaultPlay(model, 1);
  RecordingHost host;
  PlayContext context = testing::TestContext();
  const auto record = Play(model, host, context);
  for (Chart chart :
       {Chart::chNums, Chart::chClientErrors, Chart::chAvTer, Chart::chErrorsIntensity}) {
    const ChartSeries& series = record->Series(chart);
    ASSERT_EQ(series.Count(), 2) << ChartName(chart);
    EXPECT_EQ(series.XValue(0), 0);
    EXPECT_EQ(series.XValue(1), 0.001);
  }
  EXPECT_EQ(record->Series(Chart::chErrorsGist).Count(), 100);
  // Two refresh repaints (at i = 0 and 1), then the final one.
  EXPECT_EQ(host.repaintTimes, (std::vector<std::string>{"0", "0,001", "0,001"}));
  EXPECT_EQ(record->Text(Field::edCurTime), "0,001");
  // The final availability coefficient uses T = FM * FDT.
  const long double t = 0.001L;
  const long double units = t * 101;
  EXPECT_EQ(record->Text(Field::edKg), FloatToStr((units - model.FDownTime) / units, ','));
}

TEST(Play, TheLastHistogramRefreshOf1049IterationsIsAt1040) {
  TTeravo model;
  PrepareDefaultPlay(model, 1049);
  RecordingHost host;
  PlayContext context = testing::TestContext();
  const auto record = Play(model, host, context);
  ASSERT_EQ(host.repaintTimes.size(), 1049u / 10 + 1 + 1);
  EXPECT_EQ(host.repaintTimes[1], "0,01");
  EXPECT_EQ(host.repaintTimes[host.repaintTimes.size() - 2], "1,04");
  EXPECT_EQ(host.repaintTimes.back(), "1,049");
  EXPECT_EQ(record->Series(Chart::chNums).Count(), 1050);
  EXPECT_EQ(record->Series(Chart::chErrorsGist).Count(), 100);
  EXPECT_EQ(record->Series(Chart::chNums).XValue(1049), static_cast<double>(1049 * 0.001L));
}

TEST(Play, FinalFieldsAgreeWithTheModel) {
  TTeravo model;
  PrepareDefaultPlay(model, 2000);
  RecordingHost host;
  PlayContext context = testing::TestContext();
  const auto record = Play(model, host, context);
  EXPECT_EQ(record->Text(Field::edWorkClientNum), IntToStr(model.FWorkClientNum));
  EXPECT_EQ(record->Text(Field::edClientErrNums),
            IntToStr(static_cast<std::int64_t>(model.FClientErrors.size())));
  EXPECT_EQ(record->Text(Field::edServerErrNums),
            IntToStr(static_cast<std::int64_t>(model.FServerErrors.size())));
  EXPECT_EQ(record->Text(Field::edCorrectServerTime), FloatToStr(model.FCorrectServerTime, ','));
  EXPECT_EQ(record->Text(Field::edAverTer), FloatToStr(model.FAverTer, ','));
  EXPECT_EQ(record->Text(Field::edPer), FloatToStr(model.FPer, ','));
  EXPECT_EQ(record->Text(Field::edCurTime), "2");
  const ChartSeries& nums = record->Series(Chart::chNums);
  EXPECT_EQ(nums.YValue(nums.Count() - 1), model.FWorkClientNum);
  const ChartSeries& errors = record->Series(Chart::chClientErrors);
  EXPECT_EQ(errors.YValue(errors.Count() - 1), static_cast<double>(model.FClientErrors.size()));
  // The histogram of the last refresh (2000 is a multiple of 20) counts every client error.
  double inHistogram = 0;
  for (double y : record->Series(Chart::chErrorsGist).AllPoints().ys) inHistogram += y;
  EXPECT_EQ(inHistogram, static_cast<double>(model.FClientErrors.size()));
}

TEST(Play, FailureProbabilityIsCappedAtOne) {
  TTeravo model;
  PrepareDefaultPlay(model, 5);
  model.FA = 0.5;  // 121 errors * 0.5 * 101 * 100 * 0.001 is far above 1
  RecordingHost host;
  PlayContext context = testing::TestContext();
  const auto record = Play(model, host, context);
  EXPECT_EQ(record->Text(Field::edPer), "1");
  EXPECT_EQ(model.FPer, 1.0);
}

TEST(Play, WithoutAnyFailureTheRunCoversEveryPass) {
  TTeravo model;
  PrepareDefaultPlay(model, 300);
  model.FA = 1e-300;  // no request can touch an error
  RecordingHost host;
  PlayContext context = testing::TestContext();
  const auto record = Play(model, host, context);
  double run = 0;
  for (int i = 0; i <= 300; ++i) run = static_cast<double>(static_cast<long double>(run) + 0.001);
  EXPECT_EQ(model.FCurTer, run);
  EXPECT_EQ(model.FTer, run);
  EXPECT_EQ(model.FAverTer, run);
  EXPECT_EQ(record->Text(Field::edAverTer), FloatToStr(run, ','));
  EXPECT_EQ(record->Text(Field::edTer), FloatToStr(run, ','));
  EXPECT_EQ(record->Text(Field::edKg), "1");
  EXPECT_EQ(record->Text(Field::edAverCorrectTime), "0");
  EXPECT_EQ(record->Text(Field::edAverWaitTime), "0");
  for (double y : record->Series(Chart::chAvTer).AllPoints().ys) EXPECT_EQ(y, 0);
  for (double y : record->Series(Chart::chErrorsIntensity).AllPoints().ys) EXPECT_EQ(y, 0);
}

// The two running totals are counted, step by step, from the model's own state: the failures
// it saw and the errors it began with and brought in, less those it still has.
TEST(Play, RunningTotalsOfFailuresAndCorrectionsFollowTheModel) {
  for (const std::uint32_t seed : {1u, 7u, 12345u}) {
    TTeravo start;
    PrepareDefaultPlay(start, 2000, seed);
    start.InitPlay();
    const auto initial =
        static_cast<double>(start.FClientErrors.size() + start.FServerErrors.size());

    TTeravo model;
    PrepareDefaultPlay(model, 2000, seed);
    RecordingHost host;
    const auto record = Play(model, host, testing::TestContext());
    const auto failures = record->Series(Chart::chFailures).AllPoints();
    const auto fixed = record->Series(Chart::chFixedErrors).AllPoints();
    ASSERT_EQ(failures.ys.size(), 2001u);
    ASSERT_EQ(fixed.xs, record->Series(Chart::chNums).AllPoints().xs);
    EXPECT_TRUE(std::is_sorted(failures.ys.begin(), failures.ys.end())) << seed;
    EXPECT_EQ(failures.ys.back(), model.FFailureNum) << seed;
    const double left =
        static_cast<double>(model.FClientErrors.size() + model.FServerErrors.size());
    EXPECT_EQ(fixed.ys.back(), initial + model.FNewClientErrorAdd + model.FNewServerErrorAdd - left)
        << seed;
    EXPECT_GT(fixed.ys.back(), 0) << seed;
  }
}

}  // namespace
}  // namespace teravo
