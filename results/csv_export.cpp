#include "results/csv_export.h"

#include <algorithm>
#include <vector>

#include "core/csv_text.h"
#include "core/number_text.h"

namespace teravo {

namespace {

// A chart's points as two columns: the x and y titles for people head them, the identifier
// with " x" and " y" for scripts goes in the second header row.
struct ChartColumns {
  std::string xTitle;
  std::string yTitle;
  std::string id;
  const ChartSeries* series;
};

// Columns of (x, y) pairs side by side, as many rows as the longest series has points.
void AppendColumns(CsvText& csv, const std::vector<ChartColumns>& columns) {
  std::vector<ChartSeries::Points> points;
  std::size_t rows = 0;
  for (const ChartColumns& column : columns) csv.Cell(column.xTitle).Cell(column.yTitle);
  csv.EndRow();
  for (const ChartColumns& column : columns) {
    csv.Cell(column.id + " x").Cell(column.id + " y");
    points.push_back(column.series->AllPoints());
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

std::string XTitle(const ResultChart& chart) {
  return std::string(chart.title) +
         (chart.overTime ? ": время (сутки)" : ": участок положения ошибки (сотые доли)");
}

}  // namespace

std::string PlayRecordCsv(const PlayRecord& record) {
  CsvText csv(record.Separator());
  csv.Cell(record.Title).EndRow();
  for (const std::string& line : record.BeginSettings) csv.Cell(line).EndRow();
  csv.EndRow();

  const bool withSpread = std::any_of(record.Spreads.begin(), record.Spreads.end(),
                                      [](const auto& spread) { return spread.has_value(); });
  const bool withExact = std::any_of(record.ExactMeans.begin(), record.ExactMeans.end(),
                                     [](const auto& mean) { return mean.has_value(); });
  csv.Cell("Показатель").Cell("Идентификатор").Cell("Значение");
  if (withExact) csv.Cell("Точное среднее");
  if (withSpread) csv.Cell("СКО").Cell("Полуширина 95 % интервала");
  csv.EndRow();
  csv.Cell("title").Cell("name").Cell("value");
  if (withExact) csv.Cell("exactMean");
  if (withSpread) csv.Cell("deviation").Cell("halfWidth");
  csv.EndRow();
  for (const ResultField& row : ResultFields()) {
    const auto at = static_cast<std::size_t>(row.field);
    csv.Cell(TitleWithUnit(row)).Cell(row.name).Cell(record.Text(row.field));
    if (withExact) {
      if (const auto& mean = record.ExactMeans[at]) {
        csv.Real(*mean);
      } else {
        csv.Cell("");
      }
    }
    if (const auto& spread = record.Spreads[at]) {
      csv.Real(spread->deviation).Real(spread->halfWidth);
    }
    csv.EndRow();
  }
  csv.EndRow();

  std::vector<ChartColumns> columns;
  for (const ResultChart& row : ResultCharts()) {
    const std::string name(row.name);
    const std::string title(row.title);
    const auto at = static_cast<std::size_t>(row.chart);
    columns.push_back({XTitle(row), title, name, &record.Series(row.chart)});
    if (record.BandLow[at].Count() > 0) {
      columns.push_back({XTitle(row), title + ": 5 %", name + " 5 %", &record.BandLow[at]});
      columns.push_back({XTitle(row), title + ": 95 %", name + " 95 %", &record.BandHigh[at]});
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
  AppendColumns(
      csv,
      {{"Число рабочих клиентов", "Доля розыгрышей", "chWorkClients", &record.WorkClients},
       {"Число ошибок в клиентах", "Доля розыгрышей", "chErrorsInClients", &record.ErrorsInClients},
       {"Отказов к моменту", "Доля розыгрышей", "chFailures", &record.Failures}});
  return csv.Take();
}

std::string SweepCsv(const SweepTable& table, const SweepCsvDetails& details) {
  CsvText csv(table.separator);
  csv.Cell("Исследование параметра " + table.edit).EndRow();
  csv.Cell("Начальное значение датчика: " + IntToStr(table.seed)).EndRow();
  for (const std::string& line : details.beginSettings) csv.Cell(line).EndRow();
  csv.EndRow();
  csv.Cell("Точка").Cell(details.editTitle.empty() ? table.edit : details.editTitle);
  csv.Cell("Розыгрышей");
  for (const ResultField& row : ResultFields()) {
    if (!row.averaged) continue;
    const std::string title = TitleWithUnit(row);
    csv.Cell(title).Cell(title + ": СКО").Cell(title + ": полуширина 95 %");
  }
  csv.Cell("Отказ").EndRow();
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
      csv.Real(point.ExactMean(row.field));
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
