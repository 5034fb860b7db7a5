#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

#include "model/teravo.h"
#include "tests/support/parameter_sets.h"

namespace teravo {
namespace {

constexpr std::uint32_t kSeed = 20240301;

// One whole play as the play driver runs it, without the statistics: InitPlay, then FM + 1
// steps. Every iteration replays the same seed, so the figures compare across builds.
void BM_ModelPlay(benchmark::State& state, void (*set)(TTeravo&)) {
  TTeravo model;
  set(model);
  std::uint64_t draws = 0;
  for (auto _ : state) {
    model.SetSeedSource(std::make_unique<FixedSeedSource>(kSeed));
    const std::uint64_t before = model.Random.Draws;
    model.InitPlay();
    for (std::int32_t i = 0; i <= model.FM; ++i) model.Iteration();
    draws += model.Random.Draws - before;
    benchmark::DoNotOptimize(model.FFailureNum);
  }
  state.counters["draws_per_play"] =
      benchmark::Counter(static_cast<double>(draws), benchmark::Counter::kAvgIterations);
  state.counters["client_errors_left"] = static_cast<double>(model.FClientErrors.size());
}

const bool registered = [] {
  for (const auto& [name, set] : testing::kParameterSets) {
    benchmark::RegisterBenchmark((std::string("BM_ModelPlay/") + name).c_str(), BM_ModelPlay, set)
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
}  // namespace teravo
