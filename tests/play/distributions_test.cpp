#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/general_error.h"
#include "play/distributions.h"
#include "tests/support/recording_host.h"

namespace teravo {
namespace {

using testing::RecordingHost;

// A series of FM = 10 iterations of one day: play p has 100 * p + i working clients and
// 7 client errors after iteration i, so the lowest bar of chWorkClients tells the index used.
struct Series {
  explicit Series(int plays) : record(',') {
    record.FM = 10;
    record.FK = plays;
    record.FTotalTime = 10;
    record.CurTimeText = std::string("5");
    for (int p = 0; p < plays; ++p) {
      auto play = std::make_shared<PlayRecord>(',');
      host.OpenPlayWindow(play);
      for (int i = 0; i <= 10; ++i) {
        play->Series(Chart::chNums).AddXY(i, 100 * p + i);
        play->Series(Chart::chClientErrors).AddXY(i, 7);
      }
      record.FPlayWindows.push_back(play);
    }
  }
  double IndexUsed() const { return record.WorkClients.XValue(0); }

  RecordingHost host;
  DistributionsRecord record;
};

TEST(RecomputeDistributions, MomentTakesTheNearestIndexTiesToEven) {
  struct Case {
    const char* moment;
    double index;
  };
  for (const Case& c : {Case{"5", 5}, Case{"2,5", 2}, Case{"3,5", 4}, Case{"0", 0}, Case{"10", 9},
                        Case{"10,4", 9}, Case{"9,6", 9}}) {
    Series s(3);
    s.record.CurTimeText = std::string(c.moment);
    EXPECT_TRUE(RecomputeDistributions(s.record, s.host).ran()) << c.moment;
    EXPECT_EQ(s.IndexUsed(), c.index) << c.moment;
    EXPECT_EQ(s.host.distributionRepaints, 1);
  }
}

TEST(RecomputeDistributions, RefusedMomentsLeaveTheBarsAsTheyWere) {
  struct Case {
    const char* moment;
    const char* message;
  };
  for (const Case& c :
       {Case{"10,6",
             "Текущее время для вывода распределений не должно превышать время "
             "розыгрыша 10 суток."},
        Case{"1E300",
             "Текущее время для вывода распределений не должно превышать время "
             "розыгрыша 10 суток."},
        Case{"-0,01", "Текущее время для вывода распределений не должно быть меньше нуля."}}) {
    Series s(3);
    RecomputeDistributions(s.record, s.host);
    s.record.CurTimeText = std::string(c.moment);
    EXPECT_EQ(RecomputeDistributions(s.record, s.host), CommandOutcome::Refused(c.message))
        << c.moment;
    EXPECT_EQ(s.IndexUsed(), 5) << c.moment;
    EXPECT_EQ(s.record.WorkClients.Count(), 20);
  }
}

TEST(RecomputeDistributions, AMomentThatIsNotANumberIsAGeneralErrorBeforeAnythingChanges) {
  Series s(2);
  RecomputeDistributions(s.record, s.host);
  s.record.CurTimeText = std::string("5.5");
  try {
    RecomputeDistributions(s.record, s.host);
    FAIL();
  } catch (const GeneralError& e) {
    EXPECT_STREQ(e.what(), "'5.5' is not a valid floating point value");
  }
  EXPECT_EQ(s.record.WorkClients.Count(), 20);
}

TEST(RecomputeDistributions, TwentyClassesWithBarsAtLowerEdgesAndShares) {
  Series s(4);  // working clients 5, 105, 205, 305 at the moment 5
  RecomputeDistributions(s.record, s.host);
  // These plays keep no running failures, as plays read back from older documents: that
  // histogram stays empty and the window's two are formed.
  EXPECT_EQ(s.record.Failures.Count(), 0);
  const ChartSeries& work = s.record.WorkClients;
  ASSERT_EQ(work.Count(), 20);
  for (int k = 0; k < 20; ++k) {
    EXPECT_DOUBLE_EQ(work.XValue(k), 5 + 300.0 * k / 19) << k;
  }
  // (w - 5) * 19 / 300: 0, 6.33, 12.67, 19 -> classes 0, 6, 12 and 19.
  for (int k = 0; k < 20; ++k) {
    const bool filled = k == 0 || k == 6 || k == 12 || k == 19;
    EXPECT_EQ(work.YValue(k), filled ? 0.25 : 0) << k;
  }
  // All plays have 7 errors: every bar at 7, class 0 holds them all.
  const ChartSeries& errors = s.record.ErrorsInClients;
  ASSERT_EQ(errors.Count(), 20);
  for (int k = 0; k < 20; ++k) {
    EXPECT_EQ(errors.XValue(k), 7);
    EXPECT_EQ(errors.YValue(k), k == 0 ? 1 : 0);
  }
}

TEST(RecomputeDistributions, ClosedPlaysLeaveTheListAndTheSharesFollowTheRest) {
  Series s(4);
  s.host.ClosePlayWindow(*s.host.playWindows[1]);
  s.host.ClosePlayWindow(*s.host.playWindows[1]);  // plays 0 and 3 remain
  RecomputeDistributions(s.record, s.host);
  EXPECT_EQ(s.record.FPlayWindows.size(), 2u);
  EXPECT_EQ(s.record.WorkClients.YValue(0), 0.5);
  EXPECT_EQ(s.record.WorkClients.YValue(19), 0.5);
  EXPECT_EQ(s.record.WorkClients.XValue(19), 305);

  s.host.playWindows.clear();
  RecomputeDistributions(s.record, s.host);
  EXPECT_TRUE(s.record.FPlayWindows.empty());
  EXPECT_EQ(s.record.WorkClients.Count(), 0);
  EXPECT_EQ(s.record.ErrorsInClients.Count(), 0);
}

TEST(CloseSeriesPlays, ClosesTheOpenPlaysIgnoringAFailureAndEmptiesTheList) {
  Series s(4);
  s.host.ClosePlayWindow(*s.host.playWindows[0]);  // closed by the user before
  s.host.closeRequests = 0;
  s.host.failClose = 1;  // the second close request fails
  CloseSeriesPlays(s.record, s.host);
  EXPECT_EQ(s.host.closeRequests, 3);
  EXPECT_EQ(s.host.playWindows.size(), 1u);  // the one that failed
  EXPECT_TRUE(s.record.FPlayWindows.empty());
  RecomputeDistributions(s.record, s.host);
  EXPECT_EQ(s.record.WorkClients.Count(), 0);
}

TEST(CloseSeriesPlays, TheAveragesTitleThenSaysHowManyPlaysItStandsForOnce) {
  Series s(2);
  auto averages = std::make_shared<PlayRecord>(',');
  averages->Kind = RecordKind::Averages;
  averages->PlayCount = 2;
  averages->Title = "Средние";
  s.record.Averages = averages;
  CloseSeriesPlays(s.record, s.host);
  CloseSeriesPlays(s.record, s.host);
  EXPECT_EQ(averages->Title, "Средние (розыгрышей: 2, их окна закрыты)");
}

}  // namespace
}  // namespace teravo
