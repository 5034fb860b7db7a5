#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/rounding.h"

namespace teravo {

// The points of a chart's only series, kept in ascending x. A point whose x is smaller than
// the last point's is inserted after the last point whose x is not greater than its own, so
// points with equal x keep the order in which they were added.
//
// A play adds one point per step to four series, and a series keeps every play: a series
// may be told that its x will be the step number times the step and that its y will be
// whole counts, and then stores only what cannot be recomputed. A point that breaks either
// promise turns the series back into plain pairs of doubles, so what it reads back is always
// exactly what was added.
class ChartSeries {
 public:
  void Clear();
  // Inline for the common case, the next step's point of a series told to expect steps: four
  // of them are added at every step of a play. With a step that is not negative, that point
  // is never below the last one, so it goes at the end.
  void AddXY(double x, double y) {
    if (stepX_ && step_ >= 0 && IsNextStep(x) && (!countY_ || IsCount(y))) {
      if (countY_) {
        counts_.push_back(static_cast<std::int32_t>(y));
      } else {
        y_.push_back(y);
      }
      ++count_;
      ++version_;
      return;
    }
    AddPoint(x, y);
  }
  void Reserve(std::size_t points);
  // Promises, for points added from now on while the series is empty: x of point i is
  // i * step in extended precision, rounded to double; y is a whole number within 32 bits.
  void ExpectSteps(long double step);
  void ExpectCounts();

  int Count() const { return static_cast<int>(count_); }
  // An index outside 0 ... Count() - 1 throws GeneralError ("List index out of bounds (i)").
  double XValue(int index) const;
  double YValue(int index) const;
  void SetYValue(int index, double y);

  // Every point at once, for views and writers.
  struct Points {
    std::vector<double> xs;
    std::vector<double> ys;
  };
  Points AllPoints() const;
  // Grows with every change, so a view can tell whether it must redraw.
  std::uint64_t Version() const { return version_; }

 private:
  friend void AccumulateSeries(const ChartSeries& source, ChartSeries& target);
  friend void ScaleSeries(ChartSeries& series, double factor);

  // A y that a series expecting counts keeps as one.
  static bool IsCount(double y) {
    return y >= std::numeric_limits<std::int32_t>::min() &&
           y <= std::numeric_limits<std::int32_t>::max() &&
           static_cast<double>(static_cast<std::int32_t>(y)) == y && !(y == 0 && std::signbit(y));
  }
  double X(std::size_t i) const {
    return stepX_ ? RoundToDouble(static_cast<long double>(i) * step_) : x_[i];
  }
  double Y(std::size_t i) const { return countY_ ? counts_[i] : y_[i]; }
  // Whether x is, bit for bit, the x the next point would be given: a zero of the other sign
  // would not read back as added.
  bool IsNextStep(double x) const {
    return std::bit_cast<std::uint64_t>(x) == std::bit_cast<std::uint64_t>(X(count_));
  }
  void AddPoint(double x, double y);
  void PlainX();
  void PlainY();
  void CheckIndex(int index) const;

  std::size_t count_ = 0;
  bool stepX_ = false;
  long double step_ = 0;
  std::vector<double> x_;  // unless stepX_
  bool countY_ = false;
  std::vector<std::int32_t> counts_;  // when countY_
  std::vector<double> y_;             // unless countY_
  std::uint64_t version_ = 0;
};

// For every index i of source: target's y at i += source's y at i when target has a point i,
// otherwise the point (source x at i, source y at i) is added to target.
void AccumulateSeries(const ChartSeries& source, ChartSeries& target);
// Every y becomes y * factor, in index order.
void ScaleSeries(ChartSeries& series, double factor);

}  // namespace teravo
