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

struct SimOptions {
  // --set edX=text, in the order given; a later one for the same edit wins.
  std::vector<std::pair<std::string, std::string>> edits;
  bool byIntensity = false;
  bool series = false;
  std::optional<std::string> moment;  // the distributions window's edCurTime text
  std::optional<std::uint32_t> seed;
  std::optional<char> separator;  // otherwise the user's locale
  bool pointArrays = true;
  int threads = 0;     // 0: every core
  bool force = false;  // start a run that may take more than an hour
  std::optional<std::string> paramsFile;
  std::optional<std::string> saveParams;
  std::optional<std::string> csvFolder;
  // edX=VALUES: read once the decimal separator is known.
  std::optional<std::string> sweep;
  std::optional<PartRange> points;  // of a sweep
  std::optional<PartRange> plays;   // of a series
  bool help = false;
};

// teravo-sim merge [--csv DIR] PART.json ...
struct MergeOptions {
  std::vector<std::string> parts;
  std::optional<std::string> csvFolder;
  bool help = false;
};

// A command line that cannot be used: what is wrong with it.
struct UsageError {
  std::string text;
};

std::variant<SimOptions, UsageError> ParseSimOptions(const std::vector<std::string_view>& args);

// The arguments after "merge".
std::variant<MergeOptions, UsageError> ParseMergeOptions(const std::vector<std::string_view>& args);

std::string_view UsageText();

}  // namespace teravo::sim
