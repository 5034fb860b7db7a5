#include "core/number_text.h"
#include "core/rounding.h"
#include "model/teravo.h"
#include "play/commands.h"
#include "play/distributions.h"
#include "play/series.h"
#include "tools/run_setup.h"
#include "tools/sim_commands.h"
#include "tools/sim_host.h"
#include "tools/sim_output.h"
#include "tools/sim_parts.h"
#include "tools/sim_runner.h"

namespace teravo::sim {

namespace {

// The moment is checked before any play runs, so a typing error costs no time.
CommandOutcome CheckMomentOf(const TTeravo& model, const std::string& moment, char separator) {
  DistributionsRecord check(separator);
  check.CurTimeText = moment;
  check.FM = model.FM;
  check.FTotalTime = RoundToDouble(static_cast<long double>(model.FM) * model.FDT);
  return Guarded([&] { return CheckMoment(check); });
}

}  // namespace

int RunSeriesCommand(const SimOptions& options, const CommandIo& io) {
  if (options.plays) {
    if (const auto problem = PartProblem(options, "--plays")) {
      io.err << "teravo-sim: " << *problem << '\n';
      return kExitRefused;
    }
  }
  const char separator = options.separator.value_or(io.localeSeparator);
  SimSettingsForm form(separator, io.err);
  TTeravo model;
  ParameterFile given;
  if (const int status = AcceptCommandLine(options, form, model, given, io.err);
      status != kExitSuccess) {
    return status;
  }
  if (options.moment) {
    if (const CommandOutcome moment = CheckMomentOf(model, *options.moment, separator);
        !moment.ran()) {
      io.err << "teravo-sim: --moment " << *options.moment << ": " << moment.text << '\n';
      return kExitRefused;
    }
  }
  if (options.plays && options.plays->last > model.FK) {
    io.err << "teravo-sim: --plays " << IntToStr(options.plays->first) << '-'
           << IntToStr(options.plays->last) << ": the series has " << IntToStr(model.FK)
           << " plays (edK)\n";
    return kExitRefused;
  }
  const std::int32_t plays =
      options.plays ? options.plays->last - options.plays->first + 1 : model.FK;
  if (const int status = CheckRunNeeds(model, plays, options, io.err); status != kExitSuccess) {
    return status;
  }
  if (const int status = SaveGivenParameters(options, given, io.err); status != kExitSuccess) {
    return status;
  }

  SimHost host;
  const PlayContext context{form.Text(edit::Time), separator, LocalDateTimeNow};
  SeriesOptions series;
  series.threads = options.threads;
  series.keepPoints = options.pointArrays;
  if (io.errIsTerminal) {
    series.progress = [&err = io.err](int done, int total) { ShowProgress(err, done, total); };
  }
  if (options.plays) return RunSeriesPart(model, context, series, options, io.out, io.err);
  return FinishRun(host, CheckedSeries(model, host, context, series),
                   RunEnding{options.moment, options.pointArrays, options.csvFolder}, io.out,
                   io.err);
}

}  // namespace teravo::sim
