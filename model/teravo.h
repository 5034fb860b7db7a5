#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/error_index.h"
#include "model/error_list.h"
#include "model/parameters.h"
#include "model/random_source.h"
#include "model/seed_source.h"

namespace teravo {

// The states keep the numbers they have always had: 0 working, 1 in correction (a programmer
// is correcting its error), 2 waiting for a free programmer.
enum class ClientState : std::int32_t { Working = 0, InCorrection = 1, Waiting = 2 };
enum class ServerState : std::int32_t { Works = 0, Failed = 1 };

// A client program. Its requests fall around FCenter with spread FSpread.
class TClient {
 public:
  // Two draws, in this order: FCenter, then FSpread = draw * (1 - FCenter) / 3.
  TClient(RandomSource& random, ClientState state);
  double NextRequest(RandomSource& random) const;

  double FCenter = 0;
  double FSpread = 0;
  ClientState FState = ClientState::Working;
  TError* FError = nullptr;  // the client error it failed on; not owning
  double FCorrectTime = 0;
  double FWaitTime = 0;
};

using ClientList = std::vector<std::unique_ptr<TClient>>;

// What a finished play leaves for its window's last figures.
struct TPlayEnd {
  long double AverCorrectTime;  // mean over the clients of their time in correction
  long double AverWaitTime;     // mean over the clients of their time waiting
  long double Kg;               // availability coefficient over the nominal play time
  double AverTer;               // mean time to failure, the last run folded in
};

// The simulation model: parameters (stored by parameter acceptance) and the state of the
// play in progress with its statistics. Fields keep their conventional names; everything
// starts at zero.
class TTeravo : public TParameters {
 public:
  // State of the play.
  ClientList FClients;
  ServerState FServerState = ServerState::Works;
  double FCorrectServerTime = 0;
  TError* FServerError = nullptr;  // not owning; meaningful while the server has failed
  // Each searched through an index of its own. Anyone may read them or append to them; any
  // other change from outside the model must be followed by ReindexErrors.
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
  // Set when a new-error chain stopped at MaxErrorsInList; the play cannot go on.
  bool ErrorLimitReached = false;
  std::size_t MaxErrorsInList = kMaxErrorsInList;  // lowered only by tests

  double FCurTer = 0;
  double FDownTime = 0;

  TParameters& Parameters() { return *this; }
  const TParameters& Parameters() const { return *this; }

  // Where plays take their seeds from; the UTC clock unless replaced.
  explicit TTeravo(std::unique_ptr<SeedSource> seeds = std::make_unique<ClockSeedSource>());

  // Starts a play: counts it, reseeds, builds clients and errors anew, resets the state.
  // Throws GeneralError on a parameter set with which a play could never end or would
  // divide by zero (see IsHarmful); callers check first and say why.
  void InitPlay();
  // Advances the play by one step of FDT days.
  void Iteration();

  // The statistics a play keeps beside its steps, in the order a play driver calls them.
  // After a step with no busy programmer and a working server: the current failure-free run
  // grows by FDT, and it is also the last run seen.
  void ExtendFailureFreeRun();
  // FPer := errors * FA * (clients + 1) * FYk * FDT, at most 1.
  void UpdateFailureProbability();
  // The share of unit-days (clients and server) not lost to failures over `elapsed` days.
  long double AvailabilityCoefficient(long double elapsed) const;
  // Ends the play's statistics: folds the last run into FAverTer and returns the figures.
  TPlayEnd EndPlay();
  std::int32_t GetPlayCount() const { return FPlayCount; }

  // First error of `list`, in list order, within `halfWidth` of `position`, or nullptr.
  TError* FindError(const ErrorList& list, double halfWidth, double position) const;
  // Appends a chain of new errors to `list`; returns how many.
  std::int32_t AddNewErrors(ErrorList& list);
  // Restores every failed client on `error`, then removes and destroys it.
  void CorrectError(TError* error);
  // Reindexes both error lists: needed only after changing them from outside other than by
  // appending.
  void ReindexErrors();

  RandomSource Random;
  std::uint32_t PlaySeed = 0;  // the seed the current play started from
  SeedSource& Seeds() { return *seeds_; }
  void SetSeedSource(std::unique_ptr<SeedSource> seeds) { seeds_ = std::move(seeds); }

 private:
  // What a step computes from the parameters alone, kept while they stay the same (bit for
  // bit): tests and dialogs may change parameters between plays or even between steps.
  struct StepConstants {
    double yk, mu, dt, complexity, pNew, yNew;
    bool byProbability;
    bool built = false;
    bool haveClientSteps = false;  // request and correction probabilities
    double request = 0, correct = 0;
    bool haveFix = false;  // the server fix probability; it may throw, so only when needed
    double fix = 0;
    long double firstNew = 0, factorNew = 0;  // the new-error chain
  };
  StepConstants& Constants();
  std::int32_t AppendNewErrors(ErrorList& list, const StepConstants& constants);
  // The index of one of the model's own lists, nullptr for any other list.
  ErrorIndex* IndexOf(const ErrorList& list) const;

  void SeeFailure();
  // FAverTer's halving average: the first run's length, then (FAverTer + run) / 2.
  void FoldIntoAverTer(double run);
  std::unique_ptr<SeedSource> seeds_;
  StepConstants constants_{};
  // Beside FClientErrors and FServerErrors; kept in step by the model's own changes, and
  // rebuilt when a search finds its list changed.
  mutable ErrorIndex clientIndex_;
  mutable ErrorIndex serverIndex_;
};

}  // namespace teravo
