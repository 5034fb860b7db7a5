#include "results/chart_series.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "core/general_error.h"
#include "core/number_text.h"
#include "core/rounding.h"

namespace teravo {

void ChartSeries::Clear() {
  // clear() keeps the capacity, so a series refilled on every refresh allocates once.
  count_ = 0;
  x_.clear();
  y_.clear();
  counts_.clear();
  ++version_;
}

void ChartSeries::ExpectSteps(long double step) {
  if (count_ != 0) return;
  stepX_ = true;
  step_ = step;
  x_.clear();
}

void ChartSeries::ExpectCounts() {
  if (count_ != 0) return;
  countY_ = true;
  y_.clear();
}

void ChartSeries::PlainX() {
  if (!stepX_) return;
  x_.resize(count_);
  for (std::size_t i = 0; i < count_; ++i) x_[i] = X(i);
  stepX_ = false;
}

void ChartSeries::PlainY() {
  if (!countY_) return;
  y_.assign(counts_.begin(), counts_.end());
  counts_.clear();
  counts_.shrink_to_fit();
  countY_ = false;
}

void ChartSeries::AddPoint(double x, double y) {
  if (stepX_ && !IsNextStep(x)) PlainX();
  if (countY_ && !IsCount(y)) PlainY();
  const bool append = count_ == 0 || x >= X(count_ - 1);
  if (!append) PlainX();  // an insertion: only plain pairs can take it
  const std::size_t at =
      append ? count_
             : static_cast<std::size_t>(std::upper_bound(x_.begin(), x_.end(), x) - x_.begin());
  if (!stepX_) x_.insert(x_.begin() + static_cast<std::ptrdiff_t>(at), x);
  if (countY_) {
    counts_.insert(counts_.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::int32_t>(y));
  } else {
    y_.insert(y_.begin() + static_cast<std::ptrdiff_t>(at), y);
  }
  ++count_;
  ++version_;
}

void ChartSeries::Reserve(std::size_t points) {
  if (!stepX_) x_.reserve(points);
  if (countY_) {
    counts_.reserve(points);
  } else {
    y_.reserve(points);
  }
}

double ChartSeries::XValue(int index) const {
  CheckIndex(index);
  return X(static_cast<std::size_t>(index));
}

double ChartSeries::YValue(int index) const {
  CheckIndex(index);
  return Y(static_cast<std::size_t>(index));
}

void ChartSeries::SetYValue(int index, double y) {
  CheckIndex(index);
  if (countY_ && !IsCount(y)) PlainY();
  if (countY_) {
    counts_[static_cast<std::size_t>(index)] = static_cast<std::int32_t>(y);
  } else {
    y_[static_cast<std::size_t>(index)] = y;
  }
  ++version_;
}

ChartSeries::Points ChartSeries::AllPoints() const {
  Points points;
  if (stepX_) {
    points.xs.resize(count_);
    for (std::size_t i = 0; i < count_; ++i) points.xs[i] = X(i);
  } else {
    points.xs = x_;
  }
  if (countY_) {
    points.ys.assign(counts_.begin(), counts_.end());
  } else {
    points.ys = y_;
  }
  return points;
}

void ChartSeries::CheckIndex(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= count_) {
    throw GeneralError("List index out of bounds (" + IntToStr(index) + ")");
  }
}

void AccumulateSeries(const ChartSeries& source, ChartSeries& target) {
  // The sums of a series' means are plain doubles.
  target.PlainY();
  const std::size_t points = source.count_;
  const std::size_t common = std::min(points, target.count_);
  for (std::size_t i = 0; i < common; ++i) {
    const double sum = target.y_[i] + source.Y(i);
    if (!std::isfinite(sum)) Raise(kOverflow);
    target.y_[i] = sum;
  }
  if (common > 0) ++target.version_;
  target.Reserve(points);
  for (std::size_t i = common; i < points; ++i) target.AddXY(source.X(i), source.Y(i));
}

void ScaleSeries(ChartSeries& series, double factor) {
  series.PlainY();
  for (double& y : series.y_) y = RoundToDouble(static_cast<long double>(y) * factor);
  ++series.version_;
}

}  // namespace teravo
