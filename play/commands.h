#pragma once

#include <string_view>

#include "model/teravo.h"
#include "play/command_outcome.h"
#include "play/play_driver.h"
#include "play/play_host.h"
#include "play/series.h"

namespace teravo {

inline constexpr std::string_view kParametersNotSet =
    "Параметры розыгрыша не заданы или заданы неверно. Задайте их в окне "
    "«Параметры розыгрыша» (F2).";

// Whether a play (plays = 1) or a series of the model's parameters may start: refused with a
// message that says what to change when the parameters are unusable or harmful, or when it
// would need more memory than the machine has. Ran otherwise.
CommandOutcome CheckBeforeRun(const TTeravo& model, std::int32_t plays, bool keepPoints,
                              int threads);

// F3 and F4 (the main window's aPlayIterationExecute and aPlayPlayExecute): they run only when
// CheckBeforeRun lets them (and FK >= 1 for a series); otherwise they are refused before anything
// is opened. A general error ends them as a failure, with what they had opened left open.
CommandOutcome CheckedPlay(TTeravo& model, PlayHost& host, const PlayContext& context,
                           const PlayOptions& options = {});
CommandOutcome CheckedSeries(TTeravo& model, PlayHost& host, const PlayContext& context,
                             const SeriesOptions& options = {});

}  // namespace teravo
