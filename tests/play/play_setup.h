#pragma once

#include <cstdint>
#include <memory>

#include "model/teravo.h"

namespace teravo::testing {

// The settings dialog's defaults as an accepted parameter set, with a short play and a
// fixed first seed so that every run of a test plays the same.
inline void SetDefaults(TTeravo& m, std::int32_t iterations = 100, std::uint32_t seed = 12345) {
  m.FClientsNum = 100;
  m.FProgrammersNum = 3;
  m.FA = 0.0001;
  m.FErrorsNum0 = 100;
  m.FCoeffComplexity = 2;
  m.FYk = 100;
  m.FMu = 0.5;
  m.FDT = 0.001;
  m.FP_newErr = 0;
  m.FY_newErr = 0.01;
  m.FByProbability = true;
  m.FM = iterations;
  m.FK = 10;
  m.FPlayCount = 0;
  m.FShowProgress = true;
  m.SetSeedSource(std::make_unique<FixedSeedSource>(seed));
}

}  // namespace teravo::testing
