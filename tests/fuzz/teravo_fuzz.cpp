// libFuzzer target: the number texts, the acceptance of the settings dialog's edits, and a
// size-clamped play of every set acceptance lets through.
//
// Input: the first byte holds flags (bit 0: '.' rather than ',' as the separator, bit 1: new
// errors by intensity, bit 2: also press the estimators' buttons); the rest is split at '|'
// into the texts of the edits, in the order of kTypedEdits; edits past the last text keep
// their default texts. GeneralError is an expected outcome everywhere; anything else that
// escapes, a sanitizer report or a broken property below is a finding.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/general_error.h"
#include "core/number_text.h"
#include "model/teravo.h"
#include "params/acceptance.h"
#include "params/estimators.h"
#include "params/settings_edits.h"
#include "play/play_driver.h"
#include "tests/fuzz/finding.h"
#include "tests/support/size_clamp.h"

namespace teravo {
namespace {

[[noreturn]] void Fail(const char* what, std::string_view detail) {
  ReportFinding("teravo_fuzz", what, detail);
}

#define FUZZ_CHECK(condition, detail)           \
  do {                                          \
    if (!(condition)) Fail(#condition, detail); \
  } while (false)

// ---- number texts

void CheckIntegerText(std::string_view text) {
  const auto value = ParseInt(text);
  try {
    const std::int32_t thrown = StrToInt(text);
    FUZZ_CHECK(value && *value == thrown, text);
  } catch (const GeneralError&) {
    FUZZ_CHECK(!value, text);
  }
  if (!value) return;
  // Whatever parses is written back as plain decimal that reads as the same value.
  FUZZ_CHECK(ParseInt(IntToStr(*value)) == value, text);
}

void CheckRealText(std::string_view text, char separator) {
  const auto value = ParseReal(text, separator);
  try {
    const long double thrown = StrToFloat(text, separator);
    FUZZ_CHECK(value && (*value == thrown), text);
  } catch (const GeneralError&) {
    FUZZ_CHECK(!value, text);
  }
  if (!value) return;
  FUZZ_CHECK(std::isfinite(*value), text);
  // Below the normal extended range a value does not survive reading back (such texts read as
  // zero); everything else must: the shown text reads back and shows the same.
  if (*value != 0 && std::fabs(*value) < std::numeric_limits<long double>::min()) return;
  for (const long double shown : {*value, static_cast<long double>(static_cast<double>(*value))}) {
    if (!std::isfinite(shown)) continue;  // beyond a double: acceptance refuses it
    const std::string once = FloatToStr(shown, separator);
    const auto back = ParseReal(once, separator);
    FUZZ_CHECK(back.has_value(), once);
    FUZZ_CHECK(FloatToStr(*back, separator) == once, once);
  }
}

void CheckNumberTexts(std::string_view text) {
  CheckIntegerText(text);
  CheckRealText(text, ',');
  CheckRealText(text, '.');
}

// ---- acceptance

// The edits a user types into, in the order the input gives their texts.
constexpr std::string_view kTypedEdits[] = {
    edit::ClientsNum, edit::ProgrammersNum,  edit::A,  edit::ErrorsNum0,
    edit::Y0,         edit::CoeffComplexity, edit::Yk, edit::Mu,
    edit::P_newErr,   edit::Y_newErr,        edit::DT, edit::M,
    edit::K};

// The settings dialog without widgets and without a memory of its messages.
class QuietForm : public SettingsForm {
 public:
  explicit QuietForm(char separator) : separator_(separator) {
    for (const EditDefault& e : DefaultEdits(separator))
      edits_[std::string(e.name)] = {e.text, e.enabled};
  }
  std::string Text(std::string_view edit) const override { return At(edits_, edit).text; }
  void SetText(std::string_view edit, const std::string& text) override {
    At(edits_, edit).text = text;
  }
  bool IsEnabled(std::string_view edit) const override { return At(edits_, edit).enabled; }
  void SetEnabled(std::string_view edit, bool enabled) override {
    At(edits_, edit).enabled = enabled;
  }
  // A disabled edit cannot take the focus in the real dialog.
  void Focus(std::string_view edit) override { FUZZ_CHECK(IsEnabled(edit), edit); }
  bool IsProbabilityChecked() const override { return probability_; }
  void SetProbabilityChecked(bool checked) override { probability_ = checked; }
  void ShowMessage(const std::string& /*text*/) override { ++messages; }
  void Close() override {}
  char DecimalSeparator() const override { return separator_; }

  int messages = 0;

 private:
  struct Edit {
    std::string text;
    bool enabled;
  };
  // Acceptance names only edits the dialog has.
  template <typename Edits>
  static auto At(Edits& edits, std::string_view edit) -> decltype((edits.begin()->second)) {
    const auto it = edits.find(edit);
    FUZZ_CHECK(it != edits.end(), edit);
    return it->second;
  }

  char separator_;
  bool probability_ = true;
  std::map<std::string, Edit, std::less<>> edits_;
};

// ---- a play

// Keeps one input to milliseconds, with about 200 server errors at the start at most.
constexpr testing::SizeBounds kFuzzBounds{30, 5, 200, 200, 200, 0.5, 0.7};

void PlayAccepted(TTeravo& model, const std::string& totalTime, char separator) {
  // A set the play commands refuse is not played; a clamped usable set stays usable.
  if (!IsUsable(model)) return;
  testing::ClampSize(model.Parameters(), kFuzzBounds);
  FUZZ_CHECK(IsUsable(model), "clamped set unusable");
  DiscardingHost host;
  const PlayContext context{totalTime, separator, [] { return std::string("01.01.2026 0:00:00"); }};
  const auto record = Play(model, host, context, PlayOptions{});
  FUZZ_CHECK(record != nullptr, "no record");
  FUZZ_CHECK(model.FBusyProgrammers >= 0 && model.FBusyProgrammers <= model.FProgrammersNum,
             "busy programmers");
  FUZZ_CHECK(model.FWorkClientNum >= 0 && model.FWorkClientNum <= model.FClientsNum,
             "working clients");
  // Every figure the window shows is a number in the program's own format.
  for (int f = 0; f < kFieldCount; ++f) {
    const std::string text = record->Text(static_cast<Field>(f));
    FUZZ_CHECK(text.empty() || ParseReal(text, separator).has_value(), text);
  }
}

std::vector<std::string_view> SplitTexts(std::string_view rest) {
  std::vector<std::string_view> texts;
  while (texts.size() < std::size(kTypedEdits)) {
    const std::size_t bar = rest.find('|');
    texts.push_back(rest.substr(0, bar));
    if (bar == std::string_view::npos) break;
    rest.remove_prefix(bar + 1);
  }
  return texts;
}

void RunOne(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return;
  const std::uint8_t flags = data[0];
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const char separator = (flags & 1) != 0 ? '.' : ',';
  const bool byIntensity = (flags & 2) != 0;
  const bool estimators = (flags & 4) != 0;

  CheckNumberTexts(rest);
  const std::vector<std::string_view> texts = SplitTexts(rest);
  for (const std::string_view text : texts) CheckNumberTexts(text);

  QuietForm form(separator);
  if (byIntensity) rbIClick(form);
  for (std::size_t i = 0; i < texts.size(); ++i)
    form.SetText(kTypedEdits[i], std::string(texts[i]));
  if (estimators) {
    try {
      EstimateInitialErrors(form);
    } catch (const GeneralError&) {
    }
    try {
      EstimateErrorsFound(form);
    } catch (const GeneralError&) {
    }
  }

  // The seed comes from the input too, so a reproducer replays the same play.
  std::uint32_t seed = 2166136261u;
  for (std::size_t i = 0; i < size; ++i) seed = (seed ^ data[i]) * 16777619u;
  TTeravo model(std::make_unique<FixedSeedSource>(seed));
  const int messagesBefore = form.messages;
  bool accepted = false;
  try {
    accepted = AcceptParameters(model, form);
  } catch (const GeneralError&) {
    return;
  }
  if (!accepted) {
    FUZZ_CHECK(form.messages > messagesBefore, "refused without a message");
    return;
  }
  // Every field passed its range test, so only a harmful set is unusable.
  FUZZ_CHECK(IsHarmful(model) || IsUsable(model), "accepted out of range");
  try {
    PlayAccepted(model, form.Text(edit::Time), separator);
  } catch (const GeneralError&) {
  }
}

}  // namespace
}  // namespace teravo

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  teravo::RunOne(data, size);
  return 0;
}
