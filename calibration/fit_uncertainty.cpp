#include "calibration/fit_uncertainty.h"

#include <algorithm>
#include <cmath>

#include "calibration/fit_profile.h"
#include "calibration/least_squares.h"

namespace teravo {

namespace {

using Matrix = std::vector<std::vector<double>>;

constexpr double kChiSquare95 = 3.841458820694124;  // one degree of freedom
// Steps of the design around the optimum, in shares of the search span.
constexpr double kDesignStep = 0.05;
constexpr double kNarrowestStep = 0.005;
constexpr double kWidestStep = 0.4;
constexpr int kStepAttempts = 6;
// The scale of a profile's points, in shares of the search span: the quadratic's half-width
// within these bounds, wide enough to smooth the steps, narrow enough to see the curvature.
constexpr double kNarrowestProfile = 0.02;
constexpr double kWidestProfile = 0.25;
// A direction this flat or flatter counts as bounded only ten spans away: the data say
// nothing along it, and the intervals must still be numbers.
constexpr double kFlatHalfWidth = 10;
constexpr double kStrongCorrelation = 0.9;

// Eigenvalues and eigenvectors (columns) of a small symmetric matrix, by Jacobi rotations.
std::pair<std::vector<double>, Matrix> SymmetricEigen(Matrix a) {
  const std::size_t n = a.size();
  Matrix v(n, std::vector<double>(n, 0.0));
  for (std::size_t i = 0; i < n; ++i) v[i][i] = 1;
  for (int sweep = 0; sweep < 100; ++sweep) {
    double off = 0;
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = i + 1; j < n; ++j) off += a[i][j] * a[i][j];
    }
    if (off < 1e-30) break;
    for (std::size_t p = 0; p < n; ++p) {
      for (std::size_t q = p + 1; q < n; ++q) {
        if (a[p][q] == 0) continue;
        const double theta = (a[q][q] - a[p][p]) / (2 * a[p][q]);
        const double t = (theta >= 0 ? 1 : -1) / (std::abs(theta) + std::sqrt(theta * theta + 1));
        const double c = 1 / std::sqrt(t * t + 1);
        const double s = t * c;
        for (std::size_t k = 0; k < n; ++k) {
          const double akp = a[k][p];
          const double akq = a[k][q];
          a[k][p] = c * akp - s * akq;
          a[k][q] = s * akp + c * akq;
        }
        for (std::size_t k = 0; k < n; ++k) {
          const double apk = a[p][k];
          const double aqk = a[q][k];
          a[p][k] = c * apk - s * aqk;
          a[q][k] = s * apk + c * aqk;
        }
        for (std::size_t k = 0; k < n; ++k) {
          const double vkp = v[k][p];
          const double vkq = v[k][q];
          v[k][p] = c * vkp - s * vkq;
          v[k][q] = s * vkp + c * vkq;
        }
      }
    }
  }
  std::vector<double> values;
  for (std::size_t i = 0; i < n; ++i) values.push_back(a[i][i]);
  return {values, v};
}

// The step along each coordinate at which the deviance rises by about the threshold: the
// scale of the interval, wide enough that the steps common random numbers leave in the
// deviance do not pass for curvature.
std::vector<double> AxisSteps(FitObjective& objective, const std::vector<double>& u, double centre,
                              double threshold) {
  std::vector<double> steps;
  for (std::size_t i = 0; i < u.size(); ++i) {
    double h = kDesignStep;
    for (int attempt = 0; attempt < kStepAttempts; ++attempt) {
      std::vector<double> plus = u;
      std::vector<double> minus = u;
      plus[i] += h;
      minus[i] -= h;
      const double rise = (objective.Distance(plus) + objective.Distance(minus)) / 2 - centre;
      if (rise < threshold && h < kWidestStep) {
        h *= 2;
      } else if (rise > 8 * threshold && h > kNarrowestStep) {
        h /= 2;
      } else {
        break;
      }
    }
    steps.push_back(h);
  }
  return steps;
}

