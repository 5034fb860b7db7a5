#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <limits>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "model/parameters.h"
#include "params/settings_edits.h"
#include "play/sweep_values.h"

namespace teravo {

// One value of a sweep, ready to play or refused before any plays ran.
struct SweepPlan {
  std::int32_t index = 0;  // 1-based, in the value list
  std::string value;
  std::optional<std::string> refused;  // why the value will not run
  TParameters parameters;
  std::string timeText;  // the total time as the settings dialog shows it
};

// Plans one value from parameters accepted before: the value is stored through the settings
// table and checked as acceptance checks it (the step corrected as acceptance corrects it),
// then checked as a series is before it starts. A value refused by the table gets the
// field's message. The time text follows the step and the iterations.
SweepPlan PlanSweepValue(const TParameters& accepted, const SettingsEdit& edit, std::int32_t index,
                         std::string value, char separator, int threads);

// Values first ... last of a sweep's value list, 1-based; by default every value.
struct SweepSpan {
  std::int32_t first = 1;
  std::int32_t last = std::numeric_limits<std::int32_t>::max();  // past the list: to its end
};

// Plans the values of `span` in list order, each with its 1-based index, every one from the
// same accepted parameters: the desktop and the runner plan a sweep alike, before any plays.
std::vector<SweepPlan> PlanSweep(const TParameters& accepted, const SettingsEdit& edit,
                                 const std::vector<std::string>& values, char separator,
                                 int threads, SweepSpan span = {});

// What the points that will run may take at most, in seconds, one after another.
long double SweepSeconds(const std::vector<SweepPlan>& plan, int threads);

// The edit is read in the new-error mode of `parameters` (otherwise its values would change
// nothing).
bool IsReadInMode(const SettingsEdit& edit, bool byProbability);

struct SweepRunOptions {
  int threads = 0;       // workers of every series; 0 takes every core
  std::stop_token stop;  // the points finished before the stop are kept
  // On the calling thread: point `index` (1-based in the value list) has `playsDone` of
  // `playsTotal` plays finished in order.
  std::function<void(std::int32_t index, int playsDone, int playsTotal)> progress;
  // On the calling thread, once a point has finished (a refused one too).
  std::function<void(const SweepPoint& point)> pointDone;
};

struct SweepRun {
  // In plan order; refused points without figures. A point whose play failed with a general
  // error is refused with that error's text, and the other points run on.
  std::vector<SweepPoint> points;
  bool stopped = false;      // the points after the last one here never ran
  std::exception_ptr error;  // any other failure (memory); the points before it are kept
};

// Plays every planned point as a series of its own FK plays with seeds seed ... seed + FK - 1,
// the same at every point, and forms each point's means and spreads. Touches no window, so it
// may run off the window thread.
SweepRun RunSweep(const std::vector<SweepPlan>& plan, std::uint32_t seed, char separator,
                  const SweepRunOptions& options);

}  // namespace teravo
