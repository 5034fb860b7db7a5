#pragma once

#include <array>
#include <span>
#include <vector>

#include "reliability/growth_models.h"

namespace teravo {

// Every model here is m(t) = a G(t; phi) with a shape G of one or two parameters phi
// (Musa-Okumoto: a = 1 / theta, G = ln(1 + beta t), beta = lambda0 theta). For given phi the
// likelihood is maximal at a = n / G(T) in closed form, so fits search phi alone.
struct ShapeForm {
  double a = 0;
  std::array<double, 2> phi{};
};

int ShapeCount(GrowthModel model);
double Shape(GrowthModel model, const std::array<double, 2>& phi, double t);
double ShapeIncrement(GrowthModel model, const std::array<double, 2>& phi, double from, double to);

ShapeForm ToShapeForm(GrowthModel model, std::span<const double> parameters);
std::vector<double> FromShapeForm(GrowthModel model, const ShapeForm& form);

double ShapeLogLikelihood(GrowthModel model, const ShapeForm& form, const FailureData& data,
                          double end_time);

// a at its maximum for the shape: failures / G(end).
double ProfiledScale(GrowthModel model, const std::array<double, 2>& phi, const FailureData& data,
                     double end_time);

}  // namespace teravo
