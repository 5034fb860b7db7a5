#pragma once

#include "params/settings_form.h"

namespace teravo {

// The settings dialog's own calculations. They only fill fields of the form; a text that
// does not parse in a field read without a test throws GeneralError ("'x' is not a valid
// ... value"), leaving the texts written before that point changed.

// The dialog's estimate buttons (buAllTimeClick, buCallErrorsClick,
// buCallAverCorrectErrorNumClick).
// edTime := edDT * edM (step kept in extended precision).
void EstimateTotalTime(SettingsForm& form);
// edErrorsNum0 := Y0 / (Yk * A), ties to even.
void EstimateInitialErrors(SettingsForm& form);
// edE_aver := M * DT * Y0 * (1 - P); edOptimT := N0 / ((1 - P) * Y0).
void EstimateErrorsFound(SettingsForm& form);
// The radio pair: enable the matching edit, disable the other, focus the enabled one.
void rbPClick(SettingsForm& form);
void rbIClick(SettingsForm& form);

}  // namespace teravo
