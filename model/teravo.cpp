#include "model/teravo.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
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

// A client's time one step on, added in extended precision and rounded like every time of a
// play. The step is passed as the double it is: loading it so is cheaper than an extended
// load, in the loop that visits every client.
double PlusStep(double time, double step) {
  return ToDouble(time + static_cast<long double>(step));
}

bool SameBits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
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
  clientIndex_.Rebuild(FClientErrors);

  // The server error of the last play is about to be destroyed; no reference may outlive it.
  FServerError = nullptr;
  EmptyFromLast(FServerErrors);
  const std::int64_t n =
      RoundTiesEven(static_cast<long double>(FErrorsNum0) * FCoeffComplexity / 10.0L);
  for (std::int64_t i = 0; i <= n; ++i) {
    FServerErrors.push_back(std::make_unique<TError>(Random.RandomUniform()));
  }
  serverIndex_.Rebuild(FServerErrors);

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
  ErrorLimitReached = false;
}

void TTeravo::SeeFailure() {
  if (FCurTer == 0) return;
  FTer = FCurTer;
  FCurTer = 0;
  FoldIntoAverTer(FTer);
}

void TTeravo::FoldIntoAverTer(double run) {
  FAverTer = FAverTer == 0 ? run : ToDouble((static_cast<long double>(FAverTer) + run) / 2);
}

TTeravo::StepConstants& TTeravo::Constants() {
  StepConstants& c = constants_;
  if (c.built && SameBits(c.yk, FYk) && SameBits(c.mu, FMu) && SameBits(c.dt, FDT) &&
      SameBits(c.complexity, FCoeffComplexity) && SameBits(c.pNew, FP_newErr) &&
      SameBits(c.yNew, FY_newErr) && c.byProbability == FByProbability) {
    return c;
  }
  c = StepConstants{FYk, FMu, FDT, FCoeffComplexity, FP_newErr, FY_newErr, FByProbability};
  c.built = true;
  c.firstNew = FirstNewErrorProbability(*this);
  // Each further error of the chain is less likely by the same factor as the first was.
  c.factorNew = FByProbability ? static_cast<long double>(FP_newErr) : c.firstNew;
  return c;
}

void TTeravo::Iteration() {
  const long double dt = FDT;
  StepConstants& constants = Constants();
  if (FServerState == ServerState::Failed) {
    SeeFailure();
    if (!constants.haveFix) {
      constants.fix = ToDouble(
          StepProbability(CheckedDiv(static_cast<long double>(FMu) * dt, FCoeffComplexity)));
      constants.haveFix = true;
    }
    const double fixProbability = constants.fix;
    const bool newErrors = constants.firstNew != 0;
    bool fixed = false;
    for (std::int32_t k = 0; k < FProgrammersNum && !fixed; ++k) {
      fixed = Random.Chance(fixProbability);
      // Every programmer's attempt may bring in new errors, successful or not.
      if (newErrors) FNewServerErrorAdd += AppendNewErrors(FServerErrors, constants);
    }
    if (fixed) {
      FServerState = ServerState::Works;
      TError* const corrected = std::exchange(FServerError, nullptr);
      serverIndex_.Remove(FServerErrors, corrected);
    }
    FCorrectServerTime = ToDouble(FCorrectServerTime + dt);
    FDownTime = ToDouble(FDownTime + dt * (static_cast<long double>(FClientsNum) + 1));
    return;
  }

  if (!constants.haveClientSteps) {
    constants.request = ToDouble(StepProbability(FYk * dt));
    constants.correct = ToDouble(StepProbability(FMu * dt));
    constants.haveClientSteps = true;
  }
  const double requestProbability = constants.request;
  const double correctProbability = constants.correct;
  bool seen = false;
  auto seeFailedClient = [&] {
    // Once a step: the first failed client closes the run, which leaves nothing to close.
    if (seen) return;
    seen = true;
    FDownTime = ToDouble(FDownTime + dt);
    SeeFailure();
  };

  // Searched directly from here on: the model's own changes keep both indexes in step.
  clientIndex_.Follow(FClientErrors);
  serverIndex_.Follow(FServerErrors);
  // CorrectError and AddNewErrors change the error lists, never the client list.
  const std::unique_ptr<TClient>* const clients = FClients.data();
  const std::size_t clientCount = FClients.size();
  // The generator in registers through the working clients that make no request, the most
  // common visit; Random is in step whenever anything else runs.
  std::uint32_t seed = Random.Seed;
  std::uint64_t draws = Random.Draws;
  for (std::size_t i = 0; i < clientCount; ++i) {
    TClient& client = *clients[i];
    switch (client.FState) {
      case ClientState::Working: {
        seed = RandomSource::Next(seed);
        ++draws;
        if (!(RandomSource::Uniform(seed) <= requestProbability)) break;
        Random.Seed = seed;
        Random.Draws = draws;
        const double position = client.NextRequest(Random);
        const double halfWidth =
            RoundToDouble(Random.RandomUniform() * static_cast<long double>(FA) / 2);
        client.FError = clientIndex_.Find(FClientErrors, halfWidth, position);
        if (client.FError != nullptr) {
          FFailureNum += 1;
          --FWorkClientNum;
          if (FBusyProgrammers < FProgrammersNum) {
            ++FBusyProgrammers;
            client.FState = ClientState::InCorrection;
          } else {
            client.FState = ClientState::Waiting;
          }
        } else {
          const double position2 = client.NextRequest(Random);
          const double halfWidth2 =
              RoundToDouble(Random.RandomUniform() * (static_cast<long double>(FA) * 10) / 2);
          if (TError* const hit = serverIndex_.Find(FServerErrors, halfWidth2, position2)) {
            FServerState = ServerState::Failed;
            FServerError = hit;
            FFailureNum += 1;
          }
        }
        seed = Random.Seed;
        draws = Random.Draws;
        break;
      }
      case ClientState::InCorrection:
        seeFailedClient();
        client.FCorrectTime = PlusStep(client.FCorrectTime, FDT);
        Random.Seed = seed;
        Random.Draws = draws;
        if (Random.Chance(correctProbability)) CorrectError(client.FError);
        if (constants.firstNew != 0) {
          FNewClientErrorAdd += AppendNewErrors(FClientErrors, constants);
        }
        seed = Random.Seed;
        draws = Random.Draws;
        break;
      case ClientState::Waiting:
        seeFailedClient();
        client.FWaitTime = PlusStep(client.FWaitTime, FDT);
        if (FBusyProgrammers < FProgrammersNum) {
          client.FState = ClientState::InCorrection;
          ++FBusyProgrammers;
        }
        break;
    }
  }
  Random.Seed = seed;
  Random.Draws = draws;
}

