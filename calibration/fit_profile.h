#pragma once

#include <cstddef>
#include <vector>

#include "calibration/fit_objective.h"

namespace teravo {

// Where the profile of one edit's deviance rises by the threshold on each side of the best
// point, in the search coordinate. A side whose profile stays below the threshold up to the
// edge of the span searched ends there, unreached: the data do not bound it within the span.
struct ProfileBounds {
  double low = 0;
  double high = 1;
  bool lowReached = false;
  bool highReached = false;
};

// The profile of edit `edit`: the edit held at points on each side of the best point u (at
// 0.5, 1, 1.5 and 2 times `scale` in the search coordinate), the other edits re-fitted at
// each by a short bounded search on the same seeds. Common random numbers leave steps in the
// deviance as large as the threshold (a whole error more or less replays every play), so the
// ends are not where single points first pass the threshold: a quadratic with its own
// curvature on each side is fitted to the profile by least squares, and the ends are where
// it rises by `threshold` above its least value. A side whose end lies past the points is
// walked on, a scale at a time, while points and span remain.
ProfileBounds ProfileEdit(FitObjective& objective, const std::vector<double>& u, double distance,
                          std::size_t edit, double threshold, double scale);

// The most evaluations ProfileEdit plays for one edit of so many.
int ProfileEvaluations(std::size_t edits);

}  // namespace teravo
