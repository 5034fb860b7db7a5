#include "model/teravo.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/general_error.h"
#include "core/rounding.h"

namespace teravo {

namespace {

// 1 - exp(-rate * dt) of one step, in extended precision.
long double StepProbability(long double rateTimesDt) {
  return 1.0L - std::exp(-rateTimesDt);
}

// Destroys the items from the last to the first, the order in which a play releases them.
template <typename List>
void EmptyFromLast(List& list) {
  while (!list.empty()) list.pop_back();
}

void RemoveError(ErrorList& list, const TError* error) {
  const auto it = std::find_if(list.begin(), list.end(), [error](const std::unique_ptr<TError>& e) {
    return e.get() == error;
  });
  if (it != list.end()) list.erase(it);
}

}  // namespace

TClient::TClient(RandomSource& random, ClientState state) : FState(state) {
  FCenter = random.RandomUniform();
  FSpread = RoundToDouble(random.RandomUniform() * (1.0L - FCenter) / 3.0L);
}

double TClient::NextRequest(RandomSource& random) const {
  return random.RandomGauss(FCenter, FSpread);
}

TTeravo::TTeravo(std::unique_ptr<SeedSource> seeds) : seeds_(std::move(seeds)) {}

void TTeravo::InitPlay() {
  // Refuse before anything changes, so a refused play is not counted.
  if (IsHarmful(*this)) Raise(kInvalidOperation);

  ++FPlayCount;
  PlaySeed = Seeds().NextSeed();
  Random.Seed = PlaySeed;

  // Clients go first: they refer to client errors.
  EmptyFromLast(FClients);
  for (std::int32_t i = 0; i < FClientsNum; ++i) {
    FClients.push_back(std::make_unique<TClient>(Random, ClientState::Working));
  }

  EmptyFromLast(FClientErrors);
  for (std::int32_t i = 0; i < FErrorsNum0; ++i) {
    FClientErrors.push_back(std::make_unique<TError>(Random.RandomUniform()));
  }

  // The server error of the last play is about to be destroyed; no reference may outlive it.
  FServerError = nullptr;
  EmptyFromLast(FServerErrors);
  const std::int64_t n =
      RoundTiesEven(static_cast<long double>(FErrorsNum0) * FCoeffComplexity / 10.0L);
  for (std::int64_t i = 0; i <= n; ++i) {
    FServerErrors.push_back(std::make_unique<TError>(Random.RandomUniform()));
  }

  FCorrectServerTime = 0;
  FServerState = ServerState::Works;
  FBusyProgrammers = 0;
  FWorkClientNum = FClientsNum;
  FNewClientErrorAdd = 0;
  FNewServerErrorAdd = 0;
  FCurTer = 0;
  FTer = 0;
  FAverTer = 0;
  FDownTime = 0;
  FFailureNum = 0;
}

void TTeravo::SeeFailure() {
  if (FCurTer == 0) return;
  FTer = FCurTer;
  FCurTer = 0;
  FoldIntoAverTer(FTer);
}

void TTeravo::FoldIntoAverTer(double run) {
  FAverTer = FAverTer == 0 ? run : RoundToDouble((static_cast<long double>(FAverTer) + run) / 2);
}

void TTeravo::Iteration() {
  const long double dt = FDT;
  if (FServerState == ServerState::Failed) {
    SeeFailure();
    const double fixProbability =
        ToDouble(StepProbability(CheckedDiv(static_cast<long double>(FMu) * dt, FCoeffComplexity)));
    bool fixed = false;
    for (std::int32_t k = 0; k < FProgrammersNum && !fixed; ++k) {
      fixed = Random.Chance(fixProbability);
      // Every programmer's attempt may bring in new errors, successful or not.
      FNewServerErrorAdd += AddNewErrors(FServerErrors);
    }
    if (fixed) {
      FServerState = ServerState::Works;
      TError* const corrected = std::exchange(FServerError, nullptr);
      RemoveError(FServerErrors, corrected);
    }
    FCorrectServerTime = RoundToDouble(FCorrectServerTime + dt);
    FDownTime = RoundToDouble(FDownTime + dt * (static_cast<long double>(FClientsNum) + 1));
    return;
  }

  const double requestProbability = ToDouble(StepProbability(FYk * dt));
  const double correctProbability = ToDouble(StepProbability(FMu * dt));
  bool seen = false;
  auto seeFailedClient = [&] {
    if (!seen) {
      seen = true;
      FDownTime = RoundToDouble(FDownTime + dt);
    }
    SeeFailure();
  };

  // By index: CorrectError and AddNewErrors change the error lists, never the client list.
  for (std::size_t i = 0; i < FClients.size(); ++i) {
    TClient& client = *FClients[i];
    switch (client.FState) {
      case ClientState::Working: {
        if (!Random.Chance(requestProbability)) break;
        const double position = client.NextRequest(Random);
        const double halfWidth =
            RoundToDouble(Random.RandomUniform() * static_cast<long double>(FA) / 2);
        client.FError = FindError(FClientErrors, halfWidth, position);
        if (client.FError != nullptr) {
          FFailureNum += 1;
          --FWorkClientNum;
          if (FBusyProgrammers < FProgrammersNum) {
            ++FBusyProgrammers;
            client.FState = ClientState::InCorrection;
          } else {
            client.FState = ClientState::Waiting;
          }
          break;
        }
        const double position2 = client.NextRequest(Random);
        const double halfWidth2 =
            RoundToDouble(Random.RandomUniform() * (static_cast<long double>(FA) * 10) / 2);
        if (TError* const hit = FindError(FServerErrors, halfWidth2, position2)) {
          FServerState = ServerState::Failed;
          FServerError = hit;
          FFailureNum += 1;
        }
        break;
      }
      case ClientState::InCorrection:
        seeFailedClient();
        client.FCorrectTime = RoundToDouble(client.FCorrectTime + dt);
        if (Random.Chance(correctProbability)) CorrectError(client.FError);
        FNewClientErrorAdd += AddNewErrors(FClientErrors);
        break;
      case ClientState::Waiting:
        seeFailedClient();
        client.FWaitTime = RoundToDouble(client.FWaitTime + dt);
        if (FBusyProgrammers < FProgrammersNum) {
          client.FState = ClientState::InCorrection;
          ++FBusyProgrammers;
        }
        break;
    }
  }
}

TError* TTeravo::FindError(const ErrorList& list, double halfWidth, double position) const {
  const long double width = halfWidth;
  const long double at = position;
  for (const auto& error : list) {
    if (std::fabs(error->FPosition - at) <= width) return error.get();
  }
  return nullptr;
}

std::int32_t TTeravo::AddNewErrors(ErrorList& list) {
  const long double first = FirstNewErrorProbability(*this);
  if (first == 0) return 0;
  // Each further error of the chain is less likely by the same factor as the first was.
  const long double factor = FByProbability ? static_cast<long double>(FP_newErr) : first;
  long double p = first;
  std::int32_t n = 0;
  while (Random.Chance(ToDouble(p))) {
    list.push_back(std::make_unique<TError>(Random.RandomUniform()));
    ++n;
    p *= factor;
  }
  return n;
}

void TTeravo::CorrectError(TError* error) {
  for (const auto& client : FClients) {
    if (client->FState == ClientState::Working || client->FError != error) continue;
    if (client->FState == ClientState::InCorrection) --FBusyProgrammers;
    client->FState = ClientState::Working;
    client->FError = nullptr;
    ++FWorkClientNum;
  }
  RemoveError(FClientErrors, error);
}

void TTeravo::ExtendFailureFreeRun() {
  if (FBusyProgrammers == 0 && FServerState != ServerState::Failed) {
    FCurTer = RoundToDouble(static_cast<long double>(FCurTer) + FDT);
    FTer = FCurTer;
  }
}

void TTeravo::UpdateFailureProbability() {
  const long double errors = static_cast<long double>(FClientErrors.size() + FServerErrors.size());
  const double product =
      ToDouble(errors * FA * (static_cast<long double>(FClientsNum) + 1) * FYk * FDT);
  FPer = product > 1 ? 1.0 : product;
}

long double TTeravo::AvailabilityCoefficient(long double elapsed) const {
  // The units are the clients of the play and the server.
  const long double unitDays = elapsed * (static_cast<long double>(FClients.size()) + 1);
  return CheckedDiv(unitDays - FDownTime, unitDays);
}

TPlayEnd TTeravo::EndPlay() {
  // Each sum is a double, every addition rounded back to it.
  double correctSum = 0;
  double waitSum = 0;
  for (const auto& client : FClients) {
    correctSum = RoundToDouble(static_cast<long double>(correctSum) + client->FCorrectTime);
    waitSum = RoundToDouble(static_cast<long double>(waitSum) + client->FWaitTime);
  }
  const long double clients = static_cast<long double>(FClients.size());
  TPlayEnd end{};
  end.AverCorrectTime = CheckedDiv(correctSum, clients);
  end.AverWaitTime = CheckedDiv(waitSum, clients);
  end.Kg = AvailabilityCoefficient(static_cast<long double>(FM) * FDT);
  FoldIntoAverTer(FTer);
  end.AverTer = FAverTer;
  return end;
}

}  // namespace teravo
