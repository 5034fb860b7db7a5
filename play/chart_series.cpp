#include "play/chart_series.h"

#include <algorithm>
#include <string>

#include "core/general_error.h"
#include "core/number_text.h"

namespace teravo {

void ChartSeries::Clear() {
  // clear() keeps the capacity, so a series refilled on every refresh allocates once.
  x_.clear();
  y_.clear();
  ++version_;
}

void ChartSeries::AddXY(double x, double y) {
  if (x_.empty() || x >= x_.back()) {
    x_.push_back(x);
    y_.push_back(y);
  } else {
    // After the last point whose x is not greater, so equal x keep their order of addition.
    const auto at = std::upper_bound(x_.begin(), x_.end(), x);
    const auto offset = at - x_.begin();
    x_.insert(at, x);
    y_.insert(y_.begin() + offset, y);
  }
  ++version_;
}

void ChartSeries::Reserve(std::size_t points) {
  x_.reserve(points);
  y_.reserve(points);
}

double ChartSeries::XValue(int index) const {
  CheckIndex(index);
  return x_[static_cast<std::size_t>(index)];
}

double ChartSeries::YValue(int index) const {
  CheckIndex(index);
  return y_[static_cast<std::size_t>(index)];
}

void ChartSeries::SetYValue(int index, double y) {
  CheckIndex(index);
  y_[static_cast<std::size_t>(index)] = y;
  ++version_;
}

void ChartSeries::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) {
    throw GeneralError("List index out of bounds (" + IntToStr(index) + ")");
  }
}

void AccumulateSeries(const ChartSeries& source, ChartSeries& target) {
  const std::size_t points = source.y_.size();
  const std::size_t common = std::min(points, target.y_.size());
  for (std::size_t i = 0; i < common; ++i) target.y_[i] += source.y_[i];
  if (common > 0) ++target.version_;
  target.Reserve(points);
  for (std::size_t i = common; i < points; ++i) target.AddXY(source.x_[i], source.y_[i]);
}

void ScaleSeries(ChartSeries& series, double factor) {
  for (double& y : series.y_) y = static_cast<double>(static_cast<long double>(y) * factor);
  ++series.version_;
}

}  // namespace teravo
