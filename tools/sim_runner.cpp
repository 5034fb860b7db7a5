#include "tools/sim_runner.h"

#include <exception>
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
#include "play/distributions.h"
#include "play/run_budget.h"
#include "results/json_writer.h"
#include "tools/sim_host.h"
#include "tools/sim_options.h"
#include "tools/sim_output.h"
#include "tools/sim_parts.h"
#include "tools/sim_settings_form.h"
#include "tools/sim_sweep.h"

namespace teravo::sim {

namespace {

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
  if (options.sweep) return RunSweep(options, form, errIsTerminal, out, err);

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

  if (options.plays && options.plays->last > model.FK) {
    err << "teravo-sim: --plays " << IntToStr(options.plays->first) << '-'
        << IntToStr(options.plays->last) << ": the series has " << IntToStr(model.FK)
        << " plays (edK)\n";
    return kExitRefused;
  }

  // Refusals first, then a run that may take hours needs --force.
  const std::int32_t plays = options.plays    ? options.plays->last - options.plays->first + 1
                             : options.series ? model.FK
                                              : 1;
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
  if (options.plays) return RunSeriesPart(model, context, series, options, out, err);
  CommandOutcome outcome = options.series ? aPlayPlayExecute(model, host, context, series)
                                          : aPlayIterationExecute(model, host, context);
  if (outcome.ran() && options.moment) {
    outcome = RecallAtMoment(host, *options.moment, options.pointArrays);
  }
  if (!outcome.ran()) return ExitStatusOf(outcome, err);

  if (options.csvFolder) {
    if (const std::string problem = WriteCsvFiles(host, *options.csvFolder); !problem.empty()) {
      err << "teravo-sim: " << problem << '\n';
      return kExitGeneralError;
    }
  }
  WriteRunJson(host.Windows(), options.pointArrays, out);
  return FinishDocument(out, err, kExitSuccess);
}

// Whatever the options combine that no run can do.
std::optional<std::string> Conflict(const SimOptions& options) {
  if (options.moment && options.sweep) return "--moment does not apply to a sweep";
  if (options.moment && !options.series && !options.plays) {
    return "--moment applies to a series (--series)";
  }
  if (options.points && !options.sweep) {
    return "--points applies to a sweep (--sweep); a series is split with --plays";
  }
  if (options.plays && options.sweep)
    return "--plays splits a series; a sweep is split with --points";
  if ((options.points || options.plays) && !options.seed) {
    return "a part (--points, --plays) needs --seed, so that the parts of one run agree";
  }
  if ((options.points || options.plays) && options.csvFolder) {
    return "a part writes no CSV files: give --csv to teravo-sim merge";
  }
  return std::nullopt;
}

}  // namespace

int RunSim(const std::vector<std::string_view>& args, char localeSeparator, bool errIsTerminal,
           std::ostream& out, std::ostream& err) {
  if (!args.empty() && args.front() == "merge") {
    const auto merge = ParseMergeOptions({args.begin() + 1, args.end()});
    if (const auto* usage = std::get_if<UsageError>(&merge)) {
      err << "teravo-sim: " << usage->text << "\n\n" << UsageText();
      return kExitRefused;
    }
    if (std::get<MergeOptions>(merge).help) {
      out << UsageText();
      return kExitSuccess;
    }
    try {
      return RunMerge(std::get<MergeOptions>(merge), out, err);
    } catch (const std::exception& error) {
      ReportGeneralError(err, error.what());
    }
    return kExitGeneralError;
  }
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
  if (const auto conflict = Conflict(options)) {
    err << "teravo-sim: " << *conflict << '\n';
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
