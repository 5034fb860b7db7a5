#include <algorithm>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "core/number_text.h"
#include "model/teravo.h"
#include "params/acceptance.h"
#include "play/commands.h"
#include "play/multi_play.h"
#include "play/run_budget.h"
#include "play/series.h"
#include "play/sweep.h"
#include "play/sweep_values.h"
#include "results/csv_export.h"
#include "results/json_writer.h"
#include "tools/run_setup.h"
#include "tools/sim_commands.h"
#include "tools/sim_output.h"
#include "tools/sim_parts.h"
#include "tools/sim_runner.h"

namespace teravo::sim {

namespace {

// The swept edit is read in one new-error mode only: in the other its values would change
// nothing.
std::optional<std::string> ModeProblem(const SettingsEdit& edit, bool byProbability) {
  if (IsReadInMode(edit, byProbability)) return std::nullopt;
  return std::string(edit.name) +
         (byProbability ? " is read only when new errors come by intensity (--by-intensity)"
                        : " is read only when new errors come by probability");
}

}  // namespace

// A series at each value of one edit, from the parameters the form is accepted into with that
// edit's value replaced, every point with the same seeds; with --points only those points, as
// a part. Prints the table (and writes sweep.csv for --csv); refused when some value was, the
// table still printed.
int RunSweepCommand(const SimOptions& options, const CommandIo& io) {
  std::ostream& err = io.err;
  std::ostream& out = io.out;
  if (options.points) {
    if (const auto problem = PartProblem(options, "--points")) {
      err << "teravo-sim: " << *problem << '\n';
      return kExitRefused;
    }
  }
  const char separator = options.separator.value_or(io.localeSeparator);
  SimSettingsForm form(separator, err);
  if (const int status = FillSettingsForm(options, form, err); status != kExitSuccess) {
    return status;
  }
  auto parsed = ParseSweepValues(*options.sweep, separator);
  if (const auto* problem = std::get_if<std::string>(&parsed)) {
    err << "teravo-sim: --sweep: " << *problem << '\n';
    return kExitRefused;
  }
  const SweepValues& sweep = std::get<SweepValues>(parsed);
  const std::string name(sweep.edit->name);
  if (const auto problem = ModeProblem(*sweep.edit, form.IsProbabilityChecked())) {
    err << "teravo-sim: --sweep: " << *problem << '\n';
    return kExitRefused;
  }
  const auto count = static_cast<std::int32_t>(sweep.texts.size());
  const PartRange range = options.points.value_or(PartRange{1, count});
  if (range.last > count) {
    err << "teravo-sim: --points " << IntToStr(range.first) << '-' << IntToStr(range.last)
        << ": the sweep has " << IntToStr(count) << " values\n";
    return kExitRefused;
  }
  // The form is accepted once, as for a play, every value then differing from it in one edit.
  // A copy is accepted: a part's header tells the texts as they were given.
  SimSettingsForm accepted(form);
  TTeravo model;
  if (!AcceptParameters(model, accepted)) return kExitRefused;
  // One seed for every point: the points then differ by the value and not by luck.
  const std::uint32_t seed = options.seed ? *options.seed : ClockSeedSource().NextSeed();

  // Every value is planned and checked before any plays run, so a typing error costs no time.
  const std::vector<SweepPlan> planned =
      PlanSweep(model.Parameters(), *sweep.edit, sweep.texts, separator, options.threads,
                SweepSpan{range.first, range.last});
  for (const SweepPlan& point : planned) {
    if (point.refused) err << name << " = " << point.value << ": " << *point.refused << '\n';
  }
  if (const long double seconds = SweepSeconds(planned, options.threads);
      !options.force && seconds > kLongRunSeconds) {
    err << "teravo-sim: the sweep may take " << AboutDuration(seconds)
        << " (an upper bound); add --force to start it anyway\n";
    return kExitRefused;
  }
  if (const int status = SaveGivenParameters(options, ParameterFileOf(form), err);
      status != kExitSuccess) {
    return status;
  }

  SweepRunOptions run;
  run.threads = options.threads;
  if (io.errIsTerminal) {
    run.progress = [&err, count](std::int32_t index, int done, int total) {
      err << "\rТочка " << IntToStr(index) << " из " << IntToStr(count) << ": розыгрыш "
          << IntToStr(done) << " из " << IntToStr(total);
      err.flush();
    };
  }
  SweepRun ran = RunSweep(planned, seed, separator, run);
  if (ran.error) std::rethrow_exception(ran.error);
  if (io.errIsTerminal) err << '\n';
  // Values whose plays failed are told as the refused ones were, before the plays.
  for (std::size_t i = 0; i < planned.size() && i < ran.points.size(); ++i) {
    const SweepPoint& point = ran.points[i];
    if (point.refused && !planned[i].refused) {
      err << name << " = " << point.value << ": " << *point.refused << '\n';
    }
  }
  const bool refused =
      std::any_of(ran.points.begin(), ran.points.end(),
                  [](const SweepPoint& point) { return point.refused.has_value(); });
  SweepTable table{name, sweep.texts, seed, separator, std::move(ran.points)};

  if (const int status = WriteCsvFolder(options.csvFolder, {{"sweep.csv", SweepCsv(table)}}, err);
      status != kExitSuccess) {
    return status;
  }
  WriteSweepJson(table, out, options.points ? SweepPartHeader(form, table, range) : std::string());
  return FinishDocument(out, err, refused ? kExitRefused : kExitSuccess);
}

}  // namespace teravo::sim
