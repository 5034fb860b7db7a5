#include "calibration/fitted_texts.h"

#include <variant>

#include "calibration/fit_space.h"
#include "core/number_text.h"
#include "params/settings_edits.h"
#include "play/sweep.h"

namespace teravo {

std::vector<std::pair<std::string, std::string>> TextsOf(const TParameters& parameters,
                                                         char separator) {
  std::vector<std::pair<std::string, std::string>> texts;
  for (const SettingsEdit& edit : SettingsEdits()) {
    if (std::holds_alternative<std::monostate>(edit.field) ||
        !IsReadInMode(edit, parameters.FByProbability)) {
      continue;
    }
    const double value = StoredValue(parameters, edit);
    std::string text = edit.kind == EditKind::Integer ? IntToStr(static_cast<std::int64_t>(value))
                                                      : ShortestText(value);
    for (char& c : text)
      if (c == '.') c = separator;
    texts.emplace_back(edit.name, std::move(text));
  }
  return texts;
}

}  // namespace teravo
