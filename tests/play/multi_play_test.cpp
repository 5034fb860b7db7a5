#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/number_text.h"
#include "params/run_description.h"
#include "play/multi_play.h"
#include "tests/support/parameter_sets.h"
#include "tests/support/recording_host.h"

namespace teravo {
namespace {

using testing::PrepareDefaultPlay;
using testing::RecordingHost;

// Every value field; a series averages all of them but the moment, which it sets itself.
std::vector<Field> AllFields() {
  std::vector<Field> fields;
  for (int f = 0; f < kFieldCount; ++f) fields.push_back(static_cast<Field>(f));
  return fields;
}

TEST(PlayMultiple, OnePlayAveragesToThatPlay) {
  TTeravo model;
  PrepareDefaultPlay(model, 500);
  model.FK = 1;
  RecordingHost host;
  EXPECT_TRUE(PlayMultiple(model, host, testing::TestContext()).ran());
  ASSERT_EQ(host.playWindows.size(), 2u);
  const PlayRecord& play = *host.playWindows[0];
  const PlayRecord& averages = *host.playWindows[1];
  EXPECT_EQ(averages.Title, "Средние значения за все розыгрышы");
  EXPECT_EQ(averages.Seed, 0u);
  for (Field field : AllFields()) {
    EXPECT_EQ(averages.Text(field), play.Text(field)) << FieldName(field);
  }
  for (int c = 0; c < kChartCount; ++c) {
    const Chart chart = static_cast<Chart>(c);
    EXPECT_EQ(averages.Series(chart).AllPoints().xs, play.Series(chart).AllPoints().xs)
        << ChartName(chart);
    EXPECT_EQ(averages.Series(chart).AllPoints().ys, play.Series(chart).AllPoints().ys)
        << ChartName(chart);
  }
  ASSERT_EQ(host.distributions.size(), 1u);
  EXPECT_EQ(host.distributions[0]->Caption, "Распределения по результатам 1 розыгрышей");
}

TEST(PlayMultiple, SeriesOfTenOpensItsWindowsAndDistributionsAtHalfTime) {
  TTeravo model;
  PrepareDefaultPlay(model, 200);
  RecordingHost host;
  std::vector<std::pair<int, int>> progress;
  SeriesOptions options;
  options.progress = [&progress](int done, int total) { progress.emplace_back(done, total); };
  EXPECT_TRUE(PlayMultiple(model, host, testing::TestContext(), options).ran());
  ASSERT_EQ(host.playWindows.size(), 11u);
  for (int k = 0; k < 10; ++k) {
    EXPECT_EQ(host.playWindows[static_cast<std::size_t>(k)]->Title,
              "№" + IntToStr(k + 1) + " розыгрыш  08.12.2026 4:39:53");
    EXPECT_EQ(host.shown[static_cast<std::size_t>(k)].second, WindowState::Minimised);
    EXPECT_EQ(progress[static_cast<std::size_t>(k)], std::make_pair(k + 1, 10));
  }
  EXPECT_EQ(host.shown.back().second, WindowState::Normal);
  EXPECT_TRUE(model.FShowProgress);
  const PlayRecord& averages = *host.playWindows.back();
  EXPECT_EQ(averages.BeginSettings.back(),
            GetParametersText(model, "10", ',') + "; Число розыгрышей:10");
  EXPECT_EQ(averages.Text(Field::edCurTime), "0,2");

  ASSERT_EQ(host.distributions.size(), 1u);
  const DistributionsRecord& distributions = *host.distributions[0];
  EXPECT_EQ(distributions.Caption, "Распределения по результатам 10 розыгрышей");
  EXPECT_EQ(distributions.CurTimeText, "0,1");
  EXPECT_EQ(distributions.FM, 200);
  EXPECT_EQ(distributions.FK, 10);
  EXPECT_EQ(distributions.FTotalTime, static_cast<double>(200 * 0.001L));
  EXPECT_EQ(distributions.FPlayWindows.size(), 10u);
  EXPECT_EQ(host.distributionRepaints, 1);
  for (const ChartSeries* bars :
       {&distributions.WorkClients, &distributions.ErrorsInClients, &distributions.Failures}) {
    ASSERT_EQ(bars->Count(), 20);
    double shares = 0;
    for (double y : bars->AllPoints().ys) shares += y;
    EXPECT_NEAR(shares, 1.0, 1e-12);
  }
}

}  // namespace
}  // namespace teravo
