#include "params/estimators.h"

#include <cmath>
#include <optional>

#include "core/number_text.h"
#include "core/rounding.h"
#include "params/settings_edits.h"

namespace teravo {

namespace {

void Refuse(SettingsForm& form, std::string_view edit) {
  form.ShowMessage(std::string(FindSettingsEdit(edit)->message));
  // The probability edit is disabled while new errors go by intensity; a disabled edit
  // cannot take the focus, and the message already says what is wrong.
  if (form.IsEnabled(edit)) form.Focus(edit);
}

// The two inputs both estimators test: the intensity of the initial error flow and the
// probability of a new error. Empty when one failed (its message has been shown).
struct FlowAndProbability {
  long double y0;
  long double p;
};
std::optional<FlowAndProbability> ReadFlowAndProbability(SettingsForm& form) {
  const char sep = form.DecimalSeparator();
  const auto y0 = ParseReal(form.Text(edit::Y0), sep);
  const double y0d = y0 ? static_cast<double>(*y0) : 0;
  if (!y0 || !(y0d > 0) || !std::isfinite(y0d)) {
    Refuse(form, edit::Y0);
    return std::nullopt;
  }
  const auto p = ParseReal(form.Text(edit::P_newErr), sep);
  const double pd = p ? static_cast<double>(*p) : -1;
  if (!p || !(pd >= 0 && pd < 1)) {
    Refuse(form, edit::P_newErr);
    return std::nullopt;
  }
  return FlowAndProbability{y0d, pd};
}

long double ReadRealAsDouble(SettingsForm& form, std::string_view edit) {
  return ToDouble(StrToFloat(form.Text(edit), form.DecimalSeparator()));
}

}  // namespace

void EstimateTotalTime(SettingsForm& form) {
  const long double step = StrToFloat(form.Text(edit::DT), form.DecimalSeparator());
  const std::int32_t count = StrToInt(form.Text(edit::M));
  form.SetText(edit::Time, FloatToStr(CheckedResult(step * count), form.DecimalSeparator()));
}

void EstimateInitialErrors(SettingsForm& form) {
  const auto inputs = ReadFlowAndProbability(form);
  if (!inputs) return;
  EstimateTotalTime(form);
  const long double yk = ReadRealAsDouble(form, edit::Yk);
  const long double a = ReadRealAsDouble(form, edit::A);
  const std::int32_t n0 = RoundToInt32(CheckedDiv(inputs->y0, CheckedResult(yk * a)));
  form.SetText(edit::ErrorsNum0, IntToStr(n0));
}

void EstimateErrorsFound(SettingsForm& form) {
  const auto inputs = ReadFlowAndProbability(form);
  if (!inputs) return;
  const std::int32_t m = StrToInt(form.Text(edit::M));
  const long double dt = ReadRealAsDouble(form, edit::DT);
  const std::int32_t n0 = StrToInt(form.Text(edit::ErrorsNum0));
  const char sep = form.DecimalSeparator();
  const double found = ToDouble(CheckedResult(((m * dt) * inputs->y0) * (1 - inputs->p)));
  form.SetText(edit::E_aver, FloatToStr(found, sep));
  const double optimal = ToDouble(CheckedDiv(n0, (1 - inputs->p) * inputs->y0));
  form.SetText(edit::OptimT, FloatToStr(optimal, sep));
}

void rbPClick(SettingsForm& form) {
  form.SetProbabilityChecked(true);
  form.SetEnabled(edit::Y_newErr, false);
  form.SetEnabled(edit::P_newErr, true);
  form.Focus(edit::P_newErr);
}

void rbIClick(SettingsForm& form) {
  form.SetProbabilityChecked(false);
  form.SetEnabled(edit::Y_newErr, true);
  form.SetEnabled(edit::P_newErr, false);
  form.Focus(edit::Y_newErr);
}

}  // namespace teravo
