#pragma once

#include <string_view>

#include "reliability/failure_data.h"
#include "reliability/growth_models.h"
#include "reliability/trend.h"

namespace teravo {

// The names the documents and the desktop give the layer's values: Russian for people, and
// ASCII keys for the JSON document.

// "Гоэла–Окумото", "S-образная с задержкой", "Мусы–Окумото", "Вейбулла".
std::string_view ModelName(GrowthModel model);
// "goel_okumoto", "delayed_s_shaped", "musa_okumoto", "weibull".
std::string_view ModelKey(GrowthModel model);
// A parameter symbol of ParameterSymbols as people write it: "λ0" for "lambda0", "θ" for
// "theta"; the others as they are.
std::string_view ParameterText(std::string_view symbol);

// "надежность растет", "явного тренда нет", "надежность падает".
std::string_view TrendReadingText(TrendReading reading);

// "FT", "IF", "FC".
std::string_view LayoutKey(DataLayout layout);
// "времена отказов (FT)", "интервалы между отказами (IF)", "число отказов в интервалах (FC)".
std::string_view LayoutName(DataLayout layout);
// "seconds", "hours", "days", "weeks"; and "секунды", "часы", "сутки", "недели".
std::string_view UnitKey(TimeUnit unit);
std::string_view UnitName(TimeUnit unit);

}  // namespace teravo
