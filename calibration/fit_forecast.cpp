#include "calibration/fit_forecast.h"

#include <algorithm>
#include <numeric>

namespace teravo {

FitForecast ForecastFromFit(const TParameters& fitted, const MatchPoints& observed,
                            MatchedCurve matched, double end, int gridPoints,
                            std::span<const std::uint32_t> seeds, const CurveOptions& options) {
  FitForecast forecast;
  for (int j = 0; j <= gridPoints; ++j) forecast.times.push_back(end * j / gridPoints);
  // One series for both: the grid and the observed times, merged in time order.
  std::vector<double> times = forecast.times;
  times.insert(times.end(), observed.times.begin(), observed.times.end());
  std::vector<std::size_t> order(times.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return times[a] < times[b]; });
  CurveRequest request;
  for (std::size_t i : order) request.times.push_back(times[i]);
  request.curves.assign(std::begin(kForecastCurves), std::end(kForecastCurves));
  if (matched == MatchedCurve::FixedErrors) request.curves.push_back(Curve::FixedErrors);
  const SeriesCurves series = RunSeriesCurves(fitted, seeds, request, options);
  forecast.plays = series.plays;
  forecast.stopped = series.stopped;

  const std::size_t gridCount = forecast.times.size();
  const auto pick = [&](const CurveBand& band, bool grid) {
    CurveBand picked;
    for (std::size_t p = 0; p < order.size(); ++p) {
      if ((order[p] < gridCount) != grid) continue;
      picked.mean.push_back(band.mean[p]);
      picked.low.push_back(band.low[p]);
      picked.high.push_back(band.high[p]);
    }
    return picked;
  };
  for (std::size_t c = 0; c < std::size(kForecastCurves); ++c) {
    forecast.curves.push_back({kForecastCurves[c], pick(series.curves[c], true)});
  }
  const std::size_t matchedIndex =
      matched == MatchedCurve::Failures ? 0 : request.curves.size() - 1;
  const CurveBand atObserved = pick(series.curves[matchedIndex], false);
  forecast.points = static_cast<int>(observed.counts.size());
  for (std::size_t j = 0; j < observed.counts.size(); ++j) {
    const double count = observed.counts[j];
    if (count >= atObserved.low[j] && count <= atObserved.high[j]) ++forecast.pointsInBand;
  }
  return forecast;
}

}  // namespace teravo
