#pragma once

#include <cstdint>
#include <memory>

#include "model/parameters.h"
#include "play/command_outcome.h"
#include "play/play_host.h"
#include "play/series.h"
#include "ui/plays/staged_host.h"

namespace teravo {

class BackgroundJob;

// What a series leaves for the window thread: its windows, still to be opened in order,
// what became of it, and, once its plays were in, what the model is to show after it.
struct SeriesLeft {
  std::unique_ptr<StagedHost> windows = std::make_unique<StagedHost>();
  CommandOutcome outcome;
  bool opened = false;
  std::int32_t playCount = 0;
  bool showProgress = false;
};

// A series on a worker thread, with copies of everything it needs: it never touches the model
// or a window. It plays, then forms the averages and the distributions (OpenSeries on a
// stand-in model with the same parameters and a host that only records), which for a thousand
// plays takes most of a second; an abandoned series skips that. The job's stop stops the plays.
SeriesLeft PlaySeriesForWindows(const TParameters& parameters, const SeriesStart& start,
                                const PlayContext& context, SeriesOptions options,
                                const BackgroundJob& job);

}  // namespace teravo
