#include "reliability/model_fit.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <limits>
#include <nlopt.hpp>

#include "reliability/model_shape.h"

namespace teravo {
namespace {

constexpr double kNormalQuantile975 = 1.959963984540054;
// What the search returns for shapes whose likelihood is not finite: finite, so that the
// quadratic models of BOBYQA stay finite too.
constexpr double kImpossible = -1e100;

// The search runs over u = ln of the dimensionless shape: b T (Weibull: b T^c) and ln c,
// within bounds that cover every shape data of any time scale can support.
struct SearchBox {
  std::vector<double> lower;
  std::vector<double> upper;
};

SearchBox BoxFor(GrowthModel model) {
  const double scale_high = model == GrowthModel::MusaOkumoto ? 1e9 : 1e3;
  SearchBox box{{std::log(1e-6)}, {std::log(scale_high)}};
  if (model == GrowthModel::Weibull) {
    box.lower.push_back(std::log(0.05));
    box.upper.push_back(std::log(20.0));
  }
  return box;
}

std::array<double, 2> ShapeAt(GrowthModel model, const double* u, double end) {
  if (model == GrowthModel::Weibull) {
    const double c = std::exp(u[1]);
    return {std::exp(u[0]) / std::pow(end, c), c};
  }
  return {std::exp(u[0]) / end, 0};
}

class ProfileLikelihood {
 public:
  ProfileLikelihood(GrowthModel model, const FailureData& data, double end)
      : model_(model), data_(data), end_(end) {}

  double operator()(const double* u) {
    ++evaluations_;
    const auto phi = ShapeAt(model_, u, end_);
    const double a = ProfiledScale(model_, phi, data_, end_);
    if (!std::isfinite(a) || !(a > 0)) return kImpossible;
    const double value = ShapeLogLikelihood(model_, {a, phi}, data_, end_);
    return std::isfinite(value) ? value : kImpossible;
  }

  ShapeForm FormAt(const double* u) const {
    const auto phi = ShapeAt(model_, u, end_);
    return {ProfiledScale(model_, phi, data_, end_), phi};
  }

  int evaluations() const { return evaluations_; }

