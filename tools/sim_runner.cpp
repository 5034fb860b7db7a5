#include "tools/sim_runner.h"

#include <exception>
#include <string>

#include "core/general_error.h"
#include "tools/sim_commands.h"
#include "tools/sim_options.h"
#include "tools/sim_output.h"

namespace teravo::sim {

namespace {

int RunCommand(const SimOptions& options, const CommandIo& io) {
  switch (options.command) {
    case SimCommand::Play:
      return RunPlayCommand(options, io);
    case SimCommand::Series:
      return RunSeriesCommand(options, io);
    case SimCommand::Sweep:
      return RunSweepCommand(options, io);
    case SimCommand::Merge:
      return RunMergeCommand(options, io);
    case SimCommand::Data:
      return RunDataCommand(options, io);
    case SimCommand::Fit:
      return RunFitCommand(options, io);
    case SimCommand::Ask:
      return RunAskCommand(options, io);
  }
  return kExitGeneralError;
}

}  // namespace

int RunSim(const std::vector<std::string_view>& args, char localeSeparator, bool errIsTerminal,
           std::ostream& out, std::ostream& err) {
  const auto parsed = ParseSimOptions(args);
  if (const auto* usage = std::get_if<UsageError>(&parsed)) {
    err << "teravo-sim: " << usage->text << "\n\n" << usage->help;
    return kExitRefused;
  }
  const auto& options = std::get<SimOptions>(parsed);
  if (options.help) {
    out << *options.help;
    return kExitSuccess;
  }
  if (const int status = CheckCsvFolder(options.csvFolder, err); status != kExitSuccess) {
    return status;
  }
  try {
    return RunCommand(options, CommandIo{localeSeparator, errIsTerminal, out, err});
  } catch (const GeneralError& error) {
    ReportGeneralError(err, error.what());
  } catch (const std::exception& error) {
    ReportGeneralError(err, error.what());
  }
  return kExitGeneralError;
}

}  // namespace teravo::sim
