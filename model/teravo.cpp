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

TClient::TClient(RandomSource& random, std::int32_t state) : FState(state) {
  FCenter = random.RandomUniform();
  FSpread = static_cast<double>(random.RandomUniform() * (1.0L - FCenter) / 3.0L);
}

double TClient::NextRequest(RandomSource& random) const {
  return random.RandomGauss(FCenter, FSpread);
}

TTeravo::TTeravo(std::unique_ptr<SeedSource> seeds) : seeds_(std::move(seeds)) {}

void TTeravo::InitPlay() {
  // Refuse before anything changes, so a refused play is not counted.
  if (HasHarmfulParameters()) Raise(kInvalidOperation);

  ++FPlayCount;
  PlaySeed = Seeds().NextSeed();
  Random.Seed = PlaySeed;

  // Clients go first: they refer to client errors.
  EmptyFromLast(FClients);
  for (std::int32_t i = 0; i < FClientsNum; ++i) {
    FClients.push_back(std::make_unique<TClient>(Random, 0));
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
  FServerState = 0;
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
  FAverTer =
      FAverTer == 0 ? FTer : static_cast<double>((static_cast<long double>(FAverTer) + FTer) / 2);
}

void TTeravo::Iteration() {
  const long double dt = FDT;
  if (FServerState == 1) {
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
      FServerState = 0;
      TError* const corrected = std::exchange(FServerError, nullptr);
      RemoveError(FServerErrors, corrected);
    }
    FCorrectServerTime = static_cast<double>(FCorrectServerTime + dt);
    FDownTime = static_cast<double>(FDownTime + dt * (static_cast<long double>(FClientsNum) + 1));
    return;
  }

  const double requestProbability = ToDouble(StepProbability(FYk * dt));
  const double correctProbability = ToDouble(StepProbability(FMu * dt));
  bool seen = false;
  auto seeFailedClient = [&] {
    if (!seen) {
      seen = true;
      FDownTime = static_cast<double>(FDownTime + dt);
    }
    SeeFailure();
  };

  // By index: CorrectError and AddNewErrors change the error lists, never the client list.
  for (std::size_t i = 0; i < FClients.size(); ++i) {
    TClient& client = *FClients[i];
    switch (client.FState) {
      case 0: {
        if (!Random.Chance(requestProbability)) break;
        const double position = client.NextRequest(Random);
        const double halfWidth =
            static_cast<double>(Random.RandomUniform() * static_cast<long double>(FA) / 2);
        client.FError = FindError(FClientErrors, halfWidth, position);
        if (client.FError != nullptr) {
          FFailureNum += 1;
          --FWorkClientNum;
          if (FBusyProgrammers < FProgrammersNum) {
            ++FBusyProgrammers;
            client.FState = 1;
          } else {
            client.FState = 2;
          }
          break;
        }
        const double position2 = client.NextRequest(Random);
        const double halfWidth2 =
            static_cast<double>(Random.RandomUniform() * (static_cast<long double>(FA) * 10) / 2);
        if (TError* const hit = FindError(FServerErrors, halfWidth2, position2)) {
          FServerState = 1;
          FServerError = hit;
          FFailureNum += 1;
        }
        break;
      }
      case 1:
        seeFailedClient();
        client.FCorrectTime = static_cast<double>(client.FCorrectTime + dt);
        if (Random.Chance(correctProbability)) CorrectError(client.FError);
        FNewClientErrorAdd += AddNewErrors(FClientErrors);
        break;
      case 2:
        seeFailedClient();
        client.FWaitTime = static_cast<double>(client.FWaitTime + dt);
        if (FBusyProgrammers < FProgrammersNum) {
          client.FState = 1;
          ++FBusyProgrammers;
        }
        break;
      default:
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

long double TTeravo::FirstNewErrorProbabilityExtended() const {
  if (FByProbability) return FP_newErr;
  return StepProbability(static_cast<long double>(FY_newErr) * FDT);
}

double TTeravo::FirstNewErrorProbability() const {
  return ToDouble(FirstNewErrorProbabilityExtended());
}

std::int32_t TTeravo::AddNewErrors(ErrorList& list) {
  const long double first = FirstNewErrorProbabilityExtended();
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
    if (client->FState == 0 || client->FError != error) continue;
    if (client->FState == 1) --FBusyProgrammers;
    client->FState = 0;
    client->FError = nullptr;
    ++FWorkClientNum;
  }
  RemoveError(FClientErrors, error);
}

bool TTeravo::HasHarmfulParameters() const {
  if (FCoeffComplexity == 0) return true;
  // Acceptance puts no upper bound on the complexity: a huge one would have a play build
  // more server errors than memory holds (and scan them all on every request).
  if (static_cast<long double>(FErrorsNum0) * FCoeffComplexity / 10 >= kMaxServerErrors) {
    return true;
  }
  if (FByProbability) return FP_newErr >= 1;
  return FirstNewErrorProbability() == 1.0;
}

bool TTeravo::HasUsableParameters() const {
  const bool newErrorsUsable = FByProbability ? (FP_newErr >= 0 && FP_newErr < 1) : FY_newErr >= 0;
  return FClientsNum > 0 && FProgrammersNum > 0 && FA > 0 && FA < 1 && FErrorsNum0 > 0 &&
         FCoeffComplexity > 0 && FYk > 0 && FMu > 0 && FDT > 0 && FM > 0 && newErrorsUsable &&
         !HasHarmfulParameters();
}

}  // namespace teravo
