#include "model/random_source.h"

#include <cmath>

#include "core/rounding.h"

namespace teravo {

double RandomSource::RandomGauss(long double mean, long double spread) {
  ++GaussDraws;
  long double u;
  long double s;
  do {
    // u must be drawn before v: the order of draws is part of what a seed reproduces.
    u = 2.0L * RandomUniform() - 1.0L;
    const long double v = 2.0L * RandomUniform() - 1.0L;
    s = u * u + v * v;
  } while (s >= 1.0L);
  // s > 0 always: u and v are multiples of 2^-31 and cannot both be 0 in consecutive draws.
  return RoundToDouble(std::sqrt(-2.0L * std::log(s) / s) * u * spread + mean);
}

}  // namespace teravo
