#pragma once

#include <filesystem>
#include <optional>
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
