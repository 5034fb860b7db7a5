#pragma once

#include <algorithm>

#include "model/parameters.h"

namespace teravo::testing {

// The most a generated parameter set may ask of one play, so that it plays in milliseconds:
// what a play's work and memory grow with is bounded, the rest of the set stays as accepted.
struct SizeBounds {
  int clients;
  int programmers;
  int errors;
  int steps;
  int serverErrors;  // at the start, about
  double newErrorProbability;
  double newErrorsPerStep;  // by intensity: FY_newErr × FDT
};

// New-error chains stay about one error long, not millions: every busy programmer may start
// one in every step.
inline void ClampSize(TParameters& p, const SizeBounds& bounds) {
  p.FClientsNum = std::min(p.FClientsNum, bounds.clients);
  p.FProgrammersNum = std::min(p.FProgrammersNum, bounds.programmers);
  p.FErrorsNum0 = std::min(p.FErrorsNum0, bounds.errors);
  p.FM = std::min(p.FM, bounds.steps);
  if (static_cast<long double>(p.FErrorsNum0) * p.FCoeffComplexity / 10 > bounds.serverErrors) {
    p.FCoeffComplexity = 10.0 * bounds.serverErrors / p.FErrorsNum0;
  }
  if (p.FByProbability) {
    p.FP_newErr = std::min(p.FP_newErr, bounds.newErrorProbability);
  } else if (static_cast<long double>(p.FY_newErr) * p.FDT > bounds.newErrorsPerStep) {
    p.FY_newErr = bounds.newErrorsPerStep / p.FDT;
  }
}

}  // namespace teravo::testing
