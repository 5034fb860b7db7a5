#include "tools/sim_options.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <functional>
#include <limits>
#include <optional>
#include <string>

#include "params/settings_edits.h"
#include "play/sweep_values.h"

namespace teravo::sim {

namespace {

constexpr std::string_view kUsage =
    "Usage: teravo-sim [options]\n"
    "       teravo-sim merge [--csv DIR] PART.json ...\n"
    "Runs plays of the reliability model without windows and prints one JSON document.\n"
    "\n"
    "  --set edX=TEXT           the text of a settings edit (repeatable), e.g. --set edM=1000;\n"
    "                           unset edits keep the settings dialog's defaults\n"
    "  --by-intensity           new errors by intensity (rbI) instead of by probability\n"
    "  --series                 run a series of edK plays (otherwise one play)\n"
    "  --moment T               recompute the distributions of a series at the moment T\n"
    "                           (default: half the total time)\n"
    "  --seed N                 play k of the run starts from the seed N + k - 1\n"
    "                           (default: the clock, as in the program)\n"
    "  --decimal-separator C    the decimal separator of every number text\n"
    "                           (default: the user's locale)\n"
    "  --no-series              leave the chart points out of the output (and keep none:\n"
    "                           a long series then needs little memory)\n"
    "  --threads N              run the plays of a series on N threads (default: every\n"
    "                           core); the output does not depend on N\n"
    "  --params FILE            start from the edits of a parameter file (*.teravo.json);\n"
    "                           --set and --by-intensity apply after it\n"
    "  --save-params FILE       write the edits of this run as a parameter file\n"
    "  --csv DIR                also write every window as a CSV file into DIR\n"
    "  --sweep edX=VALUES       a series (edK plays, the same seeds) at each value of one edit:\n"
    "                           a list V1;V2;... or a range FROM:TO:COUNT, evenly spaced, or\n"
    "                           FROM:TO:COUNT:log; values that fail acceptance are skipped\n"
    "  --points I-J             run points I ... J of the sweep only, as a part (needs --seed)\n"
    "  --plays A-B              run plays A ... B of the series only, as a part (needs --seed)\n"
    "  --force                  start a run that may take more than an hour\n"
    "  --help                   show this text\n"
    "\n"
    "merge combines the parts of one run (--points, --plays) into the document the whole run\n"
    "prints, byte for byte; --csv DIR writes its CSV files too.\n"
    "\n"
    "Exit status: 0 success, 2 refused parameters or command line, 1 general error.\n";

// An option that takes a value, and what to tell the user when the value is missing or unusable.
struct ValueOption {
  std::string_view name;
  std::string_view needs;
};
constexpr ValueOption kSet{"--set", "--set needs edX=TEXT"};
constexpr ValueOption kMoment{"--moment", "--moment needs a time"};
constexpr ValueOption kSeed{"--seed", "--seed needs an integer from 0 to 4294967295"};
constexpr ValueOption kSeparator{"--decimal-separator",
                                 "--decimal-separator needs one character, not a digit, sign or E"};
constexpr ValueOption kThreads{"--threads", "--threads needs a whole number from 1 to 1024"};
constexpr ValueOption kParams{"--params", "--params needs a file"};
constexpr ValueOption kSaveParams{"--save-params", "--save-params needs a file"};
constexpr ValueOption kCsv{"--csv", "--csv needs a folder"};
constexpr ValueOption kSweep{"--sweep", "--sweep needs edX=VALUES"};
constexpr ValueOption kPoints{"--points", "--points needs I-J, whole numbers with 1 <= I <= J"};
constexpr ValueOption kPlays{"--plays", "--plays needs A-B, whole numbers with 1 <= A <= B"};
constexpr ValueOption kValueOptions[] = {kSet,     kMoment, kSeed,       kSeparator,
                                         kThreads, kParams, kSaveParams, kCsv,
                                         kSweep,   kPoints, kPlays};

UsageError Needs(const ValueOption& option) {
  return UsageError{std::string(option.needs)};
}

// Thrown by an option as soon as its value turns out unusable: the reading stops there, so
// the first fault on the command line is the one told.
struct Refusal {
  UsageError error;
};

// `take` gets the value of each occurrence in turn, so a later one overrides an earlier one.
void AddValueOption(CLI::App& app, const ValueOption& option,
                    std::function<void(const std::string&)> take) {
  app.add_option(std::string(option.name),
                 [take = std::move(take)](const CLI::results_t& values) {
                   take(values.front());
                   return true;
                 })
      ->expected(1)  // exactly the next argument, even "-1" or "--series"
      ->trigger_on_parse();
}

// CLI11 starts a complaint about an option with the option's name ("--seed: 1 required TEXT
// missing"); for an option with a value, what it needs says more.
UsageError Explain(const CLI::ParseError& error) {
  const std::string_view text = error.what();
  for (const ValueOption& option : kValueOptions) {
    if (text.starts_with(option.name) && text.substr(option.name.size()).starts_with(':')) {
      return Needs(option);
    }
  }
  return UsageError{std::string(text)};
}

// A separator must not be mistaken for a digit, a sign, an exponent or a blank.
bool IsUsableSeparator(std::string_view text) {
  if (text.size() != 1) return false;
  const char c = text[0];
  const bool printable = c > ' ' && c < 0x7f;
  const bool digit = c >= '0' && c <= '9';
  return printable && !digit && c != '+' && c != '-' && c != 'e' && c != 'E';
}

// Decimal digits only: CLI11's own integer reading would take 0x10 and octal 010 as well.
// A plain decimal number within 32 unsigned bits: no sign, no blanks, no other base.
std::optional<std::uint32_t> ParseWhole(std::string_view text) {
  std::uint32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc{} || ptr != end) return std::nullopt;
  return value;
}

// "I-J" or "I": a range of 1-based numbers.
std::optional<PartRange> ParseRange(std::string_view text) {
  const std::size_t dash = text.find('-');
  const auto first = ParseWhole(text.substr(0, dash));
  const auto last = dash == std::string_view::npos ? first : ParseWhole(text.substr(dash + 1));
  constexpr std::uint32_t kMost = std::numeric_limits<std::int32_t>::max();
  if (!first || !last || *first < 1 || *last < *first || *last > kMost) return std::nullopt;
  return PartRange{static_cast<std::int32_t>(*first), static_cast<std::int32_t>(*last)};
}

}  // namespace

