#pragma once

#include "model/teravo.h"
#include "play/play_host.h"

namespace teravo {

inline constexpr std::string_view kAveragesTitle = "Средние значения за все розыгрышы";

// Runs FK plays with minimised windows, then opens the averages window and the
// distributions window and recomputes the distributions once. Returns the plays run.
int PlayMultiple(TTeravo& model, PlayHost& host);

}  // namespace teravo
