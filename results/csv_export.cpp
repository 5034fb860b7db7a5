#include "results/csv_export.h"

#include <algorithm>
#include <vector>

#include "core/csv_text.h"
#include "core/number_text.h"

namespace teravo {

namespace {

// Columns of (x, y) pairs side by side, as many rows as the longest series has points.
void AppendColumns(CsvText& csv,
                   const std::vector<std::pair<std::string, const ChartSeries*>>& columns) {
  std::vector<ChartSeries::Points> points;
  std::size_t rows = 0;
  for (const auto& [name, series] : columns) {
    csv.Cell(name + " x").Cell(name + " y");
    points.push_back(series->AllPoints());
    rows = std::max(rows, points.back().xs.size());
  }
  csv.EndRow();
  for (std::size_t row = 0; row < rows; ++row) {
    for (const ChartSeries::Points& p : points) {
      if (row < p.xs.size()) {
        csv.Number(p.xs[row]).Number(p.ys[row]);
      } else {
        csv.Cell("").Cell("");
      }
    }
    csv.EndRow();
  }
}

}  // namespace

std::string PlayRecordCsv(const PlayRecord& record) {
  CsvText csv(record.Separator());
  csv.Cell(record.Title).EndRow();
  for (const std::string& line : record.BeginSettings) csv.Cell(line).EndRow();
  csv.EndRow();

  const bool withSpread = std::any_of(record.Spreads.begin(), record.Spreads.end(),
                                      [](const auto& spread) { return spread.has_value(); });
  csv.Cell("Показатель").Cell("Значение");
  if (withSpread) csv.Cell("СКО").Cell("Полуширина 95 % интервала");
  csv.EndRow();
  for (const ResultField& row : ResultFields()) {
    csv.Cell(row.name).Cell(record.Text(row.field));
    if (const auto& spread = record.Spreads[static_cast<std::size_t>(row.field)]) {
      csv.Real(spread->deviation).Real(spread->halfWidth);
    }
    csv.EndRow();
  }
  csv.EndRow();

  std::vector<std::pair<std::string, const ChartSeries*>> columns;
  for (const ResultChart& row : ResultCharts()) {
    const std::string name(row.name);
    const auto at = static_cast<std::size_t>(row.chart);
    columns.emplace_back(name, &record.Series(row.chart));
    if (record.BandLow[at].Count() > 0) {
      columns.emplace_back(name + " 5 %", &record.BandLow[at]);
      columns.emplace_back(name + " 95 %", &record.BandHigh[at]);
    }
  }
  AppendColumns(csv, columns);
  return csv.Take();
}

std::string DistributionsCsv(const DistributionsRecord& record) {
  CsvText csv(record.Separator());
  csv.Cell(record.Caption).EndRow();
  csv.Cell("Время (сутки)").Cell(record.CurTimeText).EndRow();
  csv.EndRow();
  AppendColumns(csv, {{"chWorkClients", &record.WorkClients},
                      {"chErrorsInClients", &record.ErrorsInClients},
                      {"chFailures", &record.Failures}});
  return csv.Take();
}

std::string SweepCsv(const SweepTable& table) {
  CsvText csv(table.separator);
  csv.Cell("Исследование параметра " + table.edit).EndRow();
  csv.Cell("Начальное значение датчика: " + IntToStr(table.seed)).EndRow();
  csv.EndRow();
  csv.Cell("Точка").Cell(table.edit).Cell("Розыгрышей");
  for (const ResultField& row : ResultFields()) {
    if (!row.averaged) continue;
    const std::string name(row.name);
    csv.Cell(name).Cell(name + " СКО").Cell(name + " полуширина 95 %");
  }
  csv.Cell("Отказ").EndRow();
  for (const SweepPoint& point : table.points) {
    csv.Cell(IntToStr(point.index)).Cell(point.value);
    csv.Cell(point.refused ? std::string() : IntToStr(point.plays));
    for (const ResultField& row : ResultFields()) {
      if (!row.averaged) continue;
      if (point.refused) {
        csv.Cell("").Cell("").Cell("");
        continue;
      }
      csv.Cell(MeanText(row.field, point.Mean(row.field), table.separator));
      if (const auto& spread = point.SpreadOf(row.field)) {
        csv.Real(spread->deviation).Real(spread->halfWidth);
      } else {
        csv.Cell("").Cell("");
      }
    }
    csv.Cell(point.refused.value_or("")).EndRow();
  }
  return csv.Take();
}

}  // namespace teravo
