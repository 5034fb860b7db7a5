#include "tools/sim_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <functional>
#include <limits>
#include <optional>
#include <string>

#include "core/utf8_text.h"
#include "params/settings_edits.h"
#include "play/sweep_values.h"

namespace teravo::sim {

namespace {

constexpr std::string_view kOverview =
    "Runs plays of the reliability model without windows and prints one JSON document.";

constexpr std::string_view kExitStatus =
    "Exit status: 0 success, 2 refused parameters or command line, 1 general error.";

// How the command line and the files it names are read where a reader could go either way.
constexpr std::string_view kRules =
    "Rules: an option given twice takes the later value (--set: the later text for the\n"
    "same edit); --plays belongs to series (teravo-sim --series --plays A-B): without\n"
    "--series it is refused. A parameter file (--params) that holds a key twice is refused,\n"
    "and so is a real written with a comma: the file's numbers have a dot. Texts must be\n"
    "UTF-8. --csv DIR must be missing or empty: the run writes its files into a fresh\n"
    "folder beside DIR and renames it to DIR once all are written; a DIR holding files\n"
    "(an earlier run's too) is refused. --save-params writes its file only once the run\n"
    "has been accepted; a target that is not a writable regular file is refused. A part\n"
    "(--plays, --points) ends with a digest of its content: merge refuses a part changed\n"
    "after it was written.";

constexpr std::string_view kOverviewFooter =
    "Run 'teravo-sim COMMAND --help' for the options of a command.\n"
    "Without a command the older forms still run: --series runs a series, --sweep edX=VALUES\n"
    "a sweep, anything else one play (teravo-sim --series --set edK=20 is teravo-sim series\n"
    "--set edK=20).\n";

// The commands, in the order the overview lists them.
struct CommandName {
  std::string_view name;
  SimCommand command;
  std::string_view description;
};
constexpr CommandName kCommands[] = {
    {"play", SimCommand::Play, "one play"},
    {"series", SimCommand::Series,
     "a series of edK plays: every play, their averages and distributions"},
    {"sweep", SimCommand::Sweep, "a series (edK plays, the same seeds) at each value of one edit"},
    {"data", SimCommand::Data,
     "a failure log: its trend, the classic growth models fitted to it and their predictions"},
    {"merge", SimCommand::Merge,
     "the parts of one run (--plays, --points) put together into the\n"
     "document the whole run prints, byte for byte"},
    {"fit", SimCommand::Fit,
     "edits fitted to observed failure data, with intervals, a forecast\n"
     "with bands and the holdout error beside the classic models'"},
    {"ask", SimCommand::Ask,
     "when a target is reached with a probability, how many\n"
     "programmers reach it by a date, what release time costs least"},
};

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
constexpr ValueOption kPredict{"--predict", "--predict needs KEY=VALUE"};
constexpr ValueOption kValueOptions[] = {kPredict,   kSet,     kMoment, kSeed,
                                         kSeparator, kThreads, kParams, kSaveParams,
                                         kCsv,       kSweep,   kPoints, kPlays};

UsageError Needs(const ValueOption& option) {
  return UsageError{std::string(option.needs), {}};
}

// Thrown by an option as soon as its value turns out unusable: the reading stops there, so
// the first fault on the command line is the one told.
struct Refusal {
  UsageError error;
};

// `take` gets the value of each occurrence in turn, so a later one overrides an earlier one.
CLI::Option* AddValueOption(CLI::App& app, const ValueOption& option, std::string_view typeName,
                            std::string_view description,
                            std::function<void(const std::string&)> take) {
  return app
      .add_option(
          std::string(option.name),
          [take = std::move(take)](const CLI::results_t& values) {
            take(values.front());
            return true;
          },
          std::string(description))
      ->type_name(std::string(typeName))
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
  return UsageError{std::string(text), {}};
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

// A value among `names`; the option's type name lists them in the help.
CLI::Validator OneOf(std::vector<std::string> names) {
  return CLI::Validator(
      [names](std::string& value) -> std::string {
        if (std::find(names.begin(), names.end(), value) != names.end()) return {};
        std::string list;
        for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
        return "'" + value + "' is not one of " + list;
      },
      "");
}

// The options play, series, sweep and fit share: the parameters, the seeds and the threads.
void AddRunOptions(CLI::App& command, SimOptions& options) {
  AddValueOption(command, kSet, "edX=TEXT",
                 "the text of a settings edit (repeatable), e.g. --set edM=1000;\n"
                 "unset edits keep the settings dialog's defaults",
                 [&](const std::string& text) {
                   const std::size_t equals = text.find('=');
                   if (equals == std::string::npos) throw Refusal{Needs(kSet)};
                   std::string name = text.substr(0, equals);
                   if (FindSettingsEdit(name) == nullptr) {
                     throw Refusal{{"unknown settings edit '" + name + "'", {}}};
                   }
                   if (!IsUtf8(text)) {
                     throw Refusal{{"--set " + name + ": the text is not UTF-8", {}}};
                   }
                   options.edits.emplace_back(std::move(name), text.substr(equals + 1));
                 });
  command.add_flag("--by-intensity", options.byIntensity,
                   "new errors by intensity (rbI) instead of by probability");
  AddValueOption(command, kParams, "FILE",
                 "start from the edits of a parameter file (*.teravo.json);\n"
                 "--set and --by-intensity apply after it",
                 [&](const std::string& text) { options.paramsFile = text; });
  AddValueOption(command, kSaveParams, "FILE", "write the edits of this run as a parameter file",
                 [&](const std::string& text) { options.saveParams = text; });
  AddValueOption(command, kSeed, "N",
                 "play k of the run starts from the seed N + k - 1\n"
                 "(default: the clock, as in the program)",
                 [&](const std::string& text) {
                   options.seed = ParseWhole(text);
                   if (!options.seed) throw Refusal{Needs(kSeed)};
                 });
  AddValueOption(command, kSeparator, "C",
                 "the decimal separator of every number text\n(default: the user's locale)",
                 [&](const std::string& text) {
                   if (!IsUsableSeparator(text)) throw Refusal{Needs(kSeparator)};
                   options.separator = text[0];
                 });
  AddValueOption(command, kThreads, "N",
                 "run the plays of a series on N threads (default: every\n"
                 "core); the output does not depend on N",
                 [&](const std::string& text) {
                   const auto threads = ParseWhole(text);
                   if (!threads || *threads < 1 || *threads > 1024) throw Refusal{Needs(kThreads)};
                   options.threads = static_cast<int>(*threads);
                 });
}

// What play, series and sweep add: the windows they write and how long they may run. A fit
// bounds itself and writes one document.
void AddPlayingOptions(CLI::App& command, SimOptions& options) {
  command.add_flag("--force", options.force, "start a run that may take more than an hour");
  AddValueOption(command, kCsv, "DIR", "also write the results as CSV files into DIR",
                 [&](const std::string& text) { options.csvFolder = text; });
  const auto noPoints = [&options](std::int64_t) { options.pointArrays = false; };
  command.add_flag_function("--no-points", noPoints,
                            "keep no chart points and leave them out of the output\n"
                            "(a long series then needs little memory)");
  command.add_flag_function("--no-series", noPoints)->group("");  // the older name
}

// A part of a run is named by its range; the whole run is the default.
void AddPartOption(CLI::App& command, const ValueOption& option, std::string_view typeName,
                   std::string_view description, std::optional<PartRange>& range) {
  AddValueOption(command, option, typeName, description,
                 [&range, &option](const std::string& text) {
                   range = ParseRange(text);
                   if (!range) throw Refusal{Needs(option)};
                 });
}

// Refuses an edit that cannot be swept before anything runs; the values themselves are read
// once the decimal separator is known.
void TakeSweep(const std::string& text, SimOptions& options) {
  const std::string name = text.substr(0, text.find('='));
  if (name.size() == text.size()) throw Refusal{Needs(kSweep)};
  const SettingsEdit* edit = FindSettingsEdit(name);
  if (edit == nullptr) throw Refusal{{"unknown settings edit '" + name + "'", {}}};
  if (!IsSweepable(*edit)) {
    throw Refusal{{name + " cannot be swept: only an edit that fills a parameter can", {}}};
  }
  if (!IsUtf8(text)) throw Refusal{{"--sweep " + name + ": the values are not UTF-8", {}}};
  options.sweep = text;
}

// Every command with its options, bound to `options`; `help` is set by any -h or --help.
class CommandLine {
 public:
  CommandLine(SimOptions& options, bool& help) : app_(std::string(kOverview), "teravo-sim") {
    app_.set_help_flag();  // --help is an ordinary flag here: the help is told after the reading
    app_.option_defaults()->disable_flag_override();  // a flag takes no value: --force=0 is refused
    app_.require_subcommand(0, 1);
    app_.footer(std::string(kOverviewFooter) + "\n" + std::string(kRules) + "\n\n" +
                std::string(kExitStatus));
    app_.get_formatter()->column_width(26);
    app_.get_formatter()->label("OPTIONS", "options");
    app_.get_formatter()->label("SUBCOMMAND", "COMMAND");
    app_.get_formatter()->label("SUBCOMMANDS", "commands");
    app_.add_flag("-h,--help", help, "show this text");
    for (const CommandName& name : kCommands) {
      CLI::App& command =
          *app_.add_subcommand(std::string(name.name), std::string(name.description));
      command.group("Commands");
      const bool playing = name.command == SimCommand::Play || name.command == SimCommand::Series ||
                           name.command == SimCommand::Sweep || name.command == SimCommand::Merge;
      command.footer((playing ? std::string(kRules) + "\n\n" : std::string()) +
                     std::string(kExitStatus));
      command.set_help_flag();
      command.add_flag("-h,--help", help, "show this text");
      if (name.command != SimCommand::Merge && name.command != SimCommand::Data) {
        AddRunOptions(command, options);
      }
      if (name.command != SimCommand::Merge && name.command != SimCommand::Data &&
          name.command != SimCommand::Fit && name.command != SimCommand::Ask) {
        AddPlayingOptions(command, options);
      }
      commands_.push_back({&command, name.command});
    }
    AddSeriesOptions(Command(SimCommand::Series), options);
    AddSweepOptions(Command(SimCommand::Sweep), options);
    AddMergeOptions(Command(SimCommand::Merge), options);
    AddDataOptions(Command(SimCommand::Data), options);
    AddFitOptions(Command(SimCommand::Fit), options);
    AddAskOptions(Command(SimCommand::Ask), options);
  }

  CLI::App& App() { return app_; }

  CLI::App& Command(SimCommand which) {
    return *std::find_if(commands_.begin(), commands_.end(), [which](const auto& command) {
              return command.second == which;
            })->first;
  }

  // The command the reading went into.
  std::optional<SimCommand> Chosen() {
    for (const auto& [command, which] : commands_) {
      if (command->parsed()) return which;
    }
    return std::nullopt;
  }

  // An argument `chosen` does not take: when another command takes it, say which.
  std::string Unknown(const std::string& argument, SimCommand chosen) {
    const std::string name = argument.substr(0, argument.find('='));
    std::string takers;
    for (const auto& [command, which] : commands_) {
      if (!name.starts_with('-') || which == chosen) continue;
      if (command->get_option_no_throw(name) == nullptr) continue;
      takers += (takers.empty() ? "teravo-sim " : ", teravo-sim ") + command->get_name();
    }
    if (takers.empty()) return "unknown argument '" + argument + "'";
    return name + " applies to " + takers + ", not to teravo-sim " + Command(chosen).get_name();
  }

 private:
  static void AddSeriesOptions(CLI::App& series, SimOptions& options) {
    AddValueOption(series, kMoment, "T",
                   "recompute the distributions at the moment T\n"
                   "(default: half the total time)",
                   [&](const std::string& text) { options.moment = text; });
    AddPartOption(series, kPlays, "A-B",
                  "run plays A ... B of the series only, as a part (needs --seed)", options.plays);
  }

  static void AddSweepOptions(CLI::App& sweep, SimOptions& options) {
    const auto take = [&options](const CLI::results_t& values) {
      TakeSweep(values.front(), options);
      return true;
    };
    sweep
        .add_option("VALUES", take,
                    "edX=VALUES, the edit and its values: a list V1;V2;...\n"
                    "or a range FROM:TO:COUNT, evenly spaced, or\n"
                    "FROM:TO:COUNT:log; values that fail acceptance are\n"
                    "skipped (--sweep edX=VALUES is the older form)")
        ->type_name("")
        ->expected(1)
        ->trigger_on_parse();
    AddValueOption(sweep, kSweep, "edX=VALUES", "", [&](const std::string& text) {
      TakeSweep(text, options);
    })->group("");
    AddPartOption(sweep, kPoints, "I-J",
                  "run points I ... J of the sweep only, as a part (needs --seed)", options.points);
  }

  static void AddMergeOptions(CLI::App& merge, SimOptions& options) {
    merge.add_option("parts", options.parts, "the parts' documents, in any order")
        ->type_name("PART.json ...");
    AddValueOption(merge, kCsv, "DIR", "also write the CSV files of the whole run into DIR",
                   [&](const std::string& text) { options.csvFolder = text; });
  }

  // How a failure log is read: data and fit take it alike.
  static void AddDataReadingOptions(CLI::App& command, SimOptions& options) {
    command
        .add_option("--layout", options.layout,
                    "ft (failure times), if (times between failures) or\n"
                    "fc (interval ends T and counts FC); default: from the header")
        ->type_name("ft|if|fc")
        ->check(OneOf({"ft", "if", "fc"}))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    command
        .add_option("--time-unit", options.timeUnit, "the unit of the file's times (default: days)")
        ->type_name("seconds|hours|days|weeks")
        ->check(OneOf({"seconds", "hours", "days", "weeks"}))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    command
        .add_option("--holdout", options.holdout,
                    "the share of the time span the holdout fits see (default: 0.7)")
        ->type_name("SHARE")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  }

  static void AddDataOptions(CLI::App& data, SimOptions& options) {
    data.add_option("FILE", options.dataFile, "the failure log: CSV or XLSX (first sheet)")
        ->type_name("");
    AddDataReadingOptions(data, options);
    AddValueOption(data, kPredict, "KEY=VALUE",
                   "what to predict (repeatable), times in days: dt (failures\n"
                   "in the next dt), failures (time to N more), intensity\n"
                   "(time to fall to it, 1/day), mission (x of R(x|t)),\n"
                   "reliability (test time to reach it); by default in the\n"
                   "scale of the data",
                   [&](const std::string& text) {
                     const std::size_t equals = text.find('=');
                     if (equals == std::string::npos) throw Refusal{Needs(kPredict)};
                     options.predict.emplace_back(text.substr(0, equals), text.substr(equals + 1));
                   });
    AddValueOption(data, kSeparator, "C",
                   "the decimal separator of the CSV files, --holdout and\n"
                   "--predict (default: the user's locale)",
                   [&](const std::string& text) {
                     if (!IsUsableSeparator(text)) throw Refusal{Needs(kSeparator)};
                     options.separator = text[0];
                   });
    AddValueOption(data, kCsv, "DIR", "also write the tables as CSV files into DIR",
                   [&](const std::string& text) { options.csvFolder = text; });
  }

  static void AddFitOptions(CLI::App& fit, SimOptions& options) {
    const auto text = [&fit](std::string_view name, std::string_view type,
                             std::string_view description, std::optional<std::string>& into) {
      AddValueOption(fit, {name, ""}, type, description,
                     [&into](const std::string& value) { into = value; });
    };
    text("--data", "FILE", "the failure data (CSV or XLSX)", options.dataFile);
    AddDataReadingOptions(fit, options);
    AddValueOption(fit, {"--fit", ""}, "edX,edY", "the edits fitted (default: edErrorsNum0,edMu)",
                   [&](const std::string& value) {
                     options.fitEdits.clear();
                     for (std::size_t start = 0; start <= value.size();) {
                       const std::size_t comma = std::min(value.find(',', start), value.size());
                       options.fitEdits.push_back(value.substr(start, comma - start));
                       start = comma + 1;
                     }
                   });
    AddValueOption(fit, {"--range", ""}, "edX=LOW:HIGH",
                   "the span searched for an edit (repeatable; default: its typical span)",
                   [&](const std::string& value) {
                     const std::size_t equals = value.find('=');
                     if (equals == std::string::npos) {
                       throw Refusal{{"--range needs edX=LOW:HIGH", {}}};
                     }
                     options.fitRanges.emplace_back(value.substr(0, equals),
                                                    value.substr(equals + 1));
                   });
    text("--plays", "K", "plays per evaluation, the same seeds each time (default: 20)",
         options.fitPlays);
    text("--horizon", "DAYS", "forecast past the data's end (default: half the data's span)",
         options.fitHorizon);
    text("--max-evaluations", "N", "evaluations a search may take (default: 400)",
         options.fitMaxEvaluations);
    text("--max-seconds", "S", "seconds a search may take (default: 600)", options.fitMaxSeconds);
    fit.add_flag("--match-fixed", options.fitFixedErrors,
                 "the data count corrected errors: match the simulation's fixed errors");
  }

  static void AddAskOptions(CLI::App& ask, SimOptions& options) {
    const auto text = [&ask](std::string_view name, std::string_view type,
                             std::string_view description, std::optional<std::string>& into) {
      AddValueOption(ask, {name, ""}, type, description,
                     [&into](const std::string& value) { into = value; });
    };
    text("--target", "Q>=X",
         "the target: Kg>=X, intensity<=X (failures per day),\n"
         "client_errors<=X, working>=X or failures>=X",
         options.askTarget);
    ask.add_flag("--first-reach", options.askFirstReach,
                 "the target counts when first met (default: when it\n"
                 "holds from then to the end of the play)");
    text("--probability", "P", "the probability of the answers (default: 0.9)",
         options.askProbability);
    text("--by", "DAYS", "a date: the share reaching the target by it", options.askBy);
    text("--programmers", "A:B",
         "the fewest edProgrammersNum reaching the target by --by\n"
         "with the probability, searched from A to B",
         options.askProgrammers);
    text("--costs", "DAY:FAILURE[:HORIZON]",
         "the release time costing least: a programmer's day, a\n"
         "failure after release, the horizon (default: the play's end)",
         options.askCosts);
    text("--plays", "K", "plays per answer, the same seeds for every count (default: edK)",
         options.askPlays);
    text("--max-evaluations", "N", "counts of programmers the search may play (default: 12)",
         options.askMaxEvaluations);
  }

  CLI::App app_;
  std::vector<std::pair<CLI::App*, SimCommand>> commands_;
};

std::optional<SimCommand> CommandNamed(std::string_view word) {
  for (const CommandName& name : kCommands) {
    if (name.name == word) return name.command;
  }
  return std::nullopt;
}

bool TakesValue(std::string_view argument) {
  return std::any_of(std::begin(kValueOptions), std::end(kValueOptions),
                     [argument](const ValueOption& option) { return option.name == argument; });
}

// The command line with its command named first. The older forms name none: --sweep makes a
// sweep and --series a series (that flag then says nothing more), anything else is one play;
// an argument that is the value of an option is no flag. Empty for a line that names no
// command and asks for help: it gets the overview.
std::vector<std::string> WithCommand(const std::vector<std::string_view>& args) {
  if (!args.empty() && CommandNamed(args.front())) return {args.begin(), args.end()};
  bool series = false;
  bool sweep = false;
  bool help = false;
  std::vector<std::string> line = {""};  // the command goes first
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--") {  // what follows is no option
      line.insert(line.end(), args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
      break;
    }
    if (arg == "--series") {
      series = true;
      continue;
    }
    sweep = sweep || arg == kSweep.name || arg.starts_with("--sweep=");
    help = help || arg == "--help" || arg == "-h";
    line.emplace_back(arg);
    if (TakesValue(arg) && i + 1 < args.size()) line.emplace_back(args[++i]);
  }
  if (help && !series && !sweep) return {};
  line.front() = sweep ? "sweep" : series ? "series" : "play";
  return line;
}

}  // namespace

std::variant<SimOptions, UsageError> ParseSimOptions(const std::vector<std::string_view>& args) {
  SimOptions options;
  bool help = false;
  CommandLine commandLine(options, help);
  CLI::App& app = commandLine.App();
  const std::vector<std::string> line = WithCommand(args);
  if (line.empty()) {
    options.help = app.help();  // no command is chosen yet: the overview
    return options;
  }
  std::optional<UsageError> fault;
  try {
    app.parse(std::vector<std::string>(line.rbegin(), line.rend()));  // CLI11 takes them last first
  } catch (const Refusal& refusal) {
    fault = refusal.error;
  } catch (const CLI::ExtrasError&) {
    // Told below from what was set aside.
  } catch (const CLI::ParseError& error) {
    fault = Explain(error);
  }
  const SimCommand chosen = commandLine.Chosen().value_or(SimCommand::Play);
  options.command = chosen;
  // What was set aside so far lies before the fault.
  if (const auto unknown = app.remaining(true); !unknown.empty()) {
    fault = UsageError{commandLine.Unknown(unknown.front(), chosen), {}};
  }
  if (!fault && !help) {
    if (chosen == SimCommand::Merge && options.parts.empty()) {
      fault = UsageError{"merge needs the parts to merge", {}};
    } else if (chosen == SimCommand::Sweep && !options.sweep) {
      fault = UsageError{"sweep needs edX=VALUES", {}};
    } else if (chosen == SimCommand::Data && !options.dataFile) {
      fault = UsageError{"data needs the file of the failure log", {}};
    } else if (chosen == SimCommand::Fit && !options.dataFile) {
      fault = UsageError{"fit needs --data FILE", {}};
    } else if (chosen == SimCommand::Ask && !options.askTarget) {
      fault = UsageError{"ask needs --target, e.g. --target 'Kg>=0.95'", {}};
    } else if (chosen == SimCommand::Ask && options.askProgrammers && !options.askBy) {
      fault = UsageError{"ask --programmers needs --by DAYS", {}};
    }
  }
  if (fault) {
    fault->help = app.help();
    return *fault;
  }
  if (help) options.help = app.help();
  return options;
}

}  // namespace teravo::sim
