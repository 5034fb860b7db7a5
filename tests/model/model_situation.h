#pragma once

#include <cstdint>
#include <memory>

#include "model/teravo.h"

namespace teravo::test {

// A hand-made play: clients request exactly at their centres (spread 0), probabilities are
// forced to 0 or 1 through the rates, and the seed is set directly. Rates of 1e6 per day
// with a step of one day give a probability of exactly 1; rates of 0 give exactly 0.
struct Situation {
  TTeravo m{std::make_unique<FixedSeedSource>(1)};

  explicit Situation(std::int32_t programmers = 1) {
    m.FProgrammersNum = programmers;
    m.FA = 0.05;  // client half-width below 0.025, server half-width below 0.25
    m.FCoeffComplexity = 1;
    m.FYk = 0;
    m.FMu = 0;
    m.FDT = 1;
    m.FP_newErr = 0;
    m.FByProbability = true;
    m.FM = 100;
    m.Random.Seed = 4242;
  }

  void AlwaysRequest() { m.FYk = 1e6; }
  void AlwaysCorrect() { m.FMu = 1e6; }

  TClient& AddClient(double center, ClientState state = ClientState::Working,
                     TError* error = nullptr) {
    RandomSource scratch;
    m.FClients.push_back(std::make_unique<TClient>(scratch, state));
    TClient& c = *m.FClients.back();
    c.FCenter = center;
    c.FSpread = 0;
    c.FError = error;
    m.FClientsNum = static_cast<std::int32_t>(m.FClients.size());
    if (state == ClientState::Working) ++m.FWorkClientNum;
    if (state == ClientState::InCorrection) ++m.FBusyProgrammers;
    return c;
  }
  static TError* Add(ErrorList& list, double position) {
    list.push_back(std::make_unique<TError>(position));
    return list.back().get();
  }
  TError* AddClientError(double position) { return Add(m.FClientErrors, position); }
  TError* AddServerError(double position) { return Add(m.FServerErrors, position); }
  void FailServer(TError* error) {
    m.FServerState = ServerState::Failed;
    m.FServerError = error;
  }

  static bool Holds(const ErrorList& list, const TError* error) {
    for (const auto& e : list)
      if (e.get() == error) return true;
    return false;
  }
};

}  // namespace teravo::test
