#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include <QObject>

#include "model/parameters.h"
#include "play/command_outcome.h"
#include "play/play_host.h"
#include "play/series.h"
#include "ui/plays/staged_host.h"

namespace teravo {

// What a series leaves for the window thread: its windows, still to be opened in order,
// what became of it, and, once its plays were in, what the model is to show after it.
struct SeriesLeft {
  std::unique_ptr<StagedHost> windows = std::make_unique<StagedHost>();
  CommandOutcome outcome;
  bool opened = false;
  std::int32_t playCount = 0;
  bool showProgress = false;
};

// Runs a series on a worker thread and hands what it learns back to the thread the runner
// lives on (the window thread), through that thread's event queue. The worker has copies of
// everything it needs and never touches the model or a window: it plays, then forms the
// averages and the distributions (OpenSeries on a stand-in model with the same parameters
// and a host that only records), which for a thousand plays takes most of a second.
class SeriesRunner : public QObject {
 public:
  // Both are called on the runner's thread.
  using Progress = std::function<void(int playsDone, int playsTotal)>;
  using Finished = std::function<void(SeriesLeft&& left)>;

  explicit SeriesRunner(QObject* parent = nullptr);
  // Stops a running series and waits for its worker.
  ~SeriesRunner() override;

  // Starts playing; `finished` follows once, unless the series is abandoned first. Only one
  // series runs at a time.
  void Start(const TParameters& parameters, const SeriesStart& start, const PlayContext& context,
             int threads, Progress progress, Finished finished);
  bool Running() const { return running_; }
  // Asks the worker to stop; `finished` still follows with the plays finished in order.
  void Stop();
  // Stops and waits for the worker; `finished` does not follow.
  void Abandon();

 private:
  void PostProgress(std::uint64_t run, int playsDone, int playsTotal);
  void Finish(std::uint64_t run, SeriesLeft&& left);

  bool running_ = false;
  std::uint64_t run_ = 0;  // a late report of an abandoned run is recognised by its number
  Progress progress_;
  Finished finished_;
  // The worker keeps only the latest count, with at most one report waiting in the queue,
  // so that a fast series cannot flood the window thread.
  std::atomic<int> playsDone_{0};
  std::atomic<bool> progressQueued_{false};
  // An abandoned series skips what only its windows would need.
  std::atomic<bool> abandoned_{false};
  // Last, so that it is joined before the members it uses are gone.
  std::jthread worker_;
};

}  // namespace teravo
