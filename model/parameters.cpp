#include "model/parameters.h"

#include <cmath>

#include "core/rounding.h"

namespace teravo {

long double FirstNewErrorProbability(const TParameters& p) {
  if (p.FByProbability) return p.FP_newErr;
  return 1.0L - std::exp(-(static_cast<long double>(p.FY_newErr) * p.FDT));
}

bool IsHarmful(const TParameters& p) {
  if (p.FCoeffComplexity == 0) return true;
  // Acceptance puts no upper bound on the complexity: a huge one would have a play build
  // more server errors than memory holds.
  if (static_cast<long double>(p.FErrorsNum0) * p.FCoeffComplexity / 10 >= kMaxServerErrors) {
    return true;
  }
  if (p.FByProbability) return p.FP_newErr >= 1;
  return ToDouble(FirstNewErrorProbability(p)) == 1.0;
}

bool IsUsable(const TParameters& p) {
  const bool newErrorsUsable =
      p.FByProbability ? (p.FP_newErr >= 0 && p.FP_newErr < 1) : p.FY_newErr >= 0;
  return p.FClientsNum > 0 && p.FProgrammersNum > 0 && p.FA > 0 && p.FA < 1 && p.FErrorsNum0 > 0 &&
         p.FCoeffComplexity > 0 && p.FYk > 0 && p.FMu > 0 && p.FDT > 0 && p.FM > 0 &&
         newErrorsUsable && !IsHarmful(p);
}

}  // namespace teravo
