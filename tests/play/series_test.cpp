#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <stop_token>
#include <string>

#include "core/number_text.h"
#include "play/multi_play.h"
#include "play/series.h"
#include "tests/support/parameter_sets.h"
#include "tests/support/recording_host.h"

namespace teravo {
namespace {

using testing::PrepareDefaultPlay;
using testing::RecordingHost;

// Everything a play window of a series shows, as one text.
std::string Shown(const PlayRecord& record) {
  std::string text = record.Title;
  text.append("|").append(IntToStr(record.Seed));
  for (int f = 0; f < kFieldCount; ++f) text.append("|").append(record.Text(static_cast<Field>(f)));
  for (int c = 0; c < kChartCount; ++c) {
    for (double y : record.Series(static_cast<Chart>(c)).AllPoints().ys) {
      text.append(",").append(FloatToStr(y, '.'));
    }
  }
  return text;
}

TEST(Series, PlaysTakeConsecutiveSeedsAndNumbersWhateverTheThreads) {
  std::vector<std::string> first;
  for (int threads : {1, 2, 4}) {
    TTeravo model;
    PrepareDefaultPlay(model, 300, 4000000000u);
    model.FK = 7;
    model.FPlayCount = 2;
    const SeriesStart start = BeginSeries(model, model.FK);
    SeriesOptions options;
    options.threads = threads;
    const SeriesPlays plays =
        RunSeriesPlays(model.Parameters(), start, testing::TestContext(), options);
    ASSERT_EQ(plays.records.size(), 7u);
    std::vector<std::string> shown;
    for (std::size_t k = 0; k < plays.records.size(); ++k) {
      const PlayRecord& record = *plays.records[k];
      EXPECT_EQ(record.Seed, static_cast<std::uint32_t>(4000000000u + k));
      EXPECT_EQ(record.Title.substr(0, record.Title.find(' ')),
                "№" + IntToStr(static_cast<std::int64_t>(3 + k)));
      shown.push_back(Shown(record));
    }
    if (first.empty()) first = shown;
    EXPECT_EQ(shown, first) << threads << " threads";
  }
}

TEST(Series, AFailedPlayEndsTheSeriesThereWithItsWindowOpen) {
  TTeravo model;
  PrepareDefaultPlay(model, 50);
  model.FK = 6;
  RecordingHost host;
  PlayContext context = testing::TestContext();
  auto calls = std::make_shared<std::atomic<int>>(0);
  context.Now = [calls] {
    if (++*calls == 3) throw std::runtime_error("clock failed");
    return std::string("now");
  };
  SeriesOptions options;
  options.threads = 1;
  const CommandOutcome outcome =
      Guarded([&] { return PlayMultiple(model, host, context, options); });
  EXPECT_EQ(outcome, CommandOutcome::Failed("clock failed"));
  // Plays 1 and 2 ran to their end; play 3 opened its window before it failed.
  ASSERT_EQ(host.playWindows.size(), 3u);
  EXPECT_TRUE(host.distributions.empty());
  EXPECT_EQ(model.FPlayCount, 3);
}

TEST(Series, AStoppedSeriesKeepsThePlaysFinishedInOrder) {
  TTeravo model;
  PrepareDefaultPlay(model, 400);
  model.FK = 40;
  RecordingHost host;
  std::stop_source stop;
  SeriesOptions options;
  options.stop = stop.get_token();
  options.progress = [&stop](int done, int) {
    if (done == 3) stop.request_stop();
  };
  EXPECT_TRUE(PlayMultiple(model, host, testing::TestContext(), options).ran());
  const auto finished = static_cast<int>(host.playWindows.size()) - 1;  // less the averages
  ASSERT_GE(finished, 3);
  ASSERT_LT(finished, 40);
  EXPECT_EQ(host.playWindows.back()->Title, std::string(kAveragesTitle) + " (остановлен после " +
                                                IntToStr(finished) + " из 40 розыгрышей)");
  EXPECT_EQ(host.distributions.at(0)->FK, finished);
  EXPECT_EQ(model.FPlayCount, finished);

  // Stopped before any play ended: nothing opens.
  RecordingHost empty;
  std::stop_source before;
  before.request_stop();
  options.stop = before.get_token();
  options.progress = nullptr;
  EXPECT_EQ(PlayMultiple(model, empty, testing::TestContext(), options),
            CommandOutcome::Refused(std::string(kSeriesStoppedEmpty)));
  EXPECT_TRUE(empty.playWindows.empty());
}

TEST(Series, WithoutPointsTheFiguresAndAveragesStayTheSame) {
  auto run = [](bool keepPoints) {
    TTeravo model;
    PrepareDefaultPlay(model, 200);
    model.FK = 4;
    RecordingHost host;
    SeriesOptions options;
    options.keepPoints = keepPoints;
    EXPECT_TRUE(PlayMultiple(model, host, testing::TestContext(), options).ran());
    return host.playWindows;
  };
  const auto with = run(true);
  const auto without = run(false);
  ASSERT_EQ(with.size(), without.size());
  for (std::size_t w = 0; w < with.size(); ++w) {
    for (int f = 0; f < kFieldCount; ++f) {
      EXPECT_EQ(with[w]->Text(static_cast<Field>(f)), without[w]->Text(static_cast<Field>(f)));
    }
  }
  EXPECT_EQ(without[0]->Series(Chart::chNums).Count(), 0);
}

}  // namespace
}  // namespace teravo
