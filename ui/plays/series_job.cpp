#include "ui/plays/series_job.h"

#include <utility>

#include "model/seed_source.h"
#include "play/multi_play.h"
#include "ui/common/background_run.h"

namespace teravo {

SeriesLeft PlaySeriesForWindows(const TParameters& parameters, const SeriesStart& start,
                                const PlayContext& context, SeriesOptions options,
                                const BackgroundJob& job) {
  SeriesLeft left;
  left.outcome = Guarded([&] {
    options.stop = job.Stop();
    SeriesPlays plays = RunSeriesPlays(parameters, start, context, options);
    if (job.Abandoned()) return CommandOutcome::Ran();
    // The model itself stays with the window thread: OpenSeries reads only the parameters
    // and sets the play count, which goes back with the rest.
    TTeravo standIn(std::make_unique<FixedSeedSource>(start.firstSeed));
    standIn.Parameters() = parameters;
    standIn.FPlayCount = start.playCountBefore;
    const CommandOutcome outcome = Guarded(
        [&] { return OpenSeries(standIn, *left.windows, context, start, std::move(plays)); });
    left.opened = true;
    left.playCount = standIn.FPlayCount;
    left.showProgress = standIn.FShowProgress;
    return outcome;
  });
  return left;
}

}  // namespace teravo
