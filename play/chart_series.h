#pragma once

#include <cstdint>
#include <vector>

namespace teravo {

// The points of a chart's only series, kept in ascending x. A point whose x is smaller than
// the last point's is inserted after the last point whose x is not greater than its own, so
// points with equal x keep the order in which they were added.
class ChartSeries {
 public:
  void Clear();
  void AddXY(double x, double y);
  void Reserve(std::size_t points);
  int Count() const { return static_cast<int>(x_.size()); }
  // An index outside 0 ... Count() - 1 throws GeneralError ("List index out of bounds (i)").
  double XValue(int index) const;
  double YValue(int index) const;
  void SetYValue(int index, double y);

  const std::vector<double>& Xs() const { return x_; }
  const std::vector<double>& Ys() const { return y_; }
  // Grows with every change, so a view can tell whether it must redraw.
  std::uint64_t Version() const { return version_; }

 private:
  // A series' means are formed over tens of thousands of points per play: these two work on
  // the points directly.
  friend void AccumulateSeries(const ChartSeries& source, ChartSeries& target);
  friend void ScaleSeries(ChartSeries& series, double factor);

  void CheckIndex(int index) const;
  std::vector<double> x_;
  std::vector<double> y_;
  std::uint64_t version_ = 0;
};

// For every index i of source: target's y at i += source's y at i when target has a point i,
// otherwise the point (source x at i, source y at i) is added to target.
void AccumulateSeries(const ChartSeries& source, ChartSeries& target);
// Every y becomes y * factor, in index order.
void ScaleSeries(ChartSeries& series, double factor);

}  // namespace teravo
