#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/teravo.h"
#include "tests/model/model_situation.h"

namespace teravo {
namespace {

using test::Situation;

// The draws of a working client whose request reaches the server, replayed on `r`.
void ReplayRequestToServer(RandomSource& r, const TClient& c) {
  r.Chance(1);
  r.RandomGauss(c.FCenter, 0);
  r.RandomUniform();
  r.RandomGauss(c.FCenter, 0);
  r.RandomUniform();
}

TEST(IterationTest, TwoClientsFailInOneStepWithOneProgrammer) {
  Situation s(1);
  s.AlwaysRequest();
  TError* e1 = s.AddClientError(0.2);
  TError* e2 = s.AddClientError(0.6);
  TClient& a = s.AddClient(0.2);
  TClient& b = s.AddClient(0.6);
  s.m.FCurTer = 3;
  RandomSource ref = s.m.Random;
  s.m.Iteration();

  EXPECT_EQ(a.FState, ClientState::InCorrection);
  EXPECT_EQ(a.FError, e1);
  EXPECT_EQ(b.FState, ClientState::Waiting);
  EXPECT_EQ(b.FError, e2);
  EXPECT_EQ(s.m.FBusyProgrammers, 1);
  EXPECT_EQ(s.m.FWorkClientNum, 0);
  EXPECT_EQ(s.m.FFailureNum, 2);
  // The visit in which a client fails neither counts down time nor ends the run.
  EXPECT_EQ(s.m.FDownTime, 0);
  EXPECT_EQ(s.m.FCurTer, 3);
  EXPECT_EQ(s.m.FTer, 0);
  // Each: request chance, request position, half-width; no server request after a hit.
  for (int i = 0; i < 2; ++i) {
    ref.Chance(1);
    ref.RandomGauss(0, 0);
    ref.RandomUniform();
  }
  EXPECT_EQ(s.m.Random.Seed, ref.Seed);
}

TEST(IterationTest, NoRequestCostsOneDrawAndChangesNothing) {
  Situation s(1);
  s.AddClientError(0.5);
  TClient& a = s.AddClient(0.5);
  s.m.Iteration();
  EXPECT_EQ(a.FState, ClientState::Working);
  EXPECT_EQ(s.m.Random.Draws, 1u);
  EXPECT_EQ(s.m.FFailureNum, 0);
}

TEST(IterationTest, WaitingClientTakesAFreeProgrammerAndIsCorrectedOnlyNextStep) {
  Situation s(2);
  s.AlwaysCorrect();
  TError* e = s.AddClientError(0.5);
  TClient& a = s.AddClient(0.5, ClientState::Waiting, e);
  s.m.Iteration();
  EXPECT_EQ(a.FState, ClientState::InCorrection);
  EXPECT_EQ(a.FError, e);
  EXPECT_EQ(s.m.FBusyProgrammers, 1);
  EXPECT_EQ(a.FWaitTime, 1);
  EXPECT_EQ(a.FCorrectTime, 0);
  EXPECT_EQ(s.m.FClientErrors.size(), 1u);
  EXPECT_EQ(s.m.Random.Draws, 0u);  // a waiting client draws nothing
  EXPECT_EQ(s.m.FDownTime, 1);

  s.m.Iteration();
  EXPECT_EQ(a.FState, ClientState::Working);
  EXPECT_EQ(a.FError, nullptr);
  EXPECT_EQ(a.FCorrectTime, 1);
  EXPECT_EQ(s.m.FBusyProgrammers, 0);
  EXPECT_EQ(s.m.FWorkClientNum, 1);
  EXPECT_TRUE(s.m.FClientErrors.empty());
  EXPECT_EQ(s.m.Random.Draws, 1u);
  EXPECT_EQ(s.m.FDownTime, 2);
}

// One correction restores every client on the error, before and after the corrector in the
// list; the freed programmer goes to the next waiting client in list order.
TEST(IterationTest, CorrectionRestoresAllClientsOnTheErrorAndFreesItsProgrammer) {
  Situation s(1);
  s.AlwaysCorrect();
  TError* e = s.AddClientError(0.3);
  TError* f = s.AddClientError(0.7);
  TClient& a = s.AddClient(0.1, ClientState::Waiting, e);
  TClient& b = s.AddClient(0.3, ClientState::InCorrection, e);
  TClient& c = s.AddClient(0.5, ClientState::Waiting, e);
  TClient& d = s.AddClient(0.7, ClientState::Waiting, f);
  s.m.Iteration();

  EXPECT_EQ(a.FState, ClientState::Working);
  EXPECT_EQ(a.FError, nullptr);
  EXPECT_EQ(a.FWaitTime, 1);  // it waited when visited, before the correction
  EXPECT_EQ(b.FState, ClientState::Working);
  EXPECT_EQ(b.FCorrectTime, 1);
  EXPECT_EQ(c.FState, ClientState::Working);
  EXPECT_EQ(c.FError, nullptr);
  EXPECT_EQ(c.FWaitTime, 0);  // visited as a working client
  EXPECT_EQ(d.FState, ClientState::InCorrection);
  EXPECT_EQ(d.FError, f);
  EXPECT_EQ(d.FWaitTime, 1);
  EXPECT_EQ(s.m.FBusyProgrammers, 1);
  EXPECT_EQ(s.m.FWorkClientNum, 3);
  ASSERT_EQ(s.m.FClientErrors.size(), 1u);
  EXPECT_EQ(s.m.FClientErrors[0].get(), f);
  EXPECT_EQ(s.m.FDownTime, 1);      // once per step however many clients are failed
  EXPECT_EQ(s.m.Random.Draws, 2u);  // b's correction chance, c's request chance
}

TEST(IterationTest, RestoredLaterClientMayFailAgainInTheSameStep) {
  Situation s(1);
  s.AlwaysRequest();
  s.AlwaysCorrect();
  TError* e = s.AddClientError(0.3);
  TError* g = s.AddClientError(0.6);
  TClient& b = s.AddClient(0.3, ClientState::InCorrection, e);
  TClient& c = s.AddClient(0.6, ClientState::Waiting, e);
  s.m.Iteration();
  EXPECT_EQ(b.FState, ClientState::Working);
  EXPECT_EQ(c.FState, ClientState::InCorrection);  // the programmer b's correction freed
  EXPECT_EQ(c.FError, g);
  EXPECT_EQ(s.m.FFailureNum, 1);
  EXPECT_EQ(s.m.FBusyProgrammers, 1);
  EXPECT_EQ(s.m.FWorkClientNum, 1);
}

TEST(IterationTest, SeveralCorrectorsOnOneErrorEachTryUntilTheFirstSucceeds) {
  Situation s(3);
  s.m.FMu = std::log(2.0L);  // correction probability 1/2
  TError* e = s.AddClientError(0.5);
  TClient& a = s.AddClient(0.5, ClientState::InCorrection, e);
  TClient& b = s.AddClient(0.5, ClientState::InCorrection, e);
  TClient& c = s.AddClient(0.5, ClientState::InCorrection, e);
  const double p = static_cast<double>(1 - std::exp(-static_cast<long double>(s.m.FMu)));
  // A seed with which a's chance fails and b's succeeds.
  for (std::uint32_t seed = 1;; ++seed) {
    RandomSource r;
    r.Seed = seed;
    if (!r.Chance(p) && r.Chance(p)) {
      s.m.Random.Seed = seed;
      break;
    }
  }
  s.m.Iteration();
  for (const TClient* x : {&a, &b, &c}) EXPECT_EQ(x->FState, ClientState::Working);
  EXPECT_EQ(a.FCorrectTime, 1);
  EXPECT_EQ(b.FCorrectTime, 1);
  EXPECT_EQ(c.FCorrectTime, 0);
  EXPECT_EQ(s.m.FBusyProgrammers, 0);
  EXPECT_TRUE(s.m.FClientErrors.empty());
  EXPECT_EQ(s.m.Random.Draws, 3u);  // a and b correction chances, c's request chance
}

TEST(IterationTest, ServerHitKeepsTheClientWorkingAndLaterHitsReplaceTheServerError) {
  Situation s(3);
  s.AlwaysRequest();
  s.AddClientError(0.95);
  TError* s1 = s.AddServerError(0.2);
  TError* s2 = s.AddServerError(0.8);
  TClient& a = s.AddClient(0.2);
  TClient& b = s.AddClient(0.8);
  s.m.FCurTer = 2;
  RandomSource ref = s.m.Random;
  s.m.Iteration();

  EXPECT_EQ(a.FState, ClientState::Working);
  EXPECT_EQ(a.FError, nullptr);
  EXPECT_EQ(b.FState, ClientState::Working);
  EXPECT_EQ(s.m.FWorkClientNum, 2);
  EXPECT_EQ(s.m.FServerState, ServerState::Failed);
  EXPECT_EQ(s.m.FServerError, s2);
  EXPECT_TRUE(Situation::Holds(s.m.FServerErrors, s1));
  EXPECT_EQ(s.m.FFailureNum, 2);
  EXPECT_EQ(s.m.FCurTer, 2);
  EXPECT_EQ(s.m.FDownTime, 0);
  ReplayRequestToServer(ref, a);
  ReplayRequestToServer(ref, b);
  EXPECT_EQ(s.m.Random.Seed, ref.Seed);
}

TEST(IterationTest, FailedServerStopsTheClientsAndIsWorkedOnByAllProgrammers) {
  Situation s(2);
  s.m.FMu = 1e6;                 // client corrections would be certain ...
  s.m.FCoeffComplexity = 1e300;  // ... but the server is never repaired
  s.AlwaysRequest();
  TError* e = s.AddClientError(0.3);
  TError* f = s.AddClientError(0.6);
  TClient& a = s.AddClient(0.3, ClientState::InCorrection, e);
  TClient& b = s.AddClient(0.6, ClientState::InCorrection, f);
  TClient& c = s.AddClient(0.3, ClientState::Waiting, e);
  TClient& d = s.AddClient(0.9);
  s.FailServer(s.AddServerError(0.5));
  s.m.FCurTer = 4;
  for (int step = 1; step <= 5; ++step) {
    s.m.Iteration();
    EXPECT_EQ(s.m.Random.Draws, 2u * step);  // both programmers, busy or not
  }
  EXPECT_EQ(s.m.FServerState, ServerState::Failed);
  EXPECT_EQ(s.m.FBusyProgrammers, 2);
  for (const TClient* x : {&a, &b, &c, &d}) {
    EXPECT_EQ(x->FCorrectTime, 0);
    EXPECT_EQ(x->FWaitTime, 0);
  }
  EXPECT_EQ(c.FState, ClientState::Waiting);
  EXPECT_EQ(s.m.FClientErrors.size(), 2u);
  EXPECT_EQ(s.m.FDownTime, 5 * (4 + 1));
  EXPECT_EQ(s.m.FCorrectServerTime, 5);
  EXPECT_EQ(s.m.FTer, 4);
  EXPECT_EQ(s.m.FAverTer, 4);
  EXPECT_EQ(s.m.FCurTer, 0);
}

TEST(IterationTest, ServerRepairStopsAtTheFirstSuccessAndStillCountsTheStep) {
  Situation s(3);
  s.AlwaysCorrect();
  TError* s1 = s.AddServerError(0.2);
  TError* s2 = s.AddServerError(0.5);
  s.AddClient(0.9);
  s.FailServer(s2);
  s.m.Iteration();
  EXPECT_EQ(s.m.Random.Draws, 1u);
  EXPECT_EQ(s.m.FServerState, ServerState::Works);
  EXPECT_EQ(s.m.FServerError, nullptr);
  ASSERT_EQ(s.m.FServerErrors.size(), 1u);
  EXPECT_EQ(s.m.FServerErrors[0].get(), s1);
  EXPECT_EQ(s.m.FCorrectServerTime, 1);
  EXPECT_EQ(s.m.FDownTime, 2);
}

TEST(IterationTest, EveryServerRepairAttemptMayBringNewErrors) {
  bool seenFixed[2] = {false, false};
  for (std::uint32_t seed = 1; seed <= 64; ++seed) {
    Situation s(3);
    s.m.FP_newErr = 0.5;
    s.m.FCoeffComplexity = 0.3;
    s.m.FMu = 0.2;  // repair probability 1 - exp(-2/3) per programmer
    s.AddClient(0.9);
    s.FailServer(s.AddServerError(0.5));
    s.m.Random.Seed = seed * 2654435761u;  // consecutive seeds give nearly equal first draws
    const double fix = static_cast<double>(
        1 - std::exp(-static_cast<long double>(s.m.FMu) / static_cast<long double>(0.3)));
    RandomSource ref = s.m.Random;
    std::vector<double> added;
    bool fixed = false;
    for (int k = 0; k < 3 && !fixed; ++k) {
      fixed = ref.Chance(fix);
      for (long double p = 0.5L; ref.Chance(static_cast<double>(p)); p *= 0.5L) {
        added.push_back(ref.RandomUniform());
      }
    }
    s.m.Iteration();
    EXPECT_EQ(s.m.Random.Seed, ref.Seed);
    EXPECT_EQ(s.m.FNewServerErrorAdd, static_cast<int>(added.size()));
    EXPECT_EQ(s.m.FServerState, fixed ? ServerState::Works : ServerState::Failed);
    ASSERT_EQ(s.m.FServerErrors.size(), added.size() + (fixed ? 0 : 1));
    for (std::size_t i = 0; i < added.size(); ++i) {
      EXPECT_EQ(s.m.FServerErrors[s.m.FServerErrors.size() - added.size() + i]->FPosition,
                added[i]);
    }
    seenFixed[fixed] = true;
  }
  EXPECT_TRUE(seenFixed[0] && seenFixed[1]);
}

TEST(IterationTest, ClientInCorrectionBringsNewErrorsCorrectedOrNot) {
  for (const bool correct : {false, true}) {
    Situation s(1);
    s.m.FP_newErr = 0.75;
    if (correct) s.AlwaysCorrect();
    TError* e = s.AddClientError(0.5);
    TClient& a = s.AddClient(0.5, ClientState::InCorrection, e);
    RandomSource ref = s.m.Random;
    ref.Chance(correct ? 1 : 0);
    std::size_t added = 0;
    for (long double p = 0.75L; ref.Chance(static_cast<double>(p)); p *= 0.75L) {
      ref.RandomUniform();
      ++added;
    }
    s.m.Iteration();
    EXPECT_EQ(s.m.Random.Seed, ref.Seed) << correct;
    EXPECT_EQ(s.m.FNewClientErrorAdd, static_cast<int>(added)) << correct;
    EXPECT_EQ(s.m.FClientErrors.size(), added + (correct ? 0 : 1)) << correct;
    EXPECT_EQ(a.FState, correct ? ClientState::Working : ClientState::InCorrection) << correct;
  }
}

TEST(IterationTest, FailureRunClosesOncePerStepAndAveragesByHalving) {
  Situation s(1);
  TError* e = s.AddClientError(0.5);
  s.AddClient(0.5, ClientState::InCorrection, e);
  s.AddClient(0.5, ClientState::Waiting, e);
  struct Step {
    double curTer, ter, averTer;
  };
  const Step steps[] = {{5, 5, 5}, {3, 3, 4}, {0, 3, 4}, {2, 2, 3}};
  for (const Step& step : steps) {
    s.m.FCurTer = step.curTer;
    s.m.Iteration();
    EXPECT_EQ(s.m.FTer, step.ter);
    EXPECT_EQ(s.m.FAverTer, step.averTer);
    EXPECT_EQ(s.m.FCurTer, 0);
  }
  EXPECT_EQ(s.m.FDownTime, 4);
}

// The step probabilities depend on the parameters only, yet a parameter changed between
// two steps of the same model must count from the next step on.
TEST(IterationTest, ParametersChangedBetweenStepsTakeEffectAtTheNextStep) {
  Situation s(1);
  TError* e = s.AddClientError(0.5);
  TClient& a = s.AddClient(0.5);
  s.m.Iteration();  // request rate 0
  EXPECT_EQ(a.FState, ClientState::Working);
  s.AlwaysRequest();
  s.m.Iteration();
  EXPECT_EQ(a.FState, ClientState::InCorrection);
  EXPECT_EQ(a.FError, e);
  s.m.Iteration();  // correction rate 0
  EXPECT_EQ(a.FState, ClientState::InCorrection);
  s.m.FP_newErr = 0.5;  // the correction now brings new errors as well
  s.AlwaysCorrect();
  RandomSource ref = s.m.Random;
  ref.Chance(1);
  std::size_t added = 0;
  for (long double p = 0.5L; ref.Chance(static_cast<double>(p)); p *= 0.5L) {
    ref.RandomUniform();
    ++added;
  }
  s.m.Iteration();
  EXPECT_EQ(a.FState, ClientState::Working);
  EXPECT_EQ(s.m.Random.Seed, ref.Seed);
  EXPECT_EQ(s.m.FClientErrors.size(), added);

  s.FailServer(s.AddServerError(0.9));
  s.m.FMu = 0;
  s.m.Iteration();
  EXPECT_EQ(s.m.FServerState, ServerState::Failed);
  s.m.FMu = 1e6;
  s.m.Iteration();
  EXPECT_EQ(s.m.FServerState, ServerState::Works);
}

struct FindCase {
  const char* name;
  std::vector<double> errors;
  double halfWidth;
  double position;
  int expected;  // index of the error found, -1 for none
};

TEST(FindErrorTest, MatchesWithinTheHalfWidthFirstInListOrder) {
  const double justBelowOne = std::nextafter(1.0, 0.0);
  const FindCase cases[] = {
      {"exact edge is touched", {0.5}, 0.25, 0.25, 0},
      {"beyond the edge", {0.5}, 0.25, std::nextafter(0.25, 0.0), -1},
      {"half-width 0, distance 0", {0.4}, 0, 0.4, 0},
      {"half-width 0, tiny distance", {0.4}, 0, std::nextafter(0.4, 1.0), -1},
      {"negative half-width", {0.4}, -0.1, 0.4, -1},
      {"first in list order", {0.9, 0.31, 0.3}, 0.05, 0.3, 1},
      {"position below 0", {0.0}, 0.01, -0.01, 0},
      {"position above 1", {0.999}, 0.01, 1.005, 0},
      {"empty list", {}, 1, 0.5, -1},
      // 1 - (2^-53 - 2^-60) rounds to the half-width as a double; it is beyond it exactly.
      {"difference kept in extended precision", {1.0}, justBelowOne, 0x1p-53 - 0x1p-60, -1},
  };
  TTeravo m;
  for (const FindCase& c : cases) {
    ErrorList list;
    for (const double p : c.errors) list.push_back(std::make_unique<TError>(p));
    const TError* found = m.FindError(list, c.halfWidth, c.position);
    const TError* expected = c.expected < 0 ? nullptr : list[c.expected].get();
    EXPECT_EQ(found, expected) << c.name;
  }
}

TEST(AddNewErrorsTest, ChainsFollowTheModeAndAppendAtTheEnd) {
  struct Case {
    const char* name;
    bool byProbability;
    double probability;
    double intensity;
    long double first;
    long double factor;
  };
  const long double intensityFirst = 1 - std::exp(-static_cast<long double>(0.9));  // ~0.59
  const Case cases[] = {
      {"probability", true, 0.5, 100, 0.5L, 0.5L},
      {"intensity ignores the probability", false, 0.9, 0.9, intensityFirst, intensityFirst},
  };
  for (const Case& c : cases) {
    int longChains = 0;
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
      Situation s;
      s.m.FByProbability = c.byProbability;
      s.m.FP_newErr = c.probability;
      s.m.FY_newErr = c.intensity;
      s.AddClientError(0.5);
      s.m.Random.Seed = seed * 2654435761u;
      RandomSource ref = s.m.Random;
      std::vector<double> expected;
      for (long double p = c.first; ref.Chance(static_cast<double>(p)); p *= c.factor) {
        expected.push_back(ref.RandomUniform());
      }
      ASSERT_EQ(s.m.AddNewErrors(s.m.FClientErrors), static_cast<int>(expected.size()));
      ASSERT_EQ(s.m.Random.Seed, ref.Seed) << c.name << " seed " << seed;
      ASSERT_EQ(s.m.FClientErrors.size(), expected.size() + 1);
      EXPECT_EQ(s.m.FClientErrors[0]->FPosition, 0.5);
      for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(s.m.FClientErrors[i + 1]->FPosition, expected[i]);
      }
      if (expected.size() >= 2) ++longChains;
    }
    EXPECT_GT(longChains, 10) << c.name;  // the factor was really exercised
  }
}

TEST(AddNewErrorsTest, ZeroFirstProbabilityDrawsNothing) {
  struct Case {
    const char* name;
    bool byProbability;
    double probability;
    double intensity;
  };
  const Case cases[] = {
      {"probability 0", true, 0, 5},
      {"intensity 0", false, 0.5, 0},
  };
  for (const Case& c : cases) {
    Situation s;
    s.m.FByProbability = c.byProbability;
    s.m.FP_newErr = c.probability;
    s.m.FY_newErr = c.intensity;
    EXPECT_EQ(FirstNewErrorProbability(s.m), 0.0L) << c.name;
    EXPECT_EQ(s.m.AddNewErrors(s.m.FServerErrors), 0) << c.name;
    EXPECT_EQ(s.m.Random.Draws, 0u) << c.name;
  }
}

}  // namespace
}  // namespace teravo
