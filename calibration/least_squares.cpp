#include "calibration/least_squares.h"

#include <cmath>
#include <utility>

namespace teravo {

namespace {

using Matrix = std::vector<std::vector<double>>;

// Solves a x = b for a small symmetric positive system; empty when it is singular.
std::optional<std::vector<double>> Solve(Matrix a, std::vector<double> b) {
  const std::size_t n = b.size();
  for (std::size_t k = 0; k < n; ++k) {
    std::size_t pivot = k;
    for (std::size_t i = k + 1; i < n; ++i) {
      if (std::abs(a[i][k]) > std::abs(a[pivot][k])) pivot = i;
    }
    if (std::abs(a[pivot][k]) < 1e-300) return std::nullopt;
    std::swap(a[k], a[pivot]);
    std::swap(b[k], b[pivot]);
    for (std::size_t i = k + 1; i < n; ++i) {
      const double f = a[i][k] / a[k][k];
      for (std::size_t j = k; j < n; ++j) a[i][j] -= f * a[k][j];
      b[i] -= f * b[k];
    }
  }
  std::vector<double> x(n);
  for (std::size_t k = n; k-- > 0;) {
    double sum = b[k];
    for (std::size_t j = k + 1; j < n; ++j) sum -= a[k][j] * x[j];
    x[k] = sum / a[k][k];
  }
  return x;
}

}  // namespace

std::optional<std::vector<double>> LeastSquares(const std::vector<std::vector<double>>& rows,
                                                const std::vector<double>& values) {
  if (rows.empty()) return std::nullopt;
  const std::size_t terms = rows.front().size();
  Matrix normal(terms, std::vector<double>(terms, 0.0));
  std::vector<double> right(terms, 0.0);
  for (std::size_t k = 0; k < rows.size(); ++k) {
    for (std::size_t a = 0; a < terms; ++a) {
      right[a] += rows[k][a] * values[k];
      for (std::size_t b = 0; b < terms; ++b) normal[a][b] += rows[k][a] * rows[k][b];
    }
  }
  return Solve(std::move(normal), std::move(right));
}

}  // namespace teravo
