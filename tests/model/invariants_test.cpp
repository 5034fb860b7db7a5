#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/teravo.h"
#include "tests/support/model_invariants.h"

namespace teravo {
namespace {

struct ParameterSet {
  const char* name;
  TParameters parameters;  // in field order: clients ... new-error intensity, mode, steps
};

const ParameterSet kSets[] = {
    {"busy clients", {20, 2, 0.02, 200, 0.05, 50, 20, 0.01, 0.3, 0, true, 300, 0}},
    {"server often down", {30, 3, 0.005, 50, 5, 20, 5, 0.01, 0, 30, false, 300, 0}},
    {"one programmer, many errors", {10, 1, 0.01, 2000, 0.01, 10, 10, 0.05, 0.6, 0, true, 300, 0}},
    {"long intensity chains", {15, 4, 0.03, 100, 1, 30, 50, 0.02, 0.9, 100, false, 200, 0}},
    {"dialog defaults", {100, 3, 0.0001, 100, 2, 100, 0.5, 0.001, 0, 0.01, true, 400, 0}},
};

// States as their numbers, so transitions can be counted and named.
int Code(ClientState state) {
  return static_cast<int>(state);
}
int Code(ServerState state) {
  return static_cast<int>(state);
}

// What one step may be checked against: the state before it.
struct Snapshot {
  std::vector<int> states;
  std::vector<std::pair<const TError*, double>> errorOf;  // with the position, against reuse
  std::vector<double> correctTimes, waitTimes;
  std::vector<std::pair<const TError*, double>> clientErrors;
  std::size_t serverErrors;
  int serverState;
  double failures, downTime, correctServerTime, curTer, ter;
  int newClient, newServer;

