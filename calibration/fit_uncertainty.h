#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calibration/fit_objective.h"

namespace teravo {

// The name the output gives the interval method below.
inline constexpr const char* kDevianceIntervalMethod =
    "профиль девиации: каждое поле закреплено на сетке значений, остальные подобраны заново "
    "на тех же розыгрышах (χ², 1 ст. св., с поправкой на избыточную дисперсию и на шум K "
    "розыгрышей)";

// A 95 % interval of one fitted edit.
struct EditInterval {
  double low = 0;
  double high = 0;
  // The data fix the edit: its profile rises past the threshold within the search span on
  // either side. An end the profile does not reach is the span's edge (a note says so); an
  // edit the data do not fix must not be read as a number.
  bool identified = false;
};

// Two edits the data fix only together, as a product (their logarithms move against each
// other along the flat direction) or as a ratio.
struct EditCombination {
  std::size_t first = 0;
  std::size_t second = 0;
  bool product = true;
  double estimate = 0;
  double low = 0;
  double high = 0;
  double correlation = 0;
};

struct FitUncertainty {
  std::vector<EditInterval> intervals;
  // Of the search coordinates (logarithms for log-scale edits), from the inverted curvature.
  std::vector<std::vector<double>> correlation;
  std::vector<EditCombination> combinations;
  double dispersion = 1;           // deviance per degree of freedom, at least 1
  double threshold = 0;            // the rise of the deviance that bounds the 95 % intervals
  bool surfaceFound = false;       // the design around the optimum could be played
  std::vector<std::string> notes;  // in Russian, for the user
};

// Plays a small design around the best point u (on each coordinate first the step at which
// the deviance rises by about the threshold, then a grid of three such steps a coordinate and
// two steps out on each axis) and reads the curvature of the deviance from a quadratic fitted
// to it by least squares: the correlations, the combinations of edits the data fix only
// together, and the first step of each edit's profile. The intervals come from the profiles
// (ProfileEdit): a rise of the profile is read as χ² with one degree of freedom, scaled by
// the dispersion and by 1 + 1/K for the noise of the simulated mean. A direction along which
// the deviance does not rise (a curvature near zero or below it) is flat.
FitUncertainty EstimateUncertainty(FitObjective& objective, const std::vector<double>& u,
                                   double distance);

// The most evaluations EstimateUncertainty plays for so many edits.
int DesignEvaluations(std::size_t edits);

// "данные определяют только произведение edErrorsNum0 × edA".
std::string CombinationText(const EditCombination& combination,
                            const std::vector<FittedEdit>& edits);

}  // namespace teravo
