#include "tools/sim_output.h"

#include <fstream>

#include "core/number_text.h"
#include "play/distributions.h"
#include "results/csv_export.h"
#include "tools/sim_runner.h"

namespace teravo::sim {

namespace {

std::string WriteCsvFiles(const SimHost& host, const std::filesystem::path& folder) {
  const auto& windows = host.PlayWindows();
  const bool series = host.Distributions() != nullptr && !windows.empty();
  const std::size_t plays = series ? windows.size() - 1 : windows.size();
  for (std::size_t i = 0; i < plays; ++i) {
    if (auto problem = WriteFileInto(folder, "play-" + std::to_string(i + 1) + ".csv",
                                     PlayRecordCsv(*windows[i]));
        !problem.empty()) {
      return problem;
    }
  }
  if (!series) return {};
  if (auto problem = WriteFileInto(folder, "averages.csv", PlayRecordCsv(*windows.back()));
      !problem.empty()) {
    return problem;
  }
  return WriteFileInto(folder, "distributions.csv", DistributionsCsv(*host.Distributions()));
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

std::string WriteFileInto(const std::filesystem::path& folder, const std::string& name,
                          const std::string& text) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
  out << text;
  out.flush();
  return out ? std::string() : "cannot write " + (folder / name).string();
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
    if (const std::string problem = WriteCsvFiles(host, *ending.csvFolder); !problem.empty()) {
      err << "teravo-sim: " << problem << '\n';
      return kExitGeneralError;
    }
  }
  WriteRunJson(host.Windows(), ending.pointArrays, out);
  return FinishDocument(out, err, kExitSuccess);
}

}  // namespace teravo::sim
