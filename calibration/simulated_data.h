#pragma once

#include <cstdint>

#include "model/parameters.h"
#include "reliability/failure_data.h"

namespace teravo {

// The failure times one play of `parameters` (seed `seed`) records up to `days`, read at
// every step: data with known edits, to check that a fit finds them again.
FailureData SimulatedFailureData(const TParameters& parameters, std::uint32_t seed, double days);

}  // namespace teravo
