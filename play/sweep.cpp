#include "play/sweep.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <utility>
#include <vector>

#include "core/general_error.h"
#include "core/number_text.h"
#include "core/rounding.h"
#include "model/teravo.h"
#include "params/acceptance.h"
#include "play/commands.h"
#include "play/multi_play.h"
#include "play/run_budget.h"
#include "play/series_curves.h"
#include "results/series_statistics.h"

namespace teravo {

bool IsReadInMode(const SettingsEdit& edit, bool byProbability) {
  return edit.readWhen == ReadWhen::Always ||
         (edit.readWhen == ReadWhen::ByProbability) == byProbability;
}

SweepPlan PlanSweepValue(const TParameters& accepted, const SettingsEdit& edit, std::int32_t index,
                         std::string value, char separator, int threads) {
  SweepPlan plan;
  plan.index = index;
  plan.value = std::move(value);
  plan.parameters = accepted;
  if (auto refused = SetEditText(plan.parameters, edit, plan.value, separator)) {
    plan.refused = std::move(refused);
    return plan;
  }
  TTeravo model;
  model.Parameters() = plan.parameters;
  if (const CommandOutcome check = CheckBeforeRun(model, model.FK, false, threads); !check.ran()) {
    plan.refused = check.text;
    return plan;
  }
  plan.timeText =
      FloatToStr(static_cast<long double>(plan.parameters.FDT) * plan.parameters.FM, separator);
  return plan;
}

std::vector<SweepPlan> PlanSweep(const TParameters& accepted, const SettingsEdit& edit,
                                 const std::vector<std::string>& values, char separator,
                                 int threads, SweepSpan span) {
  const auto count = static_cast<std::int32_t>(values.size());
  std::vector<SweepPlan> plan;
  for (std::int32_t index = std::max(span.first, 1); index <= std::min(span.last, count); ++index) {
    plan.push_back(PlanSweepValue(accepted, edit, index,
                                  values[static_cast<std::size_t>(index - 1)], separator, threads));
  }
  return plan;
}

long double SweepSeconds(const std::vector<SweepPlan>& plan, int threads) {
  long double seconds = 0;
  for (const SweepPlan& point : plan) {
    if (point.refused) continue;
    seconds += EstimateNeeds(point.parameters, point.parameters.FK, false, threads).seconds;
  }
  return seconds;
}

namespace {

// A point whose value did not run, with the reason as the user is told it: the refusal, or the
// general error report of a play that failed (with its full stop).
SweepPoint FailedPoint(const SweepPlan& point, std::string reason) {
  SweepPoint failed;
  failed.index = point.index;
  failed.value = point.value;
  if (!reason.empty() && reason.back() != '.') reason += '.';
  failed.refused = std::move(reason);
  return failed;
}

}  // namespace

SweepRun RunSweep(const std::vector<SweepPlan>& plan, std::uint32_t seed, char separator,
                  const SweepRunOptions& options) {
  SweepRun run;
  for (const SweepPlan& point : plan) {
    if (options.stop.stop_requested()) {
      run.stopped = true;
      break;
    }
    if (point.refused) {
      SweepPoint skipped;
      skipped.index = point.index;
      skipped.value = point.value;
      skipped.refused = point.refused;
      run.points.push_back(std::move(skipped));
      if (options.pointDone) options.pointDone(run.points.back());
      continue;
    }
    CurveRequest figuresOnly;
    figuresOnly.figures = true;  // only the figures are reported
    CurveOptions curveOptions;
    curveOptions.threads = options.threads;
    curveOptions.stop = options.stop;
    if (options.progress) {
      curveOptions.progress = [&options, index = point.index](int done, int total) {
        options.progress(index, done, total);
      };
    }
    SeriesCurves plays;
    try {
      plays = RunSeriesCurves(point.parameters, ConsecutiveSeeds(seed, point.parameters.FK),
                              figuresOnly, curveOptions);
    } catch (const GeneralError& error) {
      // A play of this value failed as the general error report tells it: the value is
      // reported as one that did not run, and the other values still run.
      run.points.push_back(FailedPoint(point, error.what()));
      if (options.pointDone) options.pointDone(run.points.back());
      continue;
    } catch (...) {
      run.error = std::current_exception();
      break;
    }
    // A point stopped halfway has fewer plays than the others: its means would not compare.
    if (plays.stopped) {
      run.stopped = true;
      break;
    }
    std::vector<std::shared_ptr<PlayRecord>> records;
    for (const PlayFigures& figures : plays.figures) {
      records.push_back(std::make_shared<PlayRecord>(separator));
      SetFigures(*records.back(), figures);
    }
    PlayRecord averages(separator);
    FormAverages(records, averages);
    run.points.push_back(SweepPointOf(point.index, point.value, plays.plays, averages));
    if (options.pointDone) options.pointDone(run.points.back());
  }
  return run;
}

}  // namespace teravo
