#include "calibration/fit_space.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/number_text.h"

namespace teravo {

namespace {

// "LOW:HIGH" with LOW < HIGH, both accepted by the edit.
std::optional<std::string> ReadSpan(FittedEdit& fitted, std::string_view text, char separator) {
  const std::string name(fitted.Name());
  const std::size_t colon = text.find(':');
  const auto low =
      colon == std::string_view::npos ? std::nullopt : ParseReal(text.substr(0, colon), separator);
  const auto high =
      colon == std::string_view::npos ? std::nullopt : ParseReal(text.substr(colon + 1), separator);
  if (!low || !high || !(*low < *high)) {
    return "Диапазон " + name + " должен иметь вид НИЗ:ВЕРХ, НИЗ < ВЕРХ";
  }
  const NumericRange& range = fitted.edit->range;
  if (!range.Contains(static_cast<double>(*low)) || !range.Contains(static_cast<double>(*high))) {
    return "Диапазон " + name +
           " выходит за допустимые значения: " + std::string(fitted.edit->message);
  }
  fitted.low = static_cast<double>(*low);
  fitted.high = static_cast<double>(*high);
  return std::nullopt;
}

}  // namespace

double FittedEdit::ValueAt(double u) const {
  if (IsLogScale()) return std::exp(std::log(low) + u * (std::log(high) - std::log(low)));
  return low + u * (high - low);
}

double FittedEdit::CoordinateOf(double value) const {
  if (IsLogScale()) return (std::log(value) - std::log(low)) / (std::log(high) - std::log(low));
  return (value - low) / (high - low);
}

std::variant<std::vector<FittedEdit>, std::string> FittedEditsOf(
    std::span<const std::string> names, std::span<const std::pair<std::string, std::string>> spans,
    char separator) {
  std::vector<FittedEdit> edits;
  for (const std::string& name : names) {
    const SettingsEdit* edit = FindSettingsEdit(name);
    if (edit == nullptr) return "Неизвестное поле настроек " + name;
    if (std::holds_alternative<std::monostate>(edit->field)) {
      return "Поле " + name + " не задаёт параметр модели: подбирать нечего";
    }
    if (std::any_of(edits.begin(), edits.end(),
                    [&](const FittedEdit& e) { return e.Name() == name; })) {
      return "Поле " + name + " названо дважды";
    }
    const NumericRange& range = edit->range;
    // A log-scale span cannot start at zero; the typical spans of such edits never do.
    edits.push_back({edit, range.typicalLow, range.typicalHigh});
  }
  for (const auto& [name, text] : spans) {
    // clang 14, which the fuzzing build uses, cannot capture a structured binding.
    const auto it = std::find_if(edits.begin(), edits.end(),
                                 [&name = name](const FittedEdit& e) { return e.Name() == name; });
    if (it == edits.end()) return "Диапазон задан для поля " + name + ", которое не подбирается";
    if (auto fault = ReadSpan(*it, text, separator)) return *fault;
  }
  return edits;
}

double StoredValue(const TParameters& parameters, const SettingsEdit& edit) {
  if (const auto* integer = std::get_if<std::int32_t TParameters::*>(&edit.field)) {
    return parameters.**integer;
  }
  if (const auto* real = std::get_if<double TParameters::*>(&edit.field)) return parameters.**real;
  return 0;
}

std::optional<std::string> StoreValues(TParameters& parameters, std::span<const FittedEdit> edits,
                                       std::span<const double> values) {
  for (std::size_t i = 0; i < edits.size(); ++i) {
    if (auto refusal = SetEditNumber(parameters, *edits[i].edit, values[i])) return refusal;
  }
  return std::nullopt;
}

void CoverDays(TParameters& parameters, double days) {
  // One step more than the quotient, so that rounding never leaves a time just past the end.
  const double steps = std::ceil(days / parameters.FDT) + 1;
  parameters.FM = static_cast<std::int32_t>(std::min(steps, 2147483647.0));
}

}  // namespace teravo
