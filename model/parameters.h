#pragma once

#include <cstddef>
#include <cstdint>

namespace teravo {

// The parameters a play reads: what the settings dialog accepts into the model. A plain
// value, so a parameter set can be copied, stored and compared as a whole.
struct TParameters {
  std::int32_t FClientsNum = 0;
  std::int32_t FProgrammersNum = 0;
  double FA = 0;  // share of the common data area one request touches
  std::int32_t FErrorsNum0 = 0;
  double FCoeffComplexity = 0;
  double FYk = 0;  // 1/day
  double FMu = 0;  // 1/day
  double FDT = 0;  // days
  double FP_newErr = 0;
  double FY_newErr = 0;  // 1/day
  bool FByProbability = false;
  std::int32_t FM = 0;
  std::int32_t FK = 0;

  bool operator==(const TParameters&) const = default;
};

// A play may build at most this many server errors; more would not fit in memory (and every
// request would have to search them all).
inline constexpr long double kMaxServerErrors = 10'000'000;

// The probability of the first new error of one correction, in extended precision: FP_newErr,
// or 1 - exp(-FY_newErr * FDT) when new errors come by intensity.
long double FirstNewErrorProbability(const TParameters& p);

// An error list of a play may hold at most this many errors; a play whose new errors would
// grow past it is stopped.
inline constexpr std::size_t kMaxErrorsInList = 10'000'000;

// Why a parameter set must not be played, although acceptance may leave it.
enum class Harm {
  None,
  NoComplexity,         // FCoeffComplexity == 0: the server fix would divide by zero
  TooManyServerErrors,  // more than kMaxServerErrors server errors at the start
  EndlessNewErrors,     // a new-error chain that never ends, or practically never: its
                        // first chance is so close to 1 that one correction's chain alone
                        // would be longer than an error list can hold
};
Harm HarmOf(const TParameters& p);
inline bool IsHarmful(const TParameters& p) {
  return HarmOf(p) != Harm::None;
}

// True when every parameter a play reads lies in the range acceptance allows, and the set is
// not harmful.
bool IsUsable(const TParameters& p);

}  // namespace teravo