 private:
  GrowthModel model_;
  const FailureData& data_;
  double end_;
  int evaluations_ = 0;
};

// The grid points with the highest likelihood: the starts of the local searches.
std::vector<std::vector<double>> BestGridPoints(ProfileLikelihood& likelihood, const SearchBox& box,
                                                std::size_t keep) {
  const std::size_t dims = box.lower.size();
  const int steps0 = dims == 1 ? 31 : 19;
  const int steps1 = dims == 1 ? 1 : 11;
  std::vector<std::pair<double, std::vector<double>>> points;
  for (int i = 0; i < steps0; ++i) {
    for (int j = 0; j < steps1; ++j) {
      std::vector<double> u(dims);
      u[0] = box.lower[0] + (box.upper[0] - box.lower[0]) * (i + 0.5) / steps0;
      if (dims == 2) u[1] = box.lower[1] + (box.upper[1] - box.lower[1]) * (j + 0.5) / steps1;
      points.emplace_back(likelihood(u.data()), u);
    }
  }
  std::partial_sort(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(keep),
                    points.end(), [](const auto& x, const auto& y) { return x.first > y.first; });
  std::vector<std::vector<double>> starts;
  for (std::size_t k = 0; k < keep; ++k) starts.push_back(points[k].second);
  return starts;
}

struct SearchResult {
  std::vector<double> u;
  double value = kImpossible;
  bool finished = false;  // stopped by a tolerance, not by a limit
};

SearchResult LocalSearch(ProfileLikelihood& likelihood, const SearchBox& box, std::vector<double> u,
                         int max_evaluations, double max_seconds) {
  const auto dims = static_cast<unsigned>(u.size());
  nlopt::opt opt(nlopt::LN_BOBYQA, dims);
  opt.set_lower_bounds(box.lower);
  opt.set_upper_bounds(box.upper);
  opt.set_max_objective([](unsigned, const double* x, double*,
                           void* data) { return (*static_cast<ProfileLikelihood*>(data))(x); },
                        &likelihood);
  opt.set_xtol_abs(1e-10);
  opt.set_ftol_abs(1e-12);
  opt.set_maxeval(std::max(max_evaluations, 1));
  opt.set_maxtime(std::max(max_seconds, 1e-3));
  std::vector<double> step;
  for (std::size_t k = 0; k < u.size(); ++k) step.push_back((box.upper[k] - box.lower[k]) / 40);
  opt.set_initial_step(step);
  SearchResult result;
  try {
    const nlopt::result code = opt.optimize(u, result.value);
    result.finished = code == nlopt::SUCCESS || code == nlopt::FTOL_REACHED ||
                      code == nlopt::XTOL_REACHED || code == nlopt::STOPVAL_REACHED;
  } catch (const nlopt::roundoff_limited&) {
    // The arithmetic limits further progress: the point is as good as it gets.
    result.value = opt.last_optimum_value();
    result.finished = true;
  } catch (const std::exception&) {
    result.finished = false;
  }
  result.u = u;
  return result;
}

bool OnBound(const std::vector<double>& u, const SearchBox& box) {
  for (std::size_t k = 0; k < u.size(); ++k) {
    const double margin = 1e-4 * (box.upper[k] - box.lower[k]);
    if (u[k] <= box.lower[k] + margin || u[k] >= box.upper[k] - margin) return true;
  }
  return false;
}

// The covariance of the logarithms of the parameters: the inverse of the observed
// information, the Hessian in ln p by central differences. Empty unless positive definite.
std::optional<std::vector<double>> LogParameterVariances(GrowthModel model,
                                                         const std::vector<double>& parameters,
                                                         const FailureData& data, double end) {
  const std::size_t k = parameters.size();
  std::vector<double> log_p(k);
  for (std::size_t i = 0; i < k; ++i) log_p[i] = std::log(parameters[i]);
  const auto f = [&](std::size_t i, double di, std::size_t j, double dj) {
    std::vector<double> p(k);
    for (std::size_t m = 0; m < k; ++m) {
      p[m] = std::exp(log_p[m] + (m == i ? di : 0) + (m == j ? dj : 0));
    }
    return LogLikelihood(model, p, data, end);
  };
  constexpr double h = 1e-4;
  const double centre = f(0, 0, 0, 0);
  std::vector<double> info(k * k);  // minus the Hessian
  for (std::size_t i = 0; i < k; ++i) {
    info[i * k + i] = -(f(i, h, i, 0) - 2 * centre + f(i, -h, i, 0)) / (h * h);
    for (std::size_t j = 0; j < i; ++j) {
      const double mixed =
          (f(i, h, j, h) - f(i, h, j, -h) - f(i, -h, j, h) + f(i, -h, j, -h)) / (4 * h * h);
      info[i * k + j] = info[j * k + i] = -mixed;
    }
  }
  // Cholesky: info = L L^T; it fails exactly when info is not positive definite.
  std::vector<double> l(k * k, 0.0);
  for (std::size_t i = 0; i < k; ++i) {
    for (std::size_t j = 0; j <= i; ++j) {
      double sum = info[i * k + j];
      for (std::size_t m = 0; m < j; ++m) sum -= l[i * k + m] * l[j * k + m];
      if (i == j) {
        if (!(sum > 0) || !std::isfinite(sum)) return std::nullopt;
        l[i * k + i] = std::sqrt(sum);
      } else {
        l[i * k + j] = sum / l[j * k + j];
      }
    }
  }
  // The diagonal of info^-1 = L^-T L^-1: the squared norm of each column of L^-1, the
  // solution of L x = e_column.
  std::vector<double> variances(k, 0.0);
  for (std::size_t column = 0; column < k; ++column) {
    std::vector<double> x(k, 0.0);
    for (std::size_t i = column; i < k; ++i) {
      double sum = i == column ? 1.0 : 0.0;
      for (std::size_t m = column; m < i; ++m) sum -= l[i * k + m] * x[m];
      x[i] = sum / l[i * k + i];
      variances[column] += x[i] * x[i];
    }
  }
  return variances;
}

}  // namespace

std::string_view FitStatusText(FitStatus status) {
  switch (status) {
    case FitStatus::Converged:
      return "сошлось";
    case FitStatus::NotConverged:
      return "не сошлось";
    case FitStatus::OnBound:
      return "оценка на границе";
  }
  return "";
}

double KsDistance(GrowthModel model, std::span<const double> parameters, const FailureData& data,
                  double end_time) {
  double distance = 0;
  if (data.IsCounts()) {
    const double total = MeanValue(model, parameters, data.LastTime());
    const auto failures = static_cast<double>(data.FailureCount());
    double cumulative = 0;
    for (std::size_t j = 0; j < data.counts.size(); ++j) {
      cumulative += static_cast<double>(data.counts[j]);
      const double expected = MeanValue(model, parameters, data.interval_ends[j]) / total;
      distance = std::max(distance, std::abs(cumulative / failures - expected));
    }
    return distance;
  }
  const double total = MeanValue(model, parameters, end_time);
  const auto n = static_cast<double>(data.times.size());
  for (std::size_t i = 0; i < data.times.size(); ++i) {
    const double expected = MeanValue(model, parameters, data.times[i]) / total;
    distance = std::max({distance, static_cast<double>(i + 1) / n - expected,
                         expected - static_cast<double>(i) / n});
  }
  return distance;
}

ModelFit FitGrowthModel(GrowthModel model, const FailureData& data, const FitLimits& limits,
                        std::optional<double> end_time) {
  const auto started = std::chrono::steady_clock::now();
  const auto seconds_left = [&] {
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - started;
    return limits.max_seconds - spent.count();
  };
  ModelFit fit;
  fit.model = model;
  fit.end_time = ObservationEnd(data, end_time);
  const auto k = static_cast<std::size_t>(ParameterCount(model));
  fit.parameters.assign(k, std::numeric_limits<double>::quiet_NaN());
  fit.estimates.assign(k, {});
  if (data.FailureCount() == 0 || !(fit.end_time > 0)) return fit;

  const SearchBox box = BoxFor(model);
  ProfileLikelihood likelihood(model, data, fit.end_time);
  SearchResult best;
  for (auto& start : BestGridPoints(likelihood, box, box.lower.size() == 1 ? 2 : 3)) {
    const int evaluations_left = limits.max_evaluations - likelihood.evaluations();
    if (evaluations_left <= 0 || seconds_left() <= 0) break;
    SearchResult result =
        LocalSearch(likelihood, box, std::move(start), evaluations_left, seconds_left());
    if (result.value > best.value || best.u.empty()) best = std::move(result);
  }
  fit.evaluations = likelihood.evaluations();
  if (best.u.empty() || best.value <= kImpossible) return fit;

  fit.parameters = FromShapeForm(model, likelihood.FormAt(best.u.data()));
  fit.log_likelihood = LogLikelihood(model, fit.parameters, data, fit.end_time);
  const double n_observed =
      static_cast<double>(data.IsCounts() ? data.counts.size() : data.times.size());
  fit.log_likelihood_in_file_unit =
      fit.log_likelihood + (data.IsCounts() ? 0.0 : n_observed * std::log(DaysPerUnit(data.unit)));
  fit.aic = 2.0 * static_cast<double>(k) - 2 * fit.log_likelihood;
  fit.bic = static_cast<double>(k) * std::log(n_observed) - 2 * fit.log_likelihood;
  fit.ks_distance = KsDistance(model, fit.parameters, data, fit.end_time);

  const auto variances = LogParameterVariances(model, fit.parameters, data, fit.end_time);
  for (std::size_t i = 0; i < k; ++i) {
    fit.estimates[i].value = fit.parameters[i];
    if (!variances) continue;
    const double half_width = kNormalQuantile975 * std::sqrt((*variances)[i]);
    fit.estimates[i].lower = fit.parameters[i] * std::exp(-half_width);
    fit.estimates[i].upper = fit.parameters[i] * std::exp(half_width);
  }
  if (OnBound(best.u, box)) {
    fit.status = FitStatus::OnBound;
  } else if (best.finished && variances && std::isfinite(fit.log_likelihood)) {
    fit.status = FitStatus::Converged;
  }
  return fit;
}

}  // namespace teravo
