#pragma once

#include <cstdint>
#include <memory>

#include "model/teravo.h"
#include "play/play_host.h"

namespace teravo {

// Every GistRefreshStep-th pass refreshes the histogram: FM / 100 to the nearest integer,
// a tie to the even neighbour, at least 1.
std::int32_t GistRefreshStep(std::int32_t m);

// The error histogram of a play window: clears the series and adds exactly 100 points,
// (j + 1, number of errors whose position p has j <= 100 * p < j + 1), zeros included.
void FillErrorHistogram(const ErrorList& errors, ChartSeries& series);

// Runs one whole play of the model into a new play window and returns it.
std::shared_ptr<PlayRecord> Play(TTeravo& model, PlayHost& host, const PlayContext& context);

}  // namespace teravo
