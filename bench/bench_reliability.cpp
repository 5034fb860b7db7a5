// The whole failure-data analysis (trend, four models on all the data and on the holdout
// share, predictions) on 10,000 failure times of a simulated Goel-Okumoto process.

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "reliability/failure_analysis.h"

namespace teravo {
namespace {

FailureData SimulatedTimes(int count) {
  // a = 1.2 count, b = 0.02 per day: count failures by -ln(1 - 1 / 1.2) / b, about 90 days.
  const double a = 1.2 * count;
  const double b = 0.02;
  std::mt19937_64 random(7);
  std::exponential_distribution<double> step(1.0);
  std::vector<double> times;
  double s = 0;
  for (int i = 0; i < count; ++i) {
    s += step(random);
    times.push_back(-std::log1p(-s / a) / b);
  }
  return FailureTimesInDays(std::move(times));
}

void BM_AnalyseFailureData(benchmark::State& state) {
  const FailureData data = SimulatedTimes(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const FailureAnalysis analysis = AnalyseFailureData(data, {});
    benchmark::DoNotOptimize(analysis.fits.front().log_likelihood);
  }
}
BENCHMARK(BM_AnalyseFailureData)->Arg(10'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace teravo
