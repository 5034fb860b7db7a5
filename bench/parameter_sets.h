#pragma once

#include <array>
#include <utility>

#include "model/teravo.h"

namespace teravo::bench {

// The settings dialog's defaults, as an accepted parameter set: the server is down for most
// of a play.
inline void SetDefaults(TTeravo& m) {
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
  m.FM = 10000;
  m.FK = 10;
  m.FShowProgress = true;
}

// One server error only: the server stays up and clients keep sending requests.
inline void SetServerUp(TTeravo& m) {
  SetDefaults(m);
  m.FCoeffComplexity = 0.01;
}

// About 95 requests a step, each searching 1000 client errors.
inline void SetLarge(TTeravo& m) {
  SetDefaults(m);
  m.FClientsNum = 1000;
  m.FProgrammersNum = 10;
  m.FA = 0.000001;
  m.FErrorsNum0 = 1000;
  m.FCoeffComplexity = 0.01;
}

// The sets under the names the benchmarks report them by.
inline constexpr std::array<std::pair<const char*, void (*)(TTeravo&)>, 3> kParameterSets{{
    {"defaults", SetDefaults},
    {"server-up", SetServerUp},
    {"large", SetLarge},
}};

}  // namespace teravo::bench
