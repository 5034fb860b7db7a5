#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "model/teravo.h"
#include "params/settings_form.h"
#include "play/play_host.h"
#include "play/series.h"
#include "play/sweep_values.h"
#include "results/play_record.h"
#include "results/sweep_record.h"
#include "tools/sim_options.h"

namespace teravo::sim {

// A long run split into parts that run anywhere. A part's header carries everything the
// merge needs and everything that tells one run from another; parts of one run differ in
// their range only.

// Plays options.plays of the series of `model` (accepted, K = FK) with the seeds and play
// numbers the whole run gives them, and prints them as a part.
int RunSeriesPart(const TTeravo& model, const PlayContext& context, const SeriesOptions& series,
                  const SimOptions& options, std::ostream& out, std::ostream& err);

// The header of a part of a sweep: points `range` of `table`, run from the texts in `form`.
std::string SweepPartHeader(const SettingsForm& form, const SweepTable& table, PartRange range);

// One part as read: what it holds, and what it was run from.
struct Part {
  std::string path;
  std::string header;  // without the range, as JSON text: the same for every part of a run
  PartRange range;
  bool series = true;
  std::int32_t total = 0;  // plays of the series, or values of the sweep
  std::uint32_t seed = 0;
  char separator = ',';
  // A series.
  TParameters parameters;
  std::string timeText;
  std::optional<std::string> moment;
  bool keptPoints = true;
  std::vector<std::shared_ptr<PlayRecord>> plays;
  // A sweep.
  std::string edit;
  std::vector<std::string> values;
  std::vector<SweepPoint> points;
};

// Why files cannot be merged, told as it stands.
struct MergeRefusal {
  std::string text;
};

// Reads one part from its text, `path` naming it in refusals: every number must be one, each
// play must tell the parameters of the header, and the digest must match. Throws MergeRefusal.
Part ReadPartText(std::string_view text, const std::string& path);

// Reads the parts at `paths`, checks that they are of one run and hold each play or point of
// it once, and gives them in the order of their ranges. Throws MergeRefusal.
std::vector<Part> ReadParts(const std::vector<std::string>& paths);

}  // namespace teravo::sim
