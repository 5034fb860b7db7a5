#include "tools/sim_options.h"

#include <charconv>
#include <string>

#include "params/settings_form.h"

namespace teravo::sim {

namespace {

constexpr std::string_view kUsage =
    "Usage: teravo-sim [options]\n"
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
    "  --no-series              leave the chart points out of the output\n"
    "  --help                   show this text\n"
    "\n"
    "Exit status: 0 success, 2 refused parameters or command line, 1 general error.\n";

bool IsSettingsEdit(std::string_view name) {
  for (std::string_view known :
       {edit::ClientsNum, edit::ProgrammersNum, edit::A, edit::ErrorsNum0, edit::Y0, edit::E_aver,
        edit::OptimT, edit::CoeffComplexity, edit::Yk, edit::Mu, edit::P_newErr, edit::Y_newErr,
        edit::DT, edit::M, edit::Time, edit::K}) {
    if (name == known) return true;
  }
  return false;
}

// A separator must not be mistaken for a digit, a sign, an exponent or a blank.
bool IsUsableSeparator(std::string_view text) {
  if (text.size() != 1) return false;
  const char c = text[0];
  const bool printable = c > ' ' && c < 0x7f;
  const bool digit = c >= '0' && c <= '9';
  return printable && !digit && c != '+' && c != '-' && c != 'e' && c != 'E';
}

std::optional<std::uint32_t> ParseSeed(std::string_view text) {
  std::uint32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc{} || ptr != end) return std::nullopt;
  return value;
}

}  // namespace

std::string_view UsageText() {
  return kUsage;
}

std::variant<SimOptions, UsageError> ParseSimOptions(const std::vector<std::string_view>& args) {
  SimOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    auto value = [&]() -> std::optional<std::string_view> {
      if (i + 1 >= args.size()) return std::nullopt;
      return args[++i];
    };
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--by-intensity") {
      options.byIntensity = true;
    } else if (arg == "--series") {
      options.series = true;
    } else if (arg == "--no-series") {
      options.pointArrays = false;
    } else if (arg == "--set") {
      const auto text = value();
      if (!text) return UsageError{"--set needs edX=TEXT"};
      const std::size_t equals = text->find('=');
      if (equals == std::string_view::npos) return UsageError{"--set needs edX=TEXT"};
      const std::string_view name = text->substr(0, equals);
      if (!IsSettingsEdit(name)) {
        return UsageError{"unknown settings edit '" + std::string(name) + "'"};
      }
      options.edits.emplace_back(name, text->substr(equals + 1));
    } else if (arg == "--moment") {
      const auto text = value();
      if (!text) return UsageError{"--moment needs a time"};
      options.moment = std::string(*text);
    } else if (arg == "--seed") {
      const auto text = value();
      const auto seed = text ? ParseSeed(*text) : std::nullopt;
      if (!seed) return UsageError{"--seed needs an integer from 0 to 4294967295"};
      options.seed = seed;
    } else if (arg == "--decimal-separator") {
      const auto text = value();
      if (!text || !IsUsableSeparator(*text)) {
        return UsageError{"--decimal-separator needs one character, not a digit, sign or E"};
      }
      options.separator = (*text)[0];
    } else {
      return UsageError{"unknown argument '" + std::string(arg) + "'"};
    }
  }
  return options;
}

}  // namespace teravo::sim
