#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "model/teravo.h"

namespace teravo::testing {

// What holds between any two steps of any play: every client is working, in correction or
// waiting, and a failed one failed on an error still in the clients' list; the busy
// programmers are the clients in correction, no more than there are programmers; the working
// count is the working clients; a failed server failed on an error still in its list. Fatal
// failures: call it inside ASSERT_NO_FATAL_FAILURE.
inline void ExpectModelInvariants(const TTeravo& m) {
  const auto members = [](const ErrorList& list) {
    std::vector<const TError*> pointers;
    for (const auto& e : list) pointers.push_back(e.get());
    std::sort(pointers.begin(), pointers.end());
    return pointers;
  };
  const std::vector<const TError*> clientErrors = members(m.FClientErrors);
  const auto holds = [](const std::vector<const TError*>& list, const TError* error) {
    return std::binary_search(list.begin(), list.end(), error);
  };
  int working = 0;
  int inCorrection = 0;
  for (const auto& c : m.FClients) {
    switch (c->FState) {
      case ClientState::Working:
        ++working;
        ASSERT_EQ(c->FError, nullptr);
        break;
      case ClientState::InCorrection:
        ++inCorrection;
        [[fallthrough]];
      case ClientState::Waiting:
        ASSERT_TRUE(holds(clientErrors, c->FError)) << "a client failed on a vanished error";
        break;
      default:
        FAIL() << "client state " << static_cast<int>(c->FState);
    }
  }
  ASSERT_EQ(m.FBusyProgrammers, inCorrection);
  ASSERT_LE(m.FBusyProgrammers, m.FProgrammersNum);
  ASSERT_EQ(m.FWorkClientNum, working);
  if (m.FServerState == ServerState::Failed) {
    ASSERT_TRUE(holds(members(m.FServerErrors), m.FServerError)) << "failed on a vanished error";
  } else {
    ASSERT_EQ(m.FServerState, ServerState::Works);
  }
}

}  // namespace teravo::testing
