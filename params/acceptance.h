#pragma once

#include <string_view>

#include "model/teravo.h"
#include "params/settings_form.h"

namespace teravo {

// Field messages of parameter acceptance.
namespace msg {
inline constexpr std::string_view ClientsNum =
    "Число программ-клиентов должно быть целым положительным числом";
inline constexpr std::string_view ProgrammersNum =
    "Число программистов должно быть целым положительным числом";
inline constexpr std::string_view A = "Область данных должно быть целым положительным числом";
inline constexpr std::string_view ErrorsNum0 =
    "Начальное количество ошибок в ПК должно быть целым положительным числом";
inline constexpr std::string_view CoeffComplexity =
    "Коэффициент сложности должен быть целым положительным числом";
inline constexpr std::string_view Yk =
    "Интенсивность потока обращений клиента к серверу должна быть действительным "
    "положительным числом";
inline constexpr std::string_view Mu =
    "Интенсивность потока исправлений ошибки программистом должна быть действительным "
    "положительным числом";
inline constexpr std::string_view P_newErr =
    "Вероятность внести новую ошибку при исправлении программы должна быть действительным "
    "положительным числом < 1";
inline constexpr std::string_view Y_newErr =
    "Интенсивность потока внести новую ошибку при исправлении программы должна быть "
    "действительным положительным числом < 1";
inline constexpr std::string_view DT = "Шаг итерации должен быть действительным положительным числом";
inline constexpr std::string_view M = "Число итераций должно быть целым положительным числом";
inline constexpr std::string_view K = "Количество розыгрышей должно быть целым положительным числом";
inline constexpr std::string_view Y0 =
    "Интенсивность потока ошибок серера должна быть действительным положительным числом";
}  // namespace msg

// Reads, checks and stores every parameter from the form into the model, in the fixed
// order, stopping at the first bad field with its message and focus. Then corrects the
// step, advises on the share and refreshes the total time. True when all fields passed.
// Throws GeneralError only from the total-time refresh's unguarded reads.
bool AcceptParameters(TTeravo& model, SettingsForm& form);

// The dialog's accept command (button or F2 inside the dialog): accept, then close.
void aInitParametersExecute(TTeravo& model, SettingsForm& form);

}  // namespace teravo
