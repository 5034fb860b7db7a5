#pragma once

#include "model/teravo.h"
#include "params/settings_edits.h"
#include "params/settings_form.h"

namespace teravo {

// Reads, checks and stores every parameter from the form into the model, in the order of the
// settings edits, stopping at the first bad field with its message and focus. Then corrects the
// step, advises on the share and refreshes the total time. True when all fields passed.
// Throws GeneralError only from the total-time refresh's unguarded reads.
bool AcceptParameters(TTeravo& model, SettingsForm& form);

// The dialog's accept command (button or F2 inside the dialog, aInitParametersExecute):
// accept, then close.
void AcceptAndClose(TTeravo& model, SettingsForm& form);

}  // namespace teravo
