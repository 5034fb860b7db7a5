#pragma once

#include <string>

#include "results/distributions_record.h"
#include "results/play_record.h"
#include "results/sweep_record.h"

namespace teravo {

// Windows as CSV for spreadsheets: UTF-8 with a byte order mark, numbers with the window's
// decimal separator, fields separated by a semicolon when that separator is a comma (by a
// comma otherwise). A play or averages window gives its title and description, its thirteen
// figures (with their spread in an averages window) and every chart's points as columns; a
// distributions window its caption, moment and both histograms.
std::string PlayRecordCsv(const PlayRecord& record);
std::string DistributionsCsv(const DistributionsRecord& record);
// A sweep: one row per point with its value, its number of plays and every averaged figure
// with its spread; a refused point leaves the figures empty and gives its reason last.
std::string SweepCsv(const SweepTable& table);

}  // namespace teravo
