#pragma once

#include <memory>
#include <vector>

#include "model/teravo.h"
#include "play/command_outcome.h"
#include "play/play_host.h"

namespace teravo {

inline constexpr std::string_view kAveragesTitle = "Средние значения за все розыгрышы";

// Runs FK plays with minimised windows, then opens the averages window and the
// distributions window and recomputes the distributions once; returns what became of that
// recompute.
CommandOutcome PlayMultiple(TTeravo& model, PlayHost& host, const PlayContext& context);

// The averages of a series: the means of the twelve result fields of the plays, read back
// from their texts (integer means to the nearest integer, a tie to the even neighbour), and
// the point-by-point means of their five series. edCurTime is left to the caller.
void FormAverages(const std::vector<std::shared_ptr<PlayRecord>>& plays, PlayRecord& averages);

}  // namespace teravo