// The curvature of the deviance at u in the search coordinates: a quadratic fitted by least
// squares to a grid of three steps a coordinate and two steps out on each axis. Empty when
// too few points of the design can be played.
std::optional<Matrix> Curvature(FitObjective& objective, const std::vector<double>& u,
                                double centre, double threshold) {
  const std::size_t n = u.size();
  const std::vector<double> steps = AxisSteps(objective, u, centre, threshold);
  std::vector<std::vector<double>> offsets;  // in steps
  std::vector<double> grid(n, -1);
  for (bool more = true; more;) {
    offsets.push_back(grid);
    more = false;
    for (std::size_t i = 0; i < n && !more; ++i) {
      if (grid[i] < 1) {
        grid[i] += 1;
        more = true;
      } else {
        grid[i] = -1;
      }
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    for (double side : {-2.0, 2.0}) {
      std::vector<double> axis(n, 0.0);
      axis[i] = side;
      offsets.push_back(axis);
    }
  }
  // Terms: 1, d_i, d_i^2 / 2, d_i d_j (i < j), in steps.
  const std::size_t terms = 1 + n + n + n * (n - 1) / 2;
  std::vector<std::vector<double>> rows;
  std::vector<double> values;
  for (const auto& offset : offsets) {
    std::vector<double> point = u;
    for (std::size_t i = 0; i < n; ++i) point[i] += offset[i] * steps[i];
    const double distance = objective.Distance(point);
    if (!std::isfinite(distance)) continue;
    std::vector<double> row = {1};
    for (std::size_t i = 0; i < n; ++i) row.push_back(offset[i]);
    for (std::size_t i = 0; i < n; ++i) row.push_back(offset[i] * offset[i] / 2);
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = i + 1; j < n; ++j) row.push_back(offset[i] * offset[j]);
    }
    rows.push_back(std::move(row));
    values.push_back(distance);
  }
  if (rows.size() < terms + 2) return std::nullopt;
  const auto coefficients = LeastSquares(rows, values);
  if (!coefficients) return std::nullopt;
  Matrix hessian(n, std::vector<double>(n, 0.0));
  std::size_t next = 1 + 2 * n;
  for (std::size_t i = 0; i < n; ++i) {
    hessian[i][i] = (*coefficients)[1 + n + i] / (steps[i] * steps[i]);
    for (std::size_t j = i + 1; j < n; ++j) {
      hessian[i][j] = hessian[j][i] = (*coefficients)[next++] / (steps[i] * steps[j]);
    }
  }
  return hessian;
}

// The span of an edit's search coordinate in its natural one (the logarithm or the value).
double NaturalSpan(const FittedEdit& edit) {
  return edit.IsLogScale() ? std::log(edit.high) - std::log(edit.low) : edit.high - edit.low;
}

// The interval's ends as the edit can hold them: within what it accepts, whole numbers
// outward for an integer edit.
EditInterval Bounded(const FittedEdit& fitted, double low, double high, bool identified) {
  const NumericRange& range = fitted.edit->range;
  low = std::max(low, range.low);
  high = std::min(high, range.high);
  if (fitted.IsInteger()) {
    low = std::max(std::floor(low), 1.0);
    high = std::ceil(high);
  }
  return {low, high, identified};
}

// Intervals of whole spans, told as not found for `why`.
FitUncertainty Undetermined(const std::vector<FittedEdit>& edits, FitUncertainty result,
                            std::string why) {
  result.intervals.clear();
  for (const FittedEdit& edit : edits) {
    result.intervals.push_back(Bounded(edit, edit.low, edit.high, false));
  }
  result.notes.push_back(std::move(why));
  return result;
}

}  // namespace

