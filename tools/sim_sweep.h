#pragma once

#include <ostream>

#include "tools/sim_options.h"
#include "tools/sim_settings_form.h"

namespace teravo::sim {

// --sweep: a series at each value of one edit, from the parameters `form` is accepted into
// with that edit's value replaced, every point with the same seeds; with --points only those
// points, as a part. Prints the table (and writes sweep.csv for --csv); returns the exit status:
// refused when some value was, the table still printed.
int RunSweep(const SimOptions& options, const SimSettingsForm& form, bool errIsTerminal,
             std::ostream& out, std::ostream& err);

}  // namespace teravo::sim
