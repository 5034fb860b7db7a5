#include "tools/sim_output.h"

#include "core/number_text.h"
#include "play/distributions.h"
#include "results/csv_export.h"
#include "tools/sim_runner.h"

namespace teravo::sim {

namespace {

// The CSV files of the play windows: play-1.csv ... in the order of the plays, then
// averages.csv and distributions.csv for a series.
FolderFiles CsvFiles(const SimHost& host) {
  const auto& windows = host.PlayWindows();
  const bool series = host.Distributions() != nullptr && !windows.empty();
  const std::size_t plays = series ? windows.size() - 1 : windows.size();
  FolderFiles files;
  for (std::size_t i = 0; i < plays; ++i) {
    files.emplace_back("play-" + std::to_string(i + 1) + ".csv", PlayRecordCsv(*windows[i]));
  }
  if (!series) return files;
  files.emplace_back("averages.csv", PlayRecordCsv(*windows.back()));
  files.emplace_back("distributions.csv", DistributionsCsv(*host.Distributions()));
  return files;
}

// Recomputed as the window's button does; without points the moment is only checked.
CommandOutcome RecallAtMoment(SimHost& host, const std::string& moment, bool pointArrays) {
  DistributionsRecord& distributions = *host.Distributions();
  distributions.CurTimeText = moment;
  return Guarded([&] {
    return pointArrays ? RecomputeDistributions(distributions, host) : CheckMoment(distributions);
  });
}

}  // namespace

void ReportGeneralError(std::ostream& err, const std::string& text) {
  err << text;
  if (text.empty() || text.back() != '.') err << '.';
  err << '\n';
}

std::string CsvFolderProblem(const std::string& folder, const FileFailure& failure) {
  return "--csv " + folder + ": " + FileProblemText(failure);
}

int CheckCsvFolder(const std::optional<std::string>& folder, std::ostream& err) {
  if (!folder) return kExitSuccess;
  if (const auto failure = CheckFolderTarget(*folder)) {
    err << "teravo-sim: " << CsvFolderProblem(*folder, *failure) << '\n';
    return kExitRefused;
  }
  return kExitSuccess;
}

int WriteCsvFolder(const std::optional<std::string>& folder, const FolderFiles& files,
                   std::ostream& err) {
  if (!folder) return kExitSuccess;
  if (const auto failure = WriteFolderSafely(*folder, files)) {
    err << "teravo-sim: " << CsvFolderProblem(*folder, *failure) << '\n';
    return kExitGeneralError;
  }
  return kExitSuccess;
}

int ExitStatusOf(const CommandOutcome& outcome, std::ostream& err) {
  switch (outcome.kind) {
    case CommandOutcome::Kind::Ran:
      return kExitSuccess;
    case CommandOutcome::Kind::Refused:
      err << outcome.text << '\n';
      return kExitRefused;
    case CommandOutcome::Kind::Failed:
      ReportGeneralError(err, outcome.text);
      return kExitGeneralError;
  }
  return kExitGeneralError;
}

void ShowProgress(std::ostream& err, int done, int total) {
  err << "\rРозыгрыш " << IntToStr(done) << " из " << IntToStr(total);
  if (done == total) err << '\n';
  err.flush();
}

int FinishDocument(std::ostream& out, std::ostream& err, int status) {
  out.flush();
  if (!out) {
    err << "teravo-sim: the JSON document could not be written to the standard output\n";
    return kExitGeneralError;
  }
  return status;
}

int FinishRun(SimHost& host, CommandOutcome played, const RunEnding& ending, std::ostream& out,
              std::ostream& err) {
  if (played.ran() && ending.moment) {
    played = RecallAtMoment(host, *ending.moment, ending.pointArrays);
  }
  if (!played.ran()) return ExitStatusOf(played, err);
  if (ending.csvFolder) {
    if (const int status = WriteCsvFolder(ending.csvFolder, CsvFiles(host), err);
        status != kExitSuccess) {
      return status;
    }
  }
  WriteRunJson(host.Windows(), ending.pointArrays, out);
  return FinishDocument(out, err, kExitSuccess);
}

}  // namespace teravo::sim
