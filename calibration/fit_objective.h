#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <span>
#include <stop_token>
#include <vector>

#include "calibration/failure_match.h"
#include "calibration/fit_space.h"
#include "model/parameters.h"

namespace teravo {

// Which cumulative curve of the simulation stands for the observed counts.
enum class MatchedCurve { Failures, FixedErrors };

// What a fit has done so far, for a progress line.
struct FitProgress {
  int evaluations = 0;
  std::int64_t plays = 0;
  double bestDistance = 0;
};

struct FitControl {
  std::stop_token stop;  // a stop keeps the best fit found so far
  std::function<void(const FitProgress&)> progress;
};

// Thrown out of an evaluation when the fit must end: a stop, or a limit of evaluations or
// time. The search then keeps its best point.
struct FitInterrupted {};

// The distance of the simulation from the observed points as a function of the search
// coordinates. Every evaluation plays the same seeds (common random numbers), so two sets
// are compared on the same draws and the same set always gives the same distance, whatever
// the threads. Sets whose stored values coincide (integer edits round) are played once.
class FitObjective {
 public:
  struct Limits {
    int maxEvaluations = 400;
    double maxSeconds = 600;
  };

  FitObjective(const TParameters& given, std::vector<FittedEdit> edits, MatchPoints points,
               MatchedCurve matched, std::vector<std::uint32_t> seeds, int threads, Limits limits,
               const FitControl& control);

  // The distance at u; infinity for a set acceptance refuses or a play cannot run. Throws
  // FitInterrupted when a stop or a limit has come.
  double Distance(std::span<const double> u);
  // The simulation's mean of the matched curve at the match times, for the set at u.
  std::vector<double> MeanAt(std::span<const double> u);
  // The set at u as it is stored (integer edits rounded), with the play covering the data.
  TParameters ParametersAt(std::span<const double> u) const;

  const std::vector<FittedEdit>& Edits() const { return edits_; }
  const MatchPoints& Points() const { return points_; }
  std::span<const std::uint32_t> Seeds() const { return seeds_; }
  int Evaluations() const { return evaluations_; }
  std::int64_t Plays() const { return plays_; }
  double BestDistance() const { return best_; }
  // True once a limit (not a stop) ended an evaluation.
  bool LimitReached() const { return limitReached_; }
  bool Stopped() const { return control_.stop.stop_requested(); }
  // The intervals' design runs whole, past the search's limits: a search cut short still
  // gets its intervals.
  void AllowDesign(int evaluations) {
    limits_.maxEvaluations = evaluations_ + evaluations;
    limits_.maxSeconds = std::numeric_limits<double>::infinity();
  }

 private:
  // The set at u, or none when acceptance refuses a value.
  std::optional<TParameters> SetAt(std::span<const double> u) const;
  std::vector<double> Mean(const TParameters& parameters);

  TParameters given_;
  std::vector<FittedEdit> edits_;
  MatchPoints points_;
  MatchedCurve matched_;
  std::vector<std::uint32_t> seeds_;
  int threads_;
  Limits limits_;
  FitControl control_;
  std::chrono::steady_clock::time_point start_;
  std::map<std::vector<double>, double> known_;  // distance by stored values
  int evaluations_ = 0;
  std::int64_t plays_ = 0;
  double best_;
  bool limitReached_ = false;
};

}  // namespace teravo
