#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "reliability/failure_data.h"

namespace teravo {

// The classic NHPP reliability growth models. Time is in days throughout; m(t) is the
// expected number of failures by time t, lambda(t) = m'(t) the failure intensity per day.
enum class GrowthModel {
  GoelOkumoto,     // m = a (1 - e^{-bt});                  parameters {a, b}
  DelayedSShaped,  // m = a (1 - (1 + bt) e^{-bt});         parameters {a, b}
  MusaOkumoto,     // m = ln(1 + lambda0 theta t) / theta;  parameters {lambda0, theta}
  Weibull,         // m = a (1 - e^{-b t^c}), Goel's generalisation; parameters {a, b, c}
};

inline constexpr std::array<GrowthModel, 4> kGrowthModels = {
    GrowthModel::GoelOkumoto, GrowthModel::DelayedSShaped, GrowthModel::MusaOkumoto,
    GrowthModel::Weibull};

int ParameterCount(GrowthModel model);
// Parameter symbols in the order above ("a", "b", "c", "lambda0", "theta").
std::vector<std::string_view> ParameterSymbols(GrowthModel model);

double MeanValue(GrowthModel model, std::span<const double> parameters, double t);
double Intensity(GrowthModel model, std::span<const double> parameters, double t);
// The number of failures the model expects over all time: a; none for Musa-Okumoto, whose
// mean value grows without end.
std::optional<double> TotalFailures(GrowthModel model, std::span<const double> parameters);

// The log-likelihood of the parameters, time in days. Failure times: the NHPP density of the
// times observed until end_time (>= the last failure), sum ln lambda(t_i) - m(end_time).
// Counts: the Poisson probabilities of the counts in the intervals (end_time unused). A time
// likelihood depends on the time unit: in the file's unit it is this value plus
// n ln(DaysPerUnit); a count likelihood does not.
double LogLikelihood(GrowthModel model, std::span<const double> parameters, const FailureData& data,
                     double end_time);

// The end of observation: the last failure time (or interval end) unless a later time is
// given; DataError when the given time is earlier.
double ObservationEnd(const FailureData& data, std::optional<double> end_time);

}  // namespace teravo
