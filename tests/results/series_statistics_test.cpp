#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "core/general_error.h"
#include "play/play_driver.h"
#include "results/csv_export.h"
#include "results/field_range.h"
#include "results/series_statistics.h"
#include "tests/support/parameter_sets.h"
#include "tests/support/recording_host.h"

namespace teravo {
namespace {

TEST(SeriesStatistics, SpreadAndQuantilesAgreeWithFiguresWorkedByHand) {
  const std::vector<long double> values = {2, 4, 4, 4, 5, 5, 7, 9};
  const auto spread = SpreadOf(values);
  ASSERT_TRUE(spread.has_value());
  // Mean 5, squares 32 over 7 degrees of freedom; t(0.975; 7) = 2.36462425159278.
  EXPECT_NEAR(static_cast<double>(spread->deviation), std::sqrt(32.0 / 7), 1e-15);
  EXPECT_NEAR(static_cast<double>(spread->halfWidth),
              2.36462425159278 * std::sqrt(32.0 / 7) / std::sqrt(8.0), 1e-12);
  EXPECT_FALSE(SpreadOf(std::vector<long double>{3}).has_value()) << "one play has no interval";

  const std::vector<double> four = {1, 2, 3, 4};
  EXPECT_NEAR(static_cast<double>(QuantileOfSorted(four, 0.05L)), 1.15, 1e-15);
  EXPECT_NEAR(static_cast<double>(QuantileOfSorted(four, 0.95L)), 3.85, 1e-15);
  EXPECT_EQ(QuantileOfSorted(std::vector<double>{7}, 0.95L), 7);
}

// Point after point, whether the plays keep their order, swap a few places or are shuffled.
TEST(SeriesStatistics, PointSorterSortsEveryPointAsStdSortDoes) {
  std::mt19937 random(7);
  for (const std::size_t n : {1, 2, 10, 200}) {
    for (const std::size_t changedPerPoint : {std::size_t{0}, std::size_t{1}, n}) {
      PointSorter sorter(n);
      std::vector<double> values(n);
      // Quarters repeat, so equal values are covered too.
      for (double& v : values) v = static_cast<double>(random() % 40) / 4;
      for (int point = 0; point < 20; ++point) {
        for (std::size_t c = 0; c < changedPerPoint; ++c) {
          values[random() % n] = static_cast<double>(random() % 40) / 4;
        }
        std::vector<double> expected = values;
        std::sort(expected.begin(), expected.end());
        const std::span<const double> sorted = sorter.Sort(values);
        ASSERT_TRUE(std::equal(sorted.begin(), sorted.end(), expected.begin(), expected.end()))
            << n << " plays, " << changedPerPoint << " changed, point " << point;
      }
    }
  }
}

TEST(SeriesStatistics, FieldSpreadsComeFromThePlaysShownValues) {
  std::vector<std::shared_ptr<PlayRecord>> plays;
  for (const char* per : {"0,1", "0,3", "0,2"}) {
    auto play = std::make_shared<PlayRecord>(',');
    for (int f = 0; f < kFieldCount; ++f) play->SetText(static_cast<Field>(f), "1");
    play->SetText(Field::edPer, per);
    for (int i = 0; i < 3; ++i) play->Series(Chart::chNums).AddXY(i, i * (per[2] - '0'));
    plays.push_back(play);
  }
  PlayRecord averages(',');
  averages.Series(Chart::chNums) = plays[0]->Series(Chart::chNums);
  FormSpreads(plays, averages);
  const auto& per = averages.Spreads[static_cast<std::size_t>(Field::edPer)];
  ASSERT_TRUE(per.has_value());
  EXPECT_NEAR(static_cast<double>(per->deviation), 0.1, 1e-15);
  EXPECT_EQ(averages.Spreads[static_cast<std::size_t>(Field::edKg)]->deviation, 0);
  EXPECT_FALSE(averages.Spreads[static_cast<std::size_t>(Field::edCurTime)].has_value());
  // Point 2 is 2, 6 and 4 over the plays: the 5th percentile 2.2, the 95th 5.8.
  EXPECT_NEAR(averages.BandLow[0].YValue(2), 2.2, 1e-12);
  EXPECT_NEAR(averages.BandHigh[0].YValue(2), 5.8, 1e-12);
}

TEST(CsvExport, SemicolonsWithACommaQuotesWhereNeededAndEveryPoint) {
  PlayRecord record(',');
  record.Title = "№1 розыгрыш";
  record.BeginSettings.push_back("Кол-во: 100; \"кавычки\"");
  record.SetReal(Field::edPer, 0.25L);
  record.Series(Chart::chNums).AddXY(0.5, 100);
  record.Series(Chart::chNums).AddXY(1.5, 99);
  const std::string csv = PlayRecordCsv(record);
  EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_NE(csv.find("\"Кол-во: 100; \"\"кавычки\"\"\"\r\n"), std::string::npos);
  EXPECT_NE(csv.find("edPer;0,25\r\n"), std::string::npos);
  EXPECT_NE(csv.find("chNums x;chNums y;chClientErrors x"), std::string::npos);
  EXPECT_NE(csv.find("0,5;100;;;"), std::string::npos);
  EXPECT_NE(csv.find("1,5;99;;;"), std::string::npos);

  PlayRecord dotted('.');
  dotted.SetReal(Field::edPer, 0.25L);
  EXPECT_NE(PlayRecordCsv(dotted).find("edPer,0.25\r\n"), std::string::npos);
}

TEST(ReplayPlay, OpensAnIdenticalWindowUnderTheNextNumber) {
  TTeravo model;
  testing::PrepareDefaultPlay(model, 300, 987654321u);
  testing::RecordingHost host;
  const PlayContext context = testing::TestContext();
  const auto original = Play(model, host, context);
  model.FDT = 0.002;  // the current settings differ from those the play ran with
  ASSERT_TRUE(ReplayPlay(model, host, context, *original).ran());
  ASSERT_EQ(host.playWindows.size(), 2u);
  const PlayRecord& replayed = *host.playWindows[1];
  EXPECT_EQ(replayed.Title, "№2 розыгрыш  08.12.2026 4:39:53");
  EXPECT_EQ(replayed.BeginSettings, original->BeginSettings);
  EXPECT_EQ(replayed.BeginSettings.back(), "Начальное значение датчика: 987654321");
  for (int f = 0; f < kFieldCount; ++f) {
    EXPECT_EQ(replayed.Text(static_cast<Field>(f)), original->Text(static_cast<Field>(f)));
  }
  EXPECT_EQ(replayed.Series(Chart::chAvTer).AllPoints().ys,
            original->Series(Chart::chAvTer).AllPoints().ys);
  EXPECT_EQ(model.FPlayCount, 2);
  EXPECT_EQ(model.FDT, 0.002);

  PlayRecord averages(',');
  averages.Kind = RecordKind::Averages;
  EXPECT_EQ(ReplayPlay(model, host, context, averages).kind, CommandOutcome::Kind::Refused);
}

std::shared_ptr<PlayRecord> PlayWith(int workClients, const char* per) {
  auto record = std::make_shared<PlayRecord>(',');
  for (const ResultField& row : ResultFields()) record->SetText(row.field, "0");
  record->SetInt(Field::edWorkClientNum, workClients);
  record->SetText(Field::edPer, per);
  record->Series(Chart::chNums).AddXY(0, workClients);
  return record;
}

TEST(FormAverages, IntegerMeansTieToEvenAndRealsAreReadFromTheirTexts) {
  struct Case {
    int a, b;
    const char* mean;
  };
  for (const Case& c : {Case{2, 3, "2"}, Case{3, 4, "4"}, Case{1, 4, "2"}, Case{-3, -4, "-4"}}) {
    PlayRecord averages(',');
    FormAverages({PlayWith(c.a, "0,1"), PlayWith(c.b, "0,2")}, averages);
    EXPECT_EQ(averages.Text(Field::edWorkClientNum), c.mean) << c.a << " " << c.b;
    // The unrounded mean stands beside the rounded one.
    EXPECT_EQ(averages.ExactValue(Field::edWorkClientNum), (c.a + c.b) / 2.0L);
    EXPECT_EQ(averages.Text(Field::edPer), "0,15");
    EXPECT_EQ(averages.ExactValue(Field::edPer), averages.DisplayedValue(Field::edPer));
    EXPECT_EQ(averages.Series(Chart::chNums).YValue(0), (c.a + c.b) / 2.0);
  }
}

// Nine plays without client errors and eleven with one: the window shows 1, the mean is 0,55.
TEST(FormAverages, TheSweepPointAndTheCsvCarryTheExactMean) {
  std::vector<std::shared_ptr<PlayRecord>> plays;
  for (int i = 0; i < 20; ++i) {
    plays.push_back(PlayWith(5, "0,1"));
    plays.back()->SetInt(Field::edClientErrNums, i < 9 ? 0 : 1);
  }
  PlayRecord averages(',');
  averages.Kind = RecordKind::Averages;
  FormAverages(plays, averages);
  EXPECT_EQ(averages.Text(Field::edClientErrNums), "1");
  const SweepPoint point = SweepPointOf(1, "3", 20, averages);
  EXPECT_EQ(point.Mean(Field::edClientErrNums), 1);
  EXPECT_EQ(point.ExactMean(Field::edClientErrNums), 0.55L);

  const SweepTable table{"edProgrammersNum", {"3"}, 7, ',', {point}};
  const std::string exact = SweepCsv(table);
  EXPECT_NE(exact.find(";0,55;0,"), std::string::npos) << exact;
  EXPECT_NE(PlayRecordCsv(averages).find(";1;0,55;"), std::string::npos);
}

TEST(FieldRange, IntervalsStayWithinWhatTheFigureCanBe) {
  const struct {
    Field field;
    std::int32_t clients;
    long double mean, halfWidth, low, high;
    bool clipped;
  } cases[] = {
      {Field::edKg, 10, 0.98L, 0.05L, 0.93L, 1, true},
      {Field::edPer, 10, 0.5L, 0.25L, 0.25L, 0.75L, false},
      {Field::edWorkClientNum, 10, 9.5L, 1, 8.5L, 10, true},
      {Field::edWorkClientNum, 0, 9.5L, 1, 8.5L, 10.5L, false},  // clients not known
      {Field::edClientErrNums, 10, 0.25L, 0.5L, 0, 0.75L, true},
      {Field::edAverTer, 10, 3, 1, 2, 4, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(FieldName(c.field));
    const MeanInterval interval = IntervalWithin(RangeOf(c.field, c.clients), c.mean, c.halfWidth);
    EXPECT_NEAR(static_cast<double>(interval.low), static_cast<double>(c.low), 1e-15);
    EXPECT_NEAR(static_cast<double>(interval.high), static_cast<double>(c.high), 1e-15);
    EXPECT_EQ(interval.clipped, c.clipped);
  }
}

TEST(FormAverages, AFieldThatIsNotANumberEndsTheAveraging) {
  PlayRecord averages(',');
  auto broken = PlayWith(1, "0.5");  // a full stop where the separator is a comma
  EXPECT_THROW(FormAverages({broken}, averages), GeneralError);
}

}  // namespace
}  // namespace teravo
