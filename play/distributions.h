#pragma once

#include <cstdint>

#include "play/command_outcome.h"
#include "results/distributions_record.h"

namespace teravo {

class PlayHost;

// Whether the moment in CurTimeText can be shown: refused when negative or beyond the play
// time; otherwise `index` (when given) is the step it stands for. A moment that is not a
// number throws GeneralError.
CommandOutcome CheckMoment(const DistributionsRecord& record, std::int64_t* index = nullptr);

// The recompute button (edRecallClick; also the first recompute of a series): the two histograms at
// the moment in CurTimeText over the plays still open. A moment that is not a number throws
// GeneralError; a negative one or one beyond the play time is refused with its message. Both
// leave the histograms as they were.
CommandOutcome RecomputeDistributions(DistributionsRecord& record, PlayHost& host);
// The delete button (buDeleteClick): closes every play window of the series; the averages and
// distributions windows stay.
void CloseSeriesPlays(DistributionsRecord& record, PlayHost& host);

}  // namespace teravo
