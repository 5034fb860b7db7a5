#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "model/teravo.h"
#include "tests/support/parameter_sets.h"

namespace teravo {
namespace {

using Clock = std::chrono::steady_clock;

// The draws one seeded play makes: all uniforms, and the Gauss values among them.
struct DrawCounts {
  std::uint64_t uniforms = 0;
  std::uint64_t gauss = 0;
};

void PlayOnce(TTeravo& model) {
  model.SetSeedSource(std::make_unique<FixedSeedSource>(testing::kBenchmarkSeed));
  model.InitPlay();
  for (std::int32_t i = 0; i <= model.FM; ++i) model.Iteration();
}

DrawCounts CountDraws(void (*set)(TTeravo&)) {
  TTeravo model;
  set(model);
  PlayOnce(model);
  return {model.Random.Draws, model.Random.GaussDraws};
}

// The draw floor: as many Gauss values and uniforms as the play, with nothing around them.
// The Gauss values come first and the uniforms top up to the play's count, whatever the
// polar method's rejections took from it.
void ReplayDraws(RandomSource& random, const DrawCounts& counts) {
  const std::uint64_t start = random.Draws;
  for (std::uint64_t i = 0; i < counts.gauss; ++i) {
    benchmark::DoNotOptimize(random.RandomGauss(0.5L, 0.1L));
  }
  while (random.Draws - start < counts.uniforms) benchmark::DoNotOptimize(random.RandomUniform());
}

void BM_DrawFloor(benchmark::State& state, void (*set)(TTeravo&)) {
  const DrawCounts counts = CountDraws(set);
  RandomSource random;
  random.Seed = testing::kBenchmarkSeed;
  for (auto _ : state) ReplayDraws(random, counts);
  state.counters["uniform_draws"] = static_cast<double>(counts.uniforms);
  state.counters["gauss_draws"] = static_cast<double>(counts.gauss);
}

// One whole play as the play driver runs it, without the statistics: InitPlay, then FM + 1
// steps. Every iteration replays the same seed, so the figures compare across builds.
// Each iteration also replays the play's draw floor outside the timing; per_floor is the
// play's time over the floor's, both measured under the same load.
void BM_ModelPlay(benchmark::State& state, void (*set)(TTeravo&)) {
  const DrawCounts counts = CountDraws(set);
  TTeravo model;
  set(model);
  RandomSource floorRandom;
  floorRandom.Seed = testing::kBenchmarkSeed;
  std::uint64_t draws = 0;
  Clock::duration modelTime{};
  Clock::duration floorTime{};
  for (auto _ : state) {
    const std::uint64_t before = model.Random.Draws;
    const Clock::time_point t0 = Clock::now();
    PlayOnce(model);
    benchmark::DoNotOptimize(model.FFailureNum);
    const Clock::time_point t1 = Clock::now();
    draws += model.Random.Draws - before;

    state.PauseTiming();
    const Clock::time_point f0 = Clock::now();
    ReplayDraws(floorRandom, counts);
    floorTime += Clock::now() - f0;
    state.ResumeTiming();
    modelTime += t1 - t0;
  }
  state.counters["draws_per_play"] =
      benchmark::Counter(static_cast<double>(draws), benchmark::Counter::kAvgIterations);
  state.counters["client_errors_left"] = static_cast<double>(model.FClientErrors.size());
  state.counters["per_floor"] =
      floorTime.count() > 0 ? static_cast<double>(modelTime.count()) / floorTime.count() : 0;
}

const bool modelBenchmarksRegistered = [] {
  for (const auto& [name, set] : testing::kParameterSets) {
    benchmark::RegisterBenchmark((std::string("BM_ModelPlay/") + name).c_str(), BM_ModelPlay, set)
        ->Unit(benchmark::kMillisecond);
  }
  for (const auto& [name, set] : testing::kParameterSets) {
    benchmark::RegisterBenchmark((std::string("BM_DrawFloor/") + name).c_str(), BM_DrawFloor, set)
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
}  // namespace teravo
