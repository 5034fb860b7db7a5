#pragma once

#include <optional>
#include <vector>

namespace teravo {

// The coefficients that fit rows · x to values by least squares (the normal equations,
// small systems only); empty when the rows do not determine them.
std::optional<std::vector<double>> LeastSquares(const std::vector<std::vector<double>>& rows,
                                                const std::vector<double>& values);

}  // namespace teravo
