#include "calibration/simulated_data.h"

#include <cmath>

#include "calibration/fit_space.h"
#include "play/series_curves.h"

namespace teravo {

FailureData SimulatedFailureData(const TParameters& parameters, std::uint32_t seed, double days) {
  TParameters play = parameters;
  CoverDays(play, days);
  const auto steps = static_cast<std::int64_t>(std::floor(days / play.FDT));
  CurveRequest request;
  for (std::int64_t i = 1; i <= steps; ++i)
    request.times.push_back(static_cast<double>(i) * play.FDT);
  request.curves = {Curve::Failures};
  const std::uint32_t seeds[] = {seed};
  CurveOptions options;
  options.threads = 1;
  const SeriesCurves curves = RunSeriesCurves(play, seeds, request, options);
  std::vector<double> times;
  double before = 0;
  for (std::size_t j = 0; j < request.times.size(); ++j) {
    for (double count = curves.curves.front().mean[j]; before < count; ++before) {
      times.push_back(request.times[j]);
    }
  }
  return FailureTimesInDays(std::move(times));
}

}  // namespace teravo
