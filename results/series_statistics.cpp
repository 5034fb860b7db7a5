#include "results/series_statistics.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numeric>

#include <boost/math/distributions/students_t.hpp>

#include "core/rounding.h"

namespace teravo {

std::optional<PlayRecord::Spread> SpreadOf(std::span<const long double> values) {
  const std::size_t n = values.size();
  if (n < 2) return std::nullopt;
  long double sum = 0;
  for (long double v : values) sum += v;
  const long double mean = sum / static_cast<long double>(n);
  long double squares = 0;
  for (long double v : values) squares += (v - mean) * (v - mean);
  PlayRecord::Spread spread;
  spread.deviation = std::sqrt(squares / static_cast<long double>(n - 1));
  const boost::math::students_t_distribution<long double> t(static_cast<long double>(n - 1));
  const long double quantile = boost::math::quantile(boost::math::complement(t, 0.025L));
  spread.halfWidth = quantile * spread.deviation / std::sqrt(static_cast<long double>(n));
  return spread;
}

long double QuantileOfSorted(std::span<const double> sorted, long double p) {
  const long double h = static_cast<long double>(sorted.size() - 1) * p;
  const auto below = static_cast<std::size_t>(std::floor(h));
  const long double low = sorted[below];
  if (below + 1 >= sorted.size()) return low;
  return low + (h - static_cast<long double>(below)) * (sorted[below + 1] - low);
}

PointSorter::PointSorter(std::size_t plays) : order_(plays), sorted_(plays) {
  std::iota(order_.begin(), order_.end(), std::size_t{0});
}

std::span<const double> PointSorter::Sort(std::span<const double> values) {
  const std::size_t n = order_.size();
  for (std::size_t i = 0; i < n; ++i) sorted_[i] = values[order_[i]];
  // Insertion sort, which moves each value past only those it overtook since the last point.
  const std::size_t budget = 8 * n + 64;
  std::size_t moves = 0;
  for (std::size_t i = 1; i < n; ++i) {
    const double value = sorted_[i];
    const std::size_t play = order_[i];
    std::size_t j = i;
    for (; j > 0 && value < sorted_[j - 1]; --j) {
      sorted_[j] = sorted_[j - 1];
      order_[j] = order_[j - 1];
    }
    sorted_[j] = value;
    order_[j] = play;
    moves += i - j;
    if (moves > budget) {
      // The plays changed places wholesale: sorting afresh costs less than going on.
      std::sort(order_.begin(), order_.end(),
                [&values](std::size_t a, std::size_t b) { return values[a] < values[b]; });
      for (std::size_t k = 0; k < n; ++k) sorted_[k] = values[order_[k]];
      break;
    }
  }
  return sorted_;
}

void FormSpreads(const std::vector<std::shared_ptr<PlayRecord>>& plays, PlayRecord& averages) {
  std::vector<long double> values(plays.size());
  for (const ResultField& row : ResultFields()) {
    if (!row.averaged) continue;
    for (std::size_t k = 0; k < plays.size(); ++k) values[k] = plays[k]->DisplayedValue(row.field);
    averages.Spreads[static_cast<std::size_t>(row.field)] = SpreadOf(values);
  }

  if (plays.empty()) return;
  const std::size_t n = plays.size();
  // The points every play has; the values are read a block of points at a time, each play's
  // in a run, where reading one point of every play in turn would touch a line of memory
  // for each value.
  constexpr std::size_t kBlock = 64;
  std::vector<double> block;  // point b of the block, play k at b * n + k
  for (const ResultChart& row : ResultCharts()) {
    if (!row.overTime) continue;
    const Chart chart = row.chart;
    const ChartSeries& mean = averages.Series(chart);
    int common = mean.Count();
    for (const auto& play : plays) common = std::min(common, play->Series(chart).Count());
    const auto points = static_cast<std::size_t>(common);
    ChartSeries& low = averages.BandLow[static_cast<std::size_t>(chart)];
    ChartSeries& high = averages.BandHigh[static_cast<std::size_t>(chart)];
    low.Clear();
    high.Clear();
    low.Reserve(points);
    high.Reserve(points);
    if (points == 0) continue;  // a series kept without points
    block.resize(kBlock * n);
    PointSorter sorter(n);
    for (std::size_t first = 0; first < points; first += kBlock) {
      const std::size_t count = std::min(kBlock, points - first);
      for (std::size_t k = 0; k < n; ++k) {
        const ChartSeries& series = plays[k]->Series(chart);
        for (std::size_t b = 0; b < count; ++b) {
          block[b * n + k] = series.YValue(static_cast<int>(first + b));
        }
      }
      for (std::size_t b = 0; b < count; ++b) {
        const std::span<const double> sorted =
            sorter.Sort(std::span<const double>(block).subspan(b * n, n));
        const double x = mean.XValue(static_cast<int>(first + b));
        low.AddXY(x, static_cast<double>(QuantileOfSorted(sorted, 0.05L)));
        high.AddXY(x, static_cast<double>(QuantileOfSorted(sorted, 0.95L)));
      }
    }
  }
}

void FormAverages(const std::vector<std::shared_ptr<PlayRecord>>& plays, PlayRecord& averages) {
  // The means are those of the values as the play windows show them.
  std::array<std::int64_t, kFieldCount> integerSums{};
  std::array<double, kFieldCount> realSums{};
  for (const auto& play : plays) {
    for (const ResultField& row : ResultFields()) {
      if (!row.averaged) continue;
      const auto at = static_cast<std::size_t>(row.field);
      const long double value = play->DisplayedValue(row.field);
      if (row.kind == ValueKind::Integer) {
        integerSums[at] += static_cast<std::int64_t>(value);
      } else {
        realSums[at] = ToDouble(realSums[at] + value);
      }
    }
    for (const ResultChart& row : ResultCharts()) {
      AccumulateSeries(play->Series(row.chart), averages.Series(row.chart));
    }
  }

  const long double count = static_cast<long double>(plays.size());
  for (const ResultField& row : ResultFields()) {
    if (!row.averaged) continue;
    const auto at = static_cast<std::size_t>(row.field);
    if (row.kind == ValueKind::Integer) {
      const long double mean = CheckedDiv(static_cast<long double>(integerSums[at]), count);
      averages.SetInt(row.field, RoundTiesEven(mean));
      averages.ExactMeans[at] = mean;
    } else {
      averages.SetReal(row.field, CheckedDiv(realSums[at], count));
      averages.ExactMeans[at] = averages.DisplayedValue(row.field);
    }
  }
  const double share = 1.0 / static_cast<double>(plays.size());
  for (const ResultChart& row : ResultCharts()) ScaleSeries(averages.Series(row.chart), share);
  FormSpreads(plays, averages);
}

}  // namespace teravo
