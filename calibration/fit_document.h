#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calibration/calibration.h"

namespace teravo {

// A calibration as one JSON document: the distance and the interval method by name, each
// edit's estimate with its interval and whether the data fix it, the notes on what they do
// not fix, the correlation, the goodness of fit and the band's coverage, the forecast curves,
// the holdout PSSE beside the classic models', the search's status and its work. Numbers are
// the shortest texts that read back to the same double.
std::string CalibrationJson(const Calibration& calibration, const CalibrationSettings& settings,
                            const FailureData& data);

// "сошлось", "не сошлось", "остановлено".
std::string_view SearchStatusText(SearchStatus status);

// The same for spreadsheets, by file name: estimates.csv (with the products and ratios the
// data fix), goodness.csv, fit.csv (the observed points and the fitted mean), forecast.csv
// (each curve's mean and band) and, with a holdout, holdout.csv (the PSSE beside the classic
// models'). Numbers with `separator`.
std::vector<std::pair<std::string, std::string>> CalibrationCsvTables(
    const Calibration& calibration, const CalibrationSettings& settings, char separator);

}  // namespace teravo
