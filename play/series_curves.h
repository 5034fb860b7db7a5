#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <stop_token>
#include <vector>

#include "model/parameters.h"
#include "play/play_driver.h"

namespace teravo {

// A quantity followed over the time of a play, as numbers: what fits, forecasts and questions
// about a series read, without windows.
enum class Curve {
  WorkingClients,     // the play window's chNums
  ClientErrors,       // errors left in the clients (chClientErrors)
  ErrorsLeft,         // errors left in the clients and the server
  FailureIntensity,   // failures per day of server work (chErrorsIntensity)
  MeanTimeToFailure,  // chAvTer
  Failures,           // failures so far (chFailures)
  FixedErrors,        // errors corrected so far (chFixedErrors)
  Availability,       // the availability coefficient over the time so far
};

struct CurveRequest {
  // Days from the start, each read at the step nearest to it (a tie to the even step); none
  // may lie beyond the play.
  std::vector<double> times;
  std::vector<Curve> curves;
  bool keepPlayValues = false;  // every play's value at every time, besides mean and band
  bool figures = false;         // every play's final figures, as its window would end
};

// One curve over the plays of a series at each time asked.
struct CurveBand {
  std::vector<double> mean;
  std::vector<double> low;   // the 5th percentile over the plays
  std::vector<double> high;  // the 95th
  // With keepPlayValues: plays[k][j], play k at time j.
  std::vector<std::vector<double>> plays;
};

struct SeriesCurves {
  std::vector<std::int64_t> steps;   // the step each time was read at
  std::vector<CurveBand> curves;     // in the order asked
  std::vector<PlayFigures> figures;  // with figures: each play's, in play order
  std::int32_t plays = 0;            // the plays behind the curves: those finished in order
  bool stopped = false;              // the plays after those never ran to their end
};

struct CurveOptions {
  int threads = 0;       // workers; 0 takes every core
  std::stop_token stop;  // the plays finished in order before the stop are kept
  // Called on the calling thread whenever the plays finished in order grow.
  std::function<void(int playsDone, int playsTotal)> progress;
};

// Plays one play of `parameters` per seed, on worker threads with a model each, and reads the
// curves at the times asked: their means (summed in play order) and 5–95 % bands. The result
// does not depend on the number of threads. A play that fails throws its error (the first in
// play order), as the play driver would; a time beyond the play throws GeneralError.
SeriesCurves RunSeriesCurves(const TParameters& parameters, std::span<const std::uint32_t> seeds,
                             const CurveRequest& request, const CurveOptions& options = {});

// Seeds first, first + 1, ..., count of them: the seeds of a series.
std::vector<std::uint32_t> ConsecutiveSeeds(std::uint32_t first, std::int32_t count);

}  // namespace teravo
