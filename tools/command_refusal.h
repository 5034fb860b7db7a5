#pragma once

#include <string>

namespace teravo::sim {

// A refusal of a command's line or data, told on its error stream and answered with the
// refused exit status.
struct Refused {
  std::string text;
};

}  // namespace teravo::sim
