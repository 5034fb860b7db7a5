#pragma once

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "tools/sim_runner.h"

namespace teravo::sim::test {

// What one run of the runner printed and returned.
struct Outcome {
  int status;
  std::string out;
  std::string err;
};

// Runs the runner in this process, with ',' as the user's separator.
inline Outcome RunInProcess(const std::vector<std::string_view>& args, bool terminal = false) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunSim(args, ',', terminal, out, err);
  return {status, out.str(), err.str()};
}

inline bool Contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

}  // namespace teravo::sim::test
