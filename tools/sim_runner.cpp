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
#include "play/commands.h"
#include "play/distributions.h"
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
  if (options.byIntensity) rbIClick(form);
  for (const auto& [name, text] : options.edits) form.SetText(name, text);

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

  out << RunJson(host, options.pointArrays);
  out.flush();
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
