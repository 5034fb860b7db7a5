#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <vector>

#include "model/teravo.h"
#include "play/play_host.h"
#include "results/play_record.h"

namespace teravo {

// How the plays of a series are run.
struct SeriesOptions {
  int threads = 0;         // workers; 0 takes every core
  bool keepPoints = true;  // see PlayOptions
  std::stop_token stop;    // stops the series; the plays finished in order are kept
  // Called on the calling thread whenever the plays finished in order grow.
  std::function<void(int playsDone, int playsTotal)> progress;
};

// The plays of a series that ran to their end, in play order: plays 1 ... k of K. When play
// k + 1 failed, `failedPlay` is what it had shown and `error` why it failed.
struct SeriesPlays {
  std::vector<std::shared_ptr<PlayRecord>> records;
  std::int32_t total = 0;
  bool withPoints = true;  // the plays kept their chart points
  std::shared_ptr<PlayRecord> failedPlay;
  std::exception_ptr error;
  bool Stopped() const { return !error && static_cast<std::int32_t>(records.size()) < total; }
};

// Where a series starts: the play number before its first play and the seed of its first
// play; play k gets number + k and seed + k - 1 (mod 2^32).
struct SeriesStart {
  std::int32_t playCountBefore = 0;
  std::uint32_t firstSeed = 0;
  // When the series started, as a play window's title tells it; empty where no one looks.
  std::string startedAt;
};

// Takes the start of a series of `plays` plays from the model: its play count and its seed
// source, which hands out all the seeds at once.
SeriesStart BeginSeries(TTeravo& model, std::int32_t plays);

// Plays FK plays of `parameters` on worker threads, each with a model of its own, and returns
// those that finished in order. The result does not depend on the number of threads.
// Safe to call off the window thread: it touches no window.
SeriesPlays RunSeriesPlays(const TParameters& parameters, const SeriesStart& start,
                           const PlayContext& context, const SeriesOptions& options);

}  // namespace teravo
