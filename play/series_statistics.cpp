#include "play/series_statistics.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <boost/math/distributions/students_t.hpp>

#include "core/number_text.h"

namespace teravo {

namespace {

constexpr std::array<Chart, 4> kCurves = {Chart::chNums, Chart::chClientErrors, Chart::chAvTer,
                                          Chart::chErrorsIntensity};

}  // namespace

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

long double Quantile(std::vector<double>& values, long double p) {
  const long double h = static_cast<long double>(values.size() - 1) * p;
  const auto below = static_cast<std::size_t>(std::floor(h));
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(below),
                   values.end());
  const long double low = values[below];
  if (below + 1 >= values.size()) return low;
  // The next order statistic is the smallest of those above.
  const long double high =
      *std::min_element(values.begin() + static_cast<std::ptrdiff_t>(below) + 1, values.end());
  return low + (h - static_cast<long double>(below)) * (high - low);
}

void FormSpreads(const std::vector<std::shared_ptr<PlayRecord>>& plays, PlayRecord& averages) {
  const char separator = averages.Separator();
  std::vector<long double> values(plays.size());
  for (int f = 0; f < kFieldCount; ++f) {
    const auto field = static_cast<Field>(f);
    if (field == Field::edCurTime) continue;  // the moment is the same for every play
    for (std::size_t k = 0; k < plays.size(); ++k) {
      values[k] = StrToFloat(plays[k]->Text(field), separator);
    }
    averages.Spreads[static_cast<std::size_t>(f)] = SpreadOf(values);
  }

  if (plays.empty()) return;
  std::vector<double> atPoint(plays.size());
  for (Chart chart : kCurves) {
    const ChartSeries& mean = averages.Series(chart);
    ChartSeries& low = averages.BandLow[static_cast<std::size_t>(chart)];
    ChartSeries& high = averages.BandHigh[static_cast<std::size_t>(chart)];
    low.Clear();
    high.Clear();
    for (int i = 0; i < mean.Count(); ++i) {
      bool everyPlay = true;
      for (std::size_t k = 0; k < plays.size() && everyPlay; ++k) {
        const ChartSeries& series = plays[k]->Series(chart);
        everyPlay = i < series.Count();
        if (everyPlay) atPoint[k] = series.YValue(i);
      }
      if (!everyPlay) break;
      const double x = mean.XValue(i);
      low.AddXY(x, static_cast<double>(Quantile(atPoint, 0.05L)));
      high.AddXY(x, static_cast<double>(Quantile(atPoint, 0.95L)));
    }
  }
}

}  // namespace teravo
