#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "play/series_curves.h"

namespace teravo {

// The quantity an analyst's target is set on, each read from one curve of the plays.
enum class TargetQuantity {
  Availability,      // Kg >= x
  FailureIntensity,  // failures per day of server work <= y
  ClientErrors,      // errors left in the clients <= z
  WorkingClients,    // working clients >= w
  Failures,          // failures so far >= n
};

// When a play counts as having reached its target.
enum class TargetHolding {
  FromThenOn,  // the first time after which the target holds to the end of the play
  FirstReach,  // the first time the target holds at all
};

struct Target {
  TargetQuantity quantity = TargetQuantity::Availability;
  double threshold = 0.95;
  TargetHolding holding = TargetHolding::FromThenOn;
};

Curve CurveOf(TargetQuantity quantity);
// Availability, working clients and failures are to reach at least the threshold; the
// intensity and the client errors are to fall to at most it.
bool NeedsAtLeast(TargetQuantity quantity);
bool Meets(const Target& target, double value);

// The key the runner and its documents name a quantity by: "Kg", "intensity",
// "client_errors", "working", "failures".
std::string_view QuantityKey(TargetQuantity quantity);

// "Kg>=0.95", "intensity<=0.5", "client_errors<=3", "working>=95", "failures>=40", the
// number with `separator`. The target holds from then on. What is wrong, as a text, otherwise.
std::variant<Target, std::string> ParseTarget(std::string_view text, char separator);

// The target in the window's words: "Kг ≥ 0,95", "интенсивность отказов ≤ 0,5" …
std::string TargetText(const Target& target, char separator);
// "держится до конца розыгрыша" or "достигнута впервые".
std::string_view HoldingText(TargetHolding holding);

}  // namespace teravo
