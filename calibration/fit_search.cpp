#include "calibration/fit_search.h"

#include <algorithm>
#include <cmath>
#include <nlopt.hpp>
#include <utility>

namespace teravo {

namespace {

// Refused sets get a large finite distance: subplex compares, it never differences them.
constexpr double kRefusedDistance = 1e300;

constexpr int kPrimes[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43, 47, 53};

double RadicalInverse(int index, int base) {
  double result = 0;
  double scale = 1.0 / base;
  for (; index > 0; index /= base, scale /= base) result += (index % base) * scale;
  return result;
}

// The best point seen by any evaluation, whatever ended the search.
class Tracked {
 public:
  explicit Tracked(FitObjective& objective) : objective_(objective) {}

  double operator()(const std::vector<double>& u) {
    try {
      const double distance = objective_.Distance(u);
      if (best_.u.empty() || distance < best_.distance) best_ = {u, distance, {}};
      return std::isfinite(distance) ? distance : kRefusedDistance;
    } catch (const FitInterrupted&) {
      interrupted_ = true;
      throw nlopt::forced_stop();
    }
  }

  bool Interrupted() const { return interrupted_; }
  SearchResult& Best() { return best_; }

 private:
  FitObjective& objective_;
  SearchResult best_;
  bool interrupted_ = false;
};

// True when the search ended by its tolerance.
bool LocalSearch(Tracked& tracked, std::vector<double> u, double tolerance) {
  const auto n = static_cast<unsigned>(u.size());
  nlopt::opt opt(nlopt::LN_SBPLX, n);
  opt.set_lower_bounds(std::vector<double>(n, 0.0));
  opt.set_upper_bounds(std::vector<double>(n, 1.0));
  opt.set_min_objective(
      [](unsigned dims, const double* x, double*, void* data) {
        return (*static_cast<Tracked*>(data))(std::vector<double>(x, x + dims));
      },
      &tracked);
  opt.set_xtol_abs(tolerance);
  opt.set_initial_step(std::vector<double>(n, 0.1));
  double value = 0;
  try {
    const nlopt::result code = opt.optimize(u, value);
    return code == nlopt::XTOL_REACHED || code == nlopt::FTOL_REACHED || code == nlopt::SUCCESS;
  } catch (const nlopt::roundoff_limited&) {
    return true;  // the steps of the distance limit progress: as good as it gets
  } catch (const nlopt::forced_stop&) {
    return false;
  }
}

}  // namespace

std::vector<std::vector<double>> StartPoints(std::size_t dimensions, int count) {
  std::vector<std::vector<double>> points{std::vector<double>(dimensions, 0.5)};
  for (int index = 1; static_cast<int>(points.size()) < count; ++index) {
    std::vector<double> point;
    for (std::size_t d = 0; d < dimensions; ++d) {
      point.push_back(RadicalInverse(index, kPrimes[d % std::size(kPrimes)]));
    }
    points.push_back(std::move(point));
  }
  return points;
}

SearchResult SearchBest(FitObjective& objective, const SearchSettings& settings) {
  const std::size_t n = objective.Edits().size();
  const int count = settings.starts > 0 ? settings.starts : std::max(9, 4 * static_cast<int>(n));
  Tracked tracked(objective);
  std::vector<std::pair<double, std::vector<double>>> starts;
  bool converged = true;
  try {
    for (const auto& u : StartPoints(n, count)) starts.emplace_back(tracked(u), u);
    std::stable_sort(starts.begin(), starts.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (int k = 0; k < settings.localSearches && k < static_cast<int>(starts.size()); ++k) {
      if (starts[static_cast<std::size_t>(k)].first >= kRefusedDistance) break;
      converged =
          LocalSearch(tracked, starts[static_cast<std::size_t>(k)].second, settings.tolerance) &&
          converged;
      if (tracked.Interrupted()) break;
    }
  } catch (const nlopt::forced_stop&) {
    // An interruption among the starts: the best start is the result.
  }
  SearchResult result = std::move(tracked.Best());
  if (objective.Stopped()) {
    result.status = SearchStatus::Stopped;
  } else if (tracked.Interrupted() || !converged) {
    result.status = SearchStatus::NotConverged;
  }
  return result;
}

}  // namespace teravo
