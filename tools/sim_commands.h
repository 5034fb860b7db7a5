#pragma once

#include <ostream>

#include "tools/sim_options.h"

namespace teravo::sim {

// What every command is given besides its options.
struct CommandIo {
  char localeSeparator;  // used unless the command line names a separator
  bool errIsTerminal;    // progress lines go to `err` only then
  std::ostream& out;
  std::ostream& err;
};

// Each command returns the exit status. Exceptions that end a run reach the caller.

// teravo-sim play: one play.
int RunPlayCommand(const SimOptions& options, const CommandIo& io);

// teravo-sim series: a series of edK plays, or plays --plays A-B of it as a part.
int RunSeriesCommand(const SimOptions& options, const CommandIo& io);

// teravo-sim sweep: a series at each value of one edit, or points --points I-J as a part.
int RunSweepCommand(const SimOptions& options, const CommandIo& io);

// teravo-sim merge: the parts of one run put together into the whole run's document.
int RunMergeCommand(const SimOptions& options, const CommandIo& io);

// teravo-sim data: a failure log's trend, the classic growth models and their predictions.
int RunDataCommand(const SimOptions& options, const CommandIo& io);
// teravo-sim fit: edits fitted to observed failure data, and a forecast from the fit.
int RunFitCommand(const SimOptions& options, const CommandIo& io);
// teravo-sim ask: when a target is reached with a probability, the programmers it takes by a
// date, the release time that costs least.
int RunAskCommand(const SimOptions& options, const CommandIo& io);

}  // namespace teravo::sim
