#pragma once

#include <array>
#include <cstdint>
#include <utility>

#include "model/teravo.h"

namespace teravo::testing {

// The parameter sets tests and benchmarks play, each given as the texts of the settings edits
// that differ from the dialog's defaults and stored as an acceptance would store them.

// The dialog's defaults: the server is down for most of a play.
void SetDefaults(TTeravo& m);
// One server error only: the server stays up and clients keep sending requests.
void SetServerUp(TTeravo& m);
// About 95 requests a step, each searching 1000 client errors.
void SetLarge(TTeravo& m);

// The sets under the names the benchmarks report them by.
// The seed the benchmarks play every set from, so that their figures compare across runs.
inline constexpr std::uint32_t kBenchmarkSeed = 20240301;

inline constexpr std::array<std::pair<const char*, void (*)(TTeravo&)>, 3> kParameterSets{{
    {"defaults", SetDefaults},
    {"server-up", SetServerUp},
    {"large", SetLarge},
}};

// The defaults with a short play and a fixed first seed, so that every run of a test plays
// the same.
void PrepareDefaultPlay(TTeravo& m, std::int32_t iterations = 100, std::uint32_t seed = 12345);

}  // namespace teravo::testing
