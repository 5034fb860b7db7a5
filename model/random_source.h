#pragma once

#include <cstdint>

namespace teravo {

// The model's 32-bit linear congruential generator. Every draw of a play goes through one
// instance owned by the model, in the order the play makes them, so a seed fixes a play.
class RandomSource {
 public:
  std::uint32_t Seed = 0;

  // Seed := Seed * 134775813 + 1 (mod 2^32); returns the new Seed * 2^-32, in [0, 1).
  // Inline: a play makes millions of these, most of them one comparison away from use.
  double RandomUniform() {
    Seed = Next(Seed);
    ++Draws;
    return Uniform(Seed);
  }
  // The steps of RandomUniform, for a caller that keeps the seed in hand.
  static std::uint32_t Next(std::uint32_t seed) { return seed * 134775813u + 1u; }
  static double Uniform(std::uint32_t seed) { return static_cast<double>(seed) * 0x1p-32; }

  // Polar method: u then v from 2*RandomUniform()-1 until u^2+v^2 < 1; returns
  // sqrt(-2 ln s / s) * u * spread + mean, evaluated in extended precision.
  double RandomGauss(long double mean, long double spread);

  // One draw; true when the draw is <= p.
  bool Chance(double p) { return RandomUniform() <= p; }

  // Number of RandomUniform draws made since construction (for benchmarks and tests).
  std::uint64_t Draws = 0;
  // Number of RandomGauss draws among them, each counted once however many uniforms it took.
  std::uint64_t GaussDraws = 0;
};

}  // namespace teravo
