#include "reliability/analysis_curves.h"

#include <algorithm>

namespace teravo {

AnalysisCurves CurvesOf(const FailureData& data, const FailureAnalysis& analysis,
                        const AnalysisOptions& options) {
  AnalysisCurves curves;
  if (data.IsCounts()) {
    std::int64_t total = 0;
    for (std::size_t i = 0; i < data.counts.size(); ++i) {
      total += data.counts[i];
      curves.observed.push_back({data.interval_ends[i], static_cast<double>(total)});
    }
  } else {
    for (std::size_t i = 0; i < data.times.size(); ++i)
      curves.observed.push_back({data.times[i], static_cast<double>(i + 1)});
  }
  if (!analysis.holdouts.empty()) curves.holdout_cut = analysis.holdouts.front().cut_time;

  const double end = ObservationEnd(data, options.end_time);
  curves.time_span = end + std::clamp(options.prediction.horizon, end / 4, 3 * end);
  curves.mission_span = 3 * options.prediction.mission_time;
  for (const ModelFit& fit : analysis.fits) {
    if (fit.status != FitStatus::Converged) continue;
    curves.models.push_back(
        {fit.model, MeanValueCurve(fit, curves.time_span, kCurvePoints),
         IntensityCurve(fit, curves.time_span, kCurvePoints),
         ReliabilityCurve(fit, fit.end_time, curves.mission_span, kCurvePoints)});
  }
  return curves;
}

}  // namespace teravo
