#include "calibration/fit_document.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "core/csv_text.h"
#include "core/number_text.h"
#include "reliability/analysis_texts.h"
#include "reliability/json_text.h"

namespace teravo {

namespace {

using Json = JsonText;

std::string_view CurveKey(Curve curve) {
  switch (curve) {
    case Curve::Failures:
      return "failures";
    case Curve::FailureIntensity:
      return "failure_intensity";
    case Curve::Availability:
      return "availability";
    case Curve::WorkingClients:
      return "working_clients";
    case Curve::ErrorsLeft:
      return "errors_left";
    default:
      return "other";
  }
}

void WriteEstimates(Json& json, const SimulationFit& fit) {
  json.Open('[');
  for (std::size_t i = 0; i < fit.estimates.size(); ++i) {
    const EditEstimate& e = fit.estimates[i];
    json.Open('{');
    json.Key("edit");
    json.Text(e.name);
    json.Key("estimate");
    json.Number(e.value);
    if (fit.uncertainty) {
      json.Key("low");
      json.Number(e.interval.low);
      json.Key("high");
      json.Number(e.interval.high);
      json.Key("identified");
      json.Bool(e.interval.identified);
    }
    json.Key("at_span_edge");
    json.Bool(e.atSpanEdge);
    json.Close('}');
  }
  json.Close(']');
}

void WriteUncertainty(Json& json, const FitUncertainty& u, const std::vector<FittedEdit>& edits) {
  json.Open('{');
  json.Key("method");
  json.Text(kDevianceIntervalMethod);
  json.Key("dispersion");
  json.Number(u.dispersion);
  json.Key("deviance_rise");
  json.Number(u.threshold);
  json.Key("correlation");
  json.Open('[');
  for (std::size_t i = 0; i < u.correlation.size(); ++i) {
    json.Numbers(u.correlation[i]);
  }
  json.Close(']');
  json.Key("combinations");
  json.Open('[');
  for (std::size_t i = 0; i < u.combinations.size(); ++i) {
    const EditCombination& c = u.combinations[i];
    json.Open('{');
    json.Key("text");
    json.Text(CombinationText(c, edits));
    json.Key("estimate");
    json.Number(c.estimate);
    json.Key("low");
    json.Number(c.low);
    json.Key("high");
    json.Number(c.high);
    json.Key("correlation");
    json.Number(c.correlation);
    json.Close('}');
  }
  json.Close(']');
  json.Key("notes");
  json.Open('[');
  for (std::size_t i = 0; i < u.notes.size(); ++i) {
    json.Text(u.notes[i]);
  }
  json.Close(']').Close('}');
}

void WriteHoldout(Json& json, const Calibration& calibration) {
  const SimulationHoldout& holdout = *calibration.holdout;
  json.Open('{');
  json.Key("cut_time_days");
  json.Number(holdout.cutTime);
  json.Key("held_out_points");
  json.Integer(holdout.heldOutPoints);
  json.Key("psse");
  json.Open('[').Open('{');
  json.Key("model");
  json.Text("simulation");
  json.Key("psse");
  json.Number(holdout.psse.value_or(NAN));
  if (holdout.fit) {
    json.Key("status");
    json.Text(SearchStatusText(holdout.fit->status));
  }
  json.Close('}');
  if (calibration.classic) {
    for (const HoldoutFit& classic : calibration.classic->holdouts) {
      json.Open('{');
      json.Key("model");
      json.Text(classic.fit ? ModelKey(classic.fit->model) : "");
      json.Key("psse");
      json.Number(classic.psse.value_or(NAN));
      json.Close('}');
    }
  }
  json.Close(']').Close('}');
}

// The forecast curves' names in the tables, with their units.
std::string_view CurveTitle(Curve curve) {
  switch (curve) {
    case Curve::Failures:
      return "Отказов всего";
    case Curve::FailureIntensity:
      return "Интенсивность отказов, 1/сутки";
    case Curve::Availability:
      return "Kг";
    case Curve::WorkingClients:
      return "Работающих клиентов";
    case Curve::ErrorsLeft:
      return "Осталось ошибок";
    default:
      return "Кривая";
  }
}

}  // namespace

std::string_view SearchStatusText(SearchStatus status) {
  switch (status) {
    case SearchStatus::Converged:
      return "сошлось";
    case SearchStatus::NotConverged:
      return "не сошлось";
    case SearchStatus::Stopped:
      return "остановлено";
  }
  return "";
}

std::string CalibrationJson(const Calibration& calibration, const CalibrationSettings& settings,
                            const FailureData& data) {
  const SimulationFit& fit = calibration.fit;
  Json json;
  json.Open('{');
  json.Key("distance");
  json.Text(kDistanceName);
  json.Key("matched_curve");
  json.Text(settings.matched == MatchedCurve::Failures ? "failures" : "fixed_errors");
  json.Key("status");
  json.Text(SearchStatusText(fit.status));
  json.Key("integer_edits");
  json.Text("целые поля округляются внутри подбора; оценка — целое число, которое разыграно");
  json.Key("estimates");
  WriteEstimates(json, fit);
  if (fit.uncertainty) {
    json.Key("uncertainty");
    WriteUncertainty(json, *fit.uncertainty, settings.edits);
  }
  json.Key("goodness_of_fit");
  json.Open('{');
  json.Key("deviance");
  json.Number(fit.distance);
  json.Key("match_points");
  json.Integer(static_cast<std::int64_t>(fit.points.times.size()));
  json.Key("points_in_band");
  json.Integer(calibration.forecast.pointsInBand);
  json.Key("band_coverage");
  json.Number(calibration.forecast.points > 0
                  ? static_cast<double>(calibration.forecast.pointsInBand) /
                        calibration.forecast.points
                  : NAN);
  json.Key("times");
  json.Numbers(fit.points.times);
  json.Key("observed");
  json.Numbers(fit.points.counts);
  json.Key("fitted_mean");
  json.Numbers(fit.fittedMean);
  json.Close('}');
  json.Key("forecast");
  json.Open('{');
  json.Key("horizon_end_days");
  json.Number(calibration.horizonEnd);
  json.Key("plays");
  json.Integer(calibration.forecast.plays);
  json.Key("times");
  json.Numbers(calibration.forecast.times);
  for (const ForecastCurve& curve : calibration.forecast.curves) {
    json.Key(CurveKey(curve.curve));
    json.Open('{');
    json.Key("mean");
    json.Numbers(curve.band.mean);
    json.Key("low");
    json.Numbers(curve.band.low);
    json.Key("high");
    json.Numbers(curve.band.high);
    json.Close('}');
  }
  json.Close('}');
  if (calibration.holdout) {
    json.Key("holdout");
    WriteHoldout(json, calibration);
  }
  json.Key("work");
  json.Open('{');
  json.Key("evaluations");
  json.Integer(fit.evaluations);
  json.Key("plays");
  json.Integer(fit.plays);
  json.Key("plays_per_evaluation");
  json.Integer(settings.plays);
  json.Key("first_seed");
  json.Integer(settings.firstSeed);
  json.Key("data_failures");
  json.Integer(data.FailureCount());
  json.Key("stopped");
  json.Bool(calibration.stopped);
  json.Close('}').Close('}');
  return json.Take() + "\n";
}

std::vector<std::pair<std::string, std::string>> CalibrationCsvTables(
    const Calibration& calibration, const CalibrationSettings& settings, char separator) {
  const SimulationFit& fit = calibration.fit;
  std::vector<std::pair<std::string, std::string>> tables;

  CsvText estimates(separator);
  estimates.Cell("Поле").Cell("Оценка").Cell("Нижняя граница 95 %").Cell("Верхняя граница 95 %");
  estimates.Cell("Определено данными").Cell("На краю диапазона поиска").EndRow();
  for (const EditEstimate& e : fit.estimates) {
    estimates.Cell(e.name).Number(e.value);
    if (fit.uncertainty) {
      estimates.Number(e.interval.low).Number(e.interval.high);
      estimates.Cell(e.interval.identified ? "да" : "нет");
    } else {
      estimates.Cell("").Cell("").Cell("");
    }
    estimates.Cell(e.atSpanEdge ? "да" : "нет").EndRow();
  }
  if (fit.uncertainty) {
    for (const EditCombination& c : fit.uncertainty->combinations) {
      estimates.Cell(CombinationText(c, settings.edits)).Number(c.estimate).Number(c.low);
      estimates.Number(c.high).Cell("").Cell("").EndRow();
    }
  }
  tables.emplace_back("estimates.csv", estimates.Take());

  CsvText goodness(separator);
  goodness.Cell("Показатель").Cell("Значение").EndRow();
  goodness.Cell(kDistanceName).Number(fit.distance).EndRow();
  goodness.Cell("Точек сравнения").Number(static_cast<double>(fit.points.times.size())).EndRow();
  goodness.Cell("Точек в полосе 5–95 %").Number(calibration.forecast.pointsInBand).EndRow();
  goodness.Cell("Подбор").Cell(SearchStatusText(fit.status)).EndRow();
  goodness.Cell("Оценок").Number(fit.evaluations).EndRow();
  goodness.Cell("Розыгрышей").Number(static_cast<double>(fit.plays)).EndRow();
  tables.emplace_back("goodness.csv", goodness.Take());

  CsvText matched(separator);
  matched.Cell("Время, сутки").Cell("Наблюдалось").Cell("Среднее модели").EndRow();
  for (std::size_t i = 0; i < fit.points.times.size(); ++i) {
    matched.Number(fit.points.times[i]).Number(fit.points.counts[i]);
    matched.Number(i < fit.fittedMean.size() ? fit.fittedMean[i] : NAN).EndRow();
  }
  tables.emplace_back("fit.csv", matched.Take());

  const FitForecast& forecast = calibration.forecast;
  CsvText curves(separator);
  curves.Cell("Время, сутки");
  for (const ForecastCurve& curve : forecast.curves) {
    const std::string title(CurveTitle(curve.curve));
    curves.Cell(title).Cell(title + ", 5 %").Cell(title + ", 95 %");
  }
  curves.EndRow();
  for (std::size_t j = 0; j < forecast.times.size(); ++j) {
    curves.Number(forecast.times[j]);
    for (const ForecastCurve& curve : forecast.curves)
      curves.Number(curve.band.mean[j]).Number(curve.band.low[j]).Number(curve.band.high[j]);
    curves.EndRow();
  }
  tables.emplace_back("forecast.csv", curves.Take());

  if (calibration.holdout) {
    CsvText psse(separator);
    psse.Cell("Модель").Cell("PSSE").EndRow();
    psse.Cell("Имитационная модель").Number(calibration.holdout->psse.value_or(NAN)).EndRow();
    if (calibration.classic) {
      const FailureAnalysis& classic = *calibration.classic;
      for (std::size_t i = 0; i < classic.holdouts.size(); ++i) {
        psse.Cell(ModelName(classic.fits[i].model));
        psse.Number(classic.holdouts[i].psse.value_or(NAN)).EndRow();
      }
    }
    tables.emplace_back("holdout.csv", psse.Take());
  }
  return tables;
}

}  // namespace teravo
