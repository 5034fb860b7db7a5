#pragma once

#include "reliability/failure_data.h"
#include "tools/sim_options.h"

namespace teravo::sim {

// How data and fit read their failure log: --layout (otherwise from the header) and
// --time-unit (days unless given), both checked when the command line was read.
ImportOptions ImportOptionsOf(const SimOptions& options);

}  // namespace teravo::sim
