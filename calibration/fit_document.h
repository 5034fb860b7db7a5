#pragma once

#include <string>

#include "calibration/calibration.h"

namespace teravo {

// A calibration as one JSON document: the distance and the interval method by name, each
// edit's estimate with its interval and whether the data fix it, the notes on what they do
// not fix, the correlation, the goodness of fit and the band's coverage, the forecast curves,
// the holdout PSSE beside the classic models', the search's status and its work. Numbers are
// the shortest texts that read back to the same double.
std::string CalibrationJson(const Calibration& calibration, const CalibrationSettings& settings,
                            const FailureData& data);

}  // namespace teravo
