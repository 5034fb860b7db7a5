#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "play/commands.h"
#include "play/run_budget.h"
#include "tests/support/parameter_sets.h"
#include "tests/support/recording_host.h"

namespace teravo {
namespace {

constexpr std::int32_t kMaxInt = std::numeric_limits<std::int32_t>::max();

// Sets that would exhaust memory or never end are refused before anything starts, with a
// message that names what to change.
TEST(CheckBeforeRun, RefusesWhatCannotEndWellAndSaysWhy) {
  struct Case {
    const char* name;
    void (*spoil)(TTeravo&);
    std::int32_t plays;
    const char* says;
  };
  const Case cases[] = {
      {"iterations", [](TTeravo& m) { m.FM = kMaxInt; }, 1, "Кол-во итераций слишком велико"},
      {"clients", [](TTeravo& m) { m.FClientsNum = kMaxInt; }, 1,
       "Кол-во программ-клиентов слишком велико"},
      {"plays", [](TTeravo& m) { m.FM = 10000; }, 1'000'000, "Кол-во розыгрышей слишком велико"},
      {"new errors by probability", [](TTeravo& m) { m.FP_newErr = 0.9999999999999999; }, 1,
       "Вероятность внести ошибку при исправлении слишком близка к 1"},
      {"new errors by intensity",
       [](TTeravo& m) {
         m.FByProbability = false;
         m.FY_newErr = 37000;
       },
       1, "Интенсивность внесения ошибки при исправлении слишком велика"},
      {"server errors", [](TTeravo& m) { m.FErrorsNum0 = 50'000'000; }, 1,
       "Начальное кол-во ошибок и коэффициент сложности сервера слишком велики"},
  };
  for (const Case& c : cases) {
    TTeravo model;
    testing::SetDefaults(model);
    c.spoil(model);
    const CommandOutcome outcome = CheckBeforeRun(model, c.plays, true, 2);
    EXPECT_EQ(outcome.kind, CommandOutcome::Kind::Refused) << c.name;
    EXPECT_EQ(outcome.text.find(c.says), 0u) << c.name << ": " << outcome.text;
    EXPECT_NE(outcome.text.find("(F2)"), std::string::npos) << c.name;
  }
}

TEST(RunBudget, WorkBoundAsksAboutHoursButNotAboutALongDefaultSeries) {
  TTeravo model;
  testing::SetDefaults(model);
  EXPECT_FALSE(LongRunQuestion(EstimateNeeds(model, 100000, false, 2)).has_value());
  EXPECT_TRUE(CheckBeforeRun(model, 100000, false, 2).ran()) << "without points it fits";

  model.FProgrammersNum = kMaxInt;
  model.FMu = 1e-6;
  const RunNeeds needs = EstimateNeeds(model, 1, true, 1);
  ASSERT_TRUE(LongRunQuestion(needs).has_value());
  EXPECT_GT(needs.seconds, 24 * 3600.0L);
  EXPECT_NE(LongRunQuestion(needs)->find("сут"), std::string::npos);
}

TEST(Play, NewErrorsBeyondWhatAListHoldsStopThePlayWithWhatItShowed) {
  for (const bool byProbability : {true, false}) {
    TTeravo model;
    testing::PrepareDefaultPlay(model, 2000);
    model.FByProbability = byProbability;
    model.FP_newErr = 0.999;
    model.FY_newErr = 6900;  // a first chance of 0.999 in a step of 0.001
    model.FMu = 50;
    model.MaxErrorsInList = 3000;
    testing::RecordingHost host;
    const CommandOutcome outcome = CheckedPlay(model, host, testing::TestContext());
    ASSERT_EQ(outcome.kind, CommandOutcome::Kind::Failed) << byProbability;
    EXPECT_NE(outcome.text.find("ошибок стало больше 3000"), std::string::npos) << outcome.text;
    EXPECT_NE(
        outcome.text.find(byProbability ? "Уменьшите вероятность" : "Уменьшите интенсивность"),
        std::string::npos)
        << outcome.text;
    ASSERT_EQ(host.playWindows.size(), 1u);
    EXPECT_TRUE(host.playWindows[0]->Stopped);
    EXPECT_LE(model.FClientErrors.size(), 3000u);
    EXPECT_GT(host.playWindows[0]->Series(Chart::chNums).Count(), 0) << "what was played stays";
  }
}

TEST(RunBudget, SizesAndDurationsReadAsAPersonWouldSayThem) {
  constexpr long double kMega = 1024.0L * 1024;
  EXPECT_EQ(AboutBytes(300 * kMega), "около 300 МБ");
  EXPECT_EQ(AboutBytes(1536 * kMega), "около 1,5 ГБ");
  EXPECT_EQ(AboutBytes(52 * 1024 * kMega), "около 52 ГБ");
  EXPECT_EQ(AboutDuration(90 * 60), "около 1,5 ч");
  EXPECT_EQ(AboutDuration(3 * 86400), "около 3 сут");
}

}  // namespace
}  // namespace teravo
