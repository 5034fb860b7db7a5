#include "params/settings_edits.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "core/general_error.h"
#include "core/number_text.h"
#include "core/rounding.h"

namespace teravo {

namespace {

constexpr double kInt32Max = 2147483647;
constexpr double kUnbounded = std::numeric_limits<double>::max();
using enum Scale;

// Ranges by what an edit holds; the typical spans are where searches look by default.
constexpr NumericRange Count(double typicalLow, double typicalHigh) {
  return {0, kInt32Max, true, false, Log, typicalLow, typicalHigh};
}
constexpr NumericRange PositiveReal(double typicalLow, double typicalHigh) {
  return {0, kUnbounded, true, false, Log, typicalLow, typicalHigh};
}
constexpr NumericRange kShare{0, 1, true, true, Log, 1e-6, 0.01};
constexpr NumericRange kProbability{0, 1, false, true, Linear, 0, 0.5};
constexpr NumericRange kNotNegative{0, kUnbounded, false, false, Linear, 0, 1};
constexpr NumericRange kNone{0, 0, false, false, Linear, 0, 0};

using P = TParameters;
constexpr auto kInt = EditKind::Integer;
constexpr auto kReal = EditKind::Real;
constexpr auto kShown = EditKind::Display;
constexpr auto kAlways = ReadWhen::Always;
constexpr std::monostate kNoField{};

// clang-format off
const std::array<SettingsEdit, 16> kEdits{{
    {edit::ClientsNum, "Кол-во программ-&клиентов:", kInt, &P::FClientsNum, kAlways, Count(1, 1000),
     "Число программ-клиентов должно быть целым положительным числом",
     "100", true, "Число программ-клиентов, обращающихся к серверу"},
    {edit::ProgrammersNum, "Кол-во &программистов:", kInt, &P::FProgrammersNum, kAlways, Count(1, 50),
     "Число программистов должно быть целым положительным числом",
     "3", true, "Число программистов, исправляющих ошибки"},
    {edit::A, "&Доля от общей области данных (ООД) в одном запросе клиента:", kReal, &P::FA,
     kAlways, kShare,
     "Область данных должно быть целым положительным числом",
     "0.0001", true, "Доля общей области данных, которую затрагивает один запрос клиента (0 < доля < 1)"},
    {edit::ErrorsNum0, "Начальное кол-во &ошибок:", kInt, &P::FErrorsNum0, kAlways, Count(1, 10000),
     "Начальное количество ошибок в ПК должно быть целым положительным числом",
     "100", true, "Начальное число ошибок в программах-клиентах"},
    {edit::Y0, "Интенсивность начального потока ошибок в ПК:", kReal, kNoField, kAlways, PositiveReal(0.01, 1000),
     "Интенсивность потока ошибок серера должна быть действительным положительным числом",
     "10", true, "Интенсивность начального потока ошибок (1/сутки); нужна только для оценок"},
    {edit::E_aver, "", kShown, kNoField, kAlways, kNone, "",
     "", false, "Среднее число ошибок, которое будет найдено за время моделирования"},
    {edit::OptimT, "оптимальное время моделирования:", kShown, kNoField, kAlways, kNone, "",
     "", false, "Оптимальное время моделирования (сутки)"},
    {edit::CoeffComplexity, "&Коэффициент сложности сервера:", kReal, &P::FCoeffComplexity,
     kAlways, PositiveReal(0.1, 100),
     "Коэффициент сложности должен быть целым положительным числом",
     "2", true, "Коэффициент сложности сервера: от него зависят число ошибок сервера и время их исправления"},
    {edit::Yk, "&Интенсивность потока обращений клиента к серверу:", kReal, &P::FYk, kAlways,
     PositiveReal(1, 10000),
     "Интенсивность потока обращений клиента к серверу должна быть действительным "
     "положительным числом",
     "100", true, "Интенсивность потока обращений одного клиента к серверу (1/сутки)"},
    {edit::Mu, "Интенсивность &потока исправления ошибки:", kReal, &P::FMu, kAlways, PositiveReal(0.01, 100),
     "Интенсивность потока исправлений ошибки программистом должна быть действительным "
     "положительным числом",
     "0.5", true, "Интенсивность исправления ошибки одним программистом (1/сутки)"},
    {edit::P_newErr, "&Вероятность внести ошибку при исправлении:", kReal, &P::FP_newErr,
     ReadWhen::ByProbability, kProbability,
     "Вероятность внести новую ошибку при исправлении программы должна быть действительным "
     "положительным числом < 1",
     "0", true, "Вероятность внести новую ошибку при исправлении (0 ≤ p < 1)"},
    {edit::Y_newErr, "&Интенсивность внесения ошибки при исправлении:", kReal, &P::FY_newErr,
     ReadWhen::ByIntensity, kNotNegative,
     "Интенсивность потока внести новую ошибку при исправлении программы должна быть "
     "действительным положительным числом < 1",
     "0.01", false, "Интенсивность внесения новых ошибок при исправлении (1/сутки)"},
    {edit::DT, "&Шаг итерации:", kReal, &P::FDT, kAlways, PositiveReal(1e-5, 0.1),
     "Шаг итерации должен быть действительным положительным числом",
     "0.001", true, "Шаг итерации (сутки)"},
    {edit::M, "Кол-во итераци&й:", kInt, &P::FM, kAlways, Count(100, 1000000),
     "Число итераций должно быть целым положительным числом",
     "10000", true, "Число шагов одного розыгрыша"},
    {edit::Time, "", kShown, kNoField, kAlways, kNone, "",
     "", false, "Общее время розыгрыша: шаг × число итераций (сутки)"},
    {edit::K, "Кол-во &розыгрышей:", kInt, &P::FK, kAlways, Count(1, 1000),
     "Количество розыгрышей должно быть целым положительным числом",
     "10", true, "Число розыгрышей в многократном розыгрыше (F4)"},
}};
// clang-format on

}  // namespace

std::span<const SettingsEdit> SettingsEdits() {
  return kEdits;
}

const SettingsEdit* FindSettingsEdit(std::string_view name) {
  const auto it = std::find_if(kEdits.begin(), kEdits.end(),
                               [name](const SettingsEdit& e) { return e.name == name; });
  return it == kEdits.end() ? nullptr : &*it;
}

std::optional<std::string> SetEditText(TParameters& parameters, const SettingsEdit& edit,
                                       std::string_view text, char separator) {
  if (!StoreEditText(parameters, edit, text, separator)) return std::string(edit.message);
  CorrectStepFor(parameters, parameters.FYk);
  CorrectStepFor(parameters, parameters.FMu);
  return std::nullopt;
}

std::optional<std::string> SetEditNumber(TParameters& parameters, const SettingsEdit& edit,
                                         long double value) {
  if (!std::isfinite(value)) return std::string(edit.message);
  if (edit.kind == EditKind::Integer) {
    if (std::abs(value) > 4e18L) return std::string(edit.message);
    return SetEditText(parameters, edit, IntToStr(RoundTiesEven(value)), '.');
  }
  return SetEditText(parameters, edit, ShortestText(static_cast<double>(value)), '.');
}

bool CorrectStepFor(TParameters& parameters, double intensity) {
  if (static_cast<long double>(parameters.FDT) * intensity - 1.009L > 0) {
    parameters.FDT = RoundToDouble(1.0L / intensity);
    return true;
  }
  return false;
}

std::string DefaultText(const SettingsEdit& edit, char separator) {
  std::string text(edit.defaultText);
  std::replace(text.begin(), text.end(), '.', separator);
  return text;
}

std::vector<EditDefault> DefaultEdits(char separator) {
  std::vector<EditDefault> defaults;
  for (const SettingsEdit& e : kEdits) {
    defaults.push_back({e.name, DefaultText(e, separator), e.enabledAtStart});
  }
  return defaults;
}

bool StoreEditText(TParameters& parameters, const SettingsEdit& edit, std::string_view text,
                   char separator) {
  if (const auto* integer = std::get_if<std::int32_t TParameters::*>(&edit.field)) {
    const auto value = ParseInt(text);
    if (!value) return false;
    parameters.*(*integer) = *value;
    return edit.range.Contains(*value);
  }
  if (const auto* real = std::get_if<double TParameters::*>(&edit.field)) {
    const auto value = ParseReal(text, separator);
    // A text beyond the range of a double cannot be stored: it fails like one that does not
    // parse.
    if (!value || !std::isfinite(static_cast<double>(*value))) return false;
    parameters.*(*real) = static_cast<double>(*value);
    return edit.range.Contains(parameters.*(*real));
  }
  return true;
}

TParameters ParametersFromTexts(const EditTexts& texts, bool byProbability) {
  TParameters parameters;
  parameters.FByProbability = byProbability;
  for (const SettingsEdit& e : kEdits) {
    std::string text = DefaultText(e, '.');
    for (const auto& [name, given] : texts) {
      if (name == e.name) text = given;
    }
    if (!StoreEditText(parameters, e, text, '.')) {
      Raise(std::string(e.message) + " (" + std::string(e.name) + " = \"" + text + "\")");
    }
  }
  return parameters;
}

}  // namespace teravo
