#pragma once

#include <string>
#include <string_view>

#include "model/teravo.h"

namespace teravo {

// One line describing the initial conditions of a play, built from the model's parameters
// and the total-time text exactly as the settings dialog's edTime holds it.
std::string GetParametersText(const TTeravo& model, std::string_view timeText, char separator);

}  // namespace teravo
