#include <memory>

#include "model/teravo.h"
#include "params/acceptance.h"
#include "play/commands.h"
#include "tools/run_setup.h"
#include "tools/sim_commands.h"
#include "tools/sim_host.h"
#include "tools/sim_output.h"
#include "tools/sim_runner.h"

namespace teravo::sim {

int RunPlayCommand(const SimOptions& options, const CommandIo& io) {
  const char separator = options.separator.value_or(io.localeSeparator);
  SimSettingsForm form(separator, io.err);
  if (const int status = FillSettingsForm(options, form, io.err); status != kExitSuccess) {
    return status;
  }
  TTeravo model;
  if (options.seed) model.SetSeedSource(std::make_unique<FixedSeedSource>(*options.seed));
  // Corrections and advice are shown and the run goes on; a failing field ends it.
  if (!AcceptParameters(model, form)) return kExitRefused;
  if (const int status = CheckRunNeeds(model, 1, options, io.err); status != kExitSuccess) {
    return status;
  }
  SimHost host;
  const PlayContext context{form.Text(edit::Time), separator, LocalDateTimeNow};
  return FinishRun(host, CheckedPlay(model, host, context),
                   RunEnding{std::nullopt, options.pointArrays, options.csvFolder}, io.out, io.err);
}

}  // namespace teravo::sim