  explicit Snapshot(const TTeravo& m)
      : serverErrors(m.FServerErrors.size()),
        serverState(Code(m.FServerState)),
        failures(m.FFailureNum),
        downTime(m.FDownTime),
        correctServerTime(m.FCorrectServerTime),
        curTer(m.FCurTer),
        ter(m.FTer),
        newClient(m.FNewClientErrorAdd),
        newServer(m.FNewServerErrorAdd) {
    for (const auto& c : m.FClients) {
      states.push_back(Code(c->FState));
      errorOf.emplace_back(c->FError, c->FError ? c->FError->FPosition : -1);
      correctTimes.push_back(c->FCorrectTime);
      waitTimes.push_back(c->FWaitTime);
    }
    for (const auto& e : m.FClientErrors) clientErrors.emplace_back(e.get(), e->FPosition);
  }
  bool AnyClientFailed() const {
    return std::any_of(states.begin(), states.end(), [](int s) { return s != 0; });
  }
};

bool Holds(const ErrorList& list, const TError* error) {
  return std::any_of(list.begin(), list.end(), [error](const auto& e) { return e.get() == error; });
}

bool HoldsSame(const ErrorList& list, std::pair<const TError*, double> error) {
  return Holds(list, error.first) && error.first->FPosition == error.second;
}

void CheckInvariants(const TTeravo& m, const std::string& where) {
  SCOPED_TRACE(where);
  testing::ExpectModelInvariants(m);
}

using Transitions = std::map<std::string, int>;

void CheckStep(const TTeravo& m, const Snapshot& before, const std::string& where,
               Transitions& seen) {
  const long double dt = m.FDT;
  const std::size_t n = m.FClients.size();
  ASSERT_GE(m.FFailureNum, before.failures) << where;
  ASSERT_LE(m.FFailureNum, before.failures + static_cast<double>(n)) << where;
  ASSERT_GE(m.FNewClientErrorAdd, before.newClient) << where;
  ASSERT_GE(m.FNewServerErrorAdd, before.newServer) << where;
  const int serverFixes = before.serverState == 1 && Code(m.FServerState) == 0 ? 1 : 0;
  ASSERT_EQ(m.FServerErrors.size(),
            before.serverErrors + (m.FNewServerErrorAdd - before.newServer) - serverFixes)
      << where;
  if (before.serverState == 0 && Code(m.FServerState) == 1) ++seen["server 0->1"];
  if (serverFixes) ++seen["server 1->0"];

  const bool failureSeen = before.serverState == 1 || before.AnyClientFailed();
  if (failureSeen && before.curTer != 0) {
    ASSERT_EQ(m.FTer, before.curTer) << where;
    ASSERT_EQ(m.FCurTer, 0) << where;
  } else {
    ASSERT_EQ(m.FTer, before.ter) << where;
    ASSERT_EQ(m.FCurTer, before.curTer) << where;
  }

  if (before.serverState == 1) {
    // Branch A: the clients stand still.
    ASSERT_EQ(m.FCorrectServerTime, static_cast<double>(before.correctServerTime + dt)) << where;
    ASSERT_EQ(m.FDownTime,
              static_cast<double>(before.downTime + dt * (static_cast<long double>(n) + 1)))
        << where;
    ASSERT_EQ(m.FFailureNum, before.failures) << where;
    ASSERT_EQ(m.FClientErrors.size(), before.clientErrors.size()) << where;
    for (std::size_t i = 0; i < n; ++i) {
      ASSERT_EQ(Code(m.FClients[i]->FState), before.states[i]) << where;
      ASSERT_EQ(m.FClients[i]->FCorrectTime, before.correctTimes[i]) << where;
      ASSERT_EQ(m.FClients[i]->FWaitTime, before.waitTimes[i]) << where;
    }
    return;
  }

  ASSERT_EQ(m.FCorrectServerTime, before.correctServerTime) << where;
  ASSERT_EQ(m.FDownTime,
            before.AnyClientFailed() ? static_cast<double>(before.downTime + dt) : before.downTime)
      << where;
  // Errors leave the client list only by a correction of a failed client's error.
  for (const auto& e : before.clientErrors) {
    if (HoldsSame(m.FClientErrors, e)) continue;
    ASSERT_TRUE(std::find(before.errorOf.begin(), before.errorOf.end(), e) != before.errorOf.end())
        << where;
  }
  for (std::size_t i = 0; i < n; ++i) {
    const TClient& c = *m.FClients[i];
    const int was = before.states[i];
    if (was != Code(c.FState))
      ++seen["client " + std::to_string(was) + "->" + std::to_string(Code(c.FState))];
    if (was == 0) {
      ASSERT_EQ(c.FCorrectTime, before.correctTimes[i]) << where;
      ASSERT_EQ(c.FWaitTime, before.waitTimes[i]) << where;
      continue;
    }
    const bool errorKept = HoldsSame(m.FClientErrors, before.errorOf[i]);
    if (errorKept) {
      // Still failed on the same error; a waiting client may have got a programmer.
      ASSERT_EQ(c.FError, before.errorOf[i].first) << where;
      ASSERT_TRUE(Code(c.FState) == 1 || (was == 2 && Code(c.FState) == 2)) << where;
    } else {
      ASSERT_NE(c.FError, before.errorOf[i].first) << where;
    }
    if (was == 1) {
      ASSERT_EQ(c.FWaitTime, before.waitTimes[i]) << where;
    } else {
      ASSERT_EQ(c.FCorrectTime, before.correctTimes[i]) << where;
    }
  }
}

TEST(InvariantsTest, HoldAfterEveryStepOfSeededPlays) {
  Transitions seen;
  for (const ParameterSet& p : kSets) {
    for (std::uint32_t seed : {11u, 22222u, 86399999u}) {
      TTeravo m(std::make_unique<FixedSeedSource>(seed));
      m.Parameters() = p.parameters;
      ASSERT_TRUE(IsUsable(m)) << p.name;
      m.InitPlay();
      CheckInvariants(m, std::string(p.name) + " after init");
      for (int step = 0; step <= m.FM; ++step) {
        const std::string where = std::string(p.name) + ", seed " + std::to_string(seed) +
                                  ", step " + std::to_string(step);
        const Snapshot before(m);
        m.Iteration();
        CheckInvariants(m, where);
        CheckStep(m, before, where, seen);
        if (HasFatalFailure()) return;
        // As the play driver does: a step without a failure lengthens the run.
        m.ExtendFailureFreeRun();
      }
    }
  }
  for (const char* t : {"client 0->1", "client 0->2", "client 2->1", "client 1->0", "client 2->0",
                        "server 0->1", "server 1->0"}) {
    EXPECT_GT(seen[t], 0) << t << " never happened: the sets do not exercise it";
  }
}

}  // namespace
}  // namespace teravo
