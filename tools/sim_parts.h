#pragma once

#include <ostream>
#include <string>

#include "model/teravo.h"
#include "params/settings_form.h"
#include "play/play_host.h"
#include "play/series.h"
#include "play/sweep_values.h"
#include "tools/sim_options.h"

namespace teravo::sim {

// A long run split into parts that run anywhere, and their merge into the document the whole
// run prints. A part's header carries everything the merge needs and everything that tells
// one run from another; parts of one run differ in their range only.

// Plays options.plays of the series of `model` (accepted, K = FK) with the seeds and play
// numbers the whole run gives them, and prints them as a part.
int RunSeriesPart(const TTeravo& model, const PlayContext& context, const SeriesOptions& series,
                  const SimOptions& options, std::ostream& out, std::ostream& err);

// The header of a part of a sweep: points `range` of `table`, run from the texts in `form`.
std::string SweepPartHeader(const SettingsForm& form, const SweepTable& table, PartRange range);

// teravo-sim merge: checks that the parts are of one run and hold each play or point once,
// then prints the whole run's document, as the whole run forms it.
int RunMerge(const MergeOptions& options, std::ostream& out, std::ostream& err);

}  // namespace teravo::sim
