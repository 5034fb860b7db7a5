#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "core/safe_file.h"
#include "play/command_outcome.h"
#include "tools/sim_host.h"

namespace teravo::sim {

// What a whole run, its parts and their merge share, so that they end alike.

// The general error report: the text, with a full stop when it does not end in one.
void ReportGeneralError(std::ostream& err, const std::string& text);

// --csv DIR: the folder must be missing or empty. Checked before a run, so that a folder in
// the way costs no time: kExitSuccess, or kExitRefused told on `err`.
int CheckCsvFolder(const std::optional<std::string>& folder, std::ostream& err);

// Writes the whole set of CSV files as `folder` (nothing without one): they go into a fresh
// folder beside it, which then takes its place, so that no file is half written and none of
// an earlier run stays beside them. kExitSuccess, or kExitGeneralError told on `err`.
int WriteCsvFolder(const std::optional<std::string>& folder, const FolderFiles& files,
                   std::ostream& err);

// How a run that opened play windows ends.
struct RunEnding {
  std::optional<std::string> moment;  // a series' distributions are recomputed at it
  bool pointArrays = true;            // the plays kept their chart points
  std::optional<std::string> csvFolder;
};

// The steps after the plays, the same for a whole run and for the merge of its parts: the
// distributions at the moment, the CSV files (play-1.csv ... in the order of the plays, then
// averages.csv and distributions.csv for a series), then the JSON document. `played` is how
// the plays went; the exit status is returned.
int FinishRun(SimHost& host, CommandOutcome played, const RunEnding& ending, std::ostream& out,
              std::ostream& err);

// Tells an outcome that did not run and gives the exit status it calls for.
int ExitStatusOf(const CommandOutcome& outcome, std::ostream& err);

// "Розыгрыш k из K" on one line that keeps being rewritten.
void ShowProgress(std::ostream& err, int done, int total);

// Flushes the document: `status` when it reached the output, a general error otherwise.
int FinishDocument(std::ostream& out, std::ostream& err, int status);

}  // namespace teravo::sim