FitUncertainty EstimateUncertainty(FitObjective& objective, const std::vector<double>& u,
                                   double distance) {
  const std::vector<FittedEdit>& edits = objective.Edits();
  const std::size_t n = edits.size();
  FitUncertainty result;
  const double freedom = static_cast<double>(objective.Points().times.size()) - n;
  result.dispersion = freedom > 0 ? std::max(1.0, distance / freedom) : 1.0;
  const double plays = static_cast<double>(objective.Seeds().size());
  result.threshold = kChiSquare95 * result.dispersion * (1 + 1 / plays);
  result.correlation.assign(n, std::vector<double>(n, 0.0));

  std::optional<Matrix> hessian;
  try {
    hessian = Curvature(objective, u, distance, result.threshold);
  } catch (const FitInterrupted&) {
    // Told below as a surface that could not be found.
  }
  if (!hessian) {
    return Undetermined(
        edits, std::move(result),
        "Поверхность девиации около оптимума оценить не удалось: интервалы не определены.");
  }
  result.surfaceFound = true;

  // Covariance-like inverse of half the curvature, flat directions floored.
  const double c = result.threshold;
  const double floor = 2 * c / (kFlatHalfWidth * kFlatHalfWidth);
  auto [values, vectors] = SymmetricEigen(*hessian);
  Matrix inverse(n, std::vector<double>(n, 0.0));
  for (std::size_t k = 0; k < n; ++k) {
    const double lambda = std::max(values[k], floor);
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < n; ++j) inverse[i][j] += vectors[i][k] * vectors[j][k] / lambda;
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) {
      result.correlation[i][j] = inverse[i][j] / std::sqrt(inverse[i][i] * inverse[j][j]);
    }
  }
  // The quadratic's half-width only sets the scale of the profile's points: the ends come
  // from the profile, which follows a curved valley and an uneven rise that the quadratic
  // cannot.
  std::vector<ProfileBounds> profiles;
  try {
    for (std::size_t i = 0; i < n; ++i) {
      const double halfWidth = std::sqrt(2 * c * inverse[i][i]);
      profiles.push_back(ProfileEdit(objective, u, distance, i, c,
                                     std::clamp(halfWidth, kNarrowestProfile, kWidestProfile)));
    }
  } catch (const FitInterrupted&) {
    return Undetermined(edits, std::move(result),
                        "Профиль девиации прерван: интервалы не определены.");
  }
  for (std::size_t i = 0; i < n; ++i) {
    const ProfileBounds& p = profiles[i];
    // An end not reached is the span's edge itself, not its image through the coordinate.
    result.intervals.push_back(Bounded(
        edits[i], p.lowReached ? edits[i].ValueAt(p.low) : edits[i].low,
        p.highReached ? edits[i].ValueAt(p.high) : edits[i].high, p.lowReached && p.highReached));
  }

  std::vector<bool> explained(n, false);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) {
      const double r = result.correlation[i][j];
      const bool bothFixed = result.intervals[i].identified && result.intervals[j].identified;
      if (std::abs(r) < kStrongCorrelation || bothFixed) continue;
      if (!edits[i].IsLogScale() || !edits[j].IsLogScale()) continue;
      EditCombination combination{i, j, r < 0, 0, 0, 0, r};
      const double sign = combination.product ? 1 : -1;
      const double si = NaturalSpan(edits[i]);
      const double sj = NaturalSpan(edits[j]);
      const double variance =
          si * si * inverse[i][i] + sj * sj * inverse[j][j] + 2 * sign * si * sj * inverse[i][j];
      const double logEstimate =
          std::log(edits[i].ValueAt(u[i])) + sign * std::log(edits[j].ValueAt(u[j]));
      const double halfWidth = std::sqrt(2 * c * std::max(variance, 0.0));
      combination.estimate = std::exp(logEstimate);
      combination.low = std::exp(logEstimate - halfWidth);
      combination.high = std::exp(logEstimate + halfWidth);
      result.combinations.push_back(combination);
      result.notes.push_back(CombinationText(combination, edits) + ".");
      explained[i] = explained[j] = true;
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    const std::string name(edits[i].Name());
    if (!profiles[i].lowReached && !profiles[i].highReached) {
      if (!explained[i]) {
        result.notes.push_back(name +
                               " данными не определяется: профиль девиации не поднимается до "
                               "порога в пределах диапазона поиска.");
      }
    } else if (!profiles[i].lowReached || !profiles[i].highReached) {
      result.notes.push_back(name + ": " + (profiles[i].lowReached ? "верхний" : "нижний") +
                             " конец интервала — край диапазона поиска: до него профиль "
                             "девиации не поднимается до порога.");
    }
  }
  return result;
}

int DesignEvaluations(std::size_t edits) {
  int grid = 1;
  for (std::size_t i = 0; i < edits; ++i) grid *= 3;
  const int n = static_cast<int>(edits);
  return n * (2 * kStepAttempts + 2) + grid + n * ProfileEvaluations(edits);
}

std::string CombinationText(const EditCombination& combination,
                            const std::vector<FittedEdit>& edits) {
  const std::string first(edits[combination.first].Name());
  const std::string second(edits[combination.second].Name());
  return combination.product ? "данные определяют только произведение " + first + " × " + second
                             : "данные определяют только отношение " + first + " / " + second;
}

}  // namespace teravo
