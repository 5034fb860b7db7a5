#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace teravo {

struct StaffingQuestion {
  double by = 0;  // days from the start
  std::int32_t fewest = 1;
  std::int32_t most = 10;
  // Counts played in the search; the two fresh re-checks come on top.
  int maxEvaluations = 12;
};

// One count of programmers played: how many of its plays reached the target by the date.
struct StaffingTrial {
  std::int32_t programmers = 0;
  std::int32_t plays = 0;
  std::int32_t reached = 0;
  bool freshSeeds = false;  // a re-check, on seeds the search did not use
  double Share() const { return plays > 0 ? static_cast<double>(reached) / plays : 0; }
};

enum class StaffingStatus {
  Found,        // the smallest count in the range that reaches the probability
  NotReached,   // even the most programmers do not
  BudgetSpent,  // the search ran out of evaluations: the answer reaches it, a smaller may too
  Stopped,      // stopped before an answer
};

struct Staffing {
  StaffingStatus status = StaffingStatus::Stopped;
  std::optional<std::int32_t> answer;
  std::vector<StaffingTrial> trials;          // in the order played, the re-checks last
  std::optional<StaffingTrial> recheck;       // the answer on fresh seeds
  std::optional<StaffingTrial> recheckBelow;  // one programmer fewer on fresh seeds
  // The re-checks agree: the answer reaches the probability on fresh seeds, one fewer does not.
  bool Confirmed(double probability) const;
};

// Plays `programmers` on `seeds` and tells how many of them reached the target by the date;
// none when stopped before the plays all ran.
using StaffingPlays =
    std::function<std::optional<std::int32_t>(std::int32_t programmers, bool freshSeeds)>;

// The smallest count of programmers in [fewest, most] whose plays reach the target by the
// date with a share of at least `probability`. Every count is played on the same seeds, so
// that counts differ by the programmers only, and the search bisects on the assumption that
// more programmers never reach it later. The answer and one fewer are then played again on
// fresh seeds. `plays` gives the plays of every count; `known` holds counts already played on
// the common seeds.
Staffing FindStaffing(const StaffingQuestion& question, double probability, std::int32_t plays,
                      const StaffingPlays& play, std::span<const StaffingTrial> known = {});

}  // namespace teravo
