#include "calibration/fit_document.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "core/csv_text.h"
#include "core/number_text.h"
#include "reliability/analysis_texts.h"

namespace teravo {

namespace {

// A JSON text built in order; commas are placed by the caller's structure, not guessed.
class Json {
 public:
  void Raw(std::string_view text) { out_ += text; }
  void Key(std::string_view key) {
    Text(key);
    out_ += ':';
  }
  void Text(std::string_view text) {
    out_ += '"';
    for (char c : text) {
      if (c == '"' || c == '\\') out_ += '\\';
      if (c == '\n') {
        out_ += "\\n";
        continue;
      }
      out_ += c;
    }
    out_ += '"';
  }
  // JSON has no infinities or NaN: null.
  void Number(double value) {
    if (!std::isfinite(value)) {
      out_ += "null";
      return;
    }
    char buffer[32];
    out_.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
  }
  void Numbers(const std::vector<double>& values) {
    out_ += '[';
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (i > 0) out_ += ',';
      Number(values[i]);
    }
    out_ += ']';
  }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

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
  json.Raw("[");
  for (std::size_t i = 0; i < fit.estimates.size(); ++i) {
    const EditEstimate& e = fit.estimates[i];
    if (i > 0) json.Raw(",");
    json.Raw("{");
    json.Key("edit");
    json.Text(e.name);
    json.Raw(",");
    json.Key("estimate");
    json.Number(e.value);
    if (fit.uncertainty) {
      json.Raw(",");
      json.Key("low");
      json.Number(e.interval.low);
      json.Raw(",");
      json.Key("high");
      json.Number(e.interval.high);
      json.Raw(",");
      json.Key("identified");
      json.Raw(e.interval.identified ? "true" : "false");
    }
    json.Raw(",");
    json.Key("at_span_edge");
    json.Raw(e.atSpanEdge ? "true" : "false");
    json.Raw("}");
  }
  json.Raw("]");
}

void WriteUncertainty(Json& json, const FitUncertainty& u, const std::vector<FittedEdit>& edits) {
  json.Raw("{");
  json.Key("method");
  json.Text(kDevianceIntervalMethod);
  json.Raw(",");
  json.Key("dispersion");
  json.Number(u.dispersion);
  json.Raw(",");
  json.Key("deviance_rise");
  json.Number(u.threshold);
  json.Raw(",");
  json.Key("correlation");
  json.Raw("[");
  for (std::size_t i = 0; i < u.correlation.size(); ++i) {
    if (i > 0) json.Raw(",");
    json.Numbers(u.correlation[i]);
  }
  json.Raw("],");
  json.Key("combinations");
  json.Raw("[");
  for (std::size_t i = 0; i < u.combinations.size(); ++i) {
    const EditCombination& c = u.combinations[i];
    if (i > 0) json.Raw(",");
    json.Raw("{");
    json.Key("text");
    json.Text(CombinationText(c, edits));
    json.Raw(",");
    json.Key("estimate");
    json.Number(c.estimate);
    json.Raw(",");
    json.Key("low");
    json.Number(c.low);
    json.Raw(",");
    json.Key("high");
    json.Number(c.high);
    json.Raw(",");
    json.Key("correlation");
    json.Number(c.correlation);
    json.Raw("}");
  }
  json.Raw("],");
  json.Key("notes");
  json.Raw("[");
  for (std::size_t i = 0; i < u.notes.size(); ++i) {
    if (i > 0) json.Raw(",");
    json.Text(u.notes[i]);
  }
  json.Raw("]}");
}

void WriteHoldout(Json& json, const Calibration& calibration) {
  const SimulationHoldout& holdout = *calibration.holdout;
  json.Raw("{");
  json.Key("cut_time_days");
  json.Number(holdout.cutTime);
  json.Raw(",");
  json.Key("held_out_points");
  json.Raw(IntToStr(holdout.heldOutPoints));
  json.Raw(",");
  json.Key("psse");
  json.Raw("[{");
  json.Key("model");
  json.Text("simulation");
  json.Raw(",");
  json.Key("psse");
  json.Number(holdout.psse.value_or(NAN));
  if (holdout.fit) {
    json.Raw(",");
    json.Key("status");
    json.Text(SearchStatusText(holdout.fit->status));
  }
  json.Raw("}");
  if (calibration.classic) {
    for (const HoldoutFit& classic : calibration.classic->holdouts) {
      json.Raw(",{");
      json.Key("model");
      json.Text(classic.fit ? ModelKey(classic.fit->model) : "");
      json.Raw(",");
      json.Key("psse");
      json.Number(classic.psse.value_or(NAN));
      json.Raw("}");
    }
  }
  json.Raw("]}");
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
  json.Raw("{");
  json.Key("distance");
  json.Text(kDistanceName);
  json.Raw(",");
  json.Key("matched_curve");
  json.Text(settings.matched == MatchedCurve::Failures ? "failures" : "fixed_errors");
  json.Raw(",");
  json.Key("status");
  json.Text(SearchStatusText(fit.status));
  json.Raw(",");
  json.Key("integer_edits");
  json.Text("целые поля округляются внутри подбора; оценка — целое число, которое разыграно");
  json.Raw(",");
  json.Key("estimates");
  WriteEstimates(json, fit);
  if (fit.uncertainty) {
    json.Raw(",");
    json.Key("uncertainty");
    WriteUncertainty(json, *fit.uncertainty, settings.edits);
  }
  json.Raw(",");
  json.Key("goodness_of_fit");
  json.Raw("{");
  json.Key("deviance");
  json.Number(fit.distance);
  json.Raw(",");
  json.Key("match_points");
  json.Raw(IntToStr(static_cast<std::int64_t>(fit.points.times.size())));
  json.Raw(",");
  json.Key("points_in_band");
  json.Raw(IntToStr(calibration.forecast.pointsInBand));
  json.Raw(",");
  json.Key("band_coverage");
  json.Number(calibration.forecast.points > 0
                  ? static_cast<double>(calibration.forecast.pointsInBand) /
                        calibration.forecast.points
                  : NAN);
  json.Raw(",");
  json.Key("times");
  json.Numbers(fit.points.times);
  json.Raw(",");
  json.Key("observed");
  json.Numbers(fit.points.counts);
  json.Raw(",");
  json.Key("fitted_mean");
  json.Numbers(fit.fittedMean);
  json.Raw("},");
  json.Key("forecast");
  json.Raw("{");
  json.Key("horizon_end_days");
  json.Number(calibration.horizonEnd);
  json.Raw(",");
  json.Key("plays");
  json.Raw(IntToStr(calibration.forecast.plays));
  json.Raw(",");
  json.Key("times");
  json.Numbers(calibration.forecast.times);
  for (const ForecastCurve& curve : calibration.forecast.curves) {
    json.Raw(",");
    json.Key(CurveKey(curve.curve));
    json.Raw("{");
    json.Key("mean");
    json.Numbers(curve.band.mean);
    json.Raw(",");
    json.Key("low");
    json.Numbers(curve.band.low);
    json.Raw(",");
    json.Key("high");
    json.Numbers(curve.band.high);
    json.Raw("}");
  }
  json.Raw("}");
  if (calibration.holdout) {
    json.Raw(",");
    json.Key("holdout");
    WriteHoldout(json, calibration);
  }
  json.Raw(",");
  json.Key("work");
  json.Raw("{");
  json.Key("evaluations");
  json.Raw(IntToStr(fit.evaluations));
  json.Raw(",");
  json.Key("plays");
  json.Raw(IntToStr(fit.plays));
  json.Raw(",");
  json.Key("plays_per_evaluation");
  json.Raw(IntToStr(settings.plays));
  json.Raw(",");
  json.Key("first_seed");
  json.Raw(IntToStr(settings.firstSeed));
  json.Raw(",");
  json.Key("data_failures");
  json.Raw(IntToStr(data.FailureCount()));
  json.Raw(",");
  json.Key("stopped");
  json.Raw(calibration.stopped ? "true" : "false");
  json.Raw("}}\n");
  return json.Take();
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
