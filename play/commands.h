#pragma once

#include <string_view>

#include "model/teravo.h"
#include "play/play_host.h"

namespace teravo {

inline constexpr std::string_view kParametersNotSet =
    "Параметры розыгрыша не заданы или заданы неверно. Задайте их в окне "
    "«Параметры розыгрыша» (F2).";

// F3 and F4: they run only on a usable parameter set (and FK >= 1 for a series); otherwise
// the host shows kParametersNotSet before anything is opened and nothing runs.
void aPlayIterationExecute(TTeravo& model, PlayHost& host);
void aPlayPlayExecute(TTeravo& model, PlayHost& host);

}  // namespace teravo
