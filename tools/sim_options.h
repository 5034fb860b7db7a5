#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace teravo::sim {

// Plays or points first ... last of a run, 1-based.
struct PartRange {
  std::int32_t first = 1;
  std::int32_t last = 1;
  bool operator==(const PartRange&) const = default;
};

// teravo-sim play | series | sweep | merge | data | fit | ask.
enum class SimCommand { Play, Series, Sweep, Merge, Data, Fit, Ask };

// The command line as read. Each command has options of its own; a member of a command that
// was not named keeps its default.
struct SimOptions {
  SimCommand command = SimCommand::Play;

  // play, series and sweep.
  // --set edX=text, in the order given; a later one for the same edit wins.
  std::vector<std::pair<std::string, std::string>> edits;
  bool byIntensity = false;
  std::optional<std::uint32_t> seed;
  std::optional<char> separator;  // otherwise the user's locale
  bool pointArrays = true;        // --no-points clears it
  int threads = 0;                // 0: every core
  bool force = false;             // start a run that may take more than an hour
  std::optional<std::string> paramsFile;
  std::optional<std::string> saveParams;

  // play, series, sweep and merge.
  std::optional<std::string> csvFolder;

  // series.
  std::optional<std::string> moment;  // the distributions window's edCurTime text
  std::optional<PartRange> plays;

  // sweep: edX=VALUES, read once the decimal separator is known.
  std::optional<std::string> sweep;
  std::optional<PartRange> points;

  // merge.
  std::vector<std::string> parts;

  // data and fit: a failure log and how to read it. Texts are read once the decimal separator
  // is known.
  std::optional<std::string> dataFile;
  std::optional<std::string> layout;   // ft, if or fc; otherwise from the header
  std::string timeUnit = "days";       // seconds, hours, days or weeks
  std::optional<std::string> holdout;  // the share of the time span the holdout fits see
  // data: what to predict, --predict KEY=VALUE.
  std::vector<std::pair<std::string, std::string>> predict;

  // fit: texts read once the decimal separator is known.
  std::vector<std::string> fitEdits;                           // empty: edErrorsNum0, edMu
  std::vector<std::pair<std::string, std::string>> fitRanges;  // edX, LOW:HIGH
  std::optional<std::string> fitPlays;
  std::optional<std::string> fitHorizon;
  std::optional<std::string> fitMaxEvaluations;
  std::optional<std::string> fitMaxSeconds;
  bool fitFixedErrors = false;

  // ask: texts read once the decimal separator is known.
  std::optional<std::string> askTarget;       // Kg>=0.95, ...
  bool askFirstReach = false;                 // the first reach, not "from then on"
  std::optional<std::string> askProbability;  // 0.9 by default
  std::optional<std::string> askBy;           // a date in days
  std::optional<std::string> askProgrammers;  // FEWEST:MOST
  std::optional<std::string> askCosts;        // DAY:FAILURE[:HORIZON]
  std::optional<std::string> askPlays;        // edK by default
  std::optional<std::string> askMaxEvaluations;

  // The help the command line asks for instead of a run: the overview of the commands, or
  // the options of the one it names.
  std::optional<std::string> help;
};

// A command line that cannot be used: what is wrong with it, and the help of the command it
// was meant for.
struct UsageError {
  std::string text;
  std::string help;
};

// Reads `teravo-sim COMMAND [options]`, or the older forms without a command: --series runs a
// series, --sweep a sweep, anything else one play.
std::variant<SimOptions, UsageError> ParseSimOptions(const std::vector<std::string_view>& args);

}  // namespace teravo::sim
