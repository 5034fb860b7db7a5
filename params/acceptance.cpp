#include "params/acceptance.h"

#include <cmath>
#include <functional>

#include "core/number_text.h"
#include "params/estimators.h"

namespace teravo {

namespace {

constexpr std::string_view kStepByRequests =
    "Шаг итерации необходимо выбирать такой, чтобы вероятность одного обращения клиента с "
    "серверу за это время было < 1. При заданной интенсивности обращений клиента к сервру шаг "
    "итерации делаем равным ";
constexpr std::string_view kStepByCorrections =
    "Шаг итерации необходимо выбирать такой, чтобы вероятность исправления ошибки за это время "
    "было < 1. При заданной интенсивности исправления ошибки шаг итерации делаем равным ";
constexpr std::string_view kShareAdvice =
    "Объем потока данных от клиента не должен превышать ООД и должен быть << 1. При заданной "
    "интенсивности обращений клиента к сервру долю данных в одном запросе клиента рекомендуем "
    "равной ";

// One field of the acceptance: parse, store at once when it parses, then test the stored
// value. A failure shows the field's message and makes its edit the active control.
class FieldReader {
 public:
  FieldReader(SettingsForm& form) : form_(form), separator_(form.DecimalSeparator()) {}

  bool Int(std::string_view name, std::int32_t& field, std::string_view message,
           const std::function<bool(std::int32_t)>& valid) {
    const auto value = ParseInt(form_.Text(name));
    if (value) field = *value;
    return value && valid(field) ? true : Fail(name, message);
  }

  bool Real(std::string_view name, double& field, std::string_view message,
            const std::function<bool(double)>& valid) {
    const auto value = ParseReal(form_.Text(name), separator_);
    // A text beyond the range of a double cannot be stored: it fails like one that does
    // not parse.
    const bool stored = value && std::isfinite(static_cast<double>(*value));
    if (stored) field = static_cast<double>(*value);
    return stored && valid(field) ? true : Fail(name, message);
  }

 private:
  bool Fail(std::string_view name, std::string_view message) {
    form_.ShowMessage(std::string(message));
    if (form_.IsEnabled(name)) form_.Focus(name);
    return false;
  }

  SettingsForm& form_;
  char separator_;
};

bool Positive(double v) {
  return v > 0;
}
bool PositiveInt(std::int32_t v) {
  return v > 0;
}

// Makes the step at most one mean interval of the given intensity (the threshold leaves room
// for rounding), rewriting edDT and telling the user.
void CorrectStep(TTeravo& model, SettingsForm& form, double intensity, std::string_view text) {
  if (static_cast<long double>(model.FDT) * intensity - 1.009L > 0) {
    model.FDT = static_cast<double>(1.0L / intensity);
    const std::string step = FloatToStr(model.FDT, form.DecimalSeparator());
    form.SetText(edit::DT, step);
    form.ShowMessage(std::string(text) + step);
  }
}

}  // namespace

bool AcceptParameters(TTeravo& model, SettingsForm& form) {
  model.FPlayCount = 0;
  model.FShowProgress = true;

  FieldReader read(form);
  if (!read.Int(edit::ClientsNum, model.FClientsNum, msg::ClientsNum, PositiveInt) ||
      !read.Int(edit::ProgrammersNum, model.FProgrammersNum, msg::ProgrammersNum, PositiveInt) ||
      !read.Real(edit::A, model.FA, msg::A, [](double v) { return v > 0 && v < 1; }) ||
      !read.Int(edit::ErrorsNum0, model.FErrorsNum0, msg::ErrorsNum0, PositiveInt) ||
      !read.Real(edit::CoeffComplexity, model.FCoeffComplexity, msg::CoeffComplexity, Positive) ||
      !read.Real(edit::Yk, model.FYk, msg::Yk, Positive) ||
      !read.Real(edit::Mu, model.FMu, msg::Mu, Positive)) {
    return false;
  }
  model.FByProbability = form.IsProbabilityChecked();
  const bool newErrorsRead = model.FByProbability
                                 ? read.Real(edit::P_newErr, model.FP_newErr, msg::P_newErr,
                                             [](double v) { return v >= 0 && v < 1; })
                                 : read.Real(edit::Y_newErr, model.FY_newErr, msg::Y_newErr,
                                             [](double v) { return v >= 0; });
  if (!newErrorsRead || !read.Real(edit::DT, model.FDT, msg::DT, Positive) ||
      !read.Int(edit::M, model.FM, msg::M, PositiveInt) ||
      !read.Int(edit::K, model.FK, msg::K, PositiveInt)) {
    return false;
  }

  CorrectStep(model, form, model.FYk, kStepByRequests);
  CorrectStep(model, form, model.FMu, kStepByCorrections);
  if (static_cast<long double>(model.FA) * model.FYk - 0.1009L > 0) {
    const double share = static_cast<double>(0.1L / model.FYk);
    form.ShowMessage(std::string(kShareAdvice) + FloatToStr(share, form.DecimalSeparator()));
  }
  buAllTimeClick(form);
  return true;
}

void aInitParametersExecute(TTeravo& model, SettingsForm& form) {
  AcceptParameters(model, form);
  form.Close();
}

}  // namespace teravo
