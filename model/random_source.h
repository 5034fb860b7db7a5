#pragma once

#include <cstdint>

namespace teravo {

// The model's 32-bit linear congruential generator. Every draw of a play goes through one
// instance owned by the model, in the order the play makes them, so a seed fixes a play.
class RandomSource {
 public:
  std::uint32_t Seed = 0;

  // Seed := Seed * 134775813 + 1 (mod 2^32); returns the new Seed * 2^-32, in [0, 1).
  double RandomUniform();

  // Polar method: u then v from 2*RandomUniform()-1 until u^2+v^2 < 1; returns
  // sqrt(-2 ln s / s) * u * spread + mean, evaluated in extended precision.
  double RandomGauss(long double mean, long double spread);

  // One draw; true when the draw is <= p.
  bool Chance(double p);

  // Number of RandomUniform draws made since construction (for benchmarks and tests).
  std::uint64_t Draws = 0;
};

}  // namespace teravo
