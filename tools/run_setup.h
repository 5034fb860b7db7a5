#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "model/teravo.h"
#include "params/parameter_file.h"
#include "tools/sim_options.h"
#include "tools/sim_settings_form.h"

namespace teravo::sim {

// The steps play, series and sweep take before their plays.

// Fills `form` as the options say: the dialog's defaults, then --params, --by-intensity and
// --set; refuses a --save-params target that cannot be written. kExitSuccess, or the exit
// status of what failed.
int FillSettingsForm(const SimOptions& options, SimSettingsForm& form, std::ostream& err);

// Fills `form` (FillSettingsForm), keeps its texts in `given` for --save-params, seeds `model`
// with --seed and accepts the form into it as the dialog would: corrections and advice are
// shown and the run goes on, a failing field ends it. kExitSuccess, or the exit status of what
// failed.
int AcceptCommandLine(const SimOptions& options, SimSettingsForm& form, TTeravo& model,
                      ParameterFile& given, std::ostream& err);

// Writes `given` for --save-params, once the run has been accepted and passed every check:
// a refused run leaves no parameter file. kExitSuccess, or kExitGeneralError told on `err`.
int SaveGivenParameters(const SimOptions& options, const ParameterFile& given, std::ostream& err);

// Refuses `plays` plays of the accepted `model` when the machine cannot hold them, or when
// they may take more than an hour and --force is missing. kExitSuccess or kExitRefused.
int CheckRunNeeds(const TTeravo& model, std::int32_t plays, const SimOptions& options,
                  std::ostream& err);

// What keeps a part (`option` names its range) from being joined to the other parts later.
std::optional<std::string> PartProblem(const SimOptions& options, std::string_view option);

}  // namespace teravo::sim
