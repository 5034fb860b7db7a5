#include "play/series.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "play/play_driver.h"

namespace teravo {

namespace {

// A worker's plays open no windows; it only remembers the record of the play it runs, so a
// play that fails keeps what it had shown.
class WorkerHost : public DiscardingHost {
 public:
  void OpenPlayWindow(std::shared_ptr<PlayRecord> record) override { last = std::move(record); }

  std::shared_ptr<PlayRecord> last;
};

// One slot per play, filled by the worker that ran it.
struct Slot {
  std::shared_ptr<PlayRecord> record;
  std::exception_ptr error;
  bool done = false;
};

int WorkerCount(int requested, std::int32_t plays) {
  int threads = requested > 0 ? requested : static_cast<int>(std::thread::hardware_concurrency());
  threads = std::max(threads, 1);
  return static_cast<int>(std::min<std::int64_t>(threads, std::max<std::int32_t>(plays, 1)));
}

}  // namespace

SeriesStart BeginSeries(TTeravo& model, std::int32_t plays) {
  SeriesStart start;
  start.playCountBefore = model.FPlayCount;
  start.firstSeed = model.Seeds().NextSeeds(static_cast<std::uint32_t>(std::max(plays, 1)));
  return start;
}

SeriesPlays RunSeriesPlays(const TParameters& parameters, const SeriesStart& start,
                           const PlayContext& context, const SeriesOptions& options) {
  const std::int32_t plays = std::max(parameters.FK, 0);
  std::vector<Slot> slots(static_cast<std::size_t>(plays));
  std::mutex mutex;
  std::condition_variable finished;
  std::atomic<std::int32_t> next{0};
  // A failed play ends the series there, as it would have one play after another: the plays
  // before it still run to their end, the plays after it are not started.
  std::atomic<std::int32_t> failedAt{plays};
  std::stop_source cancel;  // the caller's stop

  auto work = [&](std::stop_token workerStop) {
    TTeravo model;
    model.Parameters() = parameters;
    WorkerHost host;
    PlayOptions playOptions{options.keepPoints, cancel.get_token()};
    while (!workerStop.stop_requested() && !cancel.stop_requested()) {
      const std::int32_t k = next.fetch_add(1);
      if (k >= plays || k > failedAt.load()) break;
      model.SetSeedSource(
          std::make_unique<FixedSeedSource>(start.firstSeed + static_cast<std::uint32_t>(k)));
      model.FPlayCount = start.playCountBefore + k;
      model.FShowProgress = false;
      Slot result;
      try {
        result.record = Play(model, host, context, playOptions);
        if (result.record->Stopped) result.record.reset();
      } catch (...) {
        result.record = std::move(host.last);
        result.error = std::current_exception();
        std::int32_t first = failedAt.load();
        while (k < first && !failedAt.compare_exchange_weak(first, k)) {
        }
      }
      host.last.reset();
      {
        const std::lock_guard lock(mutex);
        slots[static_cast<std::size_t>(k)] = std::move(result);
        slots[static_cast<std::size_t>(k)].done = true;
      }
      finished.notify_all();
    }
    const std::lock_guard lock(mutex);  // wake the caller to see that this worker is gone
    finished.notify_all();
  };

  const std::stop_callback forward(options.stop, [&cancel] { cancel.request_stop(); });
  SeriesPlays result;
  result.total = plays;
  result.withPoints = options.keepPoints;
  {
    std::vector<std::jthread> workers;
    const int threads = WorkerCount(options.threads, plays);
    workers.reserve(static_cast<std::size_t>(threads));
    for (int t = 0; t < threads; ++t) workers.emplace_back(work);

    // Hand over the plays in order as they finish; stop at the first gap a stop leaves.
    std::unique_lock lock(mutex);
    for (std::int32_t k = 0; k < plays; ++k) {
      Slot& slot = slots[static_cast<std::size_t>(k)];
      finished.wait(lock, [&] { return slot.done || cancel.stop_requested(); });
      if (!slot.done) {
        // Stopped: a play already running may still finish, but it no longer counts.
        break;
      }
      if (slot.error) {
        result.failedPlay = std::move(slot.record);
        result.error = slot.error;
        break;
      }
      if (!slot.record) break;  // stopped in the middle
      result.records.push_back(std::move(slot.record));
      if (options.progress) {
        lock.unlock();
        options.progress(static_cast<int>(result.records.size()), plays);
        lock.lock();
      }
    }
    lock.unlock();
    cancel.request_stop();
  }  // the workers are joined here
  return result;
}

}  // namespace teravo
