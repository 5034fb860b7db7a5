#include "reliability/analysis_texts.h"

namespace teravo {

std::string_view ModelName(GrowthModel model) {
  switch (model) {
    case GrowthModel::GoelOkumoto:
      return "Гоэла–Окумото";
    case GrowthModel::DelayedSShaped:
      return "S-образная с задержкой";
    case GrowthModel::MusaOkumoto:
      return "Мусы–Окумото";
    case GrowthModel::Weibull:
      return "Вейбулла";
  }
  return {};
}

std::string_view ModelKey(GrowthModel model) {
  switch (model) {
    case GrowthModel::GoelOkumoto:
      return "goel_okumoto";
    case GrowthModel::DelayedSShaped:
      return "delayed_s_shaped";
    case GrowthModel::MusaOkumoto:
      return "musa_okumoto";
    case GrowthModel::Weibull:
      return "weibull";
  }
  return {};
}

std::string_view ParameterText(std::string_view symbol) {
  if (symbol == "lambda0") return "λ0";
  if (symbol == "theta") return "θ";
  return symbol;
}

std::string_view TrendReadingText(TrendReading reading) {
  switch (reading) {
    case TrendReading::ReliabilityGrows:
      return "надежность растет";
    case TrendReading::NoClearTrend:
      return "явного тренда нет";
    case TrendReading::ReliabilityFalls:
      return "надежность падает";
  }
  return {};
}

std::string_view LayoutKey(DataLayout layout) {
  switch (layout) {
    case DataLayout::FailureTimes:
      return "FT";
    case DataLayout::Intervals:
      return "IF";
    case DataLayout::Counts:
      return "FC";
  }
  return {};
}

std::string_view LayoutName(DataLayout layout) {
  switch (layout) {
    case DataLayout::FailureTimes:
      return "времена отказов (FT)";
    case DataLayout::Intervals:
      return "интервалы между отказами (IF)";
    case DataLayout::Counts:
      return "число отказов в интервалах (FC)";
  }
  return {};
}

std::string_view UnitKey(TimeUnit unit) {
  switch (unit) {
    case TimeUnit::Seconds:
      return "seconds";
    case TimeUnit::Hours:
      return "hours";
    case TimeUnit::Days:
      return "days";
    case TimeUnit::Weeks:
      return "weeks";
  }
  return {};
}

std::string_view UnitName(TimeUnit unit) {
  switch (unit) {
    case TimeUnit::Seconds:
      return "секунды";
    case TimeUnit::Hours:
      return "часы";
    case TimeUnit::Days:
      return "сутки";
    case TimeUnit::Weeks:
      return "недели";
  }
  return {};
}

}  // namespace teravo
