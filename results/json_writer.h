#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "results/distributions_record.h"
#include "results/play_record.h"
#include "results/sweep_record.h"

namespace teravo {

// The windows of a run, as its document holds them.
struct RunWindows {
  std::vector<std::shared_ptr<PlayRecord>> plays;      // in play order
  std::shared_ptr<PlayRecord> averages;                // a series only
  std::shared_ptr<DistributionsRecord> distributions;  // a series only
};

// The whole run as one JSON document: every play window, and for a series the averages
// window and the distributions window. Without point arrays the charts are left out.
void WriteRunJson(const RunWindows& run, bool pointArrays, std::ostream& out);
std::string RunJson(const RunWindows& run, bool pointArrays);

// One play window exactly as the whole run writes it.
std::string PlayWindowJson(const PlayRecord& record, bool pointArrays);

// A part of a series: its header (a JSON object), then its play windows, each on a line of
// its own as in the whole run, then the digest of all that (part_digest.h).
void WritePlaysPartJson(std::string_view header,
                        const std::vector<std::shared_ptr<PlayRecord>>& plays, bool pointArrays,
                        std::ostream& out);

// A sweep: the swept edit, the first seed, the values and every point, one line each. A part
// of a sweep gives its header first (empty for a whole run), only its own points and, last,
// its digest.
void WriteSweepJson(const SweepTable& table, std::ostream& out, std::string_view partHeader = {});

}  // namespace teravo
