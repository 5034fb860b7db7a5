#pragma once

#include <string_view>

#include "model/teravo.h"
#include "play/command_outcome.h"
#include "play/play_host.h"
#include "play/series.h"

namespace teravo {

inline constexpr std::string_view kParametersNotSet =
    "Параметры розыгрыша не заданы или заданы неверно. Задайте их в окне "
    "«Параметры розыгрыша» (F2).";

// F3 and F4: they run only on a usable parameter set (and FK >= 1 for a series); otherwise
// they are refused with kParametersNotSet before anything is opened. A general error ends
// them as a failure, with what they had opened left open.
CommandOutcome aPlayIterationExecute(TTeravo& model, PlayHost& host, const PlayContext& context);
CommandOutcome aPlayPlayExecute(TTeravo& model, PlayHost& host, const PlayContext& context,
                                const SeriesOptions& options = {});

}  // namespace teravo
