#include "tools/run_setup.h"

#include <memory>
#include <variant>

#include "params/acceptance.h"
#include "params/estimators.h"
#include "params/parameter_file.h"
#include "play/commands.h"
#include "play/run_budget.h"
#include "tools/sim_runner.h"

namespace teravo::sim {

int FillSettingsForm(const SimOptions& options, SimSettingsForm& form, std::ostream& err) {
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
    if (const std::string problem = CheckParameterFileTarget(*options.saveParams);
        !problem.empty()) {
      err << "teravo-sim: " << problem << '\n';
      return kExitRefused;
    }
  }
  return kExitSuccess;
}

int SaveGivenParameters(const SimOptions& options, const ParameterFile& given, std::ostream& err) {
  if (!options.saveParams) return kExitSuccess;
  if (const std::string problem = WriteParameterFile(*options.saveParams, given);
      !problem.empty()) {
    err << "teravo-sim: " << problem << '\n';
    return kExitGeneralError;
  }
  return kExitSuccess;
}

int AcceptCommandLine(const SimOptions& options, SimSettingsForm& form, TTeravo& model,
                      ParameterFile& given, std::ostream& err) {
  if (const int status = FillSettingsForm(options, form, err); status != kExitSuccess) {
    return status;
  }
  given = ParameterFileOf(form);  // as typed: acceptance may correct the step in the form
  if (options.seed) model.SetSeedSource(std::make_unique<FixedSeedSource>(*options.seed));
  return AcceptParameters(model, form) ? kExitSuccess : kExitRefused;
}

int CheckRunNeeds(const TTeravo& model, std::int32_t plays, const SimOptions& options,
                  std::ostream& err) {
  // Refusals first, then a run that may take hours needs --force.
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
  return kExitSuccess;
}

std::optional<std::string> PartProblem(const SimOptions& options, std::string_view option) {
  if (!options.seed) {
    return "a part (" + std::string(option) + ") needs --seed, so that the parts of one run agree";
  }
  if (options.csvFolder) return "a part writes no CSV files: give --csv to teravo-sim merge";
  return std::nullopt;
}

}  // namespace teravo::sim
