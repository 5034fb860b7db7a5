#include "tools/sim_runner.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/general_error.h"
#include "core/number_text.h"
#include "core/rounding.h"
#include "model/teravo.h"
#include "params/acceptance.h"
#include "params/estimators.h"
#include "params/parameter_file.h"
#include "play/commands.h"
#include "play/csv_export.h"
#include "play/distributions.h"
#include "play/run_budget.h"
#include "tools/json_writer.h"
#include "tools/sim_host.h"
#include "tools/sim_options.h"
#include "tools/sim_settings_form.h"

namespace teravo::sim {

namespace {

// The general error report: the text, with a full stop when it does not end in one.
void ReportGeneralError(std::ostream& err, const std::string& text) {
  err << text;
  if (text.empty() || text.back() != '.') err << '.';
  err << '\n';
}

// Every window of the run as a CSV file in `folder`: play-1.csv ... in the order of the
// plays, then averages.csv and distributions.csv for a series. Empty on success.
std::string WriteCsvFiles(const SimHost& host, const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  const auto write = [&folder](const std::string& name, const std::string& text) -> std::string {
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    return out ? std::string() : "cannot write " + (folder / name).string();
  };
  const auto& windows = host.PlayWindows();
  const bool series = host.Distributions() != nullptr && !windows.empty();
  const std::size_t plays = series ? windows.size() - 1 : windows.size();
  for (std::size_t i = 0; i < plays; ++i) {
    if (auto problem = write("play-" + std::to_string(i + 1) + ".csv", PlayRecordCsv(*windows[i]));
        !problem.empty()) {
      return problem;
    }
  }
  if (!series) return {};
  if (auto problem = write("averages.csv", PlayRecordCsv(*windows.back())); !problem.empty()) {
    return problem;
  }
  return write("distributions.csv", DistributionsCsv(*host.Distributions()));
}

// "Розыгрыш k из K" on one line that keeps being rewritten.
void ShowProgress(std::ostream& err, int done, int total) {
  err << "\rРозыгрыш " << IntToStr(done) << " из " << IntToStr(total);
  if (done == total) err << '\n';
  err.flush();
}

int Run(const SimOptions& options, char localeSeparator, bool errIsTerminal, std::ostream& out,
        std::ostream& err) {
  const char separator = options.separator.value_or(localeSeparator);
  SimSettingsForm form(separator, err);
  if (options.paramsFile) {
    auto file = ReadParameterFile(*options.paramsFile);
    if (const auto* problem = std::get_if<std::string>(&file)) {
      err << "teravo-sim: " << *problem << '\n';
      return kExitRefused;
    }
    LoadIntoForm(std::get<ParameterFile>(file), form);
  }
  if (options.byIntensity) rbIClick(form);
  for (const auto& [name, text] : options.edits) form.SetText(name, text);
  if (options.saveParams) {
    if (const std::string problem = WriteParameterFile(*options.saveParams, ParameterFileOf(form));
        !problem.empty()) {
      err << "teravo-sim: " << problem << '\n';
      return kExitGeneralError;
    }
  }

  TTeravo model;
  if (options.seed) model.SetSeedSource(std::make_unique<FixedSeedSource>(*options.seed));
  // Corrections and advice are shown and the run goes on; a failing field ends it.
  if (!AcceptParameters(model, form)) return kExitRefused;

  // The moment is checked before any play runs, so a typing error costs no time.
  if (options.moment) {
    DistributionsRecord check(separator);
    check.CurTimeText = *options.moment;
    check.FM = model.FM;
    check.FTotalTime = RoundToDouble(static_cast<long double>(model.FM) * model.FDT);
    const CommandOutcome moment = Guarded([&] { return CheckMoment(check); });
    if (!moment.ran()) {
      err << "teravo-sim: --moment " << *options.moment << ": " << moment.text << '\n';
      return kExitRefused;
    }
  }

  // Refusals first, then a run that may take hours needs --force.
  const std::int32_t plays = options.series ? model.FK : 1;
  const CommandOutcome check = CheckBeforeRun(model, plays, options.pointArrays, options.threads);
  if (!check.ran()) {
    err << check.text << '\n';
    return kExitRefused;
  }
  const RunNeeds needs = EstimateNeeds(model, plays, options.pointArrays, options.threads);
  if (!options.force && needs.seconds > kLongRunSeconds) {
    err << "teravo-sim: the run may take " << AboutDuration(needs.seconds)
        << " (an upper bound); add --force to start it anyway\n";
    return kExitRefused;
  }

  SimHost host;
  const PlayContext context{form.Text(edit::Time), separator, LocalDateTimeNow};
  SeriesOptions series;
  series.threads = options.threads;
  series.keepPoints = options.pointArrays;
  if (errIsTerminal)
    series.progress = [&err](int done, int total) { ShowProgress(err, done, total); };
  CommandOutcome outcome = options.series ? aPlayPlayExecute(model, host, context, series)
                                          : aPlayIterationExecute(model, host, context);
  if (outcome.ran() && options.moment) {
    DistributionsRecord& distributions = *host.Distributions();
    distributions.CurTimeText = *options.moment;
    outcome = Guarded([&] {
      return options.pointArrays ? edRecallClick(distributions, host) : CheckMoment(distributions);
    });
  }
  switch (outcome.kind) {
    case CommandOutcome::Kind::Ran:
      break;
    case CommandOutcome::Kind::Refused:
      err << outcome.text << '\n';
      return kExitRefused;
    case CommandOutcome::Kind::Failed:
      ReportGeneralError(err, outcome.text);
      return kExitGeneralError;
  }

  if (options.csvFolder) {
    if (const std::string problem = WriteCsvFiles(host, *options.csvFolder); !problem.empty()) {
      err << "teravo-sim: " << problem << '\n';
      return kExitGeneralError;
    }
  }
  WriteRunJson(host, options.pointArrays, out);
  out.flush();
  if (!out) {
    err << "teravo-sim: the JSON document could not be written to the standard output\n";
    return kExitGeneralError;
  }
  return kExitSuccess;
}

}  // namespace

int RunSim(const std::vector<std::string_view>& args, char localeSeparator, bool errIsTerminal,
           std::ostream& out, std::ostream& err) {
  const auto parsed = ParseSimOptions(args);
  if (const auto* usage = std::get_if<UsageError>(&parsed)) {
    err << "teravo-sim: " << usage->text << "\n\n" << UsageText();
    return kExitRefused;
  }
  const auto& options = std::get<SimOptions>(parsed);
  if (options.help) {
    out << UsageText();
    return kExitSuccess;
  }
  if (options.moment && !options.series) {
    err << "teravo-sim: --moment applies to a series (--series)\n";
    return kExitRefused;
  }
  try {
    return Run(options, localeSeparator, errIsTerminal, out, err);
  } catch (const GeneralError& error) {
    ReportGeneralError(err, error.what());
  } catch (const std::exception& error) {
    ReportGeneralError(err, error.what());
  }
  return kExitGeneralError;
}

}  // namespace teravo::sim
