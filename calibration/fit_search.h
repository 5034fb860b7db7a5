#pragma once

#include <vector>

#include "calibration/fit_objective.h"

namespace teravo {

// How a search ended.
enum class SearchStatus {
  Converged,     // every local search ended by its tolerance
  NotConverged,  // a limit of evaluations or time ended it first
  Stopped,       // the user stopped it
};

struct SearchSettings {
  int starts = 0;           // points of the opening design; 0: four per edit, at least 9
  int localSearches = 2;    // from the best distinct starts
  double tolerance = 2e-3;  // of each coordinate, where the local searches end
};

struct SearchResult {
  std::vector<double> u;  // the best point evaluated; empty when none could be played
  double distance = 0;
  SearchStatus status = SearchStatus::Converged;
};

// The starts of a search: the middle of the box and a Halton sequence after it, so the same
// edits always start from the same points and the box is covered evenly for any count.
std::vector<std::vector<double>> StartPoints(std::size_t dimensions, int count);

// The best point of the box [0, 1]^n: the starts evaluated, then bounded derivative-free
// local searches (subplex, robust to the steps that common random numbers leave in the
// distance) from the best of them. A stop or a limit keeps the best point so far.
SearchResult SearchBest(FitObjective& objective, const SearchSettings& settings);

}  // namespace teravo
