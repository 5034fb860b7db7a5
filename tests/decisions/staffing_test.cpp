#include "decisions/staffing.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <vector>

namespace teravo {
namespace {

struct SearchCase {
  const char* name;
  std::map<std::int32_t, std::int32_t> common;  // plays of 10 reaching by the date, per count
  std::map<std::int32_t, std::int32_t> fresh;
  StaffingQuestion question;
  StaffingStatus status;
  std::optional<std::int32_t> answer;
  bool confirmed;
  int searchEvaluations;  // counts played on the common seeds
};

TEST(Staffing, SearchesTheSmallestCountAndRechecksOnFreshSeeds) {
  const std::map<std::int32_t, std::int32_t> rising = {{1, 0},  {2, 3},  {3, 6},  {4, 9},
                                                       {5, 10}, {6, 10}, {7, 10}, {8, 10}};
  const SearchCase cases[] = {
      {"found and confirmed",
       rising,
       {{4, 9}, {3, 7}},
       {0, 1, 8, 12},
       StaffingStatus::Found,
       4,
       true,
       4},
      {"fresh seeds disagree",
       rising,
       {{4, 8}, {3, 6}},
       {0, 1, 8, 12},
       StaffingStatus::Found,
       4,
       false,
       4},
      {"the fewest already reach it",
       rising,
       {{5, 10}, {4, 9}},
       {0, 5, 8, 12},
       StaffingStatus::Found,
       5,
       false,
       3},
      {"even the most fall short",
       rising,
       {},
       {0, 1, 3, 12},
       StaffingStatus::NotReached,
       std::nullopt,
       false,
       1},
      {"out of evaluations",
       rising,
       {{4, 9}, {3, 6}},
       {0, 1, 8, 2},
       StaffingStatus::BudgetSpent,
       4,
       true,
       2},
  };
  for (const SearchCase& c : cases) {
    int evaluations = 0;
    const StaffingPlays play = [&](std::int32_t programmers,
                                   bool fresh) -> std::optional<std::int32_t> {
      if (!fresh) ++evaluations;
      const auto& table = fresh ? c.fresh : c.common;
      return table.at(programmers);
    };
    const Staffing staffing = FindStaffing(c.question, 0.9, 10, play);
    EXPECT_EQ(staffing.status, c.status) << c.name;
    EXPECT_EQ(staffing.answer, c.answer) << c.name;
    EXPECT_EQ(staffing.Confirmed(0.9), c.confirmed) << c.name;
    EXPECT_EQ(evaluations, c.searchEvaluations) << c.name;
    // Every count played is reported with its share, the re-checks last.
    for (const StaffingTrial& trial : staffing.trials) {
      const auto& table = trial.freshSeeds ? c.fresh : c.common;
      EXPECT_EQ(trial.reached, table.at(trial.programmers)) << c.name;
      EXPECT_EQ(trial.plays, 10);
    }
    if (c.answer) {
      ASSERT_TRUE(staffing.recheck) << c.name;
      EXPECT_TRUE(staffing.recheck->freshSeeds);
      EXPECT_EQ(staffing.recheck->programmers, *c.answer);
      ASSERT_TRUE(staffing.recheckBelow) << c.name;
      EXPECT_EQ(staffing.recheckBelow->programmers, *c.answer - 1);
    }
  }
}

TEST(Staffing, AStopLeavesNoAnswerAndCountsAlreadyPlayedAreNotPlayedAgain) {
  const StaffingQuestion question{0, 1, 8, 12};
  int played = 0;
  const Staffing stopped = FindStaffing(question, 0.9, 10, [&](std::int32_t, bool) {
    return ++played < 2 ? std::optional<std::int32_t>(10) : std::nullopt;
  });
  EXPECT_EQ(stopped.status, StaffingStatus::Stopped);
  EXPECT_FALSE(stopped.answer);

  const StaffingTrial known[] = {{8, 10, 10, false}, {4, 10, 9, false}};
  std::vector<std::int32_t> asked;
  FindStaffing(
      question, 0.9, 10,
      [&](std::int32_t programmers, bool fresh) {
        if (!fresh) asked.push_back(programmers);
        return std::optional<std::int32_t>(programmers >= 4 ? 10 : 0);
      },
      known);
  EXPECT_EQ(asked, (std::vector<std::int32_t>{2, 3}));
}

}  // namespace
}  // namespace teravo
