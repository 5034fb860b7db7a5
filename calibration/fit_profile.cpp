#include "calibration/fit_profile.h"

#include <algorithm>
#include <cmath>
#include <nlopt.hpp>
#include <optional>
#include <utility>

#include "calibration/least_squares.h"

namespace teravo {

namespace {

// The points of each side, in shares of the scale, before any walk past them.
constexpr double kGrid[] = {0.5, 1.0, 1.5, 2.0};
constexpr int kProfilePoints = 7;      // a side, at most
constexpr int kRefitEvaluations = 14;  // a point, for the other edits
constexpr double kRefitStep = 0.05;    // the first step of the re-fit, in shares of the span
constexpr double kRefitTolerance = 2e-3;

struct Refit {
  std::vector<double> u;
  double distance = 0;
};

// The best of the other edits with edit `held` fixed at start[held], by a short bounded
// subplex search from `start`, robust to the steps common random numbers leave.
Refit RefitOthers(FitObjective& objective, const std::vector<double>& start, std::size_t held) {
  Refit best{start, objective.Distance(start)};
  const std::size_t n = start.size();
  if (n == 1) return best;
  struct Context {
    FitObjective& objective;
    std::size_t held;
    Refit& best;
    bool interrupted = false;
  } context{objective, held, best};
  std::vector<double> free;
  for (std::size_t j = 0; j < n; ++j) {
    if (j != held) free.push_back(start[j]);
  }
  nlopt::opt opt(nlopt::LN_SBPLX, static_cast<unsigned>(free.size()));
  opt.set_lower_bounds(std::vector<double>(free.size(), 0.0));
  opt.set_upper_bounds(std::vector<double>(free.size(), 1.0));
  opt.set_min_objective(
      [](unsigned, const double* x, double*, void* data) {
        auto& c = *static_cast<Context*>(data);
        std::vector<double> u = c.best.u;
        for (std::size_t j = 0, k = 0; j < u.size(); ++j) {
          if (j != c.held) u[j] = x[k++];
        }
        try {
          const double distance = c.objective.Distance(u);
          if (distance < c.best.distance) c.best = {u, distance};
          return std::isfinite(distance) ? distance : 1e300;
        } catch (const FitInterrupted&) {
          c.interrupted = true;
          throw nlopt::forced_stop();
        }
      },
      &context);
  opt.set_xtol_abs(kRefitTolerance);
  opt.set_initial_step(std::vector<double>(free.size(), kRefitStep));
  opt.set_maxeval(kRefitEvaluations);
  double value = 0;
  try {
    opt.optimize(free, value);
  } catch (const nlopt::roundoff_limited&) {
    // The steps of the distance limit progress: the best point seen stands.
  } catch (const nlopt::forced_stop&) {
    // Told below.
  }
  if (context.interrupted) throw FitInterrupted{};
  return best;
}

// The profile along one side (direction +1 or -1) of the best point, walked outward: each
// re-fit starts where the last one ended, moved along the drift seen so far.
class ProfileWalk {
 public:
  ProfileWalk(FitObjective& objective, const std::vector<double>& u, std::size_t edit,
              double direction)
      : objective_(objective),
        edit_(edit),
        direction_(direction),
        centre_(u[edit]),
        point_(u),
        drift_(u.size(), 0.0) {}

  // How far the span lets the walk go.
  double Room() const { return direction_ > 0 ? 1 - centre_ : centre_; }
  double Last() const { return last_; }

  // The profile's distance at t (past the last point) from the best point.
  double At(double t) {
    std::vector<double> start = point_;
    for (std::size_t j = 0; j < start.size(); ++j) {
      start[j] = std::clamp(point_[j] + drift_[j] * (t - last_), 0.0, 1.0);
    }
    start[edit_] = centre_ + direction_ * t;
    const Refit refit = RefitOthers(objective_, start, edit_);
    for (std::size_t j = 0; j < start.size(); ++j) {
      drift_[j] = (refit.u[j] - point_[j]) / (t - last_);
    }
    point_ = refit.u;
    last_ = t;
    return refit.distance;
  }

 private:
  FitObjective& objective_;
  std::size_t edit_;
  double direction_;
  double centre_;
  std::vector<double> point_;
  std::vector<double> drift_;  // of the re-fitted edits, per unit moved
  double last_ = 0;
};

struct ProfilePoint {
  double t = 0;  // signed, from the best point
  double distance = 0;
};

// The profile smoothed by least squares: a + b t + c t^2 with its own c on each side, so the
// rise may be uneven. A side with fewer than two points has no curvature (zero).
struct SmoothProfile {
  double a = 0;
  double b = 0;
  double curvature[2] = {0, 0};  // below, above

