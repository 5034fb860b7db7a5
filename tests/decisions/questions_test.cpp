#include "decisions/questions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "core/general_error.h"
#include "params/settings_edits.h"
#include "play/series_curves.h"

namespace teravo {
namespace {

// Plays of 30 days on a step of 0,01: short, and long enough for every target to be reached
// by some plays and missed by others.
TParameters ShortPlays() {
  return ParametersFromTexts({{"edDT", "0.01"}, {"edM", "3000"}, {"edProgrammersNum", "2"}});
}

constexpr std::int32_t kPlays = 40;
constexpr std::uint32_t kFirstSeed = 7;

// Every play's values at every step, read apart from the questions.
std::vector<std::vector<double>> EveryStep(const TParameters& parameters, Curve curve,
                                           std::uint32_t firstSeed, std::vector<double>& times) {
  times.clear();
  for (std::int64_t i = 0; i <= parameters.FM; ++i) {
    times.push_back(static_cast<double>(static_cast<long double>(i) * parameters.FDT));
  }
  const auto seeds = ConsecutiveSeeds(firstSeed, kPlays);
  return RunSeriesCurves(parameters, seeds, CurveRequest{times, {curve}, true, false})
      .curves[0]
      .plays;
}

// The first time a play meets the target, by the definition: for "from then on", the first
// time from which every later value meets it.
std::optional<double> DirectFirstTime(const std::vector<double>& values,
                                      const std::vector<double>& times, const Target& target) {
  for (std::size_t j = 0; j < values.size(); ++j) {
    bool holds = Meets(target, values[j]);
    if (target.holding == TargetHolding::FromThenOn) {
      for (std::size_t later = j; later < values.size() && holds; ++later)
        holds = Meets(target, values[later]);
    }
    if (holds) return times[j];
  }
  return std::nullopt;
}

std::int32_t CountBy(const std::vector<std::optional<double>>& first, double time, bool strictly) {
  return static_cast<std::int32_t>(std::count_if(first.begin(), first.end(), [&](const auto& t) {
    return t && (strictly ? *t < time : *t <= time);
  }));
}

struct TargetCase {
  TargetQuantity quantity;
  TargetHolding holding;
  double probability;
};

// Every answer against a direct count over the same plays, read on every step.
TEST(Questions, AnswersAreDirectCountsOverTheSamePlays) {
  const TargetCase cases[] = {
      {TargetQuantity::Availability, TargetHolding::FromThenOn, 0.9},
      {TargetQuantity::Availability, TargetHolding::FirstReach, 0.5},
      {TargetQuantity::FailureIntensity, TargetHolding::FromThenOn, 0.75},
      {TargetQuantity::ClientErrors, TargetHolding::FirstReach, 0.9},
      {TargetQuantity::WorkingClients, TargetHolding::FromThenOn, 0.25},
      {TargetQuantity::Failures, TargetHolding::FirstReach, 1.0},
  };
  const TParameters parameters = ShortPlays();
  std::vector<double> times;
  const auto failures = EveryStep(parameters, Curve::Failures, kFirstSeed, times);
  for (const TargetCase& c : cases) {
    const auto values = EveryStep(parameters, CurveOf(c.quantity), kFirstSeed, times);
    // A threshold the mean crosses half way: some plays reach it, others do not.
    double mean = 0;
    for (const auto& play : values) mean += play[times.size() / 2] / kPlays;
    Question question;
    question.target = {c.quantity, mean, c.holding};
    question.probability = c.probability;
    question.plays = kPlays;
    question.firstSeed = kFirstSeed;
    question.gridPoints = static_cast<int>(times.size());
    question.by = 21.5;
    question.costs = CostQuestion{40, 7, 25};
    const Answers answers = AskQuestions(parameters, question);
    const std::string name =
        std::string(QuantityKey(c.quantity)) + " " + std::string(HoldingText(c.holding));

    ASSERT_EQ(answers.times, times) << name;
    std::vector<std::optional<double>> direct;
    for (const auto& play : values) direct.push_back(DirectFirstTime(play, times, question.target));
    EXPECT_EQ(answers.firstTimes, direct) << name;
    const std::int32_t reached = CountBy(direct, times.back(), false);
    EXPECT_EQ(answers.time.plays, kPlays) << name;
    EXPECT_EQ(answers.time.Censored(), kPlays - reached) << name;
    EXPECT_GT(answers.time.Censored() + reached, 0) << name;

    // The answer: at least p of the plays by it, fewer than p before it; none when fewer than
    // p of the plays reach the target at all.
    const double needed = c.probability * kPlays;
    if (answers.time.answer.time) {
      const double t = *answers.time.answer.time;
      EXPECT_GE(CountBy(direct, t, false), needed - 1e-9) << name;
      EXPECT_LT(CountBy(direct, t, true), needed - 1e-9) << name;
    } else {
      EXPECT_LT(reached, needed - 1e-9) << name;
    }
    ASSERT_TRUE(answers.byShare) << name;
    EXPECT_EQ(*answers.byShare, static_cast<double>(CountBy(direct, 21.5, false)) / kPlays) << name;

    // The cost of each release time, averaged over the plays.
    ASSERT_TRUE(answers.cost) << name;
    const ReleaseCost& cost = *answers.cost;
    const std::size_t horizon = 2500;
    ASSERT_EQ(cost.times.size(), horizon + 1) << name;
    std::size_t best = 0;
    std::vector<double> means;
    for (std::size_t j = 0; j <= horizon; ++j) {
      double sum = 0;
      for (const auto& play : failures) sum += 2 * 40 * times[j] + 7 * (play[horizon] - play[j]);
      means.push_back(sum / kPlays);
      if (means[j] < means[best]) best = j;
      EXPECT_NEAR(cost.mean[j], means[j], 1e-9 * std::max(1.0, means[j])) << name << " at " << j;
      EXPECT_LE(cost.low[j], cost.mean[j] + 1e-9) << name;
      EXPECT_GE(cost.high[j], cost.mean[j] - 1e-9) << name;
    }
    EXPECT_NEAR(cost.mean[cost.best], means[best], 1e-9 * std::max(1.0, means[best])) << name;
  }
}

// Each count the staffing tried is a direct count over its plays: the common seeds for the
// search, the next seeds for the re-checks.
TEST(Questions, StaffingTrialsAreDirectCountsOverTheirSeeds) {
  const TParameters parameters = ShortPlays();
  Question question;
  question.target = {TargetQuantity::Availability, 0.3, TargetHolding::FromThenOn};
  question.probability = 0.8;
  question.plays = kPlays;
  question.firstSeed = kFirstSeed;
  question.gridPoints = static_cast<int>(parameters.FM + 1);
  question.by = 20;
  question.staffing = StaffingQuestion{0, 1, 8, 12};
  const Answers answers = AskQuestions(parameters, question);
  ASSERT_TRUE(answers.staffing);
  const Staffing& staffing = *answers.staffing;
  ASSERT_FALSE(staffing.trials.empty());
  for (const StaffingTrial& trial : staffing.trials) {
    TParameters set = parameters;
    set.FProgrammersNum = trial.programmers;
    std::vector<double> times;
    const auto values =
        EveryStep(set, Curve::Availability, kFirstSeed + (trial.freshSeeds ? kPlays : 0), times);
    std::vector<std::optional<double>> direct;
    for (const auto& play : values) direct.push_back(DirectFirstTime(play, times, question.target));
    EXPECT_EQ(trial.reached, CountBy(direct, 20, false)) << trial.programmers;
    EXPECT_EQ(trial.plays, kPlays);
  }
  // The answer reaches the probability on the common seeds, one fewer does not.
  ASSERT_EQ(staffing.status, StaffingStatus::Found);
  for (const StaffingTrial& trial : staffing.trials) {
    if (trial.freshSeeds) continue;
    EXPECT_EQ(trial.Share() >= 0.8, trial.programmers >= *staffing.answer) << trial.programmers;
  }
}

TEST(Questions, RefuseDatesOutsideThePlay) {
  const TParameters parameters = ShortPlays();
  Question question;
  question.plays = 1;
  for (double by : {0.0, -1.0, 30.5}) {
    question.by = by;
    EXPECT_THROW(AskQuestions(parameters, question), GeneralError) << by;
  }
  question.by.reset();
  question.costs = CostQuestion{1, 1, 31};
  EXPECT_THROW(AskQuestions(parameters, question), GeneralError);
}

}  // namespace
}  // namespace teravo
