#pragma once

#include <string>
#include <utility>
#include <vector>

#include "decisions/questions.h"

namespace teravo {

// The answers for spreadsheets, by file name: time_to_target.csv (the quantiles with their
// intervals, then each play's first time, empty when censored), staffing.csv (every count
// tried) and release_cost.csv (the cost curve with its band), the last two when asked.
std::vector<std::pair<std::string, std::string>> AnswerCsvTables(const Answers& answers,
                                                                 char separator);

}  // namespace teravo
