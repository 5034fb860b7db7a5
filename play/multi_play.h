#pragma once

#include <memory>
#include <vector>

#include "model/teravo.h"
#include "play/command_outcome.h"
#include "play/play_host.h"
#include "play/series.h"

namespace teravo {

inline constexpr std::string_view kAveragesTitle = "Средние значения за все розыгрышы";

inline constexpr std::string_view kSeriesStoppedEmpty =
    "Многократный розыгрыш остановлен: ни один розыгрыш не был доигран до конца.";

// Opens what a series leaves, on the window thread: the windows of its finished plays,
// minimised, in play order, then the averages window and the distributions window, and
// recomputes the distributions once; returns what became of that recompute. A failed play
// opens its window too and then its error is rethrown; a series stopped before its first
// play ended opens nothing and is refused with kSeriesStoppedEmpty.
CommandOutcome OpenSeries(TTeravo& model, PlayHost& host, const PlayContext& context,
                          const SeriesStart& start, SeriesPlays&& plays);

// A whole series on the calling thread: FK plays (on worker threads), then OpenSeries.
CommandOutcome PlayMultiple(TTeravo& model, PlayHost& host, const PlayContext& context,
                            const SeriesOptions& options = {});

}  // namespace teravo
