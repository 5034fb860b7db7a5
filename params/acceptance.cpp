#include "params/acceptance.h"

#include <cmath>

#include "core/number_text.h"
#include "core/rounding.h"
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

// Rewrites edDT and tells the user when the step had to be corrected.
void CorrectStep(TTeravo& model, SettingsForm& form, double intensity, std::string_view text) {
  if (CorrectStepFor(model, intensity)) {
    const std::string step = FloatToStr(model.FDT, form.DecimalSeparator());
    form.SetText(edit::DT, step);
    form.ShowMessage(std::string(text) + step);
  }
}

}  // namespace

bool AcceptParameters(TTeravo& model, SettingsForm& form) {
  model.FPlayCount = 0;
  model.FShowProgress = true;

  const char separator = form.DecimalSeparator();
  bool modeRead = false;
  for (const SettingsEdit& e : SettingsEdits()) {
    if (std::holds_alternative<std::monostate>(e.field)) continue;
    if (e.readWhen != ReadWhen::Always) {
      // The radio pair is read where the first of its two edits stands.
      if (!modeRead) model.FByProbability = form.IsProbabilityChecked();
      modeRead = true;
      if ((e.readWhen == ReadWhen::ByProbability) != model.FByProbability) continue;
    }
    // A text that parses is stored before its test, so a refused value stays stored.
    if (!StoreEditText(model, e, form.Text(e.name), separator)) {
      form.ShowMessage(std::string(e.message));
      if (form.IsEnabled(e.name)) form.Focus(e.name);
      return false;
    }
  }

  CorrectStep(model, form, model.FYk, kStepByRequests);
  CorrectStep(model, form, model.FMu, kStepByCorrections);
  if (static_cast<long double>(model.FA) * model.FYk - 0.1009L > 0) {
    const double share = RoundToDouble(0.1L / model.FYk);
    form.ShowMessage(std::string(kShareAdvice) + FloatToStr(share, form.DecimalSeparator()));
  }
  EstimateTotalTime(form);
  return true;
}

void AcceptAndClose(TTeravo& model, SettingsForm& form) {
  AcceptParameters(model, form);
  form.Close();
}

}  // namespace teravo