  double At(double t) const { return a + b * t + curvature[t > 0 ? 1 : 0] * t * t; }

  // Where the smooth profile rises by `threshold` above its least value on the side of
  // `direction`, as a distance from the best point; none when it does not rise there.
  std::optional<double> Crossing(double direction, double threshold) const {
    double least = a;
    for (int side = 0; side < 2; ++side) {
      const double c = curvature[side];
      const double vertex = c > 0 ? -b / (2 * c) : 0;
      if ((vertex > 0) == (side == 1)) least = std::min(least, At(vertex));
    }
    const double c = curvature[direction > 0 ? 1 : 0];
    if (c <= 0) return std::nullopt;
    const double rise = least + threshold - a;
    const double discriminant = b * b + 4 * c * rise;
    if (discriminant <= 0) return 0.0;
    return std::max((-direction * b + std::sqrt(discriminant)) / (2 * c), 0.0);
  }
};

std::optional<SmoothProfile> Smooth(const std::vector<ProfilePoint>& points) {
  int counts[2] = {0, 0};
  for (const ProfilePoint& p : points) {
    if (p.t != 0 && std::isfinite(p.distance)) ++counts[p.t > 0 ? 1 : 0];
  }
  std::vector<std::vector<double>> rows;
  std::vector<double> values;
  for (const ProfilePoint& p : points) {
    if (!std::isfinite(p.distance)) continue;
    std::vector<double> row = {1, p.t};
    for (int side = 0; side < 2; ++side) {
      if (counts[side] >= 2) row.push_back(p.t != 0 && (p.t > 0) == (side == 1) ? p.t * p.t : 0);
    }
    rows.push_back(std::move(row));
    values.push_back(p.distance);
  }
  if (rows.size() < 4) return std::nullopt;
  const auto coefficients = LeastSquares(rows, values);
  if (!coefficients) return std::nullopt;
  SmoothProfile smooth{(*coefficients)[0], (*coefficients)[1], {0, 0}};
  std::size_t next = 2;
  for (int side = 0; side < 2; ++side) {
    if (counts[side] >= 2) smooth.curvature[side] = (*coefficients)[next++];
  }
  return smooth;
}

}  // namespace

ProfileBounds ProfileEdit(FitObjective& objective, const std::vector<double>& u, double distance,
                          std::size_t edit, double threshold, double scale) {
  ProfileWalk walks[2] = {{objective, u, edit, -1}, {objective, u, edit, 1}};
  std::vector<ProfilePoint> points = {{0, distance}};
  int taken[2] = {0, 0};
  // Adds the next point on a side; false when the side has no room or points left.
  auto extend = [&](int side, double t) {
    ProfileWalk& walk = walks[side];
    if (taken[side] >= kProfilePoints || walk.Last() >= walk.Room()) return false;
    t = std::min(t, walk.Room());
    points.push_back({side == 1 ? t : -t, walk.At(t)});
    ++taken[side];
    return true;
  };
  for (int side = 0; side < 2; ++side) {
    for (double share : kGrid) extend(side, share * scale);
  }
  ProfileBounds bounds;
  for (bool more = true; more;) {
    more = false;
    const auto smooth = Smooth(points);
    for (int side = 0; side < 2; ++side) {
      const double direction = side == 1 ? 1 : -1;
      const auto crossing = smooth ? smooth->Crossing(direction, threshold) : std::nullopt;
      // A crossing past the points walked is an extrapolation: walk on towards it.
      if ((!crossing || *crossing > walks[side].Last()) &&
          extend(side, walks[side].Last() + scale)) {
        more = true;
      }
      const bool reached = crossing && *crossing <= walks[side].Room();
      const double end = reached ? u[edit] + direction * *crossing : (side == 1 ? 1.0 : 0.0);
      (side == 1 ? bounds.high : bounds.low) = end;
      (side == 1 ? bounds.highReached : bounds.lowReached) = reached;
    }
  }
  return bounds;
}

int ProfileEvaluations(std::size_t edits) {
  return 2 * kProfilePoints * (1 + (edits > 1 ? kRefitEvaluations : 0));
}

}  // namespace teravo
