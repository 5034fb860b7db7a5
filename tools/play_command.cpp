#include "model/teravo.h"
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
  TTeravo model;
  ParameterFile given;
  if (const int status = AcceptCommandLine(options, form, model, given, io.err);
      status != kExitSuccess) {
    return status;
  }
  if (const int status = CheckRunNeeds(model, 1, options, io.err); status != kExitSuccess) {
    return status;
  }
  if (const int status = SaveGivenParameters(options, given, io.err); status != kExitSuccess) {
    return status;
  }
  SimHost host;
  const PlayContext context{form.Text(edit::Time), separator, LocalDateTimeNow};
  return FinishRun(host, CheckedPlay(model, host, context),
                   RunEnding{std::nullopt, options.pointArrays, options.csvFolder}, io.out, io.err);
}

}  // namespace teravo::sim
