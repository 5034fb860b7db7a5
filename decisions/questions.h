#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <vector>

#include "decisions/release_cost.h"
#include "decisions/staffing.h"
#include "decisions/target.h"
#include "decisions/time_to_target.h"
#include "model/parameters.h"

namespace teravo {

// Every play's values are kept at every time read (up to about 1000 of them, two curves with
// the costs): 10000 plays hold about 160 MB.
inline constexpr std::int32_t kMostQuestionPlays = 10000;

// What an analyst asks of a parameter set: when the target is reached with a probability,
// and optionally how many programmers reach it by a date and when releasing costs least.
struct Question {
  Target target;
  double probability = 0.9;
  double confidence = 0.95;  // of the quantiles' intervals
  std::int32_t plays = 100;
  std::uint32_t firstSeed = 1;
  int gridPoints = 1000;     // times the curves are read at, the play's start and end among them
  std::optional<double> by;  // a date for the share reached by it; the staffing needs it
  std::optional<StaffingQuestion> staffing;  // its `by` is taken from `by`
  std::optional<CostQuestion> costs;
};

struct Answers {
  std::vector<double> times;  // the times read, in days
  double step = 0;            // the play's step in days, the finest time can be told to
  std::int32_t programmers = 0;
  std::vector<std::optional<double>> firstTimes;  // each play's, none when censored
  TimeToTarget time;
  std::optional<double> by;  // the date as read, on the play's steps
  std::optional<double> byShare;
  std::optional<Staffing> staffing;
  std::optional<ReleaseCost> cost;
  bool stopped = false;  // the answers cover the plays that ran before the stop
};

enum class QuestionStage { Times, Staffing };

struct QuestionControl {
  int threads = 0;
  std::stop_token stop;
  // Plays done of at most `total` (the staffing search may end sooner), on the calling thread.
  std::function<void(QuestionStage stage, std::int64_t done, std::int64_t total)> progress;
};

// Plays `question.plays` plays of `parameters` (seeds firstSeed, firstSeed + 1, …) and answers
// from them; the staffing plays every count it tries on those seeds too, and re-checks on the
// next `plays` seeds. A date or horizon outside the play, or a bad range, throws GeneralError
// with the Russian text.
Answers AskQuestions(const TParameters& parameters, const Question& question,
                     const QuestionControl& control = {});

// The play's times the questions read: `points` evenly spaced steps from the start to the
// end, and the steps nearest to `extra` days, as days.
std::vector<double> QuestionTimes(const TParameters& parameters, int points,
                                  const std::vector<double>& extra);

}  // namespace teravo
