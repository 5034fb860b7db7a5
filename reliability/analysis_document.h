#pragma once

#include <string>
#include <utility>
#include <vector>

#include "reliability/failure_analysis.h"

namespace teravo {

// An analysis as one JSON document: the data's summary, the trend with its running series,
// every model's fit (a fit that did not converge gives its status and no numbers), the
// holdout, both rankings and the predictions with what was asked. Numbers are JSON numbers,
// the shortest text that reads back to the same double; a prediction never reached is null.
std::string AnalysisJson(const FailureData& data, const FailureAnalysis& analysis,
                         const AnalysisOptions& options);

// The same as tables for spreadsheets, file name and text (see CsvText): data.csv,
// trend.csv, models.csv, estimates.csv, ranking.csv, predictions.csv, curves.csv and
// reliability.csv, with Russian headers.
using CsvTables = std::vector<std::pair<std::string, std::string>>;
CsvTables AnalysisCsvTables(const FailureData& data, const FailureAnalysis& analysis,
                            const AnalysisOptions& options, char decimalSeparator);

// The headers of the prediction columns, which name what was asked ("Отказов за 7 сут").
std::vector<std::string> PredictionHeaders(const PredictionRequest& request, char separator);

}  // namespace teravo
