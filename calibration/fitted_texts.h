#pragma once

#include <string>
#include <utility>
#include <vector>

#include "model/parameters.h"

namespace teravo {

// The settings dialog's texts of a parameter set: every edit that fills a parameter and is
// read in the set's new-error mode, an integer whole, a real as the shortest text that reads
// back to it, with `separator`. What a fitted set needs to be shown, saved or accepted.
std::vector<std::pair<std::string, std::string>> TextsOf(const TParameters& parameters,
                                                         char separator);

}  // namespace teravo
