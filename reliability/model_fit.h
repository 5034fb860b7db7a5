#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "reliability/failure_data.h"
#include "reliability/growth_models.h"

namespace teravo {

enum class FitStatus {
  Converged,     // a strict maximum inside the search bounds
  NotConverged,  // the search ran out of evaluations or time, or stopped off a maximum
  OnBound,       // the best estimate lies on a bound of the search: the data do not fix it
};

// "сошлось", "не сошлось", "оценка на границе".
std::string_view FitStatusText(FitStatus status);

// Bounds of one fit: likelihood evaluations and wall time over all its starts.
struct FitLimits {
  int max_evaluations = 3000;
  double max_seconds = 2.0;
};

struct ParameterEstimate {
  double value = 0;
  // The 95 % interval; both empty when the observed information is not positive definite.
  std::optional<double> lower;
  std::optional<double> upper;
};

// How the intervals are made: the observed Fisher information (the numerically
// differentiated Hessian of the log-likelihood) for the logarithm of each parameter, normal
// asymptotically; so the intervals are exp(+-1.96 se) about the estimate and stay positive.
inline constexpr std::string_view kIntervalMethod =
    "по наблюдаемой информации Фишера (асимптотически нормальное, для логарифма параметра)";

struct ModelFit {
  GrowthModel model = GrowthModel::GoelOkumoto;
  FitStatus status = FitStatus::NotConverged;
  // The estimates in the order of ParameterSymbols, time in days. Only a Converged fit's
  // values are estimates; the others show where the search stopped.
  std::vector<double> parameters;
  std::vector<ParameterEstimate> estimates;
  double end_time = 0;  // the end of observation the fit used, days
  // The log-likelihood with time in days, and in the unit of the file (differs for times:
  // see LogLikelihood); AIC and BIC use the first. BIC counts failure times, or intervals.
  double log_likelihood = 0;
  double log_likelihood_in_file_unit = 0;
  double aic = 0;
  double bic = 0;
  // Kolmogorov-Smirnov distance. Times: between the empirical distribution of the failure
  // times and m(t) / m(T). Counts: the largest gap between the cumulative proportions.
  double ks_distance = 0;
  int evaluations = 0;
};

// Maximum likelihood by NLopt (BOBYQA) over the shape parameters with a profiled out, from
// the best points of a coarse grid. `end_time` (failure times only): the end of observation
// when later than the last failure.
ModelFit FitGrowthModel(GrowthModel model, const FailureData& data, const FitLimits& limits,
                        std::optional<double> end_time = std::nullopt);

// The Kolmogorov-Smirnov distance of a model with these parameters from the data.
double KsDistance(GrowthModel model, std::span<const double> parameters, const FailureData& data,
                  double end_time);

}  // namespace teravo