ErrorIndex* TTeravo::IndexOf(const ErrorList& list) const {
  if (&list == &FClientErrors) return &clientIndex_;
  if (&list == &FServerErrors) return &serverIndex_;
  return nullptr;
}

TError* TTeravo::FindError(const ErrorList& list, double halfWidth, double position) const {
  ErrorIndex* const index = IndexOf(list);
  if (index == nullptr) return ScanErrors(list, halfWidth, position);
  index->Follow(list);
  return index->Find(list, halfWidth, position);
}

std::int32_t TTeravo::AddNewErrors(ErrorList& list) {
  return AppendNewErrors(list, Constants());
}

std::int32_t TTeravo::AppendNewErrors(ErrorList& list, const StepConstants& constants) {
  const long double first = constants.firstNew;
  if (first == 0) return 0;
  const long double factor = constants.factorNew;
  ErrorIndex* const index = IndexOf(list);
  long double p = first;
  std::int32_t n = 0;
  while (Random.Chance(ToDouble(p))) {
    // A chain that would outgrow the list ends here; the play driver stops the play.
    if (list.size() >= MaxErrorsInList) {
      ErrorLimitReached = true;
      break;
    }
    list.push_back(std::make_unique<TError>(Random.RandomUniform()));
    if (index != nullptr) index->Appended(list);
    ++n;
    p *= factor;
  }
  return n;
}

void TTeravo::ReindexErrors() {
  clientIndex_.Rebuild(FClientErrors);
  serverIndex_.Rebuild(FServerErrors);
}

void TTeravo::CorrectError(TError* error) {
  for (const auto& client : FClients) {
    if (client->FState == ClientState::Working || client->FError != error) continue;
    if (client->FState == ClientState::InCorrection) --FBusyProgrammers;
    client->FState = ClientState::Working;
    client->FError = nullptr;
    ++FWorkClientNum;
  }
  clientIndex_.Remove(FClientErrors, error);
}

void TTeravo::ExtendFailureFreeRun() {
  if (FBusyProgrammers == 0 && FServerState != ServerState::Failed) {
    FCurTer = ToDouble(static_cast<long double>(FCurTer) + FDT);
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
  // The down time is a sum of rounded steps, so when nothing or everything was down the
  // share can land a rounding error outside [0, 1]; a coefficient never is.
  return std::clamp(CheckedDiv(unitDays - FDownTime, unitDays), 0.0L, 1.0L);
}

TPlayEnd TTeravo::EndPlay() {
  // Each sum is a double, every addition rounded back to it.
  double correctSum = 0;
  double waitSum = 0;
  for (const auto& client : FClients) {
    correctSum = ToDouble(static_cast<long double>(correctSum) + client->FCorrectTime);
    waitSum = ToDouble(static_cast<long double>(waitSum) + client->FWaitTime);
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
