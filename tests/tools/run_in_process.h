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

// Runs the runner on `args` followed by `more`.
inline Outcome RunStrings(std::vector<std::string> args,
                          const std::vector<std::string>& more = {}) {
  args.insert(args.end(), more.begin(), more.end());
  return RunInProcess(std::vector<std::string_view>(args.begin(), args.end()));
}

// `args` followed by `more`.
inline std::vector<std::string> With(std::vector<std::string> args,
                                     const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

// A series of six short plays and a sweep of three points: runs and parts made in a moment.
inline const std::vector<std::string> kShortSeries = {
    "series", "--set",     "edM=300", "--set", "edK=6", "--seed", "7", "--decimal-separator",
    ".",      "--threads", "1"};
inline const std::vector<std::string> kShortSweep = {
    "sweep", "edProgrammersNum=1;2;3", "--set", "edK=3", "--set", "edM=200", "--seed",
    "9",     "--decimal-separator",    "."};

#ifdef TERAVO_TEST_DATA_DIR
// The public SYS1 failure times, in seconds.
inline const std::string kSys1 = std::string(TERAVO_TEST_DATA_DIR) + "/SYS1.csv";
#endif

inline bool Contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

}  // namespace teravo::sim::test
