#include "ui/plays/series_runner.h"

#include <exception>
#include <utility>

#include "model/seed_source.h"
#include "play/multi_play.h"

namespace teravo {

SeriesRunner::SeriesRunner(QObject* parent) : QObject(parent) {}

SeriesRunner::~SeriesRunner() {
  Abandon();
}

void SeriesRunner::Start(const TParameters& parameters, const SeriesStart& start,
                         const PlayContext& context, int threads, Progress progress,
                         Finished finished) {
  Abandon();
  running_ = true;
  abandoned_ = false;
  const std::uint64_t run = ++run_;
  progress_ = std::move(progress);
  finished_ = std::move(finished);
  playsDone_ = 0;
  progressQueued_ = false;
  worker_ = std::jthread([this, run, parameters, start, context, threads](std::stop_token stop) {
    auto left = std::make_shared<SeriesLeft>();
    left->outcome = Guarded([&] {
      SeriesOptions options;
      options.threads = threads;
      options.stop = std::move(stop);
      options.progress = [this, run](int done, int total) { PostProgress(run, done, total); };
      SeriesPlays plays = RunSeriesPlays(parameters, start, context, options);
      if (abandoned_) return CommandOutcome::Ran();
      // The model itself stays with the window thread: OpenSeries reads only the parameters
      // and sets the play count, which goes back with the rest.
      TTeravo standIn(std::make_unique<FixedSeedSource>(start.firstSeed));
      standIn.Parameters() = parameters;
      standIn.FPlayCount = start.playCountBefore;
      const CommandOutcome outcome = Guarded(
          [&] { return OpenSeries(standIn, *left->windows, context, start, std::move(plays)); });
      left->opened = true;
      left->playCount = standIn.FPlayCount;
      left->showProgress = standIn.FShowProgress;
      return outcome;
    });
    QMetaObject::invokeMethod(
        this, [this, run, left] { Finish(run, std::move(*left)); }, Qt::QueuedConnection);
  });
}

void SeriesRunner::Stop() {
  worker_.request_stop();
}

void SeriesRunner::Abandon() {
  if (worker_.joinable()) {
    abandoned_ = true;
    worker_.request_stop();
    worker_.join();
  }
  ++run_;
  running_ = false;
}

void SeriesRunner::PostProgress(std::uint64_t run, int playsDone, int playsTotal) {
  playsDone_ = playsDone;
  if (progressQueued_.exchange(true)) return;
  QMetaObject::invokeMethod(
      this,
      [this, run, playsTotal] {
        progressQueued_ = false;
        if (run == run_ && running_ && progress_) progress_(playsDone_, playsTotal);
      },
      Qt::QueuedConnection);
}

void SeriesRunner::Finish(std::uint64_t run, SeriesLeft&& left) {
  if (run != run_ || !running_) return;
  worker_.join();
  running_ = false;
  Finished finished = std::move(finished_);
  progress_ = nullptr;
  finished(std::move(left));
}

}  // namespace teravo
