#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/random_source.h"
#include "model/seed_source.h"

namespace teravo {

// An error (defect) at a point of the common data area [0, 1). Whether it lies in a client
// or in the server follows from the list that holds it.
class TError {
 public:
  explicit TError(double position) : FPosition(position) {}
  double GetPosition() const { return FPosition; }

  double FPosition = 0;
};

// A client program. Its requests fall around FCenter with spread FSpread.
class TClient {
 public:
  // Two draws, in this order: FCenter, then FSpread = draw * (1 - FCenter) / 3.
  TClient(RandomSource& random, std::int32_t state);
  double NextRequest(RandomSource& random) const;

  double FCenter = 0;
  double FSpread = 0;
  std::int32_t FState = 0;   // 0 working, 1 in correction, 2 waiting for a programmer
  TError* FError = nullptr;  // the client error it failed on; not owning
  double FCorrectTime = 0;
  double FWaitTime = 0;
};

using ErrorList = std::vector<std::unique_ptr<TError>>;
using ClientList = std::vector<std::unique_ptr<TClient>>;

// The simulation model: parameters (stored by parameter acceptance) and the state of the
// play in progress. Fields keep their conventional names; everything starts at zero.
class TTeravo {
 public:
  // Parameters.
  std::int32_t FClientsNum = 0;
  std::int32_t FProgrammersNum = 0;
  double FA = 0;
  std::int32_t FErrorsNum0 = 0;
  double FCoeffComplexity = 0;
  double FYk = 0;
  double FMu = 0;
  double FDT = 0;
  double FP_newErr = 0;
  double FY_newErr = 0;
  bool FByProbability = false;

  // State of the play.
  ClientList FClients;
  std::int32_t FServerState = 0;  // 0 works, 1 failed on FServerError
  double FCorrectServerTime = 0;
  TError* FServerError = nullptr;  // not owning; meaningful while FServerState == 1
  ErrorList FClientErrors;
  ErrorList FServerErrors;
  std::int32_t FBusyProgrammers = 0;
  std::int32_t FPlayCount = 0;
  std::int32_t FWorkClientNum = 0;
  double FFailureNum = 0;
  double FTer = 0;
  double FAverTer = 0;
  double FPer = 0;
  std::int32_t FNewClientErrorAdd = 0;
  std::int32_t FNewServerErrorAdd = 0;

  bool FShowProgress = false;  // display flag of the play drivers; the model ignores it

  double FCurTer = 0;
  double FDownTime = 0;

  std::int32_t FM = 0;
  std::int32_t FK = 0;

  // Where plays take their seeds from; the UTC clock unless replaced.
  explicit TTeravo(std::unique_ptr<SeedSource> seeds = std::make_unique<ClockSeedSource>());

  // Starts a play: counts it, reseeds, builds clients and errors anew, resets the state.
  // Throws GeneralError on a parameter set with which a play could never end or would
  // divide by zero (see HasHarmfulParameters); callers check first and say why.
  void InitPlay();
  // Advances the play by one step of FDT days.
  void Iteration();
  std::int32_t GetPlayCount() const { return FPlayCount; }

  // First error of `list`, in list order, within `halfWidth` of `position`, or nullptr.
  TError* FindError(const ErrorList& list, double halfWidth, double position) const;
  // Appends a chain of new errors to `list`; returns how many.
  std::int32_t AddNewErrors(ErrorList& list);
  // Restores every failed client on `error`, then removes and destroys it.
  void CorrectError(TError* error);

  // The first-new-error probability of one AddNewErrors call in the current mode.
  double FirstNewErrorProbability() const;

  // True for the parameter sets a failed acceptance can leave that would make a play
  // loop forever or divide by zero: a new-error chain that never ends (probability mode
  // with FP_newErr >= 1, or an intensity so large that the first probability is 1) and
  // FCoeffComplexity == 0.
  // Also true when a play would have to build more than kMaxServerErrors server errors.
  bool HasHarmfulParameters() const;
  static constexpr long double kMaxServerErrors = 10'000'000;
  // True when every parameter a play reads lies in the range acceptance allows.
  bool HasUsableParameters() const;

  RandomSource Random;
  std::uint32_t PlaySeed = 0;  // the seed the current play started from
  SeedSource& Seeds() { return *seeds_; }
  void SetSeedSource(std::unique_ptr<SeedSource> seeds) { seeds_ = std::move(seeds); }

 private:
  void SeeFailure();
  long double FirstNewErrorProbabilityExtended() const;
  std::unique_ptr<SeedSource> seeds_;
};

}  // namespace teravo
