#include "play/series_curves.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "core/general_error.h"
#include "core/number_text.h"
#include "core/rounding.h"
#include "model/teravo.h"
#include "results/series_statistics.h"

namespace teravo {

namespace {

// What the plays of one request compute beyond the bare steps.
struct Plan {
  std::vector<std::int64_t> steps;
  std::vector<Curve> curves;
  bool figures = false;
  bool meanTimeToFailure = false;  // the failure-free runs must be followed
  bool intensity = false;          // the server's working time must be followed
};

Plan PlanOf(const TParameters& parameters, const CurveRequest& request) {
  Plan plan;
  plan.curves = request.curves;
  plan.figures = request.figures;
  for (Curve curve : request.curves) {
    plan.meanTimeToFailure = plan.meanTimeToFailure || curve == Curve::MeanTimeToFailure;
    plan.intensity = plan.intensity || curve == Curve::FailureIntensity;
  }
  const long double dt = parameters.FDT;
  for (double time : request.times) {
    const long double steps = std::isfinite(time) && time >= 0 ? time / dt : -1;
    if (!(steps >= 0 && steps < static_cast<long double>(parameters.FM) + 0.5L)) {
      Raise("Момент " + FloatToStr(time, '.') + " сут. лежит вне розыгрыша (0 … " +
            FloatToStr(static_cast<long double>(parameters.FM) * dt, '.') + " сут.).");
    }
    plan.steps.push_back(std::min<std::int64_t>(RoundTiesEven(steps), parameters.FM));
  }
  if (!std::is_sorted(plan.steps.begin(), plan.steps.end())) {
    Raise("Моменты для кривых должны идти по возрастанию.");
  }
  return plan;
}

// One play's values, curve after curve (curve c at time j at c * times + j).
struct PlayResult {
  std::vector<double> values;
  PlayFigures figures{};
  std::exception_ptr error;
  bool finished = false;  // false: stopped before its end
  bool done = false;
};

// A play of the bare model, read at the planned steps. With figures it also does everything
// the play driver does that may fail (the moment as a chart's x, the failure intensity), so
// that it fails where the driver would.
void PlayOne(TTeravo& model, std::uint32_t seed, const Plan& plan, std::stop_token stop,
             PlayResult& result) {
  model.SetSeedSource(std::make_unique<FixedSeedSource>(seed));
  model.InitPlay();
  const std::int64_t m = model.FM;
  const long double dt = model.FDT;
  const std::size_t times = plan.steps.size();
  result.values.assign(times * plan.curves.size(), 0.0);
  const auto initialErrors =
      static_cast<std::int64_t>(model.FClientErrors.size() + model.FServerErrors.size());
  const bool followRuns = plan.figures || plan.meanTimeToFailure;
  const bool followWork = plan.figures || plan.intensity;

  constexpr std::int64_t kStopCheckSteps = 256;
  double correctServerTime = 0;
  long double failedSteps = 0;
  std::size_t next = 0;
  for (std::int64_t i = 0; i <= m; ++i) {
    if (i % kStopCheckSteps == 0 && stop.stop_requested()) return;
    model.Iteration();
    if (model.ErrorLimitReached) Raise(ErrorLimitText(model, i));
    if (followRuns) model.ExtendFailureFreeRun();
    if (plan.figures) {
      model.UpdateFailureProbability();
      ToDouble(static_cast<long double>(i) * dt);  // the moment as the driver's x
    }
    double failureIntensity = 0;
    if (followWork) {
      if (model.FCorrectServerTime != correctServerTime) {
        correctServerTime = model.FCorrectServerTime;
        failedSteps = CheckedDiv(correctServerTime, dt);
      }
      const long double worked = ((static_cast<long double>(i) + 1) - failedSteps) * dt;
      failureIntensity = ToDouble(CheckedDiv(model.FFailureNum, worked));
    }
    for (; next < times && plan.steps[next] == i; ++next) {
      for (std::size_t c = 0; c < plan.curves.size(); ++c) {
        double value = 0;
        switch (plan.curves[c]) {
          case Curve::WorkingClients:
            value = model.FWorkClientNum;
            break;
          case Curve::ClientErrors:
            value = static_cast<double>(model.FClientErrors.size());
            break;
          case Curve::ErrorsLeft:
            value = static_cast<double>(model.FClientErrors.size() + model.FServerErrors.size());
            break;
          case Curve::FailureIntensity:
            value = failureIntensity;
            break;
          case Curve::MeanTimeToFailure:
            value = model.FAverTer;
            break;
          case Curve::Failures:
            value = model.FFailureNum;
            break;
          case Curve::FixedErrors:
            value = static_cast<double>(FixedErrors(model, initialErrors));
            break;
          case Curve::Availability:
            value = static_cast<double>(
                model.AvailabilityCoefficient((static_cast<long double>(i) + 1) * dt));
            break;
        }
        result.values[c * times + next] = value;
      }
    }
  }
  if (plan.figures) result.figures = FinalFigures(model, model.EndPlay());
  result.finished = true;
}

int WorkerCount(int requested, std::size_t plays) {
  int threads = requested > 0 ? requested : static_cast<int>(std::thread::hardware_concurrency());
  threads = std::max(threads, 1);
  return static_cast<int>(
      std::min<std::size_t>(static_cast<std::size_t>(threads), std::max<std::size_t>(plays, 1)));
}

// Means and bands over the plays, point by point, in play order.
CurveBand BandOf(const std::vector<PlayResult>& results, std::size_t plays, std::size_t curve,
                 std::size_t times, bool keepPlayValues) {
  CurveBand band;
  band.mean.resize(times);
  band.low.resize(times);
  band.high.resize(times);
  if (keepPlayValues) {
    band.plays.resize(plays);
    for (std::size_t k = 0; k < plays; ++k) {
      const auto first = results[k].values.begin() + static_cast<std::ptrdiff_t>(curve * times);
      band.plays[k].assign(first, first + static_cast<std::ptrdiff_t>(times));
    }
  }
  if (plays == 0) return band;
  std::vector<double> values(plays);
  PointSorter sorter(plays);
  for (std::size_t j = 0; j < times; ++j) {
    long double sum = 0;
    for (std::size_t k = 0; k < plays; ++k) {
      values[k] = results[k].values[curve * times + j];
      sum += values[k];
    }
    band.mean[j] = static_cast<double>(sum / static_cast<long double>(plays));
    const std::span<const double> sorted = sorter.Sort(values);
    band.low[j] = static_cast<double>(QuantileOfSorted(sorted, 0.05L));
    band.high[j] = static_cast<double>(QuantileOfSorted(sorted, 0.95L));
  }
  return band;
}

}  // namespace

std::vector<std::uint32_t> ConsecutiveSeeds(std::uint32_t first, std::int32_t count) {
  std::vector<std::uint32_t> seeds;
  for (std::int32_t k = 0; k < count; ++k) seeds.push_back(first + static_cast<std::uint32_t>(k));
  return seeds;
}

SeriesCurves RunSeriesCurves(const TParameters& parameters, std::span<const std::uint32_t> seeds,
                             const CurveRequest& request, const CurveOptions& options) {
  const Plan plan = PlanOf(parameters, request);
  const std::size_t plays = seeds.size();
  std::vector<PlayResult> results(plays);
  std::mutex mutex;
  std::condition_variable finished;
  std::atomic<std::size_t> next{0};
  // A failed play ends the series there: the plays after it are not started.
  std::atomic<std::size_t> failedAt{plays};
  std::stop_source cancel;

  auto work = [&](std::stop_token workerStop) {
    TTeravo model;
    model.Parameters() = parameters;
    while (!workerStop.stop_requested() && !cancel.stop_requested()) {
      const std::size_t k = next.fetch_add(1);
      if (k >= plays || k > failedAt.load()) break;
      PlayResult result;
      try {
        PlayOne(model, seeds[k], plan, cancel.get_token(), result);
      } catch (...) {
        result.error = std::current_exception();
        std::size_t first = failedAt.load();
        while (k < first && !failedAt.compare_exchange_weak(first, k)) {
        }
      }
      {
        const std::lock_guard lock(mutex);
        results[k] = std::move(result);
        results[k].done = true;
      }
      finished.notify_all();
    }
    const std::lock_guard lock(mutex);
    finished.notify_all();
  };

  const std::stop_callback forward(options.stop, [&cancel] { cancel.request_stop(); });
  SeriesCurves curves;
  curves.steps = plan.steps;
  std::size_t inOrder = 0;
  std::exception_ptr error;
  {
    std::vector<std::jthread> workers;
    const int threads = WorkerCount(options.threads, plays);
    for (int t = 0; t < threads; ++t) workers.emplace_back(work);
    std::unique_lock lock(mutex);
    for (; inOrder < plays; ++inOrder) {
      PlayResult& result = results[inOrder];
      finished.wait(lock, [&] { return result.done || cancel.stop_requested(); });
      if (!result.done || (!result.error && !result.finished)) break;  // stopped
      if (result.error) {
        error = result.error;
        break;
      }
      if (options.progress) {
        lock.unlock();
        options.progress(static_cast<int>(inOrder + 1), static_cast<int>(plays));
        lock.lock();
      }
      // A stop keeps the plays handed over before it, however many more have finished.
      if (cancel.stop_requested()) {
        ++inOrder;
        break;
      }
    }
    lock.unlock();
    cancel.request_stop();
  }  // the workers are joined here
  if (error) std::rethrow_exception(error);

  curves.plays = static_cast<std::int32_t>(inOrder);
  curves.stopped = inOrder < plays;
  for (std::size_t c = 0; c < plan.curves.size(); ++c) {
    curves.curves.push_back(BandOf(results, inOrder, c, plan.steps.size(), request.keepPlayValues));
  }
  if (plan.figures) {
    for (std::size_t k = 0; k < inOrder; ++k) curves.figures.push_back(results[k].figures);
  }
  return curves;
}

}  // namespace teravo
