#pragma once

#include <cstdint>
#include <memory>

#include "bench/parameter_sets.h"
#include "model/teravo.h"

namespace teravo::testing {

// The settings dialog's defaults as an accepted parameter set, with a short play and a
// fixed first seed so that every run of a test plays the same.
inline void SetDefaults(TTeravo& m, std::int32_t iterations = 100, std::uint32_t seed = 12345) {
  bench::SetDefaults(m);
  m.FM = iterations;
  m.FPlayCount = 0;
  m.FShowProgress = true;
  m.SetSeedSource(std::make_unique<FixedSeedSource>(seed));
}

}  // namespace teravo::testing
