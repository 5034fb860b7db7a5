#include "model/parameters.h"

#include <cmath>

#include "core/rounding.h"

namespace teravo {

long double FirstNewErrorProbability(const TParameters& p) {
  if (p.FByProbability) return p.FP_newErr;
  return 1.0L - std::exp(-(static_cast<long double>(p.FY_newErr) * p.FDT));
}

Harm HarmOf(const TParameters& p) {
  if (p.FCoeffComplexity == 0) return Harm::NoComplexity;
  // Acceptance puts no upper bound on the complexity: a huge one would have a play build
  // more server errors than memory holds.
  if (static_cast<long double>(p.FErrorsNum0) * p.FCoeffComplexity / 10 >= kMaxServerErrors) {
    return Harm::TooManyServerErrors;
  }
  if (p.FByProbability && p.FP_newErr >= 1) return Harm::EndlessNewErrors;
  // A chain goes on with the chances q, q^2, q^3 ... of its first chance q (in either mode),
  // so it is about sqrt(2 / (1 - q)) errors long: past the list's limit when 1 - q is tiny.
  const long double q = FirstNewErrorProbability(p);
  const double stored = ToDouble(q);
  if (stored == 1.0) return Harm::EndlessNewErrors;
  const long double longest = static_cast<long double>(kMaxErrorsInList);
  if (q > 0 && 2 / (1 - q) >= longest * longest) return Harm::EndlessNewErrors;
  return Harm::None;
}

bool IsUsable(const TParameters& p) {
  const bool newErrorsUsable =
      p.FByProbability ? (p.FP_newErr >= 0 && p.FP_newErr < 1) : p.FY_newErr >= 0;
  return p.FClientsNum > 0 && p.FProgrammersNum > 0 && p.FA > 0 && p.FA < 1 && p.FErrorsNum0 > 0 &&
         p.FCoeffComplexity > 0 && p.FYk > 0 && p.FMu > 0 && p.FDT > 0 && p.FM > 0 &&
         newErrorsUsable && !IsHarmful(p);
}

}  // namespace teravo
