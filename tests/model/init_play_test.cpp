#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "tests/support/parameter_sets.h"
#include "core/general_error.h"
#include "model/teravo.h"

namespace teravo {
namespace {

using testing::SetDefaults;

TEST(InitPlayTest, TheDefaultsMake321DrawsInCreationOrder) {
  TTeravo m(std::make_unique<FixedSeedSource>(777));
  SetDefaults(m);
  m.InitPlay();
  EXPECT_EQ(m.Random.Draws, 321u);
  EXPECT_EQ(m.PlaySeed, 777u);
  ASSERT_EQ(m.FClients.size(), 100u);
  ASSERT_EQ(m.FClientErrors.size(), 100u);
  ASSERT_EQ(m.FServerErrors.size(), 21u);

  RandomSource ref;
  ref.Seed = 777;
  for (const auto& c : m.FClients) {
    const double center = ref.RandomUniform();
    const double spread = static_cast<double>(ref.RandomUniform() * (1.0L - center) / 3);
    EXPECT_EQ(c->FCenter, center);
    EXPECT_EQ(c->FSpread, spread);
    EXPECT_LT(c->FCenter + 3 * c->FSpread, 1.0);
    EXPECT_EQ(c->FState, ClientState::Working);
    EXPECT_EQ(c->FError, nullptr);
  }
  for (const auto& e : m.FClientErrors) EXPECT_EQ(e->GetPosition(), ref.RandomUniform());
  for (const auto& e : m.FServerErrors) EXPECT_EQ(e->GetPosition(), ref.RandomUniform());
  EXPECT_EQ(m.Random.Seed, ref.Seed);
}

TEST(InitPlayTest, ServerErrorCountRoundsTiesToEven) {
  struct Case {
    std::int32_t errors;
    double complexity;
    std::size_t serverErrors;
  };
  const Case cases[] = {
      {5, 1, 1},    {15, 1, 3}, {25, 1, 3},  {35, 1, 5},   {100, 0.3, 4},
      {100, 2, 21}, {5, -1, 1}, {15, -1, 0}, {100, -1, 0}, {1, 0.01, 1},
  };
  for (const Case& c : cases) {
    TTeravo m(std::make_unique<FixedSeedSource>(1));
    SetDefaults(m);
    m.FErrorsNum0 = c.errors;
    m.FCoeffComplexity = c.complexity;
    m.InitPlay();
    EXPECT_EQ(m.FServerErrors.size(), c.serverErrors) << c.errors << " / " << c.complexity;
    EXPECT_EQ(m.Random.Draws, 2u * 100 + c.errors + c.serverErrors);
  }
}

TEST(InitPlayTest, NonPositiveCountsCreateNothing) {
  TTeravo m(std::make_unique<FixedSeedSource>(1));
  SetDefaults(m);
  m.FClientsNum = 0;
  m.FErrorsNum0 = -3;
  m.InitPlay();
  EXPECT_TRUE(m.FClients.empty());
  EXPECT_TRUE(m.FClientErrors.empty());
  EXPECT_TRUE(m.FServerErrors.empty());  // -3 * 2 / 10 = -0.6 rounds to -1
}

TEST(InitPlayTest, ASecondPlayLeavesNothingOfTheFirst) {
  TTeravo m(std::make_unique<FixedSeedSource>(40));
  SetDefaults(m);
  m.FA = 0.05;  // plenty of failures in the first play
  m.FCoeffComplexity = 0.5;
  m.FP_newErr = 0.4;
  m.InitPlay();
  for (int i = 0; i < 300; ++i) m.Iteration();
  ASSERT_GT(m.FFailureNum, 0);
  m.FPer = 0.125;

  m.FClientsNum = 7;
  m.FErrorsNum0 = 13;
  m.FCoeffComplexity = 2;  // 2.6 -> 3, hence 4 server errors
  m.InitPlay();
  EXPECT_EQ(m.GetPlayCount(), 2);
  EXPECT_EQ(m.PlaySeed, 41u);
  EXPECT_EQ(m.FClients.size(), 7u);
  EXPECT_EQ(m.FClientErrors.size(), 13u);
  EXPECT_EQ(m.FServerErrors.size(), 4u);
  for (const auto& c : m.FClients) {
    EXPECT_EQ(c->FState, ClientState::Working);
    EXPECT_EQ(c->FError, nullptr);
    EXPECT_EQ(c->FCorrectTime, 0);
    EXPECT_EQ(c->FWaitTime, 0);
  }
  EXPECT_EQ(m.FServerState, ServerState::Works);
  EXPECT_EQ(m.FServerError, nullptr);
  EXPECT_EQ(m.FBusyProgrammers, 0);
  EXPECT_EQ(m.FWorkClientNum, 7);
  EXPECT_EQ(m.FFailureNum, 0);
  EXPECT_EQ(m.FTer, 0);
  EXPECT_EQ(m.FAverTer, 0);
  EXPECT_EQ(m.FCurTer, 0);
  EXPECT_EQ(m.FCorrectServerTime, 0);
  EXPECT_EQ(m.FDownTime, 0);
  EXPECT_EQ(m.FNewClientErrorAdd, 0);
  EXPECT_EQ(m.FNewServerErrorAdd, 0);
  EXPECT_EQ(m.FPer, 0.125);  // the play driver's, not the model's
}

TEST(InitPlayTest, SameSeedSamePlay) {
  auto run = [](std::uint32_t seed) {
    TTeravo m(std::make_unique<FixedSeedSource>(seed));
    SetDefaults(m);
    m.FA = 0.02;
    m.FCoeffComplexity = 0.3;
    m.InitPlay();
    for (int i = 0; i < 400; ++i) m.Iteration();
    return std::to_string(m.FFailureNum) + " " + std::to_string(m.FDownTime) + " " +
           std::to_string(m.FClientErrors.size()) + " " + std::to_string(m.Random.Seed);
  };
  EXPECT_EQ(run(1234), run(1234));
  EXPECT_NE(run(1234), run(1235));
}

TEST(InitPlayTest, PlayCountStartsAtZeroAndCountsPlays) {
  TTeravo m(std::make_unique<FixedSeedSource>(5));
  EXPECT_EQ(m.GetPlayCount(), 0);
  SetDefaults(m);
  for (int i = 1; i <= 3; ++i) {
    m.InitPlay();
    EXPECT_EQ(m.GetPlayCount(), i);
    EXPECT_EQ(m.PlaySeed, 4u + i);
  }
}

TEST(InitPlayTest, HarmfulParametersAreRefusedBeforeAnythingChanges) {
  struct Case {
    const char* name;
    void (*set)(TTeravo&);
  };
  const Case cases[] = {
      {"complexity 0", [](TTeravo& m) { m.FCoeffComplexity = 0; }},
      {"probability 1", [](TTeravo& m) { m.FP_newErr = 1; }},
      {"probability above 1", [](TTeravo& m) { m.FP_newErr = 1.5; }},
      {"more server errors than memory holds", [](TTeravo& m) { m.FCoeffComplexity = 1e10; }},
      {"certain intensity",
       [](TTeravo& m) {
         m.FByProbability = false;
         m.FY_newErr = 1e6;
         m.FDT = 1;
       }},
  };
  for (const Case& c : cases) {
    TTeravo m(std::make_unique<FixedSeedSource>(9));
    SetDefaults(m);
    m.InitPlay();
    c.set(m);
    EXPECT_TRUE(IsHarmful(m)) << c.name;
    EXPECT_FALSE(IsUsable(m)) << c.name;
    try {
      m.InitPlay();
      ADD_FAILURE() << c.name << ": not refused";
    } catch (const GeneralError& e) {
      EXPECT_EQ(std::string(e.what()), kInvalidOperation) << c.name;
    }
    EXPECT_EQ(m.GetPlayCount(), 1) << c.name;
    EXPECT_EQ(m.Random.Draws, 321u) << c.name;
    EXPECT_EQ(m.FClients.size(), 100u) << c.name;
  }
}

TEST(InitPlayTest, UsableParameters) {
  struct Case {
    const char* name;
    void (*set)(TTeravo&);
    bool usable;
  };
  const Case cases[] = {
      {"defaults", [](TTeravo&) {}, true},
      {"no clients", [](TTeravo& m) { m.FClientsNum = 0; }, false},
      {"no programmers", [](TTeravo& m) { m.FProgrammersNum = 0; }, false},
      {"share 0", [](TTeravo& m) { m.FA = 0; }, false},
      {"share 1", [](TTeravo& m) { m.FA = 1; }, false},
      {"no errors", [](TTeravo& m) { m.FErrorsNum0 = 0; }, false},
      {"negative complexity", [](TTeravo& m) { m.FCoeffComplexity = -1; }, false},
      {"no requests", [](TTeravo& m) { m.FYk = 0; }, false},
      {"no corrections", [](TTeravo& m) { m.FMu = 0; }, false},
      {"step 0", [](TTeravo& m) { m.FDT = 0; }, false},
      {"no iterations", [](TTeravo& m) { m.FM = 0; }, false},
      {"negative probability", [](TTeravo& m) { m.FP_newErr = -0.1; }, false},
      {"probability just below 1", [](TTeravo& m) { m.FP_newErr = 0.999; }, true},
      {"intensity mode ignores the probability",
       [](TTeravo& m) {
         m.FByProbability = false;
         m.FP_newErr = 7;
       },
       true},
      {"negative intensity",
       [](TTeravo& m) {
         m.FByProbability = false;
         m.FY_newErr = -1;
       },
       false},
      {"zero intensity",
       [](TTeravo& m) {
         m.FByProbability = false;
         m.FY_newErr = 0;
       },
       true},
      {"series size is not the model's", [](TTeravo& m) { m.FK = 0; }, true},
  };
  for (const Case& c : cases) {
    TTeravo m;
    SetDefaults(m);
    c.set(m);
    EXPECT_EQ(IsUsable(m), c.usable) << c.name;
  }
}

}  // namespace
}  // namespace teravo
