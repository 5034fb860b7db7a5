#include "reliability/growth_models.h"

#include <cmath>
#include <limits>

#include "reliability/model_shape.h"

namespace teravo {
namespace {

// 1 - (1 + x) e^{-x} loses every digit to cancellation for small x: its series instead.
double DelayedShape(double x) {
  if (x < 1e-2) return x * x * (0.5 - x * (1.0 / 3 - x * (1.0 / 8 - x / 30)));
  return -std::expm1(-x) - x * std::exp(-x);
}

// ln g(t), g = dG/dt.
double LogShapeDensity(GrowthModel model, const std::array<double, 2>& phi, double t) {
  const double b = phi[0];
  switch (model) {
    case GrowthModel::GoelOkumoto:
      return std::log(b) - b * t;
    case GrowthModel::DelayedSShaped:
      return 2 * std::log(b) + std::log(t) - b * t;
    case GrowthModel::MusaOkumoto:
      return std::log(b) - std::log1p(b * t);
    case GrowthModel::Weibull: {
      const double c = phi[1];
      return std::log(b * c) + (c - 1) * std::log(t) - b * std::pow(t, c);
    }
  }
  return 0;
}

}  // namespace

int ParameterCount(GrowthModel model) {
  return model == GrowthModel::Weibull ? 3 : 2;
}

std::vector<std::string_view> ParameterSymbols(GrowthModel model) {
  switch (model) {
    case GrowthModel::GoelOkumoto:
    case GrowthModel::DelayedSShaped:
      return {"a", "b"};
    case GrowthModel::MusaOkumoto:
      return {"lambda0", "theta"};
    case GrowthModel::Weibull:
      return {"a", "b", "c"};
  }
  return {};
}

int ShapeCount(GrowthModel model) {
  return ParameterCount(model) - 1;
}

double Shape(GrowthModel model, const std::array<double, 2>& phi, double t) {
  const double b = phi[0];
  switch (model) {
    case GrowthModel::GoelOkumoto:
      return -std::expm1(-b * t);
    case GrowthModel::DelayedSShaped:
      return DelayedShape(b * t);
    case GrowthModel::MusaOkumoto:
      return std::log1p(b * t);
    case GrowthModel::Weibull:
      return -std::expm1(-b * std::pow(t, phi[1]));
  }
  return 0;
}

double ShapeIncrement(GrowthModel model, const std::array<double, 2>& phi, double from, double to) {
  // e^{-b t0} - e^{-b t1}, exact when both are close to 1 or to 0.
  if (model == GrowthModel::GoelOkumoto) {
    return std::exp(-phi[0] * from) * -std::expm1(-phi[0] * (to - from));
  }
  return Shape(model, phi, to) - Shape(model, phi, from);
}

ShapeForm ToShapeForm(GrowthModel model, std::span<const double> parameters) {
  if (model == GrowthModel::MusaOkumoto) {
    return {1 / parameters[1], {parameters[0] * parameters[1], 0}};
  }
  return {parameters[0], {parameters[1], model == GrowthModel::Weibull ? parameters[2] : 0}};
}

std::vector<double> FromShapeForm(GrowthModel model, const ShapeForm& form) {
  switch (model) {
    case GrowthModel::GoelOkumoto:
    case GrowthModel::DelayedSShaped:
      return {form.a, form.phi[0]};
    case GrowthModel::MusaOkumoto:
      return {form.a * form.phi[0], 1 / form.a};
    case GrowthModel::Weibull:
      return {form.a, form.phi[0], form.phi[1]};
  }
  return {};
}

double ShapeLogLikelihood(GrowthModel model, const ShapeForm& form, const FailureData& data,
                          double end_time) {
  const double log_a = std::log(form.a);
  if (!data.IsCounts()) {
    double sum = 0;
    for (const double t : data.times) sum += LogShapeDensity(model, form.phi, t);
    return static_cast<double>(data.times.size()) * log_a + sum -
           form.a * Shape(model, form.phi, end_time);
  }
  double sum = 0;
  double start = 0;
  for (std::size_t j = 0; j < data.counts.size(); ++j) {
    const double end = data.interval_ends[j];
    if (data.counts[j] > 0) {
      const auto k = static_cast<double>(data.counts[j]);
      const double increment = ShapeIncrement(model, form.phi, start, end);
      if (!(increment > 0)) return -std::numeric_limits<double>::infinity();
      sum += k * (log_a + std::log(increment)) - std::lgamma(k + 1);
    }
    start = end;
  }
  return sum - form.a * Shape(model, form.phi, start);
}

double ProfiledScale(GrowthModel model, const std::array<double, 2>& phi, const FailureData& data,
                     double end_time) {
  const double end = data.IsCounts() ? data.LastTime() : end_time;
  return static_cast<double>(data.FailureCount()) / Shape(model, phi, end);
}

double MeanValue(GrowthModel model, std::span<const double> parameters, double t) {
  const ShapeForm form = ToShapeForm(model, parameters);
  return form.a * Shape(model, form.phi, t);
}

double Intensity(GrowthModel model, std::span<const double> parameters, double t) {
  const ShapeForm form = ToShapeForm(model, parameters);
  if (t <= 0) {
    // The limit from the right: DSS starts at 0, Weibull at 0 (c > 1) or without bound.
    if (model == GrowthModel::DelayedSShaped) return 0;
    if (model == GrowthModel::Weibull && form.phi[1] != 1) {
      return form.phi[1] > 1 ? 0 : std::numeric_limits<double>::infinity();
    }
    return form.a * form.phi[0];
  }
  return form.a * std::exp(LogShapeDensity(model, form.phi, t));
}

std::optional<double> TotalFailures(GrowthModel model, std::span<const double> parameters) {
  if (model == GrowthModel::MusaOkumoto) return std::nullopt;
  return parameters[0];
}

double LogLikelihood(GrowthModel model, std::span<const double> parameters, const FailureData& data,
                     double end_time) {
  return ShapeLogLikelihood(model, ToShapeForm(model, parameters), data, end_time);
}

double ObservationEnd(const FailureData& data, std::optional<double> end_time) {
  const double last = data.LastTime();
  if (!end_time || data.IsCounts()) return last;
  if (*end_time < last) throw DataError("Конец наблюдения раньше последнего отказа.");
  return *end_time;
}

}  // namespace teravo
