#pragma once

#include <ostream>
#include <string_view>
#include <vector>

namespace teravo::sim {

// Exit statuses of the runner.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitGeneralError = 1;
inline constexpr int kExitRefused = 2;

// Runs teravo-sim with its arguments (without the program name). `localeSeparator` is the
// decimal separator of the user's locale, used unless the command line names one; progress
// lines go to `err` only when `errIsTerminal`. Returns the exit status.
int RunSim(const std::vector<std::string_view>& args, char localeSeparator, bool errIsTerminal,
           std::ostream& out, std::ostream& err);

}  // namespace teravo::sim
