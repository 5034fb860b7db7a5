#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "model/parameters.h"

namespace teravo {

// Names of the settings dialog's edits, for the code that works with one edit in particular.
namespace edit {
inline constexpr std::string_view ClientsNum = "edClientsNum";
inline constexpr std::string_view ProgrammersNum = "edProgrammersNum";
inline constexpr std::string_view A = "edA";
inline constexpr std::string_view ErrorsNum0 = "edErrorsNum0";
inline constexpr std::string_view Y0 = "edY0";
inline constexpr std::string_view E_aver = "edE_aver";
inline constexpr std::string_view OptimT = "edOptimT";
inline constexpr std::string_view CoeffComplexity = "edCoeffComplexity";
inline constexpr std::string_view Yk = "edYk";
inline constexpr std::string_view Mu = "edMu";
inline constexpr std::string_view P_newErr = "edP_newErr";
inline constexpr std::string_view Y_newErr = "edY_newErr";
inline constexpr std::string_view DT = "edDT";
inline constexpr std::string_view M = "edM";
inline constexpr std::string_view Time = "edTime";
inline constexpr std::string_view K = "edK";
}  // namespace edit

// What an edit holds: a number the user types, or a result only shown (disabled).
enum class EditKind { Integer, Real, Display };

// When acceptance reads an edit: always, or only in one of the two new-error modes that the
// radio pair selects.
enum class ReadWhen { Always, ByProbability, ByIntensity };

// The parameter field an accepted edit fills; none for the estimators' inputs and results.
using ParameterField =
    std::variant<std::monostate, std::int32_t TParameters::*, double TParameters::*>;

// How a number's size is best judged: by differences, or by ratios (counts, intensities and
// steps that span orders of magnitude).
enum class Scale { Linear, Log };

// The numbers an edit takes. Acceptance refuses the others with the edit's message; searches
// (sweeps, fits) stay within [typicalLow, typicalHigh] unless told otherwise.
struct NumericRange {
  double low;
  double high;
  bool lowOpen;   // low itself is refused
  bool highOpen;  // high itself is refused
  Scale scale;
  double typicalLow;
  double typicalHigh;

  bool Contains(double value) const {
    return (lowOpen ? value > low : value >= low) && (highOpen ? value < high : value <= high);
  }
};

// One edit of the settings dialog, everything about it in one place.
struct SettingsEdit {
  std::string_view name;
  std::string_view label;  // its label's caption, "&" before the mnemonic; empty: no label
  EditKind kind;           // an integer edit takes whole numbers only
  ParameterField field;
  ReadWhen readWhen;
  NumericRange range;            // of a number the user types; unused for a display field
  std::string_view message;      // shown when the text does not parse or is out of range
  std::string_view defaultText;  // "." stands for the user's decimal separator
  bool enabledAtStart;
  std::string_view hint;
};

// Every edit, in the order of the dialog's rows. Acceptance reads the edits that fill a
// parameter field in this order.
std::span<const SettingsEdit> SettingsEdits();
// The edit of that name, or null.
const SettingsEdit* FindSettingsEdit(std::string_view name);

// Parses `text` as the edit's kind and stores it in the edit's field when it parses (a real
// only when a double holds it); true when it parsed and the stored value passes the edit's
// test. An edit without a field takes any text.
bool StoreEditText(TParameters& parameters, const SettingsEdit& edit, std::string_view text,
                   char separator);

// Makes the step at most one mean interval of the given intensity (the threshold leaves room
// for rounding); true when it had to change. Acceptance applies it for the request and then
// the correction intensity, and so does anything that changes one parameter of an accepted set.
bool CorrectStepFor(TParameters& parameters, double intensity);

// Stores `text` as StoreEditText does and then corrects the step as acceptance would
// (edDT at most about 1 / the request and correction intensities). Empty when stored, else
// the edit's message.
std::optional<std::string> SetEditText(TParameters& parameters, const SettingsEdit& edit,
                                       std::string_view text, char separator);
// The same for a number: an integer edit takes it rounded to the nearest whole number (a tie
// to the even one); a real edit takes it as its shortest text reads back.
std::optional<std::string> SetEditNumber(TParameters& parameters, const SettingsEdit& edit,
                                         long double value);

// A default text with the given decimal separator.
std::string DefaultText(const SettingsEdit& edit, char separator);

// What the settings dialog looks like at creation: every edit's text and whether it is
// enabled. rbP starts checked.
struct EditDefault {
  std::string_view name;
  std::string text;
  bool enabled;
};
std::vector<EditDefault> DefaultEdits(char separator);

// Texts for some edits, by name; the others keep their default texts.
using EditTexts = std::vector<std::pair<std::string_view, std::string_view>>;

// The parameter set these texts give, as an acceptance of them stores it (new errors by
// probability unless `byProbability` is false), without the step corrections. Throws
// GeneralError naming the edit when a text does not parse or is refused: meant for parameter
// sets written in code (tests, benchmarks), whose texts use "." as the separator.
TParameters ParametersFromTexts(const EditTexts& texts, bool byProbability = true);

}  // namespace teravo
