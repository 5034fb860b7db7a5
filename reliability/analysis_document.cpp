#include "reliability/analysis_document.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

#include "core/csv_text.h"
#include "core/number_text.h"
#include "reliability/analysis_curves.h"
#include "reliability/analysis_texts.h"
#include "reliability/json_text.h"

namespace teravo {

namespace {

// The place of a model in a ranking, from 1; 0 when it is not ranked.
int PlaceOf(const std::vector<GrowthModel>& ranking, GrowthModel model) {
  const auto at = std::find(ranking.begin(), ranking.end(), model);
  return at == ranking.end() ? 0 : static_cast<int>(at - ranking.begin()) + 1;
}

bool Converged(const ModelFit& fit) {
  return fit.status == FitStatus::Converged;
}

void WriteData(JsonText& json, const FailureData& data) {
  json.Key("data").Open('{');
  json.Key("layout").Text(LayoutKey(data.layout));
  json.Key("unit").Text(UnitKey(data.unit));
  json.Key("failures").Integer(data.FailureCount());
  json.Key("points").Integer(
      static_cast<std::int64_t>(data.IsCounts() ? data.counts.size() : data.times.size()));
  json.Key("span_days").Number(data.LastTime());
  json.Key("ignored_columns").Open('[');
  for (const std::string& column : data.ignored_columns) json.Text(column);
  json.Close(']').Close('}');
}

void WriteTrend(JsonText& json, const TrendAnalysis& trend) {
  json.Key("trend").Open('{');
  json.Key("laplace_factor").Number(trend.laplace_factor);
  json.Key("reading").Text(TrendReadingText(trend.reading));
  json.Key("running_laplace").Points(trend.running_laplace);
  json.Key("running_mean_time_between_failures").Points(trend.running_mean_time_between_failures);
  json.Close('}');
}

void WriteFit(JsonText& json, const ModelFit& fit) {
  json.Open('{');
  json.Key("model").Text(ModelKey(fit.model));
  json.Key("name").Text(ModelName(fit.model));
  json.Key("status").Text(FitStatusText(fit.status));
  if (Converged(fit)) {
    json.Key("estimates").Open('[');
    const auto symbols = ParameterSymbols(fit.model);
    for (std::size_t i = 0; i < fit.estimates.size(); ++i) {
      const ParameterEstimate& estimate = fit.estimates[i];
      json.Open('{').Key("parameter").Text(symbols[i]).Key("value").Number(estimate.value);
      json.Key("lower_95").Optional(estimate.lower).Key("upper_95").Optional(estimate.upper);
      json.Close('}');
    }
    json.Close(']');
    json.Key("interval_method").Text(kIntervalMethod);
    json.Key("log_likelihood").Number(fit.log_likelihood);
    json.Key("log_likelihood_in_file_unit").Number(fit.log_likelihood_in_file_unit);
    json.Key("aic").Number(fit.aic).Key("bic").Number(fit.bic);
    json.Key("ks_distance").Number(fit.ks_distance);
  }
  json.Close('}');
}

void WriteHoldout(JsonText& json, const FailureAnalysis& analysis, double share) {
  json.Key("holdout").Open('{');
  json.Key("share").Number(share);
  json.Key("cut_days").Number(analysis.holdouts.empty() ? 0 : analysis.holdouts[0].cut_time);
  json.Key("models").Open('[');
  for (std::size_t i = 0; i < analysis.holdouts.size(); ++i) {
    const HoldoutFit& holdout = analysis.holdouts[i];
    json.Open('{').Key("model").Text(ModelKey(analysis.fits[i].model));
    json.Key("held_out_points").Integer(holdout.held_out_points);
    json.Key("status");
    if (holdout.fit) {
      json.Text(FitStatusText(holdout.fit->status));
    } else {
      json.Null();
    }
    json.Key("psse").Optional(holdout.psse).Close('}');
  }
  json.Close(']').Close('}');
}

void WriteRanking(JsonText& json, const ModelRanking& ranking) {
  json.Key("ranking").Open('{');
  for (const auto& [key, models] :
       {std::pair{"by_aic", &ranking.by_aic}, std::pair{"by_psse", &ranking.by_psse}}) {
    json.Key(key).Open('[');
    for (const GrowthModel model : *models) json.Text(ModelKey(model));
    json.Close(']');
  }
  json.Close('}');
}

void WritePredictions(JsonText& json, const FailureAnalysis& analysis,
                      const PredictionRequest& request) {
  json.Key("predictions").Open('{');
  json.Key("request").Open('{');
  json.Key("horizon_days").Number(request.horizon);
  json.Key("next_failures").Number(request.next_failures);
  json.Key("target_intensity_per_day").Number(request.target_intensity);
  json.Key("mission_days").Number(request.mission_time);
  json.Key("target_reliability").Number(request.target_reliability);
  json.Close('}');
  json.Key("models").Open('[');
  for (std::size_t i = 0; i < analysis.predictions.size(); ++i) {
    const auto& prediction = analysis.predictions[i];
    if (!prediction) continue;
    json.Open('{').Key("model").Text(ModelKey(analysis.fits[i].model));
    json.Key("expected_failures_in_horizon").Number(prediction->expected_failures_in_horizon);
    json.Key("time_to_next_failures_days").Optional(prediction->time_to_next_failures);
    json.Key("current_intensity_per_day").Number(prediction->current_intensity);
    json.Key("time_to_target_intensity_days").Optional(prediction->time_to_target_intensity);
    json.Key("reliability_now").Number(prediction->reliability_now);
    json.Key("test_time_to_target_reliability_days")
        .Optional(prediction->test_time_to_target_reliability);
    json.Close('}');
  }
  json.Close(']').Close('}');
}

std::string DataTable(const FailureData& data, char separator) {
  CsvText csv(separator);
  auto line = [&](std::size_t i) {
    if (i < data.source_lines.size()) {
      csv.Cell(IntToStr(data.source_lines[i]));
    } else {
      csv.Cell("");
    }
  };
  if (data.IsCounts()) {
    csv.Cell("№").Cell("Конец интервала, сутки").Cell("Отказов в интервале");
    csv.Cell("Отказов нарастающим итогом").Cell("Строка файла").EndRow();
    std::int64_t total = 0;
    for (std::size_t i = 0; i < data.counts.size(); ++i) {
      total += data.counts[i];
      csv.Cell(IntToStr(static_cast<std::int64_t>(i + 1))).Number(data.interval_ends[i]);
      csv.Cell(IntToStr(data.counts[i])).Cell(IntToStr(total));
      line(i);
      csv.EndRow();
    }
  } else {
    csv.Cell("№").Cell("Время отказа, сутки").Cell("Отказов нарастающим итогом");
    csv.Cell("Строка файла").EndRow();
    for (std::size_t i = 0; i < data.times.size(); ++i) {
      const std::string number = IntToStr(static_cast<std::int64_t>(i + 1));
      csv.Cell(number).Number(data.times[i]).Cell(number);
      line(i);
      csv.EndRow();
    }
  }
  return csv.Take();
}

std::string TrendTable(const TrendAnalysis& trend, char separator) {
  CsvText csv(separator);
  csv.Cell("Фактор Лапласа").Number(trend.laplace_factor).EndRow();
  csv.Cell("Вывод").Cell(TrendReadingText(trend.reading)).EndRow();
  csv.EndRow();
  csv.Cell("Ряд").Cell("Время, сутки").Cell("Значение").EndRow();
  for (const auto& [name, points] : {std::pair{"Фактор Лапласа", &trend.running_laplace},
                                     std::pair{"Средняя наработка между отказами, сутки",
                                               &trend.running_mean_time_between_failures}}) {
    for (const SeriesPoint& point : *points)
      csv.Cell(name).Number(point.x).Number(point.y).EndRow();
  }
  return csv.Take();
}

std::string ModelsTable(const FailureAnalysis& analysis, char separator) {
  CsvText csv(separator);
  for (const char* header : {"Модель", "Состояние", "Логарифм правдоподобия", "AIC", "BIC",
                             "Расстояние Колмогорова–Смирнова", "Состояние на части данных", "PSSE",
                             "Место по AIC", "Место по PSSE"})
    csv.Cell(header);
  csv.EndRow();
  for (std::size_t i = 0; i < analysis.fits.size(); ++i) {
    const ModelFit& fit = analysis.fits[i];
    csv.Cell(ModelName(fit.model)).Cell(FitStatusText(fit.status));
    if (Converged(fit)) {
      csv.Number(fit.log_likelihood).Number(fit.aic).Number(fit.bic).Number(fit.ks_distance);
    } else {
      csv.Cell("").Cell("").Cell("").Cell("");
    }
    const HoldoutFit* holdout = i < analysis.holdouts.size() ? &analysis.holdouts[i] : nullptr;
    csv.Cell(holdout && holdout->fit ? FitStatusText(holdout->fit->status) : "");
    if (holdout && holdout->psse) {
      csv.Number(*holdout->psse);
    } else {
      csv.Cell("");
    }
    for (const auto* ranking : {&analysis.ranking.by_aic, &analysis.ranking.by_psse}) {
      const int place = PlaceOf(*ranking, fit.model);
      csv.Cell(place > 0 ? IntToStr(place) : "");
    }
    csv.EndRow();
  }
  return csv.Take();
}

std::string EstimatesTable(const FailureAnalysis& analysis, char separator) {
  CsvText csv(separator);
  csv.Cell("Модель").Cell("Параметр").Cell("Оценка").Cell("Нижняя граница 95 %");
  csv.Cell("Верхняя граница 95 %").EndRow();
  for (const ModelFit& fit : analysis.fits) {
    if (!Converged(fit)) continue;
    const auto symbols = ParameterSymbols(fit.model);
    for (std::size_t i = 0; i < fit.estimates.size(); ++i) {
      const ParameterEstimate& estimate = fit.estimates[i];
      csv.Cell(ModelName(fit.model)).Cell(ParameterText(symbols[i])).Number(estimate.value);
      for (const auto& bound : {estimate.lower, estimate.upper}) {
        if (bound) {
          csv.Number(*bound);
        } else {
          csv.Cell("");
        }
      }
      csv.EndRow();
    }
  }
  csv.EndRow();
  csv.Cell("Время в сутках; интервалы " + std::string(kIntervalMethod)).EndRow();
  return csv.Take();
}

std::string RankingTable(const ModelRanking& ranking, char separator) {
  CsvText csv(separator);
  csv.Cell("Место").Cell("По AIC").Cell("По PSSE").EndRow();
  const std::size_t rows = std::max(ranking.by_aic.size(), ranking.by_psse.size());
  for (std::size_t i = 0; i < rows; ++i) {
    csv.Cell(IntToStr(static_cast<std::int64_t>(i + 1)));
    for (const auto* models : {&ranking.by_aic, &ranking.by_psse})
      csv.Cell(i < models->size() ? ModelName((*models)[i]) : "");
    csv.EndRow();
  }
  return csv.Take();
}

std::string PredictionsTable(const FailureAnalysis& analysis, const PredictionRequest& request,
                             char separator) {
  CsvText csv(separator);
  csv.Cell("Модель").Cell("Состояние");
  for (const std::string& header : PredictionHeaders(request, separator)) csv.Cell(header);
  csv.EndRow();
  auto optional = [&](const std::optional<double>& value) {
    if (value) {
      csv.Number(*value);
    } else {
      csv.Cell(kNotReached);
    }
  };
  for (std::size_t i = 0; i < analysis.fits.size(); ++i) {
    const ModelFit& fit = analysis.fits[i];
    csv.Cell(ModelName(fit.model)).Cell(FitStatusText(fit.status));
    if (i < analysis.predictions.size() && analysis.predictions[i]) {
      const ModelPrediction& p = *analysis.predictions[i];
      csv.Number(p.expected_failures_in_horizon);
      optional(p.time_to_next_failures);
      csv.Number(p.current_intensity);
      optional(p.time_to_target_intensity);
      csv.Number(p.reliability_now);
      optional(p.test_time_to_target_reliability);
    }
    csv.EndRow();
  }
  return csv.Take();
}

// The models' curves share their x: one column of it, then one column per model and curve.
std::string CurvesTable(const AnalysisCurves& curves, bool reliability, char separator) {
  CsvText csv(separator);
  csv.Cell(reliability ? "Время миссии x, сутки" : "Время, сутки");
  for (const ModelCurves& model : curves.models) {
    const std::string name(ModelName(model.model));
    if (reliability) {
      csv.Cell("R(x | T), " + name);
    } else {
      csv.Cell("m(t), " + name).Cell("λ(t), 1/сутки, " + name);
    }
  }
  csv.EndRow();
  if (curves.models.empty()) return csv.Take();
  const auto& grid = reliability ? curves.models[0].reliability : curves.models[0].mean_value;
  for (std::size_t row = 0; row < grid.size(); ++row) {
    csv.Number(grid[row].x);
    for (const ModelCurves& model : curves.models) {
      if (reliability) {
        csv.Number(model.reliability[row].y);
      } else {
        csv.Number(model.mean_value[row].y).Number(model.intensity[row].y);
      }
    }
    csv.EndRow();
  }
  return csv.Take();
}

}  // namespace

std::vector<std::string> PredictionHeaders(const PredictionRequest& request, char separator) {
  auto text = [separator](double value) { return FloatToStr(value, separator); };
  return {"Отказов за следующие " + text(request.horizon) + " сут",
          "Время до " + text(request.next_failures) + " следующих отказов, сутки",
          "Текущая интенсивность, 1/сутки",
          "Время до интенсивности " + text(request.target_intensity) + " 1/сутки, сутки",
          "Надежность на " + text(request.mission_time) + " сут",
          "Время испытаний до надежности " + text(request.target_reliability) + ", сутки"};
}

std::string AnalysisJson(const FailureData& data, const FailureAnalysis& analysis,
                         const AnalysisOptions& options) {
  JsonText json;
  json.Open('{');
  WriteData(json, data);
  WriteTrend(json, analysis.trend);
  json.Key("fits").Open('[');
  for (const ModelFit& fit : analysis.fits) WriteFit(json, fit);
  json.Close(']');
  WriteHoldout(json, analysis, options.holdout_share);
  WriteRanking(json, analysis.ranking);
  WritePredictions(json, analysis, options.prediction);
  json.Close('}');
  return json.Take();
}

CsvTables AnalysisCsvTables(const FailureData& data, const FailureAnalysis& analysis,
                            const AnalysisOptions& options, char decimalSeparator) {
  const AnalysisCurves curves = CurvesOf(data, analysis, options);
  return {
      {"data.csv", DataTable(data, decimalSeparator)},
      {"trend.csv", TrendTable(analysis.trend, decimalSeparator)},
      {"models.csv", ModelsTable(analysis, decimalSeparator)},
      {"estimates.csv", EstimatesTable(analysis, decimalSeparator)},
      {"ranking.csv", RankingTable(analysis.ranking, decimalSeparator)},
      {"predictions.csv", PredictionsTable(analysis, options.prediction, decimalSeparator)},
      {"curves.csv", CurvesTable(curves, false, decimalSeparator)},
      {"reliability.csv", CurvesTable(curves, true, decimalSeparator)},
  };
}

}  // namespace teravo
