#pragma once

#include <filesystem>
#include <ostream>
#include <string>

#include "play/command_outcome.h"
#include "tools/sim_host.h"

namespace teravo::sim {

// What a whole run, its parts and their merge share, so that they end alike.

// The general error report: the text, with a full stop when it does not end in one.
void ReportGeneralError(std::ostream& err, const std::string& text);

// `text` as the file `name` in `folder` (made when missing). Empty on success, otherwise
// what went wrong.
std::string WriteFileInto(const std::filesystem::path& folder, const std::string& name,
                          const std::string& text);

// Every window of the run as a CSV file in `folder`: play-1.csv ... in the order of the
// plays, then averages.csv and distributions.csv for a series. Empty on success.
std::string WriteCsvFiles(const SimHost& host, const std::filesystem::path& folder);

// The distributions of the series in `host` recomputed at `moment`, as the window's button
// does; without points the moment is only checked.
CommandOutcome RecallAtMoment(SimHost& host, const std::string& moment, bool pointArrays);

// Tells an outcome that did not run and gives the exit status it calls for.
int ExitStatusOf(const CommandOutcome& outcome, std::ostream& err);

// "Розыгрыш k из K" on one line that keeps being rewritten.
void ShowProgress(std::ostream& err, int done, int total);

// Flushes the document: `status` when it reached the output, a general error otherwise.
int FinishDocument(std::ostream& out, std::ostream& err, int status);

}  // namespace teravo::sim
