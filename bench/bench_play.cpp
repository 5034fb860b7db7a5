#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/teravo.h"
#include "play/multi_play.h"
#include "play/play_driver.h"
#include "play/play_host.h"
#include "play/series_curves.h"
#include "tests/support/parameter_sets.h"

namespace teravo {
namespace {

PlayContext Context() {
  return {"10", ',', [] { return std::string("08.12.2026 4:39:53"); }};
}

// One whole play through the driver, with the same seed as the bare model's benchmark.
void BM_PlayDriver(benchmark::State& state, void (*set)(TTeravo&)) {
  TTeravo model;
  set(model);
  DiscardingHost host;
  for (auto _ : state) {
    model.SetSeedSource(std::make_unique<FixedSeedSource>(testing::kBenchmarkSeed));
    auto record = Play(model, host, Context());
    benchmark::DoNotOptimize(record.get());
  }
}

// The plays of a series alone, with the seeds the series gives them: the yardstick of a series.
void BM_TenPlays(benchmark::State& state, void (*set)(TTeravo&)) {
  TTeravo model;
  set(model);
  DiscardingHost host;
  for (auto _ : state) {
    model.SetSeedSource(std::make_unique<FixedSeedSource>(testing::kBenchmarkSeed));
    for (int k = 0; k < 10; ++k) {
      model.FShowProgress = false;
      auto record = Play(model, host, Context());
      benchmark::DoNotOptimize(record.get());
    }
  }
}

// A series of FK plays with its averages and distributions, on one thread: at FK = 10 its
// cost against BM_TenPlays is what the series adds to its plays.
void BM_Series(benchmark::State& state, void (*set)(TTeravo&)) {
  TTeravo model;
  set(model);
  model.FK = static_cast<std::int32_t>(state.range(0));
  DiscardingHost host;
  SeriesOptions oneThread;
  oneThread.threads = 1;
  for (auto _ : state) {
    model.SetSeedSource(std::make_unique<FixedSeedSource>(testing::kBenchmarkSeed));
    benchmark::DoNotOptimize(PlayMultiple(model, host, Context(), oneThread).ran());
  }
}

// A series of FK = 20 "server-up" plays on 1 or 2 threads, wall clock: the speed-up of the
// parallel series.
void BM_SeriesThreads(benchmark::State& state) {
  TTeravo model;
  testing::SetServerUp(model);
  model.FK = 20;
  DiscardingHost host;
  SeriesOptions options;
  options.threads = static_cast<int>(state.range(0));
  for (auto _ : state) {
    model.SetSeedSource(std::make_unique<FixedSeedSource>(testing::kBenchmarkSeed));
    benchmark::DoNotOptimize(PlayMultiple(model, host, Context(), options).ran());
  }
}

constexpr int kCurvePlays = 10;

// Ten plays of the bare model with the seeds of a series: the yardstick of series curves.
void BM_TenBarePlays(benchmark::State& state, void (*set)(TTeravo&)) {
  TTeravo model;
  set(model);
  for (auto _ : state) {
    model.SetSeedSource(std::make_unique<FixedSeedSource>(testing::kBenchmarkSeed));
    for (int k = 0; k < kCurvePlays; ++k) {
      model.InitPlay();
      for (std::int32_t i = 0; i <= model.FM; ++i) model.Iteration();
      benchmark::DoNotOptimize(model.FFailureNum);
    }
  }
}

// The curves a fit or a question reads (failures, working clients, availability at 100
// times) over the same ten plays, on one thread: against BM_TenBarePlays, what reading the
// curves adds to the plays.
void BM_SeriesCurves(benchmark::State& state, void (*set)(TTeravo&)) {
  TTeravo model;
  set(model);
  CurveRequest request;
  for (int j = 1; j <= 100; ++j) request.times.push_back(model.FM * model.FDT * j / 100);
  request.curves = {Curve::Failures, Curve::WorkingClients, Curve::Availability};
  const std::vector<std::uint32_t> seeds = ConsecutiveSeeds(testing::kBenchmarkSeed, kCurvePlays);
  CurveOptions oneThread;
  oneThread.threads = 1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        RunSeriesCurves(model.Parameters(), seeds, request, oneThread).curves.data());
  }
}

const bool playBenchmarksRegistered = [] {
  for (const auto& [name, set] : testing::kParameterSets) {
    benchmark::RegisterBenchmark((std::string("BM_PlayDriver/") + name).c_str(), BM_PlayDriver, set)
        ->Unit(benchmark::kMillisecond);
  }
  for (const auto& [name, set] : testing::kParameterSets) {
    if (std::string(name) == "large") continue;  // ten large plays take seconds
    benchmark::RegisterBenchmark((std::string("BM_TenBarePlays/") + name).c_str(), BM_TenBarePlays,
                                 set)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string("BM_SeriesCurves/") + name).c_str(), BM_SeriesCurves,
                                 set)
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();
BENCHMARK_CAPTURE(BM_TenPlays, defaults, testing::SetDefaults)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Series, defaults, testing::SetDefaults)
    ->ArgName("FK")
    ->Arg(10)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SeriesThreads)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace teravo