std::string_view UsageText() {
  return kUsage;
}

std::variant<SimOptions, UsageError> ParseSimOptions(const std::vector<std::string_view>& args) {
  SimOptions options;
  bool noSeries = false;

  CLI::App app;
  app.set_help_flag();  // --help is an ordinary flag here: the caller prints UsageText()
  app.allow_extras();   // an unknown argument is set aside and told below, in our words
  app.option_defaults()->disable_flag_override();  // a flag takes no value: --series=0 is refused
  app.add_flag("-h,--help", options.help);
  app.add_flag("--by-intensity", options.byIntensity);
  app.add_flag("--series", options.series);
  app.add_flag("--no-series", noSeries);
  app.add_flag("--force", options.force);
  AddValueOption(app, kSet, [&](const std::string& text) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) throw Refusal{Needs(kSet)};
    std::string name = text.substr(0, equals);
    if (FindSettingsEdit(name) == nullptr) throw Refusal{{"unknown settings edit '" + name + "'"}};
    options.edits.emplace_back(std::move(name), text.substr(equals + 1));
  });
  AddValueOption(app, kMoment, [&](const std::string& text) { options.moment = text; });
  AddValueOption(app, kSeed, [&](const std::string& text) {
    options.seed = ParseWhole(text);
    if (!options.seed) throw Refusal{Needs(kSeed)};
  });
  AddValueOption(app, kThreads, [&](const std::string& text) {
    const auto threads = ParseWhole(text);
    if (!threads || *threads < 1 || *threads > 1024) throw Refusal{Needs(kThreads)};
    options.threads = static_cast<int>(*threads);
  });
  AddValueOption(app, kParams, [&](const std::string& text) { options.paramsFile = text; });
  AddValueOption(app, kSaveParams, [&](const std::string& text) { options.saveParams = text; });
  AddValueOption(app, kCsv, [&](const std::string& text) { options.csvFolder = text; });
  AddValueOption(app, kSweep, [&](const std::string& text) {
    const std::string name = text.substr(0, text.find('='));
    if (name.size() == text.size()) throw Refusal{Needs(kSweep)};
    const SettingsEdit* edit = FindSettingsEdit(name);
    if (edit == nullptr) throw Refusal{{"unknown settings edit '" + name + "'"}};
    if (!IsSweepable(*edit)) {
      throw Refusal{{name + " cannot be swept: only an edit that fills a parameter can"}};
    }
    options.sweep = text;
  });
  AddValueOption(app, kPoints, [&](const std::string& text) {
    options.points = ParseRange(text);
    if (!options.points) throw Refusal{Needs(kPoints)};
  });
  AddValueOption(app, kPlays, [&](const std::string& text) {
    options.plays = ParseRange(text);
    if (!options.plays) throw Refusal{Needs(kPlays)};
  });
  AddValueOption(app, kSeparator, [&](const std::string& text) {
    if (!IsUsableSeparator(text)) throw Refusal{Needs(kSeparator)};
    options.separator = text[0];
  });

  std::optional<UsageError> fault;
  try {
    app.parse(std::vector<std::string>(args.rbegin(), args.rend()));  // CLI11 takes them last first
  } catch (const Refusal& refusal) {
    fault = refusal.error;
  } catch (const CLI::ParseError& error) {
    fault = Explain(error);
  }
  // What was set aside so far lies before the fault.
  if (const auto unknown = app.remaining(); !unknown.empty()) {
    return UsageError{"unknown argument '" + unknown.front() + "'"};
  }
  if (fault) return *fault;
  options.pointArrays = !noSeries;
  return options;
}

std::variant<MergeOptions, UsageError> ParseMergeOptions(
    const std::vector<std::string_view>& args) {
  MergeOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--csv") {
      if (++i == args.size()) return Needs(kCsv);
      options.csvFolder = std::string(args[i]);
    } else if (arg.starts_with('-')) {
      return UsageError{"merge: unknown option '" + std::string(arg) + "'"};
    } else {
      options.parts.emplace_back(arg);
    }
  }
  if (options.parts.empty() && !options.help) return UsageError{"merge needs the parts to merge"};
  return options;
}

}  // namespace teravo::sim
