#include "decisions/answer_tables.h"

#include "core/csv_text.h"

namespace teravo {

namespace {

void QuantileRow(CsvText& csv, const QuantileAnswer& answer) {
  csv.Number(answer.probability);
  answer.time ? csv.Number(*answer.time) : csv.Cell("не достигнута");
  answer.low ? csv.Number(*answer.low) : csv.Cell("не достигнута");
  answer.high ? csv.Number(*answer.high) : csv.Cell("не достигнута");
  csv.Number(answer.coverage).EndRow();
}

std::string TimeTable(const Answers& answers, char separator) {
  CsvText csv(separator);
  csv.Cell("вероятность").Cell("срок, сут.").Cell("интервал от, сут.").Cell("интервал до, сут.");
  csv.Cell("доверие интервала").EndRow();
  QuantileRow(csv, answers.time.answer);
  for (const QuantileAnswer& quantile : answers.time.quantiles) QuantileRow(csv, quantile);
  csv.EndRow();
  csv.Cell("розыгрыш").Cell("цель достигнута, сут.").EndRow();
  for (std::size_t k = 0; k < answers.firstTimes.size(); ++k) {
    csv.Number(static_cast<double>(k + 1));
    answers.firstTimes[k] ? csv.Number(*answers.firstTimes[k]) : csv.Cell("не достигнута");
    csv.EndRow();
  }
  return csv.Take();
}

std::string StaffingTable(const Staffing& staffing, char separator) {
  CsvText csv(separator);
  csv.Cell("программистов").Cell("посевы").Cell("розыгрышей").Cell("достигли к сроку");
  csv.Cell("вероятность").EndRow();
  for (const StaffingTrial& trial : staffing.trials) {
    csv.Number(trial.programmers).Cell(trial.freshSeeds ? "новые (проверка)" : "общие");
    csv.Number(trial.plays).Number(trial.reached).Number(trial.Share()).EndRow();
  }
  return csv.Take();
}

std::string CostTable(const ReleaseCost& cost, char separator) {
  CsvText csv(separator);
  csv.Cell("выпуск, сут.").Cell("средняя стоимость").Cell("5 %").Cell("95 %").EndRow();
  for (std::size_t j = 0; j < cost.times.size(); ++j) {
    csv.Number(cost.times[j]).Number(cost.mean[j]).Number(cost.low[j]).Number(cost.high[j]);
    csv.EndRow();
  }
  return csv.Take();
}

}  // namespace

std::vector<std::pair<std::string, std::string>> AnswerCsvTables(const Answers& answers,
                                                                 char separator) {
  std::vector<std::pair<std::string, std::string>> tables;
  tables.emplace_back("time_to_target.csv", TimeTable(answers, separator));
  if (answers.staffing)
    tables.emplace_back("staffing.csv", StaffingTable(*answers.staffing, separator));
  if (answers.cost) tables.emplace_back("release_cost.csv", CostTable(*answers.cost, separator));
  return tables;
}

}  // namespace teravo
