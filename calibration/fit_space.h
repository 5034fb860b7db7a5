#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "model/parameters.h"
#include "params/settings_edits.h"

namespace teravo {

// One settings edit a fit searches, and the span it searches. The search runs in a
// coordinate u: 0 at the span's low end, 1 at its high end, evenly in the logarithm for an
// edit whose numbers are judged by ratios, so that a step of u means the same everywhere.
struct FittedEdit {
  const SettingsEdit* edit = nullptr;
  double low = 0;
  double high = 0;

  std::string_view Name() const { return edit->name; }
  bool IsInteger() const { return edit->kind == EditKind::Integer; }
  bool IsLogScale() const { return edit->range.scale == Scale::Log; }
  // u may lie outside [0, 1]: intervals reach past the span.
  double ValueAt(double u) const;
  double CoordinateOf(double value) const;
};

// The edits a fit takes when none are named: the number of errors at the start and the
// intensity of corrections, which shape the failure curve most and apart.
inline constexpr std::string_view kDefaultFittedEdits[] = {edit::ErrorsNum0, edit::Mu};

// Edits by name, each over its typical span unless `spans` gives "LOW:HIGH" for it (numbers
// with `separator`). The Russian text of the first fault otherwise: an unknown edit, one that
// fills no parameter, one named twice, a span outside what the edit accepts.
std::variant<std::vector<FittedEdit>, std::string> FittedEditsOf(
    std::span<const std::string> names, std::span<const std::pair<std::string, std::string>> spans,
    char separator);

// The number an edit's field holds now.
double StoredValue(const TParameters& parameters, const SettingsEdit& edit);

// Stores each edit's value as the dialog would (an integer edit rounded, the step corrected
// after); the edit's message when one is refused.
std::optional<std::string> StoreValues(TParameters& parameters, std::span<const FittedEdit> edits,
                                       std::span<const double> values);

// Sets the number of steps so that a play lasts at least `days`, keeping the step.
void CoverDays(TParameters& parameters, double days);

}  // namespace teravo
