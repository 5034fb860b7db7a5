#include "decisions/questions.h"

#include <algorithm>
#include <cmath>

#include "core/general_error.h"
#include "core/number_text.h"
#include "core/rounding.h"
#include "play/series_curves.h"

namespace teravo {

namespace {

long double PlayEnd(const TParameters& parameters) {
  return static_cast<long double>(parameters.FM) * parameters.FDT;
}

// A date on the play's steps: within the play, past its start.
double OnSteps(const TParameters& parameters, double days, const char* what) {
  const long double end = PlayEnd(parameters);
  if (!(std::isfinite(days) && days > 0 && days <= end * (1 + 1e-12L))) {
    Raise(std::string(what) + " должен лежать в розыгрыше: больше 0 и не позже " +
          FloatToStr(end, ',') + " сут.");
  }
  const auto step = std::min<std::int64_t>(RoundTiesEven(days / parameters.FDT), parameters.FM);
  return static_cast<double>(static_cast<long double>(step) * parameters.FDT);
}

}  // namespace

std::vector<double> QuestionTimes(const TParameters& parameters, int points,
                                  const std::vector<double>& extra) {
  const std::int64_t m = parameters.FM;
  const std::int64_t count = std::clamp<std::int64_t>(points, 2, m + 1);
  std::vector<std::int64_t> steps;
  for (std::int64_t j = 0; j < count; ++j) {
    steps.push_back(RoundTiesEven(static_cast<long double>(j) * m / (count - 1)));
  }
  for (double days : extra) {
    steps.push_back(std::min<std::int64_t>(RoundTiesEven(days / parameters.FDT), m));
  }
  std::sort(steps.begin(), steps.end());
  steps.erase(std::unique(steps.begin(), steps.end()), steps.end());
  std::vector<double> times;
  for (std::int64_t step : steps) {
    times.push_back(static_cast<double>(static_cast<long double>(step) * parameters.FDT));
  }
  return times;
}

Answers AskQuestions(const TParameters& parameters, const Question& question,
                     const QuestionControl& control) {
  if (question.plays < 1 || question.plays > kMostQuestionPlays) {
    Raise("Число розыгрышей должно быть от 1 до " + IntToStr(kMostQuestionPlays) + ".");
  }
  Answers answers;
  std::vector<double> extra;
  if (question.by) {
    answers.by = OnSteps(parameters, *question.by, "Срок");
    extra.push_back(*answers.by);
  }
  std::optional<CostQuestion> costs = question.costs;
  if (costs) {
    costs->horizon = OnSteps(parameters, costs->horizon, "Горизонт");
    extra.push_back(costs->horizon);
  }
  if (question.staffing && !answers.by) Raise("Для подбора программистов нужен срок.");
  answers.times = QuestionTimes(parameters, question.gridPoints, extra);
  answers.step = parameters.FDT;
  answers.programmers = parameters.FProgrammersNum;

  const std::int64_t evaluations = question.staffing ? question.staffing->maxEvaluations + 2 : 0;
  const std::int64_t total = question.plays * (1 + evaluations);
  std::int64_t done = 0;
  const auto runPlays = [&](const TParameters& set, std::uint32_t firstSeed,
                            std::vector<Curve> curves, QuestionStage stage) {
    CurveRequest request{answers.times, std::move(curves), true, false};
    CurveOptions options;
    options.threads = control.threads;
    options.stop = control.stop;
    if (control.progress) {
      options.progress = [&](int playsDone, int) {
        control.progress(stage, done + playsDone, total);
      };
    }
    const auto seeds = ConsecutiveSeeds(firstSeed, question.plays);
    SeriesCurves result = RunSeriesCurves(set, seeds, request, options);
    done += result.plays;
    return result;
  };

  std::vector<Curve> curves = {CurveOf(question.target.quantity)};
  if (costs) curves.push_back(Curve::Failures);
  const SeriesCurves series =
      runPlays(parameters, question.firstSeed, curves, QuestionStage::Times);
  answers.stopped = series.stopped;
  answers.firstTimes = FirstTimes(series.curves[0].plays, answers.times, question.target);
  answers.time = DescribeTimes(answers.firstTimes, static_cast<double>(PlayEnd(parameters)),
                               question.probability, question.confidence);
  if (answers.by) answers.byShare = ShareReachedBy(answers.time, *answers.by);
  if (costs) {
    answers.cost =
        ReleaseCostOf(series.curves[1].plays, answers.times, parameters.FProgrammersNum, *costs);
  }
  if (!question.staffing || answers.stopped) return answers;

  StaffingQuestion staffing = *question.staffing;
  staffing.by = *answers.by;
  std::vector<StaffingTrial> known;
  if (parameters.FProgrammersNum >= staffing.fewest &&
      parameters.FProgrammersNum <= staffing.most) {
    // The series above is this count on the common seeds.
    known.push_back({parameters.FProgrammersNum, question.plays,
                     ReachedBy(answers.firstTimes, staffing.by), false});
  }
  const StaffingPlays play = [&](std::int32_t programmers,
                                 bool freshSeeds) -> std::optional<std::int32_t> {
    TParameters set = parameters;
    set.FProgrammersNum = programmers;
    const std::uint32_t first =
        question.firstSeed + (freshSeeds ? static_cast<std::uint32_t>(question.plays) : 0);
    const SeriesCurves run =
        runPlays(set, first, {CurveOf(question.target.quantity)}, QuestionStage::Staffing);
    if (run.stopped) return std::nullopt;
    return ReachedBy(FirstTimes(run.curves[0].plays, answers.times, question.target), staffing.by);
  };
  answers.staffing = FindStaffing(staffing, question.probability, question.plays, play, known);
  return answers;
}

}  // namespace teravo
