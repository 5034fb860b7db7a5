#pragma once

#include <string>
#include <vector>

#include "results/distributions_record.h"
#include "results/play_record.h"
#include "results/sweep_record.h"

namespace teravo {

// Windows as CSV for spreadsheets: UTF-8 with a byte order mark, numbers with the window's
// decimal separator, fields separated by a semicolon when that separator is a comma (by a
// comma otherwise). Every table has two header rows: names for people, then identifiers for
// scripts. A play or averages window gives its title and description, its thirteen figures
// (with the unrounded means and their spread in an averages window) and every chart's points
// as columns; a distributions window its caption, moment and histograms.
std::string PlayRecordCsv(const PlayRecord& record);
std::string DistributionsCsv(const DistributionsRecord& record);

// What a sweep's window knows beyond its table. By default the table is written as a sweep
// merged from its parts would be, which does not know the parameters the points started from.
struct SweepCsvDetails {
  std::string editTitle;  // the swept edit's caption; its identifier stands in when empty
  std::vector<std::string> beginSettings;  // the parameters every point started from
};
// A sweep: its seed (and starting parameters), then one row per point with its value, its
// number of plays and every averaged figure's unrounded mean with its spread; a refused point
// leaves the figures empty and gives its reason last.
std::string SweepCsv(const SweepTable& table, const SweepCsvDetails& details = {});

}  // namespace teravo
